// Builds skin containers: the format mark, the name list (every name ends in CR LF), the size
// table and the contents, compressed into a skin file.
#pragma once

#include "framework/core/objects.h"
#include "framework/core/sysutils.h"

#include <cstdint>
#include <string>
#include <vector>

class TStream;

class ESkinWriteError : public Exception {
public:
  using Exception::Exception;
};

class TSkinWriter : public TObject {
public:
  // Entries are stored in the order added. Raises ESkinWriteError for a name the reader could
  // not hand back: empty, with a folder part or a line break, or already present (letter case
  // ignored, as the reader lower-cases names), and beyond the reader's 1001 entries.
  void Add(const std::string &name, std::vector<uint8_t> bytes);
  int Count() const { return static_cast<int>(entries_.size()); }

  // The decompressed container. Both reserved header fields are written as 0.
  std::vector<uint8_t> Container() const;
  // The skin file (the compressed container), written at dest's position. A container the
  // reader would refuse as too large raises ESkinWriteError.
  void SaveToStream(TStream &dest) const;

private:
  struct Entry {
    std::string name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Entry> entries_;
};
