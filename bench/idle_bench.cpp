// The window left alone: one and four simulated units, the first chosen and polled once a second
// as the window does from its start. Prints the wake-ups per second of all the program's threads
// and its CPU, over 10 s after the first read chain has ended: once as started, with the focus in
// the device selector, whose caret blinks twice a second while the window is active, and once
// without a focused text field, as when the window is in the background (Qt stops the caret).
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>
#include <string>

#include "lang/message_table.h"
#include "process_activity.h"
#include "sim/sim_backend.h"
#include "ui/form1.h"

namespace {

void IdleWindow(int units, bool caret) {
    auto backend = std::make_shared<quillo::sim::SimBackend>();
    for (int i = 0; i < units; ++i) {
        backend->plugUnit(i % 2 == 0 ? quillo::sim::Model::Solvi : quillo::sim::Model::Pargo,
                          false);
    }
    quillo::ui::Form1 form(backend);
    form.show();
    // Let the unit be chosen and its first read chain end.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (!caret && QApplication::focusWidget() != nullptr) {
        QApplication::focusWidget()->clearFocus();
    }
    const quillo::bench::Activity before = quillo::bench::ProcessActivity();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(10000, Qt::PreciseTimer, QCoreApplication::instance(),
                       &QCoreApplication::quit);
    QApplication::exec();
    const std::string what = "window, " + std::to_string(units) + " unit(s), one polled, " +
                             (caret ? "caret blinking" : "no caret");
    quillo::bench::PrintIdle(what.c_str(), before, static_cast<double>(wall.elapsed()) / 1000.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    quillo::lang::LanguageIndex = 1;
    for (const bool caret : {true, false}) {
        IdleWindow(1, caret);
        IdleWindow(4, caret);
    }
    return 0;
}
