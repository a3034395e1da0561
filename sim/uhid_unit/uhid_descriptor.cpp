#include "sim/uhid_unit/uhid_descriptor.h"

#include <initializer_list>

namespace quillo::sim::uhid {

namespace {

// Appended byte by byte: GCC 12 at -O3 warns falsely (-Warray-bounds) on a vector's range insert
// here.
void Append(std::vector<std::uint8_t>& out, std::initializer_list<std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        out.push_back(byte);
    }
}

// A short item whose value is `count`, in one byte when it fits, else in two.
void CountItem(std::vector<std::uint8_t>& out, std::uint8_t tag, int count) {
    const auto value = static_cast<unsigned>(count);
    if (value <= 0xFF) {
        Append(out, {static_cast<std::uint8_t>(tag | 0x01U), static_cast<std::uint8_t>(value)});
    } else {
        Append(out,
               {static_cast<std::uint8_t>(tag | 0x02U), static_cast<std::uint8_t>(value & 0xFFU),
                static_cast<std::uint8_t>(value >> 8U)});
    }
}

}  // namespace

std::vector<std::uint8_t> UnitReportDescriptor(const DescriptorShape& shape) {
    std::vector<std::uint8_t> d;
    Append(d, {
                  0x06, 0x00, 0xFF,  // Usage Page (vendor 0xFF00)
                  0x09, 0x01,        // Usage (1)
                  0xA1, 0x01,        // Collection (Application)
              });
    if (shape.numbered) {
        Append(d, {0x85, 0x01});  // Report ID (1)
    }
    Append(d, {
                  0x15, 0x00,        // Logical Minimum (0)
                  0x26, 0xFF, 0x00,  // Logical Maximum (255)
                  0x75, 0x08,        // Report Size (8 bits)
                  0x09, 0x02,        // Usage (2)
              });
    CountItem(d, 0x94, shape.inputBytes);  // Report Count
    Append(d, {0x81, 0x02});               // Input (Data, Variable, Absolute)
    Append(d, {0x09, 0x03});               // Usage (3)
    CountItem(d, 0x94, shape.outputBytes);
    Append(d, {0x91, 0x02});  // Output (Data, Variable, Absolute)
    d.push_back(0xC0);        // End Collection
    return d;
}

}  // namespace quillo::sim::uhid
