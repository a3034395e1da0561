// The unit's answers and the once-a-second status poll (still to be written).

#include "ui/form1.h"

namespace quillo::ui {

void Form1::HidDeviceController1DeviceData(hid::HidDevice* /*HidDev*/, std::uint8_t /*ReportID*/,
                                           const std::uint8_t* /*Data*/, std::uint16_t /*Size*/) {}

void Form1::Timer3Timer() {}

}  // namespace quillo::ui
