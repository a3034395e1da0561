#pragma once

// Conversions between the window's control state and parameter values, both directions. The
// read side returns std::nullopt where a value must leave its control unchanged (or, for a
// list, without a selected item); the write side returns a ConversionError where a text that
// should hold a number does not.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/integer_text.h"

namespace quillo::protocol {

// --- Check boxes and radio pairs (codes 5, 24, 25, 26, 27, 28, 43) ---

// Read: 1 is true (check box checked, first control of the pair checked), 0 is false; any other
// value changes no control.
std::optional<bool> flagFromValue(std::uint8_t value);
// Write of a check box: 1 when checked.
std::uint8_t valueFromFlag(bool checked);
// Write of a radio pair: the value of the first checked control, tested in the given order;
// `previous` when neither is checked.
std::uint8_t radioPairValue(bool firstChecked, std::uint8_t firstValue, bool secondChecked,
                            std::uint8_t secondValue, std::uint8_t previous);
// Code 25: RadioButton_Supply (0) is tested before RadioButton_Exhaust (1).
std::uint8_t directionValue(bool supplyChecked, bool exhaustChecked, std::uint8_t previous);
// Code 43: RadioButton_Exhaust_Bix (1) is tested before RadioButton_Supply_Exhaust_Bix (0).
std::uint8_t humidityScenarioValue(bool exhaustBixChecked, bool supplyExhaustBixChecked,
                                   std::uint8_t previous);

// --- Slave number (code 8): items "1".."32" ---
inline constexpr int kSlaveNumberItems = 32;
// Write: the item's number minus 1, as a byte; a number outside 1..256 is out of range.
Converted<std::uint8_t> slaveNumberFromItemText(std::u16string_view itemText);
// Read: the item index, std::nullopt beyond the list.
std::optional<int> slaveNumberItemIndex(std::uint8_t value);

// --- Slave address mode (code 9): item 0 "DHCP" = 1, item 1 "Static" = 0 ---
std::optional<std::uint8_t> slaveIpModeFromItem(int itemIndex);
std::optional<int> slaveIpModeItemIndex(std::uint8_t value);

// --- Wi-Fi channel (code 14): items "1".."13" ---
inline constexpr int kChannelItems = 13;
// Write: the item's number, as a byte; a number outside 0..255 is out of range.
Converted<std::uint8_t> channelFromItemText(std::u16string_view itemText);
// Read: item value - 1, std::nullopt for 0 or above 13.
std::optional<int> channelItemIndex(std::uint8_t value);

// --- Security (code 15): items OPEN, WPA_PSK, WPA2_PSK, WPA_WPA2_PSK = '0', '2', '3', '4' ---
std::optional<char16_t> securityFromItem(int itemIndex);
std::optional<int> securityItemIndex(char16_t digit);

// --- Thresholds (codes 29, 30): value = slider position x 5 ---
inline constexpr int kHumidityPositionMin = 8;
inline constexpr int kHumidityPositionMax = 16;
inline constexpr int kVoltagePositionMin = 1;
inline constexpr int kVoltagePositionMax = 20;
inline constexpr int kThresholdStep = 5;
// Write: a position whose value does not fit a byte (outside 0..51) is out of range, the error
// naming the position.
Converted<std::uint8_t> thresholdValue(int position);
// Read: value / 5 rounded to the nearest position (a byte never lies halfway), then limited
// to the slider's range as the slider itself would.
int thresholdPosition(std::uint8_t value, int minPosition, int maxPosition);
int humidityThresholdPosition(std::uint8_t value);
int voltageThresholdPosition(std::uint8_t value);

// --- Timers (codes 31, 32, 33): time text hh:mm ---
// Write: characters 1-2 are the hours, 4-5 the minutes, each an integer taken modulo 256;
// seconds = hours x 3600 + minutes x 60. The error names the field text that failed.
Converted<std::uint32_t> secondsFromTimeText(std::u16string_view timeText);
// Read: hh:mm with hours = (s div 3600) mod 24 and minutes = (s div 60) mod 60.
std::u16string timeTextFromSeconds(std::uint32_t seconds);

// --- Filter run time (code 38) ---
struct FilterRunTime {
    std::uint32_t days = 0;  // (s div 86400) mod 365
    std::uint32_t hours = 0;
    std::uint32_t minutes = 0;
    std::uint32_t seconds = 0;

    friend bool operator==(const FilterRunTime&, const FilterRunTime&) = default;
};
FilterRunTime splitFilterRunTime(std::uint32_t seconds);
// The label text: each label (messages 370, 380, 390, 400 in the current language) followed by
// its number with at least two digits.
std::u16string filterRunTimeText(std::uint32_t seconds, std::u16string_view daysLabel,
                                 std::u16string_view hoursLabel, std::u16string_view minutesLabel,
                                 std::u16string_view secondsLabel);

// A number in decimal with at least `minDigits` digits (leading zeros).
std::u16string paddedNumber(std::uint32_t value, std::size_t minDigits);

}  // namespace quillo::protocol
