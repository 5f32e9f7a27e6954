#include "resources/skin/generator/raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace skingen {

namespace {

int R(Rgb c) {
  return static_cast<int>((c >> 16) & 0xFF);
}
int G(Rgb c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
int B(Rgb c) {
  return static_cast<int>(c & 0xFF);
}
Rgb Make(int r, int g, int b) {
  return static_cast<Rgb>((r << 16) | (g << 8) | b);
}

// Linear step i of n (0..n-1) from a to b, rounded, with b exactly at the end.
Rgb Step(Rgb a, Rgb b, int i, int n) {
  if (n <= 1)
    return a;
  const auto lerp = [&](int x, int y) { return x + ((y - x) * 2 * i + (n - 1)) / (2 * (n - 1)); };
  return Make(lerp(R(a), R(b)), lerp(G(a), G(b)), lerp(B(a), B(b)));
}

void Put16(std::vector<uint8_t> &out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t> &out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// File header and BITMAPINFOHEADER for a bottom-up image with the given palette.
std::vector<uint8_t> BmpHeader(int w, int h, int bits, const std::vector<Rgb> &palette,
                               uint32_t imageBytes) {
  std::vector<uint8_t> out;
  const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageBytes);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(h));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, 0); // BI_RGB
  Put32(out, imageBytes);
  Put32(out, 2835); // 72 dpi
  Put32(out, 2835);
  Put32(out, static_cast<uint32_t>(palette.size()));
  Put32(out, 0);
  for (Rgb c : palette) {
    out.push_back(static_cast<uint8_t>(B(c)));
    out.push_back(static_cast<uint8_t>(G(c)));
    out.push_back(static_cast<uint8_t>(R(c)));
    out.push_back(0);
  }
  return out;
}

void Save(const std::vector<uint8_t> &bytes, const std::string &path) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char *>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file)
    throw std::runtime_error("cannot write " + path);
}

// Rows of packed pixels, bottom-up, each padded to 4 bytes.
template <class PixelBits>
void WritePacked(const Image &img, const std::string &path, int bits,
                 const std::vector<Rgb> &palette, PixelBits indexOf) {
  const int stride = ((img.Width() * bits + 31) / 32) * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * img.Height(), 0);
  for (int y = 0; y < img.Height(); ++y) {
    uint8_t *row = &rows[static_cast<size_t>(img.Height() - 1 - y) * stride];
    for (int x = 0; x < img.Width(); ++x) {
      const int bitPos = x * bits;
      const int shift = 8 - bits - (bitPos % 8);
      row[bitPos / 8] = static_cast<uint8_t>(row[bitPos / 8] | (indexOf(img.Get(x, y)) << shift));
    }
  }
  std::vector<uint8_t> out =
      BmpHeader(img.Width(), img.Height(), bits, palette, static_cast<uint32_t>(rows.size()));
  out.insert(out.end(), rows.begin(), rows.end());
  Save(out, path);
}

} // namespace

Rgb Mix(Rgb a, Rgb b, int percentOfA) {
  const auto mix = [&](int x, int y) {
    return (x * percentOfA + y * (100 - percentOfA) + 50) / 100;
  };
  return Make(mix(R(a), R(b)), mix(G(a), G(b)), mix(B(a), B(b)));
}

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Rgb Image::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    throw std::out_of_range("pixel outside the image");
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Image::Set(int x, int y, Rgb c) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_)
    pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Image::Fill(int x, int y, int w, int h, Rgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      Set(i, j, c);
}

void Image::HLine(int x, int y, int w, Rgb c) {
  Fill(x, y, w, 1, c);
}

void Image::VLine(int x, int y, int h, Rgb c) {
  Fill(x, y, 1, h, c);
}

void Image::Frame(int x, int y, int w, int h, Rgb c) {
  HLine(x, y, w, c);
  HLine(x, y + h - 1, w, c);
  VLine(x, y, h, c);
  VLine(x + w - 1, y, h, c);
}

void Image::VGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
  for (int j = 0; j < h; ++j)
    HLine(x, y + j, w, Step(top, bottom, j, h));
}

void Image::HGradient(int x, int y, int w, int h, Rgb left, Rgb right) {
  for (int i = 0; i < w; ++i)
    VLine(x + i, y, h, Step(left, right, i, w));
}

void Image::Blit(const Image &src, int x, int y) {
  for (int j = 0; j < src.Height(); ++j)
    for (int i = 0; i < src.Width(); ++i)
      Set(x + i, y + j, src.Get(i, j));
}

Image Image::Crop(int sx, int sy, int w, int h) const {
  Image out(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      out.Set(i, j, Get(sx + i, sy + j));
  return out;
}

void RoundCorners(Image &img, int x, int y, int w, int h, int radius, Rgb border, Rgb outside,
                  Corners corners) {
  if (radius <= 0)
    return;
  // (i, j) within a radius x radius corner cell, measured from the corner's outer edges.
  for (int j = 0; j < radius; ++j)
    for (int i = 0; i < radius; ++i) {
      const double dx = radius - i - 0.5, dy = radius - j - 0.5;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d <= radius - 1.0)
        continue;
      const Rgb c = d > radius ? outside : border;
      if (corners.topLeft)
        img.Set(x + i, y + j, c);
      if (corners.topRight)
        img.Set(x + w - 1 - i, y + j, c);
      if (corners.bottomLeft)
        img.Set(x + i, y + h - 1 - j, c);
      if (corners.bottomRight)
        img.Set(x + w - 1 - i, y + h - 1 - j, c);
    }
}

Image Strip(const std::vector<Image> &frames, bool vertical) {
  if (frames.empty())
    return Image();
  const int w = frames.front().Width(), h = frames.front().Height();
  for (const Image &f : frames)
    if (f.Width() != w || f.Height() != h)
      throw std::logic_error("frames of a strip differ in size");
  const int n = static_cast<int>(frames.size());
  Image out(vertical ? w : w * n, vertical ? h * n : h);
  for (int k = 0; k < n; ++k)
    out.Blit(frames[static_cast<size_t>(k)], vertical ? 0 : k * w, vertical ? k * h : 0);
  return out;
}

void WriteBmp24(const Image &img, const std::string &path) {
  const int stride = (img.Width() * 3 + 3) / 4 * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * img.Height(), 0);
  for (int y = 0; y < img.Height(); ++y) {
    uint8_t *row = &rows[static_cast<size_t>(img.Height() - 1 - y) * stride];
    for (int x = 0; x < img.Width(); ++x) {
      const Rgb c = img.Get(x, y);
      row[x * 3] = static_cast<uint8_t>(B(c));
      row[x * 3 + 1] = static_cast<uint8_t>(G(c));
      row[x * 3 + 2] = static_cast<uint8_t>(R(c));
    }
  }
  std::vector<uint8_t> out =
      BmpHeader(img.Width(), img.Height(), 24, {}, static_cast<uint32_t>(rows.size()));
  out.insert(out.end(), rows.begin(), rows.end());
  Save(out, path);
}

void WriteBmp4(const Image &img, const std::string &path) {
  // The standard 16-colour palette in its usual order.
  static const std::vector<Rgb> palette = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
      0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  WritePacked(img, path, 4, palette, [](Rgb c) {
    const auto it = std::find(palette.begin(), palette.end(), c);
    if (it == palette.end())
      throw std::logic_error("colour outside the 16-colour palette");
    return static_cast<int>(it - palette.begin());
  });
}

void WriteBmp1(const Image &img, const std::string &path) {
  WritePacked(img, path, 1, {0x000000, 0xFFFFFF}, [](Rgb c) { return c == 0xFFFFFF ? 1 : 0; });
}

} // namespace skingen
