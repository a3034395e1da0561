#include "platform/program_version.h"

namespace quillo::platform {

// Linux executables carry no version resource: the build compiles the project version in.
std::string ProgramVersionText() {
    return QUILLO_PROGRAM_VERSION;
}

}  // namespace quillo::platform
