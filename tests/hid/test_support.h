#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace quillo::hid::test {

// Runs the event loop until `done` holds or `timeoutMs` passed; returns `done()`.
inline bool ProcessUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return done();
}

// Runs the event loop for `ms` milliseconds.
inline void ProcessFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

}  // namespace quillo::hid::test
