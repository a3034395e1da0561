#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <initializer_list>
#include <set>
#include <sstream>
#include <thread>

#include "fake_hidraw.h"
#include "hid/platform/linux/hidraw_backend.h"
#include "hid/platform/linux/permission_notice.h"

namespace quillo::hid::platform {
namespace {

using test::FakeDevice;
using test::FakeHidraw;

// Vendor-defined 64-byte reports in and out, with report ID 1 (the unit) or without an ID.
const std::vector<std::uint8_t> kNumberedDescriptor = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
    0x08, 0x95, 0x40, 0x09, 0x01, 0x81, 0x02, 0x95, 0x40, 0x09, 0x01, 0x91, 0x02, 0xC0};
const std::vector<std::uint8_t> kUnnumberedDescriptor = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
    0x95, 0x40, 0x09, 0x01, 0x81, 0x02, 0x95, 0x40, 0x09, 0x01, 0x91, 0x02, 0xC0};
// A boot mouse; its descriptor starts with a 0x05 0x01 pair, and contains 0x00 bytes that
// udev's attribute API would cut at.
const std::vector<std::uint8_t> kMouseDescriptor = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15,
    0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0};

FakeDevice unit(int number, const std::string& product = "Zorvat Bix") {
    FakeDevice d;
    d.number = number;
    d.product = product;
    d.hidName = "STMicroelectronics " + product;
    d.descriptor = kNumberedDescriptor;
    d.usecInitialized = std::to_string(1000000 + number);
    return d;
}

FakeDevice mouse(int number) {
    FakeDevice d;
    d.number = number;
    d.vendorId = 0x046D;
    d.productId = 0xC077;
    d.bcdDevice = 0x7200;
    d.product = "USB Optical Mouse";
    d.hidName = "Logitech USB Optical Mouse";
    d.descriptor = kMouseDescriptor;
    d.usecInitialized = "5550000";
    return d;
}

bool becomesReadable(int fd, int timeoutMs = 5000) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) == 1 && (p.revents & POLLIN) != 0;
}

std::vector<std::uint8_t> report(std::uint8_t first, std::size_t size) {
    std::vector<std::uint8_t> r(size);
    for (std::size_t i = 0; i < size; ++i) {
        r[i] = static_cast<std::uint8_t>(first + i);
    }
    return r;
}

class HidrawBackendTest : public ::testing::Test {
protected:
    std::ostringstream diagnostics;
    std::unique_ptr<FakeHidraw> fake = std::make_unique<FakeHidraw>();
    std::unique_ptr<HidrawBackend> backend = HidrawBackend::create(diagnostics);
};

TEST_F(HidrawBackendTest, ListsNodesWithStableDistinctIdentities) {
    fake->add(unit(0));
    fake->add(mouse(1));
    ASSERT_NE(backend, nullptr);

    const auto first = backend->enumerate();
    ASSERT_EQ(first.size(), 2U);
    std::set<std::string> paths;
    for (const auto& info : first) {
        paths.insert(info.path);
        EXPECT_NE(info.id, 0U);
    }
    EXPECT_EQ(paths, (std::set<std::string>{"/dev/hidraw0", "/dev/hidraw1"}));
    EXPECT_NE(first[0].id, first[1].id);

    const auto second = backend->enumerate();
    ASSERT_EQ(second.size(), 2U);
    EXPECT_EQ(second[0].id, first[0].id);
    EXPECT_EQ(second[0].path, first[0].path);
    EXPECT_EQ(second[1].id, first[1].id);
}

TEST_F(HidrawBackendTest, IdentifiesUsbInterfaceWithoutAccess) {
    fake->add(unit(0));
    auto handle = backend->open("/dev/hidraw0", Access::None);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->access(), Access::None);

    Attributes attributes;
    ASSERT_TRUE(handle->attributes(attributes));
    EXPECT_EQ(attributes.vendorId, 0x0483);
    EXPECT_EQ(attributes.productId, 0x5750);
    EXPECT_EQ(attributes.versionNumber, 0x0200);

    // The USB product string, not HID_NAME (which the kernel prefixes with the maker).
    std::u16string product;
    ASSERT_TRUE(handle->productString(product));
    EXPECT_EQ(product, u"Zorvat Bix");

    ReportLengths lengths;
    ASSERT_TRUE(handle->reportLengths(lengths));
    EXPECT_EQ(lengths.input, 65);
    EXPECT_EQ(lengths.output, 65);

    // Identification only: no report I/O, and nothing reaches the device.
    const auto out = report(1, 65);
    std::size_t written = 99;
    EXPECT_FALSE(handle->write(out.data(), out.size(), written));
    EXPECT_EQ(written, 0U);
    std::array<std::uint8_t, 65> in{};
    EXPECT_EQ(handle->read(in.data(), in.size(), 10).status, ReadStatus::Error);
    handle->cancelRead();
    EXPECT_EQ(handle->read(in.data(), in.size(), 10).status, ReadStatus::Cancelled);
}

TEST_F(HidrawBackendTest, NamesDevicesOffUsbByHidNameAndMouseDescriptorSurvivesNulBytes) {
    FakeDevice bluetooth = mouse(0);
    bluetooth.usb = false;
    fake->add(bluetooth);
    fake->add(mouse(1));

    auto bt = backend->open("/dev/hidraw0", Access::None);
    ASSERT_NE(bt, nullptr);
    std::u16string product;
    ASSERT_TRUE(bt->productString(product));
    EXPECT_EQ(product, u"Logitech USB Optical Mouse");
    Attributes attributes;
    ASSERT_TRUE(bt->attributes(attributes));
    EXPECT_EQ(attributes.vendorId, 0x046D);
    EXPECT_EQ(attributes.productId, 0xC077);
    EXPECT_EQ(attributes.versionNumber, 0);  // no USB device descriptor to take it from

    auto usb = backend->open("/dev/hidraw1", Access::None);
    ASSERT_NE(usb, nullptr);
    ReportLengths lengths;
    ASSERT_TRUE(usb->reportLengths(lengths));
    EXPECT_EQ(lengths.input, 4);
    EXPECT_EQ(lengths.output, 0);
}

TEST_F(HidrawBackendTest, UsbDeviceWithoutProductStringHasNone) {
    FakeDevice d = unit(0);
    d.product.clear();
    fake->add(d);
    auto handle = backend->open("/dev/hidraw0", Access::None);
    ASSERT_NE(handle, nullptr);
    std::u16string product;
    EXPECT_FALSE(handle->productString(product));
}

TEST_F(HidrawBackendTest, OpenOfUnknownPathFails) {
    fake->add(unit(0));
    std::uint32_t error = 0;
    EXPECT_EQ(backend->open("/dev/hidraw7", Access::None, &error), nullptr);
    EXPECT_EQ(error, static_cast<std::uint32_t>(ENOENT));
    EXPECT_EQ(backend->open("/dev/null", Access::ReadWrite, &error), nullptr);
}

TEST_F(HidrawBackendTest, IdentityChangesWhenReattachedAtTheSameNode) {
    // udev stamps every attach with its initialisation time; without it, sysfs' own inode.
    for (const bool withUdevStamp : {true, false}) {
        SCOPED_TRACE(withUdevStamp ? "USEC_INITIALIZED" : "sysfs inode");
        FakeDevice before = unit(0);
        FakeDevice after = unit(0);
        if (withUdevStamp) {
            after.usecInitialized = "99000000";
        } else {
            before.usecInitialized.clear();
            after.usecInitialized.clear();
        }
        fake.reset();  // one testbed at a time
        fake = std::make_unique<FakeHidraw>();
        fake->add(before);
        const auto attached = backend->enumerate();
        ASSERT_EQ(attached.size(), 1U);
        EXPECT_EQ(backend->enumerate().at(0).id, attached[0].id);

        fake->remove(before);
        EXPECT_TRUE(backend->enumerate().empty());
        // hidraw0 is reused; a node of the same name cannot be re-added to one testbed.
        fake.reset();  // one testbed at a time
        fake = std::make_unique<FakeHidraw>();
        fake->add(after);
        const auto reattached = backend->enumerate();
        ASSERT_EQ(reattached.size(), 1U);
        EXPECT_EQ(reattached[0].path, attached[0].path);
        EXPECT_NE(reattached[0].id, attached[0].id);
    }
}

TEST_F(HidrawBackendTest, MonitorSignalsAddAndRemoveOnce) {
    ASSERT_GE(backend->changeDescriptor(), 0);
    int changes = 0;
    backend->setChangeHandler([&changes] { ++changes; });

    const FakeDevice d = unit(0);
    fake->add(d);
    ASSERT_TRUE(becomesReadable(backend->changeDescriptor()));
    backend->dispatchChanges();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(backend->enumerate().size(), 1U);

    // Drained: nothing pending, and a dispatch without events signals nothing.
    EXPECT_FALSE(becomesReadable(backend->changeDescriptor(), 0));
    backend->dispatchChanges();
    EXPECT_EQ(changes, 1);

    fake->remove(d);
    ASSERT_TRUE(becomesReadable(backend->changeDescriptor()));
    backend->dispatchChanges();
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(backend->enumerate().empty());
}

TEST_F(HidrawBackendTest, WritesAndReadsWholeReports) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> descriptor;
        std::vector<std::uint8_t> deviceReport;    // as the node delivers it
        std::vector<std::uint8_t> expectedReport;  // as read() gives it: report ID first
    };
    const std::vector<Case> cases = {
        {"numbered", kNumberedDescriptor, report(1, 65), report(1, 65)},
        {"unnumbered", kUnnumberedDescriptor, report(7, 64),
         [] {
             auto r = report(7, 64);
             r.insert(r.begin(), 0);
             return r;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.reset();  // one testbed at a time
        fake = std::make_unique<FakeHidraw>();
        FakeDevice d = unit(0);
        d.descriptor = c.descriptor;
        fake->add(d);
        auto& node = fake->node(d);
        auto handle = backend->open("/dev/hidraw0", Access::ReadWrite);
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(handle->access(), Access::ReadWrite);

        // Two writes stay two reports; byte 0 is the report ID the caller put there.
        const auto first = report(1, 65);
        const auto second = report(50, 65);
        std::size_t written = 0;
        ASSERT_TRUE(handle->write(first.data(), first.size(), written));
        EXPECT_EQ(written, 65U);
        ASSERT_TRUE(handle->write(second.data(), second.size(), written));
        EXPECT_EQ(node.written(), (std::vector<std::vector<std::uint8_t>>{first, second}));

        node.queueReport(c.deviceReport);
        node.queueReport(c.deviceReport);
        std::array<std::uint8_t, 65> in{};
        for (int i = 0; i < 2; ++i) {
            const ReadResult r = handle->read(in.data(), in.size(), 2000);
            ASSERT_EQ(r.status, ReadStatus::Data);
            EXPECT_EQ(std::vector<std::uint8_t>(in.begin(), in.begin() + r.bytes),
                      c.expectedReport);
        }
        EXPECT_EQ(handle->read(in.data(), in.size(), 20).status, ReadStatus::Timeout);

        // A report longer than the buffer is cut.
        node.queueReport(c.deviceReport);
        std::array<std::uint8_t, 8> small{};
        const ReadResult cut = handle->read(small.data(), small.size(), 2000);
        ASSERT_EQ(cut.status, ReadStatus::Data);
        EXPECT_EQ(
            std::vector<std::uint8_t>(small.begin(), small.end()),
            std::vector<std::uint8_t>(c.expectedReport.begin(), c.expectedReport.begin() + 8));
    }
}

TEST_F(HidrawBackendTest, UnplugEndsPendingReadWithoutDataAndWithoutSpinning) {
    const FakeDevice d = unit(0);
    fake->add(d);
    auto& node = fake->node(d);
    auto handle = backend->open("/dev/hidraw0", Access::ReadWrite);
    ASSERT_NE(handle, nullptr);

    // A report queued before the unplug still arrives.
    node.queueReport(report(1, 65));
    std::array<std::uint8_t, 65> in{};
    ASSERT_EQ(handle->read(in.data(), in.size(), 2000).status, ReadStatus::Data);

    std::thread unplugger([&node] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        node.unplug();
    });
    const ReadResult r = handle->read(in.data(), in.size(), -1);
    unplugger.join();
    EXPECT_EQ(r.status, ReadStatus::Gone);
    EXPECT_EQ(r.bytes, 0U);

    // Every later read ends at once, without touching the node again.
    const int callsAfterUnplug = node.readCalls();
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(handle->read(in.data(), in.size(), -1).status, ReadStatus::Gone);
    }
    EXPECT_EQ(node.readCalls(), callsAfterUnplug);

    const auto out = report(1, 65);
    std::size_t written = 0;
    EXPECT_FALSE(handle->write(out.data(), out.size(), written));
}

// Root opens any file; drop that privilege from this thread so that file modes count.
class WithoutDacOverride {
public:
    WithoutDacOverride() {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        if (::syscall(SYS_capget, &header, saved_.data()) != 0) {
            return;
        }
        auto reduced = saved_;
        for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
            reduced[0].effective &= ~(1U << static_cast<unsigned>(cap));
        }
        active_ = ::syscall(SYS_capset, &header, reduced.data()) == 0;
    }
    ~WithoutDacOverride() {
        if (active_) {
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            ::syscall(SYS_capset, &header, saved_.data());
        }
    }
    WithoutDacOverride(const WithoutDacOverride&) = delete;
    WithoutDacOverride& operator=(const WithoutDacOverride&) = delete;

private:
    std::array<__user_cap_data_struct, 2> saved_{};
    bool active_ = false;
};

// True when an open of `file` for writing is refused, as it is for a user without the rule.
bool refusedWithoutAccess(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    return errno == EACCES;
}

TEST_F(HidrawBackendTest, RefusedOpenTellsOnceAboutTheRuleAndStillIdentifies) {
    fake->add(unit(0));
    fake->add(mouse(1));
    // Owned by someone else with mode 0600, as a node looks without the rule.
    for (const FakeDevice& d : {unit(0), mouse(1)}) {
        const std::string file = fake->nodeFile(d);
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    }
    const WithoutDacOverride unprivileged;
    if (getuid() != 65534 && !refusedWithoutAccess(fake->nodeFile(unit(0)))) {
        GTEST_SKIP() << "this process opens any file (privileges cannot be dropped)";
    }

    for (int attempt = 0; attempt < 3; ++attempt) {
        std::uint32_t error = 0;
        EXPECT_EQ(backend->open("/dev/hidraw0", Access::ReadWrite, &error), nullptr);
        EXPECT_EQ(error, static_cast<std::uint32_t>(EACCES));
        EXPECT_EQ(backend->open("/dev/hidraw1", Access::ReadWrite, &error), nullptr);
    }
    // One line, for the unit only, naming the rule and how to install it.
    const std::string text = diagnostics.str();
    EXPECT_EQ(text, permissionNoticeText("/dev/hidraw0") + "\n");
    EXPECT_NE(text.find("70-quillo-config.rules"), std::string::npos);
    EXPECT_NE(text.find("udevadm trigger"), std::string::npos);

    // The no-access path still lists and names the unit.
    auto handle = backend->open("/dev/hidraw0", Access::None);
    ASSERT_NE(handle, nullptr);
    std::u16string product;
    ASSERT_TRUE(handle->productString(product));
    EXPECT_EQ(product, u"Zorvat Bix");
}

// Plugging in: a unit's node whose seat access is still on its way is held back from the list
// and looked at again from the event loop; nothing sleeps, and other devices are never held back.
// Gives the nodes of these devices to another user, so that this process may not open them.
void withoutAccess(FakeHidraw& fake, std::initializer_list<FakeDevice> devices) {
    for (const FakeDevice& d : devices) {
        fake.add(d);
        const std::string file = fake.nodeFile(d);
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    }
}

std::set<std::string> listedPaths(HidrawBackend& backend) {
    std::set<std::string> listed;
    for (const InterfaceInfo& info : backend.enumerate()) {
        listed.insert(info.path);
    }
    return listed;
}

TEST_F(HidrawBackendTest, AFreshUnitNodeWithoutAccessIsListedWhenAccessArrivesWithoutSleeping) {
    // A window far longer than the test: whatever the machine's speed, both units stay fresh.
    backend = HidrawBackend::create(diagnostics, std::chrono::minutes(10));
    int changes = 0;
    backend->setChangeHandler([&changes] { ++changes; });
    const FakeDevice late = unit(0);
    const FakeDevice other = mouse(1);
    const FakeDevice never = unit(2);
    withoutAccess(*fake, {late, other, never});
    while (becomesReadable(backend->changeDescriptor(), 200)) {
        backend->dispatchChanges();
    }
    const WithoutDacOverride unprivileged;
    if (!refusedWithoutAccess(fake->nodeFile(late))) {
        GTEST_SKIP() << "this process opens any file (privileges cannot be dropped)";
    }

    // Only the units are held back; the scan and the refused opens try once and return (the
    // old code slept 10 x 25 ms per node on the main thread).
    EXPECT_EQ(listedPaths(*backend), std::set<std::string>{"/dev/hidraw1"});
    std::uint32_t error = 0;
    EXPECT_EQ(backend->open("/dev/hidraw1", Access::ReadWrite, &error), nullptr);
    EXPECT_EQ(error, static_cast<std::uint32_t>(EACCES));
    EXPECT_EQ(backend->open("/dev/hidraw0", Access::ReadWrite), nullptr);

    // Access arrives for one unit: a retry tick of the change descriptor rescans, and it is
    // listed and opens; the other unit still waits.
    const std::string file = fake->nodeFile(late);
    std::thread seat([&file] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        [[maybe_unused]] const int ignored = ::chown(file.c_str(), 0, 0);
    });
    const int before = changes;
    std::set<std::string> listed;
    for (int i = 0; i < 200 && listed.size() < 2; ++i) {
        if (becomesReadable(backend->changeDescriptor(), 100)) {
            backend->dispatchChanges();
            listed = listedPaths(*backend);
        }
    }
    seat.join();
    EXPECT_EQ(listed, (std::set<std::string>{"/dev/hidraw0", "/dev/hidraw1"}));
    EXPECT_GT(changes, before);
    const auto handle = backend->open("/dev/hidraw0", Access::ReadWrite, &error);
    EXPECT_NE(handle, nullptr) << "error " << error;
}

TEST_F(HidrawBackendTest, AUnitNodeThatNeverGetsAccessIsListedOnceItsAddIsNoLongerFresh) {
    backend = HidrawBackend::create(diagnostics, std::chrono::milliseconds(300));
    const FakeDevice never = unit(0);
    withoutAccess(*fake, {never});
    const WithoutDacOverride unprivileged;
    if (!refusedWithoutAccess(fake->nodeFile(never))) {
        GTEST_SKIP() << "this process opens any file (privileges cannot be dropped)";
    }
    std::set<std::string> listed;
    for (int i = 0; i < 200 && listed.empty(); ++i) {
        if (becomesReadable(backend->changeDescriptor(), 100)) {
            backend->dispatchChanges();
            listed = listedPaths(*backend);
        }
    }
    EXPECT_EQ(listed, std::set<std::string>{"/dev/hidraw0"});
    std::uint32_t error = 0;
    EXPECT_EQ(backend->open("/dev/hidraw0", Access::ReadWrite, &error), nullptr);
    EXPECT_EQ(error, static_cast<std::uint32_t>(EACCES));
    // No unit waits any more: the ticks have ended.
    EXPECT_FALSE(becomesReadable(backend->changeDescriptor(), 100));
}

}  // namespace
}  // namespace quillo::hid::platform
