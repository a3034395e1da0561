#include "hid/hid_device_read_thread.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "hid/hand_over_queue.h"
#include "hid/hid_device.h"

namespace quillo::hid {

namespace {
// Error reported when no read can be started because the read handle is closed or could not be
// opened (the value Windows gives for an invalid handle).
constexpr std::uint32_t kErrorInvalidHandle = 6;
}  // namespace

// Shared by the reader thread and the main thread; outlives both sides through shared_ptr, so a
// hand-over posted to the main thread stays safe after the device is gone.
struct HidDeviceReadThread::State {
    enum class Slot { Empty, Pending, Serving };

    std::mutex mutex;
    std::condition_variable cv;
    bool stop = false;
    bool handleClosed = false;
    bool handleRequested = false;  // the reader waits for the main thread to open a handle
    bool deviceGone = false;       // unplugged or checked in: no handle will come any more
    Slot slot = Slot::Empty;
    bool slotIsError = false;
    std::size_t bytes = 0;
    std::chrono::steady_clock::time_point arrival;  // when the report in the slot was readable
    std::uint32_t error = 0;
    std::vector<std::uint8_t> report;  // allocated once, reused for every read
    std::shared_ptr<platform::Handle> handle;
    HidDevice* device = nullptr;  // main thread only; cleared by Stop

    // Main thread: runs the handler for the report in the slot and releases the reader.
    static void Serve(const std::shared_ptr<State>& st, const HidDataEvent* dataHandler) {
        bool isError = false;
        {
            std::lock_guard lock(st->mutex);
            if (st->slot != Slot::Pending || st->device == nullptr) {
                return;
            }
            st->slot = Slot::Serving;
            isError = st->slotIsError;
        }
        HidDevice* dev = st->device;
        if (isError) {
            const HidDataErrorEvent handler = dev->OnDataError();
            if (handler) {
                handler(dev, st->error);
            }
        } else {
            // A copy: the handler may assign another OnData, or free the device, while it runs.
            const HidDataEvent handler = dataHandler != nullptr ? *dataHandler : dev->OnData();
            if (handler) {
                dev->reportArrival_ = st->arrival;
                handler(dev, st->report[0], st->report.data() + 1,
                        static_cast<std::uint16_t>(st->bytes - 1));
                // The handler may have freed the device; then Stop has cleared it here.
                if (st->device != nullptr) {
                    st->device->reportArrival_.reset();
                }
            }
        }
        {
            std::lock_guard lock(st->mutex);
            st->slot = Slot::Empty;
        }
        st->cv.notify_all();
    }

    // Main thread: opens a read handle for the waiting reader (opens happen on this thread only)
    // and sizes its buffer to the input length known now.
    static void ProvideHandle(const std::shared_ptr<State>& st) {
        HidDevice* dev = nullptr;
        {
            std::lock_guard lock(st->mutex);
            if (!st->handleRequested || st->device == nullptr) {
                return;
            }
            dev = st->device;
        }
        std::size_t length = 0;
        std::shared_ptr<platform::Handle> fresh = dev->OpenReadHandle(length);
        const bool gone = !dev->IsPluggedIn() || !dev->IsCheckedOut();
        // The handle given up on is released here, on the main thread, not under the reader.
        std::shared_ptr<platform::Handle> old;
        {
            std::lock_guard lock(st->mutex);
            old = std::move(st->handle);
            st->handle = std::move(fresh);
            st->handleClosed = st->handle == nullptr;
            if (st->handle) {
                st->report.assign(length, 0);
            }
            st->deviceGone = gone;
            st->handleRequested = false;
        }
        st->cv.notify_all();
    }
};

HidDeviceReadThread::HidDeviceReadThread(HidDevice* device,
                                         std::shared_ptr<platform::Handle> handle,
                                         std::size_t reportLength, int threadSleepTime,
                                         int pollingDelayTime, bool reportErrors)
    : state_(std::make_shared<State>()),
      threadSleepTime_(threadSleepTime),
      pollingDelayTime_(pollingDelayTime),
      reportErrors_(reportErrors),
      queue_(HandOverQueue::Instance()) {
    state_->device = device;
    state_->handle = std::move(handle);
    state_->report.assign(reportLength, 0);
    thread_ = std::thread([this] { Run(); });
}

HidDeviceReadThread::~HidDeviceReadThread() {
    Stop(HidDataEvent());
}

void HidDeviceReadThread::SetThreadSleepTime(int ms) {
    threadSleepTime_ = ms;
}
void HidDeviceReadThread::SetPollingDelayTime(int ms) {
    pollingDelayTime_ = ms;
}
void HidDeviceReadThread::SetReportErrors(bool on) {
    reportErrors_ = on;
}

void HidDeviceReadThread::CloseHandle() {
    std::shared_ptr<platform::Handle> handle;
    {
        std::lock_guard lock(state_->mutex);
        state_->handleClosed = true;
        handle = state_->handle;
    }
    // The handle itself is destroyed after the reader has ended (Stop), on the main thread.
    if (handle) {
        handle->cancelRead();
    }
    state_->cv.notify_all();
}

void HidDeviceReadThread::Stop(const HidDataEvent& deliverTo) {
    if (!thread_.joinable()) {
        return;
    }
    std::shared_ptr<platform::Handle> handle;
    {
        std::lock_guard lock(state_->mutex);
        state_->stop = true;
        handle = state_->handle;
    }
    state_->cv.notify_all();
    if (handle) {
        handle->cancelRead();
    }
    thread_.join();
    // A report the reader received but could not hand over any more goes out now; a pending
    // error notice is dropped.
    bool pendingData = false;
    {
        std::lock_guard lock(state_->mutex);
        pendingData = state_->slot == State::Slot::Pending && !state_->slotIsError;
        if (state_->slot == State::Slot::Pending && state_->slotIsError) {
            state_->slot = State::Slot::Empty;
        }
    }
    if (pendingData) {
        State::Serve(state_, &deliverTo);
    }
    std::lock_guard lock(state_->mutex);
    state_->device = nullptr;
    state_->handle.reset();
}

std::shared_ptr<platform::Handle> HidDeviceReadThread::UsableHandle() {
    std::lock_guard lock(state_->mutex);
    return state_->handleClosed ? nullptr : state_->handle;
}

void HidDeviceReadThread::GiveUpHandle() {
    std::lock_guard lock(state_->mutex);
    state_->handleClosed = true;
}

// Asks the main thread for a new read handle and waits until it has answered; false when a stop
// came first.
bool HidDeviceReadThread::RequestHandle() {
    // The fresh handle resizes the report buffer, which a handler may still be reading.
    if (!WaitUntilServed()) {
        return false;
    }
    {
        std::lock_guard lock(state_->mutex);
        if (state_->stop) {
            return false;
        }
        state_->handleRequested = true;
    }
    queue_->Post([st = state_] { State::ProvideHandle(st); });
    std::unique_lock lock(state_->mutex);
    state_->cv.wait(lock, [this] { return state_->stop || !state_->handleRequested; });
    return !state_->stop;
}

// Records a failed pass and hands the error to the main thread when errors are reported; false
// when a stop came first.
bool HidDeviceReadThread::ReportError(std::uint32_t error) {
    err_ = error;
    return !reportErrors_.load() || HandOver(true, error);
}

bool HidDeviceReadThread::DeviceGone() {
    std::lock_guard lock(state_->mutex);
    return state_->deviceGone;
}

bool HidDeviceReadThread::StopRequested() {
    std::lock_guard lock(state_->mutex);
    return state_->stop;
}

// Waits `ms` milliseconds unless a stop comes first; false when stopped.
bool HidDeviceReadThread::Pause(int ms) {
    std::unique_lock lock(state_->mutex);
    state_->cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return state_->stop; });
    return !state_->stop;
}

// Waits until the main thread has served the last hand-over; false when a stop came first.
bool HidDeviceReadThread::WaitUntilServed() {
    std::unique_lock lock(state_->mutex);
    state_->cv.wait(lock, [this] { return state_->stop || state_->slot == State::Slot::Empty; });
    return !state_->stop;
}

// Hands the report in the buffer (or an error) to the main thread once the last hand-over has
// been served, and returns without waiting for this one: the reader goes back to waiting for
// the device meanwhile. A report's wait came before it was read into the buffer, and it is not
// repeated: a report read must stay pending for the stopper even when a stop came since. False
// when a stop came first (the stopper then delivers a received report).
bool HidDeviceReadThread::HandOver(bool isError, std::uint32_t error) {
    if (isError && !WaitUntilServed()) {
        return false;
    }
    {
        std::lock_guard lock(state_->mutex);
        state_->slot = State::Slot::Pending;
        state_->slotIsError = isError;
        state_->error = error;
        if (state_->stop) {
            // Too late to post: the stopper delivers a received report after joining.
            if (isError) {
                state_->slot = State::Slot::Empty;
            }
            return false;
        }
    }
    queue_->Post([st = state_] { State::Serve(st, nullptr); });
    return true;
}

void HidDeviceReadThread::Run() {
    // Passes in a row whose read ended without data (0 bytes, an error, a closed handle).
    int failedInARow = 0;
    for (;;) {
        if (StopRequested()) {
            return;
        }
        std::shared_ptr<platform::Handle> handle = UsableHandle();
        if (!handle && !DeviceGone()) {
            if (!RequestHandle()) {
                return;
            }
            handle = UsableHandle();
        }
        if (!handle) {
            // The read cannot be started (no handle, or the device is unplugged or checked in,
            // which forbids reopening): every such pass is reported and followed by a pause,
            // until the stop comes.
            if (!ReportError(kErrorInvalidHandle) || !Pause(threadSleepTime_.load())) {
                return;
            }
            continue;
        }
        // No time-out: the wait ends with a report, with the device gone, or when Stop() or
        // CloseHandle() cancels it, so an idle reader never wakes. It runs while the last
        // report may still be in its handler; the next one stays with the device until that
        // handler has returned, so a report costs the reader one wake-up, not two.
        platform::ReadResult result = handle->waitReadable(platform::kNoTimeout);
        // Taken before the wait for the last hand-over: a report that came while the main
        // thread was busy keeps the time it came.
        const auto readable = std::chrono::steady_clock::now();
        if (result.status == platform::ReadStatus::Data) {
            if (!WaitUntilServed()) {
                return;
            }
            // Sized with the handle: only this thread uses it between hand-overs.
            std::vector<std::uint8_t>& report = state_->report;
            std::fill(report.begin(), report.end(), std::uint8_t{0});
            result = handle->read(report.data(), report.size(), platform::kNoTimeout);
        }
        // A report that was read is handed over even when a stop came meanwhile: it must not be
        // lost.
        if (result.status == platform::ReadStatus::Data && result.bytes > 0) {
            {
                std::lock_guard lock(state_->mutex);
                state_->bytes = result.bytes;
                state_->arrival = readable;
            }
            if (!HandOver(false)) {
                return;
            }
        } else if (StopRequested()) {
            return;
        }

        bool failed = false;
        switch (result.status) {
            case platform::ReadStatus::Data:
                failed = result.bytes == 0;
                break;
            case platform::ReadStatus::Gone:
            case platform::ReadStatus::Error:
                // The handle is given up: the next pass asks for a fresh one.
                GiveUpHandle();
                if (!ReportError(result.error)) {
                    return;
                }
                failed = true;
                break;
            case platform::ReadStatus::Cancelled:
                // Closed under the reader (unplugging, CloseFileEx): a cancelled handle never
                // reads again; the next pass asks for a fresh one.
                GiveUpHandle();
                failed = true;
                break;
            case platform::ReadStatus::Timeout:
                break;
        }
        failedInARow = failed ? failedInARow + 1 : 0;
        // The polling pause follows every read. Failures that repeat with no polling pause get
        // ThreadSleepTime instead, so a broken device never makes the reader spin.
        int delay = pollingDelayTime_.load();
        if (delay == 0 && failedInARow > 1) {
            delay = threadSleepTime_.load();
        }
        if (delay > 0 && !Pause(delay)) {
            return;
        }
    }
}

}  // namespace quillo::hid
