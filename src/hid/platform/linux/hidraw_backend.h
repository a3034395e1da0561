#pragma once

// The Linux Backend: hidraw nodes listed and identified through libudev, hot-plug through a
// udev monitor, report I/O on the nodes themselves.

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "hid/platform/hid_backend.h"
#include "hid/platform/linux/permission_notice.h"
#include "hid/platform/linux/udev_change_monitor.h"
#include "hid/platform/linux/udev_ptr.h"

namespace quillo::hid::platform {

class HidrawBackend final : public Backend {
public:
    // nullptr when libudev cannot be used. `diagnostics` receives the permission notice.
    // How long after its add event a unit's node that refuses the user is held back.
    static constexpr std::chrono::milliseconds kFreshAddWindow{2000};

    static std::unique_ptr<HidrawBackend> create(
        std::ostream& diagnostics, std::chrono::milliseconds freshAddWindow = kFreshAddWindow);
    HidrawBackend(const HidrawBackend&) = delete;
    HidrawBackend& operator=(const HidrawBackend&) = delete;
    ~HidrawBackend() override;

    std::vector<InterfaceInfo> enumerate() override;
    std::unique_ptr<Handle> open(const std::string& path, Access access,
                                 std::uint32_t* error = nullptr) override;
    void setChangeHandler(std::function<void()> handler) override;
    int changeDescriptor() const override;
    void dispatchChanges() override;

private:
    using Clock = std::chrono::steady_clock;

    HidrawBackend(UdevPtr context, std::ostream& diagnostics,
                  std::chrono::milliseconds freshAddWindow);
    int openNode(const std::string& path, int& error);
    // A unit's node, added moments ago, that the user may not open yet: left out of the list
    // while the seat's access is on its way. Never sleeps.
    bool awaitingAccess(udev_device* dev, const std::string& devnode);

    UdevPtr udev_;
    // Made before the first scan, so no attach between scan and monitor start is missed.
    UdevChangeMonitor monitor_;
    std::function<void()> handler_;
    std::chrono::milliseconds freshAddWindow_;
    std::map<std::string, Clock::time_point> recentAdds_;  // devnode -> time of its add event
    PermissionNotice notice_;
    int retryTimer_ = -1;  // timerfd: a rescan while a unit's node awaits access
    int epoll_ = -1;       // the monitor and the timer, for the main loop
};

}  // namespace quillo::hid::platform
