#include "framework/gui/imglist.h"

#include <algorithm>

TImageList::TImageList(int width, int height) : width_(width), height_(height) {
  CreateList();
}

void TImageList::CreateList() {
  if (width_ <= 0 || height_ <= 0)
    throw EInvalidGraphicOperation("invalid image list size");
  // 24-bit colour: a 32-bit list would take the unused fourth byte of our pixels for alpha.
  list_.Reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
  if (!list_)
    throw EOutOfResources("cannot create an image list");
}

void TImageList::SetSize(int width, int height) {
  if (width == width_ && height == height_)
    return;
  const int oldWidth = width_, oldHeight = height_;
  width_ = width;
  height_ = height;
  try {
    CreateList();
  } catch (...) {
    width_ = oldWidth;
    height_ = oldHeight;
    throw;
  }
}

int TImageList::Count() const {
  return ImageList_GetImageCount(list_.Get());
}

int TImageList::Added(int first) {
  if (first < 0)
    throw EInvalidGraphicOperation("cannot add the image to the image list");
  return first;
}

namespace {

void CheckStrip(const TBitmap &image, int width, int height) {
  if (image.Width() < width || image.Height() < height)
    throw EInvalidGraphicOperation("image is smaller than the image list");
}

} // namespace

int TImageList::AddMasked(TBitmap &image, TColor maskColor) {
  CheckStrip(image, width_, height_);
  // The list selects the bitmap into a DC of its own: hand it a copy that no canvas holds.
  GdiBitmap copy = image.CopyHandle();
  return Added(ImageList_AddMasked(list_.Get(), copy.Get(), ColorToRGB(maskColor)));
}

int TImageList::Add(TBitmap &image, TBitmap *mask) {
  CheckStrip(image, width_, height_);
  GdiBitmap copy = image.CopyHandle();
  GdiBitmap monoMask;
  if (mask && !mask->Empty()) {
    // The list wants a monochrome mask: white (1) transparent, black (0) opaque.
    monoMask.Reset(CreateBitmap(image.Width(), image.Height(), 1, 1, nullptr));
    GdiMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!monoMask || !dc)
      throw EOutOfResources("cannot create an image mask");
    GdiSelection select(dc.Get(), monoMask.Get());
    PatBlt(dc.Get(), 0, 0, image.Width(), image.Height(), BLACKNESS);
    HDC src = mask->Canvas().Handle();
    COLORREF oldBk = SetBkColor(src, RGB(255, 255, 255));
    BitBlt(dc.Get(), 0, 0, std::min(image.Width(), mask->Width()),
           std::min(image.Height(), mask->Height()), src, 0, 0, SRCCOPY);
    SetBkColor(src, oldBk);
  }
  return Added(ImageList_Add(list_.Get(), copy.Get(), monoMask.Get()));
}

int TImageList::AddIcon(TIcon &icon) {
  if (icon.Empty())
    throw EInvalidGraphicOperation("cannot add an empty icon");
  return Added(ImageList_AddIcon(list_.Get(), icon.Handle()));
}

void TImageList::Delete(int index) {
  if (index >= 0 && index < Count())
    ImageList_Remove(list_.Get(), index);
}

void TImageList::Clear() {
  ImageList_RemoveAll(list_.Get());
}

void TImageList::Draw(TCanvas &canvas, int x, int y, int index, bool enabled) {
  if (index < 0 || index >= Count())
    return;
  HDC dc = canvas.Handle();
  if (enabled)
    ImageList_Draw(list_.Get(), index, dc, x, y, ILD_TRANSPARENT);
  else
    DrawDisabled(dc, x, y, index);
}

void TImageList::DrawDisabled(HDC dc, int x, int y, int index) {
  // The image's own mask (white where transparent, black where opaque), taken from an icon of
  // the image: GetIconInfo hands out a private copy of it.
  GdiIcon icon(ImageList_GetIcon(list_.Get(), index, ILD_NORMAL));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon.Get(), &info))
    return;
  GdiBitmap mask(info.hbmMask);
  GdiBitmap colour(info.hbmColor);
  GdiMemoryDC maskDC(CreateCompatibleDC(dc));
  if (!mask || !maskDC)
    return;
  GdiSelection selectMask(maskDC.Get(), mask.Get());

  // PSDPxax: where the source is all ones the destination stays, where it is zero the brush is
  // painted. Text black and background white make the mask's bits exactly that.
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  const struct {
    int offset;
    TColor color;
  } passes[] = {{1, clBtnHighlight}, {0, clBtnShadow}};
  for (const auto &pass : passes) {
    GdiBrush brush(CreateSolidBrush(ColorToRGB(pass.color)));
    GdiSelection selectBrush(dc, brush.Get());
    BitBlt(dc, x + pass.offset, y + pass.offset, width_, height_, maskDC.Get(), 0, 0, 0x00B8074A);
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
}
