#pragma once

// The reader of one checked-out device. It waits for input reports on its own thread and hands
// each one to the main thread; it takes the next report from the device only after the handler
// has returned, so at most one report per device is in flight and handlers need no locks.
//
// The hand-over is a single slot guarded by a mutex: the reader fills it, posts a queued call to
// the main thread and goes back to waiting for the device. When the device has the next report,
// the reader waits until the slot is served (usually long done) or a stop is requested. A stop
// (main thread only) never waits for a hand-over: it wakes the reader, joins it and then serves
// what the reader had received but not yet handed over. So stopping from inside the device's own
// handler or from a nested event loop cannot deadlock, and no report is lost.

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "hid/hid_types.h"

namespace quillo::hid {

class HandOverQueue;

class HidDeviceReadThread {
public:
    // `handle` is the device's read handle, or nullptr when it could not be opened yet. Without
    // a usable handle (none, closed, or given up after an error) a pass asks the main thread for
    // a fresh one with the input length known then; while none comes, the pass reports the
    // error and the reader pauses ThreadSleepTime before the next. A read waits without a
    // time-out; after it the reader pauses PollingDelayTime, or ThreadSleepTime when failed
    // reads repeat without a polling pause.
    HidDeviceReadThread(HidDevice* device, std::shared_ptr<platform::Handle> handle,
                        std::size_t reportLength, int threadSleepTime, int pollingDelayTime,
                        bool reportErrors);
    HidDeviceReadThread(const HidDeviceReadThread&) = delete;
    HidDeviceReadThread& operator=(const HidDeviceReadThread&) = delete;
    ~HidDeviceReadThread();

    void SetThreadSleepTime(int ms);
    void SetPollingDelayTime(int ms);
    // Read errors are handed over only while the device has an OnDataError handler.
    void SetReportErrors(bool on);

    // The device's read handle was closed (unplugging): the pending read ends without data and
    // no further read can be started.
    void CloseHandle();

    // Requests the stop, wakes the reader at once, waits for it to end, then delivers to
    // `deliverTo` a report that was received but not handed over yet. No handler of this reader
    // runs after Stop returns, except one that is already running further up the stack.
    void Stop(const HidDataEvent& deliverTo);

    std::uint32_t FErr() const { return err_.load(); }

    struct State;

private:
    void Run();
    bool WaitUntilServed();
    bool HandOver(bool isError, std::uint32_t error = 0);
    std::shared_ptr<platform::Handle> UsableHandle();
    void GiveUpHandle();
    bool RequestHandle();
    bool ReportError(std::uint32_t error);
    bool Pause(int ms);
    bool StopRequested();
    bool DeviceGone();

    std::shared_ptr<State> state_;
    std::atomic<int> threadSleepTime_;
    std::atomic<int> pollingDelayTime_;
    std::atomic<bool> reportErrors_;
    std::atomic<std::uint32_t> err_{0};
    HandOverQueue* queue_;
    std::thread thread_;
};

}  // namespace quillo::hid
