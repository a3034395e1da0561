// quilloctl: the command-line program. QtCore only, so that it runs without a display.

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "backend_choice/backend_choice.h"
#include "cli/console.h"
#include "cli/quilloctl.h"
#include "cli/setting_keys.h"
#include "platform/instance_lock.h"
#include "platform/program_names.h"

namespace {

// The window and quilloctl never talk to the units at once: whoever runs holds the lock, and
// the window ends at start-up while it is held, as for a second copy of itself.
int HoldUnitLock(QTextStream& err) {
    namespace system = quillo::platform;
    if (system::NamedObjectExists(system::kServiceToolName)) {
        err << quillo::cli::EnglishMessage(590) << "\n";
        return quillo::cli::kExitBusy;
    }
    if (system::NamedObjectExists(system::kUnitProgramName) ||
        system::CreateNamedObject(system::kUnitProgramName) == system::CreateResult::AlreadyHeld) {
        err << "The Quillo Config window or another quilloctl is using the units; close it and "
               "try again.\n";
        return quillo::cli::kExitBusy;
    }
    return quillo::cli::kExitDone;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quilloctl"));
    quillo::cli::InstallInterruptHandler();

    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    quillo::cli::CliContext context;
    context.out = &out;
    context.err = &err;
    context.inputIsTerminal = quillo::cli::StandardInputIsTerminal();
    context.readAnswer = [&in] { return in.readLine(); };
    context.holdUnitLock = [&err] { return HoldUnitLock(err); };
    // The simulated units when QUILLO_SIMULATE names them, else the system's HID layer.
    context.backend = quillo::backend_choice::ChooseBackend();
    return quillo::cli::RunQuilloctl(QCoreApplication::arguments().mid(1), context);
}
