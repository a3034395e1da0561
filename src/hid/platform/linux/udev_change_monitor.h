#pragma once

// hidraw add and remove events from udev (after its rules ran, so permissions are in place).

#include <string>
#include <vector>

#include "hid/platform/linux/udev_ptr.h"

namespace quillo::hid::platform {

class UdevChangeMonitor {
public:
    struct Event {
        std::string action;  // "add", "remove", "change", ...
        std::string devnode;
    };

    explicit UdevChangeMonitor(udev* context);

    // -1 when the monitor could not be set up; the backend then sees no hot-plug.
    int descriptor() const;
    // Everything pending, without blocking.
    std::vector<Event> drain();

private:
    UdevMonitorPtr monitor_;
};

}  // namespace quillo::hid::platform
