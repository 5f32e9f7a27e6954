#include "skin/storage/skinwrite.h"

#include "framework/core/streams.h"
#include "framework/core/stringlist.h"
#include "skin/storage/skinread.h"
#include "skin/storage/winconvert.h"

namespace {

void PutInt32(std::vector<uint8_t> &out, int64_t value) {
  if (value < INT32_MIN || value > INT32_MAX) {
    throw ESkinWriteError("Skin container larger than 2 GB");
  }
  const auto v = static_cast<uint32_t>(static_cast<int32_t>(value));
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<uint8_t>(v >> shift));
  }
}

} // namespace

void TSkinWriter::Add(const std::string &name, std::vector<uint8_t> bytes) {
  if (name.empty() || name.find_first_of("\\/:\r\n") != std::string::npos) {
    throw ESkinWriteError("Invalid skin entry name \"" + name + "\"");
  }
  for (const Entry &entry : entries_) {
    if (AnsiSameText(entry.name, name)) {
      throw ESkinWriteError("Duplicate skin entry name \"" + name + "\"");
    }
  }
  if (Count() >= TSkinReader::MaxEntries) {
    throw ESkinWriteError("A skin holds at most " + std::to_string(TSkinReader::MaxEntries) +
                          " files");
  }
  entries_.push_back(Entry{name, std::move(bytes)});
}

std::vector<uint8_t> TSkinWriter::Container() const {
  std::string names;
  int64_t contents = 0;
  for (const Entry &entry : entries_) {
    names += entry.name + "\r\n";
    contents += static_cast<int64_t>(entry.bytes.size());
  }
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(16 + names.size() + 4 * entries_.size() + contents));
  PutInt32(out, TSkinReader::FormatMark);
  PutInt32(out, static_cast<int64_t>(names.size()));
  PutInt32(out, 0);
  PutInt32(out, 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const Entry &entry : entries_) {
    PutInt32(out, static_cast<int64_t>(entry.bytes.size()));
  }
  for (const Entry &entry : entries_) {
    out.insert(out.end(), entry.bytes.begin(), entry.bytes.end());
  }
  if (out.size() > static_cast<size_t>(TSkinReader::MaxSkinSize)) {
    throw ESkinWriteError("Skin container larger than " + std::to_string(TSkinReader::MaxSkinSize) +
                          " bytes");
  }
  return out;
}

void TSkinWriter::SaveToStream(TStream &dest) const {
  const std::vector<uint8_t> container = Container();
  std::vector<uint8_t> file;
  PutInt32(file, static_cast<int64_t>(container.size()));
  TLZH lzh;
  const std::vector<uint8_t> bits = lzh.PackBuffer(container.data(), container.size());
  file.insert(file.end(), bits.begin(), bits.end());
  dest.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
}
