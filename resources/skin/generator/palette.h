// The one palette of the default skin: a calm blue-grey. Every picture takes its colours here.
#pragma once

#include "resources/skin/generator/raster.h"

namespace skingen::palette {

// Caption and frame.
constexpr Rgb CaptionTop = 0x4A7DB5;
constexpr Rgb CaptionBottom = 0x2E5F96;
constexpr Rgb CaptionShine = 0x6E98C7; // the light first row under the outer edge
constexpr Rgb FrameOuter = 0x234B7A;
constexpr Rgb FrameInner = 0x27527F;
constexpr Rgb CaptionTopInactive = 0xAAB7C5;
constexpr Rgb CaptionBottomInactive = 0x8F9DAE;
constexpr Rgb CaptionShineInactive = 0xBCC7D3;
constexpr Rgb FrameOuterInactive = 0x7B899A;
constexpr Rgb FrameInnerInactive = 0x8391A2;
constexpr Rgb CaptionGlyph = 0xFFFFFF;
constexpr Rgb CaptionGlyphInactive = 0xE6EBF0;
constexpr Rgb CaptionHot = 0x6795C8;
constexpr Rgb CaptionHotEdge = 0x8DB3DD;
constexpr Rgb CaptionPressed = 0x234E7D;
constexpr Rgb CaptionPressedEdge = 0x1B3E64;
constexpr Rgb CloseHot = 0xD64541;
constexpr Rgb CloseHotEdge = 0xE67471;
constexpr Rgb ClosePressed = 0xA8322F;
constexpr Rgb ClosePressedEdge = 0x862624;

// Faces and edges of controls.
constexpr Rgb Face = 0xF2F4F7;
constexpr Rgb Window = 0xFFFFFF;
constexpr Rgb MenuFace = 0xFBFCFD;
constexpr Rgb Border = 0x9AA8B8;
constexpr Rgb BorderLight = 0xC8D0D9;
constexpr Rgb Separator = 0xD5DCE4;
constexpr Rgb FaceTop = 0xFFFFFF;
constexpr Rgb FaceBottom = 0xE8ECF1;
constexpr Rgb Hot = 0xDCEBFA;
constexpr Rgb HotTop = 0xF3F8FE;
constexpr Rgb HotEdge = 0x7FA7D6;
constexpr Rgb HotEdgeSoft = 0x9AB8DA;
constexpr Rgb Pressed = 0xB9D3F2;
constexpr Rgb PressedTop = 0xA9C8EE;
constexpr Rgb PressedEdge = 0x5C87B8;
constexpr Rgb Focus = 0x4A7DB5;
constexpr Rgb FocusRing = 0xB7CFEB;
constexpr Rgb DisabledFace = 0xF0F2F5;
constexpr Rgb DisabledEdge = 0xCDD4DC;
constexpr Rgb DisabledText = 0xA0A8B0;
constexpr Rgb Text = 0x1E2A38;
constexpr Rgb Glyph = 0x3B4A5C;
constexpr Rgb GlyphPressed = 0x1F3550;
constexpr Rgb GlyphHot = 0x2E5F96;
constexpr Rgb Accent = 0x2E5F96;
constexpr Rgb Track = 0xE9EDF2;
constexpr Rgb TrackEdge = 0xDCE2E9;
constexpr Rgb Thumb = 0xC3CDD8;
constexpr Rgb ThumbEdge = 0xA5B2C0;
constexpr Rgb ThumbGrip = 0x8D9CAD;
constexpr Rgb BarTop = 0x72A2D6;
constexpr Rgb BarBottom = 0x3C70AA;
constexpr Rgb BarShine = 0x94BCE5;

} // namespace skingen::palette
