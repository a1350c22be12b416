#pragma once

#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "gfx/display_driver.h"

namespace rt::test {

// A back end without a window whose input comes from the test. There is no
// display thread: each input method takes the lock, applies the change as
// the display thread would (key-state table, key queue, mouse state) and
// releases it, so it may be called from test code or from a
// VirtualClock::onSleep hook, never while the caller holds ScreenLock.
// The window starts active with the pointer inside at (0, 0).
class ScriptedDriver final : public DisplayDriver {
 public:
  static DriverEntry Entry();
  // The open instance, or nullptr.
  static ScriptedDriver* Current();

  ~ScriptedDriver() override;

  // Input.
  void HoldKey(int scancode, bool held);
  void ReleaseAllKeys();
  void Type(int keyCode, int repeat = 1);
  void CloseButton();
  void MovePointer(int x, int y);
  void MovePointerOutside();
  void PressButtons(int bits);
  void ReleaseButtons(int bits);
  void TurnWheel(int steps);
  // Focus loss clears the key-state table and the buttons; regaining it
  // reads the keys still held again.
  void SetFocus(bool active);

  // What the program did: every title the window had, in order (the one it
  // opened with first), the beeps, and the pointer moves of SetMouse.
  const std::vector<std::string>& Titles() const { return titles_; }
  // Forgets all titles but the current one, so that a long run's record
  // does not grow without end.
  void ForgetTitles() { titles_.erase(titles_.begin(), titles_.end() - 1); }
  int Beeps() const { return beeps_; }
  struct Warp {
    int x, y;
  };
  const std::vector<Warp>& Warps() const { return warps_; }

  std::string_view Name() const override { return "scripted"; }
  int Init(ScreenState& screen, const char* title, int width, int windowHeight, int depth, int refresh,
           int flags) override;
  void Exit() override;
  void Lock() override { mutex_.lock(); }
  void Unlock() override { mutex_.unlock(); }
  void SetPalette(int, int, int, int) override {}
  Result GetMouse(int* x, int* y, int* wheel, int* buttons, int* clipped) override;
  Result SetMouse(int x, int y, int visibility, int clip) override;
  void SetWindowTitle(const char* title) override { titles_.emplace_back(title); }
  void Beep() override { ++beeps_; }

 private:
  // keyState from the physically held keys, as the display thread's refresh does.
  void RefreshKeyState();

  std::mutex mutex_;
  ScreenState* screen_ = nullptr;
  std::array<bool, 128> held_{};
  std::vector<std::string> titles_;
  int beeps_ = 0;
  std::vector<Warp> warps_;
};

}  // namespace rt::test
