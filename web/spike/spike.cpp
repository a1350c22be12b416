// A probe of the browser build, kept small: a blocking loop that draws into a
// framebuffer and sleeps the way the game does, a back end whose lock takes
// in the keys the page queued, rows presented on a canvas once per animation
// frame, and a file in IndexedDB that survives a reload. Its shapes mirror
// the runtime's (a virtual clock and a virtual driver lock, each drawing call
// taking the lock), so that its Asyncify numbers say something about the game.
#include <emscripten.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

extern "C" {
// web/spike/spike_library.js
void spike_present(const std::uint8_t* rgba, int width, int firstRow, int lastRow);
int spike_next_event(int* down, char* code, int codeSize, int* character);
void spike_set_title(const char* text);
int spike_option(const char* name);
int spike_frame_presented();
void spike_sleep_laundered(int ms);
void spike_sleep_spinning(int ms);
void spike_sleep_prioritized(int ms);
void spike_report(const char* json);
}

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// --- the screen and its back end ---------------------------------------

struct Screen {
  std::array<std::uint32_t, kWidth * kHeight> pixels{};  // 0x00RRGGBB
  std::array<std::uint32_t, kWidth * kHeight> rgba{};    // what the canvas takes
  int firstDirty = kHeight, lastDirty = -1;
  std::array<bool, 128> keyState{};
  std::string typed;  // code page 437 bytes
  int lockCount = 0;
};
Screen screen;

class Driver {
 public:
  virtual ~Driver() = default;
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
};

int ScancodeOf(const char* code) {
  static const struct {
    const char* code;
    int scancode;
  } table[] = {{"Escape", 1}, {"KeyS", 31}, {"Space", 57}, {"ArrowLeft", 75}, {"ArrowRight", 77}};
  for (const auto& row : table)
    if (std::strcmp(row.code, code) == 0) return row.scancode;
  return 0;
}

int CodePage437Of(int character) {
  if (character >= 32 && character < 127) return character;
  switch (character) {
    case 0xFC: return 0x81;  // ü
    case 0xE4: return 0x84;  // ä
    case 0xF6: return 0x94;  // ö
    case 0xDF: return 0xE1;  // ß
    default: return 0;
  }
}

// The page's keys wait in a queue of its own until the game next looks at
// its shared state; the lock is where it looks, as with the display thread.
class WebDriver final : public Driver {
 public:
  void Lock() override {
    mutex_.lock();
    if (screen.lockCount++ == 0) TakeQueuedKeys();
  }
  void Unlock() override {
    --screen.lockCount;
    mutex_.unlock();
  }

 private:
  static void TakeQueuedKeys() {
    int down = 0, character = 0;
    char code[32];
    while (spike_next_event(&down, code, sizeof code, &character)) {
      if (down < 0) {  // the page lost the focus
        screen.keyState.fill(false);
        continue;
      }
      if (int scancode = ScancodeOf(code)) screen.keyState[scancode] = down;
      if (down && character) {
        if (int byte = CodePage437Of(character)) screen.typed += static_cast<char>(byte);
      }
    }
  }
  std::mutex mutex_;  // a no-op without pthreads, as in the null back end
};

// Only here so that the driver is chosen at run time and every call through
// it stays an indirect call, as in the runtime.
class NullDriver final : public Driver {
 public:
  void Lock() override { ++screen.lockCount; }
  void Unlock() override { --screen.lockCount; }
};
Driver* driver = nullptr;

bool Held(int scancode) {
  driver->Lock();
  const bool held = screen.keyState[scancode];
  driver->Unlock();
  return held;
}

void FillRect(int x, int y, int w, int h, std::uint32_t colour) {
  driver->Lock();
  const int x0 = std::max(x, 0), x1 = std::min(x + w, kWidth);
  const int y0 = std::max(y, 0), y1 = std::min(y + h, kHeight);
  for (int row = y0; row < y1; ++row)
    std::fill(&screen.pixels[row * kWidth + x0], &screen.pixels[row * kWidth + x1], colour);
  if (y0 < y1) {
    screen.firstDirty = std::min(screen.firstDirty, y0);
    screen.lastDirty = std::max(screen.lastDirty, y1 - 1);
  }
  driver->Unlock();
}

// Called by the page once per animation frame, between two of the game's
// sleeps: converts the dirty rows and hands them to the canvas. With
// present=eager the game also calls it before it sleeps, if this animation
// frame has not had its picture yet.
extern "C" EMSCRIPTEN_KEEPALIVE void spike_frame() {
  if (screen.lockCount != 0 || screen.lastDirty < 0) return;
  for (int i = screen.firstDirty * kWidth; i < (screen.lastDirty + 1) * kWidth; ++i) {
    const std::uint32_t p = screen.pixels[i];
    screen.rgba[i] = 0xFF000000u | (p & 0x00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
  }
  spike_present(reinterpret_cast<const std::uint8_t*>(screen.rgba.data()), kWidth, screen.firstDirty,
                screen.lastDirty);
  screen.firstDirty = kHeight;
  screen.lastDirty = -1;
}

// --- the clock --------------------------------------------------------

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(int ms) = 0;
};

// How a sleep gives the page its turn: `timeout` is emscripten_sleep (a
// setTimeout); `laundered` wakes through a message so the browser's 4 ms
// clamp for nested timers never applies; `spinning` yields through messages
// until the time is up; `prioritized` is a user-blocking scheduler task.
class WebClock final : public Clock {
 public:
  void Sleep(int ms) override {
    static const int mode = spike_option("sleep");
    if (mode == 1) {
      spike_sleep_laundered(ms);
    } else if (mode == 2) {
      spike_sleep_spinning(ms);
    } else if (mode == 4) {
      spike_sleep_prioritized(ms);
    } else {
      emscripten_sleep(ms);
    }
  }
};
WebClock webClock;

// Does not sleep: for timing the drawing in a build without Asyncify.
class NoClock final : public Clock {
 public:
  void Sleep(int) override {}
};
Clock* activeClock = nullptr;

// The web clock is called directly, not through the table: then Asyncify's
// own analysis finds every function between main and a sleep, even when it
// is told that indirect calls never sleep.
void SleepOn(Clock& clock, int ms) {
  static const bool eager = spike_option("present") == 1;
  if (eager && !spike_frame_presented()) spike_frame();
  if (&clock == &webClock) {
    webClock.WebClock::Sleep(ms);
  } else {
    clock.Sleep(ms);
  }
}

bool TakeKeyPosted() {
  driver->Lock();
  static std::size_t seen = 0;
  const bool posted = screen.typed.size() != seen;
  seen = screen.typed.size();
  driver->Unlock();
  return posted;
}

// The game's sleep: long ones look for a typed key every 50 ms.
void SleepMs(int ms) {
  if (ms < 100) {
    if (ms > 0) SleepOn(*activeClock, ms);
    return;
  }
  do {
    if (TakeKeyPosted()) return;
    SleepOn(*activeClock, 50);
    ms -= 50;
  } while (ms > 50);
  SleepOn(*activeClock, ms);
}

// --- the file ---------------------------------------------------------

// As the runtime does, the file is flushed and synced before it is closed.
// In a build with Asyncify, fsync on the IndexedDB-backed folder writes the
// folder to IndexedDB and returns when that is done.
constexpr const char* kSavePath = "/persistent/spike.sav";

void Save(int catcherX) {
  if (std::FILE* file = std::fopen(kSavePath, "wb")) {
    std::fprintf(file, "%d,%s", catcherX, screen.typed.c_str());
    std::fflush(file);
    fsync(fileno(file));
    std::fclose(file);
  }
}

bool Load(int& catcherX) {
  std::FILE* file = std::fopen(kSavePath, "rb");
  if (!file) return false;
  char text[256] = {};
  const std::size_t size = std::fread(text, 1, sizeof text - 1, file);
  std::fclose(file);
  const char* comma = static_cast<const char*>(std::memchr(text, ',', size));
  if (!comma) return false;
  catcherX = std::atoi(text);
  screen.typed.assign(comma + 1, static_cast<std::size_t>(text + size - (comma + 1)));
  return true;
}

// --- the game ----------------------------------------------------------

std::string Hex(const std::string& bytes) {
  std::string text;
  char pair[3];
  for (unsigned char c : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", c);
    text += pair;
  }
  return text;
}

void DrawFrame(int catcherX, int ballY) {
  FillRect(0, 0, kWidth, kHeight, 0x203040);
  FillRect(0, 40 + ballY % 200, kWidth, 4, 0xFFFF00);  // clear of the rows the tests read
  FillRect(catcherX, 400, 48, 16, 0xFFFFFF);
  // Each typed byte as a cell whose red channel is the byte: a test reads it back.
  for (std::size_t i = 0; i < screen.typed.size(); ++i)
    FillRect(8 + static_cast<int>(i) * 10, 8, 8, 16,
             0x004080u | static_cast<std::uint32_t>(static_cast<unsigned char>(screen.typed[i])) << 16);
}

void ShowState(const char* what, int catcherX) {
  char title[256];
  std::snprintf(title, sizeof title, "%s x=%d typed=%s", what, catcherX, Hex(screen.typed).c_str());
  spike_set_title(title);
}

void PutPixel(int x, int y, std::uint32_t colour) {
  driver->Lock();
  screen.pixels[y * kWidth + x] = colour;
  driver->Unlock();
}

// Frames of the round's shape (draw, sleep 2, sleep 1), timed in the page;
// then many small locking calls, where Asyncify's checks after each call
// cost the most.
void Measure(int frames) {
  double drawMs = 0;
  const double start = emscripten_get_now();
  for (int frame = 0; frame < frames; ++frame) {
    const double before = emscripten_get_now();
    DrawFrame(frame % 600, frame % kHeight);
    drawMs += emscripten_get_now() - before;
    SleepMs(2);
    SleepMs(1);
  }
  const double totalMs = emscripten_get_now() - start;
  const double callsStart = emscripten_get_now();
  for (int i = 0; i < 1000000; ++i)
    PutPixel(i % kWidth, (i / kWidth) % kHeight, static_cast<std::uint32_t>(i));
  const double callsMs = emscripten_get_now() - callsStart;
  // What one sleep of 1 and of 2 ms lasts on average.
  double sleptMs[3] = {};
  for (int ms = 1; ms <= 2; ++ms) {
    const double before = emscripten_get_now();
    for (int i = 0; i < 200; ++i) SleepOn(*activeClock, ms);
    sleptMs[ms] = (emscripten_get_now() - before) / 200;
  }
  char json[300];
  std::snprintf(json, sizeof json,
                "{\"frames\":%d,\"frameMs\":%.3f,\"drawMs\":%.3f,\"millionCallsMs\":%.1f,"
                "\"sleep1Ms\":%.3f,\"sleep2Ms\":%.3f}",
                frames, totalMs / frames, drawMs / frames, callsMs, sleptMs[1], sleptMs[2]);
  spike_report(json);
}

void Play() {
  int catcherX = 296;
  // The title tells a test where the program is: started or loaded, then saved.
  const char* status = Load(catcherX) ? "loaded" : "started";
  ShowState(status, catcherX);
  SleepMs(1000);  // a key shortens it, as the game's long sleeps do
  for (int frame = 0;; ++frame) {
    if (Held(75)) catcherX = std::max(catcherX - 2, 0);
    if (Held(77)) catcherX = std::min(catcherX + 2, kWidth - 48);
    if (Held(31)) {
      Save(catcherX);
      status = "saved";
      ShowState(status, catcherX);
      while (Held(31)) SleepMs(10);
    }
    DrawFrame(catcherX, frame % kHeight);
    if (frame % 16 == 0) ShowState(status, catcherX);
    SleepMs(2);
    SleepMs(1);
  }
}

}  // namespace

int main() {
  static WebDriver webDriver;
  static NullDriver nullDriver;
  driver = spike_option("driver") == 1 ? static_cast<Driver*>(&nullDriver) : &webDriver;
  static NoClock noClock;
  activeClock = spike_option("sleep") == 3 ? static_cast<Clock*>(&noClock) : &webClock;
  if (int frames = spike_option("measure")) {
    Measure(frames);
  } else {
    Play();
  }
  return 0;
}
