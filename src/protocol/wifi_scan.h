#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/input_report.h"
#include "protocol/sequence.h"

namespace quillo::protocol {

// Repeat period of the AT sequence until the first scan line arrives.
inline constexpr std::chrono::milliseconds kScanRepeatInterval{2000};
// The closing sequence follows the first scan line after this long.
inline constexpr std::chrono::milliseconds kScanCloseDelay{1500};
// Repeats of the AT sequence without a line, after which the scan gives up and closes: a module
// that finds no network must not keep the unit in pass-through for ever.
inline constexpr int kScanRepeatsWithoutLine = 5;
// Names the list holds at most; each name is listed once.
inline constexpr int kScanNameLimit = 64;

// Pass-through on, leave the joined network, station mode, list the access points.
Sequence scanAtSequence();
// Pass-through off and a restart of the Wi-Fi module.
Sequence scanClosingSequence();

// The text of a scan line (code 4): bytes 2 .. Size-1, one character per byte; the length byte
// is not used.
std::u16string scanLineText(const InputReport& report);
// The network name of a scan line: the characters after the first `,"` up to the `",` that is
// followed by the signal strength and the quoted MAC address (so a name may itself hold `",`).
// A line without that tail gives the characters after the first `,"` up to the first `",`,
// empty when there is no such span.
std::u16string networkNameFromScanLine(std::u16string_view line);

// The network of a scan line as both programs list it.
struct ScanName {
    std::u16string shown;             // decoded as a name read from the unit is
    std::vector<std::uint8_t> bytes;  // as it was on the air: a pick of it goes back so
    std::u16string line;              // the whole line up to its first zero byte, decoded so
};
ScanName scanNetworkName(const InputReport& report);

}  // namespace quillo::protocol
