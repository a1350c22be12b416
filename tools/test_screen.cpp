// Draws a test picture of the text and image code on the null back end and
// writes it as a BMP file, to be looked at by a person:
//     test_screen [output.bmp]
// It shows a sample of code page 437 (German letters, box characters) in
// all three built-in fonts, the whole 8 x 16 font as a table, console cells,
// sprites copied with PutTrans and PutPset, and a picture saved and loaded
// back through the BMP code.
#include <cstdio>
#include <string>
#include <string_view>

#include "gfx/bmp.h"
#include "gfx/display_driver.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/screen_state.h"
#include "gfx/text.h"
#include "gfx/text_render.h"
#include "rt/codepage.h"

namespace {

using rt::ImagePtr;

constexpr std::uint32_t kLabel = 0xFFC0C0C0;
constexpr std::uint32_t kHeading = 0xFFFFD040;

// DrawString draws in the mode's font; the other two fonts are drawn with the
// same renderer so that all three can be compared on one screen.
void DrawInFont(int fontIndex, int x, int y, std::string_view text, std::uint32_t color) {
  const rt::Surface screen = rt::ScreenSurface();
  const rt::BuiltinFont& font = rt::FontByIndex(fontIndex);
  rt::ClippedText clipped;
  if (rt::ClipText(text, x, y, font.height, rt::Rect{0, 0, screen.width, screen.height}, clipped))
    rt::DrawGlyphsTransparent(screen, font, clipped, color);
}

void Label(int x, int y, std::string_view utf8, std::uint32_t color = kLabel) {
  rt::DrawString(nullptr, x, y, 0, rt::Cp437(utf8), color);
}

// A vertical blue gradient behind everything, so transparency shows.
void DrawBackground() {
  ImagePtr band(rt::ImageCreate(640, 1, 0, 0, true));
  const rt::Surface row = rt::ImageSurface(band.get());
  for (int y = 0; y < 480; ++y) {
    const std::uint32_t blue = 0x30 + y * 0x60 / 480;
    auto* pixels = reinterpret_cast<std::uint32_t*>(row.Row(0));
    for (int x = 0; x < 640; ++x) pixels[x] = 0xFF000000u | ((blue / 3) << 8) | blue;
    rt::Put(nullptr, 0, y, band.get());
  }
}

void DrawFontSamples() {
  const std::string sample = rt::Cp437("Grüße aus Köln: ÄÖÜ äöü ß ½ £ ±");
  // The pictures of bytes 1 to 31 are written as bytes: as text they are controls.
  const std::string boxes =
      rt::Cp437("╔══╦══╗ ┌──┬──┐ ░▒▓█ ▀▄▌▐ ") + "\x03\x04\x05\x06 \x01\x02 \x1B\x18\x1A\x19";
  const std::string inside = rt::Cp437("║ab║cd║ │ab│cd│ αßΓπΣσµτΦΘΩδ∞φε∩≡");
  const std::string bottom = rt::Cp437("╚══╩══╝ └──┴──┘ ≥≤⌠⌡÷≈°∙·√ⁿ²■");
  int y = 28;
  for (int fontIndex : {2, 1, 0}) {
    const int height = rt::FontByIndex(fontIndex).height;
    Label(8, y, fontIndex == 2 ? "8 x 16" : fontIndex == 1 ? "8 x 14" : "8 x 8", kHeading);
    y += 16;
    for (const std::string* line : {&sample, &boxes, &inside, &bottom}) {
      DrawInFont(fontIndex, 8, y, *line, 0xFFFFFFFF);
      y += height;
    }
    y += 6;
  }
}

void DrawFontTable() {
  Label(400, 28, "Zeichensatz 437 (8 x 16)", kHeading);
  for (int code = 0; code < 256; ++code) {
    const std::string glyph(1, char(code));
    rt::DrawString(nullptr, 400 + (code % 16) * 14, 48 + (code / 16) * 17, 0, glyph, 0xFFFFFFFF);
  }
}

void DrawConsoleCells() {
  rt::Color(0x000000, 0xFFD040);
  rt::Locate(17, 2);
  rt::Print(rt::Cp437(" Print: Menü │ Zelle für Zelle "), false);
  rt::Color(0xFFFFFF, 0x802020);
  rt::Locate(18, 2);
  rt::Print(rt::Cp437(" Tab:\tacht\tSpalten "), false);
  rt::Color(0xFFFFFF, 0x000000);
}

// A round sprite on the transparent key color, with a dark rim.
ImagePtr MakeBall(std::uint32_t color) {
  ImagePtr ball(rt::ImageCreate(32, 32));
  const rt::Surface surface = rt::ImageSurface(ball.get());
  for (int y = 0; y < 32; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(surface.Row(y));
    for (int x = 0; x < 32; ++x) {
      const int dx = 2 * x - 31;
      const int dy = 2 * y - 31;
      const int distance = dx * dx + dy * dy;
      if (distance < 26 * 26)
        row[x] = color;
      else if (distance < 31 * 31)
        row[x] = 0xFF202020;
    }
  }
  return ball;
}

void DrawSprites() {
  Label(8, 340, "PutTrans", kHeading);
  Label(112, 340, "PutPset", kHeading);
  const ImagePtr red = MakeBall(0xFFE03030);
  const ImagePtr green = MakeBall(0xFF30C050);
  rt::Put(nullptr, 8, 360, red.get(), rt::kOmitted, 0, 0, 0, 0, rt::PutTrans);
  rt::Put(nullptr, 28, 372, green.get(), rt::kOmitted, 0, 0, 0, 0, rt::PutTrans);
  rt::Put(nullptr, 112, 360, red.get(), rt::kOmitted, 0, 0, 0, 0, rt::PutPset);
  rt::Put(nullptr, 132, 372, green.get(), rt::kOmitted, 0, 0, 0, 0, rt::PutPset);
  // Text into an image, then the image onto the screen.
  ImagePtr tag(rt::ImageCreate(72, 20, 0x303030, 0, true));
  rt::DrawString(tag.get(), 4, 2, 0, "Bild", 0xFFFF00);
  rt::Put(nullptr, 8, 412, tag.get());
}

// A color ramp saved as a BMP file and loaded back into a new image.
bool DrawLoadedPicture(const std::string& folder) {
  ImagePtr ramp(rt::ImageCreate(96, 64));
  const rt::Surface surface = rt::ImageSurface(ramp.get());
  for (int y = 0; y < 64; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(surface.Row(y));
    for (int x = 0; x < 96; ++x) row[x] = 0xFF000000u | (x * 255 / 95) << 16 | (y * 255 / 63) << 8 | 0x80;
  }
  const std::string path = folder + "test_screen_ramp.bmp";
  if (rt::Bsave(path, ramp.get()) != rt::ResultOk) return false;
  ImagePtr loaded(rt::ImageCreate(96, 64, 0, 0, true));
  const int result = rt::Bload(path, loaded.get());
  std::remove(path.c_str());
  if (result != 0) return false;
  Label(216, 340, "Bload", kHeading);
  rt::Put(nullptr, 216, 360, loaded.get());
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string output = argc > 1 ? argv[1] : "test_screen.bmp";
  rt::SetDriverList({rt::NullDriverEntry()});
  if (rt::ScreenMode(18, 32, 1, 0, 0) != rt::ResultOk) {
    std::fprintf(stderr, "test_screen: cannot open the screen\n");
    return 1;
  }
  DrawBackground();
  Label(8, 4, "Morvanta Testbild: Text, Sprites, Bitmaps", 0xFFFFFFFF);
  DrawFontSamples();
  DrawFontTable();
  DrawConsoleCells();
  DrawSprites();
  if (!DrawLoadedPicture(FolderOf(output))) {
    std::fprintf(stderr, "test_screen: the BMP round trip failed\n");
    return 1;
  }
  if (rt::Bsave(output) != rt::ResultOk) {
    std::fprintf(stderr, "test_screen: cannot write %s\n", output.c_str());
    return 1;
  }
  rt::ScreenClose();
  return 0;
}
