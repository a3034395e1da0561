#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/instance_lock.h"

namespace quillo::platform {
namespace {

namespace fs = std::filesystem;

// Each case gets its own runtime directory, so names never meet locks of a real session.
class InstanceLockLinux : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quillo-lock-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // Starts a child that takes `name` and then waits to be killed; returns once it holds it.
    pid_t StartHolder(const std::string& name) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(ready[0]);
            const char ok = CreateNamedObject(name) == CreateResult::Created ? '1' : '0';
            (void)!::write(ready[1], &ok, 1);
            for (;;) {
                ::pause();
            }
        }
        ::close(ready[1]);
        char ok = 0;
        EXPECT_EQ(::read(ready[0], &ok, 1), 1);
        ::close(ready[0]);
        EXPECT_EQ(ok, '1');
        return pid;
    }

    static void Kill(pid_t pid) {
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }

    std::string dir_;
};

TEST_F(InstanceLockLinux, AskingLeavesNoFileAndFindsNothing) {
    EXPECT_FALSE(NamedObjectExists("User_program_Tessmark_Ombrel"));
    EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(InstanceLockLinux, OwnLockIsSeenAndCannotBeTakenTwice) {
    EXPECT_EQ(CreateNamedObject("User_program_Tessmark_Ombrel"), CreateResult::Created);
    EXPECT_TRUE(NamedObjectExists("User_program_Tessmark_Ombrel"));
    // Asking did not drop the lock.
    EXPECT_TRUE(NamedObjectExists("User_program_Tessmark_Ombrel"));
    EXPECT_EQ(CreateNamedObject("User_program_Tessmark_Ombrel"), CreateResult::AlreadyHeld);
    EXPECT_FALSE(NamedObjectExists("Service_program_Tessmark_Ombrel"));
}

TEST_F(InstanceLockLinux, LockOfAnotherProcessBlocksUntilItIsKilled) {
    const pid_t holder = StartHolder("Service_program_Tessmark_Ombrel");
    EXPECT_TRUE(NamedObjectExists("Service_program_Tessmark_Ombrel"));
    EXPECT_EQ(CreateNamedObject("Service_program_Tessmark_Ombrel"), CreateResult::AlreadyHeld);

    Kill(holder);
    // The file stays behind, but nobody holds it.
    EXPECT_TRUE(fs::exists(dir_ + "/Service_program_Tessmark_Ombrel.lock"));
    EXPECT_FALSE(NamedObjectExists("Service_program_Tessmark_Ombrel"));
    EXPECT_EQ(CreateNamedObject("Service_program_Tessmark_Ombrel"), CreateResult::Created);
}

TEST_F(InstanceLockLinux, WithoutRuntimeDirectoryUsesPrivateTempDirectory) {
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", dir_.c_str(), 1);
    EXPECT_EQ(CreateNamedObject("User_program_Tessmark_Ombrel"), CreateResult::Created);
    const std::string own = dir_ + "/quillo-" + std::to_string(::getuid());
    struct stat info {};
    ASSERT_EQ(::stat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(fs::exists(own + "/User_program_Tessmark_Ombrel.lock"));
    EXPECT_TRUE(NamedObjectExists("User_program_Tessmark_Ombrel"));
    ::unsetenv("TMPDIR");
}

TEST_F(InstanceLockLinux, FallbackDirectoryOpenToOthersIsClosedFirst) {
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", dir_.c_str(), 1);
    const std::string own = dir_ + "/quillo-" + std::to_string(::getuid());
    ASSERT_EQ(::mkdir(own.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(own.c_str(), 0777), 0);
    EXPECT_EQ(CreateNamedObject("User_program_Tessmark_Ombrel"), CreateResult::Created);
    struct stat info {};
    ASSERT_EQ(::stat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace quillo::platform
