#pragma once

// The one line on standard error that tells a user why the unit is listed but cannot be used:
// without the udev rule, its hidraw node belongs to root alone.

#include <cstdint>
#include <ostream>
#include <set>
#include <string>

#include "hid/platform/hid_backend.h"

namespace quillo::hid::platform {

inline constexpr std::uint16_t kUnitVendorId = 0x0483;
inline constexpr std::uint16_t kUnitProductId = 0x5750;
inline constexpr const char* kUdevRuleFile = "70-quillo-config.rules";
// The rule's one line, as packaging/70-quillo-config.rules holds it.
inline constexpr const char* kUdevRule =
    R"(SUBSYSTEM=="hidraw", KERNELS=="0003:0483:5750.*", TAG+="uaccess")";

// The line itself, with a command the user can paste.
std::string permissionNoticeText(const std::string& devnode);

class PermissionNotice {
public:
    explicit PermissionNotice(std::ostream& out) : out_(out) {}

    // Writes the line once per attached interface, and only for the unit's IDs.
    void refused(std::uint64_t interfaceId, const Attributes& attributes,
                 const std::string& devnode);

private:
    std::ostream& out_;
    std::set<std::uint64_t> told_;
};

}  // namespace quillo::hid::platform
