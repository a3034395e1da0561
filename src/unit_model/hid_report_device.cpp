#include "unit_model/hid_report_device.h"

#include <cstdint>

#include "hid/hid_device.h"

namespace quillo::model {

std::size_t HidReportDevice::outputReportLength() const {
    return device_.Caps().OutputReportByteLength;
}

bool HidReportDevice::writeReport(const std::uint8_t* report, std::size_t size,
                                  std::size_t& written) {
    std::uint32_t bytesWritten = 0;
    const bool ok = device_.WriteFile(report, static_cast<std::uint32_t>(size), bytesWritten);
    written = bytesWritten;
    return ok;
}

}  // namespace quillo::model
