// A contact sheet of the skin for people to look at: a small window composed from the
// pictures the way the painters slice them, then every bitmap enlarged with its frames.
#pragma once

#include "resources/skin/generator/painters.h"

namespace skingen {

// face: the window face of the skin, behind its controls.
Image ContactSheet(const std::vector<NamedImage> &skin, Rgb face);

} // namespace skingen
