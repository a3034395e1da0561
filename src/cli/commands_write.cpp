// The commands that change the unit: set, restore, reset-filter, factory-reset.

#include <QFileInfo>
#include <utility>
#include <vector>

#include "cli/backup_file.h"
#include "cli/command_support.h"
#include "cli/console.h"
#include "cli/setting_keys.h"
#include "cli/write_plan.h"
#include "hid/hid_device.h"
#include "protocol/read_chain.h"
#include "protocol/write_sequences.h"

namespace quillo::cli {

namespace {

// Reads the unit, lets `change` edit the state, sends the writes of the groups named and reads
// back what the unit took. `error` says why it failed, for a result line or a message.
int WriteUnit(Command& command, UnitEntry& unit, bool wifi, bool fan,
              const std::function<void(UnitState&)>& change, QString& error) {
    UnitLink link(*unit.device, command.options().timeout);
    protocol::CommandCode missing{};
    const std::optional<UnitValues> values = link.ReadSettings(missing);
    if (!values) {
        error = Interrupted() ? QStringLiteral("interrupted") : command.NoAnswer(unit, missing);
        return Interrupted() ? kExitInterrupted : kExitNoAnswer;
    }
    UnitState state = StateFromValues(*values);
    change(state);
    const std::optional<protocol::Sequence> steps = PlanWrites(state, wifi, fan, error);
    if (!steps) {
        return kExitRefused;
    }
    link.Run(*steps);
    const std::optional<UnitValues> readBack = link.ReadSettings(missing);
    if (!readBack) {
        error = !link.pluggedIn() ? QStringLiteral("unplugged while it was written")
                                  : command.NoAnswer(unit, missing);
        return Interrupted() ? kExitInterrupted : kExitNoAnswer;
    }
    const QStringList differences =
        NotTaken(ValuesAfter(*values, *steps), *readBack, unit.model, wifi, fan);
    if (!differences.isEmpty()) {
        error = QStringLiteral("the unit did not take: ") + differences.join(QStringLiteral("; "));
        return kExitRefused;
    }
    return kExitDone;
}

}  // namespace

int RunSet(Command& command) {
    const QStringList& arguments = command.options().arguments;
    if (arguments.isEmpty()) {
        command.err()
            << "Usage: quilloctl set KEY=VALUE...  ('quilloctl help set' lists the keys)\n";
        return kExitUsage;
    }
    std::vector<std::pair<QString, QString>> changes;
    for (const QString& argument : arguments) {
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
        changes.emplace_back(key, argument.mid(equals + 1));
    }
    UnitList list(command.context().backend);
    int status = kExitDone;
    UnitEntry* unit = command.ChooseUnit(list, status);
    if (unit == nullptr) {
        return status;
    }
    // Every value is checked before the unit is read or written.
    bool wifi = false;
    bool fan = false;
    std::vector<std::pair<const SettingKey*, QString>> checked;
    UnitState trial;
    for (const auto& [name, value] : changes) {
        const SettingKey* key = FindKey(name, unit->model);
        if (key == nullptr) {
            command.err() << name << ": not a setting of a " << ModelName(unit->model) << " unit\n";
            return kExitRefused;
        }
        const QString refused = SetFromText(*key, value, trial);
        if (!refused.isEmpty()) {
            command.err() << name << ": " << refused << "\n";
            return kExitRefused;
        }
        (KeyGroup(*key) == Group::Wifi ? wifi : fan) = true;
        checked.emplace_back(key, value);
    }
    QString error;
    status = WriteUnit(
        command, *unit, wifi, fan,
        [&checked](UnitState& state) {
            for (const auto& [key, value] : checked) {
                SetFromText(*key, value, state);
            }
        },
        error);
    if (status != kExitDone) {
        command.err() << error << "\n";
        return status;
    }
    command.out() << "Set on " << Command::UnitTitle(*unit) << ".\n";
    return kExitDone;
}

int RunRestore(Command& command) {
    if (command.options().arguments.size() != 1) {
        command.err() << "Usage: quilloctl restore FILE [--all]\n";
        return kExitUsage;
    }
    // The whole file is checked before any unit is looked at.
    const QString path = command.options().arguments.front();
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        command.err() << path << ": no such file, or it cannot be read\n";
        return kExitUsage;
    }
    QString error;
    const std::optional<Backup> backup = ReadBackup(path, error);
    if (!backup) {
        command.err() << error << "\n";
        return kExitRefused;
    }
    {
        UnitState trial;
        ApplyBackup(*backup, trial);
        if (!PlanWrites(trial, true, true, error)) {
            command.err() << error << "\n";
            return kExitRefused;
        }
    }
    UnitList list(command.context().backend);
    std::vector<UnitEntry*> targets;
    int status = kExitDone;
    if (command.options().all) {
        for (UnitEntry& unit : list.units()) {
            if (unit.model == backup->model) {
                targets.push_back(&unit);
            }
        }
        if (targets.empty()) {
            command.err() << "No " << ModelName(backup->model) << " unit is attached.\n";
            return kExitNoUnit;
        }
    } else {
        UnitEntry* unit = command.ChooseUnit(list, status);
        if (unit == nullptr) {
            return status;
        }
        if (unit->model != backup->model) {
            command.err() << "The backup is of a " << ModelName(backup->model) << " unit; "
                          << Command::UnitTitle(*unit) << " is a " << ModelName(unit->model)
                          << ". Nothing was sent.\n";
            return kExitRefused;
        }
        targets.push_back(unit);
    }
    int result = kExitDone;
    for (UnitEntry* unit : targets) {
        int unitStatus = kExitBusy;
        if (unit->device == nullptr || !unit->device->HasReadWriteAccess()) {
            error = QStringLiteral("cannot be opened for reading and writing");
        } else if (Interrupted()) {
            unitStatus = kExitInterrupted;
            error = QStringLiteral("not started: interrupted");
        } else {
            unitStatus = WriteUnit(
                command, *unit, true, true,
                [&backup](UnitState& state) { ApplyBackup(*backup, state); }, error);
        }
        command.out() << Command::UnitTitle(*unit) << "  " << unit->path << ": "
                      << (unitStatus == kExitDone ? QStringLiteral("restored")
                                                  : QStringLiteral("failed: ") + error)
                      << "\n";
        command.out().flush();
        if (result == kExitDone) {
            result = unitStatus;
        }
    }
    return result;
}

int RunResetFilter(Command& command) {
    UnitList list(command.context().backend);
    int status = kExitDone;
    UnitEntry* unit = command.ChooseUnit(list, status);
    if (unit == nullptr) {
        return status;
    }
    UnitLink link(*unit->device, command.options().timeout);
    link.Run(protocol::filterResetSequence());
    // The run time read back tells that the unit is there and took it.
    if (!link.Ask(protocol::Code_Filter_timer)) {
        command.err() << command.NoAnswer(*unit, protocol::Code_Filter_timer) << "\n";
        return Interrupted() ? kExitInterrupted : kExitNoAnswer;
    }
    command.out() << "Filter timer reset on " << Command::UnitTitle(*unit) << ".\n";
    return kExitDone;
}

int RunFactoryReset(Command& command) {
    UnitList list(command.context().backend);
    int status = kExitDone;
    UnitEntry* unit = command.ChooseUnit(list, status);
    if (unit == nullptr) {
        return status;
    }
    if (!command.options().yes) {
        if (!command.context().inputIsTerminal || !command.context().readAnswer) {
            command.err() << "factory-reset replaces every setting of the unit; add --yes to "
                             "confirm (standard input is not a terminal).\n";
            return kExitUsage;
        }
        command.out() << "Restore the default settings of " << Command::UnitTitle(*unit) << " at "
                      << unit->path << "? [y/N] ";
        command.out().flush();
        const QString answer = command.context().readAnswer().trimmed().toLower();
        if (answer != u"y" && answer != u"yes") {
            command.out() << "Nothing was changed.\n";
            return kExitUsage;
        }
    }
    UnitLink link(*unit->device, command.options().timeout);
    // The window's button: its last step asks for the read chain's first code, and the chain
    // that follows is the window's too.
    protocol::Sequence steps = protocol::restoreDefaultsSequence();
    if (!steps.empty() && steps.back() == protocol::readRequest(protocol::kReadChain.front())) {
        steps.pop_back();
    }
    link.Run(steps);
    if (!command.ReadSettings(link, *unit, status)) {
        return status;
    }
    command.out() << "Default settings restored on " << Command::UnitTitle(*unit) << ".\n";
    return kExitDone;
}

}  // namespace quillo::cli
