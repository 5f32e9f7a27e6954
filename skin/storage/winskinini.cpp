#include "skin/storage/winskinini.h"

#include "framework/core/streams.h"
#include "skin/storage/winconvert.h"

#include <algorithm>

namespace {

// Blanks and control characters, as the INI dialect trims them.
bool IsTrimmed(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(const std::string &s) {
  size_t first = 0;
  size_t last = s.size();
  while (first < last && IsTrimmed(s[first])) {
    ++first;
  }
  while (last > first && IsTrimmed(s[last - 1])) {
    --last;
  }
  return s.substr(first, last - first);
}

std::string LowerAscii(std::string s) {
  for (char &c : s) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c + ('a' - 'A'));
    }
  }
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

} // namespace

bool TryStrToInt(const std::string &text, int32_t &value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') {
    ++i;
  }
  const std::string s = text.substr(i);
  if (s.empty()) {
    return false;
  }
  size_t digits = 0;
  if (s[0] == '$' || s[0] == 'x' || s[0] == 'X') {
    digits = 1;
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    digits = 2;
  }
  if (digits != 0) {
    const size_t count = s.size() - digits;
    if (count < 1 || count > 8) {
      return false;
    }
    uint32_t pattern = 0;
    for (size_t k = digits; k < s.size(); ++k) {
      const int d = HexDigit(s[k]);
      if (d < 0) {
        return false;
      }
      pattern = (pattern << 4) | static_cast<uint32_t>(d);
    }
    value = static_cast<int32_t>(pattern);
    return true;
  }
  size_t k = 0;
  const bool negative = s[0] == '-';
  if (s[0] == '+' || s[0] == '-') {
    k = 1;
  }
  if (k == s.size()) {
    return false;
  }
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t magnitude = 0;
  for (; k < s.size(); ++k) {
    if (s[k] < '0' || s[k] > '9') {
      return false;
    }
    magnitude = magnitude * 10 + (s[k] - '0');
    if (magnitude > limit) {
      return false;
    }
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

// ---------------------------------------------------------------------------------------------
// Loading and saving

void TQuickIni::LoadFromStream(TStream *stream) {
  if (stream == nullptr) {
    return;
  }
  const int64_t left = std::max<int64_t>(stream->Size() - stream->Position(), 0);
  if (left > INT32_MAX) {
    throw EReadError("INI text too large");
  }
  std::string text(static_cast<size_t>(left), '\0');
  if (!text.empty()) {
    stream->ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
  }
  // Text after a 0 byte is ignored.
  text.resize(std::min(text.size(), text.find('\0')));

  Clear();
  lines_.BeginUpdate();
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      end = text.size();
    }
    const std::string line = Trim(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') {
      ++pos;
    }
    if (pos < text.size() && text[pos] == '\n') {
      ++pos;
    }
    if (line.empty() || line[0] == ';') {
      continue;
    }
    if (IsSection(line)) {
      sections_.push_back(TIniSection{line, lines_.Count()});
    }
    lines_.Add(line);
  }
  lines_.EndUpdate();
}

void TQuickIni::LoadFromFile(const std::string &name) {
  TFileStream file(name, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&file);
}

void TQuickIni::LoadFromZip(const std::string &name) {
  TMemoryStream packed;
  packed.LoadFromFile(name);
  TMemoryStream text;
  Decompress(packed, text);
  text.SetPosition(0);
  LoadFromStream(&text);
}

void TQuickIni::SaveToStream(TStream *stream) const {
  if (stream != nullptr) {
    lines_.SaveToStream(*stream);
  }
}

void TQuickIni::SaveToFile(const std::string &name) const {
  TFileStream file(name, fmCreate);
  SaveToStream(&file);
}

void TQuickIni::SavetoZip(const std::string &name) const {
  TMemoryStream text;
  SaveToStream(&text);
  TMemoryStream packed;
  Compress(text, packed);
  packed.SaveToFile(name);
}

void TQuickIni::Compress(TStream &source, TStream &dest) {
  LZHCompressStream(source, dest);
}

void TQuickIni::Decompress(TStream &source, TStream &dest) {
  LZHDecompressStream(source, dest, MaxZipSize);
}

void TQuickIni::SetIniFile(const TStrings &strings) {
  lines_.Assign(strings);
  RebuildSections();
}

void TQuickIni::RebuildSections() {
  DropIndex();
  sections_.clear();
  for (int i = 0; i < lines_.Count(); ++i) {
    const std::string &line = lines_.Get(i);
    if (!line.empty() && line.front() == '[' && line.back() == ']') {
      sections_.push_back(TIniSection{Trim(line), i});
    }
  }
}

void TQuickIni::Clear() {
  lines_.Clear();
  sections_.clear();
  DropIndex();
}

// ---------------------------------------------------------------------------------------------
// Lookup

void TQuickIni::BuildIndex() const {
  if (indexed_) {
    return;
  }
  lineIndex_.clear();
  lineIndex_.reserve(static_cast<size_t>(lines_.Count()));
  for (int i = 0; i < lines_.Count(); ++i) {
    const std::string line = lines_.Get(i);
    const size_t eq = line.find('=');
    lineIndex_.push_back(IndexedLine{
        GetName(line), eq == std::string::npos ? std::string() : Trim(line.substr(eq + 1)),
        IsSection(line)});
  }
  foldedSections_.clear();
  for (const TIniSection &entry : sections_) {
    foldedSections_.push_back(AnsiLowerCase(entry.Text));
  }
  indexed_ = true;
}

void TQuickIni::DropIndex() const {
  indexed_ = false;
  lineIndex_.clear();
  foldedSections_.clear();
}

int TQuickIni::GetSectionIndex(const std::string &section) const {
  BuildIndex();
  const std::string header = AnsiLowerCase("[" + section + "]");
  for (size_t i = 0; i < foldedSections_.size(); ++i) {
    if (foldedSections_[i] == header) {
      return sections_[i].Line;
    }
  }
  return -1;
}

bool TQuickIni::IsSection(const std::string &line) {
  const std::string s = Trim(line);
  return s.size() >= 2 && s.front() == '[' && s.back() == ']';
}

std::string TQuickIni::GetName(const std::string &line) {
  const size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : LowerAscii(Trim(line.substr(0, eq)));
}

std::string TQuickIni::GetValue(const std::string &line, const std::string &name) {
  if (line.empty() || name.empty() || GetName(line) != name) {
    return std::string();
  }
  return Trim(line.substr(line.find('=') + 1));
}

TQuickIni::LineRange TQuickIni::SectionLines(const std::string &section) const {
  const int header = GetSectionIndex(section);
  if (header < 0) {
    return LineRange{-1, 0, 0};
  }
  int end = header + 1;
  while (end < lines_.Count() && !lineIndex_[static_cast<size_t>(end)].header) {
    ++end;
  }
  return LineRange{header, header + 1, end};
}

int TQuickIni::FindKey(LineRange range, const std::string &key) const {
  BuildIndex();
  const std::string name = LowerAscii(key);
  for (int i = range.first; i < range.end; ++i) {
    if (lineIndex_[static_cast<size_t>(i)].name == name) {
      return i;
    }
  }
  return -1;
}

// ---------------------------------------------------------------------------------------------
// Reading

std::string TQuickIni::ReadString(const std::string &section, const std::string &key,
                                  const std::string &defaultValue) const {
  const int line = FindKey(SectionLines(section), key);
  // An empty key finds a line without a name, and such a line has no value.
  if (line < 0 || key.empty()) {
    return defaultValue;
  }
  const std::string &value = lineIndex_[static_cast<size_t>(line)].value;
  return value.empty() ? defaultValue : value;
}

int32_t TQuickIni::ReadInteger(const std::string &section, const std::string &key,
                               int32_t defaultValue) const {
  int32_t value = 0;
  return TryStrToInt(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool TQuickIni::ReadBool(const std::string &section, const std::string &key,
                         bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TQuickIni::ReadSection(const std::string &section, TStrings &strings) const {
  strings.BeginUpdate();
  strings.Clear();
  const LineRange range = SectionLines(section);
  for (int i = range.first; i < range.end; ++i) {
    const std::string name = GetName(lines_.Get(i));
    if (!name.empty()) {
      strings.Add(name);
    }
  }
  strings.EndUpdate();
}

void TQuickIni::ReadSectionValues(const std::string &section, TStrings &strings) const {
  strings.BeginUpdate();
  strings.Clear();
  const LineRange range = SectionLines(section);
  for (int i = range.first; i < range.end; ++i) {
    if (!lines_.Get(i).empty()) {
      strings.Add(lines_.Get(i));
    }
  }
  strings.EndUpdate();
}

void TQuickIni::ReadSections(TStrings &strings) const {
  strings.BeginUpdate();
  strings.Clear();
  for (const TIniSection &entry : sections_) {
    const std::string header = Trim(entry.Text);
    strings.Add(Trim(header.substr(1, header.size() - 2)));
  }
  strings.EndUpdate();
}

// ---------------------------------------------------------------------------------------------
// Writing

void TQuickIni::WriteString(const std::string &section, const std::string &key,
                            const std::string &value) {
  const LineRange range = SectionLines(section);
  const std::string line = key + "=" + value;
  if (range.header < 0) {
    lines_.Add("[" + section + "]");
    if (!key.empty()) {
      lines_.Add(line);
    }
  } else if (!key.empty()) {
    const int found = FindKey(range, key);
    if (found >= 0) {
      lines_.Put(found, line);
    } else {
      lines_.Insert(range.end, line);
    }
  }
  RebuildSections();
}

void TQuickIni::WriteInteger(const std::string &section, const std::string &key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TQuickIni::WriteBool(const std::string &section, const std::string &key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TQuickIni::DeleteKey(const std::string &section, const std::string &key) {
  const int found = FindKey(SectionLines(section), key);
  if (found >= 0) {
    lines_.Delete(found);
    RebuildSections();
  }
}

void TQuickIni::EraseSection(const std::string &section) {
  const LineRange range = SectionLines(section);
  if (range.header < 0) {
    return;
  }
  lines_.BeginUpdate();
  for (int i = range.end - 1; i >= range.header; --i) {
    lines_.Delete(i);
  }
  if (range.header > 0) {
    lines_.Insert(range.header, "");
  }
  lines_.EndUpdate();
  RebuildSections();
}
