#pragma once

// The simulated ventilation unit: its parameters, its answers to read requests and what it does
// with writes, AT pass-through included. Plain C++; the interface that carries it is in
// sim_backend.h.

#include <array>
#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "protocol/unit_contract.h"

namespace quillo::sim {

using Model = protocol::unit::Model;

using Address = std::array<std::uint8_t, 4>;

// The stored parameters, each in the form of its encoding: a byte or digit character, text
// one byte per character, an address or a count of seconds.
struct UnitParameters {
    std::uint8_t deviceMode = protocol::unit::kModeMaster;
    std::uint8_t connectionType = protocol::unit::kConnectionWithoutRouter;
    std::string wifiName;
    std::string wifiPassword;
    std::uint8_t slaveNumber = 0;
    std::uint8_t slaveIpMode = protocol::unit::kSlaveIpDhcp;
    Address slaveIp{};
    Address masterIp{};
    std::uint8_t channel = 6;
    std::uint8_t security = '3';  // '0', '2', '3' or '4'
    Address gateway{};
    std::uint8_t offAvailable = 1;
    std::uint8_t direction = protocol::unit::kDirectionSupply;
    std::uint8_t humiditySensor = 1;
    std::uint8_t relaySensor = 0;
    std::uint8_t voltageSensor = 0;
    std::uint8_t humidityThreshold = 60;
    std::uint8_t voltageThreshold = 50;
    std::uint32_t nightTimer = 0;
    std::uint32_t partyTimer = 0;
    std::uint32_t offDelayTimer = 0;
    std::uint8_t humidityScenario = 0;
};

class SimUnit {
public:
    using Report = std::vector<std::uint8_t>;

    SimUnit(Model model, std::string serialNumber);

    Model model() const { return model_; }
    const std::string& serialNumber() const { return serial_; }
    void setSerialNumber(std::string serial) { serial_ = std::move(serial); }
    static UnitParameters Defaults(Model model, const std::string& serialNumber);

    // Handles one output report (report ID 1 first; others are ignored) and returns the input
    // reports the unit sends back, each `inputLength` bytes, report ID first.
    std::vector<Report> Receive(const std::uint8_t* report, std::size_t size);

    UnitParameters& parameters() { return params_; }
    const UnitParameters& parameters() const { return params_; }
    bool setupMode() const { return setupMode_; }
    bool atMode() const { return atMode_; }
    bool wifiModuleOn() const { return wifiModuleOn_; }
    bool wifiConnected() const;
    bool masterConnected() const;

    // Filter run time in seconds; it advances with real time.
    std::uint32_t filterSeconds() const;
    void setFilterSeconds(std::uint32_t seconds);

    // Faults and scenery for tests.
    std::set<std::uint8_t> unanswered;      // read requests for these codes get no answer
    std::set<std::uint8_t> ignored;         // writes of these codes change nothing
    std::vector<std::string> accessPoints;  // lines of AT+CWLAP, in the module's format
    std::size_t inputLength = 65;

private:
    Report Answer(protocol::CommandCode code) const;
    void Write(protocol::CommandCode code, const std::vector<std::uint8_t>& value);
    void PassThrough(std::u16string_view line, std::vector<Report>& out) const;

    Model model_;
    std::string serial_;
    UnitParameters params_;
    bool setupMode_ = false;
    bool atMode_ = false;
    bool wifiModuleOn_ = true;
    std::u16string atLine_;  // an AT command line may come in several reports
    std::uint32_t filterBase_ = 0;
    std::chrono::steady_clock::time_point filterSince_;
};

}  // namespace quillo::sim
