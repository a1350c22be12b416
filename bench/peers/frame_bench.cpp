// One whole frame of a round as the game draws it: clear, "background.bmp",
// status line, a keyed object, the opaque catcher and the message line.
#include <cstring>
#include <filesystem>
#include <string>

#include "game/game_state.h"
#include "game/round/round.h"
#include "game/round/texts.h"
#include "gfx/text.h"
#include "our_screen.h"
#include "rt/strings.h"

namespace bench {

namespace {

constexpr int kObjectX = 300;
constexpr int kObjectY = 200;
constexpr int kObjectSize = 32;
constexpr int kCatcherX = 280;
constexpr int kCatcherY = 400;  // where the round draws the catcher
constexpr int kCatcherWidth = 64;
constexpr int kCatcherHeight = 16;
constexpr int kMessageY = 27 * 16;  // text row 28
constexpr std::uint32_t kInk = 0xFFFF55;
constexpr std::uint32_t kPaper = 0x0000AA;
constexpr int kLives = 3;
constexpr int kStones = 27;
constexpr int kLevel = 2;
constexpr int kPoints = 4815;

game::GameState MakeGame() {
  game::GameState game;
  game.objectImage = MakeImage(MakeSprite(kObjectSize, kObjectSize), kObjectSize, kObjectSize);
  game.catcherImage = MakeImage(MakeSprite(kCatcherWidth, kCatcherHeight), kCatcherWidth, kCatcherHeight);
  game.objectX = kObjectX;
  game.objectY = kObjectY;
  game.catcherX = kCatcherX;
  game.lives = kLives;
  game.stones = kStones;
  game.level = kLevel;
  game.points = kPoints;
  game.message = game::text::kResumed;
  return game;
}

// What the frame draws over the picture.
void DrawOverlays(Frame& frame) {
  using namespace game::text;
  const std::string status = kLivesLabel + rt::StrFromInt(kLives) + kStonesLabel + rt::StrFromInt(kStones) +
                             kPointsLabel + rt::StrFromInt(kPoints) + kLevelLabel + rt::StrFromInt(kLevel);
  DrawTextOver(frame, 1, 1, status, kInk);
  PutKeyed(frame, MakeSprite(kObjectSize, kObjectSize), kObjectSize, kObjectSize, kObjectX, kObjectY);
  PutOpaque(frame, MakeSprite(kCatcherWidth, kCatcherHeight), kCatcherWidth, kCatcherHeight, kCatcherX,
            kCatcherY);
  DrawTextCells(frame, 0, kMessageY, game::text::kResumed, kInk, kPaper);
}

const Frame& Expected() {
  static const Frame frame = [] {
    Frame f = FrameOf(PictureArgb());
    DrawOverlays(f);
    return f;
  }();
  return frame;
}

// The game opens its pictures by bare name, so the frame runs in the folder
// that holds the picture as "background.bmp".
class InPictureFolder {
 public:
  InPictureFolder() : previous_(std::filesystem::current_path()) {
    const std::filesystem::path folder = std::filesystem::path(Picture24Path()).parent_path();
    std::filesystem::copy_file(Picture24Path(), folder / "background.bmp",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::current_path(folder);
  }
  ~InPictureFolder() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

void FrameOurs(benchmark::State& state) {
  InPictureFolder folder;
  OurScreen screen;
  rt::Color(kInk, kPaper);
  const game::GameState game = MakeGame();
  game::DrawFrame(game);
  if (!Verify(state, screen.Pixels(), Expected())) return;
  for (auto _ : state) game::DrawFrame(game);
}
BENCHMARK(FrameOurs)->Name("Frame/ours");

// The least a frame must write once the background is decoded: the cached
// picture in one memcpy, then every run of pixels that the text lines and the
// sprites cover, copied from a finished frame.
class FloorFrame {
 public:
  FloorFrame() : target_(PictureArgb().size()), picture_(FrameOf(PictureArgb())) {
    Frame covered(picture_.size(), kUncovered);
    DrawOverlays(covered);
    for (std::size_t row = 0; row < covered.size(); row += kScreenWidth) {
      for (std::size_t x = 0; x < kScreenWidth;) {
        if (covered[row + x] == kUncovered) {
          ++x;
          continue;
        }
        const std::size_t start = x;
        while (x < kScreenWidth && covered[row + x] != kUncovered) ++x;
        spans_.push_back({row + start, x - start});
      }
    }
  }

  void Run() {
    std::memcpy(target_.data(), picture_.data(), target_.size() * 4);
    const std::uint32_t* finished = Expected().data();
    for (const Span& span : spans_) std::memcpy(&target_[span.start], finished + span.start, span.length * 4);
    benchmark::DoNotOptimize(target_.data());
    benchmark::ClobberMemory();
  }
  const Frame& Target() const { return target_; }

 private:
  static constexpr std::uint32_t kUncovered = 0xFF000000;  // no color of a frame
  struct Span {
    std::size_t start;
    std::size_t length;
  };
  Frame target_;
  Frame picture_;  // decoded before the frame, as the game's cache holds it
  std::vector<Span> spans_;
};

void FrameFloor(benchmark::State& state) {
  FloorFrame floor;
  floor.Run();
  if (!Verify(state, floor.Target(), Expected())) return;
  for (auto _ : state) floor.Run();
}
BENCHMARK(FrameFloor)->Name("Frame/floor:memcpy_picture+runs");

}  // namespace

}  // namespace bench
