#include "framework/gui/bitmap.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

// ---------------------------------------------------------------- the canvas of a bitmap

// Owns a memory DC with the bitmap's DIB section selected for as long as both live.
class TBitmap::BitmapCanvas : public TCanvas {
public:
  explicit BitmapCanvas(TBitmap &owner) : owner_(owner) {}
  ~BitmapCanvas() override {
    SetHandle(nullptr);
    dc_.Reset(); // deleting the DC releases the DIB
  }

  // The DIB is about to be deleted: give the DC back its original bitmap first.
  void ImageChanging() {
    if (dc_)
      SelectObject(dc_.Get(), originalBitmap_);
  }
  void FreeContext() {
    SetHandle(nullptr);
    dc_.Reset();
  }
  void ImageChanged() {
    if (dc_ && owner_.image_)
      SelectObject(dc_.Get(), owner_.image_.Get());
  }

protected:
  void CreateHandle() override {
    dc_.Reset(CreateCompatibleDC(nullptr));
    if (!dc_)
      throw EOutOfResources("cannot create a memory device context");
    originalBitmap_ = GetCurrentObject(dc_.Get(), OBJ_BITMAP);
    ImageChanged();
    SetStretchBltMode(dc_.Get(), COLORONCOLOR);
    SetHandle(dc_.Get());
  }

private:
  TBitmap &owner_;
  GdiMemoryDC dc_;
  HGDIOBJ originalBitmap_ = nullptr;
};

// ---------------------------------------------------------------- pixel storage

namespace {

int BitsOf(TPixelFormat format) {
  return format == TPixelFormat::pf24bit ? 24 : 32;
}

size_t StrideOf(int width, int bits) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4;
}

void CheckDimensions(int64_t width, int64_t height, const char *message, bool graphicError) {
  if (width > TBitmap::kMaxSide || height > TBitmap::kMaxSide ||
      width * height > TBitmap::kMaxPixels) {
    if (graphicError)
      throw EInvalidGraphic(message);
    throw EInvalidGraphicOperation(message);
  }
}

GdiBitmap CreateDib(int width, int height, int bits, uint8_t **pixels) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height; // top-down: ScanLine(y) is row y from the top
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = static_cast<WORD>(bits);
  bi.bmiHeader.biCompression = BI_RGB;
  void *raw = nullptr;
  GdiBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &raw, nullptr, 0));
  if (!dib || !raw)
    throw EOutOfResources("cannot create a bitmap");
  *pixels = static_cast<uint8_t *>(raw);
  return dib;
}

// Copies `width` pixels between rows of 3 or 4 bytes per pixel. The fourth byte of a 32-bit
// row is kept when both are 32-bit and zeroed when widening.
void ConvertRow(const uint8_t *src, int srcBits, uint8_t *dst, int dstBits, int width) {
  if (srcBits == dstBits) {
    std::memcpy(dst, src, static_cast<size_t>(width) * (srcBits / 8));
    return;
  }
  const int sStep = srcBits / 8, dStep = dstBits / 8;
  for (int x = 0; x < width; ++x, src += sStep, dst += dStep) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
    if (dStep == 4)
      dst[3] = 0;
  }
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
  SetPixelFormat(format);
  SetSize(width, height);
}

TBitmap::~TBitmap() = default;

int TBitmap::BytesPerScanLine() const {
  return static_cast<int>(StrideOf(width_, BitsPerPixel()));
}

void TBitmap::ReplaceImage(GdiBitmap image, uint8_t *bits, int width, int height,
                           TPixelFormat format) {
  if (canvas_)
    canvas_->ImageChanging();
  image_ = std::move(image);
  bits_ = bits;
  width_ = width;
  height_ = height;
  format_ = format;
  if (canvas_)
    canvas_->ImageChanged();
}

void TBitmap::NewImage(int width, int height, TPixelFormat format) {
  if (width <= 0 || height <= 0) {
    ReplaceImage(GdiBitmap(), nullptr, 0, 0, format);
    return;
  }
  uint8_t *bits = nullptr;
  GdiBitmap dib = CreateDib(width, height, BitsOf(format), &bits);
  ReplaceImage(std::move(dib), bits, width, height, format);
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_)
    return;
  CheckDimensions(width, height, "bitmap too large", false);
  if (width == 0 || height == 0) {
    NewImage(0, 0, format_);
    return;
  }
  uint8_t *bits = nullptr;
  const int bpp = BitsPerPixel();
  GdiBitmap dib = CreateDib(width, height, bpp, &bits);
  if (bits_) {
    GdiFlush();
    const size_t oldStride = StrideOf(width_, bpp), newStride = StrideOf(width, bpp);
    const size_t rowBytes = static_cast<size_t>(std::min(width, width_)) * (bpp / 8);
    for (int y = 0; y < std::min(height, height_); ++y)
      std::memcpy(bits + y * newStride, bits_ + y * oldStride, rowBytes);
  }
  ReplaceImage(std::move(dib), bits, width, height, format_);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format != TPixelFormat::pfDevice && format != TPixelFormat::pf24bit &&
      format != TPixelFormat::pf32bit)
    throw EInvalidGraphicOperation("unsupported pixel format");
  if (format == format_)
    return;
  if (Empty() || BitsOf(format) == BitsPerPixel()) {
    format_ = format;
    return;
  }
  GdiFlush();
  uint8_t *bits = nullptr;
  const int fromBits = BitsPerPixel(), toBits = BitsOf(format);
  GdiBitmap dib = CreateDib(width_, height_, toBits, &bits);
  const size_t fromStride = StrideOf(width_, fromBits), toStride = StrideOf(width_, toBits);
  for (int y = 0; y < height_; ++y)
    ConvertRow(bits_ + y * fromStride, fromBits, bits + y * toStride, toBits, width_);
  ReplaceImage(std::move(dib), bits, width_, height_, format);
}

void *TBitmap::ScanLine(int y) {
  if (y < 0 || y >= height_ || !bits_)
    throw EInvalidGraphicOperation("scan line index out of range");
  GdiFlush();
  return bits_ + static_cast<size_t>(y) * StrideOf(width_, BitsPerPixel());
}

GdiBitmap TBitmap::CopyHandle() const {
  if (Empty())
    return GdiBitmap();
  GdiFlush();
  uint8_t *bits = nullptr;
  GdiBitmap dib = CreateDib(width_, height_, BitsPerPixel(), &bits);
  std::memcpy(bits, bits_, StrideOf(width_, BitsPerPixel()) * static_cast<size_t>(height_));
  return dib;
}

void TBitmap::FreeContext() {
  if (canvas_)
    canvas_->FreeContext();
}

TCanvas &TBitmap::Canvas() {
  if (!canvas_)
    canvas_ = std::make_unique<BitmapCanvas>(*this);
  return *canvas_;
}

TColor TBitmap::TransparentColor() {
  if (transparentMode_ == TTransparentMode::tmFixed)
    return transparentColor_;
  if (Empty())
    return clDefault;
  const auto *p = static_cast<const uint8_t *>(ScanLine(height_ - 1));
  return RGB(p[2], p[1], p[0]);
}

void TBitmap::SetTransparentColor(TColor color) {
  transparentColor_ = color;
  transparentMode_ = TTransparentMode::tmFixed;
}

void TBitmap::Assign(const TBitmap &source) {
  if (&source == this)
    return;
  if (source.Empty()) {
    NewImage(0, 0, source.format_);
  } else {
    GdiFlush();
    uint8_t *bits = nullptr;
    GdiBitmap dib = CreateDib(source.width_, source.height_, source.BitsPerPixel(), &bits);
    std::memcpy(bits, source.bits_,
                StrideOf(source.width_, source.BitsPerPixel()) *
                    static_cast<size_t>(source.height_));
    ReplaceImage(std::move(dib), bits, source.width_, source.height_, source.format_);
  }
  transparent_ = source.transparent_;
  transparentMode_ = source.transparentMode_;
  transparentColor_ = source.transparentColor_;
}

// ---------------------------------------------------------------- BMP files

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCompressionRgb = 0, kCompressionRle8 = 1, kCompressionRle4 = 2,
                   kCompressionBitfields = 3;

[[noreturn]] void Invalid(const char *why) {
  throw EInvalidGraphic(std::string("Bitmap image is not valid: ") + why);
}

uint16_t U16(const uint8_t *p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (m) {
      shift = std::countr_zero(m);
      bits = 32 - std::countl_zero(m) - shift;
    }
  }
  uint8_t Extract(uint32_t pixel) const {
    if (bits == 0)
      return 0;
    const uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8)
      return static_cast<uint8_t>(v >> (bits - 8));
    const uint32_t top = (1u << bits) - 1;
    return static_cast<uint8_t>((v * 255 + top / 2) / top);
  }
};

// Everything about a file that decoding needs, checked against the input.
struct BmpLayout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bits = 0;
  bool bitfields = false;
  Channel red, green, blue, alpha;
  const uint8_t *palette = nullptr;
  size_t paletteCount = 0;
  size_t paletteEntry = 4; // 3 in the old core format
  size_t pixelOffset = 0;
  size_t stride = 0;
  size_t end = 0; // offset of the first byte after the pixels
};

BmpLayout ParseBmp(const uint8_t *data, size_t size) {
  if (size < kFileHeaderSize + 4)
    Invalid("truncated header");
  if (data[0] != 'B' || data[1] != 'M')
    Invalid("not a BMP file");
  const uint32_t offBits = U32(data + 10);
  const uint32_t infoSize = U32(data + 14);
  if (infoSize != 12 && infoSize < 40)
    Invalid("unknown header");
  if (infoSize > size - kFileHeaderSize)
    Invalid("truncated header");
  const uint8_t *info = data + kFileHeaderSize;

  BmpLayout l;
  int64_t width, height;
  uint32_t planes, compression = kCompressionRgb, colorsUsed = 0;
  if (infoSize == 12) {
    width = U16(info + 4);
    height = U16(info + 6);
    planes = U16(info + 8);
    l.bits = U16(info + 10);
    l.paletteEntry = 3;
  } else {
    width = static_cast<int32_t>(U32(info + 4));
    height = static_cast<int32_t>(U32(info + 8));
    planes = U16(info + 12);
    l.bits = U16(info + 14);
    compression = U32(info + 16);
    colorsUsed = U32(info + 32);
  }
  if (planes != 1)
    Invalid("plane count is not 1");
  if (width <= 0 || height == 0)
    Invalid("empty or negative size");
  l.topDown = height < 0;
  height = height < 0 ? -height : height;
  CheckDimensions(width, height, "Bitmap image is too large", true);
  l.width = static_cast<int>(width);
  l.height = static_cast<int>(height);

  switch (l.bits) {
  case 1:
  case 4:
  case 8:
  case 16:
  case 24:
  case 32:
    break;
  default:
    Invalid("unsupported bit count");
  }

  size_t headersEnd = kFileHeaderSize + infoSize;
  if (compression == kCompressionRle8 || compression == kCompressionRle4)
    throw EInvalidGraphic("RLE-compressed bitmaps are not supported");
  if (compression == kCompressionBitfields) {
    if (l.bits != 16 && l.bits != 32)
      Invalid("bit fields need 16 or 32 bits per pixel");
    const uint8_t *masks = info + 40;
    if (infoSize < 52) { // the masks follow a 40-byte header
      if (size < headersEnd + 12)
        Invalid("truncated colour masks");
      headersEnd += 12;
    }
    l.bitfields = true;
    l.red = Channel(U32(masks));
    l.green = Channel(U32(masks + 4));
    l.blue = Channel(U32(masks + 8));
    if (infoSize >= 56)
      l.alpha = Channel(U32(masks + 12));
  } else if (compression != kCompressionRgb) {
    Invalid("unsupported compression");
  } else if (l.bits == 16) {
    l.red = Channel(0x7C00);
    l.green = Channel(0x03E0);
    l.blue = Channel(0x001F);
  }

  size_t paletteBytes = 0;
  if (l.bits <= 8) {
    const size_t maxColors = size_t{1} << l.bits;
    if (colorsUsed > maxColors)
      Invalid("palette out of range");
    l.paletteCount = colorsUsed ? colorsUsed : maxColors;
    l.palette = data + headersEnd;
    paletteBytes = l.paletteCount * l.paletteEntry;
  } else if (colorsUsed != 0 && colorsUsed <= 256) {
    paletteBytes = size_t{colorsUsed} * l.paletteEntry; // an optional palette, not used
  }

  if (offBits == 0) {
    l.pixelOffset = headersEnd + paletteBytes;
  } else {
    if (offBits < headersEnd)
      Invalid("pixel data overlaps the header");
    l.pixelOffset = offBits;
    // Writers that store fewer palette entries than the bit count allows point the pixel data
    // right after the ones they wrote; the missing entries read as black.
    if (l.palette && offBits < headersEnd + paletteBytes)
      l.paletteCount = (offBits - headersEnd) / l.paletteEntry;
  }
  if (l.palette && headersEnd + l.paletteCount * l.paletteEntry > size)
    Invalid("truncated palette");

  l.stride = StrideOf(l.width, l.bits);
  const size_t imageBytes = l.stride * static_cast<size_t>(l.height);
  if (l.pixelOffset > size || imageBytes > size - l.pixelOffset)
    Invalid("truncated pixel data");
  l.end = l.pixelOffset + imageBytes;
  return l;
}

// Decodes file row r (in file order) into a destination row of 3 or 4 bytes per pixel.
void DecodeRow(const BmpLayout &l, const uint8_t *src, uint8_t *dst, int dstStep) {
  const int w = l.width;
  if (l.bits <= 8) {
    const int perByte = 8 / l.bits;
    const unsigned valueMask = (1u << l.bits) - 1;
    for (int x = 0; x < w; ++x, dst += dstStep) {
      const int shift = 8 - l.bits * (x % perByte + 1);
      const size_t index = (src[x / perByte] >> shift) & valueMask;
      if (index < l.paletteCount) {
        const uint8_t *entry = l.palette + index * l.paletteEntry;
        dst[0] = entry[0];
        dst[1] = entry[1];
        dst[2] = entry[2];
      } else {
        dst[0] = dst[1] = dst[2] = 0;
      }
    }
  } else if (l.bits == 24) {
    std::memcpy(dst, src, static_cast<size_t>(w) * 3);
  } else if (l.bits == 32 && !l.bitfields) {
    std::memcpy(dst, src, static_cast<size_t>(w) * 4);
  } else {
    const int srcStep = l.bits / 8;
    for (int x = 0; x < w; ++x, src += srcStep, dst += dstStep) {
      const uint32_t v = srcStep == 2 ? U16(src) : U32(src);
      dst[0] = l.blue.Extract(v);
      dst[1] = l.green.Extract(v);
      dst[2] = l.red.Extract(v);
      if (dstStep == 4)
        dst[3] = l.alpha.Extract(v);
    }
  }
}

// The most a stream read for one file can usefully hold: headers, a full palette and the
// pixels of the largest bitmap accepted.
constexpr int64_t kMaxFileBytes =
    kFileHeaderSize + 124 + 16 + 256 * 4 + TBitmap::kMaxPixels * 4 + int64_t{TBitmap::kMaxSide} * 4;

} // namespace

size_t TBitmap::LoadFromMemory(const void *data, size_t size) {
  const auto *bytes = static_cast<const uint8_t *>(data);
  const BmpLayout l = ParseBmp(bytes, size);
  const TPixelFormat format = l.bits == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  uint8_t *bits = nullptr;
  GdiBitmap dib = CreateDib(l.width, l.height, BitsOf(format), &bits);
  const size_t dstStride = StrideOf(l.width, BitsOf(format));
  for (int r = 0; r < l.height; ++r) {
    const int y = l.topDown ? r : l.height - 1 - r;
    DecodeRow(l, bytes + l.pixelOffset + static_cast<size_t>(r) * l.stride,
              bits + static_cast<size_t>(y) * dstStride, BitsOf(format) / 8);
  }
  ReplaceImage(std::move(dib), bits, l.width, l.height, format);
  return l.end;
}

void TBitmap::LoadFromStream(TStream &stream) {
  const int64_t start = stream.Position();
  const int64_t available = stream.Size() - start;
  if (available < static_cast<int64_t>(kFileHeaderSize))
    Invalid("truncated header");
  uint8_t header[kFileHeaderSize];
  stream.ReadBuffer(header, sizeof header);
  if (header[0] != 'B' || header[1] != 'M')
    Invalid("not a BMP file");
  // The file's own size tells where it ends inside a longer stream; a size that cannot be
  // right is ignored and the rest of the stream is taken instead.
  const int64_t declared = U32(header + 2);
  const bool declaredFits =
      declared >= static_cast<int64_t>(kFileHeaderSize) + 12 && declared <= available;
  const int64_t amount = std::min(declaredFits ? declared : available, kMaxFileBytes);

  std::vector<uint8_t> bytes(static_cast<size_t>(amount));
  std::memcpy(bytes.data(), header, sizeof header);
  stream.ReadBuffer(bytes.data() + sizeof header, static_cast<int32_t>(amount - sizeof header));
  const size_t used = LoadFromMemory(bytes.data(), bytes.size());
  stream.SetPosition(start + (declaredFits ? std::max<int64_t>(declared, static_cast<int64_t>(used))
                                           : static_cast<int64_t>(used)));
}

void TBitmap::LoadFromFile(const std::string &fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TBitmap::SaveToStream(TStream &stream) {
  if (Empty())
    return;
  const size_t rowBytes = StrideOf(width_, 24);
  const size_t imageBytes = rowBytes * static_cast<size_t>(height_);
  const size_t fileSize = kFileHeaderSize + 40 + imageBytes;

  uint8_t header[kFileHeaderSize + 40] = {};
  auto put16 = [&](size_t at, uint32_t v) {
    header[at] = static_cast<uint8_t>(v);
    header[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  header[0] = 'B';
  header[1] = 'M';
  put32(2, static_cast<uint32_t>(fileSize));
  put32(10, kFileHeaderSize + 40);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width_));
  put32(22, static_cast<uint32_t>(height_)); // bottom-up, as most readers expect
  put16(26, 1);
  put16(28, 24);
  put32(34, static_cast<uint32_t>(imageBytes));
  put32(38, 3780); // 96 dpi in pixels per metre
  put32(42, 3780);
  stream.WriteBuffer(header, sizeof header);

  std::vector<uint8_t> row(rowBytes, 0);
  for (int y = height_ - 1; y >= 0; --y) {
    ConvertRow(static_cast<const uint8_t *>(ScanLine(y)), BitsPerPixel(), row.data(), 24, width_);
    stream.WriteBuffer(row.data(), static_cast<int32_t>(rowBytes));
  }
}

void TBitmap::SaveToFile(const std::string &fileName) {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}
