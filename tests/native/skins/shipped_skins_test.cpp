// Texts of the skins we ship stand out from what they are drawn on: each colour the skin gives
// a text is compared with the colour its painter draws behind it, from the scheme or from the
// middle of the state's picture.
#include "framework/core/streams.h"
#include "skin/storage/skinread.h"
#include "skin/storage/winskinini.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

std::string Text(Rgb c) {
  char s[16];
  std::snprintf(s, sizeof s, "#%02X%02X%02X", c.r, c.g, c.b);
  return s;
}

// Relative luminance and contrast ratio of sRGB colours, as accessibility guidelines define
// them; 4.5 is the least ratio they ask of body text.
double Luminance(Rgb c) {
  auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double Contrast(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class Skin {
public:
  explicit Skin(const std::string &file) {
    if (!reader_.loadfromfile(file))
      return;
    TMemoryStream ini;
    std::string name;
    reader_.readIni(".ini", ini, name);
    ini.SetPosition(0);
    ini_.LoadFromStream(&ini);
    loaded_ = ini.Size() > 0;
  }
  bool Loaded() const { return loaded_; }

  // A colour written "red green blue".
  Rgb Colour(const std::string &section, const std::string &key) const {
    std::istringstream in(ini_.ReadString(section, key, ""));
    Rgb c;
    in >> c.r >> c.g >> c.b;
    EXPECT_FALSE(in.fail()) << "[" << section << "] " << key << " is not a colour";
    return c;
  }

  // A colour given as three keys PREFIX + R, G, B.
  Rgb Colour3(const std::string &section, const std::string &prefix) const {
    return {ini_.ReadInteger(section, prefix + "R", -1),
            ini_.ReadInteger(section, prefix + "G", -1),
            ini_.ReadInteger(section, prefix + "B", -1)};
  }

  // The middle pixel of frame (from 1) of the bitmap that key of section names; frames lie
  // side by side, or stacked when down.
  Rgb FrameMiddle(const std::string &section, const std::string &key, int frame, int frames,
                  bool down = false) {
    TMemoryStream bytes;
    reader_.readfile(ini_.ReadString(section, key, ""), bytes);
    const auto *p = bytes.Memory();
    if (bytes.Size() < 54 || p[0] != 'B' || p[1] != 'M' || Word(p + 28) != 24) {
      ADD_FAILURE() << "[" << section << "] " << key << " names no 24-bit bitmap";
      return {};
    }
    const int width = static_cast<int>(Long(p + 18)), height = static_cast<int>(Long(p + 22));
    const int fw = down ? width : width / frames, fh = down ? height / frames : height;
    const int x = (down ? 0 : (frame - 1) * fw) + fw / 2;
    const int y = (down ? (frame - 1) * fh : 0) + fh / 2;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t at = Long(p + 10) + (height - 1 - y) * stride + static_cast<size_t>(x) * 3;
    if (at + 3 > static_cast<size_t>(bytes.Size())) {
      ADD_FAILURE() << "[" << section << "] " << key << " is cut short";
      return {};
    }
    return {p[at + 2], p[at + 1], p[at]};
  }

private:
  static uint32_t Word(const uint8_t *p) { return p[0] | p[1] << 8; }
  static uint32_t Long(const uint8_t *p) { return Word(p) | Word(p + 2) << 16; }

  TSkinReader reader_;
  TQuickIni ini_;
  bool loaded_ = false;
};

TEST(ShippedSkins, EveryTextStandsOutFromWhatItIsDrawnOn) {
  const std::vector<std::string> files = {KESTROVA_SHIPPED_SKINS};
  ASSERT_EQ(files.size(), 2u);
  for (const std::string &file : files) {
    SCOPED_TRACE(file);
    Skin skin(file);
    ASSERT_TRUE(skin.Loaded());
    const struct {
      const char *what;
      Rgb text, back;
    } cases[] = {
        {"text on the face", skin.Colour("Colours", "ButtonText"),
         skin.Colour("Colours", "ButtonFace")},
        {"window text on the face", skin.Colour("Colours", "WindowText"),
         skin.Colour("Colours", "ButtonFace")},
        {"caption", skin.Colour3("Personality", "ActiveText"),
         skin.FrameMiddle("Personality", "Top", 1, 2, true)},
        {"menu bar", skin.Colour("Colours", "MenuBarText"),
         skin.FrameMiddle("Personality", "menuBar", 1, 2, true)},
        {"menu item", skin.Colour("Colours", "MenuText"),
         skin.FrameMiddle("MenuItem", "Image", 1, 5)},
        {"selected menu item", skin.Colour("Colours", "HilightText"),
         skin.FrameMiddle("MenuItem", "Image", 4, 5)},
        {"menu without pictures", skin.Colour("Colours", "MenuText"),
         skin.Colour("Colours", "Menu")},
        {"selected menu item without pictures", skin.Colour("Colours", "HilightText"),
         skin.Colour("Colours", "Hilight")},
        {"button", skin.Colour("Buttons", "NormalColour2"),
         skin.FrameMiddle("Buttons", "Bitmap", 1, 5)},
        {"pressed button", skin.Colour("Buttons", "PressedColour2"),
         skin.FrameMiddle("Buttons", "Bitmap", 2, 5)},
        {"hot button", skin.Colour("Buttons", "MouseOverColour2"),
         skin.FrameMiddle("Buttons", "Bitmap", 4, 5)},
        {"tab", skin.Colour("Tabs", "NormalColour2"), skin.FrameMiddle("Tabs", "Image", 1, 5)},
        {"selected tab", skin.Colour("Tabs", "MouseOverColour2"),
         skin.FrameMiddle("Tabs", "Image", 2, 5)},
    };
    for (const auto &c : cases)
      EXPECT_GE(Contrast(c.text, c.back), 4.5)
          << c.what << ": " << Text(c.text) << " on " << Text(c.back);

    // Texts the skin does not colour: header captions are written in the system's window text,
    // and a focused push button takes its control's font colour, which is the system's window
    // text for our forms and the scheme's button text for other windows.
    const Rgb black;
    for (int frame : {1, 2, 3}) {
      const Rgb back = skin.FrameMiddle("Headerbar", "Image", frame, 5);
      EXPECT_GE(Contrast(black, back), 4.5) << "header frame " << frame << ": " << Text(back);
    }
    const Rgb focused = skin.FrameMiddle("Buttons", "Bitmap", 5, 5);
    for (const Rgb text : {black, skin.Colour("Colours", "ButtonText")})
      EXPECT_GE(Contrast(text, focused), 3.0)
          << "focused button: " << Text(text) << " on " << Text(focused);
  }
}

} // namespace
