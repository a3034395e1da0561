#pragma once

// The report descriptor a unit on /dev/uhid presents to the kernel: one vendor-page collection
// with an input and an output report. A real unit has report ID 1 and 64 data bytes each way;
// other shapes make hostile units.

#include <cstdint>
#include <vector>

namespace quillo::sim::uhid {

struct DescriptorShape {
    int inputBytes = 64;   // data bytes of the input report, without the report ID (1..4095)
    int outputBytes = 64;  // the same for the output report
    bool numbered = true;  // report ID 1 before both reports; false: no report IDs at all
};

std::vector<std::uint8_t> UnitReportDescriptor(const DescriptorShape& shape);

}  // namespace quillo::sim::uhid
