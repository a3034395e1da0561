#pragma once

// The simulated ventilation unit: its parameters, its answers to read requests and what it does
// with writes, AT pass-through included. Plain C++; the interface that carries it is in
// sim_backend.h.

#include <array>
#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace quillo::sim {

enum class Model {
    Solvi,  // the single unit, product string "Zorvat"
    Pargo,  // the paired unit, product string "Zorvat Bix"
};

std::u16string ProductString(Model model);

using Address = std::array<std::uint8_t, 4>;

struct UnitParameters {
    std::uint8_t deviceMode = 1;      // 1 master, 0 slave
    std::uint8_t connectionType = 2;  // 1 with router, 2 without
    std::string wifiName;
    std::string wifiPassword;
    std::uint8_t slaveNumber = 0;
    std::uint8_t slaveIpMode = 1;  // 1 DHCP, 0 static
    Address slaveIp{};
    Address masterIp{};
    std::uint8_t channel = 6;
    std::uint8_t security = '3';  // '0', '2', '3' or '4'
    Address gateway{};
    std::uint8_t offAvailable = 1;
    std::uint8_t direction = 0;
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
    std::vector<std::string> accessPoints;  // lines of AT+CWLAP, in the module's format
    std::size_t inputLength = 65;

private:
    Report Answer(std::uint8_t code) const;
    Report Frame(std::uint8_t code, const std::string& value, std::uint8_t lengthByte) const;
    void Write(std::uint8_t code, const std::uint8_t* v, std::size_t n);
    void PassThrough(const std::string& line, std::vector<Report>& out) const;

    Model model_;
    std::string serial_;
    UnitParameters params_;
    bool setupMode_ = false;
    bool atMode_ = false;
    bool wifiModuleOn_ = true;
    std::string atLine_;  // an AT command line may come in several reports
    std::uint32_t filterBase_ = 0;
    std::chrono::steady_clock::time_point filterSince_;
};

}  // namespace quillo::sim
