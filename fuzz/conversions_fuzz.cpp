// The text, time, address and threshold conversions over any input: no overflow, and what
// converts comes back the same way.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "protocol/conversions.h"
#include "protocol/integer_text.h"
#include "protocol/ip_octets.h"

using namespace quillo::protocol;

namespace {

// Short texts over the characters the conversions care about, and any other now and then.
std::u16string Text(FuzzedDataProvider& in) {
    static constexpr char16_t kAlphabet[] = u"0123456789+-:. x\u0660\uFF11";
    std::u16string text;
    const auto length = in.ConsumeIntegralInRange<std::size_t>(0, 16);
    for (std::size_t i = 0; i < length && in.remaining_bytes() > 0; ++i) {
        const auto pick = in.ConsumeIntegral<std::uint8_t>();
        text += pick < 224 ? kAlphabet[pick % (std::size(kAlphabet) - 1)]
                           : static_cast<char16_t>(in.ConsumeIntegral<std::uint16_t>());
    }
    return text;
}

std::u16string Decimal(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::u16string text = Text(in);

    if (const auto value = parseInteger(text)) {
        FUZZ_CHECK(parseInteger(Decimal(*value)) == value);
    }
    const auto number = in.ConsumeIntegral<std::int32_t>();
    FUZZ_CHECK(parseInteger(Decimal(number)) == number);

    for (const auto& converted : {slaveNumberFromItemText(text), channelFromItemText(text)}) {
        if (!converted.ok()) {
            FUZZ_CHECK(!conversionErrorMessage(converted.error()).empty());
        }
    }
    if (const auto slave = slaveNumberFromItemText(Decimal(number)); slave.ok()) {
        FUZZ_CHECK(number >= 1 && number <= 256 && slave.value() == number - 1);
    } else {
        FUZZ_CHECK(number < 1 || number > 256);
    }

    const auto position = in.ConsumeIntegral<int>();
    if (const auto threshold = thresholdValue(position); threshold.ok()) {
        FUZZ_CHECK(position >= 0 && threshold.value() == position * kThresholdStep);
        if (position >= kVoltagePositionMin && position <= kVoltagePositionMax) {
            FUZZ_CHECK(voltageThresholdPosition(threshold.value()) == position);
        }
    } else {
        FUZZ_CHECK(position < 0 || position > 0xFF / kThresholdStep);
    }

    if (const auto seconds = secondsFromTimeText(text); seconds.ok()) {
        FUZZ_CHECK(seconds.value() <= 255U * 3600U + 255U * 60U);
        FUZZ_CHECK(timeTextFromSeconds(seconds.value()).size() == 5);
    }
    // Every text the read side shows converts back to the seconds of its hours and minutes.
    const auto shownSeconds = in.ConsumeIntegralInRange<std::uint32_t>(0, 0xFFFFFF);
    const auto back = secondsFromTimeText(timeTextFromSeconds(shownSeconds));
    FUZZ_CHECK(back.ok() && back.value() == shownSeconds % 86400 / 60 * 60);

    if (const auto address = parseDottedAddress(text)) {
        FUZZ_CHECK(parseDottedAddress(dottedText(*address)) == address);
    }
    const IpOctets octets(in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>(),
                          in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>());
    FUZZ_CHECK(parseDottedAddress(dottedText(octets)) == octets);
    return 0;
}
