#include "hid/platform/linux/hidraw_node.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>

namespace quillo::hid::platform {
namespace {

using Clock = std::chrono::steady_clock;

// Errors after which the interface will never deliver again: hidraw answers EIO to reads and
// ENODEV to writes once the device is gone; a closed socket in tests gives ECONNRESET/EPIPE.
bool meansGone(int error) {
    return error == EIO || error == ENODEV || error == ENXIO || error == ECONNRESET ||
           error == EPIPE;
}

}  // namespace

HidrawNode::HidrawNode(int fd, bool numbered)
    : fd_(fd), wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), numbered_(numbered) {}

HidrawNode::~HidrawNode() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (wake_ >= 0) {
        ::close(wake_);
    }
}

bool HidrawNode::write(const std::uint8_t* data, std::size_t size, std::size_t& written) const {
    written = 0;
    if (size == 0 || data == nullptr) {
        errno = EINVAL;
        return false;
    }
    for (;;) {
        const ssize_t n = ::write(fd_, data, size);
        if (n >= 0) {
            written = static_cast<std::size_t>(n);
            return written == size;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

ReadResult HidrawNode::gone(std::uint32_t error) {
    gone_ = true;
    goneError_ = error;
    return {ReadStatus::Gone, 0, error};
}

ReadResult HidrawNode::read(std::uint8_t* buffer, std::size_t size, int timeoutMs) {
    if (cancelled_.load()) {
        return {ReadStatus::Cancelled, 0, 0};
    }
    if (gone_) {
        return {ReadStatus::Gone, 0, goneError_};
    }
    if (buffer == nullptr || size == 0) {
        return {ReadStatus::Error, 0, EINVAL};
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        short events = 0;
        const ReadResult waited = pollNode(timeoutMs < 0, deadline, events);
        if (waited.status != ReadStatus::Data) {
            return waited;
        }
        if ((events & POLLIN) == 0) {
            return gone(EIO);  // POLLERR, POLLHUP or POLLNVAL without input
        }
        // Reports queued before an unplug still drain; the unplug shows in read() after.
        const ReadResult result = readReady(buffer, size, (events & POLLHUP) != 0);
        if (result.status != ReadStatus::Timeout) {
            return result;
        }
        // Spurious wake-up (EAGAIN): wait for the rest of the time.
    }
}

ReadResult HidrawNode::waitReadable(int timeoutMs) {
    if (cancelled_.load()) {
        return {ReadStatus::Cancelled, 0, 0};
    }
    if (gone_) {
        return {ReadStatus::Data, 0, 0};  // read() reports it at once
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    short events = 0;
    return pollNode(timeoutMs < 0, deadline, events);
}

ReadResult HidrawNode::pollNode(bool forever, Clock::time_point deadline, short& events) {
    for (;;) {
        int waitMs = -1;
        if (!forever) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            waitMs = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        std::array<pollfd, 2> fds{{{fd_, POLLIN, 0}, {wake_, POLLIN, 0}}};
        const int ready = ::poll(fds.data(), fds.size(), waitMs);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {ReadStatus::Error, 0, static_cast<std::uint32_t>(errno)};
        }
        if (cancelled_.load() || (fds[1].revents & POLLIN) != 0) {
            return {ReadStatus::Cancelled, 0, 0};
        }
        events = fds[0].revents;
        if ((events & (POLLIN | POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return {ReadStatus::Data, 0, 0};
        }
        if (ready == 0) {
            return {ReadStatus::Timeout, 0, 0};
        }
    }
}

ReadResult HidrawNode::readReady(std::uint8_t* buffer, std::size_t size, bool hangup) {
    // Devices without report IDs: the report goes behind a 0 byte, so the caller always finds
    // the report ID first. A report longer than the buffer is cut, as hidraw itself does.
    const std::size_t offset = numbered_ ? 0 : 1;
    std::array<std::uint8_t, 1> discard{};
    std::uint8_t* target = size > offset ? buffer + offset : discard.data();
    const std::size_t room = size > offset ? size - offset : discard.size();
    ssize_t n = 0;
    do {
        n = ::read(fd_, target, room);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        const int error = errno;
        if (error == EAGAIN) {
            return {ReadStatus::Timeout, 0, 0};
        }
        if (meansGone(error)) {
            return gone(static_cast<std::uint32_t>(error));
        }
        return {ReadStatus::Error, 0, static_cast<std::uint32_t>(error)};
    }
    if (n == 0) {
        // hidraw never returns an empty report; a packet socket does so at end of stream.
        return hangup ? gone(EIO) : ReadResult{ReadStatus::Data, 0, 0};
    }
    if (offset != 0) {
        buffer[0] = 0;
    }
    const std::size_t copied = size > offset ? static_cast<std::size_t>(n) : 0;
    return {ReadStatus::Data, copied + offset, 0};
}

void HidrawNode::cancelRead() {
    cancelled_.store(true);
    const std::uint64_t one = 1;
    // The counter stays non-zero: nobody drains it.
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
}

}  // namespace quillo::hid::platform
