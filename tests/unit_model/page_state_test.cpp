// Each answer of the unit lands in the one field of the page state its code maps to, and a
// value out of range leaves the controls as a window would show them.

#include "unit_model/page_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "protocol/command_code.h"
#include "protocol/read_chain.h"
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
    // Everything the answer must have changed in the start state below; the rest must not
    // change.
    std::function<void(PageState&)> expect;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.what;
}

std::string Shown(const std::u16string& text) {
    std::string out = "\"";
    for (const char16_t c : text) {
        out += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c))
                                     : "\\u" + std::to_string(static_cast<unsigned>(c));
    }
    return out + "\"";
}

std::string Shown(const protocol::IpOctets& a) {
    return protocol::dottedText(a).empty() ? std::string("none") : Shown(protocol::dottedText(a));
}

// Every field of the page state, so that a failure says which one differs.
std::string Describe(const PageState& s) {
    std::ostringstream o;
    const protocol::WifiControls& w = s.wifi;
    const protocol::FanControls& f = s.fan;
    const protocol::DeviceSettings& d = s.current;
    o << "wifi: mode " << static_cast<int>(w.mode) << " router " << static_cast<int>(w.router)
      << " name " << Shown(w.name) << " (" << w.nameReadBytes.size() << " bytes read) password "
      << Shown(w.password) << " (read " << Shown(w.passwordRead) << ", box "
      << (w.passwordEnabled ? "enabled" : "greyed out") << ") master " << Shown(w.masterIp)
      << " slave " << Shown(w.slaveIp) << " gateway " << Shown(w.gateway) << " channel "
      << Shown(w.channelItemText) << " slave number " << Shown(w.slaveNumberItemText)
      << " security " << w.securityItem << " slave ip mode " << w.slaveIpModeItem << "\nfan: off "
      << f.offAvailable << " supply " << f.supplyChecked << " exhaust " << f.exhaustChecked
      << " humidity " << f.humiditySensor << " relay " << f.relaySensor << " voltage "
      << f.voltageSensor << " exhaust-bix " << f.exhaustBixChecked << " supply-exhaust-bix "
      << f.supplyExhaustBixChecked << " humidity at " << f.humidityPosition << " voltage at "
      << f.voltagePosition << " off-delay " << Shown(f.offDelayTime) << " night "
      << Shown(f.nightTime) << " party " << Shown(f.partyTime) << "\nstored: mode "
      << int{d.Device_mode} << " connection " << int{d.Connection_type} << " name "
      << Shown(d.Wi_Fi_name) << " password " << Shown(d.Wi_Fi_password) << " slave number "
      << int{d.Slave_number} << " slave ip mode " << int{d.Slave_IP_mode} << " slave "
      << Shown(d.Slave_IP) << " master " << Shown(d.Master_IP) << " channel "
      << int{d.Wi_Fi_channel} << " security " << Shown(std::u16string(1, d.Wi_Fi_security))
      << " gateway " << Shown(d.Gateway) << " off " << int{d.Off_available} << " direction "
      << int{d.Direction} << " humidity " << int{d.Humidity_sensor} << " relay "
      << int{d.Relay_sensor} << " voltage " << int{d.Voltage_sensor} << " scenario "
      << int{d.Humidity_scenario};
    return o.str();
}

// A freshly started window's controls over stored values that a master read before and that
// differ from every value below, so that an answer that stores nothing, or stores into the
// wrong field, shows.
PageState StartState() {
    PageState state = StartupPageState();
    protocol::DeviceSettings& d = state.current;
    d.Device_mode = 1;
    d.Connection_type = 2;
    d.Wi_Fi_name = std::u16string(u"before");
    d.Wi_Fi_password = std::u16string(u"before");
    d.Slave_number = 9;
    d.Slave_IP_mode = 1;
    d.Slave_IP = {1, 1, 1, 1};
    d.Master_IP = {1, 1, 1, 2};
    d.Wi_Fi_channel = 1;
    d.Wi_Fi_security = u'4';
    d.Gateway = {1, 1, 1, 3};
    d.Off_available = 1;
    d.Direction = 0;
    d.Humidity_sensor = 1;
    d.Relay_sensor = 1;
    d.Voltage_sensor = 1;
    d.Humidity_scenario = 1;
    return state;
}

class AnswerTable : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(AnswerTable, ChangesItsFieldAndNothingElse) {
    const AnswerCase& c = GetParam();
    PageState state = StartState();
    PageState expected = state;
    c.expect(expected);
    const std::vector<PageControl> touched =
        ApplyAnswer(protocol::InputReport(std::span<const std::uint8_t>(c.answer)), state);
    EXPECT_EQ(touched, c.touched);
    EXPECT_TRUE(state == expected) << "got  " << Describe(state) << "\nwant " << Describe(expected);
}

using C = protocol::CommandCode;
using P = PageControl;

// At least one row per code of the pages, with a value unlike the start state's.
const std::vector<AnswerCase> kAnswerCases = {
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
    AnswerCase{"a password",
               Answer(protocol::Code_Wi_Fi_password, {'s', 'e', 'c', 'r', 'e', 't', '-', '1'}),
               {P::Password},
               [](PageState& s) {
                   s.wifi.password = std::u16string(u"secret-1");
                   s.wifi.passwordRead = std::u16string(u"secret-1");
                   s.current.Wi_Fi_password = std::u16string(u"secret-1");
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
            s.wifi.passwordRead = read + u"xy";
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
    AnswerCase{"security WPA_PSK",
               Answer(protocol::Code_Wi_Fi_security, {'2'}),
               {P::Security},
               [](PageState& s) {
                   s.current.Wi_Fi_security = u'2';
                   s.wifi.securityItem = 1;
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
    AnswerCase{"slave address",
               Answer(protocol::Code_Slave_IP, {10, 0, 0, 7}),
               {P::SlaveIp},
               [](PageState& s) {
                   s.current.Slave_IP = s.wifi.slaveIp = {10, 0, 0, 7};
               }},
    AnswerCase{"gateway",
               Answer(protocol::Code_Gateway, {192, 168, 1, 1}),
               {P::Gateway},
               [](PageState& s) {
                   s.current.Gateway = s.wifi.gateway = {192, 168, 1, 1};
               }},
    AnswerCase{"off not available",
               Answer(protocol::Code_Off_available, {0}),
               {P::OffAvailable},
               [](PageState& s) {
                   s.current.Off_available = 0;
                   s.fan.offAvailable = false;
               }},
    AnswerCase{"exhaust",
               Answer(protocol::Code_Direction, {1}),
               {P::Direction},
               [](PageState& s) {
                   s.current.Direction = 1;
                   s.fan.exhaustChecked = true;
                   s.fan.supplyChecked = false;
               }},
    AnswerCase{"no humidity sensor",
               Answer(protocol::Code_Humidity_sensor, {0}),
               {P::HumiditySensor},
               [](PageState& s) {
                   s.current.Humidity_sensor = 0;
                   s.fan.humiditySensor = false;
               }},
    AnswerCase{"no relay sensor",
               Answer(protocol::Code_Relay_sensor, {0}),
               {P::RelaySensor},
               [](PageState& s) {
                   s.current.Relay_sensor = 0;
                   s.fan.relaySensor = false;
               }},
    AnswerCase{"no 0-10 V sensor",
               Answer(protocol::Code_Voltage_sensor, {0}),
               {P::VoltageSensor},
               [](PageState& s) {
                   s.current.Voltage_sensor = 0;
                   s.fan.voltageSensor = false;
               }},
    AnswerCase{"a humidity threshold between steps",
               Answer(protocol::Code_Humidity_threshold, {63}),
               {P::HumidityThreshold},
               [](PageState& s) { s.fan.humidityPosition = 13; }},
    AnswerCase{"a 0-10 V threshold",
               Answer(protocol::Code_Voltage_threshold, {35}),
               {P::VoltageThreshold},
               [](PageState& s) { s.fan.voltagePosition = 7; }},
    AnswerCase{"an off-delay timer",
               Answer(protocol::Code_Off_delay_timer, {0x00, 0x02, 0x58}),  // 10 min
               {P::OffDelayTimer},
               [](PageState& s) { s.fan.offDelayTime = std::u16string(u"00:10"); }},
    AnswerCase{"a night timer over a day",
               Answer(protocol::Code_Night_timer, {0x01, 0x5F, 0x90}),  // 25 h
               {P::NightTimer},
               [](PageState& s) { s.fan.nightTime = std::u16string(u"01:00"); }},
    AnswerCase{"a party timer",
               Answer(protocol::Code_Party_timer, {0x00, 0x15, 0x18}),  // 1 h 30 min
               {P::PartyTimer},
               [](PageState& s) { s.fan.partyTime = std::u16string(u"01:30"); }},
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
               [](PageState&) {}},
};

INSTANTIATE_TEST_SUITE_P(Codes, AnswerTable, ::testing::ValuesIn(kAnswerCases));

// A mapping that is wrong in both programs passes only where the table feeds a value the
// controls already show: every code of the pages has a row that changes them.
TEST(AnswerTableRows, EveryPageCodeHasARowThatChangesTheControls) {
    const PageState start = StartState();
    for (const protocol::CommandCode code : protocol::kReadChain) {
        const bool changed =
            std::any_of(kAnswerCases.begin(), kAnswerCases.end(), [&](const AnswerCase& c) {
                PageState expected = start;
                c.expect(expected);
                return c.answer.front() == code &&
                       (expected.wifi != start.wifi || expected.fan != start.fan);
            });
        EXPECT_TRUE(changed) << "code " << int{code};
    }
}

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
