// The pure rules of a conversion run: target formats, target paths, the program's folder.
#pragma once

#include <cstdint>
#include <string>

struct TTargetFormat {
  int32_t Code;          // Word's file format number for SaveAs
  std::string Extension; // with its dot
};

// The format whose label equals label exactly; any other text gives the Word document format.
TTargetFormat TargetFormatOf(const std::string &label);

// The file name part of path: everything after its last backslash or colon. Paths are ANSI
// code page text, so a trail byte that happens to be 0x5C is not taken for a backslash.
std::string ExtractFileName(const std::string &path);
// name with the part from its last "." onward replaced by extension (appended when none).
std::string ChangeFileExt(const std::string &name, const std::string &extension);
// The folder part of path, with its trailing backslash.
std::string ExtractFilePath(const std::string &path);

// The target of source: folder + "\" + source's name with the format's extension.
std::string PlainTargetPath(const std::string &folder, const std::string &source,
                            const std::string &extension);
// The renamed target: folder + "\" + baseName + number + extension.
std::string RenamedTargetPath(const std::string &folder, const std::string &baseName,
                              int64_t number, const std::string &extension);

// True when text holds nothing but blanks and control characters.
bool IsBlank(const std::string &text);

// The folder of the running program, as the system gives it, with its trailing backslash.
std::string ProgramFolder();
