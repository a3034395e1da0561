// Each answer of the unit lands in the one field of the page state its code maps to, and a
// value out of range leaves the controls as a window would show them.

#include "unit_model/page_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "protocol/command_code.h"
#include "protocol/write_sequences.h"

namespace quillo::model {
namespace {

using protocol::ModeChoice;
using protocol::RouterChoice;
using Bytes = std::vector<std::uint8_t>;

// An answer as delivered: code, length byte, value.
Bytes Answer(protocol::CommandCode code, std::initializer_list<std::uint8_t> value) {
    // Byte by byte, and strings built below: GCC 12 at -O3 warns falsely on range inserts and
    // on assignments from literals here.
    Bytes report{static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(value.size())};
    for (const std::uint8_t byte : value) {
        report.push_back(byte);
    }
    return report;
}

struct AnswerCase {
    const char* what;
    Bytes answer;
    std::vector<PageControl> touched;
    // Everything the answer must have changed in a freshly started state that has read a
    // master's mode; the rest must not change.
    std::function<void(PageState&)> expect;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.what;
}

class AnswerTable : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(AnswerTable, ChangesItsFieldAndNothingElse) {
    const AnswerCase& c = GetParam();
    PageState state = StartupPageState();
    state.current.Device_mode = 1;
    PageState expected = state;
    c.expect(expected);
    const std::vector<PageControl> touched =
        ApplyAnswer(protocol::InputReport(std::span<const std::uint8_t>(c.answer)), state);
    EXPECT_EQ(touched, c.touched);
    EXPECT_EQ(state.current, expected.current);
    EXPECT_EQ(state.wifi.mode, expected.wifi.mode);
    EXPECT_EQ(state.wifi.router, expected.wifi.router);
    EXPECT_EQ(state.wifi.name, expected.wifi.name);
    EXPECT_EQ(state.wifi.nameReadBytes, expected.wifi.nameReadBytes);
    EXPECT_EQ(state.wifi.password, expected.wifi.password);
    EXPECT_EQ(state.wifi.channelItemText, expected.wifi.channelItemText);
    EXPECT_EQ(state.wifi.slaveNumberItemText, expected.wifi.slaveNumberItemText);
    EXPECT_EQ(state.wifi.securityItem, expected.wifi.securityItem);
    EXPECT_EQ(state.wifi.slaveIpModeItem, expected.wifi.slaveIpModeItem);
    EXPECT_EQ(state.wifi.masterIp, expected.wifi.masterIp);
    EXPECT_EQ(state.wifi.slaveIp, expected.wifi.slaveIp);
    EXPECT_EQ(state.wifi.gateway, expected.wifi.gateway);
    EXPECT_EQ(state.fan.offAvailable, expected.fan.offAvailable);
    EXPECT_EQ(state.fan.supplyChecked, expected.fan.supplyChecked);
    EXPECT_EQ(state.fan.exhaustChecked, expected.fan.exhaustChecked);
    EXPECT_EQ(state.fan.humiditySensor, expected.fan.humiditySensor);
    EXPECT_EQ(state.fan.exhaustBixChecked, expected.fan.exhaustBixChecked);
    EXPECT_EQ(state.fan.supplyExhaustBixChecked, expected.fan.supplyExhaustBixChecked);
    EXPECT_EQ(state.fan.humidityPosition, expected.fan.humidityPosition);
    EXPECT_EQ(state.fan.voltagePosition, expected.fan.voltagePosition);
    EXPECT_EQ(state.fan.offDelayTime, expected.fan.offDelayTime);
    EXPECT_EQ(state.fan.nightTime, expected.fan.nightTime);
    EXPECT_EQ(state.fan.partyTime, expected.fan.partyTime);
}

using C = protocol::CommandCode;
using P = PageControl;

INSTANTIATE_TEST_SUITE_P(
    Codes, AnswerTable,
    ::testing::Values(
        AnswerCase{"slave mode",
                   Answer(protocol::Code_Device_mode, {0}),
                   {P::Mode},
                   [](PageState& s) {
                       s.current.Device_mode = 0;
                       s.wifi.mode = ModeChoice::Slave;
                   }},
        AnswerCase{"mode out of range",
                   Answer(protocol::Code_Device_mode, {7}),
                   {P::Mode},
                   [](PageState& s) { s.current.Device_mode = 7; }},
        AnswerCase{"with router",
                   Answer(protocol::Code_Connection_type, {1}),
                   {P::Router},
                   [](PageState& s) {
                       s.current.Connection_type = 1;
                       s.wifi.router = RouterChoice::With;
                   }},
        AnswerCase{"a UTF-8 name",
                   Answer(protocol::Code_Wi_Fi_name, {0xD0, 0x94, 0xD0, 0xBE, 0xD0, 0xBC}),
                   {P::WifiName},
                   [](PageState& s) {
                       s.wifi.name = std::u16string(u"Дом");
                       s.wifi.nameReadBytes = {0xD0, 0x94, 0xD0, 0xBE, 0xD0, 0xBC};
                   }},
        AnswerCase{"a name that is not UTF-8",
                   Answer(protocol::Code_Wi_Fi_name, {'C', 'a', 'f', 0xE9, 0, 'x'}),
                   {P::WifiName},
                   [](PageState& s) {
                       s.wifi.name = std::u16string(u"Caf\u00E9");
                       s.wifi.nameReadBytes = {'C', 'a', 'f', 0xE9};
                   }},
        AnswerCase{
            "a password cut to its entry",
            Answer(protocol::Code_Wi_Fi_password,
                   {'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w',
                    'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w',
                    'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w',
                    'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'p', 'w', 'x', 'y'}),
            {P::Password},
            [](PageState& s) {
                std::u16string read;
                for (int i = 0; i < 30; ++i) {
                    read += std::u16string(u"pw");
                }
                s.wifi.password = read;
                s.current.Wi_Fi_password = read + u"xy";
            }},
        AnswerCase{"slave number 5",
                   Answer(protocol::Code_Slave_number, {4}),
                   {P::SlaveNumber},
                   [](PageState& s) {
                       s.current.Slave_number = 4;
                       s.wifi.slaveNumberItemText = std::u16string(u"5");
                   }},
        AnswerCase{"a slave number out of range unselects the list",
                   Answer(protocol::Code_Slave_number, {200}),
                   {P::SlaveNumber},
                   [](PageState& s) {
                       s.current.Slave_number = 200;
                       s.wifi.slaveNumberItemText.clear();
                   }},
        AnswerCase{"channel 3",
                   Answer(protocol::Code_Wi_Fi_channel, {3}),
                   {P::Channel},
                   [](PageState& s) {
                       s.current.Wi_Fi_channel = 3;
                       s.wifi.channelItemText = std::u16string(u"3");
                   }},
        AnswerCase{"security out of range keeps the item",
                   Answer(protocol::Code_Wi_Fi_security, {'9'}),
                   {P::Security},
                   [](PageState& s) { s.current.Wi_Fi_security = u'9'; }},
        AnswerCase{"static slave address",
                   Answer(protocol::Code_Slave_IP_mode, {0}),
                   {P::SlaveIpMode},
                   [](PageState& s) {
                       s.current.Slave_IP_mode = 0;
                       s.wifi.slaveIpModeItem = 1;
                   }},
        AnswerCase{"master address",
                   Answer(protocol::Code_Master_IP, {10, 0, 0, 1}),
                   {P::MasterIp},
                   [](PageState& s) {
                       s.current.Master_IP = s.wifi.masterIp = {10, 0, 0, 1};
                   }},
        AnswerCase{"gateway",
                   Answer(protocol::Code_Gateway, {192, 168, 1, 1}),
                   {P::Gateway},
                   [](PageState& s) {
                       s.current.Gateway = s.wifi.gateway = {192, 168, 1, 1};
                   }},
        AnswerCase{"exhaust",
                   Answer(protocol::Code_Direction, {1}),
                   {P::Direction},
                   [](PageState& s) {
                       s.current.Direction = 1;
                       s.fan.exhaustChecked = true;
                       s.fan.supplyChecked = false;
                   }},
        AnswerCase{"a humidity threshold between steps",
                   Answer(protocol::Code_Humidity_threshold, {63}),
                   {P::HumidityThreshold},
                   [](PageState& s) { s.fan.humidityPosition = 13; }},
        AnswerCase{"a night timer over a day",
                   Answer(protocol::Code_Night_timer, {0x01, 0x5F, 0x90}),  // 25 h
                   {P::NightTimer},
                   [](PageState& s) { s.fan.nightTime = std::u16string(u"01:00"); }},
        AnswerCase{"humidity scenario off",
                   Answer(protocol::Code_Humidity_scenario, {0}),
                   {P::HumidityScenario},
                   [](PageState& s) {
                       s.current.Humidity_scenario = 0;
                       s.fan.exhaustBixChecked = false;
                       s.fan.supplyExhaustBixChecked = true;
                   }},
        AnswerCase{"a state is no page setting",
                   Answer(protocol::Code_Wi_Fi_state, {1}),
                   {},
                   [](PageState&) {}}));

// A slave's connection is told by the name of its network.
TEST(PageState, ASlavesNameTellsItsConnection) {
    PageState state = StartupPageState();
    const Bytes slave = Answer(protocol::Code_Device_mode, {0});
    ApplyAnswer(protocol::InputReport(std::span<const std::uint8_t>(slave)), state);
    const Bytes home = Answer(protocol::Code_Wi_Fi_name, {'H', 'o', 'm', 'e'});
    EXPECT_EQ(ApplyAnswer(protocol::InputReport(std::span<const std::uint8_t>(home)), state),
              (std::vector<PageControl>{P::WifiName, P::Router}));
    EXPECT_EQ(state.wifi.router, RouterChoice::With);
}

// What a control shows is stored as a read of it would store it, so that a write in a mode
// that does not collect the control sends it.
TEST(PageState, AStoredControlGoesOutInAModeThatDoesNotCollectIt) {
    PageState state = StartupPageState();  // a master without router
    state.wifi.password = std::u16string(u"password1");
    state.wifi.slaveNumberItemText = std::u16string(u"7");
    StoreControl(P::SlaveNumber, state);
    const protocol::WifiWrite write = protocol::buildWifiWrite(state.wifi, state.current);
    ASSERT_EQ(write.outcome, protocol::WriteOutcome::Ok);
    EXPECT_EQ(write.settings.Slave_number, 6);
}

}  // namespace
}  // namespace quillo::model
