#pragma once

#include "protocol/report_device.h"

namespace quillo::hid {
class HidDevice;
}

namespace quillo::model {

// Lets the protocol's SendCommand write through a checked-out HID device: the output report
// length comes from the device's capabilities on every call, the writes are synchronous.
class HidReportDevice final : public protocol::ReportDevice {
public:
    explicit HidReportDevice(hid::HidDevice& device) : device_(device) {}

    std::size_t outputReportLength() const override;
    bool writeReport(const std::uint8_t* report, std::size_t size, std::size_t& written) override;

private:
    hid::HidDevice& device_;
};

}  // namespace quillo::model
