// A scan line's text and the network name taken from it, over any report.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "protocol/input_report.h"
#include "protocol/wifi_scan.h"

using namespace quillo::protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto buffer = std::make_unique<std::uint8_t[]>(size);
    if (size > 0) {
        std::memcpy(buffer.get(), data, size);
    }
    const InputReport report(buffer.get(), size, size);
    const std::u16string line = scanLineText(report);
    const std::u16string name = networkNameFromScanLine(line);
    // The name is a piece of the line.
    FUZZ_CHECK(name.size() <= line.size());
    FUZZ_CHECK(name.empty() || line.find(name) != std::u16string::npos);
    return 0;
}
