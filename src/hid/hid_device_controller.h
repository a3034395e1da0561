#pragma once

// Keeps the list of present HID interfaces as HidDevice objects, rescans it when the platform
// reports a device change, and hands devices out for exclusive use. Main thread only.
//
// Construct it with the backend chosen for the run; nullptr (no HID layer) gives an inert
// controller that never scans and never notifies. Otherwise a first notification is posted at
// construction: the event loop delivers it, and its scan always ends with OnDeviceChange.

#include <QObject>
#include <cstdint>
#include <memory>
#include <vector>

#include "hid/hid_device.h"
#include "hid/hid_types.h"

class QSocketNotifier;

namespace quillo::hid {

class HidDeviceController : public QObject {
    Q_OBJECT

public:
    explicit HidDeviceController(std::shared_ptr<platform::Backend> backend,
                                 QObject* parent = nullptr);
    HidDeviceController(std::shared_ptr<platform::Backend> backend,
                        HidDeviceCreateError onDeviceCreateError, HidNotifyEvent onDeviceChange,
                        QObject* parent = nullptr);
    HidDeviceController(const HidDeviceController&) = delete;
    HidDeviceController& operator=(const HidDeviceController&) = delete;
    // Frees every listed device, those the application still holds included.
    ~HidDeviceController() override;

    // Visits the plugged-in devices in list order with OnEnumerate (which may check them out);
    // returns the number visited.
    int Enumerate();
    // Checks out the device at `idx` when it is not checked out yet; `dev` is nullptr otherwise.
    bool CheckOutByIndex(HidDevice*& dev, int idx);
    // Checks out the first device that is not checked out.
    bool CheckOut(HidDevice*& dev);
    // Gives a device back (an unplugged one is freed); sets `dev` to nullptr.
    void CheckIn(HidDevice*& dev);
    // Rescans now. Throws HidControllerError when a device cannot be created and no
    // OnDeviceCreateError handler handles it; the list then stays as it was.
    void DeviceChange();

    int Count() const { return static_cast<int>(list_.size()); }
    HidDevice* Device(int idx) const { return list_.at(static_cast<std::size_t>(idx)); }

    int DevPollingDelayTime() const { return devPollingDelayTime_; }
    void SetDevPollingDelayTime(int ms);
    int DevThreadSleepTime() const { return devThreadSleepTime_; }
    void SetDevThreadSleepTime(int ms);

    const HidDataEvent& OnDeviceData() const { return onDeviceData_; }
    const HidDataErrorEvent& OnDeviceDataError() const { return onDeviceDataError_; }
    const HidPlugEvent& OnDeviceUnplug() const { return onDeviceUnplug_; }
    void SetOnArrival(HidPlugEvent handler) { onArrival_ = std::move(handler); }
    void SetOnRemoval(HidPlugEvent handler) { onRemoval_ = std::move(handler); }
    void SetOnEnumerate(HidEnumerateEvent handler) { onEnumerate_ = std::move(handler); }
    // Rescans at once (DeviceChange, which may throw as described there), so that the new
    // handler hears of the devices present now; while loading it only stores the handler.
    void SetOnDeviceChange(HidNotifyEvent handler);
    // While the owner builds itself from its design, assigning OnDeviceChange only stores it:
    // the first scan comes with the start-up notification.
    void BeginLoading() { loading_ = true; }
    void EndLoading() { loading_ = false; }
    void SetOnDeviceCreateError(HidDeviceCreateError handler) {
        onDeviceCreateError_ = std::move(handler);
    }
    // The three below also reach every listed device that still carries the controller's
    // previous handler, and only those: a device given a handler of its own keeps it.
    void SetOnDeviceData(HidDataEvent handler);
    void SetOnDeviceDataError(HidDataErrorEvent handler);
    void SetOnDeviceUnplug(HidPlugEvent handler);

private:
    friend class HidDevice;

    // A device-change notification: rescans unless one is running or the controller is going.
    void Notify(std::int32_t lParam);
    // Creates one device, consulting OnDeviceCreateError; nullptr when skipped.
    std::unique_ptr<HidDevice> CreateDevice(const HidPnPInfo& info);
    // Called by a device being freed: a plugged-in one is replaced at its position by a fresh
    // device for the same interface, an unplugged one leaves the list.
    void ReleaseDevice(HidDevice* dev, HidDataEvent onData, HidPlugEvent onUnplug);
    void CallWhileEnumerated(const HidPlugEvent& handler, HidDevice* dev);

    std::shared_ptr<platform::Backend> backend_;
    HidPlugEvent onArrival_;
    HidNotifyEvent onDeviceChange_;
    HidEnumerateEvent onEnumerate_;
    HidDataEvent onDeviceData_;
    HidDataErrorEvent onDeviceDataError_;
    HidPlugEvent onDeviceUnplug_;
    HandlerId onDeviceDataId_ = 0;
    HandlerId onDeviceDataErrorId_ = 0;
    HandlerId onDeviceUnplugId_ = 0;
    HidPlugEvent onRemoval_;
    HidDeviceCreateError onDeviceCreateError_;
    int devPollingDelayTime_ = 0;
    int devThreadSleepTime_ = 100;
    std::vector<HidDevice*> list_;  // owns the devices that are not checked out
    bool inDeviceChange_ = false;
    bool destroying_ = false;
    bool loading_ = false;
    std::int32_t lParam_ = 0;  // -1 marks the start-up notification, which forces OnDeviceChange
    QSocketNotifier* changeNotifier_ = nullptr;
};

}  // namespace quillo::hid
