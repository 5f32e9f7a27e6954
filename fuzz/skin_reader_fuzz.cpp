// The skin container reader. An input starting with 'C' is taken as a decompressed container
// (the fast way to reach the table checks); anything else as a skin file to decompress first.
#include "skin/storage/skinread.h"
#include "skin/storage/winconvert.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool quiet = [] {
    SetSkinMessageProc([](const std::string &) {});
    return true;
  }();
  (void)quiet;
  TSkinReader reader;
  bool loaded = false;
  if (size > 0 && data[0] == 'C') {
    loaded = reader.LoadContainer(data + 1, size - 1);
  } else {
    // Keep decoding short: a declared size of 64 KB or more is skipped here instead of decoded.
    if (size >= 4 && (data[3] != 0 || data[2] != 0)) {
      return 0;
    }
    TMemoryStream file;
    if (size > 0) {
      file.WriteBuffer(data, static_cast<int32_t>(size));
    }
    try {
      loaded = reader.Loadfromstream(file);
    } catch (const ElzhException &) {
      return 0;
    }
  }
  if (!loaded) {
    return 0;
  }
  // Every entry must come out whole and inside the contents.
  int64_t total = 0;
  TMemoryStream entry;
  for (int i = 0; i < reader.Count(); ++i) {
    reader.ReadEntry(i, entry);
    if (entry.Size() != reader.Sizes(i)) {
      std::abort();
    }
    total += entry.Size();
    reader.readfile(reader.Names().Get(i), entry);
  }
  if (total > reader.ContentsSize()) {
    std::abort();
  }
  std::string name;
  reader.readIni(".ini", entry, name);
  return 0;
}
