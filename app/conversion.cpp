#include "app/conversion.h"

#include <windows.h>

#include <vector>

namespace {

struct FormatRow {
  const char *label;
  int32_t code;
  const char *extension;
};

// First equal label wins; the order is the combo box's.
const FormatRow kFormats[] = {
    {"Word文档(*.doc)", 0, ".doc"},         {"XML文档(*.xml)", 11, ".xml"},
    {"单个网页(*.mht,*.mhtml)", 9, ".mht"}, {"网页文档(*.htm,*.html)", 8, ".htm"},
    {"文档模版(*.dot)", 1, ".dot"},         {"RTF格式(*.rtf)", 6, ".rtf"},
    {"纯文本格式(*.txt)", 2, ".txt"},
};

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

TTargetFormat TargetFormatOf(const std::string &label) {
  for (const FormatRow &row : kFormats)
    if (label == row.label)
      return {row.code, row.extension};
  return {0, ".doc"};
}

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

std::string PlainTargetPath(const std::string &folder, const std::string &source,
                            const std::string &extension) {
  // The extension is looked for in the file name only: a dot in the folder does not count.
  return folder + "\\" + ChangeFileExt(ExtractFileName(source), extension);
}

std::string RenamedTargetPath(const std::string &folder, const std::string &baseName,
                              int64_t number, const std::string &extension) {
  return folder + "\\" + baseName + std::to_string(number) + extension;
}

bool IsBlank(const std::string &text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) > ' ')
      return false;
  return true;
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
