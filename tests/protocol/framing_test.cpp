#include "protocol/framing.h"

#include <gtest/gtest.h>

#include "protocol/payload.h"
#include "protocol/send_command.h"
#include "test_support.h"

namespace quillo::protocol {
namespace {

using test::Bytes;
using test::countingPayload;
using test::padded;
using test::RecordingDevice;

std::vector<Bytes> frame(CommandCode code, std::u16string_view payload, std::size_t length) {
    std::vector<Bytes> reports;
    for (const OutputReport& report : frameCommand(code, payload, length)) {
        reports.emplace_back(report.begin(), report.end());
    }
    return reports;
}

TEST(Framing, ReadRequestIsOneReportWithZeroTail) {
    EXPECT_EQ(frame(Code_Read, bytePayload(5), 65),
              (std::vector<Bytes>{padded({0x01, 0x10, 0x01, 0x05}, 65)}));
}

TEST(Framing, EmptyPayloadIsOneReportWithLengthZero) {
    EXPECT_EQ(frame(Code_Slave_IP, u"", 65), (std::vector<Bytes>{padded({0x01, 10, 0}, 65)}));
    EXPECT_EQ(frame(Code_Slave_IP, u"", 4), (std::vector<Bytes>{Bytes{0x01, 10, 0, 0}}));
}

// Only the length bytes of each report: the chunking decisions at and around the boundaries.
TEST(Framing, SplitsIntoFullChunksAndOneShortOneWithoutEmptyClosingReport) {
    struct Case {
        std::size_t payloadSize;
        std::size_t reportLength;
        std::vector<std::uint8_t> lengths;
    };
    const Case cases[] = {
        {62, 65, {62}},    {63, 65, {62, 1}}, {124, 65, {62, 62}}, {125, 65, {62, 62, 1}},
        {3, 4, {1, 1, 1}}, {5, 5, {2, 2, 1}}, {1, 4, {1}},         {2, 5, {2}},
        {60, 63, {60}},    {60, 62, {59, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.payloadSize << " bytes, N = " << c.reportLength);
        const auto reports =
            frame(Code_Wi_Fi_password, countingPayload(c.payloadSize), c.reportLength);
        std::vector<std::uint8_t> lengths;
        std::size_t next = 1;
        for (const Bytes& report : reports) {
            ASSERT_EQ(report.size(), c.reportLength);
            EXPECT_EQ(report[0], 1);
            EXPECT_EQ(report[1], Code_Wi_Fi_password);
            lengths.push_back(report[2]);
            // The payload continues in order, and everything after the chunk is zero.
            for (std::size_t i = 0; i < report[2]; ++i) {
                EXPECT_EQ(report[3 + i], next++ & 0xFF);
            }
            for (std::size_t i = 3U + report[2]; i < report.size(); ++i) {
                EXPECT_EQ(report[i], 0) << "byte " << i;
            }
        }
        EXPECT_EQ(lengths, c.lengths);
    }
}

TEST(Framing, LaterChunksHaveZeroTailsWhereTheEarlierChunkWasLonger) {
    const std::u16string payload = u"\xAA\xBB\xCC\xDD\xEE";
    EXPECT_EQ(frame(Code_Wi_Fi_name, payload, 6),
              (std::vector<Bytes>{{1, 6, 3, 0xAA, 0xBB, 0xCC}, {1, 6, 2, 0xDD, 0xEE, 0}}));
}

TEST(Framing, EachCharacterIsItsLowByteAndZeroCharactersCount) {
    const std::u16string payload = {u'\u0141', u'\0', u'\u00FF', u'A'};
    EXPECT_EQ(frame(Code_Wi_Fi_name, payload, 8),
              (std::vector<Bytes>{{1, 6, 4, 0x41, 0x00, 0xFF, 0x41, 0}}));
}

TEST(Framing, ReportLengthsOutsideFourToSixtyFiveGiveNoReports) {
    for (const std::size_t length : {0U, 1U, 3U, 66U, 1000U}) {
        EXPECT_TRUE(frame(Code_Read, bytePayload(5), length).empty()) << length;
        EXPECT_TRUE(frame(Code_Read, u"", length).empty()) << length;
    }
    EXPECT_EQ(frame(Code_Read, bytePayload(5), 4).size(), 1U);
    EXPECT_EQ(frame(Code_Read, bytePayload(5), 65).size(), 1U);
}

// Every report is written even when some fail; the result tells what went out whole.
TEST(SendCommand, WritesEveryReportEvenWhenWritesFailOrAreShort) {
    struct Case {
        RecordingDevice::WriteResult result;
        std::size_t written;
    };
    for (const Case c :
         {Case{RecordingDevice::WriteResult::Ok, 3}, Case{RecordingDevice::WriteResult::Fail, 0},
          Case{RecordingDevice::WriteResult::Short, 0}}) {
        RecordingDevice device(5, c.result);
        const SendResult sent = SendCommand(&device, Code_Wi_Fi_name, u"abcde");
        EXPECT_EQ(
            device.reports,
            (std::vector<Bytes>{{1, 6, 2, 'a', 'b'}, {1, 6, 2, 'c', 'd'}, {1, 6, 1, 'e', 0}}));
        EXPECT_EQ(sent.reports, 3U);
        EXPECT_EQ(sent.written, c.written);
        EXPECT_EQ(sent.whole(), c.written == 3);
        EXPECT_EQ(sent.reached(), c.written > 0);
    }
}

TEST(SendCommand, NoDeviceOrUnusableReportLengthWritesNothing) {
    EXPECT_FALSE(SendCommand(nullptr, Code_Read, bytePayload(5)).reached());
    RecordingDevice unreadable(0);
    SendCommand(&unreadable, Code_Read, bytePayload(5));
    RecordingDevice tooLong(66);
    SendCommand(&tooLong, Code_Read, bytePayload(5));
    EXPECT_TRUE(unreadable.reports.empty());
    EXPECT_TRUE(tooLong.reports.empty());
}

// The receiving side: chunks of a split payload put together again give the payload's bytes.
TEST(Framing, ReceiverReassemblesTheChunks) {
    const std::u16string payload = countingPayload(130, u'\xF0');
    Bytes received;
    for (const OutputReport& report : frameCommand(Code_Wi_Fi_password, payload, 64)) {
        const auto chunk = parseOutputReport(report);
        ASSERT_TRUE(chunk.has_value());
        EXPECT_EQ(chunk->code, Code_Wi_Fi_password);
        received.insert(received.end(), chunk->bytes.begin(), chunk->bytes.end());
    }
    Bytes expected;
    for (const char16_t c : payload) {
        expected.push_back(wireByte(c));
    }
    EXPECT_EQ(received, expected);
    for (const Bytes& bad : {Bytes{}, Bytes{1, 6}, Bytes{2, 6, 0, 0}, Bytes{1, 6, 2, 'a'}}) {
        EXPECT_EQ(parseOutputReport(bad), std::nullopt);
    }
}

TEST(Payload, BuildersGiveTheWireBytes) {
    EXPECT_EQ(addressPayload(IpOctets(10, 0, 0, 255)), std::u16string(u"\x0A\x00\x00\xFF", 4));
    EXPECT_EQ(addressPayload(IpOctets()), u"");
    EXPECT_EQ(secondsPayload(5400), std::u16string(u"\x00\x15\x18", 3));
    EXPECT_EQ(secondsPayload(0), std::u16string(3, u'\0'));
    EXPECT_EQ(secondsPayload(0xFFFFFF), u"\xFF\xFF\xFF");
    EXPECT_EQ(bytePayload(0), std::u16string(1, u'\0'));
}

TEST(Payload, ReceivingSideReadsTheBuildersBytesBackAndRefusesShortValues) {
    EXPECT_EQ(wireBytes(u"A\u00FF\u0141"), (Bytes{'A', 0xFF, 0x41}));  // low bytes only
    EXPECT_EQ(addressFromBytes(wireBytes(addressPayload(IpOctets(192, 168, 4, 1)))),
              IpOctets(192, 168, 4, 1));
    for (const std::uint32_t seconds : {0U, 5400U, 0xFFFFFFU}) {
        EXPECT_EQ(secondsFromBytes(wireBytes(secondsPayload(seconds))), seconds);
    }
    // Extra bytes after the value are not part of it.
    EXPECT_EQ(secondsFromBytes(Bytes{0, 0x15, 0x18, 0xAA}), 5400U);
    EXPECT_EQ(addressFromBytes(Bytes{10, 0, 0}), std::nullopt);
    EXPECT_EQ(secondsFromBytes(Bytes{0x15, 0x18}), std::nullopt);
}

}  // namespace
}  // namespace quillo::protocol
