// The command buttons that read, write and reset the unit's settings (still to be written).

#include "ui/form1.h"

namespace quillo::ui {

void Form1::Button_Get_current_parametersClick() {}

void Form1::Button_Restore_default_parametersClick() {}

void Form1::Button_Apply_Save_Wi_FiClick() {}

void Form1::Button_Apply_Save_FanClick() {}

void Form1::Button_Reset_filter_timerClick() {}

// The manual's label is never shown; its click does nothing.
void Form1::Label_User_ManualClick() {}

}  // namespace quillo::ui
