#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "hid/platform/hid_backend.h"
#include "hid/platform/windows/win32_headers.h"

namespace quillo::hid::platform {
namespace {

// A stand-in for a HID interface that queues input as the HID class does: every handle opened on
// its path connects to a pipe instance of its own, and a report the device sends reaches only
// the instances connected at that moment. (Wine's own HID devices never send a report.)
class PipeDevice {
public:
    explicit PipeDevice(int instances) {
        for (int i = 0; i < instances; ++i) {
            Instance instance;
            instance.pipe = CreateNamedPipeA(kPath, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                             PIPE_TYPE_MESSAGE | PIPE_WAIT,
                                             PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
            instance.connected = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            instance.connect.hEvent = instance.connected;
            if (ConnectNamedPipe(instance.pipe, &instance.connect) == FALSE &&
                GetLastError() == ERROR_PIPE_CONNECTED) {
                SetEvent(instance.connected);
            }
            instances_.push_back(instance);
        }
    }
    PipeDevice(const PipeDevice&) = delete;
    PipeDevice& operator=(const PipeDevice&) = delete;
    ~PipeDevice() {
        for (const Instance& instance : instances_) {
            CancelIo(instance.pipe);
            CloseHandle(instance.pipe);
            CloseHandle(instance.connected);
        }
    }

    static constexpr const char* kPath = R"(\\.\pipe\quillo-early-report)";

    // Sends one input report; the number of handles it reached.
    int send(const std::vector<std::uint8_t>& report) {
        int reached = 0;
        for (const Instance& instance : instances_) {
            if (WaitForSingleObject(instance.connected, 0) != WAIT_OBJECT_0) {
                continue;
            }
            OVERLAPPED write{};
            write.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            DWORD written = 0;
            if ((WriteFile(instance.pipe, report.data(), static_cast<DWORD>(report.size()), nullptr,
                           &write) != FALSE ||
                 GetLastError() == ERROR_IO_PENDING) &&
                GetOverlappedResult(instance.pipe, &write, &written, TRUE) != FALSE &&
                written == report.size()) {
                ++reached;
            }
            CloseHandle(write.hEvent);
        }
        return reached;
    }

private:
    struct Instance {
        HANDLE pipe = INVALID_HANDLE_VALUE;
        HANDLE connected = nullptr;
        OVERLAPPED connect{};
    };
    std::vector<Instance> instances_;
};

// The unit answers a question at once, before anyone has posted a read: the answer must wait in
// the handle's queue for the first read.
TEST(EarlyReportTest, AnAnswerThatComesBeforeTheFirstReadIsRead) {
    const auto backend = createSystemBackend();
    ASSERT_NE(backend, nullptr);
    PipeDevice device(3);
    const auto handle = backend->open(PipeDevice::kPath, Access::ReadWrite);
    ASSERT_NE(handle, nullptr);

    std::vector<std::uint8_t> question(65, 0);
    question[0] = 1;
    question[1] = 0x10;
    std::size_t written = 0;
    ASSERT_TRUE(handle->write(question.data(), question.size(), written));
    std::vector<std::uint8_t> answer(65, 0);
    answer[0] = 1;
    answer[1] = 0x17;
    answer[2] = 0x42;
    ASSERT_GE(device.send(answer), 1);

    std::array<std::uint8_t, 65> buffer{};
    const ReadResult result = handle->read(buffer.data(), buffer.size(), 2000);
    ASSERT_EQ(result.status, ReadStatus::Data) << "the answer went to no handle that reads";
    ASSERT_EQ(result.bytes, answer.size());
    EXPECT_TRUE(std::equal(answer.begin(), answer.end(), buffer.begin()));
}

}  // namespace
}  // namespace quillo::hid::platform
