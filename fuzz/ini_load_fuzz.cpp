// The INI loader and its lookups on arbitrary text; the first line of the input also serves as
// a section and key name so that lookups hit real entries.
#include "framework/core/streams.h"
#include "skin/storage/winskinini.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  TMemoryStream stream;
  if (size > 0) {
    stream.WriteBuffer(data, static_cast<int32_t>(size));
  }
  stream.SetPosition(0);
  TQuickIni ini;
  ini.LoadFromStream(&stream);

  TStringList sections;
  ini.ReadSections(sections);
  TStringList lines;
  for (int i = 0; i < sections.Count() && i < 8; ++i) {
    const std::string section = sections.Get(i);
    ini.ReadSection(section, lines);
    for (int k = 0; k < lines.Count() && k < 8; ++k) {
      ini.ReadString(section, lines.Get(k), "");
      ini.ReadInteger(section, lines.Get(k), 0);
    }
    ini.ReadSectionValues(section, lines);
  }
  // Writes must keep every recorded header where it is.
  if (sections.Count() > 0) {
    ini.WriteString(sections.Get(0), "fuzz", "1");
    ini.DeleteKey(sections.Get(0), "fuzz");
    ini.EraseSection(sections.Get(sections.Count() - 1));
  }
  for (const auto &section : ini.Sections()) {
    if (section.Line < 0 || section.Line >= ini.Lines().Count() ||
        !TQuickIni::IsSection(ini.Lines().Get(section.Line))) {
      std::abort();
    }
  }
  return 0;
}
