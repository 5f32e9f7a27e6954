// The few file-system operations skintool needs, in the ANSI code page on Windows.
#pragma once

#include <string>
#include <vector>

namespace skintool {

// Names of the regular files directly in dir; throws std::runtime_error if it cannot be read.
std::vector<std::string> ListFiles(const std::string &dir);
// Creates dir if it does not exist yet; false if that fails.
bool MakeDirectory(const std::string &dir);
// dir joined with name by the platform's separator.
std::string JoinPath(const std::string &dir, const std::string &name);

} // namespace skintool
