// Loading a 640 x 480 24-bit BMP into 32-bit pixels.
#define STB_IMAGE_IMPLEMENTATION
#include <fcntl.h>
#include <stb/stb_image.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "allegro_peer.h"
#include "gfx/bmp.h"
#include "our_screen.h"
#include "sdl_peer.h"

namespace bench {

namespace {

const Frame& Loaded() {
  static const Frame frame = FrameOf(PictureArgb());
  return frame;
}

void BloadOurs(benchmark::State& state) {
  OurScreen screen;
  const std::string& path = Picture24Path();
  if (rt::Bload(path) != rt::ResultOk) return Fail(state, "Bload failed");
  if (!Verify(state, screen.Pixels(), Loaded())) return;
  for (auto _ : state) {
    if (rt::Bload(path) != rt::ResultOk) return state.SkipWithError("Bload failed");
  }
}
BENCHMARK(BloadOurs)->Name("Bload/ours");

SurfacePtr LoadSdl(const std::string& path) {
  SurfacePtr loaded(SDL_LoadBMP(path.c_str()));
  if (!loaded) return nullptr;
  return SurfacePtr(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
}

void BloadSdl(benchmark::State& state) {
  const std::string& path = Picture24Path();
  SurfacePtr first = LoadSdl(path);
  if (!first) return Fail(state, SDL_GetError());
  if (!Verify(state, SdlFrame(first.get()), Loaded())) return;
  for (auto _ : state) {
    if (!LoadSdl(path)) return state.SkipWithError(SDL_GetError());
  }
}
BENCHMARK(BloadSdl)->Name("Bload/SDL_LoadBMP+ConvertSurfaceFormat");

// stb_image gives RGBA bytes; the swizzle to ARGB words is part of the work.
bool LoadStb(const std::string& path, std::vector<std::uint32_t>& pixels) {
  int width = 0, height = 0, channels = 0;
  stbi_uc* rgba = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (!rgba || width != kScreenWidth || height != kScreenHeight) {
    stbi_image_free(rgba);
    return false;
  }
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const stbi_uc* p = rgba + 4 * i;
    pixels[i] = std::uint32_t(p[3]) << 24 | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
  }
  stbi_image_free(rgba);
  return true;
}

void BloadStb(benchmark::State& state) {
  const std::string& path = Picture24Path();
  std::vector<std::uint32_t> pixels(std::size_t(kScreenWidth) * kScreenHeight);
  if (!LoadStb(path, pixels)) return Fail(state, "stbi_load failed");
  if (!Verify(state, FrameOf(pixels), Loaded())) return;
  for (auto _ : state) {
    if (!LoadStb(path, pixels)) return state.SkipWithError("stbi_load failed");
  }
}
BENCHMARK(BloadStb)->Name("Bload/stbi_load+swizzle");

void BloadAllegro(benchmark::State& state) {
  const char* why = "";
  if (!allegro::Start(why)) return Fail(state, why);
  const std::string& path = Picture24Path();
  BITMAP* first = allegro::LoadBmp(path.c_str());
  if (!first) return Fail(state, "load_bmp failed");
  const bool right = Verify(state, allegro::Pixels(first), Loaded());
  allegro::DestroyBitmap(first);
  if (!right) return;
  for (auto _ : state) {
    BITMAP* loaded = allegro::LoadBmp(path.c_str());
    if (!loaded) return state.SkipWithError("load_bmp failed");
    allegro::DestroyBitmap(loaded);
  }
}
BENCHMARK(BloadAllegro)->Name("Bload/allegro_load_bmp");

// The least any loader must do: read() the whole file and fill the 1.2 MB of
// pixels (memset, so the fill is one byte value, not the picture).
class FloorLoad {
 public:
  explicit FloorLoad(const std::string& path)
      : path_(path), file_(std::size_t(1) << 20), pixels_(std::size_t(kScreenWidth) * kScreenHeight) {}

  bool Run() {
    const int fd = ::open(path_.c_str(), O_RDONLY);
    if (fd < 0) return false;
    got_ = ::read(fd, file_.data(), file_.size());
    ::close(fd);
    std::memset(pixels_.data(), 0xFF, pixels_.size() * 4);
    benchmark::DoNotOptimize(pixels_.data());
    benchmark::ClobberMemory();
    return got_ > 0;
  }
  bool ReadWholeFile() const {
    std::ifstream in(path_, std::ios::binary);
    const std::vector<std::uint8_t> expected((std::istreambuf_iterator<char>(in)),
                                             std::istreambuf_iterator<char>());
    return std::size_t(got_) == expected.size() &&
           std::equal(expected.begin(), expected.end(), file_.begin());
  }
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

 private:
  std::string path_;
  std::vector<std::uint8_t> file_;
  std::vector<std::uint32_t> pixels_;
  ssize_t got_ = 0;
};

void BloadFloor(benchmark::State& state) {
  FloorLoad floor(Picture24Path());
  if (!floor.Run() || !floor.ReadWholeFile()) return Fail(state, "read() did not give the whole file");
  if (!Verify(state, FrameOf(floor.Pixels()), Frame(floor.Pixels().size(), 0xFFFFFF))) return;
  for (auto _ : state) {
    if (!floor.Run()) return state.SkipWithError("read() failed");
  }
}
BENCHMARK(BloadFloor)->Name("Bload/floor:read+memset");

}  // namespace

}  // namespace bench
