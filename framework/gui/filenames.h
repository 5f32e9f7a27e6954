// Parts of file names and the program's own folder, for ANSI code page paths.
#pragma once

#include <string>

// The file name part of path: everything after its last backslash or colon. Paths are ANSI
// code page text, so a trail byte that happens to be 0x5C is not taken for a backslash.
std::string ExtractFileName(const std::string &path);
// name with the part from its last "." onward replaced by extension (appended when none).
std::string ChangeFileExt(const std::string &name, const std::string &extension);
// The folder part of path, with its trailing backslash.
std::string ExtractFilePath(const std::string &path);

// The folder of the running program, as the system gives it, with its trailing backslash.
std::string ProgramFolder();
