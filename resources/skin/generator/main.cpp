// skingen: paints the default skin's bitmaps and the program's built-in bitmaps.
//
//   skingen SKIN_DIR BUILTIN_DIR [SHEET.bmp]
//
// Writes every skin bitmap as a 24-bit BMP into SKIN_DIR, the built-in bitmaps into
// BUILTIN_DIR, and, when asked, a contact sheet of the skin for a visual check.
#include "resources/skin/generator/painters.h"
#include "resources/skin/generator/preview.h"

#include <exception>
#include <iostream>
#include <string>

int main(int argc, char **argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: skingen SKIN_DIR BUILTIN_DIR [SHEET.bmp]\n";
    return 2;
  }
  try {
    const std::string skinDir = argv[1], builtinDir = argv[2];
    const std::vector<skingen::NamedImage> skin = skingen::PaintSkin();
    for (const skingen::NamedImage &p : skin)
      skingen::WriteBmp24(p.image, skinDir + "/" + p.file);
    for (const skingen::BuiltinImage &b : skingen::PaintBuiltins()) {
      const std::string path = builtinDir + "/" + b.file;
      if (b.bits == 1)
        skingen::WriteBmp1(b.image, path);
      else
        skingen::WriteBmp4(b.image, path);
    }
    if (argc == 4)
      skingen::WriteBmp24(skingen::ContactSheet(skin), argv[3]);
  } catch (const std::exception &e) {
    std::cerr << "skingen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
