// Skin load: the embedded SkinStream payload to the full object model with every derived image,
// as the main window's form data loads it, for the default skin (run it under Wine).
//
//   skinload_bench [ROUNDS]     (default 21)
//
// Each round loads the skin into a new skin data component and, beside it, repeats the stages
// of that load one by one on the same bytes: decompress, unpack the container, parse the INI,
// decode every bitmap member. What the whole load costs beyond them is reading the model and
// building the derived images. Every figure is the median of its rounds.
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
  std::vector<double> whole, decompress, unpack, ini, bitmaps;
};

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
    {
      TSkinData data(nullptr);
      payload.SetPosition(0);
      s.whole.push_back(Milliseconds([&] { data.ReadData(payload); }));
      if (data.NoSkin || data.ComboArrow == nullptr || data.Borders[2]->Image->Empty())
        Fail("the skin did not load");
    }
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
  }

  const double whole = Median(s.whole);
  const double stages[] = {Median(s.decompress), Median(s.unpack), Median(s.ini),
                           Median(s.bitmaps)};
  const char *const names[] = {"decompress", "unpack container", "INI parse", "bitmap decode"};
  double rest = whole;
  std::printf("skin load, median of %d rounds: %lld bytes packed, %lld unpacked, %zu bitmaps\n",
              rounds, static_cast<long long>(skinFile.Size()), static_cast<long long>(unpackedSize),
              bitmapCount);
  std::printf("  whole load            %7.2f ms  (budget 15 ms: %s)\n", whole,
              whole < 15.0 ? "met" : "MISSED");
  for (int i = 0; i < 4; ++i) {
    std::printf("  %-20s  %7.2f ms  %5.1f%%\n", names[i], stages[i], 100.0 * stages[i] / whole);
    rest -= stages[i];
  }
  std::printf("  %-20s  %7.2f ms  %5.1f%%\n", "model, derived images", rest, 100.0 * rest / whole);
  return 0;
}
