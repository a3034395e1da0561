#include "hid/platform/linux/hidraw_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillo::hid::platform {
namespace {

TEST(HidId, ParsesBusVendorProduct) {
    struct Case {
        std::string text;
        bool ok;
        std::uint16_t vendor;
        std::uint16_t product;
    };
    const std::vector<Case> cases = {
        {"0003:00000483:00005750", true, 0x0483, 0x5750},
        {"0005:0000046D:0000B01A", true, 0x046D, 0xB01A},  // Bluetooth
        {"0018:000004F3:00003070", true, 0x04F3, 0x3070},  // I2C
        {"0003:00000483", false, 0, 0},
        {"0003:00010483:00005750", false, 0, 0},  // wider than a USB vendor ID
        {"0003:0000048G:00005750", false, 0, 0},
        {"0003::00005750", false, 0, 0},
        {"0003:00000483:00005750 ", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Attributes attributes{1, 2, 3};
        ASSERT_EQ(parseHidId(c.text, attributes), c.ok);
        if (c.ok) {
            EXPECT_EQ(attributes.vendorId, c.vendor);
            EXPECT_EQ(attributes.productId, c.product);
        }
    }
}

TEST(InterfaceId, FollowsPathAndAttachMark) {
    const std::string path = "/sys/devices/pci0000:00/usb1/1-1/1-1:1.0/0003:0483:5750.0001";
    EXPECT_EQ(interfaceId(path, "u1000"), interfaceId(path, "u1000"));
    EXPECT_NE(interfaceId(path, "u1000"), interfaceId(path, "u2000"));
    EXPECT_NE(interfaceId(path, "u1000"), interfaceId(path + "2", "u1000"));
    // The separator keeps the parts apart.
    EXPECT_NE(interfaceId("ab", "c"), interfaceId("a", "bc"));
    EXPECT_NE(interfaceId("", ""), 0U);
}

TEST(Utf8ToUtf16, ConvertsDeviceStrings) {
    EXPECT_EQ(utf8ToUtf16("Zorvat Bix"), u"Zorvat Bix");
    EXPECT_EQ(utf8ToUtf16("L\xC3\xBC"
                          "fter \xE2\x82\xAC"),
              u"L\u00FCfter \u20AC");
    EXPECT_EQ(utf8ToUtf16("\xF0\x9F\x8C\x80"), u"\U0001F300");  // a surrogate pair
    // Broken sequences become U+FFFD, one per bad byte; the rest survives.
    EXPECT_EQ(utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(utf8ToUtf16("\xC3"), u"\uFFFD");                      // cut short
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
}

}  // namespace
}  // namespace quillo::hid::platform
