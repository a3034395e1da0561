#include "protocol/send_command.h"

#include "protocol/framing.h"

namespace quillo::protocol {

SendResult SendCommand(ReportDevice* device, CommandCode code, std::u16string_view payload) {
    SendResult result;
    if (device == nullptr) {
        return result;
    }
    for (const OutputReport& report : frameCommand(code, payload, device->outputReportLength())) {
        std::size_t written = 0;
        ++result.reports;
        if (device->writeReport(report.data(), report.size(), written) &&
            written == report.size()) {
            ++result.written;
        }
    }
    return result;
}

}  // namespace quillo::protocol
