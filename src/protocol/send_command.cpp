#include "protocol/send_command.h"

#include "protocol/framing.h"

namespace quillo::protocol {

void SendCommand(ReportDevice* device, CommandCode code, std::u16string_view payload) {
    if (device == nullptr) {
        return;
    }
    for (const OutputReport& report : frameCommand(code, payload, device->outputReportLength())) {
        std::size_t written = 0;
        // The result is deliberately unused: see the header.
        (void)device->writeReport(report.data(), report.size(), written);
    }
}

}  // namespace quillo::protocol
