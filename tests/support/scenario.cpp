#include "support/scenario.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

#include "game/assets.h"
#include "game/round.h"
#include "game/scancodes.h"
#include "game/texts.h"
#include "gfx/font.h"
#include "gfx/screen_state.h"
#include "input/key_queue.h"
#include "input/random.h"
#include "rt/file_channels.h"

namespace game::test {

namespace fs = std::filesystem;

namespace {

constexpr long long kStallMs = 10 * 60 * 1000;
constexpr int kScreenMode = 18;

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A square sprite whose corner pixels carry the transparent key.
std::function<std::uint32_t(int, int)> KeyedSquare(std::uint32_t color) {
  return [color](int x, int y) {
    const bool corner = (x == 0 || x == kObjectSize - 1) && (y == 0 || y == kObjectSize - 1);
    return corner ? kTransparentKey : color;
  };
}

fs::path MakeTemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "morvanta-scenario-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  return pattern;
}

}  // namespace

std::uint32_t SpriteColor(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::WhiteStone: return kWhiteStoneColor;
    case ObjectKind::BlackStone: return kBlackStoneColor;
    case ObjectKind::Heart: return kHeartColor;
    case ObjectKind::Money: return kMoneyColor;
    case ObjectKind::Ufo: return kUfoColor;
  }
  return 0;
}

std::uint32_t BackgroundColorAt(int x, int y) {
  return std::uint32_t(0x10 + x / 40) << 16 | std::uint32_t(0x18 + y / 8) << 8 | std::uint32_t(0x40 + y % 64);
}

int FrameRecord::SleptMs() const {
  int total = 0;
  for (int ms : sleepsMs) total += ms;
  return total;
}

void WriteBmp(const fs::path& path, int width, int height,
              const std::function<std::uint32_t(int x, int y)>& colorAt) {
  const std::uint32_t rowBytes = (std::uint32_t(width) * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = rowBytes * height;
  std::vector<std::uint8_t> file;
  file.reserve(54 + imageBytes);
  file.push_back('B');
  file.push_back('M');
  PutLittleEndian(file, 54 + imageBytes, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 54, 4);
  PutLittleEndian(file, 40, 4);
  PutLittleEndian(file, width, 4);
  PutLittleEndian(file, height, 4);
  PutLittleEndian(file, 1, 2);
  PutLittleEndian(file, 24, 2);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, imageBytes, 4);
  PutLittleEndian(file, 2834, 4);
  PutLittleEndian(file, 2834, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 0, 4);
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t rowStart = file.size();
    for (int x = 0; x < width; ++x) PutLittleEndian(file, colorAt(x, y), 3);
    file.resize(rowStart + rowBytes, 0);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteGamePictures(const fs::path& folder) {
  WriteBmp(folder / kBackgroundPicture, 640, 480, BackgroundColorAt);
  WriteBmp(folder / kIntroPicture, 640, 480, [](int, int) { return kIntroColor; });
  WriteBmp(folder / kCatcherPicture, kCatcherWidth, kCatcherHeight, [](int, int) { return kCatcherColor; });
  WriteBmp(folder / kWhiteStonePicture, kObjectSize, kObjectSize, KeyedSquare(kWhiteStoneColor));
  WriteBmp(folder / kBlackStonePicture, kObjectSize, kObjectSize, KeyedSquare(kBlackStoneColor));
  WriteBmp(folder / kHeartPicture, kObjectSize, kObjectSize, KeyedSquare(kHeartColor));
  WriteBmp(folder / kMoneyPicture, kObjectSize, kObjectSize, KeyedSquare(kMoneyColor));
  WriteBmp(folder / kUfoPicture, kObjectSize, kObjectSize, KeyedSquare(kUfoColor));
}

Scenario::Scenario() {
  folder_ = MakeTemporaryFolder();
  previousFolder_ = fs::current_path();
  WriteGamePictures(folder_);
  fs::current_path(folder_);
  rt::ScreenClose();
  rt::TheKeyQueue().Clear();
  rt::ResetRandom();
  rt::SetClock(&clock_);
  clock_.onSleep = [this](int delayMs) { SleepHappened(delayMs); };
  rt::SetDriverList({rt::test::ScriptedDriver::Entry()});
  if (rt::ScreenMode(kScreenMode, 32, 2, 0, 0) != 0)
    throw std::runtime_error("the scripted screen did not open");
  state_.catcherImage = LoadBitmapAsset(kCatcherPicture);
  SetFrameHook([this](GameState& state) { return FrameStarts(state); });
}

Scenario::~Scenario() {
  SetFrameHook(nullptr);
  state_.objectImage.reset();
  state_.catcherImage.reset();
  rt::ScreenClose();
  rt::CloseAllFiles();
  rt::TheKeyQueue().Clear();
  rt::SetDriverList({});
  clock_.onSleep = nullptr;
  rt::SetClock(nullptr);
  std::error_code ignored;
  fs::current_path(previousFolder_, ignored);
  fs::remove_all(folder_, ignored);
}

rt::test::ScriptedDriver& Scenario::Driver() { return *rt::test::ScriptedDriver::Current(); }

void Scenario::UsePictures(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".bmp") {
      fs::copy_file(entry.path(), folder_ / entry.path().filename(), fs::copy_options::overwrite_existing);
    }
  }
  state_.catcherImage = LoadBitmapAsset(kCatcherPicture);
}

void Scenario::NewGame() { StartNewGame(state_); }

void Scenario::PlaceObject(ObjectKind kind, int x, int y) {
  state_.objectKind = Code(kind);
  PrepareObject(state_);
  state_.objectX = x;
  state_.objectY = y;
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
  actions_.emplace(FramesRun() + frame, std::move(action));
}

NextScreen Scenario::RunFrames(int frames) {
  stopAtFrame_ = FramesRun() + frames;
  const NextScreen next = GameLoop(state_);
  if (inFrame_) FrameEnded(state_);
  return next;
}

bool Scenario::FrameStarts(GameState& state) {
  if (inFrame_) FrameEnded(state);
  // Input due at this frame is applied even when the run stops here: nothing
  // happens before the next run starts the frame.
  const int frame = FramesRun();
  std::vector<std::function<void()>> due;
  for (auto [it, end] = actions_.equal_range(frame); it != end; ++it) due.push_back(std::move(it->second));
  actions_.erase(frame);
  for (auto& action : due) action();
  if (frame >= stopAtFrame_) return false;
  inFrame_ = true;
  current_.sleepsMs.clear();
  frameStartMs_ = clock_.SleptMs();
  pauseStartMs_ = -1;
  pauseResumed_ = false;
  return true;
}

void Scenario::FrameEnded(const GameState& state) {
  inFrame_ = false;
  FrameRecord& r = current_;
  r.catcherX = state.catcherX;
  r.objectX = state.objectX;
  r.objectY = state.objectY;
  r.objectKind = state.objectKind;
  r.points = state.points;
  r.stones = state.stones;
  r.lives = state.lives;
  r.level = state.level;
  r.fallPhase = state.fallPhase;
  r.mouseControl = state.mouseControl;
  r.pauseRequested = state.pauseRequested;
  r.mouseWheel = state.mouseWheel;
  r.message = state.message;
  frames_.push_back(r);
}

void Scenario::SleepHappened(int delayMs) {
  if (inFrame_) current_.sleepsMs.push_back(delayMs);
  if (sleepObserver_) sleepObserver_(delayMs);
  ResumePause(delayMs);
  if (inFrame_ && !stalled_ && clock_.SleptMs() - frameStartMs_ > kStallMs) EndStalledFrame();
}

// The pause shows its own title until the next frame sets the round's again.
void Scenario::ResumePause(int delayMs) {
  rt::test::ScriptedDriver* driver = rt::test::ScriptedDriver::Current();
  if (pauseLengthMs_ <= 0 || pauseResumed_ || !driver || driver->Titles().empty() ||
      driver->Titles().back() != text::kPausedTitle) {
    return;
  }
  if (pauseStartMs_ < 0) pauseStartMs_ = clock_.SleptMs() - delayMs;
  if (clock_.SleptMs() - pauseStartMs_ < pauseLengthMs_) return;
  driver->Type(' ');
  pauseResumed_ = true;
}

void Scenario::EndStalledFrame() {
  stalled_ = true;
  ADD_FAILURE() << "frame " << FramesRun() << " did not end within " << kStallMs << " virtual ms";
  Driver().HoldKey(scancode::kEsc, true);
  Driver().Type(' ');
}

std::vector<std::string> Scenario::Messages() const {
  std::vector<std::string> messages;
  for (const FrameRecord& r : frames_) {
    if (messages.empty() || messages.back() != r.message) messages.push_back(r.message);
  }
  return messages;
}

const std::vector<std::string>& Scenario::Titles() { return Driver().Titles(); }

std::vector<std::string> Scenario::FilesWritten() const {
  static const std::vector<std::string_view> pictures = {
      kIntroPicture,      kBackgroundPicture, kCatcherPicture, kWhiteStonePicture,
      kBlackStonePicture, kHeartPicture,      kMoneyPicture,   kUfoPicture};
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().lexically_relative(folder_).generic_string();
    if (std::find(pictures.begin(), pictures.end(), name) == pictures.end()) files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::uint32_t Scenario::Pixel(int x, int y) const {
  const rt::ScreenState* screen = rt::Screen();
  return reinterpret_cast<const std::uint32_t*>(screen->VisibleRow(y))[x];
}

std::string Scenario::ReadText(int x, int y, int cells) const {
  const rt::BuiltinFont& font = rt::FontByIndex(2);
  const std::uint32_t ink = rt::CurrentContext().foreground;
  const rt::ScreenState* screen = rt::Screen();
  auto matches = [&](int glyph, int left) {
    for (int row = 0; row < font.height; ++row) {
      const std::uint8_t bits = font.glyphs[glyph * font.height + row];
      for (int col = 0; col < 8; ++col) {
        const int px = left + col, py = y + row;
        const bool inked = px < screen->width && py < screen->height && Pixel(px, py) == ink;
        if (inked != (((bits >> col) & 1) != 0)) return false;
      }
    }
    return true;
  };
  std::string text;
  for (int cell = 0; cell < cells && x + cell * 8 < screen->width; ++cell) {
    char found = matches(' ', x + cell * 8) ? ' ' : '?';
    for (int glyph = 1; glyph < 256 && found == '?'; ++glyph) {
      if (matches(glyph, x + cell * 8)) found = static_cast<char>(glyph);
    }
    text.push_back(found);
  }
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

}  // namespace game::test
