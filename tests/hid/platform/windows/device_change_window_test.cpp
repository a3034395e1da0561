#include <gtest/gtest.h>

#include <memory>

#include "hid/platform/hid_backend.h"
#include "hid/platform/windows/hid_library.h"
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
        const auto library = win::HidLibrary::load();
        ASSERT_NE(library, nullptr);
        library->getHidGuid(&hidClass_);
    }

    void pumpMessages() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            DispatchMessageW(&message);
        }
    }

    // What the system sends with an interface's arrival or removal.
    DEV_BROADCAST_DEVICEINTERFACE_W interfaceOf(const GUID& interfaceClass) const {
        DEV_BROADCAST_DEVICEINTERFACE_W data{};
        data.dbcc_size = sizeof(data);
        data.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        data.dbcc_classguid = interfaceClass;
        return data;
    }

    std::unique_ptr<Backend> backend_;
    HWND window_ = nullptr;
    GUID hidClass_{};
    int calls_ = 0;
    DWORD callingThread_ = 0;
};

TEST_F(DeviceChangeWindowTest, IsAHiddenTopLevelWindowRegisteredForHidInterfaces) {
    // Message-only windows (parent HWND_MESSAGE) would never hear broadcasts.
    EXPECT_EQ(GetAncestor(window_, GA_PARENT), GetDesktopWindow());
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(GetWindowThreadProcessId(window_, nullptr), GetCurrentThreadId());
    EXPECT_TRUE(dynamic_cast<win::WindowsBackend&>(*backend_).hearsInterfaceChanges());
}

TEST_F(DeviceChangeWindowTest, ActsOnNodeChangesAndOnHidInterfacesThatComeOrGo) {
    const GUID otherClass = {
        0x53f56307, 0xb6bf, 0x11d0, {0x94, 0xf2, 0x00, 0xa0, 0xc9, 0x1e, 0xfb, 0x8b}};
    auto hid = interfaceOf(hidClass_);
    auto other = interfaceOf(otherClass);
    auto truncated = interfaceOf(hidClass_);
    truncated.dbcc_size = sizeof(DEV_BROADCAST_HDR);
    DEV_BROADCAST_VOLUME volume{};
    volume.dbcv_size = sizeof(volume);
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    struct Case {
        const char* what;
        UINT message;
        WPARAM event;
        const void* data;
        int calls;
    };
    const Case cases[] = {
        {"nodes changed", WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, nullptr, 1},
        {"HID arrival", WM_DEVICECHANGE, DBT_DEVICEARRIVAL, &hid, 1},
        {"HID removal", WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, &hid, 1},
        {"HID removal asked", WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE, &hid, 0},
        {"other class arrival", WM_DEVICECHANGE, DBT_DEVICEARRIVAL, &other, 0},
        {"volume removal", WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, &volume, 0},
        {"arrival without data", WM_DEVICECHANGE, DBT_DEVICEARRIVAL, nullptr, 0},
        {"arrival too short", WM_DEVICECHANGE, DBT_DEVICEARRIVAL, &truncated, 0},
        {"another message", WM_USER, DBT_DEVNODES_CHANGED, nullptr, 0},
    };
    for (const Case& c : cases) {
        calls_ = 0;
        SendMessageW(window_, c.message, c.event, reinterpret_cast<LPARAM>(c.data));
        pumpMessages();
        EXPECT_EQ(calls_, c.calls) << c.what;
    }
    EXPECT_EQ(callingThread_, GetCurrentThreadId());
}

TEST_F(DeviceChangeWindowTest, OneCallFromTheLoopForTheMessagesOfOneChange) {
    // As wine sends an unplug: the broadcast, the removal broadcast, its registered copy.
    auto hid = interfaceOf(hidClass_);
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                 reinterpret_cast<LPARAM>(&hid));
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                 reinterpret_cast<LPARAM>(&hid));
    EXPECT_EQ(calls_, 0) << "not inside the sender's call";
    pumpMessages();
    EXPECT_EQ(calls_, 1);
    // A later change is heard again.
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&hid));
    pumpMessages();
    EXPECT_EQ(calls_, 2);
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
    pumpMessages();
    EXPECT_EQ(calls_, 0);
    EXPECT_EQ(replacementCalls, 1);

    // A handler that removes itself while it runs.
    backend_->setChangeHandler([&] {
        ++replacementCalls;
        backend_->setChangeHandler(nullptr);
    });
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    pumpMessages();
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    pumpMessages();
    EXPECT_EQ(replacementCalls, 2);
}

TEST_F(DeviceChangeWindowTest, HandlerMayEndTheBackend) {
    backend_->setChangeHandler([&] {
        ++calls_;
        backend_.reset();
    });
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    pumpMessages();
    EXPECT_EQ(calls_, 1);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(DeviceChangeWindowTest, WindowGoesWithTheBackend) {
    ASSERT_TRUE(IsWindow(window_));
    SendMessageW(window_, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    backend_.reset();
    EXPECT_FALSE(IsWindow(window_));
    pumpMessages();
    EXPECT_EQ(calls_, 0) << "a change posted before the end is not delivered after it";
    // A second backend makes its own window of the same class.
    const auto again = createSystemBackend();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(dynamic_cast<win::WindowsBackend&>(*again).changeWindow(), nullptr);
}

}  // namespace
}  // namespace quillo::hid::platform
