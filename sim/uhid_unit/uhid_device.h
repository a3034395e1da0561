#pragma once

// One HID device on /dev/uhid: the kernel makes a real hidraw node for it, udev sees it as it
// sees a unit on a USB port, and it disappears when the object is destroyed. A unit device
// answers through the simulated unit; an unrelated device never answers.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_options.h"
#include "sim/uhid_unit/uhid_descriptor.h"

namespace quillo::sim::uhid {

using Clock = std::chrono::steady_clock;

struct DeviceSetup {
    std::string serial;  // the HID unique id; names the device in commands and in the log
    std::string name;    // the HID name (a unit's product string)
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    DescriptorShape shape;
    std::optional<SimUnitOptions> unit;  // none: a device that is not a unit
    int answerLimit = -1;                // answers sent before it falls silent (-1: no limit)
    std::chrono::milliseconds flood{0};  // an unasked input report this often (0: none)
    // Falls silent on receiving a report that starts with these bytes (report ID first; empty:
    // never) and answers again silentFor later (0: stays silent), as a unit that stops
    // answering for a while; what it is asked meanwhile stays unanswered.
    std::vector<std::uint8_t> silentAt;
    std::chrono::milliseconds silentFor{0};
    // The device pulls itself out right after receiving a report that starts with these bytes
    // (report ID first; empty: never), as a cable pulled between two reports.
    std::vector<std::uint8_t> unplugAt;
};

class UhidDevice {
public:
    // Opens /dev/uhid and creates the device; throws std::runtime_error.
    explicit UhidDevice(DeviceSetup setup);
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;
    ~UhidDevice();  // destroys the device: the kernel unplugs it

    const std::string& serial() const { return setup_.serial; }
    int fd() const { return fd_; }

    // Handles the kernel's pending event (call when fd() is readable).
    void HandleEvent();
    // Sends the answers and flood reports that are due.
    void Pump();
    // When Pump() has work next; nullopt when nothing is scheduled.
    std::optional<Clock::time_point> NextWake() const;

    void setMuted(bool muted) { muted_ = muted; }
    // True once the device has received its unplugAt report: the owner destroys it.
    bool pulledOut() const { return pulledOut_; }
    void setFlood(std::chrono::milliseconds every);

private:
    void Output(const std::uint8_t* data, std::size_t size);
    // Past the answer limit, or within the silence silentAt began.
    bool Silent() const;
    void SendInput(const std::uint8_t* report, std::size_t size, bool log) const;

    DeviceSetup setup_;
    int fd_ = -1;
    std::unique_ptr<SimInterface> iface_;  // the unit's answers; null for a device that is not
    bool muted_ = false;
    int answers_ = 0;
    bool silent_ = false;            // silentAt was received
    Clock::time_point silentUntil_;  // and the silence lasts until then (with silentFor)
    bool pulledOut_ = false;
    Clock::time_point nextFlood_;
};

// Every line of the log: milliseconds since start, the device's serial, what happened and the
// report's bytes in hex when there is one. Standard output, flushed at once.
void LogLine(const std::string& serial, const char* what, const std::uint8_t* data = nullptr,
             std::size_t size = 0);

}  // namespace quillo::sim::uhid
