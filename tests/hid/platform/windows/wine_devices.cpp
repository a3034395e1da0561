#include "wine_devices.h"

namespace quillo::hid::platform::test {

std::optional<InterfaceInfo> findWineDevice(Backend& backend, const WineDevice& device) {
    for (const InterfaceInfo& info : backend.enumerate()) {
        auto handle = backend.open(info.path, Access::None);
        Attributes attributes;
        if (handle && handle->attributes(attributes) && attributes.vendorId == device.vendorId &&
            attributes.productId == device.productId) {
            return info;
        }
    }
    return std::nullopt;
}

}  // namespace quillo::hid::platform::test
