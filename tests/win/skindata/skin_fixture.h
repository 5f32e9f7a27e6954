// Small skins built in the test: an INI text and a few tiny bitmaps, packed with the container
// writer and compressed with the codec, then loaded through TSkinData.
#pragma once

#include "framework/core/streams.h"
#include "framework/gui/bitmap.h"
#include "skin/data/winskindata.h"
#include "skin/data/winskindlg.h"
#include "skin/storage/skinwrite.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace skintest {

constexpr uint32_t kMagenta = 0xFF00FF;

// A 24-bit bottom-up BMP file; colour(x, y) gives 0x00BBGGRR for each pixel.
inline std::vector<uint8_t> Bmp24(int w, int h, const std::function<uint32_t(int, int)> &colour) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> v(54 + static_cast<size_t>(stride) * h, 0);
  auto put32 = [&](size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i)
      v[at + i] = static_cast<uint8_t>(x >> (8 * i));
  };
  v[0] = 'B';
  v[1] = 'M';
  put32(2, static_cast<uint32_t>(v.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  v[26] = 1;
  v[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = colour(x, y);
      uint8_t *p = &v[54 + static_cast<size_t>(h - 1 - y) * stride + x * 3];
      p[0] = static_cast<uint8_t>(c >> 16);
      p[1] = static_cast<uint8_t>(c >> 8);
      p[2] = static_cast<uint8_t>(c);
    }
  return v;
}

inline std::vector<uint8_t> Solid(int w, int h, uint32_t colour) {
  return Bmp24(w, h, [colour](int, int) { return colour; });
}

// Frames of equal width side by side, frame i (from 0) in colours[i].
inline std::vector<uint8_t> Frames(int frameWidth, int h, std::vector<uint32_t> colours) {
  return Bmp24(frameWidth * static_cast<int>(colours.size()), h,
               [=](int x, int) { return colours[static_cast<size_t>(x / frameWidth)]; });
}

struct SkinPackage {
  std::string ini;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> members;

  SkinPackage &Add(const std::string &name, std::vector<uint8_t> bytes) {
    members.emplace_back(name, std::move(bytes));
    return *this;
  }
  // The skin file: the compressed container.
  std::vector<uint8_t> Pack() const {
    TSkinWriter writer;
    writer.Add("skin.ini", std::vector<uint8_t>(ini.begin(), ini.end()));
    for (const auto &[name, bytes] : members)
      writer.Add(name, bytes);
    TMemoryStream out;
    writer.SaveToStream(out);
    return std::vector<uint8_t>(out.Memory(), out.Memory() + out.Size());
  }
};

inline void Fill(TMemoryStream &stream, const std::vector<uint8_t> &bytes) {
  stream.Clear();
  if (!bytes.empty())
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
}

// A component that takes no part in the manager's work (sfDLL), loaded from the bytes.
inline std::unique_ptr<TSkinData> LoadData(const std::vector<uint8_t> &skinFile) {
  auto data = std::make_unique<TSkinData>(nullptr);
  data->SkinFormtype = sfDLL;
  TMemoryStream stream;
  Fill(stream, skinFile);
  data->LoadFromStream(stream);
  return data;
}

inline std::unique_ptr<TSkinData> LoadData(const SkinPackage &package) {
  return LoadData(package.Pack());
}

// The whole window as it is on screen, read through its window device context.
inline std::unique_ptr<TBitmap> SnapWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  auto shot = std::make_unique<TBitmap>(r.right - r.left, r.bottom - r.top, TPixelFormat::pf32bit);
  HDC dc = GetWindowDC(window);
  BitBlt(shot->Canvas().Handle(), 0, 0, shot->Width(), shot->Height(), dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  GdiFlush();
  return shot;
}

inline COLORREF Pixel(TBitmap &bmp, int x, int y) {
  const auto *row = static_cast<const uint8_t *>(bmp.ScanLine(y));
  const int step = bmp.BitsPerPixel() / 8;
  return RGB(row[x * step + 2], row[x * step + 1], row[x * step]);
}

// A manager that records what the skin data component asks of it.
struct RecordingManager : TSkinManage {
  struct Call {
    int32_t code;
    UINT interval;
    TSkinData *data;
    int32_t stateBefore;
  };
  std::vector<Call> actions;
  int hooks = 0;
  int sysbtnDrops = 0;
  std::vector<std::pair<HWND, bool>> addForms; // window, Force at the time

  RecordingManager() : TSkinManage(false) {}
  void SetAction(int32_t code, UINT interval) override {
    actions.push_back({code, interval, ActionSkinData, State});
    TSkinManage::SetAction(code, interval);
  }
  void InstallHook() override { ++hooks; }
  void DeleteSysbtn() override { ++sysbtnDrops; }
  bool AddForm(HWND window) override {
    addForms.emplace_back(window, Force);
    return true;
  }
};

// Installs a recording manager as SkinManager for one test and frees it afterwards.
struct ManagerScope {
  RecordingManager *manager;
  ManagerScope() {
    delete SkinManager;
    manager = new RecordingManager;
    SkinManager = manager;
  }
  ~ManagerScope() {
    delete SkinManager;
    SkinManager = nullptr;
  }
};

} // namespace skintest
