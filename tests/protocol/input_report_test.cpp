#include "protocol/input_report.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "protocol/unit_contract.h"
#include "test_support.h"

namespace quillo::protocol {
namespace {

using test::Bytes;

// The readers over a report of exactly `bytes`, allocated to that size so that ASan catches
// any read beyond it.
struct Exact {
    explicit Exact(const Bytes& bytes) : storage(std::make_unique<std::uint8_t[]>(bytes.size())) {
        std::copy(bytes.begin(), bytes.end(), storage.get());
        report = InputReport(storage.get(), bytes.size(), bytes.size());
    }
    std::unique_ptr<std::uint8_t[]> storage;
    InputReport report{nullptr, 0, 0};
};

TEST(InputReport, ValuesOfEachEncoding) {
    Exact full(test::padded({38, 3, 0x01, 0x5F, 0xCD, 0x07, 0x09}, 64));
    EXPECT_EQ(full.report.code(), Code_Filter_timer);
    EXPECT_EQ(full.report.byteValue(), 0x01);
    EXPECT_EQ(full.report.seconds(), 90061U);
    EXPECT_EQ(full.report.address(), IpOctets(0x01, 0x5F, 0xCD, 0x07));
    EXPECT_EQ(dottedText(full.report.address()), u"1.95.205.7");

    Exact security(test::padded({15, 1, '3'}, 64));
    EXPECT_EQ(security.report.digitValue(), u'3');
}

TEST(InputReport, TextIsRawUpToSizeAndShownUpToTheFirstZero) {
    Exact name(Bytes{6, 99, 'H', 'o', 'm', 'e', 0, 'x', 0xE9, 0});
    EXPECT_EQ(name.report.rawText(), std::u16string(u"Home\0x\u00E9\0", 8));
    EXPECT_EQ(name.report.displayText(), u"Home");
}

TEST(InputReport, CountedTextTakesTheLengthByteButNoMoreThanDelivered) {
    Exact serial(test::padded({23, 4, 'A', 'B', 'C', 'D', 'E'}, 64));
    EXPECT_EQ(serial.report.countedText(), u"ABCD");
    Exact hostile(Bytes{23, 255, 'A', 'B'});
    EXPECT_EQ(hostile.report.countedText(), u"AB");
    Exact empty(Bytes{23, 0, 'A'});
    EXPECT_EQ(empty.report.countedText(), u"");
}

// Reports cut short (Size 0, 1, 2, and one byte into a value) never read beyond what arrived;
// missing bytes count as 0 and texts are empty.
TEST(InputReport, ShortReportsReadMissingBytesAsZero) {
    for (const Bytes& bytes : {Bytes{}, Bytes{23}, Bytes{23, 255}, Bytes{10, 4, 192}}) {
        SCOPED_TRACE(bytes.size());
        Exact exact(bytes);
        const InputReport& r = exact.report;
        EXPECT_EQ(r.code(), bytes.empty() ? 0 : bytes[0]);
        EXPECT_EQ(r.rawText(), bytes.size() == 3 ? u"\u00C0" : u"");
        EXPECT_EQ(r.displayText(), r.rawText());
        EXPECT_EQ(r.countedText(), bytes.size() == 3 ? u"\u00C0" : u"");
        EXPECT_EQ(r.address(), IpOctets(bytes.size() == 3 ? 192 : 0, 0, 0, 0));
        EXPECT_EQ(r.seconds(), bytes.size() == 3 ? 192U << 16 : 0U);
        EXPECT_EQ(r.byteAt(1000), 0);
    }
}

// What the unit sends, read back the way the transport delivers it (report ID removed).
TEST(InputReport, ReadsWhatTheUnitAnswers) {
    const Bytes serial = {'S', 'N', '4', '2'};
    const Bytes sent = unit::answerReport(Code_Serial_number, serial, 65);
    ASSERT_EQ(sent.size(), 65U);
    EXPECT_EQ(sent[0], unit::kReportId);
    const InputReport report(sent.data() + 1, sent.size() - 1, sent.size() - 1);
    EXPECT_EQ(report.code(), Code_Serial_number);
    EXPECT_EQ(report.countedText(), u"SN42");
    EXPECT_EQ(report.displayText(), u"SN42");
    EXPECT_EQ(report.rawText().size(), 62U);

    const Bytes tooLong(100, 'x');
    EXPECT_EQ(unit::answerReport(Code_Wi_Fi_name, tooLong, 8),
              (Bytes{1, 6, 5, 'x', 'x', 'x', 'x', 'x'}));
    EXPECT_EQ(unit::answerReport(Code_Wi_Fi_name, tooLong, 2), (Bytes{1, 6}));
}

TEST(InputReport, SizeClaimBeyondTheBufferIsLimitedToTheBuffer) {
    Exact exact(Bytes{6, 200, 'a', 'b'});
    const InputReport report(exact.storage.get(), 10'000, 4);
    EXPECT_EQ(report.size(), 4U);
    EXPECT_EQ(report.rawText(), u"ab");
    EXPECT_EQ(report.countedText(), u"ab");
    EXPECT_EQ(InputReport(nullptr, 64, 64).size(), 0U);
}

}  // namespace
}  // namespace quillo::protocol
