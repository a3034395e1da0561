#include <unistd.h>

#include <csignal>

#include "cli/console.h"

namespace quillo::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnSignal(int /*signal*/) {
    interrupted = 1;
}

}  // namespace

void InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() {
    return interrupted != 0;
}

void RequestInterrupt() {
    interrupted = 1;
}

void ClearInterrupt() {
    interrupted = 0;
}

bool StandardInputIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

}  // namespace quillo::cli
