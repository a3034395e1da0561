// Measures the reader-to-handler hand-over over the simulated backend: round trip (median, p99),
// reader stop latency, and the wake-ups and CPU of one and of four idle checked-out devices.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "hid/hid_device_controller.h"
#include "idle_run.h"
#include "sim/sim_backend.h"

using quillo::hid::HidDevice;
using quillo::hid::HidDeviceController;
using quillo::sim::Model;
using quillo::sim::SimBackend;
using Clock = std::chrono::steady_clock;

namespace {

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

void ProcessUntil(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

std::vector<HidDevice*> CheckOutAll(HidDeviceController& controller) {
    std::vector<HidDevice*> devices;
    for (int i = 0; i < controller.Count(); ++i) {
        HidDevice* dev = nullptr;
        controller.CheckOutByIndex(dev, i);
        devices.push_back(dev);
    }
    return devices;
}

// Each handler call queues the next report at once, so the time between two calls is one full
// round: handler returns, reader wakes, reads, hands over, main thread runs the handler.
void RoundTrip() {
    constexpr int kReports = 20000;
    auto backend = std::make_shared<SimBackend>();
    auto& iface = backend->plugUnit(Model::Solvi, false);
    HidDeviceController controller(backend);
    std::vector<double> rounds;
    rounds.reserve(kReports);
    Clock::time_point last;
    const std::vector<std::uint8_t> report(65, 1);
    controller.SetOnDeviceData([&](HidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {
        const auto now = Clock::now();
        if (last != Clock::time_point{}) {
            rounds.push_back(std::chrono::duration<double, std::micro>(now - last).count());
        }
        last = now;
        if (rounds.size() < kReports) {
            iface.send(report);
        }
    });
    QCoreApplication::processEvents();
    auto devices = CheckOutAll(controller);
    iface.send(report);
    ProcessUntil([&] { return rounds.size() >= kReports; });
    std::printf("hand-over round trip (%d reports): median %.1f us, p99 %.1f us\n", kReports,
                Percentile(rounds, 0.5), Percentile(rounds, 0.99));
}

void StopLatency() {
    constexpr int kStops = 300;
    auto backend = std::make_shared<SimBackend>();
    auto& iface = backend->plugUnit(Model::Solvi, false);
    HidDeviceController controller(backend);
    controller.SetOnDeviceData([](HidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {});
    QCoreApplication::processEvents();
    std::vector<double> stops;
    for (int i = 0; i < kStops; ++i) {
        HidDevice* dev = nullptr;
        controller.CheckOutByIndex(dev, 0);
        // Stop a reader that waits for a report.
        while (iface.waitingReads() == 0) {
            std::this_thread::yield();
        }
        const auto start = Clock::now();
        controller.CheckIn(dev);
        stops.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf(
        "reader stop (%d stops, waiting reader): median %.3f ms, p99 %.3f ms, "
        "max %.3f ms\n",
        kStops, Percentile(stops, 0.5), Percentile(stops, 0.99),
        *std::max_element(stops.begin(), stops.end()));
}

void Idle(int units) {
    auto backend = std::make_shared<SimBackend>();
    for (int i = 0; i < units; ++i) {
        backend->plugUnit(i % 2 == 0 ? Model::Solvi : Model::Pargo, false);
    }
    HidDeviceController controller(backend);
    controller.SetOnDeviceData([](HidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {});
    QCoreApplication::processEvents();
    auto devices = CheckOutAll(controller);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    quillo::bench::RunIdleAndPrint(std::to_string(units) + " checked-out device(s)");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    RoundTrip();
    StopLatency();
    Idle(1);
    Idle(4);
    return 0;
}
