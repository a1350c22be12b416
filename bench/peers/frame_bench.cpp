// One whole frame of a round as the game draws it: clear, "background.bmp",
// status line, a keyed object, the opaque catcher and the message line.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "game/game_state.h"
#include "game/round/round.h"
#include "our_screen.h"
#include "picture.h"

namespace bench {

namespace {

constexpr int kObjectX = 300;
constexpr int kObjectY = 200;
constexpr int kObjectSize = 32;
constexpr int kCatcherX = 280;
constexpr int kCatcherY = 400;  // where the round draws the catcher
constexpr int kCatcherWidth = 64;
constexpr int kCatcherHeight = 16;

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
  game::GameState game;
  const std::vector<std::uint32_t> object = MakeSprite(kObjectSize, kObjectSize);
  const std::vector<std::uint32_t> catcher = MakeSprite(kCatcherWidth, kCatcherHeight);
  game.objectImage = MakeImage(object, kObjectSize, kObjectSize);
  game.catcherImage = MakeImage(catcher, kCatcherWidth, kCatcherHeight);
  game.objectX = kObjectX;
  game.objectY = kObjectY;
  game.catcherX = kCatcherX;
  game.lives = 3;
  game.level = 2;
  game.points = 4815;
  game.message = "Spiel fortgesetzt";
  for (auto _ : state) game::DrawFrame(game);

  // Away from the text rows: the picture, the object (keyed, so without
  // alpha) and the catcher (opaque, keyed pixels included).
  const std::vector<Probe> probes = {{600, 300},
                                     {5, 240},
                                     {kObjectX + 16, kObjectY + 16},
                                     {kObjectX, kObjectY},
                                     {kCatcherX + 32, kCatcherY + 8},
                                     {kCatcherX, kCatcherY}};
  CheckPixels(
      state, probes, [&](int x, int y) { return screen.Pixel(x, y); },
      [&](int x, int y) -> std::uint32_t {
        const int ox = x - kObjectX, oy = y - kObjectY;
        if (ox >= 0 && ox < kObjectSize && oy >= 0 && oy < kObjectSize &&
            !SpriteIsKey(kObjectSize, kObjectSize, ox, oy))
          return object[std::size_t(oy) * kObjectSize + ox] & 0xFFFFFF;
        const int cx = x - kCatcherX, cy = y - kCatcherY;
        if (cx >= 0 && cx < kCatcherWidth && cy >= 0 && cy < kCatcherHeight)
          return catcher[std::size_t(cy) * kCatcherWidth + cx];
        return 0xFF000000u | PictureColour(x, y);
      });
}
BENCHMARK(FrameOurs)->Name("Frame/ours");

// The clear floor and the picture floor, one after the other.
void FrameFloor(benchmark::State& state) {
  const std::string& path = Picture24Path();
  std::vector<std::uint8_t> file(std::size_t(1) << 20);
  std::vector<std::uint32_t> pixels(std::size_t(kScreenWidth) * kScreenHeight);
  for (auto _ : state) {
    std::fill(pixels.begin(), pixels.end(), 0xFF000000u);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
    const int fd = ::open(path.c_str(), O_RDONLY);
    const ssize_t got = ::read(fd, file.data(), file.size());
    ::close(fd);
    if (got < 54) return state.SkipWithError("read failed");
    std::fill(pixels.begin(), pixels.end(), 0xFF000000u | file[got - 1]);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  const std::uint32_t expected = 0xFF000000u | (PictureColour(kScreenWidth - 1, 0) >> 16);
  CheckPixels(
      state, ProbesIn(0, 0, kScreenWidth, kScreenHeight),
      [&](int x, int y) { return pixels[std::size_t(y) * kScreenWidth + x]; },
      [&](int, int) { return expected; });
}
BENCHMARK(FrameFloor)->Name("Frame/floor:clear+picture");

}  // namespace

}  // namespace bench
