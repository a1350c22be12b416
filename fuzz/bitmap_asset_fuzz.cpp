// The game's sprite loader on arbitrary files: LoadBitmapAsset sizes an
// image from the file's header and fills it with Bload; the sprite is then
// drawn as the round draws objects. A damaged header must not make the game
// allocate or fill more than such a file can describe.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "game/assets.h"
#include "gfx/image.h"
#include "gfx/screen_state.h"
#include "rt/file_channels.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rt;
  using fuzz::FuzzCheck;
  if (!Screen()) {
    SetDriverList({NullDriverEntry()});
    FuzzCheck(ScreenMode(18, 32, 2, 0, 0) == rt::ResultOk, "the null screen did not open");
  }
  static const std::string path = fuzz::ScratchFile("sprite.bmp");
  fuzz::WriteScratchFile(path, {reinterpret_cast<const char*>(data), size});
  const ImagePtr sprite = game::LoadBitmapAsset(path);
  if (sprite) {
    FuzzCheck(Put(nullptr, 300, 200, sprite.get(), kOmitted, 0, 0, 0, 0, PutTrans) == rt::ResultOk,
              "drawing the sprite failed");
    FuzzCheck(Put(nullptr, -5, 470, sprite.get(), kOmitted, 0, 0, 0, 0, PutPset) == rt::ResultOk,
              "drawing the sprite failed");
  }
  FuzzCheck(FreeFileNumber() == 1, "a file number stayed in use");
  return 0;
}
