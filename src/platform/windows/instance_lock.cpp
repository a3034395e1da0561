#include "platform/instance_lock.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/windows/wide_text.h"

namespace quillo::platform {

// Named mutexes without a namespace prefix: visible to the programs of the same log-on.
// Nobody waits on them; only their existence matters, and it ends with the last process that
// holds a handle.

bool NamedObjectExists(const std::string& name) {
    const auto wide = win::toWide(name);
    if (!wide || wide->empty()) {
        return false;
    }
    HANDLE mutex = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, wide->c_str());
    if (mutex == nullptr) {
        return false;
    }
    CloseHandle(mutex);
    return true;
}

CreateResult CreateNamedObject(const std::string& name) {
    const auto wide = win::toWide(name);
    // An empty name would make an unnamed mutex that nobody else can see.
    if (!wide || wide->empty()) {
        return CreateResult::Failed;
    }
    HANDLE mutex = CreateMutexW(nullptr, FALSE, wide->c_str());
    if (mutex == nullptr) {
        return CreateResult::Failed;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Someone else holds it; this copy is about to end, and must not keep it alive.
        CloseHandle(mutex);
        return CreateResult::AlreadyHeld;
    }
    // Deliberately never closed: the system releases it when the process ends, even after a
    // crash, and only then may a new copy start.
    return CreateResult::Created;
}

}  // namespace quillo::platform
