// Skin load: the embedded SkinStream payload to the full object model with every derived image,
// as the main window's form data loads it, for the default skin (run it under Wine).
//
//   skinload_bench [ROUNDS]     (default 21)
//
// Each round loads the skin into a new skin data component and, beside it, repeats the stages
// of that load one by one on the same bytes: decompress, unpack the container, parse the INI,
// decode every bitmap member, and make the derived images again (the combo box picture and
// arrow strip, the toolbar gradient) from the pictures they are made of, put back as a load
// leaves them before that step. What the whole load costs beyond these stages is reading the
// model: looking keys up, creating the elements, placing the pictures. Every figure is the
// median of its rounds.
#include "bench/bench_util.h"
#include "framework/core/streams.h"
#include "framework/gui/bitmap.h"
#include "skin/data/winskindata.h"
#include "skin/storage/skinread.h"
#include "skin/storage/winskinini.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::Fail;
using bench::Median;

double Milliseconds(const std::function<void()> &work) {
  const double start = bench::Seconds();
  work();
  return 1000.0 * (bench::Seconds() - start);
}

void LoadPayload(TMemoryStream &payload) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(10)); // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void *bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr)
    Fail("no SkinStream resource");
  payload.WriteBuffer(bytes, static_cast<int32_t>(SizeofResource(nullptr, found)));
}

struct Stages {
  std::vector<double> whole, decompress, unpack, ini, bitmaps, derived;
};

// Puts back what a derived image is made from, as the model holds it before the images are
// derived: the element's own picture (in a new bitmap, with no device context yet), its margins
// and its style.
void Unmake(TDataSkinObject &element, TSkinReader &reader, const TQuickIni &ini,
            const char *section) {
  delete element.Image;
  element.Image = new TBitmap;
  TMemoryStream bytes;
  reader.readfile(SkinImageMember(ini.ReadString(section, "Image", "")), bytes);
  element.Image->LoadFromStream(bytes);
  element.Margins =
      RECT{ini.ReadInteger(section, "LeftWidth", 0), ini.ReadInteger(section, "TopHeight", 0),
           ini.ReadInteger(section, "RightWidth", 0), ini.ReadInteger(section, "BottomHeight", 0)};
  element.Style = ini.ReadInteger(section, "Style", 0);
}

} // namespace

int main(int argc, char **argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  TMemoryStream payload;
  LoadPayload(payload);
  TMemoryStream skinFile;
  payload.SetPosition(0);
  if (!ReadSkinStream(payload, skinFile))
    Fail("the SkinStream payload does not hold a skin");

  Stages s;
  size_t bitmapCount = 0;
  int64_t unpackedSize = 0;
  for (int round = 0; round < rounds; ++round) {
    // The whole load, as reading the form data does it.
    TSkinData data(nullptr);
    payload.SetPosition(0);
    s.whole.push_back(Milliseconds([&] { data.ReadData(payload); }));
    if (data.NoSkin || data.ComboArrow == nullptr || data.Borders[2]->Image->Empty())
      Fail("the skin did not load");
    if (data.SunkEdge == nullptr || data.ComboButton == nullptr)
      Fail("the skin has no combo box picture to derive");
    // Its stages one by one.
    TMemoryStream container;
    skinFile.SetPosition(0);
    s.decompress.push_back(Milliseconds([&] { TSkinReader::Decompress(skinFile, container); }));
    unpackedSize = container.Size();
    TSkinReader reader;
    s.unpack.push_back(Milliseconds([&] {
      if (!reader.LoadContainer(static_cast<const uint8_t *>(container.Memory()),
                                static_cast<size_t>(container.Size())))
        Fail("the container did not open");
    }));
    TMemoryStream iniText;
    std::string iniName;
    reader.readIni(".ini", iniText, iniName);
    TQuickIni ini;
    s.ini.push_back(Milliseconds([&] {
      iniText.SetPosition(0);
      ini.LoadFromStream(&iniText);
    }));
    std::vector<TMemoryStream> members(static_cast<size_t>(reader.Count()));
    std::vector<TBitmap> images(members.size());
    bitmapCount = 0;
    for (int i = 0; i < reader.Count(); ++i) {
      const std::string name = reader.Names().Strings(i);
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bmp") == 0) {
        reader.ReadEntry(i, members[bitmapCount++]);
      }
    }
    s.bitmaps.push_back(Milliseconds([&] {
      for (size_t i = 0; i < bitmapCount; ++i) {
        members[i].SetPosition(0);
        images[i].LoadFromStream(members[i]);
      }
    }));
    Unmake(*data.SunkEdge, reader, ini, "SunkEdge");
    Unmake(*data.ComboButton, reader, ini, "ComboButton");
    s.derived.push_back(Milliseconds([&] {
      data.ReBuildCombobox();
      data.ReBuildComboxArrow();
      data.RebuildToolbar();
    }));
  }

  const double whole = Median(s.whole);
  const double stages[] = {Median(s.decompress), Median(s.unpack), Median(s.ini), Median(s.bitmaps),
                           Median(s.derived)};
  const char *const names[] = {"decompress", "unpack container", "INI parse", "bitmap decode",
                               "derived images"};
  double rest = whole;
  std::printf("skin load, median of %d rounds: %lld bytes packed, %lld unpacked, %zu bitmaps\n",
              rounds, static_cast<long long>(skinFile.Size()), static_cast<long long>(unpackedSize),
              bitmapCount);
  std::printf("  whole load            %7.2f ms  (budget 15 ms: %s)\n", whole,
              whole < 15.0 ? "met" : "MISSED");
  for (int i = 0; i < 5; ++i) {
    std::printf("  %-20s  %7.2f ms  %5.1f%%\n", names[i], stages[i], 100.0 * stages[i] / whole);
    rest -= stages[i];
  }
  std::printf("  %-20s  %7.2f ms  %5.1f%%\n", "model reading", rest, 100.0 * rest / whole);
  return 0;
}
