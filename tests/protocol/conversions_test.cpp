#include "protocol/conversions.h"

#include <gtest/gtest.h>

#include "protocol/ip_octets.h"

namespace quillo::protocol {
namespace {

TEST(IntegerText, DecimalWithOptionalSignOnly) {
    const std::pair<std::u16string_view, std::optional<std::int32_t>> cases[] = {
        {u"0", 0},
        {u"32", 32},
        {u"007", 7},
        {u"+5", 5},
        {u"-1", -1},
        {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"2147483648", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"", std::nullopt},
        {u"-", std::nullopt},
        {u" 1", std::nullopt},
        {u"1 ", std::nullopt},
        {u"1:", std::nullopt},
        {u"$1F", std::nullopt},
        {u"0x1F", std::nullopt},
        {u"\uFF11", std::nullopt},  // a full-width digit is not a decimal digit here
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseInteger(text), expected) << std::string(text.begin(), text.end());
    }
    EXPECT_EQ(conversionErrorMessage(u""), u"'' is not a valid integer value");
    EXPECT_EQ(conversionErrorMessage(u"1:"), u"'1:' is not a valid integer value");
}

TEST(Conversions, FlagsAndRadioPairs) {
    EXPECT_EQ(flagFromValue(1), true);
    EXPECT_EQ(flagFromValue(0), false);
    EXPECT_EQ(flagFromValue(2), std::nullopt);
    EXPECT_EQ(flagFromValue(255), std::nullopt);
    EXPECT_EQ(valueFromFlag(true), 1);
    EXPECT_EQ(valueFromFlag(false), 0);
    // Direction: supply (0) wins when both are checked; neither keeps the previous value.
    EXPECT_EQ(directionValue(true, true, 7), 0);
    EXPECT_EQ(directionValue(false, true, 7), 1);
    EXPECT_EQ(directionValue(false, false, 7), 7);
    // Scenario: the exhaust button (1) is tested first.
    EXPECT_EQ(humidityScenarioValue(true, true, 7), 1);
    EXPECT_EQ(humidityScenarioValue(false, true, 7), 0);
    EXPECT_EQ(humidityScenarioValue(false, false, 7), 7);
}

TEST(Conversions, ListItems) {
    EXPECT_EQ(slaveNumberFromItemText(u"1").value(), 0);
    EXPECT_EQ(slaveNumberFromItemText(u"32").value(), 31);
    EXPECT_EQ(slaveNumberFromItemText(u"").error().text, u"");
    EXPECT_EQ(slaveNumberItemIndex(0), 0);
    EXPECT_EQ(slaveNumberItemIndex(31), 31);
    EXPECT_EQ(slaveNumberItemIndex(32), std::nullopt);

    EXPECT_EQ(channelFromItemText(u"13").value(), 13);
    EXPECT_EQ(channelFromItemText(u"").error().text, u"");
    EXPECT_EQ(channelItemIndex(11), 10);
    EXPECT_EQ(channelItemIndex(1), 0);
    EXPECT_EQ(channelItemIndex(0), std::nullopt);
    EXPECT_EQ(channelItemIndex(14), std::nullopt);

    EXPECT_EQ(slaveIpModeFromItem(0), 1);
    EXPECT_EQ(slaveIpModeFromItem(1), 0);
    EXPECT_EQ(slaveIpModeFromItem(-1), std::nullopt);
    EXPECT_EQ(slaveIpModeItemIndex(1), 0);
    EXPECT_EQ(slaveIpModeItemIndex(0), 1);
    EXPECT_EQ(slaveIpModeItemIndex(2), std::nullopt);
}

TEST(Conversions, SecurityIsAsciiDigitsSkippingOne) {
    const char16_t digits[] = {u'0', u'2', u'3', u'4'};
    for (int item = 0; item < 4; ++item) {
        EXPECT_EQ(securityFromItem(item), digits[item]);
        EXPECT_EQ(securityItemIndex(digits[item]), item);
    }
    EXPECT_EQ(securityFromItem(-1), std::nullopt);
    EXPECT_EQ(securityFromItem(4), std::nullopt);
    EXPECT_EQ(securityItemIndex(u'1'), std::nullopt);
    EXPECT_EQ(securityItemIndex(u'\0'), std::nullopt);
    EXPECT_EQ(securityItemIndex(2), std::nullopt);  // the number 2, not the digit
}

TEST(Conversions, ThresholdsRoundThenClampToTheSlider) {
    const std::tuple<std::uint8_t, int, int> cases[] = {
        // value, humidity position, 0-10 V position
        {52, 10, 10}, {53, 11, 11}, {72, 14, 14},  {0, 8, 1},     {2, 8, 1},    {3, 8, 1},
        {40, 8, 8},   {80, 16, 16}, {255, 16, 20}, {100, 16, 20}, {98, 16, 20}, {97, 16, 19},
    };
    for (const auto& [value, humidity, voltage] : cases) {
        EXPECT_EQ(humidityThresholdPosition(value), humidity) << int{value};
        EXPECT_EQ(voltageThresholdPosition(value), voltage) << int{value};
    }
    EXPECT_EQ(thresholdValue(8).value(), 40);
    EXPECT_EQ(thresholdValue(20).value(), 100);
}

// Numbers that do not fit the parameter's byte are named as out of range, never wrapped, and
// their arithmetic never overflows (INT_MIN - 1, 429496730 x 5).
TEST(Conversions, NumbersBeyondTheByteAreOutOfRange) {
    using Kind = ConversionError::Kind;
    const std::pair<Converted<std::uint8_t>, std::u16string_view> cases[] = {
        {slaveNumberFromItemText(u"-2147483648"), u"-2147483648"},
        {slaveNumberFromItemText(u"0"), u"0"},
        {slaveNumberFromItemText(u"257"), u"257"},
        {slaveNumberFromItemText(u"2147483647"), u"2147483647"},
        {channelFromItemText(u"-1"), u"-1"},
        {channelFromItemText(u"256"), u"256"},
        {thresholdValue(429496730), u"429496730"},
        {thresholdValue(-2147483647 - 1), u"-2147483648"},
        {thresholdValue(52), u"52"},
        {thresholdValue(-1), u"-1"},
    };
    for (const auto& [converted, text] : cases) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        ASSERT_FALSE(converted.ok());
        EXPECT_EQ(converted.error(), (ConversionError{std::u16string(text), Kind::OutOfRange}));
    }
    EXPECT_EQ(conversionErrorMessage(thresholdValue(429496730).error()),
              u"'429496730' is out of range");
    // The edges that still fit.
    EXPECT_EQ(slaveNumberFromItemText(u"256").value(), 255);
    EXPECT_EQ(channelFromItemText(u"0").value(), 0);
    EXPECT_EQ(thresholdValue(51).value(), 255);
    EXPECT_EQ(thresholdValue(0).value(), 0);
}

TEST(Conversions, TimerTextToSeconds) {
    const std::pair<std::u16string_view, std::uint32_t> good[] = {
        {u"00:00", 0},     {u"01:30", 5400},   {u"99:00", 356400},
        {u"23:59", 86340}, {u"-1:00", 918000},  // -1 taken modulo 256 is 255 hours
        {u"01x05", 3900},                       // the third character is not looked at
        {u"01:3", 3780},                        // a field cut short by the end of the text
    };
    for (const auto& [text, seconds] : good) {
        const auto converted = secondsFromTimeText(text);
        ASSERT_TRUE(converted.ok()) << std::string(text.begin(), text.end());
        EXPECT_EQ(converted.value(), seconds);
    }
    const std::pair<std::u16string_view, std::u16string_view> bad[] = {
        {u"", u""},    {u" 1:30", u" 1"}, {u"1:30", u"1:"},
        {u"01:", u""}, {u"ab:00", u"ab"}, {u"00:x0", u"x0"},
    };
    for (const auto& [text, failed] : bad) {
        const auto converted = secondsFromTimeText(text);
        ASSERT_FALSE(converted.ok()) << std::string(text.begin(), text.end());
        EXPECT_EQ(converted.error().text, failed);
    }
}

TEST(Conversions, SecondsToTimerText) {
    EXPECT_EQ(timeTextFromSeconds(0), u"00:00");
    EXPECT_EQ(timeTextFromSeconds(5400), u"01:30");
    EXPECT_EQ(timeTextFromSeconds(5459), u"01:30");
    EXPECT_EQ(timeTextFromSeconds(100000), u"03:46");
    EXPECT_EQ(timeTextFromSeconds(secondsFromTimeText(u"99:00").value()), u"03:00");
    EXPECT_EQ(timeTextFromSeconds(0xFFFFFF), u"04:20");
}

TEST(Conversions, FilterRunTimeLine) {
    const auto line = [](std::uint32_t s) {
        return filterRunTimeText(s, u"Days: ", u"    Hours: ", u"    Minutes: ", u"    Seconds: ");
    };
    EXPECT_EQ(line(90061), u"Days: 01    Hours: 01    Minutes: 01    Seconds: 01");
    EXPECT_EQ(line(0), u"Days: 00    Hours: 00    Minutes: 00    Seconds: 00");
    EXPECT_EQ(line(364U * 86400 + 86399), u"Days: 364    Hours: 23    Minutes: 59    Seconds: 59");
    EXPECT_EQ(splitFilterRunTime(365U * 86400 + 61), (FilterRunTime{0, 0, 1, 1}));
    EXPECT_EQ(splitFilterRunTime(0xFFFFFF), (FilterRunTime{194, 4, 20, 15}));
}

TEST(Addresses, DottedTextBothWays) {
    EXPECT_EQ(dottedText(IpOctets(192, 168, 4, 1)), u"192.168.4.1");
    EXPECT_EQ(dottedText(IpOctets(0, 0, 0, 0)), u"0.0.0.0");
    EXPECT_EQ(dottedText(IpOctets()), u"");
    EXPECT_EQ(parseDottedAddress(u"10.0.0.255"), IpOctets(10, 0, 0, 255));
    EXPECT_EQ(parseDottedAddress(u"192.168.004.001"), IpOctets(192, 168, 4, 1));
    for (const std::u16string_view bad :
         {u"", u"1.2.3", u"1.2.3.4.", u"1.2.3.256", u"1..3.4", u" 1.2.3.4", u"1.2.3.4 ",
          u"1.2.3.0004", u"a.b.c.d", u"-1.2.3.4"}) {
        EXPECT_EQ(parseDottedAddress(bad), std::nullopt) << std::string(bad.begin(), bad.end());
    }
}

}  // namespace
}  // namespace quillo::protocol
