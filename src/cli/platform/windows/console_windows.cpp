#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <io.h>

#include <atomic>
#include <cstdio>

#include "cli/console.h"

namespace quillo::cli {
namespace {

std::atomic<bool> interrupted{false};

// Runs on a thread of its own; returning TRUE keeps the process alive to finish up.
BOOL WINAPI OnConsoleEvent(DWORD /*event*/) {
    interrupted = true;
    return TRUE;
}

}  // namespace

void InstallInterruptHandler() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool Interrupted() {
    return interrupted;
}

void RequestInterrupt() {
    interrupted = true;
}

void ClearInterrupt() {
    interrupted = false;
}

bool StandardInputIsTerminal() {
    return _isatty(_fileno(stdin)) != 0;
}

}  // namespace quillo::cli
