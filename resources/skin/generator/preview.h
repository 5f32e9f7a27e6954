// A contact sheet of the skin for people to look at: a small window composed from the
// pictures the way the painters slice them, then every bitmap enlarged with its frames.
#pragma once

#include "resources/skin/generator/painters.h"

namespace skingen {

Image ContactSheet(const std::vector<NamedImage> &skin);

} // namespace skingen
