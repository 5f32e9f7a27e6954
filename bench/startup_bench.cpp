// Start-up: process start to the main window's first skinned paint, against the same program
// started unskinned (as Kestrova.exe /noskin starts), and the peak working set of each (run it
// under Wine; the harness keeps one wineserver warm for the whole run).
//
//   startup_bench [ROUNDS]     (default 9)
//
// The driver starts itself as a child ROUNDS times per side, the sides alternating S U U S ...,
// and times each child from just before CreateProcess to the line the child writes once its
// main window is painted. The child starts exactly as WinMain does (skin switch, application
// object, classes, main form from its form data), shows the main window and serves messages
// until the window is skinned (skinned side) and no paint is pending, then reports its peak
// working set and ends. A warm-up pair runs first and is not counted.
#include "app/mainform1.h"
#include "bench/win_bench_support.h"
#include "skin/data/winskindata.h"
#include "skin/form/winskinform.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using bench::Fail;
using bench::Median;
using bench::Seconds;

bool Painted(HWND window, bool skinned) {
  if (!IsWindowVisible(window))
    return false;
  if (skinned) {
    TWinSkinForm *skin = FindWinSkinForm(window);
    if (skin == nullptr || skin->SkinState != 1)
      return false;
  }
  return HIWORD(GetQueueStatus(QS_PAINT)) == 0 && !GetUpdateRect(window, nullptr, FALSE);
}

int Child(bool skinned) {
  TSkinData::StartUnskinned = !skinned;
  TApplication application(nullptr);
  TMainForm *form = bench::ShowMainWindow(application);
  const HWND window = form->Handle();
  const double give_up = Seconds() + 20;
  for (;;) {
    application.ProcessMessages();
    if (Painted(window, skinned))
      break;
    if (Seconds() > give_up)
      Fail(skinned ? "the main window was not skinned and painted" : "no first paint");
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  std::printf("painted\n");
  std::fflush(stdout);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("%llu\n", static_cast<unsigned long long>(memory.PeakWorkingSetSize));
  std::fflush(stdout);
  return 0;
}

struct Run {
  double seconds;
  double peakMB;
};

// Starts a child of the given side and times it to its "painted" line.
Run StartChild(bool skinned) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
    Fail("no pipe");
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" --child " + (skinned ? "skinned" : "plain");
  STARTUPINFOA start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = writeEnd;
  start.hStdError = writeEnd;
  start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  const double t0 = Seconds();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                      &process))
    Fail("CreateProcess failed");
  CloseHandle(writeEnd);
  std::string text;
  double painted = 0;
  char buffer[256];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    text.append(buffer, got);
    if (painted == 0 && text.find("painted") != std::string::npos)
      painted = Seconds() - t0;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(readEnd);
  if (painted == 0)
    Fail("the child did not paint: " + text);
  const size_t after = text.find("painted") + 7; // the peak follows on the next line
  return Run{painted, std::strtod(text.c_str() + after, nullptr) / (1024.0 * 1024.0)};
}

} // namespace

int main(int argc, char **argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc > 2 && std::strcmp(argv[1], "--child") == 0)
    return Child(std::strcmp(argv[2], "skinned") == 0);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

  StartChild(true);
  StartChild(false);
  std::vector<double> skinnedTimes, plainTimes, skinnedPeaks, plainPeaks;
  for (int i = 0; i < 2 * rounds; ++i) {
    const bool skinned = (i % 4 == 0) || (i % 4 == 3);
    const Run run = StartChild(skinned);
    (skinned ? skinnedTimes : plainTimes).push_back(run.seconds);
    (skinned ? skinnedPeaks : plainPeaks).push_back(run.peakMB);
  }
  const double s = Median(skinnedTimes), p = Median(plainTimes);
  const double sm = Median(skinnedPeaks), pm = Median(plainPeaks);
  std::printf("start-up to the first painted main window, median of %d starts per side\n", rounds);
  std::printf("  skinned    %7.1f ms   peak working set %6.1f MB\n", s * 1000, sm);
  std::printf("  unskinned  %7.1f ms   peak working set %6.1f MB\n", p * 1000, pm);
  std::printf("  ratio skinned/unskinned %.2f (at most 1.3)   working set %+.1f MB (at most +5)\n",
              s / p, sm - pm);
  return 0;
}
