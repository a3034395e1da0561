#include "cli/unit_list.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <optional>

#include "hid/hid_device.h"
#include "hid/hid_device_controller.h"

namespace quillo::cli {

namespace unit = protocol::unit;

QString ModelName(unit::Model model) {
    return model == unit::Model::Single ? QStringLiteral("Solvi") : QStringLiteral("Pargo");
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
        const hid::HidAttributes& attributes = dev->Attributes();
        if (attributes.VendorID != unit::kVendorId || attributes.ProductID != unit::kProductId) {
            return true;
        }
        const std::optional<unit::ModelIdentity> identity =
            unit::modelForProductString(dev->ProductName().toStdU16String());
        if (!identity) {
            return true;
        }
        UnitEntry entry;
        entry.index = static_cast<int>(units_.size()) + 1;
        entry.model = identity->model;
        entry.name = QString::fromUtf16(identity->listName.data(),
                                        static_cast<qsizetype>(identity->listName.size()));
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
