#include "gfx/backend/web_driver.h"

#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/backend/web_keys.h"
#include "gfx/pixel_format.h"
#include "gfx/screen_state.h"
#include "input/key_queue.h"
#include "input/mouse.h"
#include "input/mouse_state.h"
#include "rt/codepage.h"

namespace rt {

namespace {

// One event of the page, as web_library.js writes it.
struct WebEvent {
  // kHeld: a key already down when the screen opened.
  enum Kind : std::int32_t {
    kKeyDown = 1,
    kKeyUp = 2,
    kPointer = 3,
    kWheel = 4,
    kFocus = 5,
    kLeave = 6,
    kHeld = 7
  };
  std::int32_t kind;
  std::int32_t x;  // pointer: screen pixels
  std::int32_t y;
  std::int32_t
      value;      // key down: modifier bits; pointer: buttons; wheel: +1 away from the user; focus: 1 gained
  char code[32];  // keys: KeyboardEvent.code
  char key[32];   // key down: KeyboardEvent.key
};
static_assert(offsetof(WebEvent, code) == 16 && offsetof(WebEvent, key) == 48 && sizeof(WebEvent) == 80,
              "web_library.js writes this layout");

}  // namespace
}  // namespace rt

// What the page does for the back end: web_library.js.
extern "C" {
// Shows the canvas at width x height and starts listening; 1 when the page has the focus.
int morvanta_web_open(int width, int height, int flags);
void morvanta_web_close();
// Takes the oldest event of the page into `event`; 0 when there is none.
int morvanta_web_next_event(rt::WebEvent* event);
// Calls morvanta_web_animation_frame in the page's next animation frame.
void morvanta_web_request_frame();
// Puts `rows` rows of RGBA pixels, starting at row `first`, on the canvas.
void morvanta_web_present(const std::uint8_t* rgba, int width, int first, int rows);
void morvanta_web_set_title(const char* utf8);
void morvanta_web_show_pointer(int visible);
void morvanta_web_beep();
}

namespace rt {

namespace {

// The back end. The program and the page share one thread: the page's events
// wait in a queue until the program next takes the screen lock, and what it
// drew goes to the canvas in the page's next animation frame, at most once
// each time the browser renders the page.
class WebDriver final : public DisplayDriver {
 public:
  ~WebDriver() override { Exit(); }

  std::string_view Name() const override { return "web"; }
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
  void SetWindowTitle(const char* title) override;
  void Beep() override { morvanta_web_beep(); }

  // The animation frame asked for: shows the rows drawn since the last one.
  void AnimationFrame();

 private:
  void HandleEvent(const WebEvent& event);
  void ChangeFocus(bool active);
  void Present();
  // Asks for an animation frame once something waits to be shown.
  void RequestFrameIfDue();

  ScreenState* screen_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool open_ = false;
  bool locked_ = false;
  bool repaintAll_ = false;
  bool frameRequested_ = false;
  std::string title_;
  WebKeyboard keyboard_;
  std::vector<std::uint8_t> rgba_;  // the canvas's pixels, converted from the visible page
};

WebDriver* openDriver = nullptr;

// The canvas takes R, G, B, A bytes: little-endian 0xAABBGGRR, opaque.
std::uint32_t Rgba(std::uint32_t argb) { return 0xFF000000u | SwapRedBlue(argb); }

// One row of the visible page as canvas pixels.
void RgbaRow(const ScreenState& screen, int row, std::uint32_t* out) {
  const std::uint8_t* in = screen.VisibleRow(row);
  if (screen.bytesPerPixel == 4) {
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(in);
    for (int x = 0; x < screen.width; ++x) out[x] = Rgba(pixels[x]);
  } else if (screen.bytesPerPixel == 2) {
    const auto* pixels = reinterpret_cast<const std::uint16_t*>(in);
    for (int x = 0; x < screen.width; ++x) out[x] = Rgba(ArgbFromRgb565(pixels[x]));
  } else {
    for (int x = 0; x < screen.width; ++x) out[x] = Rgba(screen.colorMap[in[x]]);
  }
}

int WebDriver::Init(ScreenState& screen, const char* title, int width, int windowHeight, int, int,
                    int flags) {
  if ((flags & kFlagOpenGl) || openDriver) return 1;
  screen_ = &screen;
  width_ = width;
  height_ = windowHeight;
  rgba_.assign(std::size_t(width) * windowHeight * 4, 0);
  keyboard_ = WebKeyboard{};
  const bool focused = morvanta_web_open(width, windowHeight, flags) != 0;
  ResetMouse();
  MouseFocus(focused);
  title_.clear();
  SetWindowTitle(title);
  repaintAll_ = true;
  open_ = true;
  openDriver = this;
  RequestFrameIfDue();
  return 0;
}

void WebDriver::Exit() {
  if (!open_) return;
  open_ = false;
  openDriver = nullptr;
  morvanta_web_close();
}

void WebDriver::Lock() {
  locked_ = true;
  WebEvent event;
  while (morvanta_web_next_event(&event)) HandleEvent(event);
}

void WebDriver::Unlock() {
  locked_ = false;
  RequestFrameIfDue();
}

void WebDriver::RequestFrameIfDue() {
  if (frameRequested_) return;
  const auto& dirty = screen_->dirtyLines;
  if (!repaintAll_ && !screen_->paletteChanged && !std::memchr(dirty.data(), 1, dirty.size())) return;
  frameRequested_ = true;
  morvanta_web_request_frame();
}

Result WebDriver::SetMouse(int x, int y, int visibility, int clip) {
  // A page can neither move the pointer nor confine it without a click
  // (pointer lock): the position the program set is what GetMouse reports
  // until the pointer moves, and confinement stays a flag.
  const MouseChange change = ApplySetMouse(x, y, visibility, clip, screen_->width, screen_->height);
  if (change.visibilityChanged) morvanta_web_show_pointer(TheMouse().pointerVisible ? 1 : 0);
  return ResultOk;
}

// The round sets its title every frame; the page hears of changes only.
void WebDriver::SetWindowTitle(const char* title) {
  std::string utf8 = Windows1252ToUtf8(title);
  if (utf8 == title_) return;
  title_ = std::move(utf8);
  morvanta_web_set_title(title_.c_str());
}

void WebDriver::HandleEvent(const WebEvent& event) {
  MouseState& mouse = TheMouse();
  switch (event.kind) {
    case WebEvent::kKeyDown: {
      // Keys reach only a page that has the focus.
      if (!mouse.windowActive) ChangeFocus(true);
      const WebKeyPress press = keyboard_.Press(event.code, event.key, event.value);
      keyboard_.Fill(screen_->keyState);
      if (press.code >= 0) PostKey(press.code);
      if (!press.text.empty()) PostTypedText(press.text);
      break;
    }
    case WebEvent::kKeyUp:
      keyboard_.Release(event.code);
      keyboard_.Fill(screen_->keyState);
      break;
    case WebEvent::kHeld:
      keyboard_.Press(event.code, "", 0);
      keyboard_.Fill(screen_->keyState);
      break;
    case WebEvent::kPointer:
      mouse.pointerX = event.x;
      mouse.pointerY = event.y;
      mouse.pointerInside = event.x >= 0 && event.y >= 0 && event.x < width_ && event.y < height_;
      if (event.value != 0 && !mouse.windowActive) ChangeFocus(true);
      mouse.buttons = event.value;
      break;
    case WebEvent::kWheel: MouseWheelStep(event.value); break;
    case WebEvent::kFocus: ChangeFocus(event.value != 0); break;
    case WebEvent::kLeave: mouse.pointerInside = false; break;
  }
}

void WebDriver::ChangeFocus(bool active) {
  keyboard_.ReleaseAll();
  screen_->keyState.fill(0);
  MouseFocus(active);
  repaintAll_ = true;
}

void WebDriver::AnimationFrame() {
  frameRequested_ = false;
  // The program may hold the lock while a file's sync suspends it: its
  // frame waits for the next animation frame after the unlock.
  if (!locked_) Present();
}

void WebDriver::Present() {
  auto& dirty = screen_->dirtyLines;
  if (repaintAll_ || screen_->paletteChanged) {
    repaintAll_ = false;
    screen_->paletteChanged = false;
    dirty.assign(dirty.size(), 1);
  }
  const auto firstDirty = static_cast<const std::uint8_t*>(std::memchr(dirty.data(), 1, dirty.size()));
  if (!firstDirty) return;
  const int first = int(firstDirty - dirty.data());
  int last = int(dirty.size()) - 1;
  while (!dirty[last]) --last;
  auto* out = reinterpret_cast<std::uint32_t*>(rgba_.data()) + std::size_t(first) * width_;
  for (int row = first; row <= last; ++row, out += width_)
    RgbaRow(*screen_, row / screen_->scanlineSize, out);
  dirty.assign(dirty.size(), 0);
  morvanta_web_present(rgba_.data(), width_, first, last - first + 1);
}

std::unique_ptr<DisplayDriver> CreateWeb() { return std::make_unique<WebDriver>(); }
const DriverEntry kWebEntry{"web", &CreateWeb};

}  // namespace

const DriverEntry& WebDriverEntry() { return kWebEntry; }

}  // namespace rt

// The page's animation frame: the canvas shows what the program drew since
// the last one, as the browser renders the page.
extern "C" EMSCRIPTEN_KEEPALIVE void morvanta_web_animation_frame() {
  if (rt::openDriver) rt::openDriver->AnimationFrame();
}
