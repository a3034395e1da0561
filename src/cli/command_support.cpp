#include "cli/command_support.h"

#include <QThread>
#include <span>

#include "cli/console.h"
#include "hid/hid_device.h"
#include "protocol/conversions.h"
#include "protocol/input_report.h"
#include "protocol/unit_contract.h"
#include "protocol/write_sequences.h"

namespace quillo::cli {

QString Command::UnitTitle(const UnitEntry& unit) {
    return QStringLiteral("%1. %2").arg(unit.index).arg(unit.name);
}

QString Command::NoAnswer(const UnitEntry& unit, protocol::CommandCode code) const {
    return QStringLiteral("%1 did not answer for the %2 (code %3) within %4 ms.")
        .arg(UnitTitle(unit), ParameterName(code))
        .arg(static_cast<int>(code))
        .arg(options_.timeout.count());
}

QString Command::SerialNumber(UnitLink& link) {
    const std::optional<UnitLink::Report> answer = link.Ask(protocol::Code_Serial_number);
    if (!answer) {
        return {};
    }
    return QString::fromStdU16String(
        protocol::InputReport(std::span<const std::uint8_t>(*answer)).countedText());
}

UnitEntry* Command::ChooseUnit(UnitList& list, int& status) {
    std::vector<UnitEntry>& units = list.units();
    status = kExitNoUnit;
    if (units.empty()) {
        err() << "No Aldrun Quillo unit is attached.\n";
        return nullptr;
    }
    UnitEntry* chosen = nullptr;
    if (options_.device) {
        for (UnitEntry& unit : units) {
            if (unit.index == *options_.device) {
                chosen = &unit;
            }
        }
        if (chosen == nullptr) {
            err() << "There is no unit " << *options_.device
                  << "; 'quilloctl list' shows the attached units.\n";
            return nullptr;
        }
    } else if (options_.path) {
        for (UnitEntry& unit : units) {
            if (unit.path == *options_.path) {
                chosen = &unit;
            }
        }
        if (chosen == nullptr) {
            err() << "No unit is attached at " << *options_.path << ".\n";
            return nullptr;
        }
    } else if (options_.serial) {
        for (UnitEntry& unit : units) {
            if (unit.device == nullptr || !unit.device->HasReadWriteAccess()) {
                continue;
            }
            UnitLink link(*unit.device, options_.timeout);
            if (SerialNumber(link) == *options_.serial) {
                chosen = &unit;
                break;
            }
        }
        if (chosen == nullptr) {
            err() << "No attached unit has the serial number " << *options_.serial << ".\n";
            return nullptr;
        }
    } else if (units.size() == 1) {
        chosen = &units.front();
    } else {
        err()
            << "Several units are attached; choose one with --device N, --serial S or --path P:\n";
        for (const UnitEntry& unit : units) {
            err() << "  " << UnitTitle(unit) << "  " << unit.path << "\n";
        }
        return nullptr;
    }
    if (chosen->device == nullptr || !chosen->device->HasReadWriteAccess()) {
        status = kExitBusy;
        err() << UnitTitle(*chosen) << " at " << chosen->path
              << " cannot be opened for reading and writing: no permission, or another program "
                 "holds it.\n";
        return nullptr;
    }
    status = kExitDone;
    return chosen;
}

std::optional<UnitValues> Command::ReadSettings(UnitLink& link, const UnitEntry& unit,
                                                int& status) const {
    protocol::CommandCode missing{};
    std::optional<UnitValues> values = link.ReadSettings(missing);
    if (!values) {
        status = Interrupted() ? kExitInterrupted : kExitNoAnswer;
        if (status == kExitNoAnswer) {
            err() << NoAnswer(unit, missing) << "\n";
        }
    }
    return values;
}

std::optional<QJsonObject> Command::ReadStates(UnitLink& link, const UnitEntry& unit, int& status) {
    // The window's status poll, with the filter page shown, then its three answers.
    link.Run(protocol::statusPollSequence(true));
    std::map<protocol::CommandCode, UnitLink::Report> answers;
    const protocol::CommandCode codes[] = {protocol::Code_Wi_Fi_state, protocol::Code_Master_state,
                                           protocol::Code_Filter_timer};
    link.Listen(options_.timeout, [&](const UnitLink::Report& report) {
        const auto code = static_cast<protocol::CommandCode>(report.empty() ? 0 : report[0]);
        for (const protocol::CommandCode wanted : codes) {
            if (code == wanted) {
                answers[code] = report;
            }
        }
        return answers.size() < std::size(codes);
    });
    for (const protocol::CommandCode code : codes) {
        if (answers.count(code) == 0) {
            status = Interrupted() ? kExitInterrupted : kExitNoAnswer;
            if (status == kExitNoAnswer) {
                err() << NoAnswer(unit, code) << "\n";
            }
            return std::nullopt;
        }
    }
    const auto state = [&](protocol::CommandCode code) {
        const protocol::InputReport report{std::span<const std::uint8_t>(answers[code])};
        return report.byteValue() == protocol::unit::kDisconnected ? QStringLiteral("disconnected")
                                                                   : QStringLiteral("connected");
    };
    const quint32 filter =
        protocol::InputReport(std::span<const std::uint8_t>(answers[protocol::Code_Filter_timer]))
            .seconds();
    QJsonObject states;
    states[QStringLiteral("wifi")] = state(protocol::Code_Wi_Fi_state);
    states[QStringLiteral("master")] = state(protocol::Code_Master_state);
    states[QStringLiteral("filter-seconds")] = static_cast<qint64>(filter);
    states[QStringLiteral("filter-time")] = FilterTimeText(filter);
    return states;
}

QString FilterTimeText(quint32 seconds) {
    const protocol::FilterRunTime time = protocol::splitFilterRunTime(seconds);
    return QStringLiteral("%1 days %2:%3:%4")
        .arg(time.days)
        .arg(time.hours, 2, 10, QLatin1Char('0'))
        .arg(time.minutes, 2, 10, QLatin1Char('0'))
        .arg(time.seconds, 2, 10, QLatin1Char('0'));
}

}  // namespace quillo::cli
