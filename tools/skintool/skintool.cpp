#include "tools/skintool/skintool.h"

#include "framework/core/streams.h"
#include "framework/core/stringlist.h"
#include "skin/storage/skinread.h"
#include "skin/storage/skinwrite.h"
#include "skin/storage/winconvert.h"
#include "tools/skintool/files.h"
#ifdef _WIN32
#include "tools/skintool/check.h"
#endif

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

namespace skintool {

const char *const UsageText =
    "usage: skintool COMMAND ARGS\n"
    "  compress IN OUT      LZH-compress a file (4-byte size, then the bit stream)\n"
    "  decompress IN OUT    expand a compressed file\n"
    "  pack DIR OUT         build a skin file from the .ini and the .bmp files in DIR\n"
    "  unpack SKIN DIR      write every file of a skin into DIR\n"
    "  list SKIN            show the container: mark, name list length, files, sizes\n"
    "  stream SKIN OUT      write the form-data payload: 4-byte length, then the skin file\n"
#ifdef _WIN32
    "  check SKIN           read the skin through the object model: each element with its\n"
    "                       image size and frame count, and warnings for what draws badly\n"
#endif
    ;

namespace {

// Bad input: reported as "skintool: FILE: WHAT", exit code 1.
struct BadInput {
  std::string file;
  std::string what;
};

std::string Lower(const std::string &s) {
  return AnsiLowerCase(s);
}

bool EndsWith(const std::string &s, const std::string &tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<uint8_t> ReadFile(const std::string &name) {
  TMemoryStream stream;
  try {
    stream.LoadFromFile(name);
  } catch (const EFOpenError &) {
    throw BadInput{name, "cannot open the file"};
  } catch (const EStreamError &e) {
    throw BadInput{name, e.Message()};
  }
  return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

void WriteFile(const std::string &name, const std::vector<uint8_t> &bytes) {
  try {
    TFileStream file(name, fmCreate);
    if (!bytes.empty()) {
      file.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    }
  } catch (const EFCreateError &) {
    throw BadInput{name, "cannot create the file"};
  } catch (const EStreamError &e) {
    throw BadInput{name, e.Message()};
  }
}

std::vector<uint8_t> StreamBytes(TMemoryStream &stream) {
  return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

// Decodes a skin file into a reader, or explains why it is not one.
void LoadSkin(const std::string &name, TSkinReader &reader) {
  const std::vector<uint8_t> bytes = ReadFile(name);
  if (bytes.size() < 4) {
    throw BadInput{name, "too short to hold the 4-byte size field"};
  }
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  // The reader's older-skin notice must not open a message box in a console tool.
  std::string notice;
  TSkinMessageProc old = SetSkinMessageProc([&notice](const std::string &text) { notice = text; });
  bool loaded = false;
  try {
    loaded = reader.Loadfromstream(stream);
  } catch (const Exception &e) {
    SetSkinMessageProc(std::move(old));
    throw BadInput{name, e.Message()};
  }
  SetSkinMessageProc(std::move(old));
  if (!loaded) {
    throw BadInput{name, "does not decode to a well-formed skin container: " + reader.ErrorText()};
  }
}

// An entry name that is safe to create inside the target folder.
bool IsPlainFileName(const std::string &name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("\\/:*?\"<>|") == std::string::npos &&
         std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < ' '; });
}

int Compress(const std::vector<std::string> &args, std::ostream &) {
  const std::vector<uint8_t> input = ReadFile(args[0]);
  if (input.size() > static_cast<size_t>(INT32_MAX)) {
    throw BadInput{args[0], "larger than 2 GB"};
  }
  TMemoryStream source;
  TMemoryStream dest;
  if (!input.empty()) {
    source.WriteBuffer(input.data(), static_cast<int32_t>(input.size()));
  }
  LZHCompressStream(source, dest);
  WriteFile(args[1], StreamBytes(dest));
  return 0;
}

int Decompress(const std::vector<std::string> &args, std::ostream &) {
  const std::vector<uint8_t> input = ReadFile(args[0]);
  if (input.size() < 4) {
    throw BadInput{args[0], "too short to hold the 4-byte size field"};
  }
  TMemoryStream source;
  TMemoryStream dest;
  source.WriteBuffer(input.data(), static_cast<int32_t>(input.size()));
  try {
    LZHDecompressStream(source, dest, TSkinReader::MaxSkinSize);
  } catch (const ElzhException &e) {
    throw BadInput{args[0], e.Message()};
  }
  WriteFile(args[1], StreamBytes(dest));
  return 0;
}

int Pack(const std::vector<std::string> &args, std::ostream &out) {
  const std::string &dir = args[0];
  std::vector<std::string> files;
  try {
    files = ListFiles(dir);
  } catch (const std::runtime_error &e) {
    throw BadInput{dir, e.what()};
  }
  // The INI first, then the bitmaps by lower-case name: the same folder always packs the same.
  std::vector<std::string> inis;
  std::map<std::string, std::string> bitmaps;
  for (const std::string &file : files) {
    const std::string lower = Lower(file);
    if (EndsWith(lower, ".ini")) {
      inis.push_back(file);
    } else if (EndsWith(lower, ".bmp")) {
      if (!bitmaps.emplace(lower, file).second) {
        throw BadInput{JoinPath(dir, file), "differs from another bitmap only in letter case"};
      }
    }
  }
  if (inis.size() != 1) {
    throw BadInput{dir, inis.empty() ? "holds no .ini file" : "holds more than one .ini file"};
  }
  std::vector<std::string> order = {inis.front()};
  for (const auto &entry : bitmaps) {
    order.push_back(entry.second);
  }
  TSkinWriter writer;
  for (const std::string &file : order) {
    try {
      writer.Add(Lower(file), ReadFile(JoinPath(dir, file)));
    } catch (const ESkinWriteError &e) {
      throw BadInput{JoinPath(dir, file), e.Message()};
    }
  }
  TMemoryStream skin;
  try {
    writer.SaveToStream(skin);
  } catch (const ESkinWriteError &e) {
    throw BadInput{dir, e.Message()};
  }
  WriteFile(args[1], StreamBytes(skin));
  out << "packed " << writer.Count() << " files into " << args[1] << "\n";
  return 0;
}

int Unpack(const std::vector<std::string> &args, std::ostream &out) {
  TSkinReader reader;
  LoadSkin(args[0], reader);
  for (int i = 0; i < reader.Count(); ++i) {
    if (!IsPlainFileName(reader.Names().Get(i))) {
      throw BadInput{args[0],
                     "entry name \"" + reader.Names().Get(i) + "\" is not a plain file name"};
    }
  }
  if (!MakeDirectory(args[1])) {
    throw BadInput{args[1], "cannot create the folder"};
  }
  TMemoryStream entry;
  for (int i = 0; i < reader.Count(); ++i) {
    reader.ReadEntry(i, entry);
    WriteFile(JoinPath(args[1], reader.Names().Get(i)), StreamBytes(entry));
  }
  out << "unpacked " << reader.Count() << " files into " << args[1] << "\n";
  return 0;
}

int List(const std::vector<std::string> &args, std::ostream &out) {
  TSkinReader reader;
  LoadSkin(args[0], reader);
  out << "mark " << reader.Header(0) << "\n";
  out << "name list " << reader.Header(1) << " bytes\n";
  int64_t sum = 0;
  for (int i = 0; i < reader.Count(); ++i) {
    out << "  " << reader.Names().Get(i) << " " << reader.Sizes(i) << "\n";
    sum += reader.Sizes(i);
  }
  out << reader.Count() << " files, sizes " << sum << " bytes, contents " << reader.ContentsSize()
      << " bytes\n";
  return 0;
}

int Stream(const std::vector<std::string> &args, std::ostream &) {
  TSkinReader reader;
  LoadSkin(args[0], reader); // only well-formed skins go into form data
  const std::vector<uint8_t> bytes = ReadFile(args[0]);
  TMemoryStream skin;
  skin.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  TMemoryStream payload;
  WriteSkinStream(payload, skin);
  WriteFile(args[1], StreamBytes(payload));
  return 0;
}

#ifdef _WIN32
int Check(const std::vector<std::string> &args, std::ostream &out) {
  TSkinReader reader;
  LoadSkin(args[0], reader); // explains a file that is not a skin
  CheckSkin(ReadFile(args[0]), out);
  return 0;
}
#endif

struct Command {
  size_t argCount;
  std::function<int(const std::vector<std::string> &, std::ostream &)> run;
};

} // namespace

int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
  static const std::map<std::string, Command> commands = {
      {"compress", {2, Compress}}, {"decompress", {2, Decompress}},
      {"pack", {2, Pack}},         {"unpack", {2, Unpack}},
      {"list", {1, List}},         {"stream", {2, Stream}},
#ifdef _WIN32
      {"check", {1, Check}},
#endif
  };
  const auto command = args.empty() ? commands.end() : commands.find(args[0]);
  if (command == commands.end() || args.size() != command->second.argCount + 1) {
    err << UsageText;
    return 2;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  try {
    return command->second.run(rest, out);
  } catch (const BadInput &bad) {
    err << "skintool: " << bad.file << ": " << bad.what << "\n";
  } catch (const Exception &e) {
    err << "skintool: " << rest[0] << ": " << e.Message() << "\n";
  } catch (const std::exception &e) {
    err << "skintool: " << rest[0] << ": " << e.what() << "\n";
  }
  return 1;
}

} // namespace skintool
