#pragma once

// Wine's own virtual HID devices: present in every wine prefix, found by their IDs. Their
// strings and report lengths are those of wine 8.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "hid/platform/hid_backend.h"

namespace quillo::hid::platform::test {

struct WineDevice {
    const char* name;
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::u16string product;
    ReportLengths lengths;
};

inline const WineDevice kWineMouse{"mouse", 0x845E, 0x0001, u"Wine HID mouse", {2, 0}};
inline const WineDevice kWineKeyboard{"keyboard", 0x845E, 0x0002, u"Wine HID keyboard", {14, 0}};

inline std::ostream& operator<<(std::ostream& out, const WineDevice& device) {
    return out << device.name;
}

// The listed interface with the device's IDs, identified through a zero-access open.
std::optional<InterfaceInfo> findWineDevice(Backend& backend, const WineDevice& device);

}  // namespace quillo::hid::platform::test
