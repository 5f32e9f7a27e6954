#include "resources/skin/generator/glyphs.h"

#include <algorithm>

namespace skingen {

int GlyphWidth(const Glyph &g) {
  size_t w = 0;
  for (const std::string &row : g)
    w = std::max(w, row.size());
  return static_cast<int>(w);
}

int GlyphHeight(const Glyph &g) {
  return static_cast<int>(g.size());
}

void Stamp(Image &img, int x, int y, const Glyph &g, Rgb c) {
  for (int j = 0; j < GlyphHeight(g); ++j)
    for (int i = 0; i < static_cast<int>(g[static_cast<size_t>(j)].size()); ++i)
      if (g[static_cast<size_t>(j)][static_cast<size_t>(i)] == '#')
        img.Set(x + i, y + j, c);
}

void StampCentred(Image &img, int x, int y, int w, int h, const Glyph &g, Rgb c) {
  Stamp(img, x + (w - GlyphWidth(g) + 1) / 2, y + (h - GlyphHeight(g) + 1) / 2, g, c);
}

Glyph FlipVertical(const Glyph &g) {
  return Glyph(g.rbegin(), g.rend());
}

Glyph FlipHorizontal(const Glyph &g) {
  const int w = GlyphWidth(g);
  Glyph out;
  for (std::string row : g) {
    row.resize(static_cast<size_t>(w), '.');
    std::reverse(row.begin(), row.end());
    out.push_back(row);
  }
  return out;
}

Glyph Transpose(const Glyph &g) {
  const int w = GlyphWidth(g), h = GlyphHeight(g);
  Glyph out(static_cast<size_t>(w), std::string(static_cast<size_t>(h), '.'));
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < static_cast<int>(g[static_cast<size_t>(j)].size()); ++i)
      out[static_cast<size_t>(i)][static_cast<size_t>(j)] =
          g[static_cast<size_t>(j)][static_cast<size_t>(i)];
  return out;
}

namespace glyphs {

Glyph Close() {
  return {"##......##", //
          "###....###", //
          ".###..###.", //
          "..######..", //
          "...####...", //
          "...####...", //
          "..######..", //
          ".###..###.", //
          "###....###", //
          "##......##"};
}

Glyph Maximise() {
  return {"##########", //
          "##########", //
          "#........#", //
          "#........#", //
          "#........#", //
          "#........#", //
          "#........#", //
          "#........#", //
          "#........#", //
          "##########"};
}

Glyph Restore() {
  return {"..########", //
          "..########", //
          "..#......#", //
          "########.#", //
          "########.#", //
          "#......#.#", //
          "#......###", //
          "#......#..", //
          "#......#..", //
          "########.."};
}

Glyph Minimise() {
  return {"..........", //
          "..........", //
          "..........", //
          "..........", //
          "..........", //
          "..........", //
          "..........", //
          "..........", //
          "##########", //
          "##########"};
}

Glyph CloseThin() {
  return {"#.......#", //
          ".#.....#.", //
          "..#...#..", //
          "...#.#...", //
          "....#....", //
          "...#.#...", //
          "..#...#..", //
          ".#.....#.", //
          "#.......#"};
}

Glyph MaximiseThin() {
  return {"#########", //
          "#.......#", //
          "#.......#", //
          "#.......#", //
          "#.......#", //
          "#.......#", //
          "#.......#", //
          "#.......#", //
          "#########"};
}

Glyph RestoreThin() {
  return {"..#######", //
          "..#.....#", //
          "#######.#", //
          "#.....#.#", //
          "#.....#.#", //
          "#.....###", //
          "#.....#..", //
          "#.....#..", //
          "#######.."};
}

Glyph MinimiseThin() {
  return {".........", //
          ".........", //
          ".........", //
          ".........", //
          ".........", //
          ".........", //
          ".........", //
          ".........", //
          "#########"};
}

Glyph Check() {
  return {".......#", //
          "......##", //
          "#....##.", //
          "##..##..", //
          ".####...", //
          "..##...."};
}

Glyph Indeterminate() {
  return {"#######", //
          "#######", //
          "#######", //
          "#######", //
          "#######", //
          "#######", //
          "#######"};
}

Glyph RadioDot() {
  return {".###.", //
          "#####", //
          "#####", //
          "#####", //
          ".###."};
}

Glyph ChevronDown() {
  return {"##...##", //
          ".##.##.", //
          "..###..", //
          "...#..."};
}

Glyph TriangleDown() {
  return {"#####", //
          ".###.", //
          "..#.."};
}

Glyph GripHorizontal() {
  return {"#.#.#", //
          "#.#.#", //
          "#.#.#", //
          "#.#.#", //
          "#.#.#", //
          "#.#.#"};
}

Glyph SizeGrip() {
  return {"........##", //
          "........##", //
          "..........", //
          ".....##.##", //
          ".....##.##", //
          "..........", //
          "..##.##.##", //
          "..##.##.##"};
}

Glyph Document() {
  return {"########....", //
          "#......##...", //
          "#......#.#..", //
          "#......####.", //
          "#.........#.", //
          "#.######..#.", //
          "#.........#.", //
          "#.######..#.", //
          "#.........#.", //
          "#.######..#.", //
          "#.........#.", //
          "#.........#.", //
          "###########."};
}

} // namespace glyphs

} // namespace skingen
