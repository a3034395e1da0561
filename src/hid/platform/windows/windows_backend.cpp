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

// One interface's path from an interface set; false when the system cannot describe it (it is
// then left out of the listing).
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
    if (library.getDeviceInterfaceDetail(set, &iface, detail, needed, nullptr, nullptr) == FALSE) {
        return false;
    }
    const std::size_t maxUnits =
        (needed - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
    std::size_t units = 0;
    while (units < maxUnits && detail->DevicePath[units] != L'\0') {
        ++units;
    }
    out.path = toUtf8(std::wstring(detail->DevicePath, units));
    return !out.path.empty();
}

// Paths name an interface in any case: the system's notices write them in upper case.
std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// An interface's identity: its path, which stays while it is attached, and how often it was
// removed, so that one unplugged and plugged back gets a new identity. Not the device node's
// number: wine numbers the nodes of each listing anew, counting those of interfaces gone, so a
// number passes from one unit to another (FNV-1a; 0 stays free for "no identity").
std::uint64_t interfaceIdentity(const std::string& lowerPath, std::uint64_t removals) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    const auto mix = [&hash](std::uint8_t byte) {
        hash ^= byte;
        hash *= 0x100000001b3ULL;
    };
    for (const char c : lowerPath) {
        mix(static_cast<std::uint8_t>(c));
    }
    mix(0);
    for (int shift = 0; shift < 64; shift += 8) {
        mix(static_cast<std::uint8_t>(removals >> shift));
    }
    return hash == 0 ? 1 : hash;
}

GUID hidInterfaceClass(const HidLibrary& library) {
    GUID guid{};
    library.getHidGuid(&guid);
    return guid;
}

}  // namespace

WindowsBackend::WindowsBackend(std::shared_ptr<const HidLibrary> library)
    : library_(std::move(library)),
      hidGuid_(hidInterfaceClass(*library_)),
      changes_(
          hidGuid_, [this] { nodesChanged(); },
          [this](const std::wstring& path) { interfaceRemoved(path); }) {}

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
            const std::string key = lowerCase(info.path);
            const auto removed = removals_.find(key);
            info.id = interfaceIdentity(key, removed == removals_.end() ? 0 : removed->second);
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

void WindowsBackend::interfaceRemoved(const std::wstring& path) {
    if (const auto utf8 = toUtf8(path); !utf8.empty()) {
        ++removals_[lowerCase(utf8)];
    }
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
