#pragma once

// The Windows HID backend: SetupAPI lists the HID interfaces, HID.dll identifies them, and a
// hidden window reports device changes.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "hid/platform/hid_backend.h"
#include "hid/platform/windows/device_change_window.h"
#include "hid/platform/windows/hid_library.h"

namespace quillo::hid::platform::win {

class WindowsBackend final : public Backend {
public:
    // Creates the change window on the calling thread, which must run a message loop.
    explicit WindowsBackend(std::shared_ptr<const HidLibrary> library);

    std::vector<InterfaceInfo> enumerate() override;
    std::unique_ptr<Handle> open(const std::string& path, Access access,
                                 std::uint32_t* error = nullptr) override;
    void setChangeHandler(std::function<void()> handler) override;

    // The hidden window, or nullptr when it could not be created (then no change is reported).
    HWND changeWindow() const { return changes_.window(); }
    // Whether HID interfaces' arrivals and removals reach that window.
    bool hearsInterfaceChanges() const { return changes_.registered(); }

private:
    void nodesChanged();
    void interfaceRemoved(const std::wstring& path);

    std::shared_ptr<const HidLibrary> library_;
    GUID hidGuid_{};
    std::function<void()> handler_;
    // How often the system reported each interface removed, by its path in lower case.
    std::map<std::string, std::uint64_t> removals_;
    DeviceChangeWindow changes_;
};

}  // namespace quillo::hid::platform::win
