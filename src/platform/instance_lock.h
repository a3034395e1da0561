#pragma once

// Named objects that tell whether a program runs within the user's log-on: Windows named
// mutexes; on Linux per-user lock files held with flock. Either way the object vanishes with
// the process that holds it, also after a crash. Plain C++, no Qt.

#include <string>

namespace quillo::platform {

// True when a running process holds the named object now.
bool NamedObjectExists(const std::string& name);

enum class CreateResult {
    Created,      // this process holds the object until it ends
    AlreadyHeld,  // another process held it already: counts as a running copy
    Failed,       // could not be created; the program runs without holding it
};

// Creates the named object and holds it for the rest of the process's life.
CreateResult CreateNamedObject(const std::string& name);

}  // namespace quillo::platform
