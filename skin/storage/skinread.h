// The skin container reader: unpacks a skin file (compressed container of one INI and the
// bitmaps it names) and hands out its entries by name.
#pragma once

#include "framework/core/objects.h"
#include "framework/core/streams.h"
#include "framework/core/stringlist.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The one message the reader shows (a skin of an older format). Windows shows it in a message
// box captioned with the application title; elsewhere, and in tests, it is only recorded.
// Returns the previous procedure; an empty procedure restores the default.
using TSkinMessageProc = std::function<void(const std::string &text)>;
TSkinMessageProc SetSkinMessageProc(TSkinMessageProc proc);
void ShowSkinMessage(const std::string &text);
// Messages recorded by the default procedure where there is no message box (newest last).
std::vector<std::string> &RecordedSkinMessages();

class TSkinReader : public TObject {
public:
  static constexpr int32_t FormatMark = 20000;
  static constexpr int MaxEntries = 1001;
  // Skins are at most a few MB decompressed; a larger declared size is refused before any
  // decoding with ElzhException.
  static constexpr int32_t MaxSkinSize = 64 * 1024 * 1024;
  static constexpr const char *OlderSkinMessage =
      "This is Older Skin File\rPlease update to new version !";

  // Unpacks a skin file held in a stream; true on success. A wrong format mark shows the
  // older-skin message; a corrupt container returns false silently (see ErrorText).
  bool Loadfromstream(TStream &stream);
  // The same for a file; false, with no message, when the file cannot be opened.
  bool loadfromfile(const std::string &name);
  // Reads an already decompressed container.
  bool LoadContainer(const uint8_t *data, size_t size);
  static void Decompress(TStream &source, TStream &dest);

  // Clears stream and fills it with the entry named name (lower-cased); empty if missing.
  void readfile(const std::string &name, TMemoryStream &stream);
  // Clears stream and fills it with the first entry whose name contains pattern; name gets
  // that entry's name, and is left unchanged when none matches.
  void readIni(const std::string &pattern, TMemoryStream &stream, std::string &name);

  // Clears stream and fills it with entry index (0 to Count() - 1), positioned at 0.
  void ReadEntry(int index, TMemoryStream &stream);

  // What was read, for tools and tests.
  int Count() const { return count_; }
  const TStringList &Names() const { return names_; }
  int32_t Sizes(int index) const { return sizes_[static_cast<size_t>(index)]; }
  int32_t Header(int index) const { return header_[index]; }
  int64_t ContentsSize() { return contents_.Size(); }
  // Why the last load failed, or "" after a success.
  const std::string &ErrorText() const { return error_; }

private:
  void Reset();
  bool Fail(const std::string &why);

  TStringList names_;
  int count_ = 0;
  std::vector<int32_t> sizes_ = std::vector<int32_t>(MaxEntries, 0);
  TMemoryStream contents_;
  int32_t header_[4] = {0, 0, 0, 0};
  std::string error_;
};

// The SkinStream property of form data: a 4-byte length S, then S bytes of skin file; S = 0
// stands for no skin.
void WriteSkinStream(TStream &dest, TMemoryStream &skin);
// Returns false (skin untouched) for S <= 0. Raises EReadError when S exceeds what the source
// holds, before allocating anything.
bool ReadSkinStream(TStream &source, TMemoryStream &skin);
