// The device list and the choice of the current unit. Each item of the selector carries the
// device checked out for it and owns it until the next device change frees it.

#include <QComboBox>
#include <QLabel>
#include <QVariant>
#include <optional>

#include "hid/hid_device.h"
#include "hid/hid_device_controller.h"
#include "hid/hid_types.h"
#include "lang/message_table.h"
#include "protocol/command_code.h"
#include "protocol/conversions.h"
#include "protocol/payload.h"
#include "protocol/unit_contract.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "unit_model/unit_identity.h"

namespace quillo::ui {

using lang::MessageText;
namespace unit = protocol::unit;

// The handlers change the window through its control pointers; const would misstate that.
// NOLINTBEGIN(readability-make-member-function-const)

namespace {

// The device an item carries (null for an item without one).
hid::HidDevice* ItemDevice(const QComboBox* box, int index) {
    return static_cast<hid::HidDevice*>(box->itemData(index).value<void*>());
}

void SetItemDevice(QComboBox* box, int index, hid::HidDevice* dev) {
    box->setItemData(index, QVariant::fromValue(static_cast<void*>(dev)));
}

}  // namespace

void Form1::ComboBox_Choose_deviceClick() {
    const int chosen = ComboBox_Choose_device->currentIndex();
    if (ComboBox_Choose_device->count() == 0 || chosen < 0) {
        return;
    }
    hid::HidDevice* chosenDevice = ItemDevice(ComboBox_Choose_device, chosen);
    if (chosenDevice != CurrentDevice) {
        // A scan belongs to the unit it started on; chosen again after a rebuild of the list, the
        // unit's new device carries it on.
        if (!IsScanUnit(chosenDevice)) {
            StopScan();
        }
        generations_.clear();
    }
    CurrentDevice = chosenDevice;
    SetComboBoxColor(ComboBox_Choose_device, ColorBrightGreen);
    ApplyAccessibleTexts();
    serialNumberUnasked_ =
        !SendCommand(protocol::Code_Read, protocol::bytePayload(protocol::Code_Serial_number))
             .whole();
    const bool pargo =
        CurrentDevice != nullptr && model::IdentifyUnit(*CurrentDevice) == unit::Model::Pargo;
    Panel_Direction_Fan_Zorvat->setVisible(!pargo);
    Panel_Direction_Fan_Bix->setVisible(pargo);
}

void Form1::HidDeviceController1DeviceChange() {
    // Freeing a device still delivers a report its reader had already received; while the
    // current unit is being freed CurrentDevice names it, so that report is handled as usual.
    // Right after, CurrentDevice is cleared: it never names a freed device.
    for (int i = 0; i < ComboBox_Choose_device->count(); ++i) {
        hid::HidDevice* dev = ItemDevice(ComboBox_Choose_device, i);
        if (dev == nullptr) {
            continue;
        }
        const bool current = dev == CurrentDevice;
        SetItemDevice(ComboBox_Choose_device, i, nullptr);
        delete dev;
        if (current) {
            CurrentDevice = nullptr;
        }
    }
    // Every unit the list held is gone now, the current one included.
    CurrentDevice = nullptr;

    ComboBox_Choose_device->clear();
    ComboBox_Choose_device->clearEditText();
    SetComboBoxColor(ComboBox_Choose_device, ColorRed);
    ApplyAccessibleTexts();
    ComboBox_Choose_device->setEditText(MessageText(540));

    HidDeviceController1->Enumerate();

    // A device that came or went elsewhere leaves a running scan alone; it ends when its unit is
    // gone, or when another unit is chosen now (its unit, still attached, leaves pass-through).
    if (ScanRunning()) {
        hid::HidDevice* scanDevice = nullptr;
        for (int i = 0; i < ComboBox_Choose_device->count() && scanDevice == nullptr; ++i) {
            if (IsScanUnit(ItemDevice(ComboBox_Choose_device, i))) {
                scanDevice = ItemDevice(ComboBox_Choose_device, i);
            }
        }
        if (scanDevice == nullptr || scanDevice != ItemDevice(ComboBox_Choose_device, 0)) {
            CurrentDevice = scanDevice;
            StopScan();
            CurrentDevice = nullptr;
        }
    }

    if (ComboBox_Choose_device->count() > 0) {
        ComboBox_Choose_device->setCurrentIndex(0);
        ComboBox_Choose_deviceClick();
        return;
    }
    Label_Serial_number->clear();
    Panel_Wi_Fi_State_connection->setCaption(MessageText(280));
    Panel_Wi_Fi_State_connection->setColor(ColorRed);
    Panel_Master_State_connection->setCaption(MessageText(300));
    Panel_Master_State_connection->setColor(ColorRed);
    Label_Timer_filter->setText(QString::fromStdU16String(protocol::filterRunTimeText(
        0, MessageText(370).toStdU16String(), MessageText(380).toStdU16String(),
        MessageText(390).toStdU16String(), MessageText(400).toStdU16String())));
}

bool Form1::HidDeviceController1Enumerate(hid::HidDevice* HidDev, int Idx) {
    if (HidDev == nullptr) {
        return true;
    }
    const std::optional<unit::Model> model = model::IdentifyUnit(*HidDev);
    if (!model) {
        return true;  // not a unit: skipped, and the enumeration goes on
    }
    ComboBox_Choose_device->addItem(
        model::UnitListTitle(ComboBox_Choose_device->count() + 1, *model));
    // Every device the list held was freed before this enumeration, so the check-out succeeds;
    // should it not, the item carries no device and choosing it sends nothing.
    hid::HidDevice* checkedOut = nullptr;
    HidDeviceController1->CheckOutByIndex(checkedOut, Idx);
    SetItemDevice(ComboBox_Choose_device, ComboBox_Choose_device->count() - 1, checkedOut);
    return true;  // always visit every device
}

// A HID interface whose device object cannot be made is left out silently.
void Form1::HidDeviceController1DeviceCreateError(hid::HidDeviceController* /*Controller*/,
                                                  const hid::HidPnPInfo& /*PnPInfo*/, bool& Handled,
                                                  bool& /*RetryCreate*/) {
    Handled = true;
}

// NOLINTEND(readability-make-member-function-const)

}  // namespace quillo::ui
