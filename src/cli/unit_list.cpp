#include "cli/unit_list.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <optional>

#include "hid/hid_device.h"
#include "hid/hid_device_controller.h"
#include "unit_model/unit_identity.h"

namespace quillo::cli {

namespace unit = protocol::unit;

QString UnitEntry::title() const {
    return model::UnitListTitle(index, model);
}

bool UnitEntry::usable() const {
    return device != nullptr && device->HasReadWriteAccess();
}

UnitList::UnitList(std::shared_ptr<hid::platform::Backend> backend) {
    if (!backend) {
        return;
    }
    bool listed = false;
    controller_ = std::make_unique<hid::HidDeviceController>(std::move(backend));
    // A device that cannot be opened at all is left out, as the window does.
    controller_->SetOnDeviceCreateError([](hid::HidDeviceController*, const hid::HidPnPInfo&,
                                           bool& handled, bool&) { handled = true; });
    controller_->SetOnDeviceChange([&listed](hid::HidDeviceController*) { listed = true; });
    // The first scan is posted at construction; it always ends with a device change.
    QElapsedTimer clock;
    clock.start();
    while (!listed && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    controller_->SetOnDeviceChange({});
    controller_->SetOnEnumerate([this](hid::HidDevice* dev, int idx) {
        if (dev == nullptr) {
            return true;
        }
        const std::optional<unit::Model> model = model::IdentifyUnit(*dev);
        if (!model) {
            return true;
        }
        UnitEntry entry;
        entry.index = static_cast<int>(units_.size()) + 1;
        entry.model = *model;
        entry.path = dev->PnPInfo() != nullptr ? dev->PnPInfo()->DevicePath : QString();
        controller_->CheckOutByIndex(entry.device, idx);
        units_.push_back(entry);
        return true;
    });
    controller_->Enumerate();
    controller_->SetOnEnumerate({});
}

UnitList::~UnitList() {
    // Handed back before the controller goes, as the window does.
    for (UnitEntry& entry : units_) {
        delete entry.device;
        entry.device = nullptr;
    }
}

}  // namespace quillo::cli
