#include "support/scripted_driver.h"

#include <cassert>

#include "gfx/screen_state.h"
#include "input/key_queue.h"
#include "input/mouse.h"
#include "input/mouse_state.h"

namespace rt::test {

namespace {

ScriptedDriver* current = nullptr;

std::unique_ptr<DisplayDriver> Create() { return std::make_unique<ScriptedDriver>(); }

}  // namespace

DriverEntry ScriptedDriver::Entry() { return DriverEntry{"scripted", &Create}; }

ScriptedDriver* ScriptedDriver::Current() { return current; }

ScriptedDriver::~ScriptedDriver() {
  if (current == this) current = nullptr;
}

int ScriptedDriver::Init(ScreenState& screen, const char* title, int, int, int, int, int) {
  screen_ = &screen;
  titles_.assign(1, title);
  ResetMouse();
  MouseFocus(true);
  TheMouse().pointerInside = true;
  current = this;
  return 0;
}

void ScriptedDriver::Exit() {
  if (current == this) current = nullptr;
  screen_ = nullptr;
}

void ScriptedDriver::RefreshKeyState() {
  if (!TheMouse().windowActive) return;
  for (int i = 0; i < 128; ++i) screen_->keyState[i] = held_[i] ? 1 : 0;
}

void ScriptedDriver::HoldKey(int scancode, bool held) {
  assert(scancode >= 0 && scancode < 128);
  std::lock_guard guard(mutex_);
  held_[scancode] = held;
  RefreshKeyState();
}

void ScriptedDriver::ReleaseAllKeys() {
  std::lock_guard guard(mutex_);
  held_.fill(false);
  RefreshKeyState();
}

void ScriptedDriver::Type(int keyCode, int repeat) {
  std::lock_guard guard(mutex_);
  for (int i = 0; i < repeat; ++i) PostKey(keyCode);
}

void ScriptedDriver::CloseButton() {
  std::lock_guard guard(mutex_);
  PostKey(kKeyClose);
}

void ScriptedDriver::MovePointer(int x, int y) {
  std::lock_guard guard(mutex_);
  TheMouse().pointerX = x;
  TheMouse().pointerY = y;
  TheMouse().pointerInside = true;
}

void ScriptedDriver::MovePointerOutside() {
  std::lock_guard guard(mutex_);
  TheMouse().pointerInside = false;
}

void ScriptedDriver::PressButtons(int bits) {
  std::lock_guard guard(mutex_);
  TheMouse().buttons |= bits;
}

void ScriptedDriver::ReleaseButtons(int bits) {
  std::lock_guard guard(mutex_);
  TheMouse().buttons &= ~bits;
}

void ScriptedDriver::TurnWheel(int steps) {
  std::lock_guard guard(mutex_);
  for (int i = 0; i < (steps < 0 ? -steps : steps); ++i) MouseWheelStep(steps);
}

void ScriptedDriver::SetFocus(bool active) {
  std::lock_guard guard(mutex_);
  MouseFocus(active);
  screen_->keyState.fill(0);
  RefreshKeyState();
}

Result ScriptedDriver::GetMouse(int* x, int* y, int* wheel, int* buttons, int* clipped) {
  return ReadMouse(x, y, wheel, buttons, clipped);
}

Result ScriptedDriver::SetMouse(int x, int y, int visibility, int clip) {
  const MouseChange change = ApplySetMouse(x, y, visibility, clip, screen_->width, screen_->height);
  if (change.moved) warps_.push_back({TheMouse().pointerX, TheMouse().pointerY});
  return ResultOk;
}

}  // namespace rt::test
