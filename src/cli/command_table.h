#pragma once

// Everything about each command of quilloctl in one row: its name and help, the options and
// arguments it takes, the units it works on, the check it runs before any unit is touched, and
// the command itself. The dispatcher (quilloctl.cpp) reads only this table.

#include <QString>
#include <vector>

namespace quillo::cli {

class Command;

enum class Target {
    None,      // no unit chosen: the command sees the list (list)
    One,       // the unit the options choose, opened for reading and writing
    OneOrAll,  // as One, or with --all every unit of the model the check names (restore)
};

enum class Arguments { None, File, Pairs };

struct CommandRow {
    const char* name;
    const char* synopsis;
    const char* summary;
    const char* details;
    Target target = Target::One;
    Arguments arguments = Arguments::None;
    bool json = false;   // takes --json
    bool yes = false;    // takes --yes
    bool all = false;    // takes --all
    bool count = false;  // takes --count
    // Run before the units are listed; a status other than kExitDone ends the run (told).
    int (*check)(Command&) = nullptr;
    int (*run)(Command&) = nullptr;
};

const std::vector<CommandRow>& CommandTable();
const CommandRow* FindCommand(const QString& name);

QString ProgramHelp();
QString CommandHelp(const CommandRow& command);

// The commands (commands_*.cpp) and their checks.
int RunList(Command& command);
int RunShow(Command& command);
int RunBackup(Command& command);
int RunScan(Command& command);
int RunMonitor(Command& command);
int CheckSet(Command& command);
int RunSet(Command& command);
int CheckRestore(Command& command);
int RunRestore(Command& command);
int RunResetFilter(Command& command);
int RunFactoryReset(Command& command);

}  // namespace quillo::cli
