// The commands that only read: list, show, backup, scan, monitor.

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "cli/backup_file.h"
#include "cli/command_support.h"
#include "cli/console.h"
#include "cli/setting_keys.h"
#include "hid/hid_device.h"
#include "protocol/input_report.h"
#include "protocol/unit_contract.h"
#include "protocol/wifi_scan.h"

namespace quillo::cli {

namespace {

QString Json(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

QString Json(const QJsonArray& array) {
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

QJsonObject UnitJson(const UnitEntry& unit, const QString& serial) {
    QJsonObject object;
    object[QStringLiteral("index")] = unit.index;
    object[QStringLiteral("model")] = ModelName(unit.model);
    object[QStringLiteral("serial")] = serial.isEmpty() ? QJsonValue() : QJsonValue(serial);
    object[QStringLiteral("path")] = unit.path;
    return object;
}

}  // namespace

int RunList(Command& command) {
    UnitList list(command.context().backend);
    if (list.units().empty()) {
        command.err() << "No Aldrun Quillo unit is attached.\n";
        return kExitNoUnit;
    }
    QJsonArray units;
    for (const UnitEntry& unit : list.units()) {
        QString serial;
        if (unit.device != nullptr && unit.device->HasReadWriteAccess()) {
            UnitLink link(*unit.device, command.options().timeout);
            serial = command.SerialNumber(link);
        }
        if (command.options().json) {
            units.append(UnitJson(unit, serial));
        } else {
            command.out() << unit.index << "  " << ModelName(unit.model) << "  "
                          << (serial.isEmpty() ? QStringLiteral("(serial unknown)") : serial)
                          << "  " << unit.path << "\n";
        }
    }
    if (command.options().json) {
        command.out() << Json(units);
    }
    return kExitDone;
}

int RunShow(Command& command) {
    UnitList list(command.context().backend);
    int status = kExitDone;
    UnitEntry* unit = command.ChooseUnit(list, status);
    if (unit == nullptr) {
        return status;
    }
    UnitLink link(*unit->device, command.options().timeout);
    const QString serial = command.SerialNumber(link);
    const std::optional<UnitValues> values = command.ReadSettings(link, *unit, status);
    if (!values) {
        return status;
    }
    const std::optional<QJsonObject> states = command.ReadStates(link, *unit, status);
    if (!states) {
        return status;
    }
    const UnitState state = StateFromValues(*values);
    if (command.options().json) {
        QJsonObject document = SettingsJson(state, unit->model);
        document[QStringLiteral("unit")] = UnitJson(*unit, serial);
        document[QStringLiteral("states")] = *states;
        command.out() << Json(document);
        return kExitDone;
    }
    QTextStream& out = command.out();
    out << Command::UnitTitle(*unit) << ", serial "
        << (serial.isEmpty() ? QStringLiteral("unknown") : serial) << ", " << unit->path << "\n";
    for (const Group group : {Group::Wifi, Group::Fan}) {
        out << (group == Group::Wifi ? "Wi-Fi\n" : "Fan\n");
        for (const SettingKey* key : KeysFor(unit->model)) {
            if (KeyGroup(*key) == group) {
                out << "  " << KeyLabel(*key) << ": " << DisplayValue(*key, state) << "\n";
            }
        }
    }
    out << "States\n"
        << "  Wi-Fi: " << states->value(QStringLiteral("wifi")).toString() << "\n"
        << "  Master: " << states->value(QStringLiteral("master")).toString() << "\n"
        << "  Filter run time: " << states->value(QStringLiteral("filter-time")).toString() << "\n";
    return kExitDone;
}

int RunBackup(Command& command) {
    if (command.options().arguments.size() != 1) {
        command.err() << "Usage: quilloctl backup FILE\n";
        return kExitUsage;
    }
    const QString path = command.options().arguments.front();
    UnitList list(command.context().backend);
    int status = kExitDone;
    UnitEntry* unit = command.ChooseUnit(list, status);
    if (unit == nullptr) {
        return status;
    }
    UnitLink link(*unit->device, command.options().timeout);
    const QString serial = command.SerialNumber(link);
    const std::optional<UnitValues> values = command.ReadSettings(link, *unit, status);
    if (!values) {
        return status;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(BackupDocument(StateFromValues(*values), unit->model, serial,
                                  QDateTime::currentDateTimeUtc())) < 0 ||
        !file.commit()) {
        command.err() << path << ": cannot be written: " << file.errorString() << "\n";
        return kExitUsage;
    }
    command.out() << "Saved the settings of " << Command::UnitTitle(*unit) << " (serial "
                  << (serial.isEmpty() ? QStringLiteral("unknown") : serial) << ") to " << path
                  << ".\n";
    return kExitDone;
}

int RunScan(Command& command) {
    UnitList list(command.context().backend);
    int status = kExitDone;
    UnitEntry* unit = command.ChooseUnit(list, status);
    if (unit == nullptr) {
        return status;
    }
    UnitLink link(*unit->device, command.options().timeout);
    // As the window: the AT sequence again every period until the first line, then the lines
    // of a while more. The closing sequence goes out whatever happened: the unit must never be
    // left passing everything to its Wi-Fi module.
    constexpr int kRounds = 3;
    std::vector<std::u16string> lines;
    const auto collect = [&lines](const UnitLink::Report& report) {
        if (!report.empty() && report[0] == protocol::unit::kScanLineCode) {
            std::u16string line = protocol::scanLineText(
                protocol::InputReport(std::span<const std::uint8_t>(report)));
            line.resize(std::min(line.size(), line.find(u'\0')));
            lines.push_back(std::move(line));
        }
    };
    for (int round = 0; round < kRounds && lines.empty() && !Interrupted(); ++round) {
        link.Run(protocol::scanAtSequence());
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
    link.Run(protocol::scanClosingSequence());

    // As in the window's list: each network once (a network has one line per access point),
    // and no more than the list holds.
    QJsonArray networks;
    QStringList names;
    for (const std::u16string& line : lines) {
        const QString name = QString::fromStdU16String(protocol::networkNameFromScanLine(line));
        if (names.contains(name) || names.size() == protocol::kScanNameLimit) {
            continue;
        }
        names << name;
        if (command.options().json) {
            QJsonObject network;
            network[QStringLiteral("name")] = name;
            network[QStringLiteral("line")] = QString::fromStdU16String(line);
            networks.append(network);
        } else {
            command.out() << name << "\n";
        }
    }
    if (command.options().json) {
        command.out() << Json(networks);
    }
    if (Interrupted()) {
        command.err() << "Interrupted; the unit's Wi-Fi module was switched back.\n";
        return kExitInterrupted;
    }
    if (lines.empty()) {
        command.err() << Command::UnitTitle(*unit)
                      << ": its Wi-Fi module reported no network within "
                      << kRounds * protocol::kScanRepeatInterval.count() / 1000 << " s.\n";
        return kExitNoAnswer;
    }
    return kExitDone;
}

int RunMonitor(Command& command) {
    UnitList list(command.context().backend);
    int status = kExitDone;
    UnitEntry* unit = command.ChooseUnit(list, status);
    if (unit == nullptr) {
        return status;
    }
    UnitLink link(*unit->device, command.options().timeout);
    for (int line = 0; !command.options().count || line < *command.options().count; ++line) {
        const auto started = std::chrono::steady_clock::now();
        const std::optional<QJsonObject> states = command.ReadStates(link, *unit, status);
        if (!states) {
            // Ctrl-C is how a monitor ends.
            return status == kExitInterrupted ? kExitDone : status;
        }
        if (command.options().json) {
            QJsonObject object = *states;
            object[QStringLiteral("time")] =
                QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
            command.out() << QJsonDocument(object).toJson(QJsonDocument::Compact) << "\n";
        } else {
            command.out() << QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"))
                          << "  Wi-Fi: " << states->value(QStringLiteral("wifi")).toString()
                          << "  Master: " << states->value(QStringLiteral("master")).toString()
                          << "  Filter run time: "
                          << states->value(QStringLiteral("filter-time")).toString() << "\n";
        }
        command.out().flush();
        if (command.options().count && line + 1 == *command.options().count) {
            break;
        }
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started);
        link.Listen(std::chrono::milliseconds(1000) - elapsed,
                    [](const UnitLink::Report&) { return true; });
        if (Interrupted()) {
            break;
        }
    }
    return kExitDone;
}

}  // namespace quillo::cli
