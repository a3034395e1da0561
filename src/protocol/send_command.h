#pragma once

#include <string_view>

#include "protocol/command_code.h"
#include "protocol/report_device.h"

namespace quillo::protocol {

// Frames (code, payload) for the device's current output report length and writes the reports
// one after the other, without pauses. With no device nothing is written. Failed and short
// writes are ignored, later reports still go out: the unit gives no acknowledgement to act on
// and the tool never retries.
void SendCommand(ReportDevice* device, CommandCode code, std::u16string_view payload);

}  // namespace quillo::protocol
