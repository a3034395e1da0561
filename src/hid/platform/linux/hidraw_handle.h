#pragma once

// The Handle of one hidraw interface. Identification comes from udev and sysfs, so it works
// without access to the node; report I/O needs the node opened read-write.

#include <atomic>
#include <memory>

#include "hid/platform/hid_backend.h"
#include "hid/platform/linux/hidraw_info.h"
#include "hid/platform/linux/hidraw_node.h"
#include "hid/platform/linux/report_descriptor.h"

namespace quillo::hid::platform {

class HidrawHandle final : public Handle {
public:
    // node == nullptr: an identification-only handle (Access::None); its reads and writes fail.
    HidrawHandle(HidrawInfo info, std::unique_ptr<HidrawNode> node);

    Access access() const override;
    bool attributes(Attributes& out) override;
    bool productString(std::u16string& out) override;
    bool reportLengths(ReportLengths& out) override;
    using Handle::write;
    bool write(const std::uint8_t* data, std::size_t size, std::size_t& written,
               WriteFailure& failure) override;
    ReadResult read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override;
    ReadResult waitReadable(int timeoutMs) override;
    void cancelRead() override;

private:
    HidrawInfo info_;
    DescriptorSummary summary_;
    std::unique_ptr<HidrawNode> node_;
    std::atomic<bool> cancelled_{false};  // for handles without a node
};

}  // namespace quillo::hid::platform
