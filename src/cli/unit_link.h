#pragma once

// Talking to one checked-out unit from a command line: sends with real pauses (there is no
// window to keep alive) and waits for answers on an event loop, never longer than the time-out
// and never past an interruption.

#include <QString>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "cli/records.h"
#include "cli/unit_state.h"
#include "protocol/command_code.h"
#include "protocol/sequence.h"

class QEventLoop;

namespace quillo::hid {
class HidDevice;
}

namespace quillo::cli {

class UnitLink {
public:
    using Report = std::vector<std::uint8_t>;  // as delivered: code, length, value

    UnitLink(hid::HidDevice& device, std::chrono::milliseconds timeout);
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;
    ~UnitLink();

    // Sends the steps; pauses are slept. Not interruptible: a group of writes is never cut.
    // False when a command did not go out whole (the later ones were still sent).
    [[nodiscard]] bool Run(const protocol::Sequence& steps);
    // Asks for one code and waits for its answer; std::nullopt after the time-out, an
    // interruption or an unplug.
    std::optional<Report> Ask(protocol::CommandCode code);
    // Asks for the read chain's codes one after the other as the window does; the name of the
    // first code that went unanswered in `missing`.
    std::optional<UnitValues> ReadSettings(protocol::CommandCode& missing);
    // The window's status poll and its three answers; the first code unanswered in `missing`.
    std::optional<UnitStates> States(protocol::CommandCode& missing);
    // Hands every report that arrives to `onReport` until `duration` has passed, `onReport`
    // returns false, an interruption or an unplug.
    void Listen(std::chrono::milliseconds duration,
                const std::function<bool(const Report&)>& onReport);

    std::chrono::milliseconds timeout() const { return timeout_; }
    // Whether the last question went out whole; and the device's output report length, for
    // saying why one did not.
    bool lastRequestWentOut() const { return lastRequestWentOut_; }
    std::size_t outputReportLength() const;
    bool pluggedIn() const;

private:
    // Runs the event loop until `done` holds, `limit` has passed, an interruption or the unit's
    // unplugging.
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    hid::HidDevice& device_;
    std::chrono::milliseconds timeout_;
    std::deque<Report> inbox_;
    QEventLoop* waiting_ = nullptr;
    bool lastRequestWentOut_ = true;
};

// The name a person knows a code by ("Wi-Fi channel"), for messages.
QString ParameterName(protocol::CommandCode code);

}  // namespace quillo::cli
