#pragma once

#include <cstddef>
#include <cstdint>

namespace quillo::protocol {

// The unit as the protocol sees it: a place to write output reports. The HID component's
// device implements it; tests and the simulated unit record what is written.
class ReportDevice {
public:
    ReportDevice() = default;
    ReportDevice(const ReportDevice&) = delete;
    ReportDevice& operator=(const ReportDevice&) = delete;
    virtual ~ReportDevice() = default;

    // Output report length in bytes, report ID included (the HID capabilities' value); 0 when
    // it could not be read.
    virtual std::size_t outputReportLength() const = 0;
    // Writes one whole report, report ID first. Returns false on failure; `written` tells how
    // many bytes went out.
    virtual bool writeReport(const std::uint8_t* data, std::size_t size, std::size_t& written) = 0;
};

}  // namespace quillo::protocol
