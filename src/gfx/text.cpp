#include "gfx/text.h"

#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/pixel_format.h"
#include "gfx/screen_state.h"
#include "gfx/text_render.h"

namespace rt {

namespace {

// The coordinate modes DrawString knows: plain coordinates, with or without bit 2.
constexpr int kCoordModeMask = 7;
constexpr int kCoordAbsolute = 0;
constexpr int kCoordAbsoluteToo = 4;

}  // namespace

Result DrawString(ImageBuffer* target, double x, double y, int coordFlags, std::string_view text,
                  std::uint32_t color) {
  ScreenState* screen = Screen();
  if (!screen) return SetLastResult(ResultIllegalCall);
  const int coordMode = coordFlags & kCoordModeMask;
  if (coordMode != kCoordAbsolute && coordMode != kCoordAbsoluteToo) return SetLastResult(ResultIllegalCall);

  DrawContext& context = CurrentContext();
  const Surface surface = target ? ImageSurface(target) : ScreenSurface();
  if (surface.width == 0) return SetLastResult(ResultIllegalCall);
  // An image clips to its whole area, the screen to the graphics view.
  const Rect clip = target ? Bounds(surface) : Intersect(context.clip, Bounds(surface));
  const std::uint32_t indexMask = surface.bytesPerPixel == screen->bytesPerPixel ? screen->colorMask : 0xFF;
  const std::uint32_t pixel = (coordFlags & kColorNotGiven)
                                  ? context.foreground
                                  : ConvertColor(color, surface.bytesPerPixel, indexMask);

  int px = 0;
  int py = 0;
  // Far off any target (or not a number): nothing to draw.
  if (!RoundCoordinate(x, px) || !RoundCoordinate(y, py)) return SetLastResult(ResultOk);
  context.lastX = px;
  context.lastY = py;

  const BuiltinFont& font = FontByIndex(screen->font);
  ClippedText clipped;
  if (!ClipText(text, static_cast<long long>(px) + clip.left, static_cast<long long>(py) + clip.top,
                font.height, clip, clipped))
    return SetLastResult(ResultOk);

  ScreenLock();
  DrawGlyphsTransparent(surface, font, clipped, pixel);
  if (surface.isVisiblePage) MarkDirty(clipped.y, clipped.y + clipped.glyphRows - 1);
  ScreenUnlock(1, 0);
  return SetLastResult(ResultOk);
}

std::uint32_t Color(std::uint32_t foreground, std::uint32_t background, int flags) {
  ScreenState* screen = Screen();
  if (!screen) return 0;
  DrawContext& context = CurrentContext();
  const std::uint32_t previous = context.foreground;
  if (!(flags & kColorForegroundOmitted))
    context.foreground = ConvertColor(foreground, screen->bytesPerPixel, screen->colorMask);
  if (!(flags & kColorBackgroundOmitted))
    context.background = ConvertColor(background, screen->bytesPerPixel, screen->colorMask);
  return previous;
}

}  // namespace rt
