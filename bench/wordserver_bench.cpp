// The client half of bench/wordserver_bench.sh: converts the given documents to .doc through
// the LibreOffice-backed Word server, as the conversion run does, and prints the seconds taken
// from creating the Application (which starts the server and, on the first Open, LibreOffice)
// to its Quit.
//   wordserver_bench.exe PROGID OUTDIR DOC...
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "framework/gui/comobj.h"

int main(int argc, char **argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: wordserver_bench PROGID OUTDIR DOC...\n");
    return 2;
  }
  CoInitialize(nullptr);
  int failures = 0;
  const auto start = std::chrono::steady_clock::now();
  try {
    OleVariant word = CreateOleObject(argv[1]);
    word.Put("Visible", OleVariant(false));
    for (int i = 3; i < argc; ++i) {
      const std::string source = argv[i];
      const std::string name = source.substr(source.find_last_of('\\') + 1);
      const std::string target =
          std::string(argv[2]) + "\\" + name.substr(0, name.rfind('.')) + ".doc";
      try {
        word.Get("Documents")
            .Call("Open",
                  {OleVariant(source), OleVariant(false), OleVariant(false), OleVariant(false)});
        word.Get("ActiveDocument").Call("SaveAs", {OleVariant(target), OleVariant(0)});
      } catch (const Exception &e) {
        std::fprintf(stderr, "%s: %s\n", source.c_str(), e.Message().c_str());
        ++failures;
      }
    }
    word.Call("Quit", {OleVariant(false)});
  } catch (const Exception &e) {
    std::fprintf(stderr, "server: %s\n", e.Message().c_str());
    return 1;
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", seconds.count());
  CoUninitialize();
  return failures == 0 ? 0 : 1;
}
