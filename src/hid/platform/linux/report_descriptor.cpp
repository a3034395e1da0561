#include "hid/platform/linux/report_descriptor.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <vector>

namespace quillo::hid::platform {
namespace {

// Item types and tags of the HID 1.11 short item format.
constexpr unsigned kTypeMain = 0;
constexpr unsigned kTypeGlobal = 1;

constexpr unsigned kMainInput = 0x8;
constexpr unsigned kMainOutput = 0x9;

constexpr unsigned kGlobalReportSize = 0x7;
constexpr unsigned kGlobalReportId = 0x8;
constexpr unsigned kGlobalReportCount = 0x9;
constexpr unsigned kGlobalPush = 0xA;
constexpr unsigned kGlobalPop = 0xB;

constexpr std::uint8_t kLongItemPrefix = 0xFE;

struct GlobalState {
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

// A hostile descriptor may declare counts whose sums do not fit in 64 bits: every sum and
// product saturates, so a huge report is capped at the largest length, never wrapped to a small
// one.
std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    return a > kMax - b ? kMax : a + b;
}

std::uint16_t lengthWithId(std::uint64_t bits) {
    const std::uint64_t bytes = bits / 8 + (bits % 8 != 0 ? 1 : 0);
    return static_cast<std::uint16_t>(std::min<std::uint64_t>(
        saturatingAdd(bytes, 1), std::numeric_limits<std::uint16_t>::max()));
}

std::uint16_t largestReport(const std::map<std::uint32_t, std::uint64_t>& bitsById) {
    std::uint16_t largest = 0;
    for (const auto& [id, bits] : bitsById) {
        largest = std::max(largest, lengthWithId(bits));
    }
    return largest;
}

}  // namespace

DescriptorSummary summarizeReportDescriptor(std::span<const std::uint8_t> descriptor) {
    GlobalState global;
    std::vector<GlobalState> stack;
    // Bits per report ID; an entry exists as soon as a main item of that type names the ID,
    // so a report of zero bits still counts as one byte (its ID).
    std::map<std::uint32_t, std::uint64_t> inputBits;
    std::map<std::uint32_t, std::uint64_t> outputBits;
    bool numbered = false;

    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        const std::uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            // Long items carry no report layout; skip prefix, size, tag and data.
            if (pos + 1 >= descriptor.size()) {
                break;
            }
            pos += 3 + descriptor[pos + 1];
            continue;
        }
        static constexpr std::array<std::size_t, 4> kDataSize = {0, 1, 2, 4};
        const std::size_t size = kDataSize[prefix & 0x3U];
        if (pos + 1 + size > descriptor.size()) {
            break;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            value |= static_cast<std::uint32_t>(descriptor[pos + 1 + i]) << (8 * i);
        }
        const unsigned type = (prefix >> 2U) & 0x3U;
        const unsigned tag = prefix >> 4U;
        pos += 1 + size;

        if (type == kTypeGlobal) {
            switch (tag) {
                case kGlobalReportSize:
                    global.reportSize = value;
                    break;
                case kGlobalReportCount:
                    global.reportCount = value;
                    break;
                case kGlobalReportId:
                    global.reportId = value;
                    numbered = true;
                    break;
                case kGlobalPush:
                    stack.push_back(global);
                    break;
                case kGlobalPop:
                    if (!stack.empty()) {
                        global = stack.back();
                        stack.pop_back();
                    }
                    break;
                default:
                    break;
            }
        } else if (type == kTypeMain && (tag == kMainInput || tag == kMainOutput)) {
            auto& bits = tag == kMainInput ? inputBits : outputBits;
            // Two 32-bit factors always fit in 64 bits; their sum over many items may not.
            std::uint64_t& total = bits[global.reportId];
            total = saturatingAdd(
                total, static_cast<std::uint64_t>(global.reportSize) * global.reportCount);
        }
    }

    DescriptorSummary summary;
    summary.lengths.input = largestReport(inputBits);
    summary.lengths.output = largestReport(outputBits);
    summary.numbered = numbered;
    return summary;
}

}  // namespace quillo::hid::platform
