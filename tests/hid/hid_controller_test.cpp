// The controller's list over the simulated backend: scans, creation errors, check-out and
// release. No readers run here (no OnDeviceData); those are in hid_reader_test.
#include <gtest/gtest.h>

#include <ostream>

#include <memory>
#include <string>
#include <vector>

#include "hid/hid_device_controller.h"
#include "sim/sim_backend.h"
#include "test_support.h"

namespace quillo::hid {
namespace {

using sim::Faults;
using sim::Model;
using sim::SimBackend;
using test::ProcessFor;

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override { backend = std::make_shared<SimBackend>(); }

    // Builds the controller as a window does, its handlers assigned while loading, and lets
    // the event loop deliver its first notification.
    void Start() {
        controller = std::make_unique<HidDeviceController>(backend);
        controller->BeginLoading();
        controller->SetOnDeviceChange([this](HidDeviceController*) { ++changes; });
        controller->SetOnRemoval([this](HidDevice* dev) {
            removals.push_back(dev->PnPInfo()->path);
            EXPECT_FALSE(dev->IsPluggedIn());
        });
        controller->EndLoading();
        ProcessFor(20);
    }

    std::vector<std::string> ListedPaths() const {
        std::vector<std::string> paths;
        paths.reserve(static_cast<std::size_t>(controller->Count()));
        for (int i = 0; i < controller->Count(); ++i) {
            paths.push_back(controller->Device(i)->PnPInfo()->path);
        }
        return paths;
    }

    std::shared_ptr<SimBackend> backend;
    std::unique_ptr<HidDeviceController> controller;
    int changes = 0;
    std::vector<std::string> removals;
};

TEST_F(ControllerTest, FirstNotificationIsQueuedAndAlwaysReportsAChange) {
    controller = std::make_unique<HidDeviceController>(backend);
    controller->BeginLoading();
    controller->SetOnDeviceChange([this](HidDeviceController*) { ++changes; });
    controller->EndLoading();
    EXPECT_EQ(changes, 0);  // not before the event loop runs
    ProcessFor(20);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(controller->Enumerate(), 0);

    backend->raiseChange();  // nothing changed: no notification
    EXPECT_EQ(changes, 1);
}

TEST_F(ControllerTest, WithoutBackendTheControllerStaysInert) {
    HidDeviceController inert(nullptr);
    int calls = 0;
    inert.SetOnDeviceChange([&](HidDeviceController*) { ++calls; });
    ProcessFor(20);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(inert.Enumerate(), 0);
    EXPECT_NO_THROW(inert.DeviceChange());
}

TEST_F(ControllerTest, ArrivalsAppendInPlatformOrderAndEnumerateVisitsThem) {
    const std::string a = backend->plugUnit(Model::Solvi, false).path();
    const std::string b = backend->plugDevice(0x046d, 0xc52b, u"USB Receiver", false).path();
    Start();
    const std::string c = backend->plugUnit(Model::Pargo).path();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(ListedPaths(), (std::vector<std::string>{a, b, c}));

    std::vector<std::pair<int, QString>> visited;
    controller->SetOnEnumerate([&](HidDevice* dev, int idx) {
        visited.emplace_back(idx, dev->ProductName());
        return true;
    });
    EXPECT_EQ(controller->Enumerate(), 3);
    EXPECT_EQ(visited, (std::vector<std::pair<int, QString>>{
                           {0, "Zorvat"}, {1, "USB Receiver"}, {2, "Zorvat Bix"}}));
    EXPECT_EQ(controller->Device(0)->Attributes().VendorID, 0x0483);
    EXPECT_EQ(controller->Device(0)->Attributes().ProductID, 0x5750);

    // A handler that returns false ends the visit.
    int calls = 0;
    controller->SetOnEnumerate([&](HidDevice*, int) { return ++calls < 2; });
    EXPECT_EQ(controller->Enumerate(), 2);
}

TEST_F(ControllerTest, ProductNameIsReadOnlyUnderTheOpenRuleAndCachedOnceRead) {
    backend->plugUnit(Model::Solvi, false);
    backend->plugUnit(Model::Pargo, false);
    Start();
    // Never checked out or enumerated: nothing cached, the device is not opened.
    EXPECT_TRUE(controller->Device(1)->ProductName().isEmpty());
    controller->SetOnEnumerate(
        [](HidDevice* dev, int idx) { return idx == 0 && dev->ProductName() == "Zorvat"; });
    controller->Enumerate();
    backend->interface(0).setFaults(Faults{.noProductString = true});
    EXPECT_EQ(controller->Device(0)->ProductName(), "Zorvat");  // from the cache
}

TEST_F(ControllerTest, ProductNameEndsAtNulAndAt254Units) {
    struct Case {
        std::u16string product;
        QString expected;
    };
    const std::vector<Case> cases = {
        {std::u16string(300, u'x'), QString(254, 'x')},
        {std::u16string(u"Zorvat\0junk", 11), "Zorvat"},
        {u"Zorvat Bix", "Zorvat Bix"},
    };
    for (const Case& c : cases) {
        backend->plugDevice(1, 2, c.product, false);
    }
    Start();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        HidDevice* dev = nullptr;
        ASSERT_TRUE(controller->CheckOutByIndex(dev, static_cast<int>(i)));
        EXPECT_EQ(dev->ProductName(), cases[i].expected) << i;
    }
}

TEST_F(ControllerTest, FailedProductStringIsNotCached) {
    auto& iface = backend->plugUnit(Model::Solvi, false);
    iface.setFaults(Faults{.noProductString = true});
    Start();
    HidDevice* dev = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(dev, 0));
    EXPECT_TRUE(dev->ProductName().isEmpty());
    iface.setFaults(Faults{});
    EXPECT_EQ(dev->ProductName(), "Zorvat");
}

TEST_F(ControllerTest, CapsComeFromTheCapabilitiesAndAreReadOnce) {
    auto& iface = backend->plugUnit(Model::Solvi, false);
    iface.reportLengths = {33, 17};
    Start();
    HidDevice* dev = controller->Device(0);
    EXPECT_EQ(dev->Caps().OutputReportByteLength, 0);  // cannot be opened outside the rule
    ASSERT_TRUE(controller->CheckOutByIndex(dev, 0));
    EXPECT_EQ(dev->Caps().InputReportByteLength, 33);
    EXPECT_EQ(dev->Caps().OutputReportByteLength, 17);
    iface.setFaults(Faults{.noReportLengths = true});
    EXPECT_EQ(dev->Caps().OutputReportByteLength, 17);
}

struct CreateErrorCase {
    const char* name;
    Faults faults;
    const char* message;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CreateErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class CreateErrorTest : public ControllerTest,
                        public ::testing::WithParamInterface<CreateErrorCase> {};

TEST_P(CreateErrorTest, HandledErrorSkipsTheInterfaceInEveryScan) {
    backend->plugUnit(Model::Solvi, false);
    auto& bad = backend->plugUnit(Model::Pargo, false);
    bad.setFaults(GetParam().faults);
    const std::string good = backend->plugUnit(Model::Solvi, false).path();
    std::vector<std::string> errors;
    controller = std::make_unique<HidDeviceController>(
        backend,
        [&](HidDeviceController*, const HidPnPInfo& info, bool& handled, bool& retry) {
            EXPECT_FALSE(handled);
            EXPECT_FALSE(retry);
            errors.push_back(info.path);
            handled = true;
        },
        [this](HidDeviceController*) { ++changes; });
    ProcessFor(20);
    EXPECT_EQ(controller->Count(), 2);
    EXPECT_EQ(controller->Device(1)->PnPInfo()->path, good);
    EXPECT_EQ(errors, std::vector<std::string>{bad.path()});
    backend->raiseChange();
    EXPECT_EQ(errors.size(), 2U);  // tried again in the next scan
}

TEST_P(CreateErrorTest, UnhandledErrorAbandonsTheScanAndReachesTheCaller) {
    const std::string first = backend->plugUnit(Model::Solvi, false).path();
    Start();
    backend->plugUnit(Model::Solvi, false);
    backend->plugUnit(Model::Pargo, false).setFaults(GetParam().faults);
    for (bool withHandler : {false, true}) {
        if (withHandler) {
            controller->SetOnDeviceCreateError(
                [](HidDeviceController*, const HidPnPInfo&, bool&, bool&) {});
        }
        try {
            controller->DeviceChange();
            ADD_FAILURE() << "no error";
        } catch (const HidControllerError& e) {
            EXPECT_STREQ(e.what(), GetParam().message);
        }
        EXPECT_EQ(ListedPaths(), std::vector<std::string>{first});
    }
    // Through a notification the error is contained and the list stays as it was.
    const int before = changes;
    backend->raiseChange();
    EXPECT_EQ(changes, before);
    EXPECT_EQ(ListedPaths(), std::vector<std::string>{first});
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CreateErrorTest,
    ::testing::Values(CreateErrorCase{"OpenRefused",
                                      Faults{.refuseReadWrite = true, .refuseNoAccess = true},
                                      "Device cannot be opened"},
                      CreateErrorCase{"NoAttributes", Faults{.noAttributes = true},
                                      "Device cannot be identified"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControllerTest, RetryCreateRepeatsUntilTheFirstSuccess) {
    auto& iface = backend->plugUnit(Model::Solvi, false);
    iface.setFaults(Faults{.noAttributes = true});
    int calls = 0;
    controller = std::make_unique<HidDeviceController>(
        backend,
        [&](HidDeviceController*, const HidPnPInfo&, bool& handled, bool& retry) {
            handled = true;
            if (++calls == 1) {
                retry = true;  // stays true for the next call: not reset between attempts
            } else {
                EXPECT_TRUE(retry);
                iface.setFaults(Faults{});
            }
        },
        nullptr);
    ProcessFor(20);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(controller->Count(), 1);
}

TEST_F(ControllerTest, RefusedReadWriteOpenIsAskedForAgainOnTheNextWrite) {
    auto& iface = backend->plugUnit(Model::Solvi, false);
    iface.setFaults(Faults{.refuseReadWrite = true});
    Start();
    HidDevice* dev = nullptr;
    controller->SetOnEnumerate([&](HidDevice* d, int idx) {
        EXPECT_EQ(d->ProductName(), "Zorvat");  // listed and named all the same
        return controller->CheckOutByIndex(dev, idx);
    });
    EXPECT_EQ(controller->Enumerate(), 1);
    ASSERT_NE(dev, nullptr);
    EXPECT_FALSE(dev->HasReadWriteAccess());
    const std::uint8_t report[65] = {1, 16, 1, 5};
    std::uint32_t written = 99;
    // While refused, a write fails and says so; nothing reaches the unit.
    EXPECT_FALSE(dev->WriteFile(report, sizeof report, written));
    EXPECT_EQ(written, 0U);
    EXPECT_TRUE(iface.writes().empty());
    // The refusal ends: the next write opens with read and write access and goes out.
    iface.setFaults(Faults{});
    EXPECT_TRUE(dev->WriteFile(report, sizeof report, written));
    EXPECT_EQ(written, 65U);
    EXPECT_TRUE(dev->HasReadWriteAccess());
    EXPECT_EQ(iface.writes().size(), 1U);
    // A write that fails on a handle that served before, sending nothing, is tried once more on
    // a fresh one.
    iface.setFaults(Faults{.writeErrors = 1});
    EXPECT_TRUE(dev->WriteFile(report, sizeof report, written));
    // Two failures in a row: false, and the next write is sound again.
    iface.setFaults(Faults{.writeErrors = 2});
    EXPECT_FALSE(dev->WriteFile(report, sizeof report, written));
    EXPECT_EQ(written, 0U);
    EXPECT_TRUE(dev->WriteFile(report, sizeof report, written));
    EXPECT_EQ(iface.writes().size(), 3U);
    // A write that may have reached the unit is never written again: the unit gets it once.
    iface.setFaults(Faults{.unconfirmedWrites = 1});
    EXPECT_FALSE(dev->WriteFile(report, sizeof report, written));
    EXPECT_EQ(iface.writes().size(), 4U);
    EXPECT_TRUE(dev->WriteFile(report, sizeof report, written));
    EXPECT_EQ(iface.writes().size(), 5U);
    controller->CheckIn(dev);
}

TEST_F(ControllerTest, LengthsThatReadAsZeroAreAskedForAgain) {
    auto& iface = backend->plugUnit(Model::Solvi, false);
    Start();
    HidDevice* dev = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(dev, 0));
    iface.setFaults(Faults{.unreadableLengths = 1});
    EXPECT_EQ(dev->Caps().InputReportByteLength, 0);
    EXPECT_EQ(dev->Caps().InputReportByteLength, 65);
    // A device whose lengths read as 0 asks again; known lengths are kept.
    iface.reportLengths = {65, 0};
    delete dev;  // the list holds a fresh device for the interface now
    ASSERT_TRUE(controller->CheckOutByIndex(dev, 0));
    EXPECT_EQ(dev->Caps().OutputReportByteLength, 0);
    iface.reportLengths = {65, 65};
    EXPECT_EQ(dev->Caps().OutputReportByteLength, 65);
    iface.reportLengths = {10, 10};
    EXPECT_EQ(dev->Caps().OutputReportByteLength, 65);
    controller->CheckIn(dev);
}

TEST_F(ControllerTest, WriteFileWritesWholeReportsUnderTheOpenRule) {
    auto& iface = backend->plugUnit(Model::Solvi, false);
    Start();
    const std::uint8_t report[65] = {1, 16, 1, 5};
    std::uint32_t written = 0;
    EXPECT_FALSE(controller->Device(0)->WriteFile(report, sizeof report, written));
    HidDevice* dev = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(dev, 0));
    EXPECT_TRUE(dev->WriteFile(report, sizeof report, written));
    EXPECT_EQ(written, 65U);
    ASSERT_EQ(iface.writes().size(), 1U);
    EXPECT_EQ(iface.writes()[0], std::vector<std::uint8_t>(report, report + 65));
}

TEST_F(ControllerTest, CheckOutByIndexRefusesBadIndicesAndHeldDevices) {
    backend->plugUnit(Model::Solvi, false);
    backend->plugUnit(Model::Solvi, false);
    Start();
    HidDevice* held = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(held, 1));
    for (int idx : {-1, 2, 1}) {
        HidDevice* dev = held;
        EXPECT_FALSE(controller->CheckOutByIndex(dev, idx)) << idx;
        EXPECT_EQ(dev, nullptr);
    }
    HidDevice* next = nullptr;
    EXPECT_TRUE(controller->CheckOut(next));
    EXPECT_EQ(next, controller->Device(0));
    EXPECT_FALSE(controller->CheckOut(next));
    EXPECT_EQ(controller->Count(), 2);
}

TEST_F(ControllerTest, CheckInKeepsPluggedDevicesAndFreesUnpluggedOnes) {
    const std::string a = backend->plugUnit(Model::Solvi, false).path();
    backend->plugUnit(Model::Solvi, false);
    Start();
    HidDevice* first = nullptr;
    HidDevice* second = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(first, 0));
    ASSERT_TRUE(controller->CheckOutByIndex(second, 1));
    HidDevice* firstObject = first;
    controller->CheckIn(first);
    EXPECT_EQ(first, nullptr);
    EXPECT_FALSE(firstObject->IsCheckedOut());

    backend->unplug(controller->Device(1)->PnPInfo()->path);
    EXPECT_EQ(controller->Count(), 2);  // still held
    controller->CheckIn(second);
    EXPECT_EQ(ListedPaths(), std::vector<std::string>{a});
}

TEST_F(ControllerTest, UnpluggingHeldAndFreeDevices) {
    const std::string a = backend->plugUnit(Model::Solvi, false).path();
    const std::string b = backend->plugUnit(Model::Solvi, false).path();
    const std::string c = backend->plugUnit(Model::Pargo, false).path();
    Start();
    int unplugs = 0;
    controller->SetOnDeviceUnplug([&](HidDevice* dev) {
        EXPECT_FALSE(dev->IsPluggedIn());
        ++unplugs;
    });
    HidDevice* held = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(held, 1));

    backend->unplug(c);  // free device: removed at once
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(removals, std::vector<std::string>{c});
    EXPECT_EQ(ListedPaths(), (std::vector<std::string>{a, b}));

    backend->unplug(b);  // held device: stays listed, unplugged
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(unplugs, 2);
    EXPECT_EQ(ListedPaths(), (std::vector<std::string>{a, b}));
    EXPECT_FALSE(held->IsPluggedIn());
    std::uint32_t written = 0;
    const std::uint8_t report[65] = {1};
    EXPECT_FALSE(held->WriteFile(report, 65, written));

    // Every later scan finds it gone again, but OnUnplug ran only once.
    backend->raiseChange();
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(removals.size(), 3U);
    EXPECT_EQ(unplugs, 2);

    // Plugged back before the old object is freed: listed as a new device beside it.
    const std::string again = backend->plugUnit(Model::Solvi).path();
    EXPECT_EQ(ListedPaths(), (std::vector<std::string>{a, b, again}));
    EXPECT_EQ(controller->Enumerate(), 2);  // the unplugged one is not visited

    delete held;  // freeing removes it
    EXPECT_EQ(ListedPaths(), (std::vector<std::string>{a, again}));
}

TEST_F(ControllerTest, FreeingHeldDevicesInDeviceChangeKeepsPositions) {
    // The window's pattern: free everything held, enumerate again, check out what is there.
    for (int i = 0; i < 4; ++i) {
        backend->plugUnit(i % 2 == 0 ? Model::Solvi : Model::Pargo, false);
    }
    std::vector<HidDevice*> held;
    std::vector<std::vector<int>> rounds;
    controller = std::make_unique<HidDeviceController>(backend);
    controller->BeginLoading();
    controller->SetOnEnumerate([&](HidDevice* dev, int idx) {
        HidDevice* out = nullptr;
        EXPECT_TRUE(controller->CheckOutByIndex(out, idx));
        EXPECT_EQ(out, dev);
        held.push_back(out);
        rounds.back().push_back(idx);
        return true;
    });
    controller->SetOnDeviceChange([&](HidDeviceController*) {
        for (HidDevice* dev : held) {
            delete dev;
        }
        held.clear();
        rounds.emplace_back();
        controller->Enumerate();
    });
    controller->EndLoading();
    ProcessFor(20);
    backend->unplug(backend->interface(1).path());
    backend->plugUnit(Model::Solvi);
    ASSERT_EQ(rounds.size(), 3U);
    EXPECT_EQ(rounds[0], (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(rounds[1], (std::vector<int>{0, 1, 2}));  // the gap closed
    EXPECT_EQ(rounds[2], (std::vector<int>{0, 1, 2, 3}));
    for (HidDevice* dev : held) {
        EXPECT_TRUE(dev->IsCheckedOut());
    }
    // Freed while plugged in: a fresh, checked-in device takes the same position.
    HidDevice* second = held[1];
    held.erase(held.begin() + 1);
    delete second;
    EXPECT_EQ(controller->Count(), 4);
    EXPECT_FALSE(controller->Device(1)->IsCheckedOut());
    EXPECT_EQ(controller->Device(1)->PnPInfo()->path, backend->interface(1).path());
}

TEST_F(ControllerTest, ReleaseDropsThePositionWhenTheInterfaceCannotBeOpenedAnyMore) {
    backend->plugUnit(Model::Solvi, false);
    auto& second = backend->plugUnit(Model::Solvi, false);
    Start();
    HidDevice* dev = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(dev, 1));
    second.setFaults(Faults{.refuseReadWrite = true, .refuseNoAccess = true});
    delete dev;
    EXPECT_EQ(controller->Count(), 1);
}

TEST_F(ControllerTest, NotificationDuringANotificationScanIsDropped) {
    Start();
    int nested = 0;
    controller->BeginLoading();
    controller->SetOnDeviceChange([&](HidDeviceController*) {
        ++changes;
        if (nested++ == 0) {
            backend->plugUnit(Model::Pargo);  // raises the change handler inside the scan
        }
    });
    controller->EndLoading();
    backend->plugUnit(Model::Solvi);
    EXPECT_EQ(changes, 2);  // the start-up one and this one; the nested one was lost
    EXPECT_EQ(controller->Count(), 1);
    backend->raiseChange();
    EXPECT_EQ(controller->Count(), 2);
}

// Outside loading a new OnDeviceChange hears at once of what is there now; while loading it
// waits for the start-up notification.
TEST_F(ControllerTest, AssigningOnDeviceChangeRescansAtOnceOutsideLoading) {
    backend->plugUnit(Model::Solvi, false);
    controller = std::make_unique<HidDeviceController>(backend);
    int calls = 0;
    controller->SetOnDeviceChange([&](HidDeviceController* sender) {
        EXPECT_EQ(sender, controller.get());
        ++calls;
    });
    EXPECT_EQ(calls, 1);  // before any event loop: the unit arrived in that scan
    EXPECT_EQ(controller->Count(), 1);
    ProcessFor(20);
    EXPECT_EQ(calls, 2);  // the start-up notification always reports
    // Until the system's first notification clears the start-up marker, every scan reports.
    controller->SetOnDeviceChange([&](HidDeviceController*) { ++calls; });
    EXPECT_EQ(calls, 3);
    backend->raiseChange();
    EXPECT_EQ(calls, 3);

    // A rescan that finds the list unchanged calls nobody; one that finds a change calls the
    // new handler.
    int later = 0;
    controller->SetOnDeviceChange([&](HidDeviceController*) { ++later; });
    EXPECT_EQ(later, 0);
    backend->plugUnit(Model::Pargo, false);  // no notification from the system
    controller->SetOnDeviceChange([&](HidDeviceController*) { ++later; });
    EXPECT_EQ(later, 1);
    EXPECT_EQ(controller->Count(), 2);
    EXPECT_EQ(calls, 3);  // the replaced handler hears nothing more

    // While loading nothing is scanned.
    backend->plugUnit(Model::Solvi, false);
    controller->BeginLoading();
    controller->SetOnDeviceChange([&](HidDeviceController*) { ++later; });
    controller->EndLoading();
    EXPECT_EQ(later, 1);
    EXPECT_EQ(controller->Count(), 2);
}

// A controller handler reaches the devices that still carry its previous one, not those given
// one of their own, nor one whose unplug handler has already run.
TEST_F(ControllerTest, ControllerHandlersReachOnlyDevicesStillCarryingThePreviousOne) {
    backend->plugUnit(Model::Solvi, false);
    backend->plugUnit(Model::Solvi, false);
    backend->plugUnit(Model::Pargo, false);
    Start();
    ASSERT_EQ(controller->Count(), 3);
    HidDevice* own = controller->Device(0);
    HidDevice* inheriting = controller->Device(1);
    HidDevice* held = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(held, 2));

    std::vector<std::string> calls;
    const auto unplugHandler = [&calls](const std::string& name) {
        return [&calls, name](HidDevice*) { calls.push_back("unplug " + name); };
    };
    const auto errorHandler = [&calls](const std::string& name) {
        return [&calls, name](HidDevice*, std::uint32_t) { calls.push_back("error " + name); };
    };
    own->SetOnUnplug(unplugHandler("own"));
    own->SetOnDataError(errorHandler("own"));
    controller->SetOnDeviceUnplug(unplugHandler("A"));
    controller->SetOnDeviceDataError(errorHandler("A"));
    controller->SetOnDeviceUnplug(unplugHandler("B"));
    controller->SetOnDeviceDataError(errorHandler("B"));

    for (HidDevice* dev : {own, inheriting, held}) {
        ASSERT_TRUE(dev->OnUnplug());
        ASSERT_TRUE(dev->OnDataError());
        dev->OnUnplug()(dev);
        dev->OnDataError()(dev, 5);
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"unplug own", "error own", "unplug B", "error B",
                                               "unplug B", "error B"}));

    // Unplugged, the held device ran its handler once and carries none since: a new controller
    // handler passes it by.
    calls.clear();
    backend->unplug(backend->interface(2).path());
    EXPECT_EQ(calls, std::vector<std::string>{"unplug B"});
    controller->SetOnDeviceUnplug(unplugHandler("C"));
    EXPECT_FALSE(held->OnUnplug());
    ASSERT_TRUE(inheriting->OnUnplug());
    inheriting->OnUnplug()(inheriting);
    EXPECT_EQ(calls.back(), "unplug C");

    // A device set back to no handler while the controller has none counts as carrying it.
    controller->SetOnDeviceDataError(nullptr);
    own->SetOnDataError(nullptr);
    controller->SetOnDeviceDataError(errorHandler("D"));
    ASSERT_TRUE(own->OnDataError());
    own->OnDataError()(own, 1);
    EXPECT_EQ(calls.back(), "error D");
    delete held;
}

TEST_F(ControllerTest, PollingAndSleepTimesAreRangeChecked) {
    backend->plugUnit(Model::Solvi, false);
    Start();
    HidDevice* dev = controller->Device(0);
    EXPECT_EQ(dev->PollingDelayTime(), 0);
    EXPECT_EQ(dev->ThreadSleepTime(), 100);
    struct Case {
        bool sleep;
        int value;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{true, 5, 100},
                                           {true, 10001, 100},
                                           {true, 10, 10},
                                           {true, 10000, 10000},
                                           {false, -1, 0},
                                           {false, 10001, 0},
                                           {false, 10000, 10000},
                                           {false, 0, 0}}) {
        if (c.sleep) {
            dev->SetThreadSleepTime(c.value);
            EXPECT_EQ(dev->ThreadSleepTime(), c.expected) << c.value;
        } else {
            dev->SetPollingDelayTime(c.value);
            EXPECT_EQ(dev->PollingDelayTime(), c.expected) << c.value;
        }
    }
    // A new controller default reaches devices that still have the old default.
    dev->SetThreadSleepTime(100);
    controller->SetDevThreadSleepTime(50);
    controller->SetDevPollingDelayTime(7);
    EXPECT_EQ(dev->ThreadSleepTime(), 50);
    EXPECT_EQ(dev->PollingDelayTime(), 7);
}

}  // namespace
}  // namespace quillo::hid
