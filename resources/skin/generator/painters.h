// The pictures of a skin and of the program's built-in bitmaps.
#pragma once

#include "resources/skin/generator/palette.h"
#include "resources/skin/generator/raster.h"

#include <string>
#include <vector>

namespace skingen {

struct NamedImage {
  std::string file; // file name inside the skin (lower case, ".bmp")
  Image image;
};

// Every bitmap the skin's INI names, in the state order each painter expects.
std::vector<NamedImage> PaintSkin(const Look &look);

struct BuiltinImage {
  std::string file;
  Image image;
  int bits; // 1, 4: the stored format of the resource
};

// The trackbar channels "TRACK" and "TRACKVERT" and the caption glyph strip.
std::vector<BuiltinImage> PaintBuiltins();

} // namespace skingen
