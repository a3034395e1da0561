#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "hid/platform/hid_backend.h"
#include "hid/platform/windows/hid_library.h"
#include "hid/platform/windows/win32_headers.h"
#include "hid/platform/windows/windows_backend.h"
#include "wine_devices.h"

namespace quillo::hid::platform {
namespace {

using test::findWineDevice;
using test::kWineKeyboard;
using test::kWineMouse;
using test::WineDevice;
using win::HidLibrary;

struct LibraryNames {
    const wchar_t* setupApi;
    const wchar_t* hid;
    bool available;
};

// The layer is usable only when both libraries and every function bound from them are there.
TEST(HidLibraryTest, BindsOnlyWhenBothLibrariesAreComplete) {
    const LibraryNames cases[] = {
        {L"SetupApi.dll", L"HID.dll", true},
        {L"quillo_missing_setupapi.dll", L"HID.dll", false},
        {L"SetupApi.dll", L"quillo_missing_hid.dll", false},
        {L"kernel32.dll", L"HID.dll", false},       // no SetupDi functions
        {L"SetupApi.dll", L"kernel32.dll", false},  // no HidD functions
    };
    for (const LibraryNames& names : cases) {
        const auto library = HidLibrary::load(names.setupApi, names.hid);
        EXPECT_EQ(library != nullptr, names.available)
            << std::string(names.setupApi, names.setupApi + wcslen(names.setupApi)) << " + "
            << std::string(names.hid, names.hid + wcslen(names.hid));
    }
}

class WindowsBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = createSystemBackend();
        ASSERT_NE(backend_, nullptr) << "SetupAPI and HID.dll are part of every wine prefix";
    }

    std::unique_ptr<Backend> backend_;
};

TEST_F(WindowsBackendTest, ListsPresentInterfacesStably) {
    const auto first = backend_->enumerate();
    const auto second = backend_->enumerate();
    ASSERT_GE(first.size(), 2U);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].id, second[i].id);
        EXPECT_EQ(first[i].path, second[i].path);
        // Device interface paths of the HID class, as UTF-8.
        EXPECT_EQ(first[i].path.rfind(R"(\\?\hid#)", 0), 0U) << first[i].path;
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_NE(first[i].id, first[j].id);
        }
    }
    EXPECT_TRUE(findWineDevice(*backend_, kWineMouse));
    EXPECT_TRUE(findWineDevice(*backend_, kWineKeyboard));
}

// Wine numbers the device nodes of each listing anew, from the lowest number no open listing
// holds: with another listing open, every node gets another number. The identity stays.
TEST_F(WindowsBackendTest, IdentityStaysWhileAnotherListingIsOpen) {
    const auto before = backend_->enumerate();
    const auto library = HidLibrary::load();
    ASSERT_NE(library, nullptr);
    GUID hidClass{};
    library->getHidGuid(&hidClass);
    HDEVINFO other =
        library->getClassDevs(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const auto during = backend_->enumerate();
    library->destroyDeviceInfoList(other);
    ASSERT_EQ(before.size(), during.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].path, during[i].path);
        EXPECT_EQ(before[i].id, during[i].id) << before[i].path;
    }
}

// What the system sends when an interface is removed: its path, here in upper case as wine
// writes it, in a record sized to hold it.
std::vector<std::uint64_t> removalNotice(const std::string& path) {
    const std::size_t nameAt = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    const std::size_t size = nameAt + (path.size() + 1) * sizeof(wchar_t);
    std::vector<std::uint64_t> storage((size + 7) / 8 + 1, 0);
    auto* notice = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(storage.data());
    notice->dbcc_size = static_cast<DWORD>(std::max(size, sizeof(*notice)));
    notice->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    const auto library = HidLibrary::load();
    library->getHidGuid(&notice->dbcc_classguid);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        notice->dbcc_name[i] = static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return storage;
}

// An interface unplugged and plugged back under the same path is another device for the
// component: its identity changes with each removal the system reports, the others' stay.
TEST_F(WindowsBackendTest, AnInterfaceReportedRemovedGetsANewIdentity) {
    const auto mouse = findWineDevice(*backend_, kWineMouse);
    const auto keyboard = findWineDevice(*backend_, kWineKeyboard);
    ASSERT_TRUE(mouse && keyboard);
    const HWND window = dynamic_cast<win::WindowsBackend&>(*backend_).changeWindow();
    ASSERT_NE(window, nullptr);
    std::vector<std::uint64_t> seen{mouse->id};
    for (int removal = 1; removal <= 2; ++removal) {
        auto notice = removalNotice(mouse->path);
        SendMessageW(window, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                     reinterpret_cast<LPARAM>(notice.data()));
        const auto mouseNow = findWineDevice(*backend_, kWineMouse);
        ASSERT_TRUE(mouseNow);
        for (const std::uint64_t id : seen) {
            EXPECT_NE(mouseNow->id, id) << "removal " << removal;
        }
        seen.push_back(mouseNow->id);
        EXPECT_EQ(findWineDevice(*backend_, kWineKeyboard)->id, keyboard->id);
    }
}

TEST_F(WindowsBackendTest, OpenFailsWithTheSystemError) {
    std::uint32_t error = 0;
    EXPECT_EQ(backend_->open(
                  R"(\\?\hid#vid_0483&pid_5750#nothing#{4d1e55b2-f16f-11cf-88cb-001111000030})",
                  Access::ReadWrite, &error),
              nullptr);
    EXPECT_NE(error, 0U);

    error = 0;
    EXPECT_EQ(backend_->open("\xff\xfe", Access::None, &error), nullptr) << "not UTF-8";
    EXPECT_EQ(error, static_cast<std::uint32_t>(ERROR_INVALID_NAME));

    EXPECT_EQ(backend_->open("", Access::None), nullptr) << "no error pointer is fine";
}

class WineDeviceTest : public WindowsBackendTest,
                       public ::testing::WithParamInterface<std::tuple<WineDevice, Access>> {};

TEST_P(WineDeviceTest, IdentifiesTheDevice) {
    const auto& [device, access] = GetParam();
    const auto info = findWineDevice(*backend_, device);
    ASSERT_TRUE(info);
    std::uint32_t error = 0;
    const auto handle = backend_->open(info->path, access, &error);
    ASSERT_NE(handle, nullptr) << "error " << error;
    EXPECT_EQ(handle->access(), access);

    Attributes attributes;
    ASSERT_TRUE(handle->attributes(attributes));
    EXPECT_EQ(attributes.vendorId, device.vendorId);
    EXPECT_EQ(attributes.productId, device.productId);

    std::u16string product = u"stale";
    ASSERT_TRUE(handle->productString(product));
    EXPECT_EQ(product, device.product);

    ReportLengths lengths;
    ASSERT_TRUE(handle->reportLengths(lengths));
    EXPECT_EQ(lengths.input, device.lengths.input);
    EXPECT_EQ(lengths.output, device.lengths.output);
}

INSTANTIATE_TEST_SUITE_P(WineDevices, WineDeviceTest,
                         ::testing::Combine(::testing::Values(kWineMouse, kWineKeyboard),
                                            ::testing::Values(Access::None, Access::ReadWrite)));

class WineKeyboardTest : public WindowsBackendTest {
protected:
    std::unique_ptr<Handle> open(Access access) {
        const auto info = findWineDevice(*backend_, kWineKeyboard);
        if (!info) {
            ADD_FAILURE() << "no wine keyboard";
            return nullptr;
        }
        return backend_->open(info->path, access);
    }

    // Room for the keyboard's whole input report and more.
    std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(64, 0xAA);
};

TEST_F(WineKeyboardTest, ReadTimesOutAndCanBeRepeated) {
    const auto handle = open(Access::ReadWrite);
    ASSERT_NE(handle, nullptr);
    // Wine's keyboard sends no reports: each read waits out its time and leaves nothing pending.
    for (int timeoutMs : {0, 50, 50}) {
        const ReadResult result = handle->read(buffer_.data(), buffer_.size(), timeoutMs);
        EXPECT_EQ(result.status, ReadStatus::Timeout) << "timeout " << timeoutMs;
        EXPECT_EQ(result.bytes, 0U);
    }
    // A buffer smaller than the report is the caller's choice; the read still works.
    EXPECT_EQ(handle->read(buffer_.data(), 4, 20).status, ReadStatus::Timeout);
    EXPECT_EQ(buffer_[0], 0xAA) << "nothing copied without a report";
}

TEST_F(WineKeyboardTest, CancelIsStickyAndNeedsNoWait) {
    const auto handle = open(Access::ReadWrite);
    ASSERT_NE(handle, nullptr);
    handle->cancelRead();
    // Were the cancel lost, these reads would wait their full time and report Timeout.
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(handle->read(buffer_.data(), buffer_.size(), 30000).status,
                  ReadStatus::Cancelled);
    }
}

TEST_F(WineKeyboardTest, ZeroAccessHandleNeitherReadsNorWrites) {
    const auto handle = open(Access::None);
    ASSERT_NE(handle, nullptr);
    const ReadResult result = handle->read(buffer_.data(), buffer_.size(), 30000);
    EXPECT_EQ(result.status, ReadStatus::Error);
    EXPECT_EQ(result.error, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));

    const std::uint8_t report[2] = {0, 1};
    std::size_t written = 99;
    EXPECT_FALSE(handle->write(report, sizeof(report), written));
    EXPECT_EQ(written, 0U);
}

TEST_F(WineKeyboardTest, WriteReportsTheSystemsRefusal) {
    // The keyboard has no output report, so the system refuses any write.
    const auto handle = open(Access::ReadWrite);
    ASSERT_NE(handle, nullptr);
    const std::uint8_t report[2] = {0, 1};
    std::size_t written = 99;
    EXPECT_FALSE(handle->write(report, sizeof(report), written));
    EXPECT_EQ(written, 0U);
}

}  // namespace
}  // namespace quillo::hid::platform
