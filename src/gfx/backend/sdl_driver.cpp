#include "gfx/backend/sdl_driver.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "gfx/backend/changed_rows.h"
#include "gfx/backend/sdl_beep.h"
#include "gfx/backend/sdl_keys.h"
#include "gfx/backend/sdl_window.h"
#include "gfx/screen_state.h"
#include "gfx/window_identity.h"
#include "input/key_queue.h"
#include "input/mouse.h"
#include "input/mouse_state.h"
#include "rt/codepage.h"
#include "rt/result.h"

namespace rt {

namespace {

// The display thread wakes at once for input, a drawn frame, a request or
// the end, and otherwise every kIdleCycleMs for the work SDL does on timers
// of its own (holding off the screen saver, for one). A hidden or minimised
// window has no events to wait for, so it looks every kPollMs. Frames are
// shown at most every kMinPresentMs: the round draws far more often than any
// monitor shows.
constexpr int kIdleCycleMs = 50;
constexpr int kPollMs = 10;
constexpr int kMinPresentMs = 4;

// What the drawing thread asks of the window; the display thread carries it
// out, since only that thread may call SDL's video functions.
struct WindowRequests {
  std::optional<std::string> titleUtf8;
  std::optional<SDL_Point> warp;
  std::optional<bool> cursorVisible;
  std::optional<bool> confine;
  int beeps = 0;

  bool Any() const { return titleUtf8 || warp || cursorVisible || confine || beeps > 0; }
};

void SetHints() {
  // Ctrl+C and termination signals keep their default effect: the program ends.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Emulating a warp would lock a hidden pointer in relative mode on Wayland
  // and break dragging; SetMouse updates the reported position instead.
  SDL_SetHint("SDL_VIDEO_WAYLAND_EMULATE_MOUSE_WARP", "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
  // The close button is a key for the program, not the end of it.
  SDL_SetHint("SDL_QUIT_ON_LAST_WINDOW_CLOSE", "0");
}

bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

// Without a display server SDL would fall back to an invisible window (and
// its Wayland probe prints complaints), so look first. SDL_VIDEODRIVER names
// a driver on purpose and is respected.
bool DisplayServerNamed() {
  return Named("SDL_VIDEODRIVER") || Named("DISPLAY") || Named("WAYLAND_DISPLAY") || Named("WAYLAND_SOCKET");
}

// Try only the display servers the environment names.
void ChooseVideoDriver() {
  if (Named("SDL_VIDEODRIVER")) return;
  const bool x11 = Named("DISPLAY");
  const bool wayland = Named("WAYLAND_DISPLAY") || Named("WAYLAND_SOCKET");
  if (x11 != wayland) SDL_SetHint(SDL_HINT_VIDEODRIVER, x11 ? "x11" : "wayland");
}

// SDL names the window's X11 class and Wayland app id after these variables
// when it creates the window; a player's own setting wins.
void AnnounceApplicationId(const std::string& id) {
  if (id.empty()) return;
  setenv("SDL_VIDEO_X11_WMCLASS", id.c_str(), 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", id.c_str(), 0);
}

bool InvisibleDriverChosen() {
  if (Named("SDL_VIDEODRIVER")) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

int ButtonBit(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return kButtonLeft;
    case SDL_BUTTON_RIGHT: return kButtonRight;
    case SDL_BUTTON_MIDDLE: return kButtonMiddle;
    case SDL_BUTTON_X1: return kButtonExtra1;
    case SDL_BUTTON_X2: return kButtonExtra2;
  }
  return 0;
}

// The window back end. The drawing thread calls the DisplayDriver operations;
// the display thread owns SDL, the window and its events. Everything they
// share is guarded by mutex_, the screen lock.
class SdlDriver final : public DisplayDriver {
 public:
  ~SdlDriver() override { Exit(); }

  std::string_view Name() const override { return "SDL"; }
  int Init(ScreenState& screen, const char* title, int width, int windowHeight, int depth, int refresh,
           int flags) override;
  void Exit() override;
  void Lock() override;
  void Unlock() override;
  void SetPalette(int, int, int, int) override { repaintAll_ = true; }
  Result GetMouse(int* x, int* y, int* wheel, int* buttons, int* clipped) override {
    return ReadMouse(x, y, wheel, buttons, clipped);
  }
  Result SetMouse(int x, int y, int visibility, int clip) override;
  void SetWindowTitle(const char* title) override { requests_.titleUtf8 = Windows1252ToUtf8(title); }
  void Beep() override { ++requests_.beeps; }

 private:
  static void WakeDisplayThread();

  // ---- Display thread ----
  std::unique_lock<std::mutex> TakeTurn();
  void Run(std::string titleUtf8, int width, int height, std::promise<bool> opened);
  bool OpenWindow(SdlWindow& window, const std::string& titleUtf8, int width, int height);
  // One locked cycle and what follows it, handling `arrived` first if given;
  // false once Exit asked to stop.
  bool Cycle(SdlWindow& window, SdlBeeper& beeper, const std::optional<SDL_Event>& arrived);
  // Sleeps until input arrives, a frame is drawn or a cycle is due; answers
  // the event that ended the wait, if one did.
  std::optional<SDL_Event> WaitForWork(SdlWindow& window);
  void HandleEvent(const SDL_Event& event, SdlWindow& window);
  void HandleWindowEvent(const SDL_WindowEvent& event, SdlWindow& window);
  void HandleKeyDown(const SDL_KeyboardEvent& event, SdlWindow& window);
  void HandleButton(const SDL_MouseButtonEvent& event, const SdlWindow& window);
  void MovePointer(SDL_Point screenPixel);
  void ToggleFullScreen(SdlWindow& window);
  void ChangeFocus(bool active);
  void RefreshKeyState();
  // The next upload repaints the whole window.
  void MarkAllDirty();
  bool FramePending() const;
  // Uploads the changed rows (all of them after MarkAllDirty); false when
  // there is nothing to show.
  bool UploadChanges(SdlWindow& window);
  static void CarryOut(const WindowRequests& requests, SdlWindow& window, SdlBeeper& beeper);

  std::thread thread_;
  std::mutex mutex_;
  std::atomic<bool> displayWaiting_{false};  // the display thread waits for mutex_

  // Shared, guarded by mutex_.
  ScreenState* screen_ = nullptr;
  WindowRequests requests_;
  ChangedRows changes_;
  bool repaintAll_ = false;
  bool stop_ = false;
  bool awaitingWork_ = false;  // the display thread waits for a drawn frame or a request

  // Set before the display thread starts, then read only.
  int width_ = 0;
  int height_ = 0;
  int flags_ = 0;
  WindowIdentity identity_;

  // Display thread only.
  Uint64 lastPresentMs_ = 0;
  bool framesOutpaceTurns_ = false;  // frames were drawn faster than they may be shown
  std::optional<KeyStateMap> keyMap_;
  std::array<bool, SDL_NUM_SCANCODES> maskedKeys_{};  // the Enter of Alt+Enter, until released
  int lastKeyMods_ = 0;
};

int SdlDriver::Init(ScreenState& screen, const char* title, int width, int windowHeight, int, int,
                    int flags) {
  if ((flags & kFlagOpenGl) || !DisplayServerNamed()) return 1;
  screen_ = &screen;
  changes_.Resize(screen);
  width_ = width;
  height_ = windowHeight;
  flags_ = flags;
  identity_ = CurrentWindowIdentity();
  // Before the display thread exists: nothing else reads the environment now.
  AnnounceApplicationId(identity_.applicationId);
  std::promise<bool> opened;
  std::future<bool> result = opened.get_future();
  thread_ =
      std::thread(&SdlDriver::Run, this, Windows1252ToUtf8(title), width, windowHeight, std::move(opened));
  if (result.get()) return 0;
  thread_.join();
  return 1;
}

void SdlDriver::Exit() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    // Under the lock: the display thread cannot have seen stop_ and shut SDL
    // down yet.
    WakeDisplayThread();
  }
  thread_.join();
}

// A drawing loop that never sleeps would otherwise take the lock back each
// time before the display thread wakes, and its input would never arrive.
void SdlDriver::Lock() {
  while (displayWaiting_.load()) std::this_thread::yield();
  mutex_.lock();
}

std::unique_lock<std::mutex> SdlDriver::TakeTurn() {
  displayWaiting_.store(true);
  std::unique_lock lock(mutex_);
  displayWaiting_.store(false);
  return lock;
}

void SdlDriver::Unlock() {
  // Compared here, on the drawing thread, the rows just drawn are still in
  // its cache; the display thread then reads only the rows that changed.
  changes_.Sift(*screen_);
  const bool wake = awaitingWork_ && (changes_.Any() || requests_.Any());
  if (wake) awaitingWork_ = false;
  mutex_.unlock();
  if (wake) WakeDisplayThread();
}

// SDL_PushEvent may be called from any thread; it ends the display thread's
// wait, and the event itself is ignored there.
void SdlDriver::WakeDisplayThread() {
  SDL_Event event{};
  event.type = SDL_USEREVENT;
  SDL_PushEvent(&event);
}

Result SdlDriver::SetMouse(int x, int y, int visibility, int clip) {
  const MouseChange change = ApplySetMouse(x, y, visibility, clip, screen_->width, screen_->height);
  const MouseState& mouse = TheMouse();
  if (change.moved) requests_.warp = SDL_Point{mouse.pointerX, mouse.pointerY};
  if (change.visibilityChanged) requests_.cursorVisible = mouse.pointerVisible;
  if (change.clipChanged) requests_.confine = mouse.pointerClipped;
  return ResultOk;
}

void SdlDriver::Run(std::string titleUtf8, int width, int height, std::promise<bool> opened) {
  SetHints();
  ChooseVideoDriver();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    opened.set_value(false);
    return;
  }

  if (InvisibleDriverChosen()) {
    SDL_Quit();
    opened.set_value(false);
    return;
  }
  {
    SdlWindow window;
    SdlBeeper beeper;
    const bool ok = OpenWindow(window, titleUtf8, width, height);
    opened.set_value(ok);
    if (ok) {
      std::optional<SDL_Event> arrived;
      while (Cycle(window, beeper, arrived)) arrived = WaitForWork(window);
    }
  }
  SDL_Quit();
}

bool SdlDriver::OpenWindow(SdlWindow& window, const std::string& titleUtf8, int width, int height) {
  if (!window.Open(titleUtf8, width, height, flags_)) return false;
  window.SetIcon(identity_.iconWidth, identity_.iconHeight, identity_.iconArgb);
  keyMap_.emplace([](int key) { return int(SDL_GetScancodeFromKey(key)); });
  const bool focused = (SDL_GetWindowFlags(window.Handle()) & SDL_WINDOW_INPUT_FOCUS) != 0;
  const std::unique_lock lock = TakeTurn();
  ResetMouse();
  MouseFocus(focused);
  repaintAll_ = true;
  return true;
}

bool SdlDriver::Cycle(SdlWindow& window, SdlBeeper& beeper, const std::optional<SDL_Event>& arrived) {
  WindowRequests requests;
  bool present = false;
  const Uint64 now = SDL_GetTicks64();
  {
    const std::unique_lock lock = TakeTurn();
    if (stop_) return false;
    if (arrived) HandleEvent(*arrived, window);
    SDL_Event event;
    while (SDL_PollEvent(&event)) HandleEvent(event, window);
    if (TheMouse().windowActive) RefreshKeyState();
    if (now - lastPresentMs_ >= kMinPresentMs) present = UploadChanges(window);
    requests = std::exchange(requests_, WindowRequests{});
  }
  CarryOut(requests, window, beeper);
  if (present) {
    window.Present();
    lastPresentMs_ = now;
  }
  return true;
}

std::optional<SDL_Event> SdlDriver::WaitForWork(SdlWindow& window) {
  int timeoutMs = kIdleCycleMs;
  {
    const std::unique_lock lock = TakeTurn();
    // A frame drawn before the display thread's turn waits for it. While
    // frames come faster than turns, the thread wakes for its turn alone;
    // otherwise the next drawn frame wakes it.
    const Sint64 untilTurn = Sint64(lastPresentMs_) + kMinPresentMs - Sint64(SDL_GetTicks64());
    const bool pending = FramePending();
    if (untilTurn > 0 && pending) framesOutpaceTurns_ = true;
    if (untilTurn <= 0 && !pending) framesOutpaceTurns_ = false;
    const bool awaitTurn = pending || (framesOutpaceTurns_ && untilTurn > 0);
    if (awaitTurn) timeoutMs = int(std::clamp<Sint64>(untilTurn, 0, kMinPresentMs));
    awaitingWork_ = !awaitTurn;
  }
  // SDL can wait for events only on a visible window; elsewhere it would poll.
  if (SDL_GetWindowFlags(window.Handle()) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) {
    SDL_Delay(Uint32(std::min(timeoutMs, kPollMs)));
    return std::nullopt;
  }
  SDL_Event event;
  if (SDL_WaitEventTimeout(&event, timeoutMs) == 1) return event;
  return std::nullopt;
}

bool SdlDriver::UploadChanges(SdlWindow& window) {
  if (repaintAll_ || screen_->paletteChanged) {
    repaintAll_ = false;
    screen_->paletteChanged = false;
    changes_.Forget();
    window.RepaintAll();
  }
  const bool shown = window.Upload(*screen_, changes_.Rows());
  changes_.Clear();
  return shown;
}

bool SdlDriver::FramePending() const { return changes_.Any() || repaintAll_ || screen_->paletteChanged; }

void SdlDriver::MarkAllDirty() { repaintAll_ = true; }

void SdlDriver::CarryOut(const WindowRequests& requests, SdlWindow& window, SdlBeeper& beeper) {
  if (requests.titleUtf8) window.SetTitle(*requests.titleUtf8);
  if (requests.cursorVisible) window.ShowCursor(*requests.cursorVisible);
  if (requests.warp) window.Warp(requests.warp->x, requests.warp->y);
  if (requests.confine) window.Confine(*requests.confine);
  for (int i = 0; i < requests.beeps; ++i) beeper.Beep();
}

void SdlDriver::HandleEvent(const SDL_Event& event, SdlWindow& window) {
  switch (event.type) {
    case SDL_WINDOWEVENT: HandleWindowEvent(event.window, window); break;
    case SDL_KEYDOWN: HandleKeyDown(event.key, window); break;
    case SDL_KEYUP:
      lastKeyMods_ = event.key.keysym.mod;
      maskedKeys_[event.key.keysym.scancode] = false;
      break;
    case SDL_TEXTINPUT:
      if (TextCounts(lastKeyMods_)) PostTypedText(event.text.text);
      break;
    case SDL_MOUSEMOTION: MovePointer(window.ToScreen(event.motion.x, event.motion.y)); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: HandleButton(event.button, window); break;
    case SDL_MOUSEWHEEL: {
      const float delta = event.wheel.preciseY != 0 ? event.wheel.preciseY : float(event.wheel.y);
      MouseWheelStep(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -delta : delta);
      break;
    }
    case SDL_KEYMAPCHANGED: keyMap_.emplace([](int key) { return int(SDL_GetScancodeFromKey(key)); }); break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: MarkAllDirty(); break;
  }
}

void SdlDriver::HandleWindowEvent(const SDL_WindowEvent& event, SdlWindow& window) {
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE: PostKey(kKeyClose); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: ChangeFocus(true); break;
    case SDL_WINDOWEVENT_FOCUS_LOST: ChangeFocus(false); break;
    case SDL_WINDOWEVENT_ENTER: TheMouse().pointerInside = true; break;
    case SDL_WINDOWEVENT_LEAVE: TheMouse().pointerInside = false; break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      SDL_RestoreWindow(window.Handle());
      if (!window.FullScreen()) ToggleFullScreen(window);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      // The picture's place in the window moved: confine to its new place.
      if (TheMouse().pointerClipped) window.Confine(true);
      MarkAllDirty();
      break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED: MarkAllDirty(); break;
  }
}

void SdlDriver::HandleKeyDown(const SDL_KeyboardEvent& event, SdlWindow& window) {
  const SDL_Keysym& key = event.keysym;
  lastKeyMods_ = key.mod;
  const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
  if (enter && (key.mod & KMOD_ALT)) {
    // The switch's Enter reaches neither the queue nor the key-state table.
    maskedKeys_[key.scancode] = true;
    if (!event.repeat && !(flags_ & kFlagNoSwitch)) ToggleFullScreen(window);
    return;
  }
  if (maskedKeys_[key.scancode]) return;
  const int code = KeyPressCode(key.scancode, key.sym, key.mod);
  if (code >= 0) PostKey(code);
}

void SdlDriver::HandleButton(const SDL_MouseButtonEvent& event, const SdlWindow& window) {
  MovePointer(window.ToScreen(event.x, event.y));
  MouseState& mouse = TheMouse();
  if (event.type == SDL_MOUSEBUTTONDOWN) {
    mouse.buttons |= ButtonBit(event.button);
    // Moves past the window's edge keep arriving while a button is held.
    SDL_CaptureMouse(SDL_TRUE);
  } else {
    mouse.buttons &= ~ButtonBit(event.button);
    if (mouse.buttons == 0) SDL_CaptureMouse(SDL_FALSE);
  }
}

void SdlDriver::MovePointer(SDL_Point screenPixel) {
  const auto [x, y] = screenPixel;
  MouseState& mouse = TheMouse();
  mouse.pointerX = x;
  mouse.pointerY = y;
  mouse.pointerInside = x >= 0 && y >= 0 && x < width_ && y < height_;
}

void SdlDriver::ToggleFullScreen(SdlWindow& window) {
  window.SetFullScreen(!window.FullScreen());
  MarkAllDirty();
}

void SdlDriver::ChangeFocus(bool active) {
  screen_->keyState.fill(0);
  maskedKeys_.fill(false);
  MouseFocus(active);
  if (!active) SDL_CaptureMouse(SDL_FALSE);
  MarkAllDirty();
}

void SdlDriver::RefreshKeyState() {
  int count = 0;
  const Uint8* sdlState = SDL_GetKeyboardState(&count);
  std::array<std::uint8_t, SDL_NUM_SCANCODES> held{};
  count = std::min(count, int(held.size()));
  for (int i = 0; i < count; ++i) held[i] = sdlState[i] && !maskedKeys_[i];
  keyMap_->Refresh(held.data(), count, screen_->keyState);
}

std::unique_ptr<DisplayDriver> CreateSdl() { return std::make_unique<SdlDriver>(); }
const DriverEntry kSdlEntry{"SDL", &CreateSdl};

}  // namespace

const DriverEntry& SdlDriverEntry() { return kSdlEntry; }

}  // namespace rt
