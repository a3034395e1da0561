#include "hid/platform/linux/hidraw_backend.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <thread>
#include <utility>

#include "hid/platform/linux/hidraw_handle.h"
#include "hid/platform/linux/hidraw_info.h"
#include "hid/platform/linux/hidraw_node.h"
#include "hid/platform/linux/report_descriptor.h"

namespace quillo::hid::platform {
namespace {

// Right after an add, the seat's ACL on a new node may still be on its way; an open refused
// within this window of the add event is retried for a moment.
constexpr auto kFreshAddWindow = std::chrono::seconds(2);
constexpr auto kAccessRetryPause = std::chrono::milliseconds(25);
constexpr int kAccessRetries = 10;

bool isPermissionError(int error) {
    return error == EACCES || error == EPERM;
}

void setError(std::uint32_t* error, int value) {
    if (error != nullptr) {
        *error = static_cast<std::uint32_t>(value);
    }
}

}  // namespace

std::unique_ptr<HidrawBackend> HidrawBackend::create(std::ostream& diagnostics) {
    UdevPtr context(udev_new());
    if (!context) {
        return nullptr;
    }
    return std::unique_ptr<HidrawBackend>(new HidrawBackend(std::move(context), diagnostics));
}

HidrawBackend::HidrawBackend(UdevPtr context, std::ostream& diagnostics)
    : udev_(std::move(context)), monitor_(udev_.get()), notice_(diagnostics) {}

std::vector<InterfaceInfo> HidrawBackend::enumerate() {
    std::vector<InterfaceInfo> found;
    UdevEnumeratePtr scan(udev_enumerate_new(udev_.get()));
    if (!scan || udev_enumerate_add_match_subsystem(scan.get(), "hidraw") < 0 ||
        udev_enumerate_add_match_is_initialized(scan.get()) < 0 ||
        udev_enumerate_scan_devices(scan.get()) < 0) {
        return found;
    }
    // libudev lists by syspath, which is stable for the life of each device.
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get())) {
        UdevDevicePtr dev(
            udev_device_new_from_syspath(udev_.get(), udev_list_entry_get_name(entry)));
        if (!dev) {
            continue;  // gone since the scan
        }
        const HidrawInfo info = identifyHidraw(dev.get());
        if (!info.devnode.empty()) {
            found.push_back({info.id, info.devnode});
        }
    }
    return found;
}

int HidrawBackend::openNode(const std::string& path, int& error) {
    const auto added = recentAdds_.find(path);
    const bool fresh = added != recentAdds_.end() && Clock::now() - added->second < kFreshAddWindow;
    for (int attempt = 0;; ++attempt) {
        // Non-blocking: reads happen only after poll() said so, and must never hang the reader.
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0) {
            return fd;
        }
        error = errno;
        if (!fresh || !isPermissionError(error) || attempt == kAccessRetries) {
            return -1;
        }
        std::this_thread::sleep_for(kAccessRetryPause);
    }
}

std::unique_ptr<Handle> HidrawBackend::open(const std::string& path, Access access,
                                            std::uint32_t* error) {
    // Paths come from enumerate(): /dev/<sysname>. Look the node up by that name and make sure
    // it is the same node.
    const auto slash = path.rfind('/');
    const std::string sysname = slash == std::string::npos ? path : path.substr(slash + 1);
    UdevDevicePtr dev(
        udev_device_new_from_subsystem_sysname(udev_.get(), "hidraw", sysname.c_str()));
    const char* devnode = dev ? udev_device_get_devnode(dev.get()) : nullptr;
    if (devnode == nullptr || path != devnode) {
        setError(error, ENOENT);
        return nullptr;
    }
    HidrawInfo info = describeHidraw(dev.get());

    if (access == Access::None) {
        return std::make_unique<HidrawHandle>(std::move(info), nullptr);
    }

    int openError = 0;
    const int fd = openNode(path, openError);
    if (fd < 0) {
        if (isPermissionError(openError) && info.hasAttributes) {
            notice_.refused(info.id, info.attributes, path);
        }
        setError(error, openError);
        return nullptr;
    }
    const bool numbered = summarizeReportDescriptor(info.descriptor).numbered;
    auto node = std::make_unique<HidrawNode>(fd, numbered);
    if (!node->valid()) {
        setError(error, errno);
        return nullptr;
    }
    return std::make_unique<HidrawHandle>(std::move(info), std::move(node));
}

void HidrawBackend::setChangeHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

int HidrawBackend::changeDescriptor() const {
    return monitor_.descriptor();
}

void HidrawBackend::dispatchChanges() {
    const auto events = monitor_.drain();
    const auto now = Clock::now();
    std::erase_if(recentAdds_,
                  [now](const auto& entry) { return now - entry.second >= kFreshAddWindow; });
    for (const auto& event : events) {
        if (event.action == "add") {
            recentAdds_[event.devnode] = now;
        } else if (event.action == "remove") {
            recentAdds_.erase(event.devnode);
        }
    }
    // One rescan covers any number of events.
    if (!events.empty() && handler_) {
        handler_();
    }
}

std::unique_ptr<Backend> createSystemBackend() {
    return HidrawBackend::create(std::cerr);
}

}  // namespace quillo::hid::platform
