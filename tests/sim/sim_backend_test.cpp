// The simulated backend: interfaces, handles, faults and the write record.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "sim/sim_backend.h"
#include "sim/sim_options.h"

namespace quillo::sim {
namespace {

using platform::Access;
using platform::ReadStatus;

TEST(SimBackendTest, PlugAndUnplugChangeTheListAndRaiseTheSignal) {
    SimBackend backend;
    int signals = 0;
    backend.setChangeHandler([&] { ++signals; });
    const std::string a = backend.plugUnit(Model::Solvi).path();
    const std::string b = backend.plugDevice(0x046d, 0xc52b, u"USB Receiver").path();
    auto list = backend.enumerate();
    ASSERT_EQ(list.size(), 2U);
    EXPECT_EQ(list[0].path, a);
    EXPECT_EQ(list[1].path, b);
    const std::uint64_t oldId = list[0].id;
    backend.unplug(a);
    EXPECT_EQ(signals, 3);
    EXPECT_EQ(backend.open(a, Access::None), nullptr);
    backend.plugUnit(Model::Solvi, false);
    EXPECT_EQ(signals, 3);
    EXPECT_NE(backend.enumerate().back().id, oldId);
}

TEST(SimBackendTest, OpenFaultsPerAccessMode) {
    SimBackend backend;
    SimInterface& iface = backend.plugUnit(Model::Pargo, false);
    struct Case {
        Faults faults;
        bool readWrite;
        bool none;
    };
    for (const Case& c : {Case{{}, true, true}, Case{{.refuseReadWrite = true}, false, true},
                          Case{{.refuseNoAccess = true}, true, false},
                          Case{{.refuseReadWrite = true, .refuseNoAccess = true}, false, false}}) {
        iface.setFaults(c.faults);
        std::uint32_t error = 0;
        EXPECT_EQ(backend.open(iface.path(), Access::ReadWrite, &error) != nullptr, c.readWrite);
        EXPECT_EQ(error, c.readWrite ? 0U : 5U);
        EXPECT_EQ(backend.open(iface.path(), Access::None) != nullptr, c.none);
    }
}

TEST(SimBackendTest, HandleReadsAnswersAndRecordsWrites) {
    SimBackend backend;
    SimInterface& iface = backend.plugUnit(Model::Solvi, false);
    auto handle = backend.open(iface.path(), Access::ReadWrite);
    platform::Attributes attributes;
    ASSERT_TRUE(handle->attributes(attributes));
    EXPECT_EQ(attributes.vendorId, 0x0483);
    EXPECT_EQ(attributes.productId, 0x5750);
    std::u16string product;
    ASSERT_TRUE(handle->productString(product));
    EXPECT_EQ(product, u"Zorvat");

    std::uint8_t request[65] = {1, 16, 1, 5};
    std::size_t written = 0;
    ASSERT_TRUE(handle->write(request, sizeof request, written));
    EXPECT_EQ(written, 65U);
    ASSERT_EQ(iface.writes().size(), 1U);
    EXPECT_EQ(iface.writes()[0], std::vector<std::uint8_t>(request, request + 65));

    std::uint8_t buffer[65];
    auto result = handle->read(buffer, sizeof buffer, 100);
    ASSERT_EQ(result.status, ReadStatus::Data);
    EXPECT_EQ(result.bytes, 65U);
    EXPECT_EQ(buffer[1], 5);
    EXPECT_EQ(handle->read(buffer, sizeof buffer, 1).status, ReadStatus::Timeout);

    // A no-access handle identifies but neither writes nor reads.
    auto none = backend.open(iface.path(), Access::None);
    EXPECT_FALSE(none->write(request, sizeof request, written));
    EXPECT_EQ(iface.writes().size(), 1U);
}

TEST(SimBackendTest, FaultsOnReadsAndAnswers) {
    SimBackend backend;
    SimInterface& iface = backend.plugUnit(Model::Solvi, false);
    auto handle = backend.open(iface.path(), Access::ReadWrite);
    std::uint8_t buffer[65];
    std::uint8_t request[65] = {1, 16, 1, 23};
    std::size_t written = 0;

    iface.setFaults(Faults{.zeroLengthReads = 1, .answerDelay = std::chrono::milliseconds(80)});
    auto result = handle->read(buffer, sizeof buffer, 10);
    EXPECT_EQ(result.status, ReadStatus::Data);
    EXPECT_EQ(result.bytes, 0U);
    ASSERT_TRUE(handle->write(request, sizeof request, written));
    EXPECT_EQ(handle->read(buffer, sizeof buffer, 10).status, ReadStatus::Timeout);
    result = handle->read(buffer, sizeof buffer, 2000);
    EXPECT_EQ(result.status, ReadStatus::Data);
    EXPECT_EQ(buffer[1], 23);

    iface.setFaults(Faults{.noAttributes = true, .noProductString = true});
    platform::Attributes attributes;
    std::u16string product;
    EXPECT_FALSE(handle->attributes(attributes));
    EXPECT_FALSE(handle->productString(product));

    // Other report lengths: answers are cut to the unit's input length.
    iface.setFaults(Faults{});
    iface.reportLengths = {20, 20};
    ASSERT_TRUE(handle->write(request, 20, written));
    result = handle->read(buffer, sizeof buffer, 100);
    EXPECT_EQ(result.bytes, 20U);

    // Counted faults hit that many times; garbage replaces every second answer (this unit has
    // answered twice so far); stray scan lines come unasked.
    iface.reportLengths = {65, 65};
    iface.setFaults(Faults{.readErrors = 1, .writeErrors = 1, .garbageEvery = 2});
    EXPECT_EQ(handle->read(buffer, sizeof buffer, 10).status, ReadStatus::Error);
    EXPECT_FALSE(handle->write(request, sizeof request, written));
    ASSERT_TRUE(handle->write(request, sizeof request, written));
    ASSERT_TRUE(handle->write(request, sizeof request, written));
    std::uint8_t sound[65];
    ASSERT_EQ(handle->read(sound, sizeof sound, 100).bytes, 65U);
    EXPECT_EQ(sound[1], 23);
    ASSERT_EQ(handle->read(buffer, sizeof buffer, 100).bytes, 65U);
    EXPECT_FALSE(std::equal(buffer, buffer + 65, sound));
    EXPECT_EQ(iface.writes().size(), 4U);  // the failed write is not recorded

    iface.setFaults(Faults{.strayLineEvery = std::chrono::milliseconds(30)});
    result = handle->read(buffer, sizeof buffer, 1000);
    ASSERT_EQ(result.status, ReadStatus::Data);
    EXPECT_EQ(buffer[1], 4);
}

TEST(SimBackendTest, CancelIsStickyAndUnplugEndsReads) {
    SimBackend backend;
    SimInterface& iface = backend.plugUnit(Model::Solvi, false);
    auto first = backend.open(iface.path(), Access::ReadWrite);
    auto second = backend.open(iface.path(), Access::ReadWrite);
    std::uint8_t buffer[65];
    first->cancelRead();
    EXPECT_EQ(first->read(buffer, sizeof buffer, 1000).status, ReadStatus::Cancelled);
    EXPECT_EQ(first->read(buffer, sizeof buffer, 1000).status, ReadStatus::Cancelled);
    backend.unplug(iface.path(), false);
    EXPECT_EQ(second->read(buffer, sizeof buffer, 1000).status, ReadStatus::Gone);
}

TEST(SimBackendTest, SimulateListNamesTheUnits) {
    auto backend = CreateSimBackend("solvi, Pargo,,solvi");
    ASSERT_EQ(backend->count(), 3);
    EXPECT_EQ(backend->interface(0).product, u"Zorvat");
    EXPECT_EQ(backend->interface(1).product, u"Zorvat Bix");
    EXPECT_EQ(backend->interface(2).unit()->model(), Model::Solvi);
    EXPECT_NE(backend->interface(0).unit()->serialNumber(),
              backend->interface(2).unit()->serialNumber());
}

}  // namespace
}  // namespace quillo::sim
