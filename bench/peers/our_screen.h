// Our side of each comparison: the game's screen (mode 18, 32 bits, 2 pages)
// on the back end without a window, open for the life of one benchmark.
#pragma once

#include <cstdint>
#include <vector>

#include "expected.h"
#include "gfx/image.h"

namespace bench {

class OurScreen {
 public:
  OurScreen();
  ~OurScreen();
  OurScreen(const OurScreen&) = delete;
  OurScreen& operator=(const OurScreen&) = delete;

  // The page the operations draw on; empty when no screen opened.
  Frame Pixels() const;
  // Writes the generated picture, opaque, onto that page.
  void FillWithPicture();
};

// An image holding `argb` rows of the given size.
rt::ImagePtr MakeImage(const std::vector<std::uint32_t>& argb, int width, int height);

}  // namespace bench
