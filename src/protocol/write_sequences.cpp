#include "protocol/write_sequences.h"

#include <algorithm>

#include "protocol/conversions.h"
#include "protocol/unit_contract.h"
#include "protocol/wire_text.h"

namespace quillo::protocol {

namespace {

using namespace std::chrono_literals;

Step sendByte(CommandCode code, std::uint8_t value) {
    return Step::send(code, bytePayload(value));
}

WifiWrite conversionFailed(WifiWrite write, const ConversionError& error) {
    write.outcome = WriteOutcome::ConversionError;
    write.error = error;
    return write;
}

Sequence wifiSteps(const DeviceSettings& s) {
    return {
        sendByte(Code_Setup_mode, unit::kSetupBegin),
        sendByte(Code_Slave_number, s.Slave_number),
        sendByte(Code_Slave_IP_mode, s.Slave_IP_mode),
        Step::send(Code_Slave_IP, addressPayload(s.Slave_IP)),
        sendByte(Code_Device_mode, s.Device_mode),
        sendByte(Code_Connection_type, s.Connection_type),
        Step::send(Code_Wi_Fi_name, textPayload(s.Wi_Fi_name)),
        Step::send(Code_Wi_Fi_password, textPayload(s.Wi_Fi_password)),
        Step::send(Code_Master_IP, addressPayload(s.Master_IP)),
        sendByte(Code_Wi_Fi_channel, s.Wi_Fi_channel),
        Step::send(Code_Wi_Fi_security, Payload(1, s.Wi_Fi_security)),
        Step::send(Code_Gateway, addressPayload(s.Gateway)),
        sendByte(Code_Setup_mode, unit::kSetupEnd),
        // Restart the module so that it takes the new settings.
        Step::wait(100ms),
        sendByte(Code_Wi_Fi_module, unit::kModuleOff),
        Step::wait(250ms),
        sendByte(Code_Wi_Fi_module, unit::kModuleOn),
    };
}

}  // namespace

WifiWrite buildWifiWrite(const WifiControls& controls, const DeviceSettings& current) {
    WifiWrite write;
    write.settings = current;
    DeviceSettings& s = write.settings;
    const bool with = controls.router == RouterChoice::With;
    const bool without = controls.router == RouterChoice::Without;

    // Each mode sets its own fields; the checks come after them, and a refusal lets collecting
    // go on so that DeviceSettings holds everything the user entered.
    if (controls.mode == ModeChoice::Master && (with || without)) {
        s.Device_mode = unit::kModeMaster;
        if (with) {
            s.Connection_type = unit::kConnectionWithRouter;
            s.Master_IP = controls.masterIp;
            if (controls.name.empty()) {
                write.messageId = kMessageNameLength;
            }
        } else {
            s.Connection_type = unit::kConnectionWithoutRouter;
            s.Master_IP = unit::kMasterAddressWithoutRouter;
            const auto channel = channelFromItemText(controls.channelItemText);
            if (!channel.ok()) {
                return conversionFailed(std::move(write), channel.error());
            }
            s.Wi_Fi_channel = channel.value();
            if (const auto security = securityFromItem(controls.securityItem)) {
                s.Wi_Fi_security = *security;
            }
            // Only an open network may go without a password of the minimum length.
            if (controls.password.size() < kMinPasswordLength && controls.securityItem != 0) {
                write.messageId = kMessagePasswordLength;
            }
        }
    } else if (controls.mode == ModeChoice::Slave && (with || without)) {
        s.Device_mode = unit::kModeSlave;
        // A slave always joins a network, never offers its own.
        s.Connection_type = unit::kConnectionWithRouter;
        const auto number = slaveNumberFromItemText(controls.slaveNumberItemText);
        if (!number.ok()) {
            return conversionFailed(std::move(write), number.error());
        }
        s.Slave_number = number.value();
        s.Slave_IP = controls.slaveIp;
        if (with) {
            s.Master_IP = controls.masterIp;
            if (const auto mode = slaveIpModeFromItem(controls.slaveIpModeItem)) {
                s.Slave_IP_mode = *mode;
            }
        } else {
            s.Master_IP = unit::kMasterAddressWithoutRouter;
            s.Slave_IP_mode = unit::kSlaveIpDhcp;
        }
        if (controls.name.empty()) {
            write.messageId = kMessageNameLength;
        }
    }

    // Only what the user can see and edit in this mode is checked: a master without router
    // hides the name, and a greyed-out box (after "OPEN" was chosen or read) the password. A
    // hidden or greyed-out value goes back as it stands (a read one unchanged).
    const bool masterWithoutRouter = controls.mode == ModeChoice::Master && without;
    const bool nameEditable = !masterWithoutRouter;
    // A password longer than the box goes back whole while the box shows its beginning.
    const std::u16string password = wifiPasswordText(controls.password, controls.passwordRead);
    // The name goes out as bytes: UTF-8, or unchanged as it was read.
    const std::vector<std::uint8_t> nameBytes =
        wifiNameBytes(controls.name, controls.nameReadBytes);
    // A hidden name goes back as it was read; one that was not read must fit the unit even so,
    // or it would go out in pieces.
    const bool nameAsRead =
        !controls.nameReadBytes.empty() && nameBytes.size() == controls.nameReadBytes.size() &&
        std::equal(nameBytes.begin(), nameBytes.end(), controls.nameReadBytes.begin());
    if (write.messageId == 0 && (nameEditable || !nameAsRead) &&
        nameBytes.size() > kMaxWiFiNameBytes) {
        write.messageId = kMessageNameLength;
    }
    // A character outside printable ASCII would go out as a byte no network accepts.
    if (write.messageId == 0 && controls.passwordEnabled && !isPrintableAscii(password)) {
        write.messageId = kMessagePasswordCharacters;
    }

    s.Wi_Fi_name = textFromBytes(nameBytes);
    s.Wi_Fi_password = password;
    s.Gateway = controls.gateway;

    if (write.messageId != 0) {
        write.outcome = WriteOutcome::Refused;
        return write;
    }
    write.steps = wifiSteps(s);
    return write;
}

FanWrite buildFanWrite(const FanControls& controls, const DeviceSettings& current) {
    FanWrite write;
    write.settings = current;
    DeviceSettings& s = write.settings;
    s.Off_available = valueFromFlag(controls.offAvailable);
    s.Direction = directionValue(controls.supplyChecked, controls.exhaustChecked, s.Direction);
    s.Humidity_sensor = valueFromFlag(controls.humiditySensor);
    s.Relay_sensor = valueFromFlag(controls.relaySensor);
    s.Voltage_sensor = valueFromFlag(controls.voltageSensor);
    s.Humidity_scenario = humidityScenarioValue(
        controls.exhaustBixChecked, controls.supplyExhaustBixChecked, s.Humidity_scenario);

    // Converted in the order they are sent, so the first bad field is the one reported.
    const auto offDelay = secondsFromTimeText(controls.offDelayTime);
    const auto night = secondsFromTimeText(controls.nightTime);
    const auto party = secondsFromTimeText(controls.partyTime);
    for (const auto* time : {&offDelay, &night, &party}) {
        if (!time->ok()) {
            write.outcome = WriteOutcome::ConversionError;
            write.error = time->error();
            return write;
        }
    }
    const auto humidity = thresholdValue(controls.humidityPosition);
    const auto voltage = thresholdValue(controls.voltagePosition);
    for (const auto* threshold : {&humidity, &voltage}) {
        if (!threshold->ok()) {
            write.outcome = WriteOutcome::ConversionError;
            write.error = threshold->error();
            return write;
        }
    }

    write.steps = {
        sendByte(Code_Setup_mode, unit::kSetupBegin),
        sendByte(Code_Off_available, s.Off_available),
        sendByte(Code_Direction, s.Direction),
        sendByte(Code_Humidity_sensor, s.Humidity_sensor),
        sendByte(Code_Relay_sensor, s.Relay_sensor),
        sendByte(Code_Voltage_sensor, s.Voltage_sensor),
        sendByte(Code_Humidity_threshold, humidity.value()),
        sendByte(Code_Voltage_threshold, voltage.value()),
        Step::send(Code_Off_delay_timer, secondsPayload(offDelay.value())),
        Step::send(Code_Night_timer, secondsPayload(night.value())),
        Step::send(Code_Party_timer, secondsPayload(party.value())),
        sendByte(Code_Humidity_scenario, s.Humidity_scenario),
        sendByte(Code_Setup_mode, unit::kSetupEnd),
    };
    return write;
}

Step readRequest(CommandCode code) {
    return sendByte(Code_Read, code);
}

Sequence restoreDefaultsSequence() {
    return {
        sendByte(Code_Setup_mode, unit::kSetupBegin),
        sendByte(Code_Factory_reset, 0),
        Step::wait(unit::kFactoryResetSettleTime),
        readRequest(Code_Device_mode),
    };
}

Sequence filterResetSequence() {
    return {sendByte(Code_Filter_reset, 0)};
}

Sequence readParametersSequence() {
    return {readRequest(Code_Device_mode)};
}

Sequence statusPollSequence(bool filterPageShown) {
    Sequence poll = {readRequest(Code_Wi_Fi_state), Step::wait(20ms),
                     readRequest(Code_Master_state)};
    if (filterPageShown) {
        poll.push_back(Step::wait(20ms));
        poll.push_back(readRequest(Code_Filter_timer));
    }
    return poll;
}

}  // namespace quillo::protocol
