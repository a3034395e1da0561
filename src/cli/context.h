#pragma once

// What quilloctl runs with and how it ends: the exit statuses and the context a run is given
// (the backend, the streams, and the program's own services), so that tests run it in-process
// over simulated units.

#include <QString>
#include <QTextStream>
#include <functional>
#include <memory>

#include "hid/platform/hid_backend.h"

namespace quillo::cli {

enum ExitStatus {
    kExitDone = 0,
    kExitUsage = 1,
    kExitNoUnit = 2,    // no unit, or several and none chosen
    kExitNoAnswer = 3,  // the unit did not answer in time, or a write did not go out
    kExitRefused = 4,   // a value, a combination or a backup file was refused, or not taken
    kExitBusy = 5,      // another program holds the units, or no permission
    kExitInterrupted = 130,
};

struct CliContext {
    std::shared_ptr<hid::platform::Backend> backend;
    QTextStream* out = nullptr;
    QTextStream* err = nullptr;
    // Whether standard input is a terminal, and how a confirmation is read from it.
    bool inputIsTerminal = false;
    std::function<QString()> readAnswer;
    // Takes the lock that keeps the window and other copies away for the command's run;
    // returns kExitDone or kExitBusy (having said why).
    std::function<int()> holdUnitLock;
};

}  // namespace quillo::cli
