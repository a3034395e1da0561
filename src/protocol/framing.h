#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "protocol/command_code.h"

namespace quillo::protocol {

// Report ID of every output report.
inline constexpr std::uint8_t kOutputReportId = 1;
// The report buffer holds the report ID plus 64 bytes; no report is ever built longer.
inline constexpr std::size_t kMaxOutputReportLength = 65;
// ID, code, length byte and at least one payload byte, so that no chunk is empty.
inline constexpr std::size_t kMinOutputReportLength = 4;
// Bytes before the payload: report ID, code, length byte.
inline constexpr std::size_t kOutputReportHeader = 3;

// One output report, exactly the device's output report length, report ID first.
using OutputReport = std::vector<std::uint8_t>;

// The reports that carry (code, payload) on a device whose output report length (report ID
// included) is reportLength: one report when the payload fits, otherwise chunks of
// reportLength - 3 bytes with the same code, the last one short, never an empty closing one.
// Each payload character contributes its low byte. A report length outside 4..65 (for
// instance 0 from a device whose capabilities could not be read) gives no reports.
std::vector<OutputReport> frameCommand(CommandCode code, std::u16string_view payload,
                                       std::size_t reportLength);

// One output report taken apart as the unit sees it: the code and this report's payload bytes.
struct OutputChunk {
    CommandCode code{};
    std::vector<std::uint8_t> bytes;

    friend bool operator==(const OutputChunk&, const OutputChunk&) = default;
};

// For the receiving side (the simulated unit, tests): std::nullopt unless the report has the
// output report ID and a length byte that fits inside it.
std::optional<OutputChunk> parseOutputReport(std::span<const std::uint8_t> report);

}  // namespace quillo::protocol
