// skintool: builds, inspects and takes apart skin files.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace skintool {

// Runs one command (args without the program name). Returns 0 on success, 1 on bad input
// (one line on err naming the file and what is wrong), 2 on bad usage (the usage text on err).
int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

extern const char *const UsageText;

} // namespace skintool
