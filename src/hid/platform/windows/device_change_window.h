#pragma once

// A hidden top-level window that hears the system's device-change broadcasts. It has to be a
// real top-level window: message-only windows get no broadcasts. It belongs to the thread
// that creates it, whose message loop (Qt's event loop on Windows) delivers the messages.

#include <functional>

#include "hid/platform/windows/win32_headers.h"

namespace quillo::hid::platform::win {

class DeviceChangeWindow {
public:
    // Calls `onNodesChanged` for every WM_DEVICECHANGE with DBT_DEVNODES_CHANGED, on the
    // creating thread. Check valid() afterwards.
    explicit DeviceChangeWindow(std::function<void()> onNodesChanged);
    DeviceChangeWindow(const DeviceChangeWindow&) = delete;
    DeviceChangeWindow& operator=(const DeviceChangeWindow&) = delete;
    ~DeviceChangeWindow();

    bool valid() const { return window_ != nullptr; }
    HWND window() const { return window_; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<void()> onNodesChanged_;
    HWND window_ = nullptr;
};

}  // namespace quillo::hid::platform::win
