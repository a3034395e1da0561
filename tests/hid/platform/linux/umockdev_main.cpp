// Runs the tests under umockdev's preload library, which fakes /sys, /dev and udev for this
// process. The executable re-starts itself with the preload and a temporary folder of its own
// (a crashed run leaves its testbed behind; it must not disturb the next one).

#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdlib>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kPreload = "libumockdev-preload.so.0";
constexpr const char* kOwnTmpDir = "QUILLO_UMOCKDEV_TMPDIR";

bool preloaded() {
    const char* preload = getenv("LD_PRELOAD");
    return preload != nullptr && std::strstr(preload, "libumockdev-preload") != nullptr;
}

[[noreturn]] void restartPreloaded(char** argv) {
    std::string preload = kPreload;
    if (const char* existing = getenv("LD_PRELOAD"); existing != nullptr && *existing != '\0') {
        preload += ":";
        preload += existing;
    }
    setenv("LD_PRELOAD", preload.c_str(), 1);
    // AddressSanitizer insists on coming first in the library list; the preload is a plain C
    // library that does not allocate behind its back, so the order does not matter here.
    std::string asan = "verify_asan_link_order=0";
    if (const char* existing = getenv("ASAN_OPTIONS"); existing != nullptr && *existing != '\0') {
        asan = std::string(existing) + ":" + asan;
    }
    setenv("ASAN_OPTIONS", asan.c_str(), 1);
    std::string tsan = std::string("suppressions=") + QUILLO_UMOCKDEV_TSAN_SUPPRESSIONS;
    if (const char* existing = getenv("TSAN_OPTIONS"); existing != nullptr && *existing != '\0') {
        tsan = std::string(existing) + ":" + tsan;
    }
    setenv("TSAN_OPTIONS", tsan.c_str(), 1);

    std::string tmp = std::string(P_tmpdir) + "/quillo-umockdev-XXXXXX";
    if (mkdtemp(tmp.data()) != nullptr) {
        setenv("TMPDIR", tmp.c_str(), 1);
        setenv(kOwnTmpDir, tmp.c_str(), 1);
    }
    execv("/proc/self/exe", argv);
    std::perror("re-executing the test under umockdev");
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    if (!preloaded()) {
        restartPreloaded(argv);
    }
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (const char* tmp = getenv(kOwnTmpDir)) {
        rmdir(tmp);  // empty unless a testbed was left behind
    }
    return result;
}
