#pragma once

// A faked hidraw world for tests, on umockdev: sysfs and udev data for USB and non-USB HID
// devices, add and remove events, and a /dev/hidrawN node with packet semantics (one write =
// one recorded report, one read = one queued report).

#include <umockdev.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quillo::hid::platform::test {

struct FakeDevice {
    int number = 0;  // hidrawN
    std::uint16_t vendorId = 0x0483;
    std::uint16_t productId = 0x5750;
    std::uint16_t bcdDevice = 0x0200;
    bool usb = true;      // false: a Bluetooth device without a usb_device parent
    std::string product;  // the usb_device's product attribute; empty: none
    std::string hidName;  // HID_NAME
    std::vector<std::uint8_t> descriptor;
    std::string usecInitialized;  // empty: no udev initialisation time
};

// The node's device end: what the program wrote, and reports for it to read.
//
// umockdev calls the handlers on its own worker thread, which may still be inside a call when
// the test lets go of a node. The handlers therefore reach their node only through a registry
// keyed by a number that is never reused, under a lock held for the whole call: the destructor
// takes the node out under that lock, so it waits for a call in progress, and a later call finds
// no node and fails like a device that is gone.
class PacketNode {
public:
    PacketNode(UMockdevTestbed* testbed, std::string devnode);
    ~PacketNode();
    PacketNode(const PacketNode&) = delete;
    PacketNode& operator=(const PacketNode&) = delete;

    void queueReport(std::vector<std::uint8_t> report);
    std::vector<std::vector<std::uint8_t>> written();
    // From now on reads fail with EIO, writes with ENODEV, and poll() reports a hang-up.
    void unplug();
    int readCalls();

private:
    static gboolean onWrite(UMockdevIoctlBase* base, UMockdevIoctlClient* client, gpointer key);
    static gboolean onRead(UMockdevIoctlBase* base, UMockdevIoctlClient* client, gpointer key);
    void handleWrite(UMockdevIoctlClient* client);
    void handleRead(UMockdevIoctlClient* client);

    std::uintptr_t key_ = 0;  // this node's entry in the registry
    UMockdevTestbed* testbed_;
    std::string devnode_;
    UMockdevIoctlBase* handler_ = nullptr;
    int master_ = -1;  // the testbed's side of the node's pty; one byte per queued report
    int drain_ = -1;   // our own opening of the pty, to take those bytes back
    std::mutex mutex_;
    std::deque<std::vector<std::uint8_t>> pending_;
    std::vector<std::vector<std::uint8_t>> written_;
    bool unplugged_ = false;
    int readCalls_ = 0;
};

class FakeHidraw {
public:
    FakeHidraw();
    ~FakeHidraw();
    FakeHidraw(const FakeHidraw&) = delete;
    FakeHidraw& operator=(const FakeHidraw&) = delete;

    // Adds the device with its usb_device, usb_interface and hid parents; udev sends "add".
    void add(const FakeDevice& device);
    // Sends "remove" and takes the device and its parents away, children first.
    void remove(const FakeDevice& device);
    // The node of an added device with packet semantics.
    PacketNode& node(const FakeDevice& device);
    // Where the node's file lives outside the preload's view (for chmod).
    std::string nodeFile(const FakeDevice& device) const;

private:
    UMockdevTestbed* testbed_;
    std::vector<std::pair<int, std::unique_ptr<PacketNode>>> nodes_;
};

}  // namespace quillo::hid::platform::test
