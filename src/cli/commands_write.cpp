// The commands that change the unit: set, restore, reset-filter, factory-reset.

#include <QElapsedTimer>
#include <QFileInfo>
#include <utility>
#include <vector>

#include "cli/backup_file.h"
#include "cli/command.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/setting_keys.h"
#include "cli/terminal_text.h"
#include "cli/write_plan.h"
#include "protocol/read_chain.h"
#include "protocol/write_sequences.h"
#include "unit_model/unit_identity.h"

namespace quillo::cli {

namespace {

using model::ModelName;

// Reads the unit, lets `change` edit its state, and sends the writes of the groups named when
// every key asked for would reach the unit as asked; then reads back and compares with what
// was asked. `error` says why it failed, for a result line or a message.
int WriteUnit(Command& command, UnitEntry& unit, UnitLink& link, bool wifi, bool fan,
              const std::vector<const SettingKey*>& asked,
              const std::function<QString(PageState&)>& change, QString& error) {
    protocol::CommandCode missing{};
    const std::optional<UnitValues> values = link.ReadSettings(missing);
    if (!values) {
        error =
            Interrupted() ? QStringLiteral("interrupted") : command.NoAnswer(unit, link, missing);
        return Interrupted() ? kExitInterrupted : kExitNoAnswer;
    }
    PageState state = StateFromValues(*values);
    error = change(state);
    if (!error.isEmpty()) {
        return kExitRefused;
    }
    const std::optional<protocol::Sequence> steps = PlanWrites(state, wifi, fan, error);
    if (!steps) {
        return kExitRefused;
    }
    // What the unit would hold after these bytes: a value the mode overrides is refused here,
    // naming the mode and connection it is sent with.
    const PageState after = StateFromValues(ValuesAfter(*values, *steps));
    QStringList mode;
    for (const char* name : {"mode", "connection"}) {
        if (const SettingKey* key = FindKey(QLatin1String(name), unit.model)) {
            mode << QStringLiteral("%1=%2").arg(KeyName(*key), DisplayValue(*key, after));
        }
    }
    const QStringList notCarried =
        Differences(state, after, asked,
                    QStringLiteral("but with %1 the unit would hold").arg(mode.join(u' ')));
    if (!notCarried.isEmpty()) {
        error = QStringLiteral("nothing was sent: ") + notCarried.join(QStringLiteral("; "));
        return kExitRefused;
    }
    // A write that did not go out may have left the unit inside its setup bracket or with its
    // Wi-Fi module off, which no read-back shows.
    if (!link.Run(*steps)) {
        error = QStringLiteral(
            "not every write could be sent; the unit may hold only some of the new settings");
        return kExitNoAnswer;
    }
    const std::optional<UnitValues> readBack = link.ReadSettings(missing);
    if (!readBack) {
        error = !link.pluggedIn() ? QStringLiteral("unplugged while it was written")
                                  : command.NoAnswer(unit, link, missing);
        return Interrupted() ? kExitInterrupted : kExitNoAnswer;
    }
    const QStringList notTaken =
        Differences(state, StateFromValues(*readBack), asked, QStringLiteral("the unit holds"));
    if (!notTaken.isEmpty()) {
        error = QStringLiteral("the unit did not take: ") + notTaken.join(QStringLiteral("; "));
        return kExitRefused;
    }
    return kExitDone;
}

}  // namespace

int CheckSet(Command& command) {
    for (const QString& argument : command.options().arguments) {
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            command.err() << argument << ": expected KEY=VALUE\n";
            return kExitUsage;
        }
        const QString key = argument.left(equals);
        if (!IsKnownKey(key)) {
            command.err() << key << ": unknown setting ('quilloctl help set' lists the keys)\n";
            return kExitRefused;
        }
        command.changes.emplace_back(key, argument.mid(equals + 1));
    }
    return kExitDone;
}

int RunSet(Command& command) {
    UnitEntry& unit = *command.unit;
    // Every value is checked before the unit is read or written.
    bool wifi = false;
    bool fan = false;
    std::vector<const SettingKey*> keys;
    PageState trial = model::StartupPageState();
    for (const auto& [name, value] : command.changes) {
        const SettingKey* key = FindKey(name, unit.model);
        if (key == nullptr) {
            command.err() << name << ": not a setting of a " << ModelName(unit.model) << " unit\n";
            return kExitRefused;
        }
        const QString refused = SetFromText(*key, value, trial);
        if (!refused.isEmpty()) {
            command.err() << name << ": " << refused << "\n";
            return kExitRefused;
        }
        (KeyGroup(*key) == Group::Wifi ? wifi : fan) = true;
        keys.push_back(key);
    }
    QString error;
    const int status = WriteUnit(
        command, unit, *command.link, wifi, fan, keys,
        [&command, &keys](PageState& state) {
            for (std::size_t i = 0; i < keys.size(); ++i) {
                // Checked again against the unit's own state: a name's bytes depend on it.
                const QString refused = SetFromText(*keys[i], command.changes[i].second, state);
                if (!refused.isEmpty()) {
                    return KeyName(*keys[i]) + QStringLiteral(": ") + refused;
                }
            }
            return QString();
        },
        error);
    if (status != kExitDone) {
        command.err() << error << "\n";
        return status;
    }
    command.Print(DoneRecord{QStringLiteral("Set on %1.").arg(unit.title())});
    return kExitDone;
}

int CheckRestore(Command& command) {
    // The whole file is checked before any unit is looked at.
    const QString path = command.options().arguments.front();
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        command.err() << path << ": no such file, or it cannot be read\n";
        return kExitUsage;
    }
    QString error;
    command.backup = ReadBackup(path, error);
    if (!command.backup) {
        command.err() << error << "\n";
        return kExitRefused;
    }
    error = RestoreRefusal(*command.backup);
    if (!error.isEmpty()) {
        command.err() << error << "\n";
        return kExitRefused;
    }
    return kExitDone;
}

int RunRestore(Command& command) {
    const Backup& backup = *command.backup;
    std::vector<UnitEntry*> targets;
    if (command.options().all) {
        for (UnitEntry& unit : command.units->units()) {
            if (unit.model == backup.model) {
                targets.push_back(&unit);
            }
        }
        if (targets.empty()) {
            command.err() << "No " << ModelName(backup.model) << " unit is attached.\n";
            return kExitNoUnit;
        }
    } else {
        if (command.unit->model != backup.model) {
            command.err() << "The backup is of a " << ModelName(backup.model) << " unit; "
                          << command.unit->title() << " is a " << ModelName(command.unit->model)
                          << ". Nothing was sent.\n";
            return kExitRefused;
        }
        targets.push_back(command.unit);
    }
    const std::vector<const SettingKey*> keys = KeysFor(backup.model);
    int result = kExitDone;
    for (UnitEntry* unit : targets) {
        int unitStatus = kExitBusy;
        QString error;
        const auto restore = [&](UnitLink& link) {
            return WriteUnit(
                command, *unit, link, true, true, keys,
                [&backup](PageState& state) {
                    ApplyBackup(backup, state);
                    return QString();
                },
                error);
        };
        if (!unit->usable()) {
            error = QStringLiteral("cannot be opened for reading and writing");
        } else if (Interrupted()) {
            unitStatus = kExitInterrupted;
            error = QStringLiteral("not started: interrupted");
        } else if (unit == command.unit) {
            unitStatus = restore(*command.link);
        } else {
            UnitLink link(*unit->device, command.options().timeout);
            unitStatus = restore(link);
        }
        command.Print(
            DoneRecord{QStringLiteral("%1  %2: %3")
                           .arg(unit->title(), TerminalText(unit->path),
                                unitStatus == kExitDone ? QStringLiteral("restored")
                                                        : QStringLiteral("failed: ") + error)});
        if (result == kExitDone) {
            result = unitStatus;
        }
    }
    return result;
}

int RunResetFilter(Command& command) {
    UnitEntry& unit = *command.unit;
    UnitLink& link = *command.link;
    QElapsedTimer sinceReset;
    sinceReset.start();
    if (!link.Run(protocol::filterResetSequence())) {
        command.err() << "The filter timer reset could not be written to " << unit.title() << ".\n";
        return kExitNoAnswer;
    }
    const std::optional<UnitLink::Report> answer = link.Ask(protocol::Code_Filter_timer);
    if (!answer) {
        return command.Unanswered(unit, link, protocol::Code_Filter_timer);
    }
    // A timer that went back counts from zero: never more than the seconds since the reset
    // (and one for the rounding of each).
    const quint32 seconds = protocol::InputReport(std::span<const std::uint8_t>(*answer)).seconds();
    const qint64 allowed = sinceReset.elapsed() / 1000 + 1;
    if (seconds > allowed) {
        command.err() << unit.title() << " did not reset its filter timer: it still reads "
                      << FilterTimeText(seconds) << ".\n";
        return kExitRefused;
    }
    command.Print(DoneRecord{QStringLiteral("Filter timer reset on %1.").arg(unit.title())});
    return kExitDone;
}

int RunFactoryReset(Command& command) {
    UnitEntry& unit = *command.unit;
    if (!command.options().yes) {
        if (!command.context().inputIsTerminal || !command.context().readAnswer) {
            command.err() << "factory-reset replaces every setting of the unit; add --yes to "
                             "confirm (standard input is not a terminal).\n";
            return kExitUsage;
        }
        command.out() << "Restore the default settings of " << unit.title() << " at "
                      << TerminalText(unit.path) << "? [y/N] ";
        command.out().flush();
        const QString answer = command.context().readAnswer().trimmed().toLower();
        if (answer != u"y" && answer != u"yes") {
            command.Print(DoneRecord{QStringLiteral("Nothing was changed.")});
            return kExitUsage;
        }
    }
    // The window's button: its last step asks for the read chain's first code, and the chain
    // that follows is the window's too.
    protocol::Sequence steps = protocol::restoreDefaultsSequence();
    if (!steps.empty() && steps.back() == protocol::readRequest(protocol::kReadChain.front())) {
        steps.pop_back();
    }
    if (!command.link->Run(steps)) {
        command.err() << "The factory reset could not be written to " << unit.title()
                      << "; its settings may not have been restored.\n";
        return kExitNoAnswer;
    }
    protocol::CommandCode missing{};
    if (!command.link->ReadSettings(missing)) {
        return command.Unanswered(unit, *command.link, missing);
    }
    command.Print(DoneRecord{QStringLiteral("Default settings restored on %1.").arg(unit.title())});
    return kExitDone;
}

}  // namespace quillo::cli
