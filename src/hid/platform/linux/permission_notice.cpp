#include "hid/platform/linux/permission_notice.h"

namespace quillo::hid::platform {

std::string permissionNoticeText(const std::string& devnode) {
    return std::string("quillo-config: no permission to open ") + devnode +
           " (unit 0483:5750): the udev rule " + kUdevRuleFile +
           " is not installed. Install it with: echo 'SUBSYSTEM==\"hidraw\", "
           "ATTRS{idVendor}==\"0483\", ATTRS{idProduct}==\"5750\", TAG+=\"uaccess\"' | sudo tee "
           "/etc/udev/rules.d/" +
           kUdevRuleFile +
           " && sudo udevadm control --reload-rules && sudo udevadm trigger --action=add "
           "--subsystem-match=hidraw";
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
