// Readers and the hand-over to the main thread, over the simulated backend.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "hid/hid_device_controller.h"
#include "sim/sim_backend.h"
#include "test_support.h"

namespace quillo::hid {
namespace {

using sim::Faults;
using sim::Model;
using sim::SimBackend;
using sim::SimInterface;
using test::ProcessFor;
using test::ProcessUntil;

struct Delivery {
    HidDevice* dev;
    std::uint8_t reportId;
    std::vector<std::uint8_t> data;  // the whole buffer behind Data, Size bytes
    std::vector<std::uint8_t> tail;  // the buffer's bytes past Size, up to the report length
};

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override { backend = std::make_shared<SimBackend>(); }

    // Plugs `n` units, starts the controller and checks all of them out with `handler`.
    void Start(int n, HidDataEvent handler = {}) {
        for (int i = 0; i < n; ++i) {
            backend->plugUnit(Model::Solvi, false);
        }
        controller = std::make_unique<HidDeviceController>(backend);
        controller->SetOnDeviceData(handler ? std::move(handler) : Recorder());
        ProcessFor(10);
        for (int i = 0; i < n; ++i) {
            HidDevice* dev = nullptr;
            ASSERT_TRUE(controller->CheckOutByIndex(dev, i));
            ASSERT_TRUE(dev->HasReader());
            devices.push_back(dev);
        }
    }

    HidDataEvent Recorder() {
        return [this](HidDevice* dev, std::uint8_t id, const std::uint8_t* data,
                      std::uint16_t size) {
            const std::size_t length = dev->Caps().InputReportByteLength;
            delivered.push_back({dev, id, {data, data + size}, {data + size, data + length - 1}});
        };
    }

    // Waits until the reader has taken every queued report of `iface` and, as the main thread
    // processes no events meanwhile, is blocked handing the last one over.
    static void WaitUntilTaken(SimInterface& iface) {
        for (int i = 0; i < 500 && iface.queuedReports() > 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    static std::vector<std::uint8_t> Report(std::size_t length, std::uint8_t first,
                                            std::uint8_t fill) {
        std::vector<std::uint8_t> r(length, fill);
        r[0] = first;
        return r;
    }

    std::shared_ptr<SimBackend> backend;
    std::unique_ptr<HidDeviceController> controller;
    std::vector<HidDevice*> devices;
    std::vector<Delivery> delivered;
};

TEST_F(ReaderTest, ReportsArriveWithSizeAndAZeroedTail) {
    Start(1);
    SimInterface& iface = backend->interface(0);
    iface.send(Report(65, 1, 0xAB));
    iface.setFaults(Faults{.zeroLengthReads = 1});  // delivers nothing, the reader goes on
    iface.send(Report(10, 7, 0xCD));
    ASSERT_TRUE(ProcessUntil([&] { return delivered.size() == 2; }));
    EXPECT_EQ(delivered[0].dev, devices[0]);
    EXPECT_EQ(delivered[0].reportId, 1);
    EXPECT_EQ(delivered[0].data, std::vector<std::uint8_t>(64, 0xAB));
    EXPECT_EQ(delivered[1].reportId, 7);
    EXPECT_EQ(delivered[1].data, std::vector<std::uint8_t>(9, 0xCD));
    EXPECT_EQ(delivered[1].tail, std::vector<std::uint8_t>(55, 0));
    ProcessFor(20);
    EXPECT_EQ(delivered.size(), 2U);
}

TEST_F(ReaderTest, AWrittenReadRequestIsAnsweredThroughTheHandler) {
    Start(1);
    const std::uint8_t request[65] = {1, 16, 1, 23};
    std::uint32_t written = 0;
    ASSERT_TRUE(devices[0]->WriteFile(request, 65, written));
    ASSERT_TRUE(ProcessUntil([&] { return !delivered.empty(); }));
    const std::string serial = backend->interface(0).unit()->serialNumber();
    EXPECT_EQ(delivered[0].data[0], 23);
    EXPECT_EQ(delivered[0].data[1], serial.size());
    EXPECT_EQ(std::string(delivered[0].data.begin() + 2, delivered[0].data.begin() + 26), serial);
}

TEST_F(ReaderTest, ANewHandlerTakesTheNextReportAndAnEmptyOneStopsTheReader) {
    Start(1);
    SimInterface& iface = backend->interface(0);
    int second = 0;
    devices[0]->SetOnData(
        [&](HidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) { ++second; });
    EXPECT_TRUE(devices[0]->HasReader());
    iface.send(Report(65, 1, 1));
    ASSERT_TRUE(ProcessUntil([&] { return second == 1; }));
    devices[0]->SetOnData(nullptr);
    EXPECT_FALSE(devices[0]->HasReader());
    iface.send(Report(65, 1, 2));
    ProcessFor(30);
    EXPECT_EQ(second, 1);
    EXPECT_TRUE(delivered.empty());
    devices[0]->SetOnData(Recorder());  // starts again; the waiting report arrives
    ASSERT_TRUE(ProcessUntil([&] { return delivered.size() == 1; }));
    EXPECT_EQ(delivered[0].data[0], 2);
}

TEST_F(ReaderTest, ControllerHandlerReachesDevicesThatStillCarryTheOldOne) {
    backend->plugUnit(Model::Solvi, false);
    backend->plugUnit(Model::Solvi, false);
    controller = std::make_unique<HidDeviceController>(backend);
    ProcessFor(10);
    HidDevice* inherited = nullptr;
    HidDevice* own = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(inherited, 0));
    ASSERT_TRUE(controller->CheckOutByIndex(own, 1));
    EXPECT_FALSE(inherited->HasReader());  // no handler, no reader
    int ownCalls = 0;
    own->SetOnData(
        [&](HidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) { ++ownCalls; });
    controller->SetOnDeviceData(Recorder());  // starts the reader of the inheriting device
    EXPECT_TRUE(inherited->HasReader());
    backend->interface(0).send(Report(65, 1, 1));
    backend->interface(1).send(Report(65, 1, 2));
    ASSERT_TRUE(ProcessUntil([&] { return delivered.size() == 1 && ownCalls == 1; }));
    EXPECT_EQ(delivered[0].dev, inherited);
    controller->SetOnDeviceData(nullptr);
    EXPECT_FALSE(inherited->HasReader());
    EXPECT_TRUE(own->HasReader());
}

TEST_F(ReaderTest, FreeingDuringABlockedHandOverDeliversThePendingReportFirst) {
    Start(2);
    for (int i = 0; i < 2; ++i) {
        backend->interface(i).send(Report(65, 1, static_cast<std::uint8_t>(10 + i)));
        WaitUntilTaken(backend->interface(i));
    }
    // No event was processed: both readers wait in their hand-over.
    EXPECT_TRUE(delivered.empty());
    delete devices[0];
    ASSERT_EQ(delivered.size(), 1U);
    EXPECT_EQ(delivered[0].data[0], 10);
    HidDevice* second = devices[1];
    controller->CheckIn(second);
    ASSERT_EQ(delivered.size(), 2U);
    EXPECT_EQ(delivered[1].data[0], 11);
    ProcessFor(30);  // the posted hand-overs find nothing left to deliver
    EXPECT_EQ(delivered.size(), 2U);
}

TEST_F(ReaderTest, StoppingFromInsideTheDevicesOwnHandler) {
    for (bool free : {false, true}) {
        SCOPED_TRACE(free ? "free" : "check in");
        SetUp();
        devices.clear();
        int calls = 0;
        Start(1, [&](HidDevice* dev, std::uint8_t, const std::uint8_t*, std::uint16_t) {
            ++calls;
            if (free) {
                delete dev;
            } else {
                controller->CheckIn(dev);
            }
        });
        SimInterface& iface = backend->interface(0);
        iface.send(Report(65, 1, 1));
        iface.send(Report(65, 1, 2));
        ASSERT_TRUE(ProcessUntil([&] { return calls == 1; }));
        ProcessFor(30);
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(controller->Count(), 1);
        EXPECT_FALSE(controller->Device(0)->IsCheckedOut());
        EXPECT_EQ(iface.queuedReports(), 1);  // the second report waits for the next reader
    }
}

TEST_F(ReaderTest, HandOversRunInsideANestedLoopAndAStopThereDoesNotDeadlock) {
    // Device 0's handler shows a "modal" loop. Device 1's report is handed over inside it, and
    // its handler frees device 0, whose own handler is still running further up the stack.
    bool inModal = false;
    bool secondSeenInModal = false;
    bool firstReturned = false;
    Start(2, [&](HidDevice* dev, std::uint8_t, const std::uint8_t* data, std::uint16_t) {
        if (data[0] == 1) {
            QEventLoop modal;
            inModal = true;
            QTimer::singleShot(5000, &modal, &QEventLoop::quit);  // safety net only
            QObject::connect(controller.get(), &QObject::objectNameChanged, &modal,
                             &QEventLoop::quit);
            backend->interface(1).send(Report(65, 1, 2));
            modal.exec();
            inModal = false;
            firstReturned = true;
        } else {
            secondSeenInModal = inModal;
            EXPECT_EQ(dev, devices[1]);
            delete devices[0];
            controller->setObjectName("done");  // closes the modal loop
        }
    });
    backend->interface(0).send(Report(65, 1, 1));
    ASSERT_TRUE(ProcessUntil([&] { return firstReturned; }));
    EXPECT_TRUE(secondSeenInModal);
    EXPECT_EQ(controller->Count(), 2);
    EXPECT_FALSE(controller->Device(0)->IsCheckedOut());
}

// A unit that misbehaves at first: the reader keeps asking for a handle and the lengths, and
// reads again after errors and 0-byte reads until the report waiting for it arrives. A pass that
// cannot start a read pauses ThreadSleepTime; a read that failed is followed by the polling
// pause, or by ThreadSleepTime when failures repeat without one (never a spin).
TEST_F(ReaderTest, ReaderRecoversFromRefusedOpensUnreadableLengthsAndFailedReads) {
    struct Case {
        const char* name;
        Faults faults;
        int pollingDelay;
        std::size_t errors;  // OnDataError calls before the report arrives
        std::uint32_t code;
        int minPauseMs;  // the pauses the reader must have taken before the report
    };
    // Creation and the check-out's capabilities open take two refusals before the reader's.
    for (const Case& c :
         {Case{"refused opens", {.refusedReadWriteOpens = 4}, 0, 1, 6, 40},
          Case{"unreadable lengths", {.unreadableLengths = 2}, 0, 1, 6, 40},
          Case{"read errors", {.readErrors = 2}, 0, 2, 31, 40},
          Case{"zero-byte reads", {.zeroLengthReads = 3}, 0, 0, 0, 80},
          Case{"zero-byte reads, polling pause", {.zeroLengthReads = 3}, 30, 0, 0, 90}}) {
        SCOPED_TRACE(c.name);
        backend = std::make_shared<SimBackend>();
        SimInterface& iface = backend->plugUnit(Model::Solvi, false);
        iface.setFaults(c.faults);
        controller = std::make_unique<HidDeviceController>(backend);
        std::vector<std::uint32_t> errors;
        controller->SetOnDeviceDataError([&](HidDevice*, std::uint32_t e) { errors.push_back(e); });
        controller->SetOnDeviceData(Recorder());
        controller->SetDevThreadSleepTime(40);
        controller->SetDevPollingDelayTime(c.pollingDelay);
        ProcessFor(10);
        HidDevice* dev = nullptr;
        ASSERT_TRUE(controller->CheckOutByIndex(dev, 0));
        EXPECT_TRUE(dev->HasReader());
        QElapsedTimer timer;
        timer.start();
        iface.send(Report(65, 1, 0x5A));
        ASSERT_TRUE(ProcessUntil([&] { return !delivered.empty(); }));
        EXPECT_EQ(delivered[0].data, std::vector<std::uint8_t>(64, 0x5A));
        EXPECT_EQ(dev->Caps().InputReportByteLength, 65);
        EXPECT_EQ(errors, std::vector<std::uint32_t>(c.errors, c.code));
        EXPECT_GE(timer.elapsed() + 5, c.minPauseMs);
        controller->CheckIn(dev);
        controller.reset();
        delivered.clear();
    }
}

// An idle reader waits for the next report without a time-out: nothing wakes it while the unit
// is silent, however short ThreadSleepTime is.
TEST_F(ReaderTest, AnIdleReaderDoesNotWakeUntilAReportArrives) {
    Start(1);
    devices[0]->SetThreadSleepTime(10);
    SimInterface& iface = backend->interface(0);
    ASSERT_TRUE(ProcessUntil([&] { return iface.waitingReads() > 0; }));
    const int waits = iface.readWaits();
    ProcessFor(300);
    EXPECT_EQ(iface.readWaits(), waits);
    iface.send(Report(65, 1, 7));
    ASSERT_TRUE(ProcessUntil([&] { return delivered.size() == 1; }));
}

// While a handler runs, its reader already waits for the device, so the handler's return wakes
// nobody; the next report stays with the device until the handler has returned.
TEST_F(ReaderTest, TheReaderWaitsForTheDeviceWhileTheHandlerRuns) {
    SimInterface* iface = nullptr;
    bool waitingDuringHandler = false;
    int queuedDuringHandler = -1;
    Start(1, [&](HidDevice* dev, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
        if (data[0] == 1) {
            for (int i = 0; i < 500 && iface->waitingReads() == 0; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            waitingDuringHandler = iface->waitingReads() > 0;
            iface->send(Report(65, 1, 2));
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            queuedDuringHandler = iface->queuedReports();
        }
        Recorder()(dev, id, data, size);
    });
    iface = &backend->interface(0);
    iface->send(Report(65, 1, 1));
    ASSERT_TRUE(ProcessUntil([&] { return delivered.size() == 2; }));
    EXPECT_TRUE(waitingDuringHandler);
    EXPECT_EQ(queuedDuringHandler, 1);
    EXPECT_EQ(delivered[1].data[0], 2);
}

// A handler learns when its report came, also when the main thread was busy long after that;
// the next report, which came while the first one's handler ran, keeps its own time. Outside a
// handler there is no such time.
TEST_F(ReaderTest, AHandlerLearnsWhenItsReportCame) {
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::time_point> arrivals;
    Clock::time_point firstHandled;
    Clock::time_point firstHandlerEnd;
    SimInterface* iface = nullptr;
    Start(1, [&](HidDevice* dev, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
        ASSERT_TRUE(dev->ReportArrival().has_value());
        arrivals.push_back(*dev->ReportArrival());
        if (data[0] == 1) {
            firstHandled = Clock::now();
            iface->send(Report(65, 1, 2));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a busy handler
            firstHandlerEnd = Clock::now();
        }
        Recorder()(dev, id, data, size);
    });
    iface = &backend->interface(0);
    const Clock::time_point firstSent = Clock::now();
    iface->send(Report(65, 1, 1));
    WaitUntilTaken(*iface);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a busy main thread
    ASSERT_TRUE(ProcessUntil([&] { return delivered.size() == 2; }));
    ASSERT_EQ(arrivals.size(), 2U);
    EXPECT_GE(arrivals[0], firstSent);
    EXPECT_GE(firstHandled - arrivals[0], std::chrono::milliseconds(300));
    // The second came while the first one's handler still ran.
    EXPECT_LT(arrivals[1], firstHandlerEnd);
    EXPECT_FALSE(devices[0]->ReportArrival().has_value());
}

// After an unplug every pass fails to start a read: each one is reported and followed by a
// pause of ThreadSleepTime, until the device is freed.
TEST_F(ReaderTest, EveryFailedPassAfterAnUnplugIsReported) {
    Start(1);
    std::vector<std::uint32_t> errors;
    devices[0]->SetOnDataError([&](HidDevice*, std::uint32_t e) { errors.push_back(e); });
    devices[0]->SetThreadSleepTime(20);
    SimInterface& iface = backend->interface(0);
    ASSERT_TRUE(ProcessUntil([&] { return iface.waitingReads() > 0; }));
    QElapsedTimer timer;
    timer.start();
    backend->unplug(iface.path());
    // The read that was waiting fails at once, and so does the first pass after it; each
    // later pass comes after a pause.
    ASSERT_TRUE(ProcessUntil([&] { return errors.size() >= 5; }));
    EXPECT_GE(timer.elapsed() + 5, 3 * 20);
    EXPECT_TRUE(delivered.empty());
    delete devices[0];
    EXPECT_EQ(controller->Count(), 0);
}

TEST_F(ReaderTest, UnplugDuringAPendingReadDeliversNothingAndStopsPromptly) {
    Start(1);
    std::vector<std::uint32_t> errors;
    int unplugs = 0;
    devices[0]->SetOnDataError([&](HidDevice*, std::uint32_t e) { errors.push_back(e); });
    devices[0]->SetOnUnplug([&](HidDevice*) { ++unplugs; });
    devices[0]->SetThreadSleepTime(10000);
    SimInterface& iface = backend->interface(0);
    ASSERT_TRUE(ProcessUntil([&] { return iface.waitingReads() > 0; }));
    backend->unplug(iface.path());
    EXPECT_EQ(unplugs, 1);
    EXPECT_FALSE(devices[0]->IsPluggedIn());
    ASSERT_TRUE(ProcessUntil([&] { return !errors.empty(); }));
    EXPECT_TRUE(delivered.empty());
    // The reader pauses 10 s between attempts now; a stop wakes it at once.
    QElapsedTimer timer;
    timer.start();
    delete devices[0];
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(controller->Count(), 0);
}

TEST_F(ReaderTest, StopWakesAReaderWaitingInALongSlice) {
    Start(1);
    devices[0]->SetThreadSleepTime(10000);
    HidDevice* dev = devices[0];
    controller->CheckIn(dev);  // restart the reader with the long slice
    ASSERT_TRUE(controller->CheckOutByIndex(dev, 0));
    ASSERT_TRUE(ProcessUntil([&] { return backend->interface(0).waitingReads() > 0; }));
    QElapsedTimer timer;
    timer.start();
    controller->CheckIn(dev);
    EXPECT_LT(timer.elapsed(), 5000);
}

// The report a check-in delivers last runs a handler that writes to the device, as the window's
// read chain does: no reader may start for a device being checked in, so the device delivers
// input again after its next check-out.
TEST_F(ReaderTest, AWriteFromTheLastDeliveryOfACheckInStartsNoReader) {
    const std::uint8_t request[65] = {1, 16, 1, 23};
    Start(1, [&](HidDevice* dev, std::uint8_t id, const std::uint8_t* data, std::uint16_t size) {
        delivered.push_back({dev, id, {data, data + size}, {}});
        if (delivered.size() == 1) {
            std::uint32_t written = 0;
            dev->WriteFile(request, sizeof request, written);
        }
    });
    SimInterface& iface = backend->interface(0);
    iface.send(Report(65, 1, 5));
    WaitUntilTaken(iface);
    HidDevice* dev = devices[0];
    controller->CheckIn(dev);
    ASSERT_EQ(delivered.size(), 1U);
    EXPECT_FALSE(controller->Device(0)->HasReader());

    dev = nullptr;
    ASSERT_TRUE(controller->CheckOutByIndex(dev, 0));
    iface.send(Report(65, 1, 6));
    // The answer to the write comes first, then the new report.
    ASSERT_TRUE(ProcessUntil([&] { return delivered.size() == 3; }));
    EXPECT_EQ(delivered[1].data[0], 23);
    EXPECT_EQ(delivered[2].data, std::vector<std::uint8_t>(64, 6));
    controller->CheckIn(dev);
}

TEST_F(ReaderTest, DestroyingTheControllerWhileReadersWaitInAHandOver) {
    Start(2);
    int unplugs = 0;
    controller->SetOnDeviceUnplug([&](HidDevice*) { ++unplugs; });
    for (int i = 0; i < 2; ++i) {
        backend->interface(i).send(Report(65, 1, 5));
        WaitUntilTaken(backend->interface(i));
    }
    controller.reset();
    EXPECT_EQ(delivered.size(), 2U);
    EXPECT_EQ(unplugs, 0);  // cleared before the held devices are unplugged
}

TEST_F(ReaderTest, StressNoLossNoReorderingAcrossStartsAndStops) {
    constexpr int kDevices = 3;
    constexpr int kReports = 3000;
    std::vector<int> next(kDevices, 0);
    int errors = 0;
    Start(kDevices, [&](HidDevice* dev, std::uint8_t, const std::uint8_t* data, std::uint16_t) {
        const int i =
            static_cast<int>(std::find(devices.begin(), devices.end(), dev) - devices.begin());
        const int seq = data[0] << 8 | data[1];
        if (seq != next[static_cast<std::size_t>(i)]) {
            ++errors;
        }
        next[static_cast<std::size_t>(i)] = seq + 1;
    });
    const HidDataEvent handler = devices[0]->OnData();
    for (int i = 0; i < kDevices; ++i) {
        for (int seq = 0; seq < kReports; ++seq) {
            std::vector<std::uint8_t> r(65, 0);
            r[0] = 1;
            r[1] = static_cast<std::uint8_t>(seq >> 8);
            r[2] = static_cast<std::uint8_t>(seq);
            backend->interface(i).send(std::move(r));
        }
    }
    const auto done = [&] {
        return std::all_of(next.begin(), next.end(), [](int n) { return n == kReports; });
    };
    int cycles = 0;
    QElapsedTimer timer;
    timer.start();
    while ((!done() || cycles < 300) && timer.elapsed() < 20000) {
        QCoreApplication::processEvents();
        // Stop and restart one reader per pass, through both ways of stopping.
        HidDevice* dev = devices[static_cast<std::size_t>(cycles % kDevices)];
        if (cycles < 600) {
            if (cycles % 2 == 0) {
                dev->SetOnData(nullptr);
                dev->SetOnData(handler);
            } else {
                controller->CheckIn(dev);
                ASSERT_TRUE(controller->CheckOutByIndex(dev, cycles % kDevices));
            }
            ++cycles;
        }
    }
    EXPECT_TRUE(done());
    EXPECT_EQ(errors, 0);
    EXPECT_GE(cycles, 300);
}

}  // namespace
}  // namespace quillo::hid
