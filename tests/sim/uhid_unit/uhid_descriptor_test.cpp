#include "sim/uhid_unit/uhid_descriptor.h"

#include <gtest/gtest.h>

#include "hid/platform/linux/report_descriptor.h"

namespace quillo::sim::uhid {
namespace {

// The shapes the uhid units present read back, through the same parser the hidraw backend
// uses, as the report lengths and numbering they were made with.
TEST(UhidDescriptorTest, ParsesBackToItsShape) {
    struct Case {
        DescriptorShape shape;
        std::uint16_t input;
        std::uint16_t output;
    };
    const Case cases[] = {
        {{64, 64, true}, 65, 65},    // a real unit
        {{64, 64, false}, 65, 65},   // no report IDs: still one byte more, as Windows counts
        {{32, 300, true}, 33, 301},  // a count past one byte
        {{4095, 1, true}, 4096, 2},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> descriptor = UnitReportDescriptor(c.shape);
        const hid::platform::DescriptorSummary summary =
            hid::platform::summarizeReportDescriptor(descriptor);
        EXPECT_EQ(summary.lengths.input, c.input) << c.shape.inputBytes;
        EXPECT_EQ(summary.lengths.output, c.output) << c.shape.outputBytes;
        EXPECT_EQ(summary.numbered, c.shape.numbered) << c.shape.inputBytes;
    }
}

}  // namespace
}  // namespace quillo::sim::uhid
