// The window left alone: one and four simulated units, the first chosen and polled once a second
// as the window does from its start. Prints the wake-ups per second of all the program's threads
// and its CPU, over 10 s after the first read chain has ended: once as started, with the focus in
// the device selector, whose caret blinks twice a second while the window is active, and once
// without a focused text field, as when the window is in the background (Qt stops the caret).
//
// For scale, a bare Qt window woken five times a second by a timer is measured first: what the
// event loop alone costs at the wake-up goal, on this machine.
//
// With --attached the units are the ones attached to this machine (the system's HID layer, or
// QUILLO_SIMULATE), as the program itself finds them: the real kernel's test runs it over its
// uhid units, whose answers take the time a kernel round trip takes.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <cstring>
#include <memory>
#include <string>

#include "backend_choice/backend_choice.h"
#include "idle_run.h"
#include "lang/message_table.h"
#include "sim/sim_backend.h"
#include "ui/form1.h"

namespace {

std::shared_ptr<quillo::hid::platform::Backend> SimulatedUnits(int units) {
    auto backend = std::make_shared<quillo::sim::SimBackend>();
    for (int i = 0; i < units; ++i) {
        backend->plugUnit(i % 2 == 0 ? quillo::sim::Model::Solvi : quillo::sim::Model::Pargo,
                          false);
    }
    return backend;
}

// Lets the event loop run for `ms` before a measurement starts.
void Settle(int ms) {
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

void IdleWindow(const std::shared_ptr<quillo::hid::platform::Backend>& backend,
                const std::string& units, bool caret) {
    quillo::ui::Form1 form(backend);
    form.show();
    Settle(2000);  // the unit is chosen and its first read chain ends
    if (!caret && QApplication::focusWidget() != nullptr) {
        QApplication::focusWidget()->clearFocus();
    }
    quillo::bench::RunIdleAndPrint(
        "window, " + units + ", one polled, " + (caret ? "caret blinking" : "no caret"),
        &QApplication::exec);
}

void BareWindowTicking() {
    QWidget window;
    window.resize(640, 480);
    const QLabel label(QStringLiteral("Quillo"), &window);
    window.show();
    QTimer ticks;
    ticks.start(200);
    Settle(1000);
    quillo::bench::RunIdleAndPrint("bare Qt window, a 200 ms timer (the event loop alone)",
                                   &QApplication::exec);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const bool attached = argc > 1 && std::strcmp(argv[1], "--attached") == 0;
    QApplication app(argc, argv);
    quillo::lang::LanguageIndex = 1;
    BareWindowTicking();
    for (const bool caret : {true, false}) {
        if (attached) {
            IdleWindow(quillo::backend_choice::ChooseBackend(), "the attached units", caret);
            continue;
        }
        IdleWindow(SimulatedUnits(1), "1 unit(s)", caret);
        IdleWindow(SimulatedUnits(4), "4 unit(s)", caret);
    }
    return 0;
}
