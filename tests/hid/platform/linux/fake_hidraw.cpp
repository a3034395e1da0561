#include "fake_hidraw.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <cstdlib>

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <utility>

namespace quillo::hid::platform::test {
namespace {

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFFU);
    return text;
}

std::string hexBytes(const std::vector<std::uint8_t>& data) {
    std::string out;
    for (const std::uint8_t b : data) {
        char text[4];
        std::snprintf(text, sizeof text, "%02X", b);
        out += text;
    }
    return out;
}

std::string usbPath(const FakeDevice& d) {
    return "/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(d.number + 1);
}

std::string hidPath(const FakeDevice& d) {
    const std::string name = (d.usb ? "0003:" : "0005:") + hex4(d.vendorId) + ":" +
                             hex4(d.productId) + "." + hex4(d.number + 1);
    if (d.usb) {
        return usbPath(d) + "/1-" + std::to_string(d.number + 1) + ":1.0/" + name;
    }
    return "/devices/virtual/misc/uhid/" + name;
}

std::string hidrawPath(const FakeDevice& d) {
    return hidPath(d) + "/hidraw/hidraw" + std::to_string(d.number);
}

std::string devnode(const FakeDevice& d) {
    return "/dev/hidraw" + std::to_string(d.number);
}

// The nodes that umockdev's worker may still call, by key (see PacketNode).
std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::uintptr_t, PacketNode*>& registry() {
    static std::map<std::uintptr_t, PacketNode*> nodes;
    return nodes;
}

std::uintptr_t nextKey = 1;  // guarded by registryMutex()

// The key travels as the handlers' user data: a number, never dereferenced.
gpointer keyPointer(std::uintptr_t key) {
    return reinterpret_cast<gpointer>(key);  // NOLINT(performance-no-int-to-ptr)
}

}  // namespace

PacketNode::PacketNode(UMockdevTestbed* testbed, std::string devnode)
    : testbed_(testbed), devnode_(std::move(devnode)) {
    master_ = umockdev_testbed_get_dev_fd(testbed_, devnode_.c_str());
    if (master_ < 0) {
        throw std::runtime_error("no pty behind " + devnode_);
    }
    // A child process of a test must not keep the node alive.
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    drain_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (drain_ < 0) {
        throw std::runtime_error("cannot open the pty of " + devnode_);
    }
    termios raw{};
    ::tcgetattr(drain_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(drain_, TCSANOW, &raw);

    {
        const std::lock_guard lock(registryMutex());
        key_ = nextKey++;
        registry().emplace(key_, this);
    }
    handler_ = umockdev_ioctl_base_new();
    g_signal_connect(handler_, "handle-write", G_CALLBACK(&PacketNode::onWrite), keyPointer(key_));
    g_signal_connect(handler_, "handle-read", G_CALLBACK(&PacketNode::onRead), keyPointer(key_));
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed_, devnode_.c_str(), handler_, &error)) {
        const std::string message = error != nullptr ? error->message : "unknown";
        g_clear_error(&error);
        throw std::runtime_error("cannot attach a handler to " + devnode_ + ": " + message);
    }
}

PacketNode::~PacketNode() {
    {
        // Waits for a handler call in progress; later calls find no node.
        const std::lock_guard lock(registryMutex());
        registry().erase(key_);
    }
    umockdev_testbed_detach_ioctl(testbed_, devnode_.c_str(), nullptr);
    g_object_unref(handler_);
    ::close(drain_);
}

void PacketNode::queueReport(std::vector<std::uint8_t> report) {
    const std::lock_guard lock(mutex_);
    pending_.push_back(std::move(report));
    const char doorbell = 1;
    [[maybe_unused]] const ssize_t n = ::write(master_, &doorbell, 1);
}

std::vector<std::vector<std::uint8_t>> PacketNode::written() {
    const std::lock_guard lock(mutex_);
    return written_;
}

int PacketNode::readCalls() {
    const std::lock_guard lock(mutex_);
    return readCalls_;
}

void PacketNode::unplug() {
    const std::lock_guard lock(mutex_);
    unplugged_ = true;
    // The node's pty hangs up once no master is left; keep the descriptor number valid for the
    // testbed, which closes it later.
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    ::dup2(null, master_);
    ::close(null);
}

gboolean PacketNode::onWrite(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer key) {
    const std::lock_guard lock(registryMutex());
    const auto found = registry().find(reinterpret_cast<std::uintptr_t>(key));
    if (found == registry().end()) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return TRUE;
    }
    found->second->handleWrite(client);
    return TRUE;
}

gboolean PacketNode::onRead(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer key) {
    const std::lock_guard lock(registryMutex());
    const auto found = registry().find(reinterpret_cast<std::uintptr_t>(key));
    if (found == registry().end()) {
        umockdev_ioctl_client_complete(client, -1, EIO);
        return TRUE;
    }
    found->second->handleRead(client);
    return TRUE;
}

void PacketNode::handleWrite(UMockdevIoctlClient* client) {
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    const std::lock_guard lock(mutex_);
    if (unplugged_) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return;
    }
    written_.emplace_back(arg->data, arg->data + arg->data_len);
    umockdev_ioctl_client_complete(client, arg->data_len, 0);
}

void PacketNode::handleRead(UMockdevIoctlClient* client) {
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    const std::lock_guard lock(mutex_);
    ++readCalls_;
    if (pending_.empty()) {
        umockdev_ioctl_client_complete(client, -1, unplugged_ ? EIO : EAGAIN);
        return;
    }
    std::vector<std::uint8_t> report = std::move(pending_.front());
    pending_.pop_front();
    char doorbell = 0;
    [[maybe_unused]] const ssize_t n = ::read(drain_, &doorbell, 1);
    // Like hidraw: a report longer than the caller's buffer is cut.
    const auto count =
        std::min<std::size_t>(report.size(), static_cast<std::size_t>(arg->data_len));
    std::copy_n(report.begin(), count, arg->data);
    umockdev_ioctl_client_complete(client, static_cast<glong>(count), 0);
}

FakeHidraw::FakeHidraw() : testbed_(umockdev_testbed_new()) {}

FakeHidraw::~FakeHidraw() {
    nodes_.clear();
    g_object_unref(testbed_);
}

void FakeHidraw::add(const FakeDevice& d) {
    std::string record;
    if (d.usb) {
        record += "P: " + usbPath(d) + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n";
        record += "A: idVendor=" + hex4(d.vendorId) + "\nA: idProduct=" + hex4(d.productId) +
                  "\nA: bcdDevice=" + hex4(d.bcdDevice) + "\n";
        if (!d.product.empty()) {
            record += "A: product=" + d.product + "\n";
        }
        record += "\nP: " + usbPath(d) + "/1-" + std::to_string(d.number + 1) +
                  ":1.0\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=03\n\n";
    }
    record += "P: " + hidPath(d) + "\nE: SUBSYSTEM=hid\n";
    record += std::string("E: HID_ID=") + (d.usb ? "0003" : "0005") + ":0000" + hex4(d.vendorId) +
              ":0000" + hex4(d.productId) + "\n";
    if (!d.hidName.empty()) {
        record += "E: HID_NAME=" + d.hidName + "\n";
    }
    record += "H: report_descriptor=" + hexBytes(d.descriptor) + "\n\n";
    record += "P: " + hidrawPath(d) + "\nN: hidraw" + std::to_string(d.number) +
              "\nE: SUBSYSTEM=hidraw\nE: DEVNAME=" + devnode(d) + "\n";
    if (!d.usecInitialized.empty()) {
        record += "E: USEC_INITIALIZED=" + d.usecInitialized + "\n";
    }
    record += "A: dev=240:" + std::to_string(d.number) + "\nL: device=../..\n";

    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed_, record.c_str(), &error)) {
        const std::string message = error != nullptr ? error->message : "unknown";
        g_clear_error(&error);
        throw std::runtime_error("umockdev rejected the device: " + message);
    }
}

void FakeHidraw::remove(const FakeDevice& d) {
    std::erase_if(nodes_, [&d](const auto& entry) { return entry.first == d.number; });
    const std::string hidraw = "/sys" + hidrawPath(d);
    umockdev_testbed_uevent(testbed_, hidraw.c_str(), "remove");
    umockdev_testbed_remove_device(testbed_, hidraw.c_str());
    umockdev_testbed_remove_device(testbed_, ("/sys" + hidPath(d)).c_str());
    if (d.usb) {
        umockdev_testbed_remove_device(
            testbed_,
            ("/sys" + usbPath(d) + "/1-" + std::to_string(d.number + 1) + ":1.0").c_str());
        umockdev_testbed_remove_device(testbed_, ("/sys" + usbPath(d)).c_str());
    }
}

PacketNode& FakeHidraw::node(const FakeDevice& d) {
    for (auto& [number, node] : nodes_) {
        if (number == d.number) {
            return *node;
        }
    }
    nodes_.emplace_back(d.number, std::make_unique<PacketNode>(testbed_, devnode(d)));
    return *nodes_.back().second;
}

std::string FakeHidraw::nodeFile(const FakeDevice& d) const {
    gchar* root = umockdev_testbed_get_root_dir(testbed_);
    std::string file = std::string(root) + devnode(d);
    g_free(root);
    return file;
}

}  // namespace quillo::hid::platform::test
