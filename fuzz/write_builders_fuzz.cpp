// The Wi-Fi and fan write builders over any control state the window can hold (and list texts
// and slider positions it cannot), sent to a simulated unit: after an accepted write the unit
// holds exactly what was built; a refused one sends nothing.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "protocol/conversions.h"
#include "protocol/payload.h"
#include "protocol/report_device.h"
#include "protocol/sequence.h"
#include "protocol/write_sequences.h"
#include "sim/sim_unit.h"

using namespace quillo::protocol;
using quillo::sim::SimUnit;

namespace {

// Writes go straight into the simulated unit.
class UnitDevice final : public ReportDevice {
public:
    explicit UnitDevice(SimUnit& unit) : unit_(unit) {}
    std::size_t outputReportLength() const override { return 65; }
    bool writeReport(const std::uint8_t* data, std::size_t size, std::size_t& written) override {
        ++reports;
        unit_.Receive(data, size);
        written = size;
        return true;
    }
    int reports = 0;

private:
    SimUnit& unit_;
};

std::u16string Text(FuzzedDataProvider& in, std::size_t maxLength) {
    std::u16string text;
    const auto length = in.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    for (std::size_t i = 0; i < length; ++i) {
        text += static_cast<char16_t>(in.ConsumeIntegral<std::uint16_t>());
    }
    return text;
}

std::u16string Decimal(int value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

// A list's item text: mostly one of its items, sometimes none or anything.
std::u16string ItemText(FuzzedDataProvider& in, int items) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return {};
        case 1:
            return Text(in, 12);
        default:
            return Decimal(in.ConsumeIntegralInRange(1, items));
    }
}

IpOctets Address(FuzzedDataProvider& in) {
    return {in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>(),
            in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>()};
}

std::u16string TimeText(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) {
        return Text(in, 6);
    }
    const int hours = in.ConsumeIntegralInRange(0, 99);
    const int minutes = in.ConsumeIntegralInRange(0, 99);
    std::u16string text = paddedNumber(static_cast<std::uint32_t>(hours), 2);
    text += u':';
    text += paddedNumber(static_cast<std::uint32_t>(minutes), 2);
    return text;
}

std::string Bytes(std::u16string_view text) {
    const std::vector<std::uint8_t> bytes = wireBytes(text);
    return {bytes.begin(), bytes.end()};
}

void CheckWifi(FuzzedDataProvider& in) {
    WifiControls c;
    c.mode = static_cast<ModeChoice>(in.ConsumeIntegralInRange(0, 2));
    c.router = static_cast<RouterChoice>(in.ConsumeIntegralInRange(0, 2));
    c.name = Text(in, 32);      // the entry's limit
    c.password = Text(in, 60);  // the entry's limit
    c.masterIp = Address(in);
    c.slaveIp = Address(in);
    c.gateway = Address(in);
    c.channelItemText = ItemText(in, 13);
    c.slaveNumberItemText = ItemText(in, 32);
    c.securityItem = in.ConsumeIntegralInRange(-1, 4);
    c.slaveIpModeItem = in.ConsumeIntegralInRange(-1, 2);
    DeviceSettings current;
    current.Slave_IP = Address(in);
    current.Wi_Fi_security = static_cast<char16_t>(in.ConsumeIntegral<std::uint8_t>());

    const WifiWrite write = buildWifiWrite(c, current);
    SimUnit unit(quillo::sim::Model::Solvi, "00000001");
    UnitDevice device(unit);
    runSequence(&device, write.steps, {});
    if (write.outcome != WriteOutcome::Ok) {
        FUZZ_CHECK(device.reports == 0);
        return;
    }
    const DeviceSettings& s = write.settings;
    const quillo::sim::UnitParameters& held = unit.parameters();
    FUZZ_CHECK(held.deviceMode == s.Device_mode);
    FUZZ_CHECK(held.connectionType == s.Connection_type);
    FUZZ_CHECK(held.wifiName == Bytes(s.Wi_Fi_name));
    FUZZ_CHECK(held.wifiPassword == Bytes(s.Wi_Fi_password));
    FUZZ_CHECK(held.slaveNumber == s.Slave_number);
    FUZZ_CHECK(held.slaveIpMode == s.Slave_IP_mode);
    FUZZ_CHECK(held.channel == s.Wi_Fi_channel);
    FUZZ_CHECK(held.security == wireByte(s.Wi_Fi_security));
    // An address without octets goes out empty, and the unit keeps its own.
    for (const auto& [stored, sent] :
         {std::pair{held.slaveIp, s.Slave_IP}, std::pair{held.masterIp, s.Master_IP},
          std::pair{held.gateway, s.Gateway}}) {
        FUZZ_CHECK(sent.empty() || stored == sent.octets());
    }
    FUZZ_CHECK(!unit.setupMode());
    FUZZ_CHECK(unit.wifiModuleOn());
}

void CheckFan(FuzzedDataProvider& in) {
    FanControls c;
    c.offAvailable = in.ConsumeBool();
    c.supplyChecked = in.ConsumeBool();
    c.exhaustChecked = in.ConsumeBool();
    c.humiditySensor = in.ConsumeBool();
    c.relaySensor = in.ConsumeBool();
    c.voltageSensor = in.ConsumeBool();
    c.exhaustBixChecked = in.ConsumeBool();
    c.supplyExhaustBixChecked = in.ConsumeBool();
    c.humidityPosition =
        in.ConsumeBool() ? in.ConsumeIntegralInRange(8, 16) : in.ConsumeIntegral<int>();
    c.voltagePosition =
        in.ConsumeBool() ? in.ConsumeIntegralInRange(1, 20) : in.ConsumeIntegral<int>();
    c.offDelayTime = TimeText(in);
    c.nightTime = TimeText(in);
    c.partyTime = TimeText(in);

    const FanWrite write = buildFanWrite(c, DeviceSettings{});
    SimUnit unit(quillo::sim::Model::Pargo, "00000002");
    UnitDevice device(unit);
    runSequence(&device, write.steps, {});
    if (write.outcome != WriteOutcome::Ok) {
        FUZZ_CHECK(device.reports == 0);
        return;
    }
    const DeviceSettings& s = write.settings;
    const quillo::sim::UnitParameters& held = unit.parameters();
    FUZZ_CHECK(held.offAvailable == s.Off_available);
    FUZZ_CHECK(held.direction == s.Direction);
    FUZZ_CHECK(held.humiditySensor == s.Humidity_sensor);
    FUZZ_CHECK(held.relaySensor == s.Relay_sensor);
    FUZZ_CHECK(held.voltageSensor == s.Voltage_sensor);
    FUZZ_CHECK(held.humidityScenario == s.Humidity_scenario);
    FUZZ_CHECK(held.humidityThreshold == c.humidityPosition * kThresholdStep);
    FUZZ_CHECK(held.voltageThreshold == c.voltagePosition * kThresholdStep);
    FUZZ_CHECK(held.offDelayTimer == secondsFromTimeText(c.offDelayTime).value());
    FUZZ_CHECK(held.nightTimer == secondsFromTimeText(c.nightTime).value());
    FUZZ_CHECK(held.partyTimer == secondsFromTimeText(c.partyTime).value());
    FUZZ_CHECK(!unit.setupMode());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        CheckWifi(in);
    } else {
        CheckFan(in);
    }
    return 0;
}
