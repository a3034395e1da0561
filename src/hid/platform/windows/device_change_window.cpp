#include "hid/platform/windows/device_change_window.h"

#include <utility>

namespace quillo::hid::platform::win {

namespace {

constexpr wchar_t kClassName[] = L"QuilloHidDeviceChange";
// The window property that leads from the window to its object.
constexpr wchar_t kOwnerProperty[] = L"QuilloHidDeviceChangeOwner";

// The module this code is linked into, also when that is a DLL rather than the program.
HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

bool registerClass(HINSTANCE module, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kClassName;
    // Every backend of the process shares the class, so an existing registration is fine.
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

DeviceChangeWindow::DeviceChangeWindow(std::function<void()> onNodesChanged)
    : onNodesChanged_(std::move(onNodesChanged)) {
    HINSTANCE module = thisModule();
    if (!registerClass(module, &DeviceChangeWindow::procedure)) {
        return;
    }
    // No parent, never shown: a hidden top-level window.
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, module, nullptr);
    // Only creation messages arrive before this, and none of them needs the object.
    if (window_ != nullptr && SetPropW(window_, kOwnerProperty, this) == FALSE) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

DeviceChangeWindow::~DeviceChangeWindow() {
    if (window_ != nullptr) {
        RemovePropW(window_, kOwnerProperty);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK DeviceChangeWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_DEVICECHANGE && wParam == DBT_DEVNODES_CHANGED) {
        auto* self = static_cast<DeviceChangeWindow*>(GetPropW(window, kOwnerProperty));
        if (self != nullptr && self->onNodesChanged_) {
            self->onNodesChanged_();
        }
    }
    // Every message, acted upon or not, gets the default handling as well.
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quillo::hid::platform::win
