#include "hid/backend_choice.h"

#include <cstdlib>
#include <string>

#include "hid/tracing_backend.h"
#include "sim/sim_options.h"

namespace quillo::hid {

std::unique_ptr<platform::Backend> ChooseBackend() {
    const char* simulate = std::getenv("QUILLO_SIMULATE");
    std::unique_ptr<platform::Backend> backend =
        simulate != nullptr ? sim::SimBackendOrExit(simulate) : platform::createSystemBackend();
    const char* trace = std::getenv("QUILLO_TRACE");
    if (backend && trace != nullptr && *trace != '\0') {
        backend = std::make_unique<TracingBackend>(std::move(backend), trace);
    }
    return backend;
}

}  // namespace quillo::hid
