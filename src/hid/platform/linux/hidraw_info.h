#pragma once

// What udev and sysfs tell about one hidraw node, gathered without opening the node: enough to
// identify and name the interface even when the user may not open it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hid/platform/hid_backend.h"

struct udev_device;

namespace quillo::hid::platform {

struct HidrawInfo {
    std::string syspath;
    std::string devnode;
    // Stable while attached, new after every re-attach (see interfaceId()).
    std::uint64_t id = 0;

    bool hasAttributes = false;
    Attributes attributes;

    bool hasProduct = false;
    std::u16string product;

    bool hasDescriptor = false;
    std::vector<std::uint8_t> descriptor;
};

// Only syspath, devnode and id: what a scan needs.
HidrawInfo identifyHidraw(udev_device* hidraw);

// Everything: identity, attributes, product string and report descriptor.
HidrawInfo describeHidraw(udev_device* hidraw);

// HID_ID of the parent hid device, "BBBB:VVVVVVVV:PPPPPPPP" in hex (bus, vendor, product).
bool parseHidId(std::string_view hidId, Attributes& out);

// The identity of an attached interface: its sysfs path (which names the node) combined with a
// mark that udev renews on every attach. hidrawN names are reused after unplug; the mark is not.
std::uint64_t interfaceId(std::string_view syspath, std::string_view attachMark);

// Device strings in sysfs are UTF-8; the layer above wants UTF-16. Invalid sequences become
// U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

}  // namespace quillo::hid::platform
