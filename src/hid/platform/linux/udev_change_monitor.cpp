#include "hid/platform/linux/udev_change_monitor.h"

#include <fcntl.h>

namespace quillo::hid::platform {

UdevChangeMonitor::UdevChangeMonitor(udev* context) {
    UdevMonitorPtr monitor(udev_monitor_new_from_netlink(context, "udev"));
    if (!monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0) {
        return;
    }
    // drain() must never block the main loop.
    const int fd = udev_monitor_get_fd(monitor.get());
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) {
        return;
    }
    monitor_ = std::move(monitor);
}

int UdevChangeMonitor::descriptor() const {
    return monitor_ ? udev_monitor_get_fd(monitor_.get()) : -1;
}

std::vector<UdevChangeMonitor::Event> UdevChangeMonitor::drain() {
    std::vector<Event> events;
    if (!monitor_) {
        return events;
    }
    while (UdevDevicePtr dev{udev_monitor_receive_device(monitor_.get())}) {
        Event event;
        if (const char* action = udev_device_get_action(dev.get())) {
            event.action = action;
        }
        if (const char* devnode = udev_device_get_devnode(dev.get())) {
            event.devnode = devnode;
        }
        events.push_back(std::move(event));
    }
    return events;
}

}  // namespace quillo::hid::platform
