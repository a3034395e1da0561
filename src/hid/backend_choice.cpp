#include "hid/backend_choice.h"

#include <cstdlib>
#include <string>

#include "hid/tracing_backend.h"
#include "sim/sim_backend.h"

namespace quillo::hid {

namespace {
std::unique_ptr<platform::Backend> SystemBackend() {
#ifdef QUILLO_HAVE_SYSTEM_BACKEND
    return platform::createSystemBackend();
#else
    return nullptr;  // this build has no HID layer for the system
#endif
}
}  // namespace

std::unique_ptr<platform::Backend> ChooseBackend() {
    const char* simulate = std::getenv("QUILLO_SIMULATE");
    std::unique_ptr<platform::Backend> backend =
        simulate != nullptr ? sim::CreateSimBackend(simulate) : SystemBackend();
    const char* trace = std::getenv("QUILLO_TRACE");
    if (backend && trace != nullptr && *trace != '\0') {
        backend = std::make_unique<TracingBackend>(std::move(backend), trace);
    }
    return backend;
}

}  // namespace quillo::hid
