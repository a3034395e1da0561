#include "cli/command_table.h"

#include <algorithm>
#include <cstring>

#include "cli/setting_keys.h"
#include "unit_model/unit_identity.h"

namespace quillo::cli {

using protocol::unit::Model;

const std::vector<CommandRow>& CommandTable() {
    static const std::vector<CommandRow> commands = {
        {.name = "list",
         .synopsis = "list [--json]",
         .summary = "the attached units",
         .details = "Lists every attached unit, one line each: its number (as the window numbers\n"
                    "it), its model, its serial number and its device path.\n",
         .target = Target::None,
         .json = true,
         .run = RunList},
        {.name = "show",
         .synopsis = "show [--json]",
         .summary = "every setting and state of a unit",
         .details =
             "Reads all settings of the unit as the window's \"Receive current parameters\" does,\n"
             "then its Wi-Fi, master and filter states, and prints them grouped. --json prints "
             "one\n"
             "document whose \"wifi\" and \"fan\" objects use the keys of 'set'.\n",
         .json = true,
         .run = RunShow},
        {.name = "set",
         .synopsis = "set KEY=VALUE...",
         .summary = "change settings",
         .details =
             "Reads the unit, replaces the named settings, checks the whole page as the window's\n"
             "Apply/Save does and sends what that button would send; then reads the settings back\n"
             "and fails (status 4) for any value the unit does not hold as asked. Nothing is sent\n"
             "when a key or value is refused, or when the unit's mode would not carry a value as\n"
             "asked (a master without router always has the master IP address 192.168.4.1).\n"
             "A setting the unit's mode does not use (the slave number of a master, the channel\n"
             "of a unit that joins a router) is stored in the unit all the same and used once\n"
             "the mode changes.\n",
         .arguments = Arguments::Pairs,
         .check = CheckSet,
         .run = RunSet},
        {.name = "backup",
         .synopsis = "backup FILE",
         .summary = "save a unit's settings to a file",
         .details =
             "Writes the unit's settings to FILE as JSON: format, version, model, serial number,\n"
             "date, the Wi-Fi name's bytes, and the \"wifi\" and \"fan\" settings under the keys\n"
             "of 'show --json'. The file may be edited: an edited \"wifi-name\" wins and goes out\n"
             "as UTF-8; \"wifi-name-bytes\" only keeps an unedited name exact. When the unit "
             "holds\n"
             "what its mode's rules refuse (a name over 32 bytes on a slave), it says so: restore\n"
             "refuses that file as it stands.\n",
         .arguments = Arguments::File,
         .run = RunBackup},
        {.name = "restore",
         .synopsis = "restore FILE [--all]",
         .summary = "apply a backup to a unit, or to every unit of its model",
         .details =
             "Checks the whole backup first, then writes every setting of it to the chosen unit,\n"
             "or with --all to every attached unit of the backup's model, whatever mode the unit\n"
             "is in; reads each back and prints one result line per unit. A file that is not a\n"
             "backup, is of the other model or holds a bad value is refused and nothing is sent\n"
             "to any unit.\n",
         .target = Target::OneOrAll,
         .arguments = Arguments::File,
         .all = true,
         .check = CheckRestore,
         .run = RunRestore},
        {.name = "scan",
         .synopsis = "scan [--json]",
         .summary = "the Wi-Fi networks the unit sees",
         .details =
             "Lets the unit's Wi-Fi module list the networks in range, as the window's \"Search\n"
             "Wi-Fi\" does, and prints their names. The module is always switched back "
             "afterwards,\n"
             "also after Ctrl-C or when it does not answer.\n",
         .json = true,
         .run = RunScan},
        {.name = "reset-filter",
         .synopsis = "reset-filter",
         .summary = "restart the filter run time",
         .details = "Sets the unit's filter run time back to zero, then reads it back and fails\n"
                    "(status 4) when the timer did not go back to zero.\n",
         .run = RunResetFilter},
        {.name = "factory-reset",
         .synopsis = "factory-reset [--yes]",
         .summary = "restore the default settings",
         .details = "Restores the unit's default settings. Asks first on a terminal; elsewhere\n"
                    "refuses unless --yes is given.\n",
         .yes = true,
         .run = RunFactoryReset},
        {.name = "monitor",
         .synopsis = "monitor [--json] [--count N]",
         .summary = "the states, once a second, until Ctrl-C",
         .details =
             "Prints the Wi-Fi state, the master state and the filter run time once a second (one\n"
             "JSON object per line with --json) until Ctrl-C, or N times with --count N.\n",
         .json = true,
         .count = true,
         .run = RunMonitor},
    };
    return commands;
}

const CommandRow* FindCommand(const QString& name) {
    for (const CommandRow& command : CommandTable()) {
        if (name == QLatin1String(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

namespace {

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
    "Texts from the unit or from the air (names, passwords, serial numbers) show their control\n"
    "characters escaped in text output (\\x1b, \\u202e) and a backslash as \\\\; JSON holds\n"
    "them as they are.\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  usage error, or a file that cannot be read or written\n"
    "  2  no unit attached, no such unit, or several and none chosen\n"
    "  3  the unit did not answer in time, or what was to be sent could not be written\n"
    "  4  a setting, value or backup was refused, or the unit did not take a value\n"
    "  5  the Quillo Config window or another quilloctl is using the units, or no permission\n"
    "     to open the unit\n"
    "  130 interrupted by Ctrl-C (monitor ends with 0)\n"
    "\n"
    "Environment:\n"
    "  QUILLO_SIMULATE=solvi,pargo  simulated units instead of real ones\n"
    "  QUILLO_TRACE=FILE            append every report written or received to FILE\n";

// The keys 'set' takes, for its help.
QString KeysHelp() {
    QString text =
        QStringLiteral("\nKeys (values as 'show --json' prints them; on/off for flags):\n");
    const QString solvi = model::ModelName(Model::Solvi);
    const QString pargo = model::ModelName(Model::Pargo);
    for (const Model unitModel : {Model::Solvi, Model::Pargo}) {
        for (const SettingKey* key : KeysFor(unitModel)) {
            const QString name = KeyName(*key);
            if (unitModel == Model::Pargo && FindKey(name, Model::Solvi) != nullptr) {
                continue;
            }
            QString label = KeyLabel(*key);
            if (FindKey(name, Model::Pargo) == nullptr) {
                label += QStringLiteral(" (%1)").arg(solvi);
            } else if (FindKey(name, Model::Solvi) == nullptr) {
                label += QStringLiteral(" (%1)").arg(pargo);
            }
            text += QStringLiteral("  %1%2\n").arg(name, -22).arg(label);
        }
    }
    return text +
           QStringLiteral(
               "\nThe rules are the window's: a Wi-Fi name of at most 32 bytes as UTF-8, a\n"
               "password of printable ASCII: 8 to 60 characters for a master without router\n"
               "whose security is not open, 0 to 60 in every other case.\n"
               "Timers are hours and minutes, hh:mm from 00:00 to 23:59; the window's entries\n"
               "also take 24:00 to 29:59, which the unit shows back less a day.\n"
               "\nExample: quilloctl set mode=master connection=with-router "
               "wifi-name=Home wifi-password=secret123\n");
}

}  // namespace

QString ProgramHelp() {
    // The summaries in one column, at least two blanks after the longest synopsis.
    int width = 0;
    for (const CommandRow& command : CommandTable()) {
        width = std::max(width, static_cast<int>(std::strlen(command.synopsis)));
    }
    width += 2;
    QString text = QStringLiteral(
        "Usage: quilloctl [options] COMMAND [arguments]\n"
        "\n"
        "Reads and changes the settings of Aldrun Quillo fans attached by USB.\n"
        "\n"
        "Commands:\n");
    for (const CommandRow& command : CommandTable()) {
        text += QStringLiteral("  %1%2\n")
                    .arg(QString::fromLatin1(command.synopsis), -width)
                    .arg(QString::fromLatin1(command.summary));
    }
    text += QStringLiteral("  %1%2\n\n")
                .arg(QStringLiteral("help [COMMAND]"), -width)
                .arg(QStringLiteral("this text, or a command's"));
    return text + QString::fromLatin1(kCommonHelp);
}

QString CommandHelp(const CommandRow& command) {
    QString text =
        QStringLiteral("Usage: quilloctl [unit] %1\n\n%2")
            .arg(QString::fromLatin1(command.synopsis), QString::fromLatin1(command.details));
    if (command.arguments == Arguments::Pairs) {
        text += KeysHelp();
    }
    return text + QStringLiteral("\n") + QString::fromLatin1(kCommonHelp);
}

}  // namespace quillo::cli
