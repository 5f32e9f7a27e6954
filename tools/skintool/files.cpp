#include "tools/skintool/files.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace skintool {

#ifdef _WIN32

std::vector<std::string> ListFiles(const std::string &dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(JoinPath(dir, "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) {
    throw std::runtime_error("cannot read the folder");
  }
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      names.emplace_back(found.cFileName);
    }
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

bool MakeDirectory(const std::string &dir) {
  if (CreateDirectoryA(dir.c_str(), nullptr)) {
    return true;
  }
  const DWORD attributes = GetFileAttributesA(dir.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string JoinPath(const std::string &dir, const std::string &name) {
  if (dir.empty() || dir.back() == '\\' || dir.back() == '/') {
    return dir + name;
  }
  return dir + "\\" + name;
}

#else

std::vector<std::string> ListFiles(const std::string &dir) {
  DIR *d = opendir(dir.c_str());
  if (d == nullptr) {
    throw std::runtime_error("cannot read the folder");
  }
  std::vector<std::string> names;
  while (const dirent *entry = readdir(d)) {
    struct stat info {};
    if (stat(JoinPath(dir, entry->d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
      names.emplace_back(entry->d_name);
    }
  }
  closedir(d);
  return names;
}

bool MakeDirectory(const std::string &dir) {
  if (mkdir(dir.c_str(), 0777) == 0) {
    return true;
  }
  struct stat info {};
  return errno == EEXIST && stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string JoinPath(const std::string &dir, const std::string &name) {
  if (dir.empty() || dir.back() == '/') {
    return dir + name;
  }
  return dir + "/" + name;
}

#endif

} // namespace skintool
