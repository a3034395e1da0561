// The commands that only read: list, show, backup, scan, monitor.

#include <QDateTime>
#include <QSaveFile>
#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "cli/backup_file.h"
#include "cli/command.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/terminal_text.h"
#include "protocol/input_report.h"
#include "protocol/unit_contract.h"
#include "protocol/wifi_scan.h"

namespace quillo::cli {

namespace {

// The read chain; std::nullopt with the status (told) when a code goes unanswered.
std::optional<UnitValues> ReadSettings(Command& command, int& status) {
    protocol::CommandCode missing{};
    std::optional<UnitValues> values = command.link->ReadSettings(missing);
    if (!values) {
        status = command.Unanswered(*command.unit, *command.link, missing);
    }
    return values;
}

std::optional<UnitStates> ReadStates(Command& command, int& status) {
    protocol::CommandCode missing{};
    std::optional<UnitStates> states = command.link->States(missing);
    if (!states) {
        status = command.Unanswered(*command.unit, *command.link, missing);
    }
    return states;
}

UnitRow ChosenRow(Command& command) {
    return {command.unit->index, command.unit->model, SerialNumber(*command.link),
            command.unit->path};
}

}  // namespace

int RunList(Command& command) {
    if (command.units->units().empty()) {
        command.err() << "No Aldrun Quillo unit is attached.\n";
        return kExitNoUnit;
    }
    UnitsRecord record;
    for (const UnitEntry& unit : command.units->units()) {
        record.units.push_back(RowOf(unit, command.options().timeout));
    }
    command.Print(record);
    return kExitDone;
}

int RunShow(Command& command) {
    const UnitRow row = ChosenRow(command);
    int status = kExitDone;
    const std::optional<UnitValues> values = ReadSettings(command, status);
    if (!values) {
        return status;
    }
    const std::optional<UnitStates> states = ReadStates(command, status);
    if (!states) {
        return status;
    }
    command.Print(SettingsRecord{row, StateFromValues(*values), *states});
    return kExitDone;
}

int RunBackup(Command& command) {
    const QString path = command.options().arguments.front();
    const UnitRow row = ChosenRow(command);
    int status = kExitDone;
    const std::optional<UnitValues> values = ReadSettings(command, status);
    if (!values) {
        return status;
    }
    const PageState state = StateFromValues(*values);
    const QByteArray document =
        BackupDocument(state, row.model, row.serial, QDateTime::currentDateTimeUtc());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) < 0 || !file.commit()) {
        command.err() << path << ": cannot be written: " << file.errorString() << "\n";
        return kExitUsage;
    }
    // What the unit holds may break the window's rules for its mode (a name longer than a
    // typed one may be): said now, not when the file is needed.
    QString refusal;
    if (const std::optional<Backup> saved = ParseBackup(document, refusal)) {
        refusal = RestoreRefusal(*saved);
    }
    if (!refusal.isEmpty()) {
        command.err() << "Warning: restore refuses this file as it stands: " << refusal << "\n";
    }
    // The unit can hold a longer password than can be typed; a file keeps what can be typed.
    if (state.wifi.passwordRead.size() > state.wifi.password.size()) {
        command.err() << "Warning: the unit's Wi-Fi password has " << state.wifi.passwordRead.size()
                      << " characters; this file keeps its first " << state.wifi.password.size()
                      << ", and a restore sends those.\n";
    }
    command.Print(DoneRecord{
        QStringLiteral("Saved the settings of %1 (serial %2) to %3.")
            .arg(command.unit->title(),
                 row.serial.isEmpty() ? QStringLiteral("unknown") : TerminalText(row.serial),
                 path)});
    return kExitDone;
}

int RunScan(Command& command) {
    UnitLink& link = *command.link;
    // As the window: the AT sequence again every period until the first line, then the lines
    // of a while more. The closing sequence goes out whatever happened: the unit must never be
    // left passing everything to its Wi-Fi module.
    constexpr int kRounds = 3;
    std::vector<UnitLink::Report> lines;
    const auto collect = [&lines](const UnitLink::Report& report) {
        if (!report.empty() && report[0] == protocol::unit::kScanLineCode) {
            lines.push_back(report);
        }
    };
    for (int round = 0; round < kRounds && lines.empty() && !Interrupted() && link.pluggedIn();
         ++round) {
        // An AT sequence that did not go out whole is sent again the next round.
        static_cast<void>(link.Run(protocol::scanAtSequence()));
        link.Listen(protocol::kScanRepeatInterval, [&](const UnitLink::Report& report) {
            collect(report);
            return lines.empty();
        });
    }
    if (!lines.empty()) {
        link.Listen(protocol::kScanCloseDelay, [&](const UnitLink::Report& report) {
            collect(report);
            return true;
        });
    }
    const bool closed = link.Run(protocol::scanClosingSequence());

    // As in the window's list: each network once (a network has one line per access point),
    // and no more than the list holds.
    NetworksRecord record;
    for (const UnitLink::Report& report : lines) {
        const protocol::ScanName network =
            protocol::scanNetworkName(protocol::InputReport(std::span<const std::uint8_t>(report)));
        const QString name = QString::fromStdU16String(network.shown);
        const bool listed =
            std::any_of(record.networks.begin(), record.networks.end(),
                        [&name](const NetworksRecord::Network& n) { return n.name == name; });
        if (listed || record.networks.size() == protocol::kScanNameLimit) {
            continue;
        }
        record.networks.push_back({name, QString::fromStdU16String(network.line)});
    }
    command.Print(record);
    if (!closed) {
        command.err() << command.unit->title()
                      << (link.pluggedIn() ? ":" : " was unplugged during the scan;")
                      << " its Wi-Fi module could not be switched back and may stay in "
                         "pass-through mode; scan again, or switch the unit off and on.\n";
        return Interrupted() ? kExitInterrupted : kExitNoAnswer;
    }
    if (Interrupted()) {
        command.err() << "Interrupted; the unit's Wi-Fi module was switched back.\n";
        return kExitInterrupted;
    }
    if (!link.pluggedIn()) {
        command.err() << command.unit->title() << " was unplugged during the scan.\n";
        return kExitNoAnswer;
    }
    if (lines.empty()) {
        command.err() << command.unit->title() << ": its Wi-Fi module reported no network within "
                      << kRounds * protocol::kScanRepeatInterval.count() / 1000 << " s.\n";
        return kExitNoAnswer;
    }
    return kExitDone;
}

int RunMonitor(Command& command) {
    const std::optional<int> count = command.options().count;
    for (int line = 0; !count || line < *count; ++line) {
        const auto started = std::chrono::steady_clock::now();
        int status = kExitDone;
        const std::optional<UnitStates> states = ReadStates(command, status);
        if (!states) {
            // Ctrl-C is how a monitor ends.
            return status == kExitInterrupted ? kExitDone : status;
        }
        command.Print(StatesRecord{*states, QDateTime::currentDateTimeUtc()});
        if (count && line + 1 == *count) {
            break;
        }
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started);
        command.link->Listen(std::chrono::milliseconds(1000) - elapsed,
                             [](const UnitLink::Report&) { return true; });
        if (Interrupted()) {
            break;
        }
    }
    return kExitDone;
}

}  // namespace quillo::cli
