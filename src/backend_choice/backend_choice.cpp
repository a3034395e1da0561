#include "backend_choice/backend_choice.h"

#include <cstdlib>
#include <string>

#include "hid/tracing_backend.h"
#include "sim/sim_options.h"

namespace quillo::backend_choice {

std::unique_ptr<hid::platform::Backend> ChooseBackend() {
    // Set but empty means the real units, as unset does.
    const char* simulate = std::getenv("QUILLO_SIMULATE");
    std::unique_ptr<hid::platform::Backend> backend = simulate != nullptr && *simulate != '\0'
                                                          ? sim::SimBackendOrExit(simulate)
                                                          : hid::platform::createSystemBackend();
    const char* trace = std::getenv("QUILLO_TRACE");
    if (backend && trace != nullptr && *trace != '\0') {
        backend = std::make_unique<hid::TracingBackend>(std::move(backend), trace);
    }
    return backend;
}

}  // namespace quillo::backend_choice
