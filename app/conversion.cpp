#include "app/conversion.h"

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

} // namespace

TTargetFormat TargetFormatOf(const std::string &label) {
  for (const FormatRow &row : kFormats)
    if (label == row.label)
      return {row.code, row.extension};
  return {0, ".doc"};
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
