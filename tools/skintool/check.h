// skintool check: reads a skin through the skin object model (Windows only: the model paints
// with GDI) and reports what each element holds and what will draw badly.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace skintool {

// Writes one line per element the skin defines (image size, frame count), then one
// "warning: " line per problem. The skin file must already be known to decode. Returns the
// number of warnings.
int CheckSkin(const std::vector<uint8_t> &skinFile, std::ostream &out);

} // namespace skintool
