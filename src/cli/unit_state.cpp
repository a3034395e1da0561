#include "cli/unit_state.h"

#include <optional>
#include <span>
#include <string>

#include "protocol/conversions.h"
#include "protocol/input_report.h"
#include "protocol/payload.h"
#include "protocol/read_chain.h"
#include "protocol/unit_contract.h"

namespace quillo::cli {

namespace unit = protocol::unit;
using protocol::CommandCode;

namespace {

std::u16string ItemText(std::optional<int> index) {
    return index ? protocol::paddedNumber(static_cast<std::uint32_t>(*index + 1), 1)
                 : std::u16string();
}

// A radio pair after CheckPair: 1 checks the first, 0 the second, anything else neither.
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

void Apply(const protocol::InputReport& report, UnitState& state) {
    protocol::WifiControls& w = state.wifi;
    protocol::FanControls& f = state.fan;
    protocol::DeviceSettings& s = state.current;
    const std::uint8_t byte = report.byteValue();
    switch (report.code()) {
        case protocol::Code_Device_mode:
            s.Device_mode = byte;
            if (byte == unit::kModeMaster) {
                w.mode = protocol::ModeChoice::Master;
            } else if (byte == unit::kModeSlave) {
                w.mode = protocol::ModeChoice::Slave;
            }
            break;
        case protocol::Code_Connection_type:
            s.Connection_type = byte;
            if (s.Device_mode == unit::kModeMaster) {
                if (byte == unit::kConnectionWithRouter) {
                    w.router = protocol::RouterChoice::With;
                } else if (byte == unit::kConnectionWithoutRouter) {
                    w.router = protocol::RouterChoice::Without;
                }
            }
            break;
        case protocol::Code_Wi_Fi_name:
            w.name = report.displayText();
            // A slave's network tells its connection: a master's own network has no router.
            if (s.Device_mode == unit::kModeSlave) {
                w.router = unit::isMasterNetworkName(w.name) ? protocol::RouterChoice::Without
                                                             : protocol::RouterChoice::With;
            }
            break;
        case protocol::Code_Wi_Fi_password:
            s.Wi_Fi_password = report.rawText();
            w.password = report.displayText();
            break;
        case protocol::Code_Slave_number:
            s.Slave_number = byte;
            w.slaveNumberItemText = ItemText(protocol::slaveNumberItemIndex(byte));
            break;
        case protocol::Code_Slave_IP_mode:
            s.Slave_IP_mode = byte;
            if (const std::optional<int> item = protocol::slaveIpModeItemIndex(byte)) {
                w.slaveIpModeItem = *item;
            }
            break;
        case protocol::Code_Slave_IP:
            s.Slave_IP = w.slaveIp = report.address();
            break;
        case protocol::Code_Master_IP:
            s.Master_IP = w.masterIp = report.address();
            break;
        case protocol::Code_Wi_Fi_channel:
            s.Wi_Fi_channel = byte;
            w.channelItemText = ItemText(protocol::channelItemIndex(byte));
            break;
        case protocol::Code_Wi_Fi_security:
            s.Wi_Fi_security = report.digitValue();
            if (const std::optional<int> item = protocol::securityItemIndex(report.digitValue())) {
                w.securityItem = *item;
            }
            break;
        case protocol::Code_Off_available:
            s.Off_available = byte;
            CheckFlag(byte, f.offAvailable);
            break;
        case protocol::Code_Direction:
            s.Direction = byte;
            CheckPair(byte, f.exhaustChecked, f.supplyChecked);
            break;
        case protocol::Code_Humidity_sensor:
            s.Humidity_sensor = byte;
            CheckFlag(byte, f.humiditySensor);
            break;
        case protocol::Code_Relay_sensor:
            s.Relay_sensor = byte;
            CheckFlag(byte, f.relaySensor);
            break;
        case protocol::Code_Voltage_sensor:
            s.Voltage_sensor = byte;
            CheckFlag(byte, f.voltageSensor);
            break;
        case protocol::Code_Humidity_threshold:
            f.humidityPosition = protocol::humidityThresholdPosition(byte);
            break;
        case protocol::Code_Voltage_threshold:
            f.voltagePosition = protocol::voltageThresholdPosition(byte);
            break;
        case protocol::Code_Off_delay_timer:
            f.offDelayTime = protocol::timeTextFromSeconds(report.seconds());
            break;
        case protocol::Code_Night_timer:
            f.nightTime = protocol::timeTextFromSeconds(report.seconds());
            break;
        case protocol::Code_Party_timer:
            f.partyTime = protocol::timeTextFromSeconds(report.seconds());
            break;
        case protocol::Code_Humidity_scenario:
            s.Humidity_scenario = byte;
            CheckPair(byte, f.exhaustBixChecked, f.supplyExhaustBixChecked);
            break;
        case protocol::Code_Gateway:
            s.Gateway = w.gateway = report.address();
            break;
        default:
            break;
    }
}

}  // namespace

UnitState StateFromValues(const UnitValues& values) {
    // A freshly started window's controls: they stay so where an answer is out of range.
    UnitState state;
    state.wifi.mode = protocol::ModeChoice::Master;
    state.wifi.router = protocol::RouterChoice::Without;
    state.wifi.securityItem = 3;
    state.wifi.channelItemText = u"11";
    state.wifi.slaveNumberItemText = u"1";
    state.wifi.slaveIpModeItem = 0;
    state.fan.offAvailable = true;
    state.fan.supplyChecked = true;
    state.fan.exhaustBixChecked = true;
    state.fan.humiditySensor = true;
    state.fan.relaySensor = true;
    state.fan.voltageSensor = true;
    state.fan.humidityPosition = 14;
    state.fan.voltagePosition = 10;
    state.fan.offDelayTime = state.fan.nightTime = state.fan.partyTime = u"00:00";
    for (const CommandCode code : protocol::kReadChain) {
        if (const auto found = values.find(code); found != values.end()) {
            Apply(protocol::InputReport(std::span<const std::uint8_t>(found->second)), state);
        }
    }
    return state;
}

UnitValues ValuesAfter(const UnitValues& values, const protocol::Sequence& steps) {
    UnitValues after = values;
    for (const protocol::Step& step : steps) {
        if (step.kind != protocol::Step::Kind::Send || !protocol::isReadChainCode(step.code)) {
            continue;
        }
        std::vector<std::uint8_t> answer = protocol::wireBytes(step.payload);
        answer.insert(answer.begin(), {static_cast<std::uint8_t>(step.code),
                                       static_cast<std::uint8_t>(answer.size())});
        after[step.code] = std::move(answer);
    }
    return after;
}

}  // namespace quillo::cli
