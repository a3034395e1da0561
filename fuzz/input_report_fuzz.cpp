// Every reader of an input report, and the read-side conversions the window applies to what
// they give, over any bytes and any claimed Size. The buffer is exactly as large as the
// transport's, so a read past it is an AddressSanitizer finding.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz_check.h"
#include "protocol/conversions.h"
#include "protocol/input_report.h"

using namespace quillo::protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // The first two bytes are the Size the transport claims; the rest is the buffer.
    const std::size_t claimed = static_cast<std::size_t>(data[0]) << 8 | data[1];
    const std::size_t capacity = size - 2;
    const auto buffer = std::make_unique<std::uint8_t[]>(capacity);
    std::memcpy(buffer.get(), data + 2, capacity);

    const InputReport report(buffer.get(), claimed, capacity);
    const std::size_t n = std::min(claimed, capacity);
    FUZZ_CHECK(report.size() == n);

    const std::u16string raw = report.rawText();
    FUZZ_CHECK(raw.size() == (n >= 3 ? n - 2 : 0));
    const std::u16string shown = report.displayText();
    FUZZ_CHECK(raw.compare(0, shown.size(), shown) == 0);
    FUZZ_CHECK(shown.find(u'\0') == std::u16string::npos);
    FUZZ_CHECK(report.countedText().size() <=
               std::min<std::size_t>(report.lengthByte(), n >= 2 ? n - 2 : 0));
    const std::uint32_t seconds = report.seconds();
    FUZZ_CHECK(seconds <= 0xFFFFFFU);
    FUZZ_CHECK(!report.address().empty());

    const std::uint8_t byte = report.byteValue();
    const int humidity = humidityThresholdPosition(byte);
    FUZZ_CHECK(humidity >= kHumidityPositionMin && humidity <= kHumidityPositionMax);
    const int voltage = voltageThresholdPosition(byte);
    FUZZ_CHECK(voltage >= kVoltagePositionMin && voltage <= kVoltagePositionMax);
    if (const auto item = slaveNumberItemIndex(byte)) {
        FUZZ_CHECK(*item >= 0 && *item < kSlaveNumberItems);
    }
    if (const auto item = channelItemIndex(byte)) {
        FUZZ_CHECK(*item >= 0 && *item < kChannelItems);
    }
    if (const auto item = securityItemIndex(report.digitValue())) {
        FUZZ_CHECK(securityFromItem(*item) == report.digitValue());
    }
    (void)slaveIpModeItemIndex(byte);
    (void)flagFromValue(byte);
    FUZZ_CHECK(timeTextFromSeconds(seconds).size() == 5);
    const FilterRunTime split = splitFilterRunTime(seconds);
    FUZZ_CHECK(split.days < 365 && split.hours < 24 && split.minutes < 60 && split.seconds < 60);
    (void)filterRunTimeText(seconds, u"d", u"h", u"m", u"s");
    return 0;
}
