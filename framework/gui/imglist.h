// A list of images of one size, kept in a system image list so that common controls can use
// its Handle directly.
#pragma once

#include "framework/gui/bitmap.h"
#include "framework/gui/icon.h"

class TImageList : public TPersistent {
public:
  explicit TImageList(int width = 16, int height = 16);
  TImageList(const TImageList &) = delete;
  TImageList &operator=(const TImageList &) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // A new size empties the list.
  void SetSize(int width, int height);
  int Count() const;

  // Adds every Width-wide image of a strip (a bitmap narrower than Width or lower than Height
  // raises EInvalidGraphicOperation). Returns the index of the first image added.
  // Pixels of image in maskColor become transparent:
  int AddMasked(TBitmap &image, TColor maskColor);
  // With a mask bitmap, its white pixels are transparent; without one, the images are opaque:
  int Add(TBitmap &image, TBitmap *mask);
  int AddIcon(TIcon &icon);
  void Delete(int index); // an index out of range is ignored
  void Clear();

  // Draws image index with its transparency; a disabled image is drawn embossed in the
  // highlight and shadow colours. An index out of range draws nothing.
  void Draw(TCanvas &canvas, int x, int y, int index, bool enabled = true);

  HIMAGELIST Handle() const { return list_.Get(); }

private:
  void CreateList();
  int Added(int first);
  void DrawDisabled(HDC dc, int x, int y, int index);

  int width_;
  int height_;
  GdiImageList list_;
};
