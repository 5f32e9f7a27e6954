#include "framework/gui/icon.h"

#include <string>

void TIcon::Adopt(HICON icon) {
  handle_.Reset(icon);
  width_ = height_ = 0;
  if (!icon)
    return;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info))
    return;
  BITMAP bm{};
  if (info.hbmColor && GetObject(info.hbmColor, sizeof bm, &bm)) {
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
  } else if (info.hbmMask && GetObject(info.hbmMask, sizeof bm, &bm)) {
    width_ = bm.bmWidth;
    height_ = bm.bmHeight / 2; // a monochrome icon stacks its AND and XOR masks
  }
  // GetIconInfo hands out copies of both bitmaps.
  if (info.hbmColor)
    DeleteObject(info.hbmColor);
  if (info.hbmMask)
    DeleteObject(info.hbmMask);
}

void TIcon::Assign(const TIcon &source) {
  if (&source == this)
    return;
  if (source.Empty()) {
    Adopt(nullptr);
    return;
  }
  HICON copy = CopyIcon(source.Handle());
  if (!copy)
    throw EOutOfResources("cannot copy an icon");
  Adopt(copy);
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const char *name, int width, int height) {
  const UINT flags = (width == 0 && height == 0) ? LR_DEFAULTSIZE : 0;
  auto icon = static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, width, height, flags));
  if (!icon) {
    std::string what = IS_INTRESOURCE(name)
                           ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name))
                           : std::string(name);
    throw EResNotFound("Resource " + what + " not found");
  }
  Adopt(icon);
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id, int width, int height) {
  LoadFromResourceName(instance, MAKEINTRESOURCEA(id), width, height);
}

void TIcon::SetHandle(HICON icon) {
  if (icon != handle_.Get())
    Adopt(icon);
}

HICON TIcon::ReleaseHandle() {
  width_ = height_ = 0;
  return handle_.Release();
}
