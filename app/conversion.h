// The pure rules of a conversion run: target formats and target paths.
#pragma once

#include "framework/gui/filenames.h" // the file name parts the rules are made of

#include <cstdint>
#include <string>

struct TTargetFormat {
  int32_t Code;          // Word's file format number for SaveAs
  std::string Extension; // with its dot
};

// The format whose label equals label exactly; any other text gives the Word document format.
TTargetFormat TargetFormatOf(const std::string &label);

// The target of source: folder + "\" + source's name with the format's extension.
std::string PlainTargetPath(const std::string &folder, const std::string &source,
                            const std::string &extension);
// The renamed target: folder + "\" + baseName + number + extension.
std::string RenamedTargetPath(const std::string &folder, const std::string &baseName,
                              int64_t number, const std::string &extension);

// True when text holds nothing but blanks and control characters.
bool IsBlank(const std::string &text);
