#include "sim/uhid_unit/uhid_descriptor.h"

namespace quillo::sim::uhid {

namespace {

// A short item whose value is `count`, in one byte when it fits, else in two.
void CountItem(std::vector<std::uint8_t>& out, std::uint8_t tag, int count) {
    const auto value = static_cast<unsigned>(count);
    if (value <= 0xFF) {
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(tag | 0x01U), static_cast<std::uint8_t>(value)});
    } else {
        out.insert(out.end(), {static_cast<std::uint8_t>(tag | 0x02U),
                               static_cast<std::uint8_t>(value & 0xFFU),
                               static_cast<std::uint8_t>(value >> 8U)});
    }
}

}  // namespace

std::vector<std::uint8_t> UnitReportDescriptor(const DescriptorShape& shape) {
    std::vector<std::uint8_t> d = {
        0x06, 0x00, 0xFF,  // Usage Page (vendor 0xFF00)
        0x09, 0x01,        // Usage (1)
        0xA1, 0x01,        // Collection (Application)
    };
    if (shape.numbered) {
        d.insert(d.end(), {0x85, 0x01});  // Report ID (1)
    }
    d.insert(d.end(), {
                          0x15, 0x00,        // Logical Minimum (0)
                          0x26, 0xFF, 0x00,  // Logical Maximum (255)
                          0x75, 0x08,        // Report Size (8 bits)
                          0x09, 0x02,        // Usage (2)
                      });
    CountItem(d, 0x94, shape.inputBytes);  // Report Count
    d.insert(d.end(), {0x81, 0x02});       // Input (Data, Variable, Absolute)
    d.insert(d.end(), {0x09, 0x03});       // Usage (3)
    CountItem(d, 0x94, shape.outputBytes);
    d.insert(d.end(), {0x91, 0x02});  // Output (Data, Variable, Absolute)
    d.push_back(0xC0);                // End Collection
    return d;
}

}  // namespace quillo::sim::uhid
