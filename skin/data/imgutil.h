// Bitmap utilities: in-place transforms of skin bitmaps and a few colour computations.
//
// The bitmap functions work on 3-byte blue-green-red pixels through scan-line access; the
// skin model derives images with them after a skin is read, and the control painters grey out
// glyphs, turn tab and progress images and paint toolbar gradients.
#pragma once

#include "framework/gui/bitmap.h"
#include "framework/gui/graphics.h"

#include <windows.h>

#include <vector>

// Converts to 24 bits per pixel; every pixel becomes grey of value (R + G + B) div 3.
void ConvertBitmapToGrayscale(TBitmap *bitmap);
// Converts to 24 bits per pixel; every pure magenta pixel takes the low three bytes of color
// as they stand (a system colour code is not resolved).
void ChangeTrans(TBitmap *bitmap, TColor color);
// Mirror left to right / top to bottom. Meant for 24-bit bitmaps; a 32-bit bitmap is mirrored
// whole pixels at a time as well.
void SpiegelnHorizontal(TBitmap *bitmap);
void SpiegelnVertikal(TBitmap *bitmap);
// Turn 90 degrees clockwise / counter-clockwise; width and height swap.
void Drehen90Grad(TBitmap *bitmap);
void Drehen270Grad(TBitmap *bitmap);

// In-memory copies for images composed once per load: the pixels BitBlt (and a copy that
// leaves magenta out, as DrawTranmap does) would give between two of our DIB sections, without
// a device context. Formats of 3 and 4 bytes per pixel mix as BitBlt mixes them.
//
// Copies the w x h block at (sx, sy) of source to (dx, dy) of dest. Only pixels inside both
// bitmaps and inside clip (in dest coordinates) are copied; keyed leaves magenta pixels out.
// Source and dest may be one bitmap when the two blocks do not overlap.
void CopyPixels(TBitmap &dest, int dx, int dy, TBitmap &source, int sx, int sy, int w, int h,
                const RECT &clip, bool keyed);
// Fills the part of r inside the bitmap with colour (an RGB value).
void FillPixels(TBitmap &bitmap, const RECT &r, COLORREF colour);

// Mixes two colours: amount is a percentage of c1 below 100 and a per-mille value from 100 on.
// System colour codes are resolved first.
TColor Blend(TColor c1, TColor c2, int amount);
// Fills r on dc with a gradient from c1 to c2: top to bottom when direction is 1, left to right
// when it is 0. Only the bands inside the clip box are painted.
void GradFill(HDC dc, const RECT &r, TColor c1, TColor c2, int direction);
// GradFill's bands written straight into the bitmap's pixels, the bitmap's bounds standing for
// the clip box; the same ramp cache serves both.
void GradFillPixels(TBitmap &bitmap, const RECT &r, TColor c1, TColor c2, int direction);
// A saturation figure 0..255; 200 for any colour whose three channels are all below 160.
int GetHSV(TColor color);

// The gradient ramp cache, visible for tests.
namespace imgutil_detail {
constexpr int kRampSlots = 16;
// The ramp in a slot (empty when the slot was never used).
const std::vector<TColor> &GradRamp(int slot);
// The slot the next new ramp replaces.
int GradRingIndex();
// Ramps built since the start or the last ResetGradCache.
int GradRampBuilds();
void ResetGradCache();
} // namespace imgutil_detail
