#pragma once

// The named objects (instance_lock.h) by which the programs of this family see each other.

namespace quillo::platform {

// Held by whichever program talks to the units: the window for its whole run, quilloctl for
// one command. A window that finds it held ends as a second copy does.
inline constexpr const char* kUnitProgramName = "User_program_Tessmark_Ombrel";
// Held by the companion service tool, which must not run beside us.
inline constexpr const char* kServiceToolName = "Service_program_Tessmark_Ombrel";

}  // namespace quillo::platform
