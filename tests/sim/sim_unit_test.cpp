// The simulated unit: answers to read requests with their encodings, writes, commands and AT
// pass-through.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "sim/sim_unit.h"

namespace quillo::sim {
namespace {

using Report = std::vector<std::uint8_t>;

Report Out(std::uint8_t code, const std::string& payload) {
    Report r(65, 0);
    r[0] = 1;
    r[1] = code;
    r[2] = static_cast<std::uint8_t>(payload.size());
    std::copy(payload.begin(), payload.end(), r.begin() + 3);
    return r;
}

std::vector<Report> Send(SimUnit& unit, std::uint8_t code, const std::string& payload) {
    const Report r = Out(code, payload);
    return unit.Receive(r.data(), r.size());
}

std::vector<Report> Read(SimUnit& unit, std::uint8_t code) {
    return Send(unit, 16, std::string(1, static_cast<char>(code)));
}

// The answer's bytes after the report ID, code and length byte, up to `n`.
Report Value(const Report& answer, std::size_t n) {
    return {answer.begin() + 3, answer.begin() + 3 + static_cast<std::ptrdiff_t>(n)};
}

class SimUnitTest : public ::testing::Test {
protected:
    SimUnit unit{Model::Solvi, "0036003B5346500B20373805"};
};

TEST_F(SimUnitTest, EveryReadableCodeIsAnsweredOnceWithItsEncoding) {
    UnitParameters& p = unit.parameters();
    p.deviceMode = 0;
    p.connectionType = 1;
    p.wifiName = "HomeNet";
    p.wifiPassword = "secret12";
    p.slaveNumber = 31;
    p.slaveIpMode = 0;
    p.slaveIp = {10, 0, 0, 255};
    p.masterIp = {192, 168, 4, 1};
    p.channel = 11;
    p.security = '2';
    p.offAvailable = 1;
    p.direction = 1;
    p.humiditySensor = 0;
    p.relaySensor = 1;
    p.voltageSensor = 1;
    p.humidityThreshold = 72;
    p.voltageThreshold = 100;
    p.nightTimer = 5400;
    p.partyTimer = 100000;
    p.offDelayTimer = 0;
    p.humidityScenario = 1;
    p.gateway = {192, 168, 1, 254};
    unit.setFilterSeconds(90061);

    struct Case {
        std::uint8_t code;
        Report value;  // length byte, then the value
    };
    const std::string serial = unit.serialNumber();
    Report serialValue{24};
    serialValue.insert(serialValue.end(), serial.begin(), serial.end());
    const std::vector<Case> cases = {
        {5, {1, 0}},
        {6, {7, 'H', 'o', 'm', 'e', 'N', 'e', 't'}},
        {7, {8, 's', 'e', 'c', 'r', 'e', 't', '1', '2'}},
        {8, {1, 31}},
        {9, {1, 0}},
        {10, {4, 0x0A, 0x00, 0x00, 0xFF}},
        {11, {4, 0xC0, 0xA8, 0x04, 0x01}},
        {12, {1, 1}},
        {14, {1, 11}},
        {15, {1, 0x32}},
        {23, serialValue},
        {24, {1, 1}},
        {25, {1, 1}},
        {26, {1, 0}},
        {27, {1, 1}},
        {28, {1, 1}},
        {29, {1, 72}},
        {30, {1, 100}},
        {31, {3, 0x00, 0x15, 0x18}},
        {32, {3, 0x01, 0x86, 0xA0}},
        {33, {3, 0, 0, 0}},
        {34, {1, 1}},
        {38, {3, 0x01, 0x5F, 0xCD}},
        {41, {1, 1}},
        {43, {1, 1}},
        {47, {4, 192, 168, 1, 254}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.code});
        const auto answers = Read(unit, c.code);
        ASSERT_EQ(answers.size(), 1U);
        const Report& a = answers[0];
        ASSERT_EQ(a.size(), 65U);
        EXPECT_EQ(a[0], 1);
        EXPECT_EQ(a[1], c.code);
        EXPECT_EQ(
            Report(a.begin() + 2, a.begin() + 2 + static_cast<std::ptrdiff_t>(c.value.size())),
            c.value);
        EXPECT_TRUE(std::all_of(a.begin() + 2 + static_cast<std::ptrdiff_t>(c.value.size()),
                                a.end(), [](std::uint8_t b) { return b == 0; }));
    }
    // Codes outside the readable set get no answer.
    for (std::uint8_t code : {1, 3, 4, 13, 16, 39, 40, 99}) {
        EXPECT_TRUE(Read(unit, code).empty()) << int{code};
    }
}

TEST_F(SimUnitTest, WritesChangeWhatIsReadBack) {
    struct Case {
        std::uint8_t code;
        std::string payload;
    };
    const std::vector<Case> cases = {
        {5, std::string(1, '\0')},
        {6, "Kelmair-1234"},
        {7, "a password"},
        {8, "\x05"},
        {9, std::string(1, '\0')},
        {10, "\x0a\x01\x02\x03"},
        {11, "\xc0\xa8\x01\x0a"},
        {12, "\x01"},
        {14, "\x0d"},
        {15, "4"},
        {24, std::string(1, '\0')},
        {25, "\x01"},
        {26, std::string(1, '\0')},
        {27, "\x01"},
        {28, "\x01"},
        {29, std::string(1, 80)},
        {30, "\x05"},
        {31, std::string("\0\x15\x18", 3)},
        {32, std::string("\0\0\0", 3)},
        {33, "\x01\x02\x03"},
        {43, std::string(1, '\0')},
        {47, std::string("\x0a\x00\x00\x01", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.code});
        EXPECT_TRUE(Send(unit, c.code, c.payload).empty());  // nothing comes back for a write
        const auto answers = Read(unit, c.code);
        ASSERT_EQ(answers.size(), 1U);
        EXPECT_EQ(answers[0][2], c.payload.size());
        EXPECT_EQ(Value(answers[0], c.payload.size()), Report(c.payload.begin(), c.payload.end()));
    }
}

TEST_F(SimUnitTest, CommandsSetupModeFactoryResetFilterResetAndModule) {
    Send(unit, 13, "\x01");
    EXPECT_TRUE(unit.setupMode());
    Send(unit, 6, "Elsewhere");
    Send(unit, 14, "\x02");
    Send(unit, 39, std::string(1, '\0'));
    const UnitParameters defaults = SimUnit::Defaults(Model::Solvi, unit.serialNumber());
    EXPECT_EQ(unit.parameters().wifiName, defaults.wifiName);
    EXPECT_EQ(unit.parameters().channel, defaults.channel);
    EXPECT_EQ(defaults.wifiName.rfind("Kelmair", 0), 0U);  // a master's own network
    Send(unit, 13, std::string(1, '\0'));
    EXPECT_FALSE(unit.setupMode());

    EXPECT_GT(unit.filterSeconds(), 0U);
    Send(unit, 40, std::string(1, '\0'));
    EXPECT_EQ(Value(Read(unit, 38)[0], 3), (Report{0, 0, 0}));

    Send(unit, 3, std::string(1, '\0'));
    EXPECT_EQ(Read(unit, 34)[0][3], 0);
    Send(unit, 3, "\x01");
    EXPECT_EQ(Read(unit, 34)[0][3], 1);
}

TEST_F(SimUnitTest, FilterRunTimeAdvancesWithRealTime) {
    unit.setFilterSeconds(100);
    const auto start = std::chrono::steady_clock::now();
    while (unit.filterSeconds() == 100 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(unit.filterSeconds(), 101U);
}

TEST_F(SimUnitTest, ModelsDifferInProductStringAndDefaults) {
    EXPECT_EQ(protocol::unit::modelIdentity(Model::Solvi).productString, u"Zorvat");
    EXPECT_EQ(protocol::unit::modelIdentity(Model::Pargo).productString, u"Zorvat Bix");
    SimUnit pargo(Model::Pargo, "0036003B5346500B20373806");
    EXPECT_EQ(Read(pargo, 43)[0][3], 1);
    EXPECT_EQ(Read(unit, 43)[0][3], 0);
    EXPECT_EQ(unit.serialNumber().size(), 24U);
}

TEST_F(SimUnitTest, PassThroughListsAccessPointsAsCode4AndOtherOutputAsCode1) {
    EXPECT_TRUE(Send(unit, 1, "AT+CWLAP\r\n").empty());  // pass-through off: ignored
    Send(unit, 4, "\x01");
    EXPECT_FALSE(unit.wifiConnected());
    const auto quit = Send(unit, 1, "AT+CWQAP\r\n");
    ASSERT_EQ(quit.size(), 1U);
    EXPECT_EQ(quit[0][1], 1);

    // A command line may also arrive in two reports.
    EXPECT_TRUE(Send(unit, 1, "AT+CW").empty());
    const auto lines = Send(unit, 1, "LAP\r\n");
    ASSERT_EQ(lines.size(), unit.accessPoints.size() + 1);
    for (std::size_t i = 0; i < unit.accessPoints.size(); ++i) {
        const Report& r = lines[i];
        EXPECT_EQ(r[1], 4);
        const std::string text(r.begin() + 3, r.begin() + 3 + r[2]);
        EXPECT_EQ(text, unit.accessPoints[i]);
        EXPECT_EQ(text.rfind("+CWLAP:(", 0), 0U);
        EXPECT_LT(text.find(",\""), text.find("\","));  // name between ," and ",
    }
    EXPECT_NE(std::string(unit.accessPoints[0]).find(",\"HomeNet\","), std::string::npos);
    EXPECT_EQ(lines.back()[1], 1);

    Send(unit, 4, std::string(1, '\0'));
    EXPECT_FALSE(unit.atMode());
    EXPECT_TRUE(Send(unit, 1, "AT+CWLAP\r\n").empty());
}

TEST_F(SimUnitTest, UnansweredCodesAndForeignReportIdsGetNoAnswer) {
    unit.unanswered = {12};
    EXPECT_TRUE(Read(unit, 12).empty());
    EXPECT_EQ(Read(unit, 5).size(), 1U);
    Report other = Out(16, "\x05");
    other[0] = 2;
    EXPECT_TRUE(unit.Receive(other.data(), other.size()).empty());
}

}  // namespace
}  // namespace quillo::sim
