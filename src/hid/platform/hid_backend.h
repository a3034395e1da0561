#pragma once

// The platform layer under the HID component: plain C++, no Qt. One implementation per system
// (platform/linux: hidraw + libudev, platform/windows: SetupAPI + HID.dll) and the simulated
// backend in sim/. The component (src/hid) owns all policy: the open rule, caching, readers,
// the hand-over to the main thread and the rescan logic.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillo::hid::platform {

// One present HID interface as the platform lists it.
struct InterfaceInfo {
    // Identity for as long as the interface stays attached (the role of a device-instance
    // handle). An interface that is unplugged and plugged back gets a new one, even when the
    // platform reuses its path.
    std::uint64_t id = 0;
    // Opens the interface (Linux: /dev/hidrawN; Windows: the device interface path, UTF-8).
    std::string path;
};

struct Attributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
};

// Report lengths in bytes as Windows' HID capabilities give them: the largest report of that
// type over all report IDs, plus one byte for the report ID (also when the device uses none);
// 0 when the device has no report of that type.
struct ReportLengths {
    std::uint16_t input = 0;
    std::uint16_t output = 0;
};

enum class Access {
    ReadWrite,  // reads and writes reports
    None,       // identification only (attributes, strings, capabilities); writes fail
};

enum class ReadStatus {
    Data,       // `bytes` bytes of one input report, report ID first
    Timeout,    // nothing arrived within the wait
    Cancelled,  // cancelRead() was called
    Gone,       // the interface has been unplugged; this handle will never read again
    Error,      // the read could not be started or failed; `error` holds the system code
};

struct ReadResult {
    ReadStatus status = ReadStatus::Error;
    std::size_t bytes = 0;
    std::uint32_t error = 0;
};

// Why a write failed. NotSent: nothing can have reached the device (the handle was closed or
// stale, or the device was gone before the write), so writing it again cannot make the device
// get it twice. Failed: some or all of it may have gone out (a short write, a transfer error).
enum class WriteFailure { None, NotSent, Failed };

// Handle::read's time-out that never expires.
inline constexpr int kNoTimeout = -1;

// An open interface. Every call but read(), waitReadable() and cancelRead() comes from the main
// thread.
class Handle {
public:
    Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    virtual ~Handle() = default;

    virtual Access access() const = 0;
    virtual bool attributes(Attributes& out) = 0;
    // The product string as the device reports it, UTF-16, as long as the platform returns it
    // (the component cuts it at the first NUL and at 254 units). false when there is none.
    virtual bool productString(std::u16string& out) = 0;
    virtual bool reportLengths(ReportLengths& out) = 0;
    // Writes one output report (byte 0 = report ID) and blocks until it is written or failed.
    virtual bool write(const std::uint8_t* data, std::size_t size, std::size_t& written,
                       WriteFailure& failure) = 0;
    bool write(const std::uint8_t* data, std::size_t size, std::size_t& written) {
        WriteFailure failure = WriteFailure::None;
        return write(data, size, written, failure);
    }

    // Waits at most timeoutMs (kNoTimeout: until a report, the device's removal or a
    // cancelRead()) for one input report and copies it into `buffer`, report ID
    // first; a device without report IDs gets a 0 byte in front, as on Windows. A report longer
    // than `size` is cut. Called by one reader thread at a time.
    virtual ReadResult read(std::uint8_t* buffer, std::size_t size, int timeoutMs) = 0;
    // Waits as read() does, but takes nothing: it returns Data (0 bytes) as soon as a read()
    // would not wait (a report is queued, the device is gone, an error is due), or Cancelled or
    // Timeout. A report stays where it is until read() takes it, so a reader can wait for the
    // device while the previous report is still being handled. Platforms that cannot wait
    // without reading return Data at once and leave the waiting to read().
    virtual ReadResult waitReadable(int /*timeoutMs*/) { return {ReadStatus::Data, 0, 0}; }
    // From any thread: wakes a read() that is waiting at once, and makes it and every later
    // read() on this handle return Cancelled without waiting.
    virtual void cancelRead() = 0;
};

class Backend {
public:
    Backend() = default;
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;
    virtual ~Backend() = default;

    // The present HID interfaces in a stable platform order; empty when the set is unavailable.
    virtual std::vector<InterfaceInfo> enumerate() = 0;
    // Opens an interface with the given access; nullptr on failure, with the system error code
    // in *error when error is not null. A handle with read and write access keeps every input
    // report that arrives once open() has returned for its reads, also those that come before
    // its first read (both systems queue a report only for the handles open when it arrives).
    virtual std::unique_ptr<Handle> open(const std::string& path, Access access,
                                         std::uint32_t* error = nullptr) = 0;

    // Device-change signal. The handler runs on the thread that runs the event loop: called
    // from dispatchChanges() (when changeDescriptor() is used) or by the backend itself (a
    // window procedure, the simulation's plug and unplug calls).
    virtual void setChangeHandler(std::function<void()> handler) = 0;
    // A descriptor that turns readable when change events are pending; the component watches
    // it on the main loop and then calls dispatchChanges(). -1 when there is none to watch.
    virtual int changeDescriptor() const { return -1; }
    virtual void dispatchChanges() {}
};

// The backend of the system the program runs on, or nullptr when its HID layer is unavailable.
std::unique_ptr<Backend> createSystemBackend();

}  // namespace quillo::hid::platform
