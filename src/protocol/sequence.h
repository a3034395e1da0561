#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "protocol/command_code.h"
#include "protocol/payload.h"
#include "protocol/report_device.h"

namespace quillo::protocol {

// One step of a command sequence: send a command, or wait (a blocking pause on the caller's
// thread, so that nothing else reaches the unit in between).
struct Step {
    enum class Kind { Send, Pause };

    Kind kind = Kind::Send;
    CommandCode code{};                  // Send only
    Payload payload;                     // Send only
    std::chrono::milliseconds pause{0};  // Pause only

    static Step send(CommandCode code, Payload payload) {
        return {Kind::Send, code, std::move(payload), {}};
    }
    static Step wait(std::chrono::milliseconds duration) { return {Kind::Pause, {}, {}, duration}; }

    friend bool operator==(const Step&, const Step&) = default;
};

using Sequence = std::vector<Step>;

using SleepFunction = std::function<void(std::chrono::milliseconds)>;

// Sends each step with SendCommand and waits with `sleep` for each pause. With no device the
// commands are dropped (as SendCommand does) but the pauses are still taken. A command that
// fails does not stop the sequence; the result says whether every command went out whole.
bool runSequence(ReportDevice* device, const Sequence& sequence, const SleepFunction& sleep);

}  // namespace quillo::protocol
