#include "cli/quilloctl.h"

#include <QCommandLineParser>
#include <map>

#include "cli/command_support.h"
#include "cli/setting_keys.h"
#include "platform/program_version.h"

namespace quillo::cli {

namespace {

struct CommandInfo {
    const char* name;
    int (*run)(Command&);
    const char* synopsis;
    const char* summary;
    const char* details;
};

const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> commands = {
        {"list", RunList, "list [--json]", "the attached units",
         "Lists every attached unit, one line each: its number (as the window numbers it), its\n"
         "model, its serial number and its device path.\n"},
        {"show", RunShow, "show [--json]", "every setting and state of a unit",
         "Reads all settings of the unit as the window's \"Receive current parameters\" does,\n"
         "then its Wi-Fi, master and filter states, and prints them grouped. --json prints one\n"
         "document whose \"wifi\" and \"fan\" objects use the keys of 'set'.\n"},
        {"set", RunSet, "set KEY=VALUE...", "change settings",
         "Reads the unit, replaces the named settings, checks the whole page as the window's\n"
         "Apply/Save does and sends what that button would send; then reads the settings back.\n"
         "Nothing is sent when a key or value is refused.\n"},
        {"backup", RunBackup, "backup FILE", "save a unit's settings to a file",
         "Writes the unit's settings to FILE as JSON: format, version, model, serial number,\n"
         "date, and the \"wifi\" and \"fan\" settings under the keys of 'show --json'.\n"},
        {"restore", RunRestore, "restore FILE [--all]",
         "apply a backup to a unit, or to every unit of its model",
         "Checks the whole backup first, then writes it to the chosen unit, or with --all to\n"
         "every attached unit of the backup's model, reads each back and prints one result line\n"
         "per unit. A file that is not a backup, is of the other model or holds a bad value is\n"
         "refused and nothing is sent to any unit.\n"},
        {"scan", RunScan, "scan [--json]", "the Wi-Fi networks the unit sees",
         "Lets the unit's Wi-Fi module list the networks in range, as the window's \"Search\n"
         "Wi-Fi\" does, and prints their names. The module is always switched back afterwards,\n"
         "also after Ctrl-C or when it does not answer.\n"},
        {"reset-filter", RunResetFilter, "reset-filter", "restart the filter run time",
         "Sets the unit's filter run time back to zero.\n"},
        {"factory-reset", RunFactoryReset, "factory-reset [--yes]", "restore the default settings",
         "Restores the unit's default settings. Asks first on a terminal; elsewhere refuses\n"
         "unless --yes is given.\n"},
        {"monitor", RunMonitor, "monitor [--json] [--count N]",
         "the states, once a second, until Ctrl-C",
         "Prints the Wi-Fi state, the master state and the filter run time once a second (one\n"
         "JSON object per line with --json) until Ctrl-C, or N times with --count N.\n"},
    };
    return commands;
}

const char* const kCommonHelp =
    "Choosing the unit (needed when several are attached):\n"
    "  --device N     the unit numbered N by 'quilloctl list' and the window\n"
    "  --serial S     the unit with serial number S\n"
    "  --path P       the unit at device path P\n"
    "\n"
    "Options:\n"
    "  --json         JSON instead of text (list, show, scan, monitor)\n"
    "  --timeout MS   wait at most MS milliseconds for each answer (default 500)\n"
    "  --yes          factory-reset without asking\n"
    "  --all          restore to every attached unit of the backup's model\n"
    "  --count N      monitor: stop after N lines\n"
    "  --version      the program's version\n"
    "  --help         this text; 'quilloctl help COMMAND' or 'quilloctl COMMAND --help' for one\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  usage error, or a file that cannot be read or written\n"
    "  2  no unit attached, no such unit, or several and none chosen\n"
    "  3  the unit did not answer in time\n"
    "  4  a setting, value or backup was refused, or the unit did not take a value\n"
    "  5  the Quillo Config window or another quilloctl is using the units, or no permission\n"
    "     to open the unit\n"
    "  130 interrupted by Ctrl-C (monitor ends with 0)\n"
    "\n"
    "Environment:\n"
    "  QUILLO_SIMULATE=solvi,pargo  simulated units instead of real ones\n"
    "  QUILLO_TRACE=FILE            append every report written or received to FILE\n";

QString ProgramHelp() {
    QString text = QStringLiteral(
        "Usage: quilloctl [options] COMMAND [arguments]\n"
        "\n"
        "Reads and changes the settings of Aldrun Quillo fans attached by USB.\n"
        "\n"
        "Commands:\n");
    for (const CommandInfo& command : Commands()) {
        text += QStringLiteral("  %1%2\n")
                    .arg(QString::fromLatin1(command.synopsis), -28)
                    .arg(QString::fromLatin1(command.summary));
    }
    text += QStringLiteral("  %1%2\n\n")
                .arg(QStringLiteral("help [COMMAND]"), -28)
                .arg(QStringLiteral("this text, or a command's"));
    return text + QString::fromLatin1(kCommonHelp);
}

// The keys 'set' takes, for its help.
QString KeysHelp() {
    QString text =
        QStringLiteral("\nKeys (values as 'show --json' prints them; on/off for flags):\n");
    for (const auto model : {protocol::unit::Model::Single, protocol::unit::Model::Paired}) {
        for (const SettingKey* key : KeysFor(model)) {
            const QString name = KeyName(*key);
            if (model == protocol::unit::Model::Paired &&
                FindKey(name, protocol::unit::Model::Single) != nullptr) {
                continue;
            }
            QString label = KeyLabel(*key);
            if (FindKey(name, protocol::unit::Model::Paired) == nullptr) {
                label += QStringLiteral(" (Solvi)");
            } else if (FindKey(name, protocol::unit::Model::Single) == nullptr) {
                label += QStringLiteral(" (Pargo)");
            }
            text += QStringLiteral("  %1%2\n").arg(name, -22).arg(label);
        }
    }
    return text + QStringLiteral(
                      "\nExample: quilloctl set mode=master connection=with-router "
                      "wifi-name=Home wifi-password=secret123\n");
}

QString CommandHelp(const CommandInfo& command) {
    QString text =
        QStringLiteral("Usage: quilloctl [unit] %1\n\n%2")
            .arg(QString::fromLatin1(command.synopsis), QString::fromLatin1(command.details));
    if (QLatin1String(command.name) == QLatin1String("set")) {
        text += KeysHelp();
    }
    return text + QStringLiteral("\n") + QString::fromLatin1(kCommonHelp);
}

const CommandInfo* FindCommand(const QString& name) {
    for (const CommandInfo& command : Commands()) {
        if (name == QLatin1String(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

std::optional<int> PositiveNumber(const QString& text) {
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && number > 0 ? std::optional<int>(number) : std::nullopt;
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
        const CommandInfo* command = FindCommand(topic);
        if (command == nullptr) {
            err << topic << ": no such command (see quilloctl --help)\n";
            return kExitUsage;
        }
        *context.out << CommandHelp(*command);
        return kExitDone;
    }

    const CommandInfo* info = FindCommand(positional.front());
    if (info == nullptr) {
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
            err << "--device: expected a unit number from 1\n";
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
            err << "--timeout: expected milliseconds from 1 to 600000\n";
            return kExitUsage;
        }
        options.timeout = std::chrono::milliseconds(*ms);
    }
    if (parser.isSet(count)) {
        options.count = PositiveNumber(parser.value(count));
        if (!options.count) {
            err << "--count: expected a number from 1\n";
            return kExitUsage;
        }
    }
    const std::map<QString, bool> onlyFor = {
        {QStringLiteral("--all"), options.all && options.command != u"restore"},
        {QStringLiteral("--count"), options.count && options.command != u"monitor"},
        {QStringLiteral("--yes"), options.yes && options.command != u"factory-reset"},
        {QStringLiteral("--json"),
         options.json && !(options.command == u"list" || options.command == u"show" ||
                           options.command == u"scan" || options.command == u"monitor")},
    };
    for (const auto& [option, misplaced] : onlyFor) {
        if (misplaced) {
            err << option << " does not apply to " << options.command << "\n";
            return kExitUsage;
        }
    }
    if (options.all && chosen > 0) {
        err << "--all restores to every unit of the backup's model; leave out the unit choice.\n";
        return kExitUsage;
    }
    const bool takesArguments =
        options.command == u"set" || options.command == u"backup" || options.command == u"restore";
    if (!takesArguments && !options.arguments.isEmpty()) {
        err << options.command << ": unexpected argument " << options.arguments.front() << "\n";
        return kExitUsage;
    }
    if (context.holdUnitLock) {
        const int locked = context.holdUnitLock();
        if (locked != kExitDone) {
            return locked;
        }
    }
    Command command(context, options);
    const int status = info->run(command);
    context.out->flush();
    err.flush();
    return status;
}

}  // namespace quillo::cli
