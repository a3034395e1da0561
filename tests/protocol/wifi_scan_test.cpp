#include "protocol/wifi_scan.h"

#include <gtest/gtest.h>

#include "protocol/framing.h"
#include "test_support.h"

namespace quillo::protocol {
namespace {

using test::Bytes;
using test::padded;
using test::RecordingDevice;

TEST(WifiScan, NetworkNameIsTheFirstQuotedField) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"+CWLAP:(3,\"HomeNet\",-61,\"aa:bb:cc:dd:ee:ff\",6)", u"HomeNet"},
        {u"junk,\"HomeNet\",junk", u"HomeNet"},
        {u"(3,\"Ho\",me\",-61)", u"Ho"},  // no signal and MAC behind: cut at the first `",`
        {u"(3,\"\",-61)", u""},
        {u"no markers at all", u""},
        {u"", u""},
        {u",\",", u""},         // the markers overlap
        {u"x\",y,\"z\"", u""},  // closing marker before the opening one
        {u"ab\",x", u"b"},      // no opening marker: from the second character
    };
    for (const auto& [line, name] : cases) {
        EXPECT_EQ(networkNameFromScanLine(line), name) << std::string(line.begin(), line.end());
    }
}

// The name ends where the signal strength and the quoted MAC address follow, so names that
// hold `",` stay whole.
TEST(WifiScan, NetworkNameEndsBeforeSignalAndMac) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"+CWLAP:(3,\"Flat 4\",B\",-61,\"12:34:56:78:9a:bc\",6)", u"Flat 4\",B"},
        {u"+CWLAP:(3,\"a\",\"b\",\"c\",-5,\"AA:BB:CC:DD:EE:FF\",11)", u"a\",\"b\",\"c"},
        {u"+CWLAP:(3,\"Home\",-61,\"aa:bb:cc:dd:ee:ff\",1,15,0)", u"Home"},  // extra fields
        {u"+CWLAP:(4,\"\",-90,\"aa:bb:cc:dd:ee:ff\",6)", u""},               // hidden network
        {u"+CWLAP:(3,\"x\",61,\"aa:bb:cc:dd:ee:ff\")", u"x"},                // no minus sign
        {u"+CWLAP:(3,\"n\",-61,\"aa:bb:cc:dd:ee:f\",6)", u"n"},    // short MAC: simple rule
        {u"+CWLAP:(3,\"n\",x\",-61,\"aa:bb:cc:dd:ee\",6)", u"n"},  // no MAC: simple rule
    };
    for (const auto& [line, name] : cases) {
        EXPECT_EQ(networkNameFromScanLine(line), name) << std::string(line.begin(), line.end());
    }
}

TEST(WifiScan, ANameFromAScanLineIsWrittenBackByteForByte) {
    const Bytes line = padded({4, 0, ',', '"', 'C', 0xE4, 'f', 0xE9, 0x80, 0xFF, '"', ','}, 64);
    const InputReport report{std::span<const std::uint8_t>(line)};
    const std::u16string name = networkNameFromScanLine(scanLineText(report));
    const auto reports = frameCommand(Code_Wi_Fi_name, name, 65);
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports[0], padded({1, 6, 6, 'C', 0xE4, 'f', 0xE9, 0x80, 0xFF}, 65));
}

TEST(WifiScan, AtAndClosingSequencesOnTheWire) {
    RecordingDevice device(65);
    std::vector<long long> pauses;
    const auto sleep = [&](std::chrono::milliseconds ms) {
        pauses.push_back(ms.count());
        // Pauses fall between the commands as listed.
        pauses.push_back(-static_cast<long long>(device.reports.size()));
    };
    runSequence(&device, scanAtSequence(), sleep);
    runSequence(&device, scanClosingSequence(), sleep);

    const auto text = [](int code, std::string_view line) {
        Bytes report = padded(
            {1, static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(line.size())}, 65);
        std::copy(line.begin(), line.end(), report.begin() + 3);
        return report;
    };
    EXPECT_EQ(device.reports, (std::vector<Bytes>{
                                  padded({1, 4, 1, 1}, 65),
                                  text(1, "AT+CWQAP\r\n"),
                                  text(1, "AT+CWMODE_DEF=1\r\n"),
                                  text(1, "AT+CWLAP\r\n"),
                                  padded({1, 4, 1, 0}, 65),
                                  padded({1, 3, 1, 0}, 65),
                                  padded({1, 3, 1, 1}, 65),
                              }));
    EXPECT_EQ(pauses, (std::vector<long long>{100, -2, 100, -3, 200, -6}));
}

}  // namespace
}  // namespace quillo::protocol
