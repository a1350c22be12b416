#include "support/scenario.h"

#include <algorithm>

#include "game/assets.h"
#include "game/round/objects.h"
#include "game/round/round.h"
#include "game/shell/shell_texts.h"
#include "gfx/font.h"
#include "gfx/screen_state.h"
#include "input/key_queue.h"
#include "input/random.h"
#include "rt/file_channels.h"

namespace game::test {

namespace fs = std::filesystem;

int FrameRecord::SleptMs() const {
  int total = 0;
  for (int ms : sleepsMs) total += ms;
  return total;
}

Scenario::Scenario() {
  WriteGamePictures(folder_.Path());
  previousFolder_ = fs::current_path();
  fs::current_path(folder_.Path());
  shell_.saveFilePath = folder_.File("game.sav");
  shell_.highscoreFilePath = folder_.File("game.hsc");
  shell_.screenshotFolder = folder_.File("screenshots");
  rt::ScreenClose();
  rt::CloseAllFiles();
  rt::TheKeyQueue().Clear();
  rt::ResetRandom();
  clock_.SetLocalTime(2026, 12, 7, 9, 5, 3);
  clock_.onSleep = [this](int delayMs) { Slept(delayMs); };
  rt::SetClock(&clock_);
  rt::SetDriverList({rt::test::ScriptedDriver::Entry()});
  rt::WindowTitle("");  // titles outlive a screen; start without one
  if (rt::ScreenMode(18, 32, 2, 0, 0) != rt::ResultOk)
    throw std::runtime_error("the scripted screen did not open");
  shell_.state.catcherImage = LoadBitmapAsset(kCatcherPicture);
  SetFrameHook([this](GameState& state) { return FrameStarts(state); });
}

Scenario::~Scenario() {
  SetFrameHook(nullptr);
  shell_ = Shell{};  // images before the screen they were made for
  rt::ScreenClose();
  rt::CloseAllFiles();
  rt::TheKeyQueue().Clear();
  rt::SetDriverList({});
  rt::SetClock(nullptr);
  std::error_code ignored;
  fs::current_path(previousFolder_, ignored);
}

rt::test::ScriptedDriver& Scenario::Driver() {
  rt::test::ScriptedDriver* driver = rt::test::ScriptedDriver::Current();
  if (!driver) throw std::logic_error("no scripted window is open");
  return *driver;
}

void Scenario::NewGame() { StartNewGame(shell_.state); }

void Scenario::PlaceObject(ObjectKind kind, int x, int y) {
  GameState& state = shell_.state;
  state.objectKind = Code(kind);
  PrepareObject(state);
  state.objectX = x;
  state.objectY = y;
}

NextScreen Scenario::RunFrames(int frames) {
  stopAtFrame_ = FramesRun() + frames;
  recording_ = true;
  const NextScreen next = GameLoop(shell_.state, shell_.screenshotFolder);
  if (inFrame_) FrameEnded(shell_.state);
  recording_ = false;
  return next;
}

void Scenario::HoldKey(int scancode, int frames) {
  Driver().HoldKey(scancode, true);
  AtFrame(frames, [this, scancode] { Driver().HoldKey(scancode, false); });
}

void Scenario::HoldButtons(int bits, int frames) {
  Driver().PressButtons(bits);
  AtFrame(frames, [this, bits] { Driver().ReleaseButtons(bits); });
}

void Scenario::AtFrame(int frame, std::function<void()> action) {
  atFrame_.emplace(FramesRun() + frame, std::move(action));
}

void Scenario::StartGame() {
  shell_ = Shell{};
  rt::ScreenClose();
  startedUp_ = false;
  Progress();
  if (!game::StartUp(shell_, folder_.Path().string())) throw std::runtime_error("start-up opened no screen");
  startedUp_ = true;
}

void Scenario::RunScreensFrom(NextScreen first) {
  Progress();
  RunScreens(shell_, first);
}

bool Scenario::InMenu() const { return startedUp_ && TitleIs(shell_text::kMenuTitle); }

void Scenario::When(std::function<bool()> condition, std::function<void()> action) {
  steps_.push_back({std::move(condition), std::move(action)});
}

void Scenario::OnSleep(std::function<void(int delayMs)> watcher) { watchers_.push_back(std::move(watcher)); }

void Scenario::EachFrame(std::function<void(GameState&)> action) { eachFrame_.push_back(std::move(action)); }

void Scenario::ResetScript() {
  steps_.clear();
  nextStep_ = 0;
  watchers_.clear();
  eachFrame_.clear();
}

bool Scenario::FrameStarts(GameState& state) {
  Progress();
  if (!recording_) {
    for (auto& action : eachFrame_) action(state);
    return true;
  }
  if (inFrame_) FrameEnded(state);
  // Input due at this frame is applied even when the run stops here: nothing
  // happens before the next run starts the frame.
  const int frame = FramesRun();
  std::vector<std::function<void()>> due;
  for (auto [it, end] = atFrame_.equal_range(frame); it != end; ++it) due.push_back(std::move(it->second));
  atFrame_.erase(frame);
  for (auto& action : due) action();
  if (frame >= stopAtFrame_) return false;
  for (auto& action : eachFrame_) action(state);
  inFrame_ = true;
  current_.sleepsMs.clear();
  return true;
}

void Scenario::FrameEnded(const GameState& state) {
  inFrame_ = false;
  static_cast<GameValues&>(current_) = state;
  frames_.push_back(current_);
}

void Scenario::Slept(int delayMs) {
  if (inFrame_) current_.sleepsMs.push_back(delayMs);
  for (auto& watcher : watchers_) watcher(delayMs);
  if (nextStep_ < steps_.size() && steps_[nextStep_].condition()) steps_[nextStep_++].action();
  const long long waitedMs = NowMs() - progressAtMs_;
  rt::test::ScriptedDriver* driver = rt::test::ScriptedDriver::Current();
  if (wakeLongWaits_ && waitedMs >= 5000 && !woken_ && driver) {
    woken_ = true;
    driver->Type(' ');
    driver->Type(13);
  }
  if (waitedMs <= giveUpAfterMs_) return;
  std::string what = "the program made no progress for " + std::to_string(waitedMs) + " virtual ms";
  if (!ScriptDone()) what += " (step " + std::to_string(nextStep_ + 1) + " of the script was next)";
  throw Stalled(what);
}

bool Scenario::TitleSeen(const std::string& title) {
  return std::find(Titles().begin(), Titles().end(), title) != Titles().end();
}

std::vector<std::string> Scenario::FilesWritten() const {
  static const std::vector<std::string_view> pictures = {
      kIntroPicture,      kBackgroundPicture, kCatcherPicture, kWhiteStonePicture,
      kBlackStonePicture, kHeartPicture,      kMoneyPicture,   kUfoPicture};
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(Folder())) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().lexically_relative(Folder()).generic_string();
    if (std::find(pictures.begin(), pictures.end(), name) == pictures.end()) files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Scenario::File(std::string_view name) const { return rt::test::ReadBytes(folder_.File(name)); }

void Scenario::WriteFile(std::string_view name, std::string_view bytes) const {
  rt::test::WriteBytes(folder_.File(name), bytes);
}

std::uint32_t ScreenPixel(int x, int y) {
  return reinterpret_cast<const std::uint32_t*>(rt::Screen()->VisibleRow(y))[x];
}

std::uint32_t ScreenRgb(int x, int y) { return ScreenPixel(x, y) & 0xFFFFFF; }

namespace {

// Whether the cell at (x, y) shows the glyph of `code` in the game's 8 x 16
// font; what lies beyond the screen's edges is not looked at.
bool CellShows(int x, int y, unsigned char code, std::uint32_t ink, int paper) {
  const rt::BuiltinFont& font = rt::FontByIndex(2);
  const rt::ScreenState& screen = *rt::Screen();
  for (int row = 0; row < font.height && y + row < screen.height; ++row) {
    const std::uint8_t bits = font.glyphs[code * font.height + row];
    for (int column = 0; column < 8 && x + column < screen.width; ++column) {
      const std::uint32_t shown = ScreenRgb(x + column, y + row);
      const bool set = (bits >> column) & 1;
      if (set ? shown != ink : shown == ink || (paper >= 0 && shown != std::uint32_t(paper))) return false;
    }
  }
  return true;
}

}  // namespace

std::string ReadText(int x, int y, int cells, std::uint32_t ink) {
  std::string text;
  for (int cell = 0; cell < cells && x + cell * 8 < rt::Screen()->width; ++cell) {
    char found = CellShows(x + cell * 8, y, ' ', ink, -1) ? ' ' : '?';
    for (int code = 1; code < 256 && found == '?'; ++code) {
      if (CellShows(x + cell * 8, y, code, ink, -1)) found = static_cast<char>(code);
    }
    text.push_back(found);
  }
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

bool TextAt(int x, int y, std::string_view text, std::uint32_t ink, int paper) {
  if (!rt::Screen()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!CellShows(x + int(i) * 8, y, static_cast<unsigned char>(text[i]), ink, paper)) return false;
  }
  return true;
}

std::string StatusLine() { return ReadText(1, 1, 79); }

std::string MessageLine() { return ReadText(0, 27 * 16, 80); }

bool TitleIs(const std::string& title) { return rt::CurrentWindowTitle() == title; }

}  // namespace game::test
