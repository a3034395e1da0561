#include <gtest/gtest.h>

#include <memory>

#include "hid/platform/hid_backend.h"
#include "hid/platform/windows/win32_headers.h"
#include "hid/platform/windows/windows_backend.h"

namespace quillo::hid::platform {
namespace {

// Wine cannot plug devices, so the window is driven with the messages the system would send.
class DeviceChangeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = createSystemBackend();
        ASSERT_NE(backend_, nullptr);
        window_ = dynamic_cast<win::WindowsBackend&>(*backend_).changeWindow();
        ASSERT_NE(window_, nullptr) << "wine needs its null graphics driver without X";
        backend_->setChangeHandler([this] {
            ++calls_;
            callingThread_ = GetCurrentThreadId();
        });
    }

    void pumpMessages() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            DispatchMessageW(&message);
        }
    }

    std::unique_ptr<Backend> backend_;
    HWND window_ = nullptr;
    int calls_ = 0;
    DWORD callingThread_ = 0;
};

TEST_F(DeviceChangeWindowTest, IsAHiddenTopLevelWindow) {
    // Message-only windows (parent HWND_MESSAGE) would never hear broadcasts.
    EXPECT_EQ(GetAncestor(window_, GA_PARENT), GetDesktopWindow());
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(GetWindowThreadProcessId(window_, nullptr), GetCurrentThreadId());
}

TEST_F(DeviceChangeWindowTest, ActsOnlyOnDeviceNodeChanges) {
    struct Case {
        WPARAM wParam;
        UINT message;
        int calls;
    };
    const Case cases[] = {
        {DBT_DEVNODES_CHANGED, WM_DEVICECHANGE, 1},
        {DBT_DEVICEARRIVAL, WM_DEVICECHANGE, 0},
        {DBT_DEVICEREMOVECOMPLETE, WM_DEVICECHANGE, 0},
        {DBT_DEVNODES_CHANGED, WM_USER, 0},
    };
    for (const Case& c : cases) {
        calls_ = 0;
        SendMessageW(window_, c.message, c.wParam, 0);
        EXPECT_EQ(calls_, c.calls) << "message " << c.message << " wParam " << c.wParam;
    }
    EXPECT_EQ(callingThread_, GetCurrentThreadId());
}

TEST_F(DeviceChangeWindowTest, HearsBroadcastsThroughTheMessageLoop) {
    PostMessageW(HWND_BROADCAST, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(calls_, 0) << "nothing happens before the loop runs";
    pumpMessages();
    EXPECT_EQ(calls_, 1);
    EXPECT_EQ(callingThread_, GetCurrentThreadId());
}

TEST_F(DeviceChangeWindowTest, HandlerCanBeReplacedOrRemoved) {
    int replacementCalls = 0;
    backend_->setChangeHandler([&] { ++replacementCalls; });
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(calls_, 0);
    EXPECT_EQ(replacementCalls, 1);

    // A handler that removes itself while it runs.
    backend_->setChangeHandler([&] {
        ++replacementCalls;
        backend_->setChangeHandler(nullptr);
    });
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    EXPECT_EQ(replacementCalls, 2);
}

TEST_F(DeviceChangeWindowTest, WindowGoesWithTheBackend) {
    ASSERT_TRUE(IsWindow(window_));
    backend_.reset();
    EXPECT_FALSE(IsWindow(window_));
    // A second backend makes its own window of the same class.
    const auto again = createSystemBackend();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(dynamic_cast<win::WindowsBackend&>(*again).changeWindow(), nullptr);
}

}  // namespace
}  // namespace quillo::hid::platform
