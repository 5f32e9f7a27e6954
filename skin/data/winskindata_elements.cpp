// The skin element classes and the small colour and bitmap helpers of the model.
#include "skin/data/winskindata.h"

#include <cstring>

namespace {

void FreeBitmap(TBitmap *&bitmap) {
  // An element may outlive a bitmap released elsewhere; never touch a dead one.
  if (TObject::IsLive(bitmap))
    delete bitmap;
  bitmap = nullptr;
}

uint32_t ReadLE32(const uint8_t *p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

TDataSkinObject::TDataSkinObject() : Image(new TBitmap) {}

TDataSkinObject::~TDataSkinObject() {
  FreeBitmap(Image);
}

TDataSkinBorder::TDataSkinBorder() : Image2(new TBitmap) {}

TDataSkinBorder::~TDataSkinBorder() {
  FreeBitmap(Image2);
}

TDataSkinButton::TDataSkinButton() : CheckImage(new TBitmap), RadioImage(new TBitmap) {}

TDataSkinButton::~TDataSkinButton() {
  FreeBitmap(CheckImage);
  FreeBitmap(RadioImage);
}

TColor strcolor(const std::string &text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
    ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
    --last;

  uint32_t parts[3] = {0, 0, 0};
  int stored = 0;
  uint32_t number = 0; // only its low 8 bits matter, so wrapping is harmless
  bool pending = false;
  for (size_t i = first; i < last; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      number = number * 10 + static_cast<uint32_t>(c - '0');
      pending = true;
    } else if (pending) {
      if (stored < 3)
        parts[stored++] = number;
      number = 0;
      pending = false;
    }
  }
  // A trailing number counts only as the blue part: "10 20" is red 10 alone.
  if (pending && stored == 2)
    parts[stored++] = number;
  return RGBToColor(static_cast<uint8_t>(parts[0]), static_cast<uint8_t>(parts[1]),
                    static_cast<uint8_t>(parts[2]));
}

void CopyBMP(TBitmap *source, TBitmap *dest) {
  if (source == nullptr || dest == nullptr || source == dest)
    return;
  dest->SetSize(0, 0);
  dest->SetPixelFormat(source->PixelFormat());
  dest->SetSize(source->Width(), source->Height());
  // Same size and format: the rows are copied as they stand, which is what drawing the source
  // at (0, 0) gives, without a device context for either bitmap.
  const auto rowBytes = static_cast<size_t>(source->BytesPerScanLine());
  for (int y = 0; y < source->Height(); ++y)
    std::memcpy(dest->ScanLine(y), source->ScanLine(y), rowBytes);
}

bool LoadBitmapResource(TBitmap &bitmap, HMODULE module, const char *name) {
  HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(2)); // RT_BITMAP
  if (info == nullptr)
    return false;
  HGLOBAL handle = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  const auto *data = static_cast<const uint8_t *>(handle ? LockResource(handle) : nullptr);
  if (data == nullptr || size < 12)
    return false;

  // A bitmap resource is a BMP file without its 14-byte file header: rebuild that header so the
  // framework's BMP reader (which checks every field) can take it.
  const uint32_t headerSize = ReadLE32(data);
  if (headerSize < 12 || headerSize > size)
    return false;
  uint32_t tableBytes = 0;
  if (headerSize == 12) {
    const unsigned bits = data[10] | (data[11] << 8);
    if (bits <= 8)
      tableBytes = 3u << bits;
  } else if (headerSize >= 40) {
    const unsigned bits = data[14] | (data[15] << 8);
    const uint32_t compression = ReadLE32(data + 16);
    const uint32_t used = ReadLE32(data + 32);
    const uint32_t entries = used != 0 ? used : bits <= 8 ? (1u << bits) : 0;
    if (entries > 256)
      return false;
    tableBytes = entries * 4;
    if (headerSize == 40 && compression == BI_BITFIELDS)
      tableBytes += 12;
  } else {
    return false;
  }

  std::vector<uint8_t> file(14 + size);
  file[0] = 'B';
  file[1] = 'M';
  const uint32_t fileSize = static_cast<uint32_t>(file.size());
  const uint32_t offBits = 14 + headerSize + tableBytes;
  std::memcpy(&file[2], &fileSize, 4);
  std::memcpy(&file[10], &offBits, 4);
  std::memcpy(&file[14], data, size);
  try {
    TBitmap loaded;
    loaded.LoadFromMemory(file.data(), file.size());
    bitmap.Assign(loaded);
  } catch (const Exception &) {
    return false;
  }
  return true;
}
