// The unit's answers and the once-a-second status poll (still to be written).

#include "ui/form1.h"

namespace quillo::ui {

void Form1::Timer3Timer() {}

}  // namespace quillo::ui
