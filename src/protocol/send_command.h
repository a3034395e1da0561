#pragma once

#include <cstddef>
#include <string_view>

#include "protocol/command_code.h"
#include "protocol/report_device.h"

namespace quillo::protocol {

// How many of a command's reports were written whole.
struct SendResult {
    std::size_t reports = 0;
    std::size_t written = 0;

    // Every report went out: a request the unit will answer.
    bool whole() const { return reports > 0 && written == reports; }
    // Some of it reached the unit: a write that may have changed its value.
    bool reached() const { return written > 0; }
};

// Frames (code, payload) for the device's current output report length and writes the reports
// one after the other, without pauses. With no device nothing is written. Failed and short
// writes do not stop the command, later reports still go out: the unit gives no acknowledgement
// to act on and the tool never retries. The result says what went out.
SendResult SendCommand(ReportDevice* device, CommandCode code, std::u16string_view payload);

}  // namespace quillo::protocol
