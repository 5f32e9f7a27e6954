#include "skin/storage/skinread.h"

#include "skin/storage/winconvert.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TSkinMessageProc &MessageProc() {
  static TSkinMessageProc proc;
  return proc;
}

#ifdef _WIN32
// The application title defaults to the program's file name without its extension.
std::string DefaultTitle() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  const size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) {
    name.erase(0, slash + 1);
  }
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) {
    name.erase(dot);
  }
  return name;
}
#endif

int32_t ReadInt32(const uint8_t *p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24));
}

} // namespace

TSkinMessageProc SetSkinMessageProc(TSkinMessageProc proc) {
  TSkinMessageProc old = std::move(MessageProc());
  MessageProc() = std::move(proc);
  return old;
}

std::vector<std::string> &RecordedSkinMessages() {
  static std::vector<std::string> messages;
  return messages;
}

void ShowSkinMessage(const std::string &text) {
  if (MessageProc()) {
    MessageProc()(text);
    return;
  }
#ifdef _WIN32
  MessageBoxA(GetActiveWindow(), text.c_str(), DefaultTitle().c_str(), MB_OK);
#else
  RecordedSkinMessages().push_back(text);
#endif
}

// ---------------------------------------------------------------------------------------------
// TSkinReader

void TSkinReader::Reset() {
  names_.Clear();
  count_ = 0;
  std::fill(sizes_.begin(), sizes_.end(), 0);
  contents_.Clear();
  std::memset(header_, 0, sizeof header_);
  error_.clear();
}

bool TSkinReader::Fail(const std::string &why) {
  Reset();
  error_ = why;
  return false;
}

void TSkinReader::Decompress(TStream &source, TStream &dest) {
  LZHDecompressStream(source, dest, MaxSkinSize);
}

bool TSkinReader::Loadfromstream(TStream &stream) {
  Reset();
  TMemoryStream container;
  Decompress(stream, container);
  return LoadContainer(container.Memory(), static_cast<size_t>(container.Size()));
}

bool TSkinReader::loadfromfile(const std::string &name) {
  TMemoryStream file;
  try {
    file.LoadFromFile(name);
  } catch (const EFOpenError &) {
    return Fail("cannot open the file");
  }
  return Loadfromstream(file);
}

bool TSkinReader::LoadContainer(const uint8_t *data, size_t size) {
  Reset();
  if (size < 16 || ReadInt32(data) != FormatMark) {
    ShowSkinMessage(OlderSkinMessage);
    return Fail("no format mark 20000: not a skin of this format");
  }
  for (int i = 0; i < 4; ++i) {
    header_[i] = ReadInt32(data + 4 * i);
  }
  // The container is checked whole before anything is taken from it, so that no lookup can
  // reach outside the decompressed bytes.
  const int64_t nameLength = header_[1];
  if (nameLength < 0 || nameLength > static_cast<int64_t>(size) - 16) {
    return Fail("name list length " + std::to_string(nameLength) + " outside the container");
  }
  const std::string list(reinterpret_cast<const char *>(data) + 16,
                         static_cast<size_t>(nameLength));
  TStringList names;
  names.SetText(AnsiLowerCase(list));
  const int count = names.Count();
  if (count > MaxEntries) {
    return Fail(std::to_string(count) + " names, more than " + std::to_string(MaxEntries));
  }
  const int64_t table = 16 + nameLength;
  const int64_t contents = table + 4LL * count;
  if (contents > static_cast<int64_t>(size)) {
    return Fail("size table runs past the end of the container");
  }
  int64_t total = 0;
  for (int i = 0; i < count; ++i) {
    const int32_t entrySize = ReadInt32(data + table + 4 * i);
    if (entrySize < 0) {
      return Fail("negative size " + std::to_string(entrySize) + " of \"" + names.Get(i) + "\"");
    }
    sizes_[static_cast<size_t>(i)] = entrySize;
    total += entrySize;
  }
  const int64_t available = static_cast<int64_t>(size) - contents;
  if (total > available) {
    return Fail("sizes add up to " + std::to_string(total) + " bytes, contents hold only " +
                std::to_string(available));
  }
  names_.Assign(names);
  count_ = count;
  if (available > 0) {
    contents_.WriteBuffer(data + contents, static_cast<int32_t>(available));
  }
  contents_.SetPosition(0);
  return true;
}

void TSkinReader::ReadEntry(int index, TMemoryStream &stream) {
  stream.Clear();
  if (index < 0 || index >= count_) {
    return;
  }
  int64_t offset = 0;
  for (int i = 0; i < index; ++i) {
    offset += sizes_[static_cast<size_t>(i)];
  }
  // LoadContainer guarantees the range; the clip keeps that true whatever happens to it.
  const int64_t length =
      std::min<int64_t>(sizes_[static_cast<size_t>(index)], contents_.Size() - offset);
  if (length > 0) {
    stream.WriteBuffer(contents_.Memory() + offset, static_cast<int32_t>(length));
  }
  stream.SetPosition(0);
}

void TSkinReader::readfile(const std::string &name, TMemoryStream &stream) {
  stream.Clear();
  const std::string wanted = AnsiLowerCase(name);
  for (int i = 0; i < count_; ++i) {
    if (names_.Get(i) == wanted) {
      ReadEntry(i, stream);
      return;
    }
  }
}

void TSkinReader::readIni(const std::string &pattern, TMemoryStream &stream, std::string &name) {
  stream.Clear();
  for (int i = 0; i < count_; ++i) {
    if (names_.Get(i).find(pattern) != std::string::npos) {
      ReadEntry(i, stream);
      name = names_.Get(i);
      return;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The SkinStream property

void WriteSkinStream(TStream &dest, TMemoryStream &skin) {
  const auto size = static_cast<int32_t>(skin.Size());
  const uint8_t length[4] = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                             static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
  dest.WriteBuffer(length, 4);
  if (size > 0) {
    dest.WriteBuffer(skin.Memory(), size);
  }
}

bool ReadSkinStream(TStream &source, TMemoryStream &skin) {
  uint8_t length[4];
  source.ReadBuffer(length, 4);
  const int32_t size = ReadInt32(length);
  if (size <= 0) {
    return false;
  }
  if (size > source.Size() - source.Position()) {
    throw EReadError("Skin stream declares " + std::to_string(size) + " bytes but holds " +
                     std::to_string(source.Size() - source.Position()));
  }
  skin.Clear();
  skin.SetSize(size);
  source.ReadBuffer(skin.Memory(), size);
  skin.SetPosition(0);
  return true;
}
