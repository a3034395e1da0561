// The device list and the choice of the current unit.
// The list is filled by the device-list work that follows; until then the selector stays
// empty and red, and CurrentDevice stays none.

#include "ui/form1.h"

namespace quillo::ui {

void Form1::ComboBox_Choose_deviceClick() {}

void Form1::HidDeviceController1DeviceChange() {}

}  // namespace quillo::ui
