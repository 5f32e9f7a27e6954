#include "resources/skin/generator/palette.h"

namespace skingen {

namespace {

// Kestrova Slate, the default skin: a calm blue-grey with a glossy gradient caption.
const Look kSlate{
    .colours =
        {
            .CaptionTop = 0x4A7DB5,
            .CaptionBottom = 0x2E5F96,
            .CaptionShine = 0x6E98C7,
            .FrameOuter = 0x234B7A,
            .FrameInner = 0x27527F,
            .CaptionTopInactive = 0xAAB7C5,
            .CaptionBottomInactive = 0x8F9DAE,
            .CaptionShineInactive = 0xBCC7D3,
            .FrameOuterInactive = 0x7B899A,
            .FrameInnerInactive = 0x8391A2,
            .CaptionGlyph = 0xFFFFFF,
            .CaptionGlyphInactive = 0xE6EBF0,
            .CaptionHot = 0x6795C8,
            .CaptionHotEdge = 0x8DB3DD,
            .CaptionPressed = 0x234E7D,
            .CaptionPressedEdge = 0x1B3E64,
            .CloseHot = 0xD64541,
            .CloseHotEdge = 0xE67471,
            .ClosePressed = 0xA8322F,
            .ClosePressedEdge = 0x862624,
            .Face = 0xF2F4F7,
            .Window = 0xFFFFFF,
            .EdgeLight = 0xFFFFFF,
            .MenuFace = 0xFBFCFD,
            .MenuBarTop = 0xFAFBFD,
            .MenuBarBottom = 0xEEF1F5,
            .Border = 0x9AA8B8,
            .BorderLight = 0xC8D0D9,
            .Separator = 0xD5DCE4,
            .FaceTop = 0xFFFFFF,
            .FaceBottom = 0xE8ECF1,
            .BoxTop = 0xFFFFFF,
            .BoxBottom = 0xEEF2F6,
            .Hot = 0xDCEBFA,
            .HotTop = 0xF3F8FE,
            .HotEdge = 0x7FA7D6,
            .HotEdgeSoft = 0x9AB8DA,
            .Pressed = 0xB9D3F2,
            .PressedTop = 0xA9C8EE,
            .PressedEdge = 0x5C87B8,
            .Checked = 0xCFE1F6,
            .Focus = 0x4A7DB5,
            .FocusRing = 0xB7CFEB,
            .DisabledFace = 0xF0F2F5,
            .DisabledEdge = 0xCDD4DC,
            .DisabledText = 0xA0A8B0,
            .Glyph = 0x3B4A5C,
            .GlyphPressed = 0x1F3550,
            .GlyphHot = 0x2E5F96,
            .Accent = 0x2E5F96,
            .Track = 0xE9EDF2,
            .TrackEdge = 0xDCE2E9,
            .Thumb = 0xC3CDD8,
            .ThumbEdge = 0xA5B2C0,
            .ThumbPressed = 0x8EB2DC,
            .ThumbHot = 0xB4CDEB,
            .ThumbGrip = 0x8D9CAD,
            .ThumbGripPressed = 0xFFFFFF,
            .ThumbGripHot = 0x2E5F96,
            .TabTop = 0xF6F8FA,
            .TabBottom = 0xE6EAEF,
            .TabSelectedTop = 0xFFFFFF,
            .HeaderTop = 0xFFFFFF,
            .HeaderBottom = 0xEEF1F5,
            .GroupEdgeDisabled = 0xDDE2E8,
            .LabelEdge = 0xC5D3E4,
            .LabelTop = 0xEEF3F9,
            .LabelBottom = 0xE3EBF5,
            .TroughTop = 0xE1E6EC,
            .TroughBottom = 0xF4F6F9,
            .BarTop = 0x72A2D6,
            .BarBottom = 0x3C70AA,
            .BarShine = 0x94BCE5,
        },
    .shapes = {.windowCorner = 7, .controlCorner = 3, .smallCorner = 2, .captionShine = true},
};

} // namespace

const Look *FindLook(const std::string &variant) {
  if (variant == "slate")
    return &kSlate;
  return nullptr;
}

} // namespace skingen
