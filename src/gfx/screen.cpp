#include <errno.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "gfx/palettes.h"
#include "gfx/pixel_fill.h"
#include "gfx/pixel_format.h"
#include "gfx/screen_state.h"

namespace rt {

namespace {

// One row of the screen-mode table; width 0 marks a mode that does not exist.
struct ModeInfo {
  std::uint16_t width;
  std::uint16_t height;
  std::uint8_t depth;
  std::uint8_t scanlineSize;
  std::uint8_t pages;
  std::uint8_t paletteKind;  // 0: 2 colors, 1: 16, 2: 64, 3: 256, 255: none
  std::uint8_t font;         // 0: 8x8, 1: 8x14, 2: 8x16, 255: none
  std::uint8_t textColumns;
  std::uint8_t textRows;
};
constexpr int kModeCount = 22;

constexpr ModeInfo kModes[kModeCount] = {
    {0, 0, 0, 0, 1, 255, 255, 0, 0},       // 0
    {320, 200, 2, 1, 8, 1, 0, 40, 25},     // 1
    {640, 200, 1, 2, 1, 1, 0, 80, 25},     // 2
    {0, 0, 0, 0, 1, 255, 255, 0, 0},       // 3
    {0, 0, 0, 0, 1, 255, 255, 0, 0},       // 4
    {0, 0, 0, 0, 1, 255, 255, 0, 0},       // 5
    {0, 0, 0, 0, 1, 255, 255, 0, 0},       // 6
    {320, 200, 4, 1, 8, 1, 0, 40, 25},     // 7
    {640, 200, 4, 2, 4, 1, 0, 80, 25},     // 8
    {640, 350, 4, 1, 2, 2, 1, 80, 25},     // 9
    {640, 350, 1, 1, 2, 0, 1, 80, 25},     // 10
    {640, 480, 1, 1, 1, 0, 2, 80, 30},     // 11
    {640, 480, 4, 1, 1, 3, 2, 80, 30},     // 12
    {320, 200, 8, 1, 1, 3, 0, 40, 25},     // 13
    {320, 240, 8, 1, 1, 3, 0, 40, 30},     // 14
    {400, 300, 8, 1, 1, 3, 0, 50, 37},     // 15
    {512, 384, 8, 1, 1, 3, 2, 64, 24},     // 16
    {640, 400, 8, 1, 1, 3, 2, 80, 25},     // 17
    {640, 480, 8, 1, 1, 3, 2, 80, 30},     // 18
    {800, 600, 8, 1, 1, 3, 2, 100, 37},    // 19
    {1024, 768, 8, 1, 1, 3, 2, 128, 48},   // 20
    {1280, 1024, 8, 1, 1, 3, 2, 160, 64},  // 21
};

std::unique_ptr<ScreenState> openScreen;
int nextScreenId = 1;
char storedTitle[128] = {};
bool titleSet = false;
bool closeRegistered = false;

std::uint32_t DefaultForeground(const ScreenState& s) {
  if (s.depth >= 5 && s.depth <= 8) return 15;
  return s.colorMask;
}

Page AllocatePage(std::size_t bytes) {
  Page page;
  page.allocation = std::make_unique<std::uint8_t[]>(bytes + 16);
  auto address = reinterpret_cast<std::uintptr_t>(page.allocation.get());
  page.pixels = page.allocation.get() + ((16 - (address & 15)) & 15);
  return page;
}

void ResetText(ScreenState& s, std::uint32_t foreground, std::uint32_t background) {
  s.text = TextState{};
  s.text.viewLastRow = s.textRows > 0 ? s.textRows - 1 : 0;
  TextCell blank{' ', foreground, background};
  s.text.shadow.assign(s.pages.size(), std::vector<TextCell>(std::size_t(s.textColumns) * s.textRows, blank));
}

// A screen for the mode, its pages cleared and its text grid blank in the
// colors a new drawing context starts with. Throws std::bad_alloc.
std::unique_ptr<ScreenState> BuildScreen(const ModeInfo& info, int mode, int depth, int pages) {
  auto s = std::make_unique<ScreenState>();
  s->mode = mode;
  s->width = info.width;
  s->height = info.height;
  s->scanlineSize = info.scanlineSize;
  s->paletteKind = info.paletteKind;
  s->font = info.font;
  s->textColumns = info.textColumns;
  s->textRows = info.textRows;
  if (depth == 15 || depth == 16) {
    s->depth = 16;
    s->bytesPerPixel = 2;
    s->colorMask = 0xFFFF;
  } else if (depth == 24 || depth == 32) {
    s->depth = 32;
    s->bytesPerPixel = 4;
    s->colorMask = 0xFFFFFFFF;
  } else {
    s->depth = depth;
    s->bytesPerPixel = (depth + 7) / 8;
    s->colorMask = (1u << depth) - 1;
  }
  s->pitchBytes = s->width * s->bytesPerPixel;
  for (int i = 0; i < pages; ++i) s->pages.push_back(AllocatePage(std::size_t(s->pitchBytes) * s->height));
  s->visiblePage = 0;
  s->dirtyLines.assign(std::size_t(s->height) * s->scanlineSize, 0);
  const std::uint32_t foreground = DefaultForeground(*s);
  const std::uint32_t background = foreground & 0xFF000000u;
  ResetText(*s, foreground, background);
  for (const Page& page : s->pages)
    FillPixels(page.pixels, std::size_t(s->width) * s->height, s->bytesPerPixel, background);
  return s;
}

void TearDown() {
  if (!openScreen) return;
  if (openScreen->driver) openScreen->driver->Exit();
  openScreen.reset();
}

void ApplyDefaultPalette(ScreenState& s) {
  auto entries = DefaultPalette(s.paletteKind);
  for (std::size_t i = 0; i < entries.size(); ++i) SetPaletteEntry(s, int(i), entries[i]);
}

}  // namespace

ScreenState* Screen() { return openScreen.get(); }

// Nothing the program draws or reads can reach anyone any more: it ends as
// at any exit, on the thread that writes its files, between two operations.
void EndForLostDisplay() {
  std::fprintf(stderr, "%s: lost the display (its server ended or the window was destroyed)\n",
               program_invocation_short_name);
  std::exit(1);
}

Result ScreenMode(int mode, int depth, int pages, int flags, int refresh) {
  if (mode < 0 || mode >= kModeCount) return SetLastResult(ResultIllegalCall);
  const ModeInfo& info = kModes[mode];
  if (mode != 0 && info.width == 0) return SetLastResult(ResultIllegalCall);

  int chosenDepth = info.depth;
  if (mode > 13 && (depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32))
    chosenDepth = depth;
  const int chosenPages = pages > 0 ? pages : info.pages;

  if (mode == 0) {
    TearDown();
    return SetLastResult(ResultOk);
  }
  std::unique_ptr<ScreenState> s;
  try {
    s = BuildScreen(info, mode, chosenDepth, chosenPages);
  } catch (const std::bad_alloc&) {
    // Memory for the new screen is taken before the old one goes, which stays.
    return SetLastResult(ResultIllegalCall);
  }
  TearDown();
  s->id = nextScreenId++;

  if (!titleSet) {
    std::string_view name = program_invocation_short_name;
    name = name.substr(0, name.find('.'));
    std::memset(storedTitle, 0, sizeof storedTitle);
    std::memcpy(storedTitle, name.data(), std::min<std::size_t>(name.size(), 127));
  }

  ScreenState& screen = *s;
  openScreen = std::move(s);
  // Everything the display thread may read is ready before the back end starts it.
  if (screen.depth <= 8) ApplyDefaultPalette(screen);
  screen.driver = OpenDisplayDriver(screen, storedTitle, screen.width, screen.height * screen.scanlineSize,
                                    screen.depth < 8 ? 8 : screen.depth, refresh, flags);
  if (!screen.driver) {
    openScreen.reset();
    return SetLastResult(ResultIllegalCall);
  }

  if (!closeRegistered) {
    closeRegistered = true;
    std::atexit(ScreenClose);
  }
  return SetLastResult(ResultOk);
}

void ScreenClose() { TearDown(); }

void ScreenLock() {
  ScreenState* s = Screen();
  if (!s) return;
  if (s->lockCount != 0) {
    ++s->lockCount;
    return;
  }
  s->driver->Lock();
  if (s->driver->Lost()) {
    s->driver->Unlock();
    EndForLostDisplay();
  }
  s->lockCount = 1;
}

void SetPaletteEntry(ScreenState& screen, int index, std::uint32_t rgb) {
  rgb &= 0xFFFFFF;
  screen.palette[std::size_t(index)] = SwapRedBlue(rgb);
  screen.colorMap[std::size_t(index)] = 0xFF000000u | rgb;
  screen.paletteChanged = true;
  // A screen being opened has no back end yet; it shows the whole palette first.
  if (screen.driver)
    screen.driver->SetPalette(index, int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

void MarkDirty(int firstLine, int lastLine) {
  ScreenState* s = Screen();
  if (!s) return;
  if (firstLine < 0) firstLine = 0;
  if (lastLine >= s->height) lastLine = s->height - 1;
  if (lastLine < firstLine) return;
  std::memset(s->dirtyLines.data() + std::size_t(firstLine) * s->scanlineSize, 1,
              std::size_t(lastLine - firstLine + 1) * s->scanlineSize);
}

void ScreenUnlock(int firstLine, int lastLine) {
  ScreenState* s = Screen();
  if (!s) return;
  if (firstLine < 0) firstLine = 0;
  if (lastLine < 0) lastLine = s->height - 1;
  const bool marks =
      lastLine >= firstLine && lastLine < s->height && CurrentContext().workPage == s->visiblePage;
  if (s->lockCount == 0) {
    // Without a matching ScreenLock the rows are still marked, but under the
    // back end's lock so the display thread never sees a torn update.
    if (marks) {
      s->driver->Lock();
      MarkDirty(firstLine, lastLine);
      s->driver->Unlock();
    }
    return;
  }
  if (marks) MarkDirty(firstLine, lastLine);
  if (--s->lockCount == 0) s->driver->Unlock();
}

void WindowTitle(std::string_view title) {
  std::memset(storedTitle, 0, sizeof storedTitle);
  std::memcpy(storedTitle, title.data(), std::min<std::size_t>(title.size(), 127));
  titleSet = true;
  if (ScreenState* s = Screen()) {
    ScreenLock();
    try {
      s->driver->SetWindowTitle(storedTitle);
    } catch (const std::bad_alloc&) {
      // The window keeps the title it has; the stored one serves later opens.
    }
    ScreenUnlock(1, 0);
  }
}

std::string_view CurrentWindowTitle() { return storedTitle; }

DrawContext& CurrentContext() {
  thread_local DrawContext ctx;
  ScreenState* s = Screen();
  if (s && ctx.id != s->id) {
    ctx = DrawContext{};
    ctx.id = s->id;
    ctx.workPage = 0;
    ctx.clip = Rect{0, 0, s->width, s->height};
    ctx.foreground = DefaultForeground(*s);
    ctx.background = ctx.foreground & 0xFF000000u;
  }
  return ctx;
}

Surface ScreenSurface() {
  ScreenState* s = Screen();
  if (!s) return {};
  return WorkPageSurface(*s, CurrentContext());
}

}  // namespace rt
