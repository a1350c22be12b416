// Writes the program's icon as an SVG picture: one square per opaque pixel,
// so it scales to any size with sharp pixels and needs no image library.
#include <cstdio>
#include <fstream>

#include "game/app_icon.h"

namespace {

void WriteSvg(std::ostream& out, const game::IconPixels& pixels) {
  const int size = game::kIconSize;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size << "\" height=\"" << size
      << "\" viewBox=\"0 0 " << size << ' ' << size << "\" shape-rendering=\"crispEdges\">\n";
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const std::uint32_t argb = pixels[y * size + x];
      if ((argb >> 24) == 0) continue;
      char fill[8];
      std::snprintf(fill, sizeof fill, "#%06x", argb & 0xFFFFFFu);
      out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"1\" height=\"1\" fill=\"" << fill << "\"/>\n";
    }
  }
  out << "</svg>\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon <output.svg>\n");
    return 2;
  }
  std::ofstream out(argv[1]);
  WriteSvg(out, game::AppIcon());
  out.close();
  if (!out) {
    std::fprintf(stderr, "make_icon: could not write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
