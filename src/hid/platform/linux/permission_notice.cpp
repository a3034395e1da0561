#include "hid/platform/linux/permission_notice.h"

namespace quillo::hid::platform {

std::string permissionNoticeText(const std::string& devnode) {
    return std::string("Quillo Config: no permission to open ") + devnode +
           " (unit 0483:5750): the udev rule " + kUdevRuleFile +
           " is not installed. To install it, run: echo '" + kUdevRule + "' | sudo tee " +
           "/etc/udev/rules.d/" + kUdevRuleFile +
           " >/dev/null && sudo udevadm control --reload-rules && sudo udevadm trigger "
           "--action=add --subsystem-match=hidraw (then restart the program)";
}

void PermissionNotice::refused(std::uint64_t interfaceId, const Attributes& attributes,
                               const std::string& devnode) {
    if (attributes.vendorId != kUnitVendorId || attributes.productId != kUnitProductId) {
        return;
    }
    if (!told_.insert(interfaceId).second) {
        return;
    }
    out_ << permissionNoticeText(devnode) << '\n' << std::flush;
}

}  // namespace quillo::hid::platform
