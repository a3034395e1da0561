// The Wi-Fi network scan (still to be written).

#include "ui/form1.h"

namespace quillo::ui {

void Form1::Button_Search_Wi_FiClick() {}

void Form1::Timer1Timer() {}

void Form1::Timer2Timer() {}

}  // namespace quillo::ui
