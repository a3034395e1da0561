#include "hid/platform/windows/device_change_window.h"

#include <cstddef>
#include <utility>

namespace quillo::hid::platform::win {

namespace {

constexpr wchar_t kClassName[] = L"QuilloHidDeviceChange";
// The window property that leads from the window to its object.
constexpr wchar_t kOwnerProperty[] = L"QuilloHidDeviceChangeOwner";
// Posted to itself after a change message; the handler runs when it is taken from the queue.
constexpr UINT kChangedMessage = WM_APP + 1;

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

DeviceChangeWindow::DeviceChangeWindow(const GUID& interfaceClass, std::function<void()> onChange,
                                       std::function<void(const std::wstring& path)> onRemoval)
    : interfaceClass_(interfaceClass),
      onChange_(std::move(onChange)),
      onRemoval_(std::move(onRemoval)) {
    HINSTANCE module = thisModule();
    if (!registerClass(module, &DeviceChangeWindow::procedure)) {
        return;
    }
    // No parent, never shown: a hidden top-level window, which broadcasts reach. Wine makes one
    // only with a display; a message-only window needs none and gets what is registered below.
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, module, nullptr);
    if (window_ == nullptr) {
        window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module,
                                  nullptr);
    }
    // Only creation messages arrive before this, and none of them needs the object.
    if (window_ != nullptr && SetPropW(window_, kOwnerProperty, this) == FALSE) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
    if (window_ == nullptr) {
        return;
    }
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = interfaceClass_;
    notification_ = RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

DeviceChangeWindow::~DeviceChangeWindow() {
    if (notification_ != nullptr) {
        UnregisterDeviceNotification(notification_);
    }
    if (window_ != nullptr) {
        RemovePropW(window_, kOwnerProperty);
        DestroyWindow(window_);
    }
}

// The interface an arrival or removal names, when it is of our class. Other ones (volumes,
// ports, other classes, which top-level windows also hear) are not ours.
const DEV_BROADCAST_DEVICEINTERFACE_W* DeviceChangeWindow::ourInterface(LPARAM data) const {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
        header->dbch_size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_W)) {
        return nullptr;
    }
    const auto* iface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data);
    return IsEqualGUID(iface->dbcc_classguid, interfaceClass_) != FALSE ? iface : nullptr;
}

bool DeviceChangeWindow::concernsUs(WPARAM event, LPARAM data) const {
    return event == DBT_DEVNODES_CHANGED ||
           ((event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE) &&
            ourInterface(data) != nullptr);
}

// One call for the messages that come before the posted one is taken; should the post fail,
// the handler runs at once rather than not at all.
void DeviceChangeWindow::changed() {
    if (changePosted_) {
        return;
    }
    changePosted_ = PostMessageW(window_, kChangedMessage, 0, 0) != FALSE;
    if (!changePosted_ && onChange_) {
        onChange_();
    }
}

LRESULT CALLBACK DeviceChangeWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* self = static_cast<DeviceChangeWindow*>(GetPropW(window, kOwnerProperty));
    if (self != nullptr) {
        if (message == WM_DEVICECHANGE && self->concernsUs(wParam, lParam)) {
            if (wParam == DBT_DEVICEREMOVECOMPLETE && self->onRemoval_) {
                // The name ends within the size the record gives, NUL or not.
                const auto* iface = self->ourInterface(lParam);
                const std::size_t room =
                    (iface->dbcc_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) /
                    sizeof(wchar_t);
                std::size_t length = 0;
                while (length < room && iface->dbcc_name[length] != L'\0') {
                    ++length;
                }
                self->onRemoval_(std::wstring(iface->dbcc_name, length));
            }
            self->changed();
        } else if (message == kChangedMessage) {
            self->changePosted_ = false;
            // A copy, so that the handler may replace itself while it runs.
            const auto handler = self->onChange_;
            if (handler) {
                handler();
            }
            return 0;
        }
    }
    // Every system message, acted upon or not, gets the default handling as well.
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quillo::hid::platform::win
