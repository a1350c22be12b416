#include "game/round/round.h"

#include <utility>

#include "game/controls.h"
#include "game/failure_notice.h"
#include "game/round/background.h"
#include "game/round/catcher.h"
#include "game/round/levels.h"
#include "game/round/objects.h"
#include "game/round/rules.h"
#include "game/round/screenshot.h"
#include "game/round/texts.h"
#include "game/scancodes.h"
#include "gfx/image.h"
#include "gfx/screen.h"
#include "gfx/text.h"
#include "input/timing.h"
#include "rt/strings.h"

namespace game {

namespace {

constexpr int kMessageRow = 28;

FrameHook& TheFrameHook() {
  static FrameHook hook;
  return hook;
}

// How a frame ends. NewObject: a rule took the object; the frame stops there
// and the next one starts with a new object.
enum class FrameEnd { Completed, NewObject, ToMenu, ToGameOver };

std::string PlayTitle(int level) {
  return text::kPlayTitlePrefix + rt::StrFromInt(level) + text::kTitleSuffix;
}

std::string StatusLine(const GameState& s) {
  return text::kLivesLabel + rt::StrFromInt(s.lives) + text::kStonesLabel + rt::StrFromInt(s.stones) +
         text::kPointsLabel + rt::StrFromInt(s.points) + text::kLevelLabel + rt::StrFromInt(s.level);
}

// The screen keeps the last frame, which shows "Spiel angehalten", until a key.
void PauseIfRequested(GameState& state) {
  if (state.pauseRequested != 1) return;
  rt::WindowTitle(text::kPausedTitle);
  rt::SleepMs(1000);
  rt::SleepMs(-1);
  state.message = text::kResumed;
  state.pauseRequested = 0;
}

void RequestPauseOnKey(GameState& state) {
  if (!Held(scancode::kP)) return;
  state.pauseRequested = 1;
  state.message = text::kPaused;
}

// Moving the object, up to the frame's pause.
FrameEnd MoveObject(GameState& state) {
  rt::WindowTitle(PlayTitle(state.level));
  FallStep(state);
  if (UfoStep(state)) return FrameEnd::NewObject;
  rt::SleepMs(state.frameDelay - 2);
  return FrameEnd::Completed;
}

// The player's steering and the judgement at the catch line.
FrameEnd SteerAndJudge(GameState& state) {
  SteerByMouse(state);
  SteerByKeys(state);
  if (Held(scancode::kEsc)) return FrameEnd::ToMenu;
  if (JudgeCatch(state)) return FrameEnd::NewObject;
  if (JudgeMiss(state, ObjectKind::WhiteStone)) return FrameEnd::NewObject;
  rt::SleepMs(1);
  if (JudgeMiss(state, ObjectKind::BlackStone)) return FrameEnd::NewObject;
  return FrameEnd::Completed;
}

// Pause, the late misses and the speed-ups.
FrameEnd PauseAndLateRules(GameState& state) {
  PauseIfRequested(state);
  RequestPauseOnKey(state);
  ClampCatcher(state);
  if (JudgeMiss(state, ObjectKind::Heart)) return FrameEnd::NewObject;
  if (JudgeMiss(state, ObjectKind::Money)) return FrameEnd::NewObject;
  AccelerateByWheel(state);
  AccelerateByDownKey(state);
  return FrameEnd::Completed;
}

// The end of a completed frame.
FrameEnd FinishFrame(GameState& state, const std::string& screenshotFolder) {
  // A damaged save can bring negative lives; those end the game too.
  if (state.lives <= 0) return FrameEnd::ToGameOver;
  CheckLevelUp(state);
  if (state.objectY == kCatchLineY) state.objectY = kPassedY;
  if (CloseRequested()) return FrameEnd::ToMenu;
  if (state.objectY > kLostBelowY) {
    state.lives -= 1;
    return FrameEnd::NewObject;
  }
  if (Held(scancode::kS)) TakeScreenshot(state, screenshotFolder);
  return FrameEnd::Completed;
}

// A frame, in this order; a step that takes the object or leaves the round
// ends the frame there:
//   1. the title, the fall, the saucer's homing and landing, the pause of
//      frameDelay - 2 ms (MoveObject);
//   2. the whole screen under one lock (DrawFrame);
//   3. steering by mouse and keys, Esc, the catch, the white stone's miss,
//      1 ms, the black stone's miss (SteerAndJudge);
//   4. a requested pause, P, the catcher kept on the screen, the heart's and
//      the money's miss, the speed-ups (PauseAndLateRules);
//   5. no lives left, the level checks, the object passing the catch line,
//      the close button, the object lost below, S for a screenshot
//      (FinishFrame).
FrameEnd RunFrame(GameState& state, const std::string& screenshotFolder) {
  if (FrameEnd end = MoveObject(state); end != FrameEnd::Completed) return end;
  DrawFrame(state);
  if (FrameEnd end = SteerAndJudge(state); end != FrameEnd::Completed) return end;
  if (FrameEnd end = PauseAndLateRules(state); end != FrameEnd::Completed) return end;
  return FinishFrame(state, screenshotFolder);
}

NextScreen LeaveToMenu() {
  rt::Cls();
  for (int i = 0; i < 3; ++i) rt::SleepMs(200);
  return NextScreen::Menu;
}

}  // namespace

// Under one lock, so that no half-drawn frame is shown.
void DrawFrame(const GameState& state) {
  rt::ScreenLock();
  rt::Cls();
  DrawBackground();
  rt::DrawString(nullptr, 1, 1, rt::kAbsoluteInForeground, StatusLine(state));
  if (state.objectImage) {
    rt::Put(nullptr, state.objectX, state.objectY, state.objectImage.get(), rt::kOmitted, 0, 0, 0, 0,
            rt::PutTrans);
  }
  if (state.catcherImage) {
    rt::Put(nullptr, state.catcherX, kCatcherY, state.catcherImage.get(), rt::kOmitted, 0, 0, 0, 0,
            rt::PutPset);
  }
  rt::Locate(kMessageRow, 1);
  if (state.message == text::kScreenshotFailed) {
    PrintFailure(state.message);
  } else {
    rt::Print(state.message);
  }
  rt::ScreenUnlock(-1, -1);
}

void SetFrameHook(FrameHook hook) { TheFrameHook() = std::move(hook); }

void StartNewGame(GameState& state) {
  state.frameDelay = 4;
  state.catcherX = 3;
  state.lives = 3;
  state.points = 0;
  state.stones = 0;
  state.level = 1;
  SpawnObject(state);
}

NextScreen GameLoop(GameState& state, const std::string& screenshotFolder) {
  for (;;) {
    if (const FrameHook& hook = TheFrameHook(); hook && !hook(state)) return NextScreen::Round;
    switch (RunFrame(state, screenshotFolder)) {
      case FrameEnd::Completed: break;
      case FrameEnd::NewObject: SpawnObject(state); break;
      case FrameEnd::ToMenu: return LeaveToMenu();
      case FrameEnd::ToGameOver: return NextScreen::GameOver;
    }
  }
}

}  // namespace game
