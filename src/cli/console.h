#pragma once

// The console as quilloctl needs it, one implementation per system. Ctrl-C and termination
// requests only set a flag, which the waits of quilloctl check, so that a command can still
// finish what must not be left half done (the scan's closing sequence).

namespace quillo::cli {

// Routes Ctrl-C (and SIGTERM, or the console's close and break events) to the flag.
void InstallInterruptHandler();
bool Interrupted();
// What the handler does; tests call it directly.
void RequestInterrupt();
void ClearInterrupt();

// Whether standard input is a terminal (a person who can be asked).
bool StandardInputIsTerminal();

}  // namespace quillo::cli
