#pragma once

// Report lengths from a raw HID report descriptor, computed the way Windows' HID parser reports
// them, so that the layer above sees the same figures on both systems.

#include <cstdint>
#include <span>

#include "hid/platform/hid_backend.h"

namespace quillo::hid::platform {

struct DescriptorSummary {
    // Largest report of each type over all report IDs, in bytes, plus one for the report ID
    // (also when the device declares none); 0 when the type does not occur.
    ReportLengths lengths;
    // True when the descriptor declares report IDs: the device then sends the ID as the first
    // byte of every report, and hidraw passes it through.
    bool numbered = false;
};

// Pure function: no I/O. A truncated or malformed descriptor is read up to the first item that
// does not fit.
DescriptorSummary summarizeReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace quillo::hid::platform
