#include "framework/gui/filenames.h"

#include <windows.h>

#include <vector>

namespace {

// Position just past the last character of text that is one of delimiters, or 0. Walks the
// text character by character so that a double-byte character's trail byte never matches.
size_t PastLastDelimiter(const std::string &text, const char *delimiters) {
  size_t past = 0;
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsDBCSLeadByte(c) && i + 1 < text.size()) {
      i += 2;
      continue;
    }
    for (const char *d = delimiters; *d != '\0'; ++d)
      if (c == static_cast<unsigned char>(*d))
        past = i + 1;
    ++i;
  }
  return past;
}

} // namespace

std::string ExtractFileName(const std::string &path) {
  return path.substr(PastLastDelimiter(path, "\\:"));
}

std::string ExtractFilePath(const std::string &path) {
  return path.substr(0, PastLastDelimiter(path, "\\:"));
}

std::string ChangeFileExt(const std::string &name, const std::string &extension) {
  const size_t dot = PastLastDelimiter(name, ".");
  if (dot == 0)
    return name + extension;
  return name.substr(0, dot - 1) + extension;
}

std::string ProgramFolder() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0)
      return {};
    if (length < buffer.size())
      return ExtractFilePath(std::string(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}
