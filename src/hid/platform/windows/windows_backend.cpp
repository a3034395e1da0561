#include "hid/platform/windows/windows_backend.h"

#include <cstddef>
#include <utility>

#include "hid/platform/windows/windows_handle.h"
#include "platform/windows/wide_text.h"

namespace quillo::hid::platform {

std::unique_ptr<Backend> createSystemBackend() {
    auto library = win::HidLibrary::load();
    if (!library) {
        return nullptr;
    }
    return std::make_unique<win::WindowsBackend>(std::move(library));
}

namespace win {

using quillo::platform::win::toUtf8;
using quillo::platform::win::toWide;

namespace {

// One interface's path and device node from an interface set; false when the system cannot
// describe it (it is then left out of the listing).
bool describeInterface(const HidLibrary& library, HDEVINFO set, SP_DEVICE_INTERFACE_DATA& iface,
                       InterfaceInfo& out) {
    DWORD needed = 0;
    if (library.getDeviceInterfaceDetail(set, &iface, nullptr, 0, &needed, nullptr) != FALSE ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
        needed <= offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) {
        return false;
    }
    // 8-byte units keep the record aligned as the system expects.
    std::vector<std::uint64_t> storage((needed + sizeof(std::uint64_t) - 1) /
                                       sizeof(std::uint64_t));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    SP_DEVINFO_DATA node{};
    node.cbSize = sizeof(node);
    if (library.getDeviceInterfaceDetail(set, &iface, detail, needed, nullptr, &node) == FALSE) {
        return false;
    }
    const std::size_t maxUnits =
        (needed - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
    std::size_t units = 0;
    while (units < maxUnits && detail->DevicePath[units] != L'\0') {
        ++units;
    }
    out.id = node.DevInst;
    out.path = toUtf8(std::wstring(detail->DevicePath, units));
    return !out.path.empty();
}

}  // namespace

WindowsBackend::WindowsBackend(std::shared_ptr<const HidLibrary> library)
    : library_(std::move(library)), changes_([this] { nodesChanged(); }) {
    library_->getHidGuid(&hidGuid_);
}

std::vector<InterfaceInfo> WindowsBackend::enumerate() {
    std::vector<InterfaceInfo> found;
    HDEVINFO set =
        library_->getClassDevs(&hidGuid_, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return found;
    }
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA iface{};
        iface.cbSize = sizeof(iface);
        if (library_->enumDeviceInterfaces(set, nullptr, &hidGuid_, index, &iface) == FALSE) {
            break;
        }
        InterfaceInfo info;
        if (describeInterface(*library_, set, iface, info)) {
            found.push_back(std::move(info));
        }
    }
    library_->destroyDeviceInfoList(set);
    return found;
}

std::unique_ptr<Handle> WindowsBackend::open(const std::string& path, Access access,
                                             std::uint32_t* error) {
    const auto widePath = toWide(path);
    DWORD failure = ERROR_INVALID_NAME;
    std::unique_ptr<Handle> handle;
    if (widePath) {
        handle = WindowsHandle::open(library_, *widePath, access, failure);
    }
    if (!handle && error != nullptr) {
        *error = failure;
    }
    return handle;
}

void WindowsBackend::setChangeHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

void WindowsBackend::nodesChanged() {
    // A copy, so that the handler may replace itself while it runs.
    const auto handler = handler_;
    if (handler) {
        handler();
    }
}

}  // namespace win
}  // namespace quillo::hid::platform
