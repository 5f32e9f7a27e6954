// The drawing primitives every skinned surface is painted with: one state (frame) of a skin
// bitmap drawn into a rectangle, whole, nine-sliced, three-sliced or tiled, and the region of a
// bitmap's non-transparent pixels.
//
// Frames are counted from 1. A horizontal strip of n frames has frames Width div n wide; a
// vertical one has frames Height div n high. Margins are widths (left, top, right, bottom), not
// coordinates. Magenta (0xFF00FF) is the transparency key of every "transparent" flag.
//
// A source that is empty, a frame of zero width or height, or a frame count below 1 draws
// nothing. Bitmaps are borrowed, except those GetHMap and GetThumbMap return.
#pragma once

#include "framework/gui/bitmap.h"
#include "framework/gui/gdiobj.h"

#include <cstdint>
#include <memory>
#include <string>

class TControl;

// The frame as a nine-slice image of dest's size: corners kept, edges stretched along their
// length, the centre stretched (or tiled with `tile`). Margins that do not fit dest are dropped
// in that direction.
std::unique_ptr<TBitmap> GetHMap(const RECT &dest, TBitmap &source, const RECT &margins,
                                 int frameIndex, int frameCount, bool tile, bool vertical);
// GetHMap's image drawn at dest (magenta left out when transparent).
void DrawRect2(HDC dc, const RECT &dest, TBitmap &source, const RECT &margins, int frameIndex,
               int frameCount, bool transparent, bool tile, bool vertical);
// The whole frame stretched over dest.
void DrawRect1(HDC dc, const RECT &dest, TBitmap &source, int frameIndex, int frameCount,
               bool transparent);
// The frame at its own size, centred on dest (overflowing it when larger).
void DrawRect3(HDC dc, const RECT &dest, TBitmap &source, int frameIndex, int frameCount,
               bool transparent);
// Three slices side by side straight onto dc: left cap, stretched middle, right cap. A dest
// narrower than the frame gets the whole frame squeezed.
void DrawRectH(HDC dc, const RECT &dest, TBitmap &source, const RECT &margins, int frameIndex,
               int frameCount, int unused, bool vertical);
// DrawRectH with top and bottom caps.
void DrawRectV(HDC dc, const RECT &dest, TBitmap &source, const RECT &margins, int frameIndex,
               int frameCount, int unused, bool vertical);
// Three slices with the middle tiled instead of stretched.
void DrawRectTile(TCanvas &canvas, const RECT &dest, TBitmap &source, const RECT &margins,
                  int frameIndex, int frameCount, bool transparent, bool vertical);
// The eight border pieces of the nine-slice image straight onto dc, never the centre. Leaves
// dc's stretch mode at COLORONCOLOR.
void DrawBorder(HDC dc, const RECT &dest, TBitmap &source, const RECT &margins, int frameIndex,
                int frameCount, int unused, bool vertical);
// Three horizontal bands (top, middle, bottom margins) over the full width of a new bitmap of
// dest's size; with `flag` set the bitmap stays blank.
std::unique_ptr<TBitmap> GetThumbMap(const RECT &dest, TBitmap &source, const RECT &margins,
                                     int frameIndex, int frameCount, int unused, bool flag);
// Tiles sourceRect of source over dest, from dest's top-left; the last column and row overflow
// dest.
void DrawBGbmp(TCanvas &canvas, const RECT &dest, TBitmap &source, const RECT &sourceRect);
// Copies source (from its top-left, unscaled) to dest, leaving the pixels of colour `key` out.
void DrawTranmap(HDC dc, const RECT &dest, TBitmap &source, TColor key);
// Copies source's top-left part of dest's size to dest.
void Bitmapdraw(HDC dc, const RECT &dest, TBitmap &source);
// Paints into dc what the control's parent shows behind the control.
void DrawParentImage(TControl *control, HDC dc, bool unused);
// The region of the pixels that are not within the key colour plus tolerance (upwards only),
// shifted by the offsets. Converts `bitmap` to 32 bits per pixel. Empty when nothing is opaque.
GdiRegion BitmapToRegion(TBitmap &bitmap, int xOffset, int yOffset, TColor key,
                         uint8_t redTolerance, uint8_t greenTolerance, uint8_t blueTolerance);
int Max(int a, int b);
int Min(int a, int b);
void SkinAddLog(const std::string &text); // records nothing, on purpose

// The shared off-screen bitmap (stretch mode COLORONCOLOR), alive for the whole program.
extern TBitmap *BG;

// The two colour-keyed copy paths of DrawTranmap, exposed so both can be tested:
namespace tranmap {
void WithMaskBlt(HDC dc, const RECT &dest, TBitmap &source, TColor key); // NT family
void WithXorMask(HDC dc, const RECT &dest, TBitmap &source, TColor key); // 9x family path
} // namespace tranmap
