// The main window's texts are drawn whole: every label, button and check box caption fits its
// control, and every Chinese character keeps at its real size the strokes it has at three times
// that size (a face whose small embedded bitmaps lose rows looks right large and broken small).
#include "tests/win/app/app_test_support.h"

#include "framework/gui/stdctrls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// A white 32-bit DIB of one text cell with the font selected, black text.
class TextCell {
public:
  TextCell(HFONT font, int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits_), nullptr, 0);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    oldFont_ = SelectObject(dc_, font);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
    SetTextColor(dc_, RGB(0, 0, 0));
    SetBkMode(dc_, TRANSPARENT);
    GetTextMetricsA(dc_, &metrics_);
  }
  ~TextCell() {
    SelectObject(dc_, oldFont_);
    SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TextCell(const TextCell &) = delete;
  TextCell &operator=(const TextCell &) = delete;

  // Draws the text at the top of the cell, clipped to it, as a label draws its caption.
  void Draw(const std::string &text) {
    RECT r{0, 0, width_, height_};
    DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_TOP);
    GdiFlush();
  }
  const TEXTMETRICA &Metrics() const { return metrics_; }

  bool Ink(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ &&
           (bits_[y * width_ + x] & 0xFFFFFF) != 0xFFFFFF;
  }
  int Width() const { return width_; }
  int Height() const { return height_; }

private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr, oldFont_ = nullptr;
  DWORD *bits_ = nullptr;
  TEXTMETRICA metrics_{};
};

// Shrinks the large drawing by three (a 3x3 block with ink in three or more pixels is a stroke)
// and tells which share of those strokes the real-size drawing has within a pixel: the two
// sizes of one face differ in detail, never in whole strokes.
double ShareOfInkFound(const TextCell &large, const TextCell &real) {
  int strokes = 0, found = 0;
  for (int y = 0; y < large.Height() / 3; ++y) {
    for (int x = 0; x < large.Width() / 3; ++x) {
      int inked = 0;
      for (int dy = 0; dy < 3; ++dy)
        for (int dx = 0; dx < 3; ++dx)
          inked += large.Ink(3 * x + dx, 3 * y + dy);
      if (inked < 3)
        continue;
      ++strokes;
      bool nearby = false;
      for (int dy = -1; dy <= 1 && !nearby; ++dy)
        for (int dx = -1; dx <= 1 && !nearby; ++dx)
          nearby = real.Ink(x + dx, y + dy);
      found += nearby;
    }
  }
  return strokes == 0 ? 0 : static_cast<double>(found) / strokes;
}

// The double-byte characters of a GBK text, one string each.
std::vector<std::string> ChineseCharacters(const std::string &text) {
  std::vector<std::string> characters;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsDBCSLeadByteEx(936, static_cast<BYTE>(text[i])) && i + 1 < text.size()) {
      characters.push_back(text.substr(i, 2));
      ++i;
    }
  }
  return characters;
}

struct ShownText {
  std::string owner;
  std::string text;
  HFONT font;
  int cellHeight; // the control's client height: all the room its text has
};

// Every caption of the window that a label, button or check box draws.
std::vector<ShownText> CaptionsOf(TForm *form) {
  std::vector<ShownText> texts;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto *control = dynamic_cast<TControl *>(form->Components(i));
    if (control == nullptr || control->Caption().empty())
      continue;
    const bool drawsCaption = dynamic_cast<TLabel *>(control) != nullptr ||
                              dynamic_cast<TButtonControl *>(control) != nullptr;
    if (drawsCaption)
      texts.push_back({control->Name(), control->Caption(), control->Font()->Handle(),
                       control->ClientHeight()});
  }
  return texts;
}

TEST(MainWindowTexts, EveryCaptionIsDrawnWholeInItsCell) {
  std::unique_ptr<TMainForm> form(new TMainForm(Application));
  const std::vector<ShownText> texts = CaptionsOf(form.get());
  ASSERT_GE(texts.size(), 10u); // labels, buttons and check boxes of the main window

  for (const ShownText &shown : texts) {
    SCOPED_TRACE(shown.owner + " \"" + shown.text + "\"");
    LOGFONTA large{};
    ASSERT_NE(GetObjectA(shown.font, sizeof(large), &large), 0);
    large.lfHeight *= 3;
    large.lfWidth *= 3;
    HFONT largeFont = CreateFontIndirectA(&large);
    {
      TextCell probe(shown.font, 1, 1);
      EXPECT_LE(probe.Metrics().tmHeight, shown.cellHeight)
          << "the text line is taller than its control";
    }
    for (const std::string &glyph : ChineseCharacters(shown.text)) {
      TextCell real(shown.font, 40, 40), tall(largeFont, 120, 120);
      real.Draw(glyph);
      tall.Draw(glyph);
      const double found = ShareOfInkFound(tall, real);
      EXPECT_GE(found, 0.9) << "strokes that \"" << glyph
                            << "\" has at three times the size lack at the real size";
    }
    DeleteObject(largeFont);
  }
}

} // namespace
