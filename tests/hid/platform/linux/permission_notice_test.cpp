#include "hid/platform/linux/permission_notice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace quillo::hid::platform {
namespace {

std::string ruleLine() {
    std::ifstream file(QUILLO_UDEV_RULE_FILE);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line[0] != '#') {
            return line;
        }
    }
    return {};
}

TEST(UdevRule, GrantsTheSeatUserAccessToTheUnitOnly) {
    const std::string rule = ruleLine();
    ASSERT_FALSE(rule.empty());
    // The notice tells users to install exactly the shipped rule.
    EXPECT_EQ(rule, kUdevRule);
    EXPECT_NE(rule.find("TAG+=\"uaccess\""), std::string::npos);
    // The node's HID device, USB bus and both IDs: it holds on every path to the unit.
    EXPECT_NE(rule.find("KERNELS==\"0003:0483:5750.*\""), std::string::npos);
    EXPECT_EQ(rule.find("MODE"), std::string::npos);
    // uaccess is applied by 73-seat-late.rules: the rule must come first.
    EXPECT_LT(std::string(kUdevRuleFile), std::string("73-seat-late.rules"));
}

TEST(PermissionNotice, OneLinePerInterfaceAndOnlyForTheUnit) {
    std::ostringstream out;
    PermissionNotice notice(out);
    const Attributes unit{0x0483, 0x5750, 0x0200};
    const Attributes otherProduct{0x0483, 0x5740, 0x0200};
    const Attributes keyboard{0x046D, 0xC31C, 0x6400};

    notice.refused(1, unit, "/dev/hidraw2");
    notice.refused(1, unit, "/dev/hidraw2");
    notice.refused(2, otherProduct, "/dev/hidraw3");
    notice.refused(3, keyboard, "/dev/hidraw4");
    EXPECT_EQ(out.str(), permissionNoticeText("/dev/hidraw2") + "\n");

    // Re-plugged: a new interface, so the user hears it again.
    notice.refused(4, unit, "/dev/hidraw2");
    EXPECT_EQ(out.str(), permissionNoticeText("/dev/hidraw2") + "\n" +
                             permissionNoticeText("/dev/hidraw2") + "\n");

    const std::string text = permissionNoticeText("/dev/hidraw2");
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_NE(text.find("/dev/hidraw2"), std::string::npos);
    EXPECT_NE(text.find(std::string("/etc/udev/rules.d/") + kUdevRuleFile), std::string::npos);
    EXPECT_NE(text.find(kUdevRule), std::string::npos);
    EXPECT_NE(text.find("udevadm control --reload-rules"), std::string::npos);
}

}  // namespace
}  // namespace quillo::hid::platform
