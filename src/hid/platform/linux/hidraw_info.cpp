#include "hid/platform/linux/hidraw_info.h"

#include <fcntl.h>
#include <libudev.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <string>

namespace quillo::hid::platform {
namespace {

// The kernel caps report descriptors at 4096 bytes (HID_MAX_DESCRIPTOR_SIZE).
constexpr std::size_t kMaxDescriptorSize = 4096;

const char* property(udev_device* dev, const char* name) {
    return dev == nullptr ? nullptr : udev_device_get_property_value(dev, name);
}

bool parseHex(std::string_view text, std::uint32_t& out) {
    if (text.empty()) {
        return false;
    }
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out, 16);
    return ec == std::errc() && ptr == end;
}

// Read with open()/read() rather than udev's sysattr API, which stops at the first NUL byte.
bool readDescriptor(const std::string& syspath, std::vector<std::uint8_t>& out) {
    const std::string file = syspath + "/device/report_descriptor";
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    out.assign(kMaxDescriptorSize, 0);
    std::size_t total = 0;
    bool ok = true;
    while (total < out.size()) {
        const ssize_t n = ::read(fd, out.data() + total, out.size() - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        total += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.resize(ok ? total : 0);
    return ok;
}

// udev records when it finished processing the device (CLOCK_MONOTONIC, microseconds) and
// keeps that value until the device is removed. Without a udev database, fall back to the
// sysfs directory's inode and change time, which the kernel creates anew on every attach.
std::string attachMark(udev_device* hidraw, const std::string& syspath) {
    if (const char* usec = property(hidraw, "USEC_INITIALIZED")) {
        return std::string("u") + usec;
    }
    struct stat st {};
    if (::stat(syspath.c_str(), &st) == 0) {
        // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict for chained +.
        std::string mark = "i";
        mark.append(std::to_string(st.st_ino)).append(".");
        mark.append(std::to_string(st.st_ctim.tv_sec)).append(".");
        mark.append(std::to_string(st.st_ctim.tv_nsec));
        return mark;
    }
    return {};
}

}  // namespace

bool parseHidId(std::string_view hidId, Attributes& out) {
    const auto first = hidId.find(':');
    const auto second = hidId.find(':', first == std::string_view::npos ? first : first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos) {
        return false;
    }
    std::uint32_t bus = 0;
    std::uint32_t vendor = 0;
    std::uint32_t product = 0;
    if (!parseHex(hidId.substr(0, first), bus) ||
        !parseHex(hidId.substr(first + 1, second - first - 1), vendor) ||
        !parseHex(hidId.substr(second + 1), product) || vendor > 0xFFFF || product > 0xFFFF) {
        return false;
    }
    out.vendorId = static_cast<std::uint16_t>(vendor);
    out.productId = static_cast<std::uint16_t>(product);
    return true;
}

std::uint64_t interfaceId(std::string_view syspath, std::string_view attachMark) {
    // FNV-1a over both parts with a separator; 0 is kept free for "no identity".
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    auto mix = [&hash](std::string_view text) {
        for (const char c : text) {
            hash ^= static_cast<std::uint8_t>(c);
            hash *= 0x100000001b3ULL;
        }
    };
    mix(syspath);
    mix(std::string_view("\0", 1));
    mix(attachMark);
    return hash == 0 ? 1 : hash;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0U) == 0xC0) {
            length = 2;
            cp = lead & 0x1FU;
        } else if ((lead & 0xF0U) == 0xE0) {
            length = 3;
            cp = lead & 0x0FU;
        } else if ((lead & 0xF8U) == 0xF0) {
            length = 4;
            cp = lead & 0x07U;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto cont = static_cast<std::uint8_t>(text[i + k]);
            valid = (cont & 0xC0U) == 0x80;
            cp = (cp << 6U) | (cont & 0x3FU);
        }
        static constexpr std::array<char32_t, 5> kMinimum = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && cp >= kMinimum[length] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        if (!valid) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10U)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FFU)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    return out;
}

HidrawInfo identifyHidraw(udev_device* hidraw) {
    HidrawInfo info;
    if (const char* syspath = udev_device_get_syspath(hidraw)) {
        info.syspath = syspath;
    }
    if (const char* devnode = udev_device_get_devnode(hidraw)) {
        info.devnode = devnode;
    }
    info.id = interfaceId(info.syspath, attachMark(hidraw, info.syspath));
    return info;
}

HidrawInfo describeHidraw(udev_device* hidraw) {
    HidrawInfo info = identifyHidraw(hidraw);

    // Parents are owned by the child device: no unref.
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(hidraw, "usb", "usb_device");

    if (const char* hidId = property(hid, "HID_ID")) {
        info.hasAttributes = parseHidId(hidId, info.attributes);
    }
    if (info.hasAttributes && usb != nullptr) {
        std::uint32_t version = 0;
        if (const char* bcd = udev_device_get_sysattr_value(usb, "bcdDevice");
            bcd != nullptr && parseHex(bcd, version) && version <= 0xFFFF) {
            info.attributes.versionNumber = static_cast<std::uint16_t>(version);
        }
    }

    // USB devices: the iProduct string, as Windows reports it. HID_NAME joins manufacturer and
    // product, so it serves only for devices on other buses (Bluetooth, I2C).
    const char* product =
        usb != nullptr ? udev_device_get_sysattr_value(usb, "product") : property(hid, "HID_NAME");
    if (product != nullptr) {
        info.hasProduct = true;
        info.product = utf8ToUtf16(product);
    }

    info.hasDescriptor = !info.syspath.empty() && readDescriptor(info.syspath, info.descriptor);
    return info;
}

}  // namespace quillo::hid::platform
