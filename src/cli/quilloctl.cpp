#include "cli/quilloctl.h"

#include <QCommandLineParser>
#include <utility>

#include "cli/command.h"
#include "cli/command_table.h"
#include "cli/terminal_text.h"
#include "hid/hid_device.h"
#include "platform/program_version.h"

namespace quillo::cli {

namespace {

std::optional<int> PositiveNumber(const QString& text) {
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && number > 0 ? std::optional<int>(number) : std::nullopt;
}

// Options that only some commands take, each with whether the command takes it.
std::vector<std::pair<const char*, bool>> MisplacedOptions(const Options& options,
                                                           const CommandRow& row) {
    return {{"--all", options.all && !row.all},
            {"--count", options.count && !row.count},
            {"--json", options.json && !row.json},
            {"--yes", options.yes && !row.yes}};
}

int CheckArguments(const Options& options, const CommandRow& row, QTextStream& err) {
    const qsizetype count = options.arguments.size();
    switch (row.arguments) {
        case Arguments::None:
            if (count > 0) {
                err << options.command << ": unexpected argument " << options.arguments.front()
                    << "\n";
                return kExitUsage;
            }
            break;
        case Arguments::File:
            if (count != 1) {
                err << "Usage: quilloctl " << row.synopsis << "\n";
                return kExitUsage;
            }
            break;
        case Arguments::Pairs:
            if (count == 0) {
                err << "Usage: quilloctl " << row.synopsis << "  ('quilloctl help " << row.name
                    << "' lists the keys)\n";
                return kExitUsage;
            }
            break;
    }
    return kExitDone;
}

// The one unit the options choose; nullptr with `status` set (and the reason told) when none
// can be used.
UnitEntry* ChooseUnit(const Options& options, UnitList& list, QTextStream& err, int& status) {
    std::vector<UnitEntry>& units = list.units();
    status = kExitNoUnit;
    if (units.empty()) {
        err << "No Aldrun Quillo unit is attached.\n";
        return nullptr;
    }
    UnitEntry* chosen = nullptr;
    if (options.device) {
        for (UnitEntry& unit : units) {
            if (unit.index == *options.device) {
                chosen = &unit;
            }
        }
        if (chosen == nullptr) {
            err << "There is no unit " << *options.device
                << "; 'quilloctl list' shows the attached units.\n";
            return nullptr;
        }
    } else if (options.path) {
        for (UnitEntry& unit : units) {
            if (unit.path == *options.path) {
                chosen = &unit;
            }
        }
        if (chosen == nullptr) {
            err << "No unit is attached at " << *options.path << ".\n";
            return nullptr;
        }
    } else if (options.serial) {
        for (UnitEntry& unit : units) {
            if (!unit.usable()) {
                continue;
            }
            UnitLink link(*unit.device, options.timeout);
            if (SerialNumber(link) == *options.serial) {
                chosen = &unit;
                break;
            }
        }
        if (chosen == nullptr) {
            err << "No attached unit has the serial number " << *options.serial << ".\n";
            return nullptr;
        }
    } else if (units.size() == 1) {
        chosen = &units.front();
    } else {
        err << "Several units are attached; choose one with --device N, --serial S or --path P:\n";
        for (const UnitEntry& unit : units) {
            err << "  " << unit.title() << "  " << TerminalText(unit.path) << "\n";
        }
        return nullptr;
    }
    if (!chosen->usable()) {
        status = kExitBusy;
        err << chosen->title() << " at " << TerminalText(chosen->path)
            << " cannot be opened for reading and writing: no permission, or another program "
               "holds it.\n";
        return nullptr;
    }
    status = kExitDone;
    return chosen;
}

// Lists the units once, chooses and opens the command's unit, and runs the command.
int Dispatch(const CommandRow& row, Command& command) {
    if (command.context().holdUnitLock) {
        const int locked = command.context().holdUnitLock();
        if (locked != kExitDone) {
            return locked;
        }
    }
    if (row.check != nullptr) {
        const int checked = row.check(command);
        if (checked != kExitDone) {
            return checked;
        }
    }
    UnitList list(command.context().backend);
    // The command sees the list and its unit only while they exist.
    const auto run = [&](UnitEntry* unit, UnitLink* link) {
        command.units = &list;
        command.unit = unit;
        command.link = link;
        const int status = row.run(command);
        command.units = nullptr;
        command.unit = nullptr;
        command.link = nullptr;
        return status;
    };
    if (row.target == Target::None || (row.target == Target::OneOrAll && command.options().all)) {
        return run(nullptr, nullptr);
    }
    int status = kExitDone;
    UnitEntry* unit = ChooseUnit(command.options(), list, command.err(), status);
    if (unit == nullptr) {
        return status;
    }
    UnitLink link(*unit->device, command.options().timeout);
    return run(unit, &link);
}

}  // namespace

int RunQuilloctl(const QStringList& arguments, CliContext& context) {
    QTextStream& err = *context.err;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption device(QStringLiteral("device"), QString(), QStringLiteral("N"));
    const QCommandLineOption serial(QStringLiteral("serial"), QString(), QStringLiteral("S"));
    const QCommandLineOption path(QStringLiteral("path"), QString(), QStringLiteral("P"));
    const QCommandLineOption timeout(QStringLiteral("timeout"), QString(), QStringLiteral("MS"));
    const QCommandLineOption count(QStringLiteral("count"), QString(), QStringLiteral("N"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption yes(QStringLiteral("yes"));
    const QCommandLineOption all(QStringLiteral("all"));
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({device, serial, path, timeout, count, json, yes, all, help, version});
    if (!parser.parse(QStringList{QStringLiteral("quilloctl")} + arguments)) {
        err << parser.errorText() << "\n(see quilloctl --help)\n";
        return kExitUsage;
    }
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(version)) {
        *context.out << "quilloctl " << QString::fromStdString(platform::ProgramVersionText())
                     << "\n";
        return kExitDone;
    }
    const bool helpCommand = !positional.isEmpty() && positional.front() == u"help";
    if (positional.isEmpty() || helpCommand || parser.isSet(help)) {
        const QString topic = helpCommand ? positional.value(1)
                                          : (positional.isEmpty() ? QString() : positional.front());
        if (topic.isEmpty()) {
            *context.out << ProgramHelp();
            return positional.isEmpty() && !parser.isSet(help) ? kExitUsage : kExitDone;
        }
        const CommandRow* command = FindCommand(topic);
        if (command == nullptr) {
            err << topic << ": no such command (see quilloctl --help)\n";
            return kExitUsage;
        }
        *context.out << CommandHelp(*command);
        return kExitDone;
    }

    const CommandRow* row = FindCommand(positional.front());
    if (row == nullptr) {
        err << positional.front() << ": no such command (see quilloctl --help)\n";
        return kExitUsage;
    }
    Options options;
    options.command = positional.front();
    options.arguments = positional.mid(1);
    options.json = parser.isSet(json);
    options.yes = parser.isSet(yes);
    options.all = parser.isSet(all);
    const int chosen =
        int(parser.isSet(device)) + int(parser.isSet(serial)) + int(parser.isSet(path));
    if (chosen > 1) {
        err << "Choose a unit with one of --device, --serial and --path.\n";
        return kExitUsage;
    }
    if (parser.isSet(device)) {
        options.device = PositiveNumber(parser.value(device));
        if (!options.device) {
            err << "--device \"" << parser.value(device)
                << "\": expected a unit number, 1 or more ('quilloctl list' shows them)\n";
            return kExitUsage;
        }
    }
    if (parser.isSet(serial)) {
        options.serial = parser.value(serial);
    }
    if (parser.isSet(path)) {
        options.path = parser.value(path);
    }
    if (parser.isSet(timeout)) {
        const std::optional<int> ms = PositiveNumber(parser.value(timeout));
        if (!ms || *ms > 600000) {
            err << "--timeout \"" << parser.value(timeout)
                << "\": expected milliseconds from 1 to 600000\n";
            return kExitUsage;
        }
        options.timeout = std::chrono::milliseconds(*ms);
    }
    if (parser.isSet(count)) {
        options.count = PositiveNumber(parser.value(count));
        if (!options.count) {
            err << "--count \"" << parser.value(count)
                << "\": expected a number of lines, 1 or more\n";
            return kExitUsage;
        }
    }
    for (const auto& [option, misplaced] : MisplacedOptions(options, *row)) {
        if (misplaced) {
            err << option << " does not apply to " << options.command << "\n";
            return kExitUsage;
        }
    }
    if (options.all && chosen > 0) {
        err << "--all restores to every unit of the backup's model; leave out the unit choice.\n";
        return kExitUsage;
    }
    if (const int status = CheckArguments(options, *row, err); status != kExitDone) {
        return status;
    }
    Command command(context, options);
    const int status = Dispatch(*row, command);
    context.out->flush();
    err.flush();
    return status;
}

}  // namespace quillo::cli
