#include "protocol/conversions.h"

#include <algorithm>
#include <array>
#include <string>

namespace quillo::protocol {

namespace {

constexpr std::array<char16_t, 4> kSecurityDigits = {u'0', u'2', u'3', u'4'};

// The low byte of an integer, as storing it in a byte does (-1 becomes 255).
std::uint8_t lowByte(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFU);
}

// A list item's number as the byte it stands for: `number - offset` must fit a byte, computed
// without overflow; anything else is named as out of range rather than wrapped.
Converted<std::uint8_t> byteFromItemText(std::u16string_view itemText, std::int32_t offset) {
    const auto number = convertInteger(itemText);
    if (!number.ok()) {
        return number.error();
    }
    const std::int64_t value = std::int64_t{number.value()} - offset;
    if (value < 0 || value > 0xFF) {
        return ConversionError{std::u16string(itemText), ConversionError::Kind::OutOfRange};
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace

std::optional<bool> flagFromValue(std::uint8_t value) {
    if (value == 1) {
        return true;
    }
    if (value == 0) {
        return false;
    }
    return std::nullopt;
}

std::uint8_t valueFromFlag(bool checked) {
    return checked ? 1 : 0;
}

std::uint8_t radioPairValue(bool firstChecked, std::uint8_t firstValue, bool secondChecked,
                            std::uint8_t secondValue, std::uint8_t previous) {
    if (firstChecked) {
        return firstValue;
    }
    if (secondChecked) {
        return secondValue;
    }
    return previous;
}

std::uint8_t directionValue(bool supplyChecked, bool exhaustChecked, std::uint8_t previous) {
    return radioPairValue(supplyChecked, 0, exhaustChecked, 1, previous);
}

std::uint8_t humidityScenarioValue(bool exhaustBixChecked, bool supplyExhaustBixChecked,
                                   std::uint8_t previous) {
    return radioPairValue(exhaustBixChecked, 1, supplyExhaustBixChecked, 0, previous);
}

Converted<std::uint8_t> slaveNumberFromItemText(std::u16string_view itemText) {
    return byteFromItemText(itemText, 1);
}

std::optional<int> slaveNumberItemIndex(std::uint8_t value) {
    if (value < kSlaveNumberItems) {
        return value;
    }
    return std::nullopt;
}

std::optional<std::uint8_t> slaveIpModeFromItem(int itemIndex) {
    if (itemIndex == 0) {
        return 1;
    }
    if (itemIndex == 1) {
        return 0;
    }
    return std::nullopt;
}

std::optional<int> slaveIpModeItemIndex(std::uint8_t value) {
    if (value == 1) {
        return 0;
    }
    if (value == 0) {
        return 1;
    }
    return std::nullopt;
}

Converted<std::uint8_t> channelFromItemText(std::u16string_view itemText) {
    return byteFromItemText(itemText, 0);
}

std::optional<int> channelItemIndex(std::uint8_t value) {
    if (value >= 1 && value <= kChannelItems) {
        return value - 1;
    }
    return std::nullopt;
}

std::optional<char16_t> securityFromItem(int itemIndex) {
    if (itemIndex >= 0 && itemIndex < static_cast<int>(kSecurityDigits.size())) {
        return kSecurityDigits[static_cast<std::size_t>(itemIndex)];
    }
    return std::nullopt;
}

std::optional<int> securityItemIndex(char16_t digit) {
    for (std::size_t i = 0; i < kSecurityDigits.size(); ++i) {
        if (kSecurityDigits[i] == digit) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

Converted<std::uint8_t> thresholdValue(int position) {
    const std::int64_t value = std::int64_t{position} * kThresholdStep;
    if (value < 0 || value > 0xFF) {
        const std::string digits = std::to_string(position);
        return ConversionError{std::u16string(digits.begin(), digits.end()),
                               ConversionError::Kind::OutOfRange};
    }
    return static_cast<std::uint8_t>(value);
}

int thresholdPosition(std::uint8_t value, int minPosition, int maxPosition) {
    const int rounded = (value + 2) / 5;
    return std::clamp(rounded, minPosition, maxPosition);
}

int humidityThresholdPosition(std::uint8_t value) {
    return thresholdPosition(value, kHumidityPositionMin, kHumidityPositionMax);
}

int voltageThresholdPosition(std::uint8_t value) {
    return thresholdPosition(value, kVoltagePositionMin, kVoltagePositionMax);
}

Converted<std::uint32_t> secondsFromTimeText(std::u16string_view timeText) {
    // Characters 1-2 and 4-5 (1-based), cut short when the text is.
    const auto field = [timeText](std::size_t start) {
        return start < timeText.size() ? timeText.substr(start, 2) : std::u16string_view{};
    };
    const auto hours = convertInteger(field(0));
    if (!hours.ok()) {
        return hours.error();
    }
    const auto minutes = convertInteger(field(3));
    if (!minutes.ok()) {
        return minutes.error();
    }
    return std::uint32_t{lowByte(hours.value())} * 3600U +
           std::uint32_t{lowByte(minutes.value())} * 60U;
}

std::u16string paddedNumber(std::uint32_t value, std::size_t minDigits) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    if (digits.size() < minDigits) {
        digits.insert(0, minDigits - digits.size(), u'0');
    }
    return digits;
}

std::u16string timeTextFromSeconds(std::uint32_t seconds) {
    return paddedNumber((seconds / 3600) % 24, 2) + u':' + paddedNumber((seconds / 60) % 60, 2);
}

FilterRunTime splitFilterRunTime(std::uint32_t seconds) {
    return {(seconds / 86400) % 365, (seconds / 3600) % 24, (seconds / 60) % 60, seconds % 60};
}

std::u16string filterRunTimeText(std::uint32_t seconds, std::u16string_view daysLabel,
                                 std::u16string_view hoursLabel, std::u16string_view minutesLabel,
                                 std::u16string_view secondsLabel) {
    const FilterRunTime time = splitFilterRunTime(seconds);
    std::u16string text(daysLabel);
    text += paddedNumber(time.days, 2);
    text += hoursLabel;
    text += paddedNumber(time.hours, 2);
    text += minutesLabel;
    text += paddedNumber(time.minutes, 2);
    text += secondsLabel;
    text += paddedNumber(time.seconds, 2);
    return text;
}

}  // namespace quillo::protocol
