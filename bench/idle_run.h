#pragma once

// The measuring part of the idle benches: leaves the event loop alone for 10 s and prints what
// the process did meanwhile.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <string>

#include "process_activity.h"

namespace quillo::bench {

// `exec` runs the event loop (QApplication::exec for a widgets program).
inline void RunIdleAndPrint(const std::string& what, int (*exec)() = &QCoreApplication::exec) {
    const Activity before = ProcessActivity();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(10000, Qt::PreciseTimer, QCoreApplication::instance(),
                       &QCoreApplication::quit);
    exec();
    PrintIdle(what.c_str(), before, static_cast<double>(wall.elapsed()) / 1000.0);
}

}  // namespace quillo::bench
