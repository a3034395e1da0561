#include "hid/hid_device_controller.h"

#include <QMetaObject>
#include <QSocketNotifier>
#include <algorithm>

namespace quillo::hid {

HidDeviceController::HidDeviceController(std::shared_ptr<platform::Backend> backend,
                                         QObject* parent)
    : HidDeviceController(std::move(backend), nullptr, nullptr, parent) {}

HidDeviceController::HidDeviceController(std::shared_ptr<platform::Backend> backend,
                                         HidDeviceCreateError onDeviceCreateError,
                                         HidNotifyEvent onDeviceChange, QObject* parent)
    : QObject(parent),
      backend_(std::move(backend)),
      onDeviceChange_(std::move(onDeviceChange)),
      onDeviceCreateError_(std::move(onDeviceCreateError)) {
    if (!backend_) {
        return;
    }
    backend_->setChangeHandler([this] { Notify(0); });
    const int fd = backend_->changeDescriptor();
    if (fd >= 0) {
        changeNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(changeNotifier_, &QSocketNotifier::activated, this,
                [this] { backend_->dispatchChanges(); });
    }
    // Queued, so the first scan runs once the event loop runs, after the owner is built.
    QMetaObject::invokeMethod(
        this, [this] { Notify(-1); }, Qt::QueuedConnection);
}

HidDeviceController::~HidDeviceController() {
    destroying_ = true;
    onDeviceChange_ = nullptr;  // without a scan
    onEnumerate_ = nullptr;
    SetOnDeviceUnplug(nullptr);
    if (backend_) {
        backend_->setChangeHandler(nullptr);
    }
    delete changeNotifier_;
    changeNotifier_ = nullptr;
    const std::vector<HidDevice*> devices = std::move(list_);
    list_.clear();
    for (HidDevice* dev : devices) {
        dev->controller_ = nullptr;
        if (dev->isCheckedOut_) {
            dev->Unplug();
        }
        delete dev;
    }
}

void HidDeviceController::Notify(std::int32_t lParam) {
    if (destroying_ || inDeviceChange_) {
        return;  // dropped, not queued
    }
    lParam_ = lParam;
    inDeviceChange_ = true;
    try {
        DeviceChange();
    } catch (const HidControllerError&) {
        // An unhandled creation error abandons this scan; the list stays as it was and the next
        // notification tries again.
    }
    inDeviceChange_ = false;
}

std::unique_ptr<HidDevice> HidDeviceController::CreateDevice(const HidPnPInfo& info) {
    bool retryCreate = false;
    for (;;) {
        try {
            return std::unique_ptr<HidDevice>(
                new HidDevice(this, backend_.get(), std::make_unique<HidPnPInfo>(info)));
        } catch (const HidControllerError&) {
            if (!onDeviceCreateError_) {
                throw;
            }
            bool handled = false;
            onDeviceCreateError_(this, info, handled, retryCreate);
            if (!handled) {
                throw;
            }
            // RetryCreate is not reset between attempts: the handler clears it to give up.
            if (!retryCreate) {
                return nullptr;
            }
        }
    }
}

void HidDeviceController::CallWhileEnumerated(const HidPlugEvent& handler, HidDevice* dev) {
    if (!handler) {
        return;
    }
    dev->isEnumerated_ = true;
    handler(dev);
    dev->isEnumerated_ = false;
}

void HidDeviceController::DeviceChange() {
    bool changed = lParam_ == -1;
    if (!backend_) {
        return;
    }

    // Scan into a separate list; a creation error leaves before the controller's list is
    // touched. Devices of that list that are dropped are detached first, so that freeing them
    // does not touch the controller's list.
    struct ScanList {
        std::vector<std::unique_ptr<HidDevice>> devices;
        ~ScanList() {
            for (auto& dev : devices) {
                if (dev) {
                    dev->controller_ = nullptr;
                }
            }
        }
    } scan;
    for (const platform::InterfaceInfo& iface : backend_->enumerate()) {
        HidPnPInfo info;
        info.DeviceID = iface.id;
        info.path = iface.path;
        info.DevicePath = QString::fromStdString(iface.path);
        if (std::unique_ptr<HidDevice> dev = CreateDevice(info)) {
            scan.devices.push_back(std::move(dev));
        }
    }

    // Removal pass, last position first.
    for (int i = static_cast<int>(list_.size()) - 1; i >= 0; --i) {
        if (i >= static_cast<int>(list_.size())) {
            continue;
        }
        HidDevice* dev = list_[static_cast<std::size_t>(i)];
        const std::uint64_t id = dev->pnpInfo_->DeviceID;
        const bool present =
            dev->isPluggedIn_ &&
            std::any_of(scan.devices.rbegin(), scan.devices.rend(),
                        [id](const auto& fresh) { return fresh->pnpInfo_->DeviceID == id; });
        if (present) {
            continue;
        }
        dev->Unplug();
        CallWhileEnumerated(onRemoval_, dev);
        if (!dev->isCheckedOut_) {
            list_.erase(std::find(list_.begin(), list_.end(), dev));
            dev->controller_ = nullptr;
            delete dev;
        }
        changed = true;
    }

    // Duplicate pass: interfaces the controller already holds.
    for (auto& fresh : scan.devices) {
        const std::uint64_t id = fresh->pnpInfo_->DeviceID;
        const bool held = std::any_of(list_.begin(), list_.end(), [id](const HidDevice* dev) {
            return dev->isPluggedIn_ && dev->pnpInfo_->DeviceID == id;
        });
        if (held) {
            fresh->controller_ = nullptr;
            fresh.reset();
        }
    }

    // Arrival pass.
    for (auto& fresh : scan.devices) {
        if (!fresh) {
            continue;
        }
        HidDevice* dev = fresh.release();
        list_.push_back(dev);
        changed = true;
        CallWhileEnumerated(onArrival_, dev);
    }

    if (changed && onDeviceChange_) {
        const HidNotifyEvent handler = onDeviceChange_;
        handler(this);
    }
}

int HidDeviceController::Enumerate() {
    const std::size_t length = list_.size();
    int visited = 0;
    for (std::size_t idx = 0; idx < length && idx < list_.size(); ++idx) {
        HidDevice* dev = list_[idx];
        if (!dev->isPluggedIn_) {
            continue;
        }
        ++visited;
        dev->isEnumerated_ = true;
        const bool goOn = onEnumerate_ ? onEnumerate_(dev, static_cast<int>(idx)) : true;
        // The handler may have freed the device (its position then holds a fresh one).
        if (idx < list_.size() && list_[idx] == dev) {
            dev->isEnumerated_ = false;
            if (!dev->isCheckedOut_) {
                dev->CloseAllHandles();
            }
        }
        if (!goOn) {
            break;
        }
    }
    return visited;
}

bool HidDeviceController::CheckOutByIndex(HidDevice*& dev, int idx) {
    dev = nullptr;
    if (idx < 0 || idx >= Count()) {
        return false;
    }
    HidDevice* candidate = list_[static_cast<std::size_t>(idx)];
    if (candidate->isCheckedOut_) {
        return false;
    }
    dev = candidate;
    dev->isCheckedOut_ = true;
    dev->StartReaderIfAllowed();
    return true;
}

bool HidDeviceController::CheckOut(HidDevice*& dev) {
    dev = nullptr;
    for (int idx = 0; idx < Count(); ++idx) {
        if (!list_[static_cast<std::size_t>(idx)]->isCheckedOut_) {
            return CheckOutByIndex(dev, idx);
        }
    }
    return false;
}

void HidDeviceController::CheckIn(HidDevice*& dev) {
    if (dev == nullptr) {
        return;
    }
    // A handler run by the reader's last delivery may write to the device, which would start a
    // new reader: none may start once the check-in has begun.
    dev->checkingIn_ = true;
    dev->StopReader(dev->onData_);
    dev->CloseAllHandles();
    dev->checkingIn_ = false;
    if (dev->isPluggedIn_) {
        dev->isCheckedOut_ = false;
    } else {
        delete dev;
    }
    dev = nullptr;
}

void HidDeviceController::ReleaseDevice(HidDevice* dev, HidDataEvent onData,
                                        HidPlugEvent onUnplug) {
    auto pos = std::find(list_.begin(), list_.end(), dev);
    if (pos == list_.end()) {
        return;
    }
    if (dev->isPluggedIn_) {
        try {
            auto fresh = std::unique_ptr<HidDevice>(
                new HidDevice(this, backend_.get(), std::make_unique<HidPnPInfo>(*dev->pnpInfo_)));
            fresh->onData_ = std::move(onData);
            fresh->onUnplug_ = std::move(onUnplug);
            fresh->onDataId_ = dev->onDataId_;
            fresh->onUnplugId_ = dev->onUnplugId_;
            fresh->onDataErrorId_ = dev->onDataErrorId_;
            fresh->onDataError_ = dev->onDataError_;
            fresh->pollingDelayTime_ = dev->pollingDelayTime_;
            fresh->threadSleepTime_ = dev->threadSleepTime_;
            *pos = fresh.release();
            return;
        } catch (const HidControllerError&) {
            // The interface can no longer be opened: its position goes.
        }
    }
    list_.erase(pos);
}

void HidDeviceController::SetOnDeviceChange(HidNotifyEvent handler) {
    onDeviceChange_ = std::move(handler);
    if (!loading_ && !destroying_) {
        DeviceChange();
    }
}

void HidDeviceController::SetOnDeviceData(HidDataEvent handler) {
    const HandlerId previous = onDeviceDataId_;
    onDeviceDataId_ = NewHandlerId(static_cast<bool>(handler));
    onDeviceData_ = std::move(handler);
    for (HidDevice* dev : list_) {
        if (dev->onDataId_ == previous) {
            dev->onDataId_ = onDeviceDataId_;
            dev->ApplyOnData(onDeviceData_);
        }
    }
}

void HidDeviceController::SetOnDeviceDataError(HidDataErrorEvent handler) {
    const HandlerId previous = onDeviceDataErrorId_;
    onDeviceDataErrorId_ = NewHandlerId(static_cast<bool>(handler));
    onDeviceDataError_ = std::move(handler);
    for (HidDevice* dev : list_) {
        if (dev->onDataErrorId_ == previous) {
            dev->onDataErrorId_ = onDeviceDataErrorId_;
            dev->ApplyOnDataError(onDeviceDataError_);
        }
    }
}

void HidDeviceController::SetOnDeviceUnplug(HidPlugEvent handler) {
    const HandlerId previous = onDeviceUnplugId_;
    onDeviceUnplugId_ = NewHandlerId(static_cast<bool>(handler));
    onDeviceUnplug_ = std::move(handler);
    for (HidDevice* dev : list_) {
        if (dev->onUnplugId_ == previous) {
            dev->onUnplugId_ = onDeviceUnplugId_;
            dev->onUnplug_ = onDeviceUnplug_;
        }
    }
}

void HidDeviceController::SetDevPollingDelayTime(int ms) {
    if (ms == devPollingDelayTime_) {
        return;
    }
    for (HidDevice* dev : list_) {
        if (dev->PollingDelayTime() == devPollingDelayTime_) {
            dev->SetPollingDelayTime(ms);
        }
    }
    devPollingDelayTime_ = ms;
}

void HidDeviceController::SetDevThreadSleepTime(int ms) {
    if (ms == devThreadSleepTime_) {
        return;
    }
    for (HidDevice* dev : list_) {
        if (dev->ThreadSleepTime() == devThreadSleepTime_) {
            dev->SetThreadSleepTime(ms);
        }
    }
    devThreadSleepTime_ = ms;
}

}  // namespace quillo::hid
