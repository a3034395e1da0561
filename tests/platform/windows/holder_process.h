#pragma once

// The test program started a second time, as another process that creates a named object and
// holds it until told to let go or killed.

#include <string>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace quillo::platform::test {

inline constexpr char kHoldArgument[] = "--hold-named-object";

// The child's side, run from main(): creates `name`, reports ready, waits for the release.
// Returns the process's exit code: the CreateResult as a number.
int holdNamedObject(const std::string& name);

class HolderProcess {
public:
    // Starts the holder and waits until it has created the object (false on failure).
    bool start(const std::string& name);
    // Lets the holder end normally and returns its exit code; -1 on failure.
    int release();
    // Ends the holder as a crash would.
    void kill() const;
    ~HolderProcess();

private:
    PROCESS_INFORMATION process_{};
    HANDLE ready_ = nullptr;
    HANDLE quit_ = nullptr;
};

}  // namespace quillo::platform::test
