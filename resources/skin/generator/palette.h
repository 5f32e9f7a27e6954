// The looks the generator paints: one palette and a few shape choices per skin. Every picture
// takes its colours and shapes from the look it is painted with.
#pragma once

#include "resources/skin/generator/raster.h"

#include <string>

namespace skingen {

struct Palette {
  // Caption and frame.
  Rgb CaptionTop, CaptionBottom;
  Rgb CaptionShine; // the first row under the outer edge, when the look has a shine
  Rgb FrameOuter, FrameInner;
  Rgb CaptionTopInactive, CaptionBottomInactive, CaptionShineInactive;
  Rgb FrameOuterInactive, FrameInnerInactive;
  Rgb CaptionGlyph, CaptionGlyphInactive;
  Rgb CaptionHot, CaptionHotEdge, CaptionPressed, CaptionPressedEdge;
  Rgb CloseHot, CloseHotEdge, ClosePressed, ClosePressedEdge;

  // Faces and edges of controls.
  Rgb Face;
  Rgb Window;    // the face of edits, lists and the page icon
  Rgb EdgeLight; // the light line of raised and etched edges
  Rgb MenuFace, MenuBarTop, MenuBarBottom;
  Rgb Border, BorderLight, Separator;
  Rgb FaceTop, FaceBottom; // push buttons at rest
  Rgb BoxTop, BoxBottom;   // check boxes and radio buttons at rest
  Rgb Hot, HotTop, HotEdge, HotEdgeSoft;
  Rgb Pressed, PressedTop, PressedEdge;
  Rgb Checked;                                 // a tool button that stays down
  Rgb Focus, FocusRing, FocusTop, FocusBottom; // the edge, inner ring and face of a focused button
  Rgb DisabledFace, DisabledEdge, DisabledText;
  Rgb Glyph, GlyphPressed, GlyphHot;
  Rgb Accent;

  // Scroll bars, tabs, headers, group boxes, progress.
  Rgb Track, TrackEdge;
  Rgb Thumb, ThumbEdge, ThumbPressed, ThumbHot;
  Rgb ThumbGrip, ThumbGripPressed, ThumbGripHot;
  Rgb TabTop, TabBottom, TabSelectedTop; // a selected tab ends in Face, joining its pane
  // Headers: the engine writes their captions in the system's window text (black), so they
  // stay light in every look.
  Rgb HeaderTop, HeaderBottom, HeaderHotTop, HeaderHotBottom, HeaderPressedTop, HeaderPressedBottom,
      HeaderLine;
  Rgb GroupEdgeDisabled;
  Rgb LabelEdge, LabelTop, LabelBottom; // the group box caption plate
  Rgb TroughTop, TroughBottom;
  Rgb ChannelShadow; // the upper and left edge of a sunk track bar channel
  Rgb BarTop, BarBottom, BarShine;
};

struct Shapes {
  int windowCorner;       // radius of the window's top corners
  int controlCorner;      // push buttons, tabs, scroll and track thumbs, caption buttons
  int smallCorner;        // check boxes, menu items, tool buttons, progress, small arrows
  bool captionShine;      // a light first row under the caption's outer edge
  bool thinCaptionGlyphs; // one-pixel strokes on the caption buttons instead of two
  bool trackChannels;     // its own track bar channels instead of the program's built-in ones
};

struct Look {
  Palette colours;
  Shapes shapes;
};

// The look of a variant: "slate" (the default skin) or "dark"; null for another name.
const Look *FindLook(const std::string &variant);

} // namespace skingen
