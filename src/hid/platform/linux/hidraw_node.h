#pragma once

// Report I/O on an open hidraw file descriptor, with packet semantics: one write() is one
// output report, one read() one input report. Kept apart from udev so that it can run over any
// packet descriptor (tests use a SOCK_SEQPACKET pair).

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "hid/platform/hid_backend.h"

namespace quillo::hid::platform {

class HidrawNode {
public:
    // Takes ownership of fd. `numbered`: the device sends its report ID as the first byte of
    // each report; otherwise read() puts a 0 byte in front, as Windows does.
    HidrawNode(int fd, bool numbered);
    HidrawNode(const HidrawNode&) = delete;
    HidrawNode& operator=(const HidrawNode&) = delete;
    ~HidrawNode();

    // False when the wake-up descriptor could not be made; the node is then unusable.
    bool valid() const { return fd_ >= 0 && wake_ >= 0; }

    // One output report, byte 0 = report ID (0 for devices without IDs; the driver strips it).
    // Blocks until the driver has sent it or failed. On failure, errno holds the reason.
    bool write(const std::uint8_t* data, std::size_t size, std::size_t& written) const;

    // Waits at most timeoutMs (negative: without limit) for one input report.
    ReadResult read(std::uint8_t* buffer, std::size_t size, int timeoutMs);
    // Waits as read() does without reading: Data (0 bytes) once a read() would not wait.
    ReadResult waitReadable(int timeoutMs);

    // Any thread: wakes a waiting read() and makes every later one return Cancelled at once.
    void cancelRead();

private:
    ReadResult readReady(std::uint8_t* buffer, std::size_t size, bool hangup);
    ReadResult gone(std::uint32_t error);
    // Polls the node and the wake-up descriptor until the deadline (or without one): Data with
    // the node's `events` when it has any, else Cancelled, Timeout or Error.
    ReadResult pollNode(bool forever, std::chrono::steady_clock::time_point deadline,
                        short& events);

    int fd_ = -1;
    int wake_ = -1;  // eventfd, left readable once cancelled, so every later poll returns at once
    bool numbered_ = false;
    std::atomic<bool> cancelled_{false};
    // Set by the reader thread only; after unplug the node is never polled again, so a reader
    // that keeps calling read() cannot spin on POLLHUP.
    bool gone_ = false;
    std::uint32_t goneError_ = 0;
};

}  // namespace quillo::hid::platform
