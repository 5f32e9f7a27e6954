// skingen: paints the bitmaps of our skins and the program's built-in bitmaps.
//
//   skingen [--variant slate|dark] SKIN_DIR [SHEET.bmp]
//   skingen --builtins BUILTIN_DIR
//
// The first form writes every bitmap of the skin (slate, the default skin, unless a variant is
// named) as a 24-bit BMP into SKIN_DIR and, when asked, a contact sheet for a visual check.
// The second writes the built-in bitmaps, which are the same whatever the skin.
#include "resources/skin/generator/painters.h"
#include "resources/skin/generator/preview.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char *kUsage = "usage: skingen [--variant slate|dark] SKIN_DIR [SHEET.bmp]\n"
                               "       skingen --builtins BUILTIN_DIR\n";

void PaintBuiltinsInto(const std::string &dir) {
  for (const skingen::BuiltinImage &b : skingen::PaintBuiltins()) {
    const std::string path = dir + "/" + b.file;
    if (b.bits == 1)
      skingen::WriteBmp1(b.image, path);
    else
      skingen::WriteBmp4(b.image, path);
  }
}

void PaintSkinInto(const skingen::Look &look, const std::string &dir, const char *sheet) {
  const std::vector<skingen::NamedImage> skin = skingen::PaintSkin(look);
  for (const skingen::NamedImage &p : skin)
    skingen::WriteBmp24(p.image, dir + "/" + p.file);
  if (sheet != nullptr)
    skingen::WriteBmp24(skingen::ContactSheet(skin, look.colours.Face), sheet);
}

} // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "--builtins") {
      PaintBuiltinsInto(args[1]);
      return 0;
    }
    std::string variant = "slate";
    if (args.size() >= 2 && args[0] == "--variant") {
      variant = args[1];
      args.erase(args.begin(), args.begin() + 2);
    }
    const skingen::Look *look = skingen::FindLook(variant);
    if (look == nullptr) {
      std::cerr << "skingen: no variant named \"" << variant << "\"\n" << kUsage;
      return 2;
    }
    if (args.empty() || args.size() > 2 || args[0].rfind("--", 0) == 0) {
      std::cerr << kUsage;
      return 2;
    }
    PaintSkinInto(*look, args[0], args.size() == 2 ? args[1].c_str() : nullptr);
  } catch (const std::exception &e) {
    std::cerr << "skingen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
