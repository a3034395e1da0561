#include <gtest/gtest.h>

#include <string>

#include "holder_process.h"
#include "platform/instance_lock.h"

namespace quillo::platform {
namespace test {

namespace {

// The test's names and arguments are plain ASCII.
std::wstring widen(const std::string& text) {
    return {text.begin(), text.end()};
}

// Events that tell the holder process's state, named after the object it holds.
std::wstring eventName(const std::string& name, const wchar_t* suffix) {
    return widen(name) + suffix;
}

constexpr DWORD kWaitMs = 30000;

}  // namespace

int holdNamedObject(const std::string& name) {
    const CreateResult result = CreateNamedObject(name);
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName(name, L".ready").c_str());
    HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, eventName(name, L".quit").c_str());
    if (ready == nullptr || quit == nullptr) {
        return 100;
    }
    SetEvent(ready);
    WaitForSingleObject(quit, kWaitMs);
    return static_cast<int>(result);
}

bool HolderProcess::start(const std::string& name) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, eventName(name, L".ready").c_str());
    quit_ = CreateEventW(nullptr, TRUE, FALSE, eventName(name, L".quit").c_str());
    wchar_t program[MAX_PATH];
    if (ready_ == nullptr || quit_ == nullptr ||
        GetModuleFileNameW(nullptr, program, MAX_PATH) == 0) {
        return false;
    }
    std::wstring commandLine =
        L"\"" + std::wstring(program) + L"\" " + widen(kHoldArgument) + L" " + widen(name);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process_) == FALSE) {
        return false;
    }
    const HANDLE waitFor[] = {ready_, process_.hProcess};
    return WaitForMultipleObjects(2, waitFor, FALSE, kWaitMs) == WAIT_OBJECT_0;
}

int HolderProcess::release() {
    SetEvent(quit_);
    DWORD code = 0;
    if (WaitForSingleObject(process_.hProcess, kWaitMs) != WAIT_OBJECT_0 ||
        GetExitCodeProcess(process_.hProcess, &code) == FALSE) {
        return -1;
    }
    return static_cast<int>(code);
}

void HolderProcess::kill() const {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, kWaitMs);
}

HolderProcess::~HolderProcess() {
    if (process_.hProcess != nullptr) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            kill();
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    for (HANDLE event : {ready_, quit_}) {
        if (event != nullptr) {
            CloseHandle(event);
        }
    }
}

}  // namespace test

namespace {

// A name of its own for each test and run, so that runs cannot see each other's objects.
std::string uniqueName(const char* what) {
    return std::string("Quillo_test_") + what + "_" + std::to_string(GetCurrentProcessId());
}

TEST(InstanceLockTest, AnotherProcessHoldsTheObjectUntilItEnds) {
    const std::string name = uniqueName("ends");
    EXPECT_FALSE(NamedObjectExists(name));

    test::HolderProcess holder;
    ASSERT_TRUE(holder.start(name));
    EXPECT_TRUE(NamedObjectExists(name));
    // Both copies passed the test for a running one: creating tells the later one.
    EXPECT_EQ(CreateNamedObject(name), CreateResult::AlreadyHeld);
    EXPECT_TRUE(NamedObjectExists(name)) << "giving up must not touch the holder's object";

    EXPECT_EQ(holder.release(), static_cast<int>(CreateResult::Created));
    EXPECT_FALSE(NamedObjectExists(name)) << "AlreadyHeld must not keep the object alive";

    // Now this process can take it over, and keeps it.
    EXPECT_EQ(CreateNamedObject(name), CreateResult::Created);
    EXPECT_TRUE(NamedObjectExists(name));
}

TEST(InstanceLockTest, ObjectGoesWithAKilledHolder) {
    const std::string name = uniqueName("killed");
    test::HolderProcess holder;
    ASSERT_TRUE(holder.start(name));
    ASSERT_TRUE(NamedObjectExists(name));
    holder.kill();
    EXPECT_FALSE(NamedObjectExists(name));
}

TEST(InstanceLockTest, HeldForTheLifeOfTheProcess) {
    const std::string name = uniqueName("held");
    ASSERT_EQ(CreateNamedObject(name), CreateResult::Created);
    EXPECT_TRUE(NamedObjectExists(name));
    EXPECT_EQ(CreateNamedObject(name), CreateResult::AlreadyHeld);
    EXPECT_TRUE(NamedObjectExists(name));
}

TEST(InstanceLockTest, NamesAreUtf8) {
    const std::string name = uniqueName("\xc3\xbc\xe2\x82\xac");  // "ü€"
    ASSERT_EQ(CreateNamedObject(name), CreateResult::Created);
    const std::wstring wide = L"Quillo_test_\u00fc\u20ac_" + std::to_wstring(GetCurrentProcessId());
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, wide.c_str());
    EXPECT_NE(mutex, nullptr);
    if (mutex != nullptr) {
        CloseHandle(mutex);
    }
}

TEST(InstanceLockTest, UnusableNamesFail) {
    const std::string names[] = {
        "",                                  // would be an unnamed mutex
        "Quillo_no_such_namespace\\object",  // a namespace that does not exist
        "Quillo_\xff\xfe",                   // not UTF-8
    };
    for (const std::string& name : names) {
        EXPECT_EQ(CreateNamedObject(name), CreateResult::Failed) << name;
        EXPECT_FALSE(NamedObjectExists(name)) << name;
    }
}

}  // namespace
}  // namespace quillo::platform
