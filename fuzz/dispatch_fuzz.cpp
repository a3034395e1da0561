// The window's handling of the unit's reports: a stream of any reports from the chosen unit
// (a simulated one, kept silent so that only the fuzzer's reports arrive), sometimes while a
// Wi-Fi scan runs. Offscreen; pauses are not slept.

#include <QApplication>
#include <QComboBox>
#include <QSet>
#include <QTimer>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_check.h"
#include "lang/message_table.h"
#include "protocol/unit_contract.h"
#include "protocol/wifi_scan.h"
#include "sim/sim_backend.h"
#include "ui/form1.h"

using namespace quillo;

namespace {

// The simulated unit's input report length minus its ID.
constexpr std::size_t kBufferSize = 64;

// Set before the application exists.
struct Environment {
    Environment() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QUILLO_MESSAGE_BOXES", "stderr");
    }
};

struct Window {
    Window() {
        lang::LanguageIndex = 1;
        backend = std::make_shared<sim::SimBackend>();
        sim::SimInterface& unit = backend->plugUnit(sim::Model::Pargo);
        for (const protocol::unit::Parameter& p : protocol::unit::kParameters) {
            unit.unit()->unanswered.insert(p.code);
        }
        unit.unit()->accessPoints.clear();
        form = std::make_unique<ui::Form1>(backend);
        form->Sleep = [](std::chrono::milliseconds) {};
        form->Timer3->stop();
        QApplication::processEvents();  // the first device change chooses the unit
        FUZZ_CHECK(form->CurrentDevice != nullptr);
    }

    Environment environment;
    int argc = 1;
    char name[9] = "dispatch";
    char* argv[2] = {name, nullptr};
    QApplication app{argc, argv};
    std::shared_ptr<sim::SimBackend> backend;
    std::unique_ptr<ui::Form1> form;
};

Window& TheWindow() {
    static auto* window = new Window;  // lives until the process ends
    return *window;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Window& window = TheWindow();
    ui::Form1& form = *window.form;
    window.backend->interface(0).clearWrites();  // the chain's requests pile up otherwise
    if (size == 0) {
        return 0;
    }
    // First byte: whether a scan runs; then reports, each a length byte and that many bytes.
    if ((data[0] & 1) != 0) {
        form.Timer1->start();
    } else {
        form.Timer1->stop();
        form.Timer2->stop();
    }
    std::size_t at = 1;
    while (at < size) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        ++at;
        // Exactly as large as the transport's buffer (the input report without its ID):
        // nothing past it may be read, whatever Size claims.
        const auto report = std::make_unique<std::uint8_t[]>(kBufferSize);
        std::memset(report.get(), 0, kBufferSize);
        std::memcpy(report.get(), data + at, std::min(length, kBufferSize));
        const auto claimed = static_cast<std::uint16_t>(length == 0 ? 0 : data[at] * 257U);
        form.HidDeviceController1DeviceData(
            form.CurrentDevice, 1, report.get(),
            (data[0] & 2) != 0 ? claimed : static_cast<std::uint16_t>(length));
        at += length;
    }
    // The scan's list: each name once, and bounded.
    QSet<QString> names;
    for (int i = 0; i < form.ComboBox_Wi_Fi_name->count(); ++i) {
        names.insert(form.ComboBox_Wi_Fi_name->itemText(i));
    }
    FUZZ_CHECK(names.size() == form.ComboBox_Wi_Fi_name->count());
    FUZZ_CHECK(form.ComboBox_Wi_Fi_name->count() <= protocol::kScanNameLimit);
    if (!form.ScanRunning()) {
        form.ComboBox_Wi_Fi_name->clear();
    }
    return 0;
}
