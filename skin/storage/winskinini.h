// An INI text held in memory: the skin's description is read through it.
//
// The dialect: lines are trimmed, comment (";") and blank lines are dropped on loading, section
// lookup ignores case, key lookup ignores the case of ASCII letters, and the first occurrence of
// a duplicated section or key wins.
#pragma once

#include "framework/core/objects.h"
#include "framework/core/stringlist.h"

#include <cstdint>
#include <string>
#include <vector>

class TStream;

// The integer text of skins and of the start number: leading blanks, then an optional sign and
// decimal digits within the signed 32-bit range, or "$", "x", "X", "0x" or "0X" and one to
// eight hexadecimal digits taken as a 32-bit pattern. Nothing may follow.
bool TryStrToInt(const std::string &text, int32_t &value);

class TQuickIni : public TObject {
public:
  // Compressed INI files are rejected beyond this declared size (an INI is a few kilobytes).
  static constexpr int32_t MaxZipSize = 64 * 1024 * 1024;

  struct TIniSection {
    std::string Text; // the header, trimmed, brackets included
    int Line;         // its position in Lines
  };

  TQuickIni() = default;

  // Loading and saving. A null stream does nothing.
  void LoadFromStream(TStream *stream);
  void LoadFromFile(const std::string &name);
  void LoadFromZip(const std::string &name);
  void SaveToStream(TStream *stream) const;
  void SaveToFile(const std::string &name) const;
  void SavetoZip(const std::string &name) const;
  // The compressed stream: 4-byte size, then the LZH bit stream.
  static void Compress(TStream &source, TStream &dest);
  static void Decompress(TStream &source, TStream &dest);
  // Takes the lines as they are and rebuilds the section table from them.
  void SetIniFile(const TStrings &strings);
  void RebuildSections();
  void Clear();

  // Reading. Section names are given without brackets.
  std::string ReadString(const std::string &section, const std::string &key,
                         const std::string &defaultValue) const;
  int32_t ReadInteger(const std::string &section, const std::string &key,
                      int32_t defaultValue) const;
  bool ReadBool(const std::string &section, const std::string &key, bool defaultValue) const;
  void ReadSection(const std::string &section, TStrings &strings) const;
  void ReadSectionValues(const std::string &section, TStrings &strings) const;
  void ReadSections(TStrings &strings) const;

  // Writing: keeps the section table in step with the lines.
  void WriteString(const std::string &section, const std::string &key, const std::string &value);
  void WriteInteger(const std::string &section, const std::string &key, int32_t value);
  void WriteBool(const std::string &section, const std::string &key, bool value);
  void DeleteKey(const std::string &section, const std::string &key);
  void EraseSection(const std::string &section);

  // Position of the section's header in Lines, or -1.
  int GetSectionIndex(const std::string &section) const;
  static bool IsSection(const std::string &line);
  // Text before the first "=", trimmed, ASCII letters in lower case; "" without "=".
  static std::string GetName(const std::string &line);
  // The trimmed text after the first "=" if the line's name is name (already lower case).
  static std::string GetValue(const std::string &line, const std::string &name);

  const TStringList &Lines() const { return lines_; }
  const std::vector<TIniSection> &Sections() const { return sections_; }
  std::string FileName;

private:
  // The lines of a section: [first, end) in Lines after its header (header -1: missing).
  struct LineRange {
    int header;
    int first;
    int end;
  };
  LineRange SectionLines(const std::string &section) const;
  // The first line of the range whose name is key in lower case, or -1.
  int FindKey(LineRange range, const std::string &key) const;

  // What lookups need of the lines, made by the first lookup after the lines change (a skin
  // load reads hundreds of keys): per line its name as GetName gives it, its trimmed value and
  // whether it is a section header; per section its header in lower case.
  struct IndexedLine {
    std::string name;
    std::string value;
    bool header;
  };
  void BuildIndex() const;
  void DropIndex() const;

  TStringList lines_;
  std::vector<TIniSection> sections_;
  mutable bool indexed_ = false;
  mutable std::vector<IndexedLine> lineIndex_;
  mutable std::vector<std::string> foldedSections_;
};
