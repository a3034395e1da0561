#include "sim/sim_unit.h"

#include <algorithm>
#include <optional>
#include <type_traits>
#include <variant>

#include "protocol/framing.h"
#include "protocol/payload.h"

namespace quillo::sim {

using namespace quillo::protocol;
namespace unit = protocol::unit;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A parameter's value as the unit keeps it; the alternative follows from the encoding.
using Value = std::variant<std::uint8_t, std::string, Address, std::uint32_t>;
using Field = std::variant<std::uint8_t UnitParameters::*, std::string UnitParameters::*,
                           Address UnitParameters::*, std::uint32_t UnitParameters::*>;

struct StoredParameter {
    CommandCode code;
    Field field;
};

// Where the unit keeps the parameters it stores. The other readable codes report its state.
const std::array<StoredParameter, 22> kStored = {{
    {Code_Device_mode, &UnitParameters::deviceMode},
    {Code_Wi_Fi_name, &UnitParameters::wifiName},
    {Code_Wi_Fi_password, &UnitParameters::wifiPassword},
    {Code_Slave_number, &UnitParameters::slaveNumber},
    {Code_Slave_IP_mode, &UnitParameters::slaveIpMode},
    {Code_Slave_IP, &UnitParameters::slaveIp},
    {Code_Master_IP, &UnitParameters::masterIp},
    {Code_Connection_type, &UnitParameters::connectionType},
    {Code_Wi_Fi_channel, &UnitParameters::channel},
    {Code_Wi_Fi_security, &UnitParameters::security},
    {Code_Off_available, &UnitParameters::offAvailable},
    {Code_Direction, &UnitParameters::direction},
    {Code_Humidity_sensor, &UnitParameters::humiditySensor},
    {Code_Relay_sensor, &UnitParameters::relaySensor},
    {Code_Voltage_sensor, &UnitParameters::voltageSensor},
    {Code_Humidity_threshold, &UnitParameters::humidityThreshold},
    {Code_Voltage_threshold, &UnitParameters::voltageThreshold},
    {Code_Night_timer, &UnitParameters::nightTimer},
    {Code_Party_timer, &UnitParameters::partyTimer},
    {Code_Off_delay_timer, &UnitParameters::offDelayTimer},
    {Code_Humidity_scenario, &UnitParameters::humidityScenario},
    {Code_Gateway, &UnitParameters::gateway},
}};

std::optional<Field> StoredField(CommandCode code) {
    const auto* found = std::find_if(kStored.begin(), kStored.end(),
                                     [code](const StoredParameter& p) { return p.code == code; });
    if (found == kStored.end()) {
        return std::nullopt;
    }
    return found->field;
}

Bytes Encode(unit::Encoding encoding, const Value& value) {
    switch (encoding) {
        case unit::Encoding::Byte:
        case unit::Encoding::Digit:
            return {std::get<std::uint8_t>(value)};
        case unit::Encoding::Text:
        case unit::Encoding::CountedText: {
            const auto& text = std::get<std::string>(value);
            return {text.begin(), text.end()};
        }
        case unit::Encoding::Address:
            return wireBytes(addressPayload(IpOctets(std::get<Address>(value))));
        case unit::Encoding::Seconds:
            return wireBytes(secondsPayload(std::get<std::uint32_t>(value)));
        case unit::Encoding::None:
            break;
    }
    return {};
}

// Values too short for their encoding give nothing, and the unit ignores them, as a careful
// firmware would.
std::optional<Value> Decode(unit::Encoding encoding, const Bytes& bytes) {
    switch (encoding) {
        case unit::Encoding::Byte:
        case unit::Encoding::Digit:
            if (!bytes.empty()) {
                return bytes.front();
            }
            break;
        case unit::Encoding::Text:
            return std::string(bytes.begin(), bytes.end());
        case unit::Encoding::Address:
            if (const auto address = addressFromBytes(bytes)) {
                return address->octets();
            }
            break;
        case unit::Encoding::Seconds:
            if (const auto seconds = secondsFromBytes(bytes)) {
                return *seconds;
            }
            break;
        case unit::Encoding::CountedText:  // never written
        case unit::Encoding::None:
            break;
    }
    return std::nullopt;
}

bool StartsWith(const Bytes& value, std::uint8_t byte) {
    return !value.empty() && value.front() == byte;
}

}  // namespace

UnitParameters SimUnit::Defaults(Model model, const std::string& serialNumber) {
    UnitParameters p;
    // A fresh unit is a master with its own network, named after the end of its serial number.
    p.deviceMode = unit::kModeMaster;
    p.connectionType = unit::kConnectionWithoutRouter;
    const Bytes prefix = wireBytes(unit::kMasterNetworkPrefix);
    p.wifiName = std::string(prefix.begin(), prefix.end()) + "-" +
                 serialNumber.substr(serialNumber.size() - 4);
    p.wifiPassword = "11111111";
    p.slaveIp = {192, 168, 4, 2};
    p.masterIp = unit::kMasterAddressWithoutRouter.octets();
    p.gateway = unit::kMasterAddressWithoutRouter.octets();
    p.offDelayTimer = 30 * 60;
    p.nightTimer = 8 * 3600;
    p.partyTimer = 4 * 3600;
    if (model == Model::Pargo) {
        p.direction = unit::kDirectionExhaust;
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
        std::min<long long>(unit::kMaxSeconds, static_cast<long long>(filterBase_) + elapsed));
}

void SimUnit::setFilterSeconds(std::uint32_t seconds) {
    filterBase_ = std::min(seconds, unit::kMaxSeconds);
    filterSince_ = std::chrono::steady_clock::now();
}

bool SimUnit::wifiConnected() const {
    return wifiModuleOn_ && !atMode_ && !params_.wifiName.empty();
}

bool SimUnit::masterConnected() const {
    return params_.deviceMode == 1 || wifiConnected();
}

SimUnit::Report SimUnit::Answer(CommandCode code) const {
    const auto entry = unit::parameter(code);
    if (!entry || !entry->readable) {
        return {};
    }
    Value value;
    if (const auto field = StoredField(code)) {
        value = std::visit([this](auto member) -> Value { return params_.*member; }, *field);
    } else {
        switch (code) {
            case Code_Serial_number:
                value = serial_;
                break;
            case Code_Wi_Fi_state:
                value = static_cast<std::uint8_t>(wifiConnected());
                break;
            case Code_Filter_timer:
                value = filterSeconds();
                break;
            case Code_Master_state:
                value = static_cast<std::uint8_t>(masterConnected());
                break;
            default:
                return {};
        }
    }
    return unit::answerReport(code, Encode(entry->encoding, value), inputLength);
}

void SimUnit::Write(CommandCode code, const std::vector<std::uint8_t>& value) {
    switch (code) {
        case Code_Setup_mode:
            setupMode_ = StartsWith(value, unit::kSetupBegin);
            return;
        case Code_Factory_reset:
            params_ = Defaults(model_, serial_);
            return;
        case Code_Filter_reset:
            setFilterSeconds(0);
            return;
        case Code_Wi_Fi_module:
            wifiModuleOn_ = StartsWith(value, unit::kModuleOn);
            return;
        case Code_AT_mode:
            atMode_ = StartsWith(value, unit::kPassThroughOn);
            atLine_.clear();
            return;
        default:
            break;
    }
    const auto entry = unit::parameter(code);
    const auto field = StoredField(code);
    if (!entry || !entry->writable || !field) {
        return;  // read-only or unknown: ignored
    }
    const auto decoded = Decode(entry->encoding, value);
    if (!decoded) {
        return;
    }
    std::visit(
        [this, &decoded](auto member) {
            using Stored = std::remove_reference_t<decltype(params_.*member)>;
            params_.*member = std::get<Stored>(*decoded);
        },
        *field);
}

void SimUnit::PassThrough(std::u16string_view line, std::vector<Report>& out) const {
    const auto moduleOutput = [&](CommandCode code, const std::string& text) {
        out.push_back(unit::answerReport(code, Bytes(text.begin(), text.end()), inputLength));
    };
    if (line == unit::kAtListAccessPoints) {
        for (const std::string& ap : accessPoints) {
            moduleOutput(unit::kScanLineCode, ap);  // one access point per report
        }
    }
    moduleOutput(unit::kModuleOutputCode, "OK");
}

std::vector<SimUnit::Report> SimUnit::Receive(const std::uint8_t* report, std::size_t size) {
    std::vector<Report> out;
    const auto chunk = parseOutputReport({report, size});
    if (!chunk) {
        return out;
    }
    if (chunk->code == Code_Read) {
        if (!chunk->bytes.empty() && unanswered.count(chunk->bytes.front()) == 0) {
            Report answer = Answer(static_cast<CommandCode>(chunk->bytes.front()));
            if (!answer.empty()) {
                out.push_back(std::move(answer));
            }
        }
        return out;
    }
    if (chunk->code == Code_AT_command) {
        if (!atMode_) {
            return out;
        }
        // Each line, its CR LF included, goes to the module once it is complete.
        constexpr std::u16string_view kLineEnd = u"\r\n";
        atLine_ += textFromBytes(chunk->bytes);
        for (std::size_t end = atLine_.find(kLineEnd); end != std::u16string::npos;
             end = atLine_.find(kLineEnd)) {
            const std::size_t lineLength = end + kLineEnd.size();
            PassThrough(std::u16string_view(atLine_).substr(0, lineLength), out);
            atLine_.erase(0, lineLength);
        }
        return out;
    }
    if (ignored.count(chunk->code) == 0) {
        Write(chunk->code, chunk->bytes);
    }
    return out;
}

}  // namespace quillo::sim
