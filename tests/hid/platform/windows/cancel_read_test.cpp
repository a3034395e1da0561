#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "hid/platform/hid_backend.h"
#include "wine_devices.h"

namespace quillo::hid::platform {
namespace {

// Both ways of waiting for a report end at once on a cancel from another thread.
TEST(CancelReadTest, WakesAPendingReadFromAnotherThread) {
    const auto backend = createSystemBackend();
    ASSERT_NE(backend, nullptr);
    const auto info = test::findWineDevice(*backend, test::kWineKeyboard);
    ASSERT_TRUE(info);
    for (const bool waitOnly : {false, true}) {
        SCOPED_TRACE(waitOnly ? "waitReadable" : "read");
        const auto handle = backend->open(info->path, Access::ReadWrite);
        ASSERT_NE(handle, nullptr);

        std::promise<void> started;
        auto reader = std::async(std::launch::async, [&] {
            std::uint8_t buffer[64];
            started.set_value();
            // Wine's keyboard sends nothing: only the cancel can end this wait before its time.
            return waitOnly ? handle->waitReadable(60000)
                            : handle->read(buffer, sizeof(buffer), 60000);
        });
        started.get_future().wait();
        // Give the read time to be pending; a cancel that comes earlier must win as well.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        handle->cancelRead();

        const ReadResult result = reader.get();
        EXPECT_EQ(result.status, ReadStatus::Cancelled);
        EXPECT_EQ(result.bytes, 0U);
    }
}

}  // namespace
}  // namespace quillo::hid::platform
