// The report descriptor parser over any bytes a device may declare.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "hid/platform/linux/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using quillo::hid::platform::summarizeReportDescriptor;
    const std::span<const std::uint8_t> descriptor(data, size);
    const auto summary = summarizeReportDescriptor(descriptor);
    // Pure: the same bytes give the same figures.
    const auto again = summarizeReportDescriptor(descriptor);
    FUZZ_CHECK(again.lengths.input == summary.lengths.input);
    FUZZ_CHECK(again.lengths.output == summary.lengths.output);
    FUZZ_CHECK(again.numbered == summary.numbered);
    // More items only add fields: a descriptor's lengths are never below those of its first
    // half, so no count or size may wrap a sum around.
    const auto half = summarizeReportDescriptor(descriptor.first(size / 2));
    FUZZ_CHECK(half.lengths.input <= summary.lengths.input);
    FUZZ_CHECK(half.lengths.output <= summary.lengths.output);
    return 0;
}
