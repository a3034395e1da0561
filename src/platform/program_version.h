#pragma once

#include <string>

namespace quillo::platform {

// The running program's version as "major.minor.release" (Windows: from the program file's
// version resource, the build number left out; Linux: the version compiled in). Empty when it
// cannot be read.
std::string ProgramVersionText();

}  // namespace quillo::platform
