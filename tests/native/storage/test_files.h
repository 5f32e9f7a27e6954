// A scratch folder per test, removed afterwards, and small file helpers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class ScratchDir {
public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir &) = delete;
  ScratchDir &operator=(const ScratchDir &) = delete;
  // A path inside the folder, as the narrow string the code under test takes.
  std::string Path(const std::string &name) const;

private:
  std::filesystem::path root_;
};

std::vector<uint8_t> ReadBytes(const std::string &path);
void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes);
std::vector<uint8_t> Bytes(const std::string &text);
