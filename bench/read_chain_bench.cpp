// Measures the read chain against a simulated unit that answers at once, with the real 1 ms
// pauses: its wall time as a ratio to its floor, 22 times what one 1 ms pause really takes.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

#include "lang/message_table.h"
#include "protocol/command_code.h"
#include "protocol/payload.h"
#include "protocol/read_chain.h"
#include "sim/sim_backend.h"
#include "ui/form1.h"

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

namespace {

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

double Mean(const std::vector<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    quillo::lang::LanguageIndex = 1;

    auto backend = std::make_shared<quillo::sim::SimBackend>();
    quillo::sim::SimInterface& unit = backend->plugUnit(quillo::sim::Model::Solvi, false);
    quillo::ui::Form1 form(backend);
    form.Timer3->stop();  // only the chain on the wire
    form.show();
    // A steady wake-up, so that waiting for events never hangs on a lost answer.
    QTimer heartbeat;
    heartbeat.start(100);

    const auto processUntil = [](const auto& done) {
        while (!done()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    };
    processUntil([&] { return form.CurrentDevice != nullptr; });
    processUntil([&] { return !unit.writes().empty(); });
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    constexpr int kPauses = 500;
    std::vector<double> pauses;
    for (int i = 0; i < kPauses; ++i) {
        const auto start = Clock::now();
        form.Pause(quillo::protocol::kReadChainPause);
        pauses.push_back(Millis(Clock::now() - start).count());
    }
    const double pause = Mean(pauses);
    const double floor = static_cast<double>(quillo::protocol::kReadChain.size()) * pause;

    constexpr int kChains = 100;
    std::vector<double> chains;
    for (int i = 0; i < kChains; ++i) {
        unit.clearWrites();
        form.DeviceSettings.Gateway = {};
        const auto start = Clock::now();
        form.SendCommand(quillo::protocol::Code_Read,
                         quillo::protocol::bytePayload(quillo::protocol::Code_Device_mode));
        // The gateway's handler stores it, takes the chain's last pause and returns.
        processUntil([&] { return !form.DeviceSettings.Gateway.empty(); });
        chains.push_back(Millis(Clock::now() - start).count());
        if (unit.writes().size() != quillo::protocol::kReadChain.size()) {
            std::printf("unexpected: %zu requests in a chain\n", unit.writes().size());
            return 1;
        }
    }

    std::printf("1 ms pause (%d): mean %.3f ms, median %.3f ms, p99 %.3f ms\n", kPauses, pause,
                Percentile(pauses, 0.5), Percentile(pauses, 0.99));
    std::printf("floor: %zu x %.3f ms = %.2f ms\n", quillo::protocol::kReadChain.size(), pause,
                floor);
    std::printf("read chain (%d runs): min %.2f ms, median %.2f ms, p90 %.2f ms\n", kChains,
                Percentile(chains, 0.0), Percentile(chains, 0.5), Percentile(chains, 0.9));
    std::printf("ratio to floor: median %.3f, p90 %.3f (goal <= 1.3)\n",
                Percentile(chains, 0.5) / floor, Percentile(chains, 0.9) / floor);
    return 0;
}
