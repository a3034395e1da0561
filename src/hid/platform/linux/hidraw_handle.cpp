#include "hid/platform/linux/hidraw_handle.h"

#include <cerrno>
#include <utility>

namespace quillo::hid::platform {

HidrawHandle::HidrawHandle(HidrawInfo info, std::unique_ptr<HidrawNode> node)
    : info_(std::move(info)),
      summary_(summarizeReportDescriptor(info_.descriptor)),
      node_(std::move(node)) {}

Access HidrawHandle::access() const {
    return node_ ? Access::ReadWrite : Access::None;
}

bool HidrawHandle::attributes(Attributes& out) {
    if (!info_.hasAttributes) {
        return false;
    }
    out = info_.attributes;
    return true;
}

bool HidrawHandle::productString(std::u16string& out) {
    if (!info_.hasProduct) {
        return false;
    }
    out = info_.product;
    return true;
}

bool HidrawHandle::reportLengths(ReportLengths& out) {
    if (!info_.hasDescriptor) {
        return false;
    }
    out = summary_.lengths;
    return true;
}

bool HidrawHandle::write(const std::uint8_t* data, std::size_t size, std::size_t& written,
                         WriteFailure& failure) {
    written = 0;
    failure = WriteFailure::None;
    if (!node_) {
        errno = EBADF;
        failure = WriteFailure::NotSent;
        return false;
    }
    if (node_->write(data, size, written)) {
        return true;
    }
    // hidraw refuses a write to a node whose device is gone before it sends anything; any other
    // error, or a short write, may have reached the device.
    const int error = errno;
    failure = written == 0 && (error == ENODEV || error == EBADF || error == ENXIO)
                  ? WriteFailure::NotSent
                  : WriteFailure::Failed;
    return false;
}

ReadResult HidrawHandle::read(std::uint8_t* buffer, std::size_t size, int timeoutMs) {
    if (!node_) {
        return cancelled_.load() ? ReadResult{ReadStatus::Cancelled, 0, 0}
                                 : ReadResult{ReadStatus::Error, 0, EBADF};
    }
    return node_->read(buffer, size, timeoutMs);
}

ReadResult HidrawHandle::waitReadable(int timeoutMs) {
    // Without a node read() fails at once.
    return node_ ? node_->waitReadable(timeoutMs) : ReadResult{ReadStatus::Data, 0, 0};
}

void HidrawHandle::cancelRead() {
    cancelled_.store(true);
    if (node_) {
        node_->cancelRead();
    }
}

}  // namespace quillo::hid::platform
