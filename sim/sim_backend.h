#pragma once

// An in-process HID backend with virtual interfaces: simulated units and unrelated HID devices
// that tests (or QUILLO_SIMULATE) plug and unplug at run time, with faults on demand and a
// record of every report written. Plain C++.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "hid/platform/hid_backend.h"
#include "sim/sim_unit.h"

namespace quillo::sim {

namespace platform = quillo::hid::platform;

struct Faults {
    bool refuseReadWrite = false;              // opening with read and write access fails
    bool refuseNoAccess = false;               // opening without access fails
    bool noAttributes = false;                 // the attributes cannot be read
    bool noProductString = false;              // the product string cannot be read
    bool noReportLengths = false;              // the capabilities cannot be read
    int zeroLengthReads = 0;                   // the next reads complete with 0 bytes
    std::chrono::milliseconds answerDelay{0};  // a unit's answers arrive this much later
    // Counted faults: each hits that many times, then the interface behaves again.
    int refusedReadWriteOpens = 0;  // the next opens with read and write access fail
    int unreadableLengths = 0;      // the next reads of the capabilities fail
    int readErrors = 0;             // the next reads fail with an I/O error
    int writeErrors = 0;            // the next writes fail before anything is sent
    // The next writes reach the unit but report a failure, as a transfer error after the report
    // went out does.
    int unconfirmedWrites = 0;
    // Every `garbageEvery`-th answer of the unit is replaced by bytes of no meaning (0: never).
    int garbageEvery = 0;
    // A scan line nobody asked for arrives this often (0: never).
    std::chrono::milliseconds strayLineEvery{0};
    // Every write of a report with one of these codes fails before anything is sent.
    std::set<std::uint8_t> unwritableCodes{};
};

// One virtual HID interface. Tests reach it through SimBackend and use it from the main thread;
// the reader thread of the component only reads from it through a handle.
class SimInterface {
public:
    SimInterface(std::string path, std::uint64_t id, platform::Attributes attrs,
                 std::u16string productString, std::unique_ptr<SimUnit> unit);

    const std::string& path() const { return path_; }
    std::uint64_t id() const { return id_; }
    SimUnit* unit() { return unit_.get(); }  // nullptr for an unrelated device

    // Change these only while no handle of the interface is in use by a reader.
    platform::Attributes attributes;
    std::u16string product;
    platform::ReportLengths reportLengths{65, 65};

    // Faults are shared with the reader thread, hence the copies under the lock.
    Faults faults() const;
    void setFaults(const Faults& faults);

    bool pluggedIn() const;
    // Every report written successfully, in order, as written.
    std::vector<std::vector<std::uint8_t>> writes() const;
    void clearWrites();
    // Queues an input report (report ID first) as if the device had sent it.
    void send(std::vector<std::uint8_t> report,
              std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // Number of read() calls waiting right now (to unplug during a pending read, for example).
    int waitingReads() const;
    // How often a read began to wait, in all: a reader that wakes on a timer counts every slice.
    int readWaits() const;
    // Input reports queued and not yet read.
    int queuedReports() const;

    // Used by SimHandle and SimBackend.
    bool takeRefusedOpen(platform::Access access);
    bool takeUnreadableLengths();
    bool write(const std::uint8_t* data, std::size_t size, platform::WriteFailure& failure);
    platform::ReadResult read(std::uint8_t* buffer, std::size_t size, int timeoutMs,
                              const bool& cancelled);
    platform::ReadResult waitReadable(int timeoutMs, const bool& cancelled);
    void cancel(bool& cancelled);
    void unplug();

private:
    void Garble(std::vector<std::uint8_t>& answer);
    std::vector<std::uint8_t> StrayLine() const;
    // Waits under `lock` until a read would not wait: Data (0 bytes), Cancelled or Timeout.
    platform::ReadResult WaitReadable(std::unique_lock<std::mutex>& lock, int timeoutMs,
                                      const bool& cancelled);

    struct Pending {
        std::chrono::steady_clock::time_point due;
        std::vector<std::uint8_t> bytes;
    };

    std::string path_;
    std::uint64_t id_;
    std::unique_ptr<SimUnit> unit_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool pluggedIn_ = true;
    int waitingReads_ = 0;
    int readWaits_ = 0;
    Faults faults_;
    std::deque<Pending> input_;
    std::chrono::steady_clock::time_point nextStray_;
    std::uint32_t answers_ = 0;         // answers sent, to place the garbage
    std::uint32_t noise_ = 0x2545F491;  // state of the garbage bytes, the same in every run
    std::vector<std::vector<std::uint8_t>> writes_;
};

class SimBackend : public platform::Backend {
public:
    SimBackend() = default;

    std::vector<platform::InterfaceInfo> enumerate() override;
    std::unique_ptr<platform::Handle> open(const std::string& path, platform::Access access,
                                           std::uint32_t* error = nullptr) override;
    void setChangeHandler(std::function<void()> handler) override;

    // Plugging and unplugging raise the change handler at once (main thread) unless `notify`
    // is false.
    SimInterface& plugUnit(Model model, bool notify = true);
    SimInterface& plugDevice(std::uint16_t vendorId, std::uint16_t productId,
                             std::u16string product, bool notify = true);
    void unplug(const std::string& path, bool notify = true);
    void raiseChange();

    // The present interfaces in plug order, and look-up by path (present ones only).
    int count() const;
    SimInterface& interface(int index);
    SimInterface* find(const std::string& path);

private:
    SimInterface& add(std::shared_ptr<SimInterface> iface, bool notify);

    std::vector<std::shared_ptr<SimInterface>> present_;
    std::function<void()> changeHandler_;
    std::uint64_t nextId_ = 1;
    int nextPath_ = 0;
};

}  // namespace quillo::sim
