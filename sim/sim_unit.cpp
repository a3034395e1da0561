#include "sim/sim_unit.h"

#include <algorithm>

#include "protocol/command_code.h"

namespace quillo::sim {

using namespace quillo::protocol;

namespace {

constexpr std::uint32_t kMaxSeconds = 0xFFFFFF;

std::string Bytes(std::initializer_list<std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string AddressValue(const Address& a) {
    return Bytes({a[0], a[1], a[2], a[3]});
}

std::string SecondsValue(std::uint32_t s) {
    return Bytes({static_cast<std::uint8_t>(s >> 16), static_cast<std::uint8_t>(s >> 8),
                  static_cast<std::uint8_t>(s)});
}

Address AddressFrom(const std::uint8_t* p) {
    return {p[0], p[1], p[2], p[3]};
}

std::uint32_t SecondsFrom(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

}  // namespace

std::u16string ProductString(Model model) {
    return model == Model::Solvi ? u"Zorvat" : u"Zorvat Bix";
}

UnitParameters SimUnit::Defaults(Model model, const std::string& serialNumber) {
    UnitParameters p;
    // A fresh unit is a master with its own network, named after the end of its serial number.
    p.deviceMode = 1;
    p.connectionType = 2;
    p.wifiName = "Kelmair-" + serialNumber.substr(serialNumber.size() - 4);
    p.wifiPassword = "11111111";
    p.slaveIp = {192, 168, 4, 2};
    p.masterIp = {192, 168, 4, 1};
    p.gateway = {192, 168, 4, 1};
    p.offDelayTimer = 30 * 60;
    p.nightTimer = 8 * 3600;
    p.partyTimer = 4 * 3600;
    if (model == Model::Pargo) {
        p.direction = 1;
        p.humidityScenario = 1;
    }
    return p;
}

SimUnit::SimUnit(Model model, std::string serialNumber)
    : model_(model),
      serial_(std::move(serialNumber)),
      params_(Defaults(model, serial_)),
      filterBase_(3 * 86400 + 5 * 3600 + 7 * 60 + 11),
      filterSince_(std::chrono::steady_clock::now()) {
    accessPoints = {
        R"(+CWLAP:(3,"HomeNet",-58,"a4:2b:b0:5e:11:02",6,-8,0))",
        R"(+CWLAP:(4,"Kelmair-7F21",-64,"5c:cf:7f:21:7f:21",1,12,0))",
        R"(+CWLAP:(0,"Cafe Guest",-81,"00:1a:2b:3c:4d:5e",11,3,0))",
    };
}

std::uint32_t SimUnit::filterSeconds() const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::steady_clock::now() - filterSince_)
                             .count();
    return static_cast<std::uint32_t>(
        std::min<long long>(kMaxSeconds, static_cast<long long>(filterBase_) + elapsed));
}

void SimUnit::setFilterSeconds(std::uint32_t seconds) {
    filterBase_ = std::min(seconds, kMaxSeconds);
    filterSince_ = std::chrono::steady_clock::now();
}

bool SimUnit::wifiConnected() const {
    return wifiModuleOn_ && !atMode_ && !params_.wifiName.empty();
}

bool SimUnit::masterConnected() const {
    return params_.deviceMode == 1 || wifiConnected();
}

SimUnit::Report SimUnit::Frame(std::uint8_t code, const std::string& value,
                               std::uint8_t lengthByte) const {
    Report r(inputLength, 0);
    if (inputLength < 3) {
        return r;
    }
    r[0] = 1;
    r[1] = code;
    r[2] = lengthByte;
    const std::size_t n = std::min(value.size(), inputLength - 3);
    std::copy_n(value.begin(), n, r.begin() + 3);
    return r;
}

SimUnit::Report SimUnit::Answer(std::uint8_t code) const {
    const UnitParameters& p = params_;
    std::string value;
    switch (code) {
        case Code_Device_mode:
            value = Bytes({p.deviceMode});
            break;
        case Code_Wi_Fi_name:
            value = p.wifiName;
            break;
        case Code_Wi_Fi_password:
            value = p.wifiPassword;
            break;
        case Code_Slave_number:
            value = Bytes({p.slaveNumber});
            break;
        case Code_Slave_IP_mode:
            value = Bytes({p.slaveIpMode});
            break;
        case Code_Slave_IP:
            value = AddressValue(p.slaveIp);
            break;
        case Code_Master_IP:
            value = AddressValue(p.masterIp);
            break;
        case Code_Connection_type:
            value = Bytes({p.connectionType});
            break;
        case Code_Wi_Fi_channel:
            value = Bytes({p.channel});
            break;
        case Code_Wi_Fi_security:
            value = Bytes({p.security});
            break;
        case Code_Serial_number:
            value = serial_;
            break;
        case Code_Off_available:
            value = Bytes({p.offAvailable});
            break;
        case Code_Direction:
            value = Bytes({p.direction});
            break;
        case Code_Humidity_sensor:
            value = Bytes({p.humiditySensor});
            break;
        case Code_Relay_sensor:
            value = Bytes({p.relaySensor});
            break;
        case Code_Voltage_sensor:
            value = Bytes({p.voltageSensor});
            break;
        case Code_Humidity_threshold:
            value = Bytes({p.humidityThreshold});
            break;
        case Code_Voltage_threshold:
            value = Bytes({p.voltageThreshold});
            break;
        case Code_Night_timer:
            value = SecondsValue(p.nightTimer);
            break;
        case Code_Party_timer:
            value = SecondsValue(p.partyTimer);
            break;
        case Code_Off_delay_timer:
            value = SecondsValue(p.offDelayTimer);
            break;
        case Code_Wi_Fi_state:
            value = Bytes({static_cast<std::uint8_t>(wifiConnected())});
            break;
        case Code_Filter_timer:
            value = SecondsValue(filterSeconds());
            break;
        case Code_Master_state:
            value = Bytes({static_cast<std::uint8_t>(masterConnected())});
            break;
        case Code_Humidity_scenario:
            value = Bytes({p.humidityScenario});
            break;
        case Code_Gateway:
            value = AddressValue(p.gateway);
            break;
        default:
            return {};  // not a readable parameter: no answer
    }
    return Frame(code, value, static_cast<std::uint8_t>(value.size()));
}

void SimUnit::Write(std::uint8_t code, const std::uint8_t* v, std::size_t n) {
    UnitParameters& p = params_;
    const std::string text(reinterpret_cast<const char*>(v), n);
    // Values too short for their encoding are ignored, as a careful firmware would.
    const bool byte = n >= 1;
    const bool address = n >= 4;
    const bool seconds = n >= 3;
    switch (code) {
        case Code_Setup_mode:
            setupMode_ = byte && v[0] == 1;
            break;
        case Code_Factory_reset:
            params_ = Defaults(model_, serial_);
            break;
        case Code_Filter_reset:
            setFilterSeconds(0);
            break;
        case Code_Wi_Fi_module:
            wifiModuleOn_ = byte && v[0] == 1;
            break;
        case Code_AT_mode:
            atMode_ = byte && v[0] == 1;
            atLine_.clear();
            break;
        case Code_Device_mode:
            if (byte)
                p.deviceMode = v[0];
            break;
        case Code_Wi_Fi_name:
            p.wifiName = text;
            break;
        case Code_Wi_Fi_password:
            p.wifiPassword = text;
            break;
        case Code_Slave_number:
            if (byte)
                p.slaveNumber = v[0];
            break;
        case Code_Slave_IP_mode:
            if (byte)
                p.slaveIpMode = v[0];
            break;
        case Code_Slave_IP:
            if (address)
                p.slaveIp = AddressFrom(v);
            break;
        case Code_Master_IP:
            if (address)
                p.masterIp = AddressFrom(v);
            break;
        case Code_Connection_type:
            if (byte)
                p.connectionType = v[0];
            break;
        case Code_Wi_Fi_channel:
            if (byte)
                p.channel = v[0];
            break;
        case Code_Wi_Fi_security:
            if (byte)
                p.security = v[0];
            break;
        case Code_Off_available:
            if (byte)
                p.offAvailable = v[0];
            break;
        case Code_Direction:
            if (byte)
                p.direction = v[0];
            break;
        case Code_Humidity_sensor:
            if (byte)
                p.humiditySensor = v[0];
            break;
        case Code_Relay_sensor:
            if (byte)
                p.relaySensor = v[0];
            break;
        case Code_Voltage_sensor:
            if (byte)
                p.voltageSensor = v[0];
            break;
        case Code_Humidity_threshold:
            if (byte)
                p.humidityThreshold = v[0];
            break;
        case Code_Voltage_threshold:
            if (byte)
                p.voltageThreshold = v[0];
            break;
        case Code_Night_timer:
            if (seconds)
                p.nightTimer = SecondsFrom(v);
            break;
        case Code_Party_timer:
            if (seconds)
                p.partyTimer = SecondsFrom(v);
            break;
        case Code_Off_delay_timer:
            if (seconds)
                p.offDelayTimer = SecondsFrom(v);
            break;
        case Code_Humidity_scenario:
            if (byte)
                p.humidityScenario = v[0];
            break;
        case Code_Gateway:
            if (address)
                p.gateway = AddressFrom(v);
            break;
        default:
            break;  // read-only or unknown: ignored
    }
}

void SimUnit::PassThrough(const std::string& line, std::vector<Report>& out) const {
    const auto moduleOutput = [&](std::uint8_t code, const std::string& text) {
        out.push_back(
            Frame(code, text, static_cast<std::uint8_t>(std::min(text.size(), inputLength - 3))));
    };
    if (line.rfind("AT+CWLAP", 0) == 0) {
        for (const std::string& ap : accessPoints) {
            moduleOutput(Code_AT_mode, ap);  // one access point per report, code 4
        }
    }
    moduleOutput(Code_AT_command, "OK");  // other module output comes back with code 1
}

std::vector<SimUnit::Report> SimUnit::Receive(const std::uint8_t* report, std::size_t size) {
    std::vector<Report> out;
    if (size < 3 || report[0] != 1) {
        return out;
    }
    const std::uint8_t code = report[1];
    const std::size_t length = std::min<std::size_t>(report[2], size - 3);
    const std::uint8_t* payload = report + 3;

    if (code == Code_Read) {
        if (length >= 1 && unanswered.count(payload[0]) == 0) {
            Report answer = Answer(payload[0]);
            if (!answer.empty()) {
                out.push_back(std::move(answer));
            }
        }
        return out;
    }
    if (code == Code_AT_command) {
        if (!atMode_) {
            return out;
        }
        atLine_.append(reinterpret_cast<const char*>(payload), length);
        for (std::size_t end = atLine_.find("\r\n"); end != std::string::npos;
             end = atLine_.find("\r\n")) {
            PassThrough(atLine_.substr(0, end), out);
            atLine_.erase(0, end + 2);
        }
        return out;
    }
    Write(code, payload, length);
    return out;
}

}  // namespace quillo::sim
