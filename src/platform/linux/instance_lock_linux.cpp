#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/instance_lock.h"

// A named object is the file <name>.lock in the user's runtime directory, "held" while some
// process has an exclusive flock on it. The kernel drops the lock when the holder's descriptor
// closes, which happens at the latest when the process ends, crash or SIGKILL included; so a
// leftover file never blocks anyone.

namespace quillo::platform {
namespace {

bool IsUsableDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A private directory under the temp directory for systems without XDG_RUNTIME_DIR. It must be
// ours and closed to others, or another user could hold or fake our locks.
std::string FallbackDirectory() {
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error) {
        temp = "/tmp";
    }
    std::string dir = (temp / ("quillo-" + std::to_string(::getuid()))).string();
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat info {};
    if (::lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        return {};
    }
    if ((info.st_mode & 0777) != 0700 && ::chmod(dir.c_str(), 0700) != 0) {
        return {};
    }
    return dir;
}

std::string LockDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && IsUsableDirectory(runtime)) {
        return runtime;
    }
    return FallbackDirectory();
}

std::string LockPath(const std::string& name) {
    const std::string dir = LockDirectory();
    return dir.empty() ? std::string() : dir + "/" + name + ".lock";
}

}  // namespace

bool NamedObjectExists(const std::string& name) {
    const std::string path = LockPath(name);
    if (path.empty()) {
        return false;
    }
    // No O_CREAT: asking must not leave a file behind. A file without a holder means nobody
    // runs.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // A separate open file description conflicts with every other holder, this process's own
    // lock included. Closing it drops the probe lock at once if we got it.
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

CreateResult CreateNamedObject(const std::string& name) {
    const std::string path = LockPath(name);
    if (path.empty()) {
        return CreateResult::Failed;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return CreateResult::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? CreateResult::AlreadyHeld : CreateResult::Failed;
    }
    // The descriptor stays open on purpose: the lock lives exactly as long as the process.
    return CreateResult::Created;
}

}  // namespace quillo::platform
