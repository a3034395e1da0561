#pragma once

// One present HID interface, as a scan of HidDeviceController found it. Lives on the main thread;
// only its reader (HidDeviceReadThread) runs elsewhere. The controller creates devices; whoever
// checked one out may free it with `delete`, which hands the interface back to the controller.

#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "hid/hid_types.h"

namespace quillo::hid {

class HidDeviceReadThread;

class HidDevice {
public:
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;
    ~HidDevice();

    const HidAttributes& Attributes() const { return attributes_; }
    // The product string, cut at the first NUL and at 254 units; cached once read. Outside the
    // open rule an uncached name reads as empty.
    QString ProductName();
    // Report lengths; read once per object while the device can be opened, else zero. Lengths
    // that read as 0 are asked for again on the next call.
    HidCaps Caps();
    // Synchronous write of one output report (byte 0 = report ID). Without read and write
    // access it asks for it again first; a failed write returns false and leaves no broken
    // handle behind, so the next write opens afresh.
    bool WriteFile(const std::uint8_t* report, std::uint32_t toWrite, std::uint32_t& bytesWritten);

    bool IsPluggedIn() const { return isPluggedIn_; }
    bool IsCheckedOut() const { return isCheckedOut_; }
    bool HasReadWriteAccess() const { return hasReadWriteAccess_; }
    const HidPnPInfo* PnPInfo() const { return pnpInfo_.get(); }
    HidDeviceController* Controller() const { return controller_; }

    // 0..10000 ms; other values are ignored.
    int PollingDelayTime() const { return pollingDelayTime_; }
    void SetPollingDelayTime(int ms);
    // 10..10000 ms; other values are ignored.
    int ThreadSleepTime() const { return threadSleepTime_; }
    void SetThreadSleepTime(int ms);

    const HidDataEvent& OnData() const { return onData_; }
    // An empty handler stops the reader; a handler may start it (see StartReaderIfAllowed).
    void SetOnData(HidDataEvent handler);
    const HidDataErrorEvent& OnDataError() const { return onDataError_; }
    void SetOnDataError(HidDataErrorEvent handler);
    const HidPlugEvent& OnUnplug() const { return onUnplug_; }
    void SetOnUnplug(HidPlugEvent handler);

    bool OpenFile();
    void CloseFile();
    bool OpenFileEx(HidOpenExMode mode);
    void CloseFileEx(HidOpenExMode mode);

    bool HasReader() const { return reader_ != nullptr; }
    // While the reader's OnData handler runs: when its report could first be read from the
    // device. The handler may run much later, after the main thread was busy, and what a report
    // answers is judged by when it came. Empty outside such a call.
    std::optional<std::chrono::steady_clock::time_point> ReportArrival() const {
        return reportArrival_;
    }

private:
    friend class HidDeviceController;
    friend class HidDeviceReadThread;

    // Creation as a scan does it; throws HidControllerError.
    HidDevice(HidDeviceController* controller, platform::Backend* backend,
              std::unique_ptr<HidPnPInfo> pnpInfo);

    // A handle may be opened only while plugged in and checked out or being enumerated.
    bool OpenRuleAllows() const { return isPluggedIn_ && (isCheckedOut_ || isEnumerated_); }
    std::unique_ptr<platform::Handle> OpenSynchronous();
    bool OpenForWrite();
    // For the reader (main thread): a fresh read handle and the input length, or nullptr while
    // the device cannot be read (no access, lengths unknown, unplugged or checked in).
    std::shared_ptr<platform::Handle> OpenReadHandle(std::size_t& length);
    void CloseAllHandles();
    // Set a handler without changing whose it counts as (its HandlerId).
    void ApplyOnData(HidDataEvent handler);
    void ApplyOnDataError(HidDataErrorEvent handler);
    void StartReaderIfAllowed();
    void StopReader(const HidDataEvent& deliverTo);
    void Unplug();

    HidDeviceController* controller_ = nullptr;
    platform::Backend* backend_ = nullptr;
    bool isPluggedIn_ = true;
    bool isCheckedOut_ = false;
    bool checkingIn_ = false;  // set while the controller checks the device in
    bool isEnumerated_ = false;
    std::unique_ptr<platform::Handle> fileHandle_;
    std::shared_ptr<platform::Handle> readHandle_;
    std::unique_ptr<platform::Handle> writeHandle_;
    HidAttributes attributes_;
    std::unique_ptr<HidPnPInfo> pnpInfo_;
    QString productName_;
    std::optional<HidCaps> caps_;  // the parser data's role: fetched once per object
    int pollingDelayTime_ = 0;
    int threadSleepTime_ = 100;
    HidDataEvent onData_;
    HidDataErrorEvent onDataError_;
    HidPlugEvent onUnplug_;
    bool hasReadWriteAccess_ = false;
    // Whose handlers these are: a new controller handler replaces only those that are still the
    // controller's previous one.
    HandlerId onDataId_ = 0;
    HandlerId onDataErrorId_ = 0;
    HandlerId onUnplugId_ = 0;
    std::unique_ptr<HidDeviceReadThread> reader_;
    std::optional<std::chrono::steady_clock::time_point> reportArrival_;
};

}  // namespace quillo::hid
