#include "app/appseams.h"

namespace {
void SleepPause(DWORD milliseconds) {
  Sleep(milliseconds);
}
} // namespace

TShellExecuteProc AppShellExecute = &ShellExecuteA;
TPauseProc AppPause = &SleepPause;
