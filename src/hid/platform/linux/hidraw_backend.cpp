#include "hid/platform/linux/hidraw_backend.h"

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <iostream>
#include <utility>

#include "hid/platform/linux/hidraw_handle.h"
#include "hid/platform/linux/hidraw_info.h"
#include "hid/platform/linux/hidraw_node.h"
#include "hid/platform/linux/report_descriptor.h"

namespace quillo::hid::platform {
namespace {

// Right after an add, the seat's ACL on a new node may still be on its way: a unit's node that
// refuses the user within a short window of its add event is left out of the list and looked
// at again a moment later, from the event loop.
constexpr long kAccessRetryNanoseconds = 25'000'000;

bool isPermissionError(int error) {
    return error == EACCES || error == EPERM;
}

void setError(std::uint32_t* error, int value) {
    if (error != nullptr) {
        *error = static_cast<std::uint32_t>(value);
    }
}

}  // namespace

std::unique_ptr<HidrawBackend> HidrawBackend::create(std::ostream& diagnostics,
                                                     std::chrono::milliseconds freshAddWindow) {
    UdevPtr context(udev_new());
    if (!context) {
        return nullptr;
    }
    return std::unique_ptr<HidrawBackend>(
        new HidrawBackend(std::move(context), diagnostics, freshAddWindow));
}

HidrawBackend::HidrawBackend(UdevPtr context, std::ostream& diagnostics,
                             std::chrono::milliseconds freshAddWindow)
    : udev_(std::move(context)),
      monitor_(udev_.get()),
      freshAddWindow_(freshAddWindow),
      notice_(diagnostics) {
    // One descriptor for the main loop: the udev monitor and the access retry timer.
    retryTimer_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    for (const int fd : {monitor_.descriptor(), retryTimer_}) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        if (fd >= 0 && epoll_ >= 0) {
            ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
        }
    }
}

HidrawBackend::~HidrawBackend() {
    for (const int fd : {epoll_, retryTimer_}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

bool HidrawBackend::awaitingAccess(udev_device* dev, const std::string& devnode) {
    const auto added = recentAdds_.find(devnode);
    if (retryTimer_ < 0 || epoll_ < 0 || added == recentAdds_.end() ||
        Clock::now() - added->second >= freshAddWindow_) {
        return false;
    }
    // The IDs come from udev, without opening: other devices are never held back.
    const HidrawInfo info = describeHidraw(dev);
    if (!info.hasAttributes || info.attributes.vendorId != kUnitVendorId ||
        info.attributes.productId != kUnitProductId) {
        return false;
    }
    const int fd = ::open(devnode.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    return isPermissionError(errno);
}

std::vector<InterfaceInfo> HidrawBackend::enumerate() {
    std::vector<InterfaceInfo> found;
    UdevEnumeratePtr scan(udev_enumerate_new(udev_.get()));
    if (!scan || udev_enumerate_add_match_subsystem(scan.get(), "hidraw") < 0 ||
        udev_enumerate_add_match_is_initialized(scan.get()) < 0 ||
        udev_enumerate_scan_devices(scan.get()) < 0) {
        return found;
    }
    // libudev lists by syspath, which is stable for the life of each device.
    bool retry = false;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get())) {
        UdevDevicePtr dev(
            udev_device_new_from_syspath(udev_.get(), udev_list_entry_get_name(entry)));
        if (!dev) {
            continue;  // gone since the scan
        }
        const HidrawInfo info = identifyHidraw(dev.get());
        if (info.devnode.empty()) {
            continue;
        }
        if (awaitingAccess(dev.get(), info.devnode)) {
            retry = true;
            continue;
        }
        found.push_back({info.id, info.devnode});
    }
    if (retry) {
        // A one-shot tick; the rescan it causes arms the next one while the wait goes on.
        itimerspec tick{};
        tick.it_value.tv_nsec = kAccessRetryNanoseconds;
        ::timerfd_settime(retryTimer_, 0, &tick, nullptr);
    }
    return found;
}

int HidrawBackend::openNode(const std::string& path, int& error) {
    // Non-blocking: reads happen only after poll() said so, and must never hang the reader.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = errno;
    }
    return fd;
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
    return epoll_ >= 0 ? epoll_ : monitor_.descriptor();
}

void HidrawBackend::dispatchChanges() {
    std::uint64_t ticks = 0;
    const bool retry =
        retryTimer_ >= 0 && ::read(retryTimer_, &ticks, sizeof ticks) == sizeof ticks;
    const auto events = monitor_.drain();
    const auto now = Clock::now();
    std::erase_if(recentAdds_,
                  [this, now](const auto& entry) { return now - entry.second >= freshAddWindow_; });
    for (const auto& event : events) {
        if (event.action == "add") {
            recentAdds_[event.devnode] = now;
        } else if (event.action == "remove") {
            recentAdds_.erase(event.devnode);
        }
    }
    // One rescan covers any number of events.
    if ((!events.empty() || retry) && handler_) {
        handler_();
    }
}

std::unique_ptr<Backend> createSystemBackend() {
    return HidrawBackend::create(std::cerr);
}

}  // namespace quillo::hid::platform
