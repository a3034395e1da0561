#include "hid/platform/linux/hidraw_node.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <thread>
#include <vector>

namespace quillo::hid::platform {
namespace {

// The device end of a SOCK_SEQPACKET pair: message boundaries hold, as on a hidraw node.
class NodeOverSocket : public ::testing::Test {
protected:
    void open(bool numbered) {
        std::array<int, 2> fds{};
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds.data()), 0);
        node = std::make_unique<HidrawNode>(fds[0], numbered);
        device = fds[1];
        ASSERT_TRUE(node->valid());
    }
    void TearDown() override { unplug(); }

    void send(const std::vector<std::uint8_t>& report) const {
        ASSERT_EQ(::write(device, report.data(), report.size()),
                  static_cast<ssize_t>(report.size()));
    }
    std::vector<std::uint8_t> receive() const {
        std::vector<std::uint8_t> buffer(256);
        const ssize_t n = ::recv(device, buffer.data(), buffer.size(), MSG_DONTWAIT);
        buffer.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
        return buffer;
    }
    void unplug() {
        if (device >= 0) {
            ::close(device);
            device = -1;
        }
    }

    std::unique_ptr<HidrawNode> node;
    int device = -1;
};

std::vector<std::uint8_t> report(std::uint8_t id, std::size_t size) {
    std::vector<std::uint8_t> r(size, 0xA5);
    r[0] = id;
    return r;
}

TEST_F(NodeOverSocket, WriteSendsOneReportPerCall) {
    open(true);
    const auto out = report(1, 65);
    std::size_t written = 0;
    ASSERT_TRUE(node->write(out.data(), out.size(), written));
    EXPECT_EQ(written, 65U);
    ASSERT_TRUE(node->write(out.data(), 3, written));
    EXPECT_EQ(receive(), out);
    EXPECT_EQ(receive().size(), 3U);

    EXPECT_FALSE(node->write(out.data(), 0, written));
    EXPECT_EQ(written, 0U);
}

TEST_F(NodeOverSocket, ReadGivesReportIdFirst) {
    struct Case {
        bool numbered;
        std::vector<std::uint8_t> sent;
        std::size_t bufferSize;
        std::vector<std::uint8_t> expected;
    };
    const std::vector<Case> cases = {
        {true, {1, 10, 20, 30}, 65, {1, 10, 20, 30}},
        {false, {10, 20, 30}, 65, {0, 10, 20, 30}},
        {true, {1, 10, 20, 30}, 2, {1, 10}},  // cut to the buffer
        {false, {10, 20, 30}, 2, {0, 10}},    // cut behind the added ID byte
        {false, {10, 20, 30}, 1, {0}},        // only the ID byte fits; the report is consumed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.sent) + " into " + std::to_string(c.bufferSize));
        unplug();
        open(c.numbered);
        send(c.sent);
        std::vector<std::uint8_t> buffer(c.bufferSize, 0xEE);
        const ReadResult r = node->read(buffer.data(), buffer.size(), 1000);
        ASSERT_EQ(r.status, ReadStatus::Data);
        buffer.resize(r.bytes);
        EXPECT_EQ(buffer, c.expected);
        EXPECT_EQ(node->read(buffer.data(), c.bufferSize, 0).status, ReadStatus::Timeout);
    }
}

TEST_F(NodeOverSocket, ReadWaitsForItsTimeout) {
    open(true);
    std::array<std::uint8_t, 65> in{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(node->read(in.data(), in.size(), 30).status, ReadStatus::Timeout);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

TEST_F(NodeOverSocket, QueuedReportsDrainBeforeUnplugShows) {
    open(true);
    send(report(1, 65));
    send(report(2, 65));
    unplug();
    std::array<std::uint8_t, 65> in{};
    EXPECT_EQ(node->read(in.data(), in.size(), 1000).status, ReadStatus::Data);
    EXPECT_EQ(in[0], 1);
    EXPECT_EQ(node->read(in.data(), in.size(), 1000).status, ReadStatus::Data);
    EXPECT_EQ(in[0], 2);
    EXPECT_EQ(node->read(in.data(), in.size(), -1).status, ReadStatus::Gone);
    // Sticky: a reader that goes on calling gets Gone at once instead of a hang or a spin.
    EXPECT_EQ(node->read(in.data(), in.size(), -1).status, ReadStatus::Gone);
    const auto out = report(1, 65);
    std::size_t written = 0;
    EXPECT_FALSE(node->write(out.data(), out.size(), written));
}

TEST_F(NodeOverSocket, UnplugEndsWaitingRead) {
    open(false);
    std::thread unplugger([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        unplug();
    });
    std::array<std::uint8_t, 65> in{};
    const ReadResult r = node->read(in.data(), in.size(), -1);
    unplugger.join();
    EXPECT_EQ(r.status, ReadStatus::Gone);
    EXPECT_EQ(r.bytes, 0U);
}

TEST_F(NodeOverSocket, CancelWakesWaitingReadAndStaysCancelled) {
    open(true);
    std::array<std::uint8_t, 65> in{};
    ReadResult r;
    std::thread reader([&] { r = node->read(in.data(), in.size(), -1); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    node->cancelRead();
    reader.join();  // without the wake-up this never returns
    EXPECT_EQ(r.status, ReadStatus::Cancelled);

    // Later reads return at once, even with a report waiting.
    send(report(1, 65));
    EXPECT_EQ(node->read(in.data(), in.size(), -1).status, ReadStatus::Cancelled);
}

// The reader waits for the device while the last report is still being handled: the wait must
// take nothing, and end for everything after which a read would not wait.
TEST_F(NodeOverSocket, WaitReadableTakesNothing) {
    open(true);
    EXPECT_EQ(node->waitReadable(20).status, ReadStatus::Timeout);
    send(report(1, 65));
    send(report(2, 65));
    for (int i = 0; i < 2; ++i) {
        const ReadResult r = node->waitReadable(-1);
        EXPECT_EQ(r.status, ReadStatus::Data);
        EXPECT_EQ(r.bytes, 0U);
    }
    std::array<std::uint8_t, 65> in{};
    ASSERT_EQ(node->read(in.data(), in.size(), 0).status, ReadStatus::Data);
    EXPECT_EQ(in[0], 1);
    unplug();
    ASSERT_EQ(node->read(in.data(), in.size(), 0).status, ReadStatus::Data);
    EXPECT_EQ(in[0], 2);
    // Unplugged: the wait ends at once and the read tells why.
    EXPECT_EQ(node->waitReadable(-1).status, ReadStatus::Data);
    EXPECT_EQ(node->read(in.data(), in.size(), -1).status, ReadStatus::Gone);
    EXPECT_EQ(node->waitReadable(-1).status, ReadStatus::Data);
}

TEST_F(NodeOverSocket, CancelWakesWaitReadable) {
    open(true);
    ReadResult r;
    std::thread waiter([&] { r = node->waitReadable(-1); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    node->cancelRead();
    waiter.join();
    EXPECT_EQ(r.status, ReadStatus::Cancelled);
    send(report(1, 65));
    EXPECT_EQ(node->waitReadable(-1).status, ReadStatus::Cancelled);
}

TEST_F(NodeOverSocket, CancelBeforeReadReturnsAtOnce) {
    open(true);
    node->cancelRead();
    std::array<std::uint8_t, 65> in{};
    EXPECT_EQ(node->read(in.data(), in.size(), -1).status, ReadStatus::Cancelled);
}

}  // namespace
}  // namespace quillo::hid::platform
