#include "unit_model/page_state.h"

#include <optional>
#include <string>

#include "protocol/conversions.h"
#include "protocol/payload.h"
#include "protocol/unit_contract.h"
#include "protocol/wire_text.h"

namespace quillo::model {

namespace unit = protocol::unit;
using protocol::ModeChoice;
using protocol::RouterChoice;

namespace {

std::u16string ItemText(std::optional<int> index) {
    return index ? protocol::paddedNumber(static_cast<std::uint32_t>(*index + 1), 1)
                 : std::u16string();
}

// A radio pair: 1 checks the first, 0 the second, anything else leaves both.
void CheckPair(std::uint8_t value, bool& ifOne, bool& ifZero) {
    if (const std::optional<bool> flag = protocol::flagFromValue(value)) {
        ifOne = *flag;
        ifZero = !*flag;
    }
}

void CheckFlag(std::uint8_t value, bool& box) {
    if (const std::optional<bool> flag = protocol::flagFromValue(value)) {
        box = *flag;
    }
}

constexpr int kOpenSecurityItem = 0;

std::u16string Cut(std::u16string text, std::size_t maxLength) {
    if (text.size() > maxLength) {
        text.resize(maxLength);
    }
    return text;
}

}  // namespace

PageState StartupPageState() {
    PageState state;
    protocol::WifiControls& w = state.wifi;
    w.mode = ModeChoice::Master;
    w.router = RouterChoice::Without;
    w.securityItem = 3;
    // Texts built as strings: assigned from literals here, MinGW's GCC 12 at -O3 warns falsely
    // (-Wrestrict).
    w.channelItemText = std::u16string(u"11");
    w.slaveNumberItemText = std::u16string(u"1");
    w.slaveIpModeItem = 0;
    w.masterIp = {192, 168, 0, 2};
    w.slaveIp = {192, 168, 0, 3};
    w.gateway = {192, 168, 0, 1};
    protocol::FanControls& f = state.fan;
    f.offAvailable = true;
    f.supplyChecked = true;
    f.exhaustBixChecked = true;
    f.humiditySensor = true;
    f.relaySensor = true;
    f.voltageSensor = true;
    f.humidityPosition = 14;
    f.voltagePosition = 10;
    const std::u16string noTime(u"00:00");
    f.offDelayTime = noTime;
    f.nightTime = noTime;
    f.partyTime = noTime;
    return state;
}

std::vector<PageControl> ApplyAnswer(const protocol::InputReport& answer, PageState& state) {
    protocol::WifiControls& w = state.wifi;
    protocol::FanControls& f = state.fan;
    protocol::DeviceSettings& s = state.current;
    const std::uint8_t byte = answer.byteValue();
    switch (answer.code()) {
        case protocol::Code_Device_mode: {
            s.Device_mode = byte;
            const ModeChoice before = w.mode;
            if (byte == unit::kModeMaster) {
                w.mode = ModeChoice::Master;
            } else if (byte == unit::kModeSlave) {
                w.mode = ModeChoice::Slave;
            }
            if (w.mode != before) {
                FollowPasswordBox(PageControl::Mode, w);
            }
            return {PageControl::Mode};
        }
        case protocol::Code_Connection_type: {
            s.Connection_type = byte;
            const RouterChoice before = w.router;
            // A slave's connection is told by its network's name.
            if (s.Device_mode == unit::kModeMaster) {
                if (byte == unit::kConnectionWithRouter) {
                    w.router = RouterChoice::With;
                } else if (byte == unit::kConnectionWithoutRouter) {
                    w.router = RouterChoice::Without;
                }
            }
            if (w.router != before) {
                FollowPasswordBox(PageControl::Router, w);
            }
            return {PageControl::Router};
        }
        case protocol::Code_Wi_Fi_name:
            // Shown decoded; the bytes stay, so that an unedited name goes back as it came.
            w.nameReadBytes = protocol::wireBytes(answer.displayText());
            w.name = Cut(protocol::decodeWireText(w.nameReadBytes), kNameBoxMaxLength);
            if (s.Device_mode == unit::kModeSlave) {
                const RouterChoice before = w.router;
                // A master's own network has no router.
                w.router =
                    unit::isMasterNetworkName(w.name) ? RouterChoice::Without : RouterChoice::With;
                if (w.router != before) {
                    FollowPasswordBox(PageControl::Router, w);
                }
                return {PageControl::WifiName, PageControl::Router};
            }
            return {PageControl::WifiName};
        case protocol::Code_Wi_Fi_password:
            s.Wi_Fi_password = answer.rawText();
            // Shown cut to the box; kept whole, so that an unedited password goes back whole.
            w.passwordRead = answer.displayText();
            w.password = Cut(w.passwordRead, kPasswordBoxMaxLength);
            return {PageControl::Password};
        case protocol::Code_Slave_number:
            s.Slave_number = byte;
            w.slaveNumberItemText = ItemText(protocol::slaveNumberItemIndex(byte));
            return {PageControl::SlaveNumber};
        case protocol::Code_Slave_IP_mode:
            s.Slave_IP_mode = byte;
            if (const std::optional<int> item = protocol::slaveIpModeItemIndex(byte)) {
                w.slaveIpModeItem = *item;
            }
            return {PageControl::SlaveIpMode};
        case protocol::Code_Slave_IP:
            s.Slave_IP = w.slaveIp = answer.address();
            return {PageControl::SlaveIp};
        case protocol::Code_Master_IP:
            s.Master_IP = w.masterIp = answer.address();
            return {PageControl::MasterIp};
        case protocol::Code_Wi_Fi_channel:
            s.Wi_Fi_channel = byte;
            w.channelItemText = ItemText(protocol::channelItemIndex(byte));
            return {PageControl::Channel};
        case protocol::Code_Wi_Fi_security:
            s.Wi_Fi_security = answer.digitValue();
            if (const std::optional<int> item = protocol::securityItemIndex(answer.digitValue())) {
                w.securityItem = *item;
            }
            FollowPasswordBox(PageControl::Security, w);
            return {PageControl::Security};
        case protocol::Code_Gateway:
            s.Gateway = w.gateway = answer.address();
            return {PageControl::Gateway};
        case protocol::Code_Off_available:
            s.Off_available = byte;
            CheckFlag(byte, f.offAvailable);
            return {PageControl::OffAvailable};
        case protocol::Code_Direction:
            s.Direction = byte;
            CheckPair(byte, f.exhaustChecked, f.supplyChecked);
            return {PageControl::Direction};
        case protocol::Code_Humidity_sensor:
            s.Humidity_sensor = byte;
            CheckFlag(byte, f.humiditySensor);
            return {PageControl::HumiditySensor};
        case protocol::Code_Relay_sensor:
            s.Relay_sensor = byte;
            CheckFlag(byte, f.relaySensor);
            return {PageControl::RelaySensor};
        case protocol::Code_Voltage_sensor:
            s.Voltage_sensor = byte;
            CheckFlag(byte, f.voltageSensor);
            return {PageControl::VoltageSensor};
        case protocol::Code_Humidity_threshold:
            f.humidityPosition = protocol::humidityThresholdPosition(byte);
            return {PageControl::HumidityThreshold};
        case protocol::Code_Voltage_threshold:
            f.voltagePosition = protocol::voltageThresholdPosition(byte);
            return {PageControl::VoltageThreshold};
        case protocol::Code_Off_delay_timer:
            f.offDelayTime = protocol::timeTextFromSeconds(answer.seconds());
            return {PageControl::OffDelayTimer};
        case protocol::Code_Night_timer:
            f.nightTime = protocol::timeTextFromSeconds(answer.seconds());
            return {PageControl::NightTimer};
        case protocol::Code_Party_timer:
            f.partyTime = protocol::timeTextFromSeconds(answer.seconds());
            return {PageControl::PartyTimer};
        case protocol::Code_Humidity_scenario:
            s.Humidity_scenario = byte;
            CheckPair(byte, f.exhaustBixChecked, f.supplyExhaustBixChecked);
            return {PageControl::HumidityScenario};
        default:
            return {};
    }
}

void FollowPasswordBox(PageControl control, protocol::WifiControls& wifi) {
    const bool open = wifi.securityItem == kOpenSecurityItem;
    switch (control) {
        case PageControl::Mode:
            if (wifi.mode == ModeChoice::Slave) {
                wifi.passwordEnabled = true;
            } else if (wifi.router == RouterChoice::Without && open) {
                wifi.passwordEnabled = false;
            }
            break;
        case PageControl::Router:
            if (wifi.router == RouterChoice::With) {
                wifi.passwordEnabled = true;
            } else if (wifi.mode == ModeChoice::Master && open) {
                wifi.passwordEnabled = false;
            }
            break;
        case PageControl::Security:
            wifi.passwordEnabled = !open;
            break;
        default:
            break;
    }
}

void StoreControl(PageControl control, PageState& state) {
    const protocol::WifiControls& w = state.wifi;
    const protocol::FanControls& f = state.fan;
    protocol::DeviceSettings& s = state.current;
    switch (control) {
        case PageControl::Mode:
            if (w.mode != ModeChoice::None) {
                s.Device_mode = w.mode == ModeChoice::Master ? unit::kModeMaster : unit::kModeSlave;
            }
            break;
        case PageControl::Router:
            // A slave always joins a network; its radio pair only says whose.
            if (w.mode == ModeChoice::Slave) {
                s.Connection_type = unit::kConnectionWithRouter;
            } else if (w.router != RouterChoice::None) {
                s.Connection_type = w.router == RouterChoice::With ? unit::kConnectionWithRouter
                                                                   : unit::kConnectionWithoutRouter;
            }
            break;
        case PageControl::WifiName:
            // Every write takes the name from its box; nothing is stored for it.
            break;
        case PageControl::Password:
            s.Wi_Fi_password = w.password;
            break;
        case PageControl::SlaveNumber:
            if (const auto number = protocol::slaveNumberFromItemText(w.slaveNumberItemText);
                number.ok()) {
                s.Slave_number = number.value();
            }
            break;
        case PageControl::SlaveIpMode:
            if (const auto mode = protocol::slaveIpModeFromItem(w.slaveIpModeItem)) {
                s.Slave_IP_mode = *mode;
            }
            break;
        case PageControl::SlaveIp:
            s.Slave_IP = w.slaveIp;
            break;
        case PageControl::MasterIp:
            s.Master_IP = w.masterIp;
            break;
        case PageControl::Channel:
            if (const auto channel = protocol::channelFromItemText(w.channelItemText);
                channel.ok()) {
                s.Wi_Fi_channel = channel.value();
            }
            break;
        case PageControl::Security:
            if (const auto security = protocol::securityFromItem(w.securityItem)) {
                s.Wi_Fi_security = *security;
            }
            break;
        case PageControl::Gateway:
            s.Gateway = w.gateway;
            break;
        case PageControl::OffAvailable:
            s.Off_available = protocol::valueFromFlag(f.offAvailable);
            break;
        case PageControl::Direction:
            s.Direction = protocol::directionValue(f.supplyChecked, f.exhaustChecked, s.Direction);
            break;
        case PageControl::HumiditySensor:
            s.Humidity_sensor = protocol::valueFromFlag(f.humiditySensor);
            break;
        case PageControl::RelaySensor:
            s.Relay_sensor = protocol::valueFromFlag(f.relaySensor);
            break;
        case PageControl::VoltageSensor:
            s.Voltage_sensor = protocol::valueFromFlag(f.voltageSensor);
            break;
        case PageControl::HumidityScenario:
            s.Humidity_scenario = protocol::humidityScenarioValue(
                f.exhaustBixChecked, f.supplyExhaustBixChecked, s.Humidity_scenario);
            break;
        case PageControl::HumidityThreshold:
        case PageControl::VoltageThreshold:
        case PageControl::OffDelayTimer:
        case PageControl::NightTimer:
        case PageControl::PartyTimer:
            // Not stored: the fan write always takes them from their controls.
            break;
    }
}

}  // namespace quillo::model
