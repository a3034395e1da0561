#pragma once

// Chooses the HID backend for a run: the simulation when QUILLO_SIMULATE lists units (for
// example "solvi,pargo"), else the system's; wrapped in a trace when QUILLO_TRACE names a file.
// nullptr when the system has no HID layer (the controller then stays inert).

#include <memory>

#include "hid/platform/hid_backend.h"

namespace quillo::backend_choice {

std::unique_ptr<hid::platform::Backend> ChooseBackend();

}  // namespace quillo::backend_choice
