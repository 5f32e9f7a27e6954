// A small 24-bit raster with the few drawing operations the skin pictures need, and writers
// for the BMP formats the skin and the built-in resources use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

// Colours are written as 0xRRGGBB, as in a style sheet.
using Rgb = uint32_t;
constexpr Rgb kMagenta = 0xFF00FF; // the transparent key of skin bitmaps

Rgb Mix(Rgb a, Rgb b, int percentOfA);

class Image {
public:
  Image() = default;
  Image(int width, int height, Rgb fill = kMagenta);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb Get(int x, int y) const;
  // Pixels outside the image are ignored, so shapes may be drawn partly off the edge.
  void Set(int x, int y, Rgb c);

  void Fill(int x, int y, int w, int h, Rgb c);
  void HLine(int x, int y, int w, Rgb c);
  void VLine(int x, int y, int h, Rgb c);
  void Frame(int x, int y, int w, int h, Rgb c);
  // Gradients over the whole extent, the end colour exactly on the last row (column).
  void VGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
  void HGradient(int x, int y, int w, int h, Rgb left, Rgb right);
  // Copies src with its top-left at (x, y).
  void Blit(const Image &src, int x, int y);
  // The part (sx, sy, w, h) of this image as a new image.
  Image Crop(int sx, int sy, int w, int h) const;

private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

// A shape with rounded corners: the corner pixels outside the radius are set to `outside`,
// the one-pixel ring on the radius to `border`. Corners are chosen by the flags.
struct Corners {
  bool topLeft = true, topRight = true, bottomLeft = true, bottomRight = true;
};
void RoundCorners(Image &img, int x, int y, int w, int h, int radius, Rgb border, Rgb outside,
                  Corners corners = {});

// Frames of equal size side by side (horizontal strip) or stacked (vertical strip).
Image Strip(const std::vector<Image> &frames, bool vertical = false);

// BMP writers. Throw std::runtime_error when the file cannot be written.
void WriteBmp24(const Image &img, const std::string &path);
// 4 bits per pixel with the standard 16-colour palette; every pixel must be one of its colours.
void WriteBmp4(const Image &img, const std::string &path);
// 1 bit per pixel, black and white; pixels that are not white are written black.
void WriteBmp1(const Image &img, const std::string &path);

} // namespace skingen
