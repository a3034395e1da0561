// The device list and the choice of the current unit.
// The list is filled by the device-list work that follows; until then the selector stays
// empty and red, and CurrentDevice stays none.

#include "hid/hid_types.h"
#include "ui/form1.h"

namespace quillo::ui {

void Form1::ComboBox_Choose_deviceClick() {}

void Form1::HidDeviceController1DeviceChange() {}

bool Form1::HidDeviceController1Enumerate(hid::HidDevice* /*HidDev*/, int /*Idx*/) {
    return true;  // always visit every device
}

// A HID interface whose device object cannot be made is left out silently.
void Form1::HidDeviceController1DeviceCreateError(hid::HidDeviceController* /*Controller*/,
                                                  const hid::HidPnPInfo& /*PnPInfo*/, bool& Handled,
                                                  bool& /*RetryCreate*/) {
    Handled = true;
}

}  // namespace quillo::ui
