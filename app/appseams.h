// Calls of the application that leave the process or block it, routed through replaceable
// pointers so that the tests can watch them. The program itself never changes them.
#pragma once

#include <windows.h>

#include <shellapi.h>

using TShellExecuteProc = decltype(&ShellExecuteA);
using TPauseProc = void (*)(DWORD milliseconds);

// Opens the help file and the About box's web address.
extern TShellExecuteProc AppShellExecute;
// The pause after each document of a conversion run: Sleep.
extern TPauseProc AppPause;
