#include "cli/command.h"

#include <span>

#include "cli/console.h"
#include "protocol/framing.h"
#include "protocol/input_report.h"

namespace quillo::cli {

QString Command::NoAnswer(const UnitEntry& unit, const UnitLink& link,
                          protocol::CommandCode code) const {
    if (!link.lastRequestWentOut()) {
        const std::size_t length = link.outputReportLength();
        QString why = QStringLiteral(
                          "%1 could not be asked for the %2 (code %3): the request "
                          "could not be written")
                          .arg(unit.title(), ParameterName(code))
                          .arg(static_cast<int>(code));
        if (length != protocol::kMaxOutputReportLength) {
            why += QStringLiteral(" (its output reports are %1 bytes, a unit's are %2)")
                       .arg(length)
                       .arg(protocol::kMaxOutputReportLength);
        }
        return why + QLatin1Char('.');
    }
    if (!link.pluggedIn()) {
        return QStringLiteral("%1 was unplugged while it was asked for the %2 (code %3).")
            .arg(unit.title(), ParameterName(code))
            .arg(static_cast<int>(code));
    }
    return QStringLiteral("%1 did not answer for the %2 (code %3) within %4 ms.")
        .arg(unit.title(), ParameterName(code))
        .arg(static_cast<int>(code))
        .arg(options_.timeout.count());
}

int Command::Unanswered(const UnitEntry& unit, const UnitLink& link,
                        protocol::CommandCode code) const {
    if (Interrupted()) {
        return kExitInterrupted;
    }
    err() << NoAnswer(unit, link, code) << "\n";
    return kExitNoAnswer;
}

QString SerialNumber(UnitLink& link) {
    const std::optional<UnitLink::Report> answer = link.Ask(protocol::Code_Serial_number);
    if (!answer) {
        return {};
    }
    return QString::fromStdU16String(
        protocol::InputReport(std::span<const std::uint8_t>(*answer)).countedText());
}

UnitRow RowOf(const UnitEntry& unit, std::chrono::milliseconds timeout) {
    UnitRow row{unit.index, unit.model, QString(), unit.path};
    if (unit.usable()) {
        UnitLink link(*unit.device, timeout);
        row.serial = SerialNumber(link);
    }
    return row;
}

}  // namespace quillo::cli
