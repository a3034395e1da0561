#pragma once

// A hidden window that hears of device changes: the system's DBT_DEVNODES_CHANGED broadcasts,
// which reach only top-level windows, and the arrival and removal of the interfaces of one
// device interface class, for which it registers. It belongs to the thread that creates it,
// whose message loop (Qt's event loop on Windows) delivers the messages.

#include <functional>
#include <string>

#include "hid/platform/windows/win32_headers.h"

namespace quillo::hid::platform::win {

class DeviceChangeWindow {
public:
    // A top-level window, never shown; where none can be made (wine without a display), a
    // message-only one, which still gets the registered arrivals and removals. After a
    // change message `onChange` is called once, on the creating thread, from the message loop:
    // the messages of one change (a broadcast, the removal, its registered copy) come one
    // after the other, and a handler that runs there gets none of them in its middle.
    // `onRemoval` gets the path of each removed interface of the class at once.
    DeviceChangeWindow(const GUID& interfaceClass, std::function<void()> onChange,
                       std::function<void(const std::wstring& path)> onRemoval = {});
    DeviceChangeWindow(const DeviceChangeWindow&) = delete;
    DeviceChangeWindow& operator=(const DeviceChangeWindow&) = delete;
    ~DeviceChangeWindow();

    bool valid() const { return window_ != nullptr; }
    HWND window() const { return window_; }
    // Whether the interface class's arrivals and removals are registered for.
    bool registered() const { return notification_ != nullptr; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    const DEV_BROADCAST_DEVICEINTERFACE_W* ourInterface(LPARAM data) const;
    bool concernsUs(WPARAM event, LPARAM data) const;
    void changed();

    GUID interfaceClass_;
    std::function<void()> onChange_;
    std::function<void(const std::wstring& path)> onRemoval_;
    HWND window_ = nullptr;
    HDEVNOTIFY notification_ = nullptr;
    bool changePosted_ = false;
};

}  // namespace quillo::hid::platform::win
