#include "protocol/framing.h"

#include <algorithm>

#include "protocol/payload.h"

namespace quillo::protocol {

std::vector<OutputReport> frameCommand(CommandCode code, std::u16string_view payload,
                                       std::size_t reportLength) {
    std::vector<OutputReport> reports;
    if (reportLength < kMinOutputReportLength || reportLength > kMaxOutputReportLength) {
        return reports;
    }
    const std::size_t chunkCapacity = reportLength - kOutputReportHeader;
    std::size_t sent = 0;
    // do-while: an empty payload still goes out as one report with length byte 0.
    do {
        const std::size_t chunk = std::min(chunkCapacity, payload.size() - sent);
        OutputReport report(reportLength, 0);
        report[0] = kOutputReportId;
        report[1] = static_cast<std::uint8_t>(code);
        report[2] = static_cast<std::uint8_t>(chunk);
        for (std::size_t i = 0; i < chunk; ++i) {
            report[kOutputReportHeader + i] = wireByte(payload[sent + i]);
        }
        sent += chunk;
        reports.push_back(std::move(report));
    } while (sent < payload.size());
    return reports;
}

std::optional<OutputChunk> parseOutputReport(std::span<const std::uint8_t> report) {
    if (report.size() < kOutputReportHeader || report[0] != kOutputReportId ||
        report[2] > report.size() - kOutputReportHeader) {
        return std::nullopt;
    }
    const auto payload = report.subspan(kOutputReportHeader, report[2]);
    return OutputChunk{static_cast<CommandCode>(report[1]), {payload.begin(), payload.end()}};
}

}  // namespace quillo::protocol
