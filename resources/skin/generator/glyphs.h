// Pixel glyphs, drawn as ASCII pictures so that every pixel is placed on purpose.
#pragma once

#include "resources/skin/generator/raster.h"

#include <string>
#include <vector>

namespace skingen {

// One string per row; '#' is a pixel of the glyph, anything else is left alone.
using Glyph = std::vector<std::string>;

int GlyphWidth(const Glyph &g);
int GlyphHeight(const Glyph &g);
void Stamp(Image &img, int x, int y, const Glyph &g, Rgb c);
// Centred in the box (x, y, w, h); an odd remainder goes to the right and the bottom.
void StampCentred(Image &img, int x, int y, int w, int h, const Glyph &g, Rgb c);

Glyph FlipVertical(const Glyph &g);
Glyph FlipHorizontal(const Glyph &g);
Glyph Transpose(const Glyph &g);

namespace glyphs {
Glyph Close();    // 10 x 10 cross
Glyph Maximise(); // 10 x 10 window outline with a heavy top
Glyph Restore();  // two overlapping windows, 10 x 10
Glyph Minimise(); // a bar at the foot of a 10 x 10 cell
// The caption glyphs drawn with one-pixel strokes in a 9 x 9 cell.
Glyph CloseThin();
Glyph MaximiseThin();
Glyph RestoreThin();
Glyph MinimiseThin();
Glyph Check(); // 8 x 6 tick
Glyph Indeterminate();
Glyph RadioDot();       // 5 x 5
Glyph ChevronDown();    // 7 x 4
Glyph TriangleDown();   // 5 x 3
Glyph GripHorizontal(); // three upright lines, for a horizontal thumb
Glyph SizeGrip();       // dots in a corner triangle
Glyph Document();       // 12 x 14 page with a folded corner
} // namespace glyphs

} // namespace skingen
