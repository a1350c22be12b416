// The two threads under load, in a real window: the main thread draws and
// queries keys and the mouse as fast as it can while the display thread
// presents, and a third thread floods SDL's queue with key, text, mouse,
// wheel and focus events. Run under ThreadSanitizer in CI. Nothing may race
// or deadlock, and every close of the window must reach the key queue.
#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <thread>

#include "gfx/image.h"
#include "gfx/screen_state.h"
#include "gfx/text.h"
#include "input/key_queue.h"
#include "input/keyboard.h"
#include "input/mouse.h"

namespace rt {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Kills the process if the test has not finished in time: a deadlock.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit)
      : thread_([this, limit] {
          std::unique_lock lock(mutex_);
          if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
            std::fprintf(stderr, "the threads made no progress for %lld s: deadlock\n",
                         (long long)limit.count());
            std::abort();
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
    }
    done_.notify_one();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

void Push(SDL_Event event) {
  event.common.timestamp = SDL_GetTicks();
  // A full queue drops the event; the flood simply goes on.
  SDL_PushEvent(&event);
}

SDL_Event WindowEvent(Uint8 which) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = which;
  return e;
}

// Every kind of input the back end handles, except the close button and
// the keys that switch to full screen.
void PushRandomInput(std::mt19937& random) {
  SDL_Event e{};
  switch (random() % 7) {
    case 0:
    case 1: {
      static constexpr SDL_Scancode kKeys[] = {SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT,
                                               SDL_SCANCODE_A,    SDL_SCANCODE_SPACE,
                                               SDL_SCANCODE_F1,   SDL_SCANCODE_BACKSPACE};
      const SDL_Scancode key = kKeys[random() % std::size(kKeys)];
      e.type = random() % 2 ? SDL_KEYDOWN : SDL_KEYUP;
      e.key.keysym.scancode = key;
      e.key.keysym.sym = SDL_GetKeyFromScancode(key);
      e.key.keysym.mod = random() % 3 == 0 ? KMOD_LSHIFT : KMOD_NONE;
      break;
    }
    case 2:
      e.type = SDL_TEXTINPUT;
      std::strcpy(e.text.text, random() % 2 ? "a" : "\xC3\xBC");  // "ü"
      break;
    case 3:
      e.type = SDL_MOUSEMOTION;
      e.motion.x = int(random() % 700) - 30;
      e.motion.y = int(random() % 540) - 30;
      break;
    case 4:
      e.type = random() % 2 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      e.button.button = Uint8(1 + random() % 3);
      e.button.x = int(random() % 640);
      e.button.y = int(random() % 480);
      break;
    case 5:
      e.type = SDL_MOUSEWHEEL;
      e.wheel.y = random() % 2 ? 1 : -1;
      break;
    default: e = WindowEvent(random() % 2 ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST); break;
  }
  Push(e);
}

struct Seen {
  int closes = 0;
  int otherKeys = 0;
  int pointerMoves = 0;
};

// One frame's worth of what the game does on the main thread.
void DrawAndQuery(ImageBuffer* sprite, int frame, Seen& seen) {
  ScreenLock();
  Cls();
  Put(nullptr, frame % 600, frame % 440, sprite, kOmitted, 0, 0, 0, 0, PutTrans);
  DrawString(nullptr, 1, 17, 4 | kColorNotGiven, "Leben: 3 Steine: 12");
  ScreenUnlock(-1, -1);
  for (int scancode : {1, 57, 75, 77}) Multikey(scancode);
  static int lastX = 0;
  int x = 0, y = 0, wheel = 0, buttons = 0;
  if (GetMouse(&x, &y, &wheel, &buttons) == rt::ResultOk && x != lastX) ++seen.pointerMoves, lastX = x;
  if (frame % 97 == 0) SetMouse(frame % 640, frame % 480, frame % 2, -1);
  if (frame % 53 == 0) WindowTitle(frame % 2 ? "Level: 1 | Morvanta" : "Menue | Morvanta");
  while (KeyHit()) ++(Inkey() == KeyCodeString(kKeyClose) ? seen.closes : seen.otherKeys);
}

class ThreadStressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv(kDriverOverrideVariable);
    SetDriverList({});
    TheKeyQueue().Clear();
    ASSERT_EQ(ScreenMode(18, 32, 2, 0, 0), rt::ResultOk);
    ASSERT_EQ(Screen()->driver->Name(), "SDL");
    sprite.reset(ImageCreate(40, 40, 0xFF2080, 0, true));
    ASSERT_NE(sprite, nullptr);
  }
  void TearDown() override {
    sprite.reset();
    ScreenClose();
    TheKeyQueue().Clear();
  }

  ImagePtr sprite;
};

TEST_F(ThreadStressTest, FloodedThreadsNeitherRaceNorDeadlockNorLoseACloseCode) {
  constexpr int kCloses = 40;
  constexpr int kFrames = 100, kKeys = 1000, kPointerMoves = 50;
  Watchdog watchdog(120s);
  std::atomic<bool> flooding{true};
  std::atomic<bool> floodSeen{false};
  std::thread generator([&] {
    std::mt19937 random(7);
    // At least 3 s of flood, and on until the game has seen enough of it: a
    // slow build on a busy machine takes longer, a starved display thread
    // does not get there in 30 s.
    const auto floodStart = Clock::now();
    while (Clock::now() < floodStart + 3s || (!floodSeen && Clock::now() < floodStart + 30s)) {
      for (int i = 0; i < 20; ++i) PushRandomInput(random);
      std::this_thread::sleep_for(1ms);
    }
    // Closes that nothing may push out of the queue: no key events now, and
    // time for the main thread to take each before the next.
    for (int i = 0; i < kCloses; ++i) {
      Push(WindowEvent(SDL_WINDOWEVENT_CLOSE));
      for (int j = 0; j < 20; ++j) {
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.x = j * 30;
        motion.motion.y = j * 20;
        Push(motion);
        Push(WindowEvent(j % 2 ? SDL_WINDOWEVENT_FOCUS_LOST : SDL_WINDOWEVENT_FOCUS_GAINED));
      }
      std::this_thread::sleep_for(30ms);
    }
    flooding = false;
  });

  int frames = 0;
  Seen seen;
  while (flooding) {
    DrawAndQuery(sprite.get(), frames++, seen);
    if (frames > kFrames && seen.otherKeys > kKeys && seen.pointerMoves > kPointerMoves) floodSeen = true;
  }
  generator.join();
  const auto settle = Clock::now() + 5s;
  while (seen.closes < kCloses && Clock::now() < settle) DrawAndQuery(sprite.get(), frames++, seen);

  EXPECT_EQ(seen.closes, kCloses);
  // The flood did reach the game: a drawing loop that never sleeps must not
  // starve the display thread (it once let through a few dozen keys of
  // thousands, fifteen at a time).
  EXPECT_GT(frames, kFrames);
  EXPECT_GT(seen.otherKeys, kKeys);
  EXPECT_GT(seen.pointerMoves, kPointerMoves);
}

}  // namespace
}  // namespace rt
