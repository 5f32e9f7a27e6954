// BMP loading: every supported depth and header reads back the right pixels through ScanLine,
// and bad files are refused without reading a byte past the input.
#include "framework/gui/bitmap.h"
#include "tests/win/graphics/bmp_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kOrange{255, 128, 0}, kBlack{0, 0, 0};

Rgb PixelAt(TBitmap &bmp, int x, int y) {
  const auto *row = static_cast<const uint8_t *>(bmp.ScanLine(y));
  const int step = bmp.BitsPerPixel() / 8;
  return Rgb{row[x * step + 2], row[x * step + 1], row[x * step]};
}

// A 5 x 3 picture (odd width, so every depth has row padding) whose pixels differ by position;
// its top and bottom rows differ for every palette size used, so a flipped image shows.
BmpLayout Picture(int bits, std::vector<Rgb> colours) {
  BmpLayout s;
  s.bits = bits;
  const size_t n = colours.size();
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const size_t k = (x + y * (y + 1) / 2) % n;
      s.pixels.push_back(bits <= 8 ? Rgb{static_cast<uint8_t>(k), 0, 0} : colours[k]);
    }
  if (bits <= 8)
    s.palette = colours;
  return s;
}

std::vector<Rgb> Expected(const BmpLayout &s) {
  std::vector<Rgb> out;
  for (const Rgb &p : s.pixels)
    out.push_back(s.bits <= 8 ? s.palette[p.r] : p);
  return out;
}

struct DepthCase {
  const char *name;
  std::function<BmpLayout()> make;
  TPixelFormat format;
};

const std::vector<Rgb> kFour{kRed, kGreen, kBlue, kWhite};
void PrintTo(const DepthCase &c, std::ostream *os) {
  *os << c.name;
}

class BmpDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(BmpDepth, ScanLinesReadBackEveryPixel) {
  const BmpLayout layout = GetParam().make();
  const std::vector<uint8_t> file = MakeBmp(layout);
  TBitmap bmp;
  EXPECT_EQ(bmp.LoadFromMemory(file.data(), file.size()), file.size());
  ASSERT_EQ(bmp.Width(), layout.width);
  ASSERT_EQ(bmp.Height(), layout.height);
  EXPECT_EQ(bmp.PixelFormat(), GetParam().format);
  const std::vector<Rgb> want = Expected(layout);
  for (int y = 0; y < layout.height; ++y)
    for (int x = 0; x < layout.width; ++x)
      EXPECT_EQ(PixelAt(bmp, x, y), want[y * layout.width + x]) << "x " << x << " y " << y;
}

INSTANTIATE_TEST_SUITE_P(
    AllDepths, BmpDepth,
    ::testing::Values(DepthCase{"bits1",
                                [] {
                                  return Picture(1, {kOrange, kBlue});
                                },
                                TPixelFormat::pf24bit},
                      DepthCase{"bits4",
                                [] {
                                  return Picture(4, {kRed, kGreen, kBlue, kWhite, kOrange});
                                },
                                TPixelFormat::pf24bit},
                      DepthCase{"bits8", [] { return Picture(8, kFour); }, TPixelFormat::pf24bit},
                      DepthCase{"bits8TopDown",
                                [] {
                                  BmpLayout s = Picture(8, kFour);
                                  s.topDown = true;
                                  return s;
                                },
                                TPixelFormat::pf24bit},
                      DepthCase{"bits8CoreHeader",
                                [] {
                                  BmpLayout s = Picture(8, kFour);
                                  s.header = BmpHeader::Core;
                                  return s;
                                },
                                TPixelFormat::pf24bit},
                      DepthCase{"bits16Rgb555", [] { return Picture(16, kFour); },
                                TPixelFormat::pf24bit},
                      DepthCase{"bits16Bitfields565",
                                [] {
                                  BmpLayout s = Picture(16, kFour);
                                  s.bitfields = true;
                                  s.masks[0] = 0xF800;
                                  s.masks[1] = 0x07E0;
                                  s.masks[2] = 0x001F;
                                  return s;
                                },
                                TPixelFormat::pf24bit},
                      DepthCase{"bits24",
                                [] {
                                  return Picture(24, {kRed, kGreen, kBlue, kOrange});
                                },
                                TPixelFormat::pf24bit},
                      DepthCase{"bits24TopDown",
                                [] {
                                  BmpLayout s = Picture(24, {kRed, kGreen, kBlue, kOrange});
                                  s.topDown = true;
                                  return s;
                                },
                                TPixelFormat::pf24bit},
                      DepthCase{"bits24CoreHeader",
                                [] {
                                  BmpLayout s = Picture(24, {kRed, kGreen, kBlue, kOrange});
                                  s.header = BmpHeader::Core;
                                  return s;
                                },
                                TPixelFormat::pf24bit},
                      DepthCase{"bits32",
                                [] {
                                  return Picture(32, {kRed, kGreen, kBlue, kOrange});
                                },
                                TPixelFormat::pf32bit},
                      DepthCase{"bits32BitfieldsV4",
                                [] {
                                  BmpLayout s = Picture(32, {kRed, kGreen, kBlue, kOrange});
                                  s.header = BmpHeader::V4;
                                  s.bitfields = true;
                                  // Channels in an unusual order: the loader must follow the masks.
                                  s.masks[0] = 0x000000FF;
                                  s.masks[1] = 0x0000FF00;
                                  s.masks[2] = 0x00FF0000;
                                  s.masks[3] = 0xFF000000;
                                  return s;
                                },
                                TPixelFormat::pf32bit}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BmpLoad, ThirtyTwoBitFilesKeepTheFourthByte) {
  BmpLayout s = Picture(32, {kRed, kGreen});
  for (size_t i = 0; i < s.pixels.size(); ++i)
    s.extraByte.push_back(static_cast<uint8_t>(10 * i + 1));
  const std::vector<uint8_t> file = MakeBmp(s);
  TBitmap bmp;
  bmp.LoadFromMemory(file.data(), file.size());
  const auto *top = static_cast<const uint8_t *>(bmp.ScanLine(0));
  const auto *bottom = static_cast<const uint8_t *>(bmp.ScanLine(2));
  EXPECT_EQ(top[3], 1);
  EXPECT_EQ(top[4 * 4 + 3], 41);
  EXPECT_EQ(bottom[3], 101);
}

TEST(BmpLoad, IndicesBeyondThePaletteReadBlack) {
  // colorsUsed 2 in a 4-bit file whose pixels also use indices 2 and 3.
  BmpLayout s = Picture(4, kFour);
  s.palette.resize(2);
  s.colorsUsed = 2;
  std::vector<uint8_t> file = MakeBmp(s);
  TBitmap bmp;
  bmp.LoadFromMemory(file.data(), file.size());
  EXPECT_EQ(PixelAt(bmp, 0, 0), kRed);   // index 0
  EXPECT_EQ(PixelAt(bmp, 1, 0), kGreen); // index 1
  EXPECT_EQ(PixelAt(bmp, 2, 0), kBlack); // index 2, not in the palette
  EXPECT_EQ(PixelAt(bmp, 3, 0), kBlack); // index 3

  // colorsUsed 0 (all 256 entries implied) but only four written before the pixel offset.
  BmpLayout short8 = Picture(8, kFour);
  short8.pixels[0].r = 200;
  file = MakeBmp(short8);
  bmp.LoadFromMemory(file.data(), file.size());
  EXPECT_EQ(PixelAt(bmp, 0, 0), kBlack);
  EXPECT_EQ(PixelAt(bmp, 1, 0), kGreen);
}

// Places bytes directly before an inaccessible page: any read past the input faults.
class GuardedBytes {
public:
  explicit GuardedBytes(const std::vector<uint8_t> &bytes) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    const size_t page = si.dwPageSize;
    const size_t dataPages = (bytes.size() + page - 1) / page + 1;
    base_ = static_cast<uint8_t *>(
        VirtualAlloc(nullptr, (dataPages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(base_ + dataPages * page, page, PAGE_NOACCESS, &old);
    data_ = base_ + dataPages * page - bytes.size();
    if (!bytes.empty())
      std::memcpy(data_, bytes.data(), bytes.size());
    size_ = bytes.size();
  }
  ~GuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
  const uint8_t *data() const { return data_; }
  size_t size() const { return size_; }

private:
  uint8_t *base_;
  uint8_t *data_;
  size_t size_;
};

struct BadCase {
  const char *name;
  std::function<std::vector<uint8_t>()> make;
  const char *messagePart;
};

std::vector<uint8_t> Valid8() {
  return MakeBmp(Picture(8, kFour));
}
std::vector<uint8_t> Valid24() {
  return MakeBmp(Picture(24, kFour));
}
std::vector<uint8_t> With(std::vector<uint8_t> v, std::function<void(std::vector<uint8_t> &)> f) {
  f(v);
  return v;
}
std::vector<uint8_t> Cut(std::vector<uint8_t> v, size_t n) {
  v.resize(n);
  return v;
}

void PrintTo(const BadCase &c, std::ostream *os) {
  *os << c.name;
}

class BmpBadFile : public ::testing::TestWithParam<BadCase> {};

TEST_P(BmpBadFile, IsRefusedWithoutReadingPastTheInput) {
  const GuardedBytes input(GetParam().make());
  TBitmap bmp(2, 2);
  try {
    bmp.LoadFromMemory(input.data(), input.size());
    FAIL() << "no exception";
  } catch (const EInvalidGraphic &e) {
    EXPECT_NE(e.Message().find(GetParam().messagePart), std::string::npos) << e.Message();
  }
  // The bitmap keeps what it had.
  EXPECT_EQ(bmp.Width(), 2);
  EXPECT_EQ(bmp.Height(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BmpBadFile,
    ::testing::Values(
        BadCase{"empty", [] { return std::vector<uint8_t>(); }, "truncated header"},
        BadCase{"fileHeaderOnly", [] { return Cut(Valid24(), 14); }, "truncated header"},
        BadCase{"halfInfoHeader", [] { return Cut(Valid24(), 14 + 20); }, "truncated header"},
        BadCase{"notBmp", [] { return With(Valid24(), [](auto &v) { v[1] = 'X'; }); }, "not a BMP"},
        BadCase{"unknownHeaderSize",
                [] { return With(Valid24(), [](auto &v) { Put32(v, 14, 30); }); },
                "unknown header"},
        BadCase{"hugeHeaderSize",
                [] { return With(Valid24(), [](auto &v) { Put32(v, 14, 0xFFFFFFFF); }); },
                "truncated header"},
        BadCase{"zeroHeight", [] { return With(Valid24(), [](auto &v) { Put32(v, 22, 0); }); },
                "empty"},
        BadCase{"negativeWidth",
                [] { return With(Valid24(), [](auto &v) { Put32(v, 18, 0xFFFFFFFB); }); }, "empty"},
        BadCase{"mostNegativeHeight",
                [] { return With(Valid24(), [](auto &v) { Put32(v, 22, 0x80000000); }); },
                "too large"},
        BadCase{"sizeOverflows32Bits",
                [] {
                  return With(Valid24(), [](auto &v) {
                    Put32(v, 18, 0x7FFFFFFF);
                    Put32(v, 22, 0x7FFFFFFF);
                  });
                },
                "too large"},
        BadCase{"sideTooLong", [] { return With(Valid24(), [](auto &v) { Put32(v, 18, 40000); }); },
                "too large"},
        BadCase{"tooManyPixels",
                [] {
                  return With(Valid24(), [](auto &v) {
                    Put32(v, 18, 8000);
                    Put32(v, 22, 8000);
                  });
                },
                "too large"},
        BadCase{"planesNotOne", [] { return With(Valid24(), [](auto &v) { Put16(v, 26, 2); }); },
                "plane"},
        BadCase{"bitCount7", [] { return With(Valid24(), [](auto &v) { Put16(v, 28, 7); }); },
                "bit count"},
        BadCase{"rle8", [] { return With(Valid8(), [](auto &v) { Put32(v, 30, 1); }); },
                "RLE-compressed bitmaps are not supported"},
        BadCase{"jpegCompression", [] { return With(Valid24(), [](auto &v) { Put32(v, 30, 4); }); },
                "unsupported compression"},
        BadCase{"bitfieldsOn24Bits",
                [] { return With(Valid24(), [](auto &v) { Put32(v, 30, 3); }); }, "bit fields"},
        BadCase{"paletteLargerThanDepth",
                [] { return With(Valid8(), [](auto &v) { Put32(v, 46, 257); }); },
                "palette out of range"},
        BadCase{"paletteHuge",
                [] { return With(Valid8(), [](auto &v) { Put32(v, 46, 0x40000000); }); },
                "palette out of range"},
        BadCase{"paletteCut", [] { return Cut(Valid8(), 14 + 40 + 10); }, "truncated palette"},
        BadCase{"pixelOffsetInHeader",
                [] { return With(Valid24(), [](auto &v) { Put32(v, 10, 20); }); }, "overlaps"},
        BadCase{"pixelOffsetPastEnd",
                [] { return With(Valid24(), [](auto &v) { Put32(v, 10, 0xFFFFFFF0); }); },
                "truncated pixel data"},
        BadCase{"lastPixelByteMissing",
                [] {
                  std::vector<uint8_t> v = Valid24();
                  return Cut(v, v.size() - 1);
                },
                "truncated pixel data"},
        BadCase{"bitfieldMasksMissing",
                [] {
                  BmpLayout s = Picture(16, kFour);
                  s.bitfields = true;
                  return Cut(MakeBmp(s), 14 + 40 + 8);
                },
                "truncated colour masks"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(BmpLoad, AFileEndingAtTheGuardPageDecodesFully) {
  // The last pixel byte is the last readable byte of the address space region.
  const GuardedBytes input(MakeBmp(Picture(1, {kOrange, kBlue})));
  TBitmap bmp;
  EXPECT_EQ(bmp.LoadFromMemory(input.data(), input.size()), input.size());
  EXPECT_EQ(PixelAt(bmp, 4, 0), kOrange); // (4 + 0) % 2 = 0
  EXPECT_EQ(PixelAt(bmp, 4, 2), kBlue);   // (4 + 3) % 2 = 1
  EXPECT_EQ(PixelAt(bmp, 3, 2), kOrange);
}

TEST(BmpLoad, StreamPositionEndsAfterEachFile) {
  const std::vector<uint8_t> first = MakeBmp(Picture(8, kFour));
  const std::vector<uint8_t> second = MakeBmp(Picture(24, {kOrange}));
  TMemoryStream stream;
  stream.WriteBuffer(first.data(), static_cast<int32_t>(first.size()));
  stream.WriteBuffer(second.data(), static_cast<int32_t>(second.size()));
  stream.WriteBuffer("tail", 4);
  stream.SetPosition(0);

  TBitmap a, b;
  a.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(first.size()));
  b.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(first.size() + second.size()));
  EXPECT_EQ(PixelAt(a, 1, 0), kGreen);
  EXPECT_EQ(PixelAt(b, 4, 2), kOrange);
}

TEST(BmpLoad, AWrongFileSizeFieldFallsBackToTheData) {
  // Declared size 0: the file is read from what follows, and the position ends after its pixels.
  std::vector<uint8_t> file = MakeBmp(Picture(24, {kRed, kBlue}));
  Put32(file, 2, 0);
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
  stream.WriteBuffer("xyz", 3);
  stream.SetPosition(0);
  TBitmap bmp;
  bmp.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), static_cast<int64_t>(file.size()));
  EXPECT_EQ(PixelAt(bmp, 1, 0), kBlue);
}

TEST(BmpLoad, ATruncatedStreamRaisesAnError) {
  std::vector<uint8_t> file = MakeBmp(Picture(24, kFour));
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size() - 5));
  stream.SetPosition(0);
  TBitmap bmp;
  EXPECT_THROW(bmp.LoadFromStream(stream), EInvalidGraphic);
  TMemoryStream tiny;
  tiny.WriteBuffer("BM", 2);
  tiny.SetPosition(0);
  EXPECT_THROW(bmp.LoadFromStream(tiny), EInvalidGraphic);
}

TEST(BmpSave, TwentyFourBitFileRoundTripsThroughStreamAndFile) {
  // A 32-bit source saved as 24 bits: pixels survive, the fourth byte does not matter.
  BmpLayout s = Picture(32, {kRed, kGreen, kBlue, kOrange});
  std::vector<uint8_t> file = MakeBmp(s);
  TBitmap source;
  source.LoadFromMemory(file.data(), file.size());

  TMemoryStream stream;
  source.SaveToStream(stream);
  const size_t stride = ((5 * 3 + 3) / 4) * 4;
  ASSERT_EQ(stream.Size(), static_cast<int64_t>(14 + 40 + stride * 3));
  const uint8_t *bytes = stream.Memory();
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[28], 24); // bits per pixel
  stream.SetPosition(0);
  TBitmap copy;
  copy.LoadFromStream(stream);
  EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf24bit);

  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "kestrova_h3_roundtrip.bmp";
  copy.SaveToFile(path);
  TBitmap fromFile;
  fromFile.LoadFromFile(path);
  DeleteFileA(path.c_str());

  const std::vector<Rgb> want = Expected(s);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(PixelAt(fromFile, x, y), want[y * 5 + x]) << x << "," << y;

  TMemoryStream empty;
  TBitmap().SaveToStream(empty);
  EXPECT_EQ(empty.Size(), 0);
}

} // namespace
