// Names of the program's built-in bitmap resources (resources/builtin/builtin.rc). Each is a
// BITMAP resource and, under the same name, an RCDATA resource holding the whole BMP file.
#pragma once

namespace builtin {

// Trackbar channel, 16 x 4, and its upright form, 4 x 16: 4 bits per pixel, 16-colour palette.
constexpr char kTrack[] = "TRACK";
constexpr char kTrackVert[] = "TRACKVERT";
// Caption glyph strip, 64 x 16, 1 bit per pixel: restore, maximise, minimise, close in black on
// white, 16 x 16 each.
constexpr char kCaptionGlyphs[] = "KESTROVASKIN";

} // namespace builtin
