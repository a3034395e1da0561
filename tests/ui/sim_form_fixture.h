#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "lang/message_table.h"
#include "sim/sim_backend.h"
#include "ui/form1.h"

namespace quillo::ui {

// The window over a simulated backend, in English and shown offscreen. A test plugs its units
// into backend_ and then calls Start(), which builds the window and lets the controller's
// first device change fill the device list. Pauses are recorded instead of slept, and the
// status poll is stopped so that byte-exact checks see only what the test caused.
class SimFormTest : public ::testing::Test {
protected:
    using Report = std::vector<std::uint8_t>;

    void SetUp() override {
        lang::LanguageIndex = 1;
        backend_ = std::make_shared<sim::SimBackend>();
    }
    void TearDown() override { form_.reset(); }

    void Start(bool statusPoll = false) {
        form_ = std::make_unique<Form1>(backend_);
        form_->Sleep = [this](std::chrono::milliseconds pause) { pauses_.push_back(pause); };
        if (!statusPoll) {
            form_->Timer3->stop();
        }
        form_->show();
        QApplication::setActiveWindow(form_.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        QApplication::processEvents();  // the controller's first device change
    }

    // Runs the event loop until `done` holds or `timeoutMs` has passed.
    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000) {
        return QTest::qWaitFor(done, timeoutMs);
    }

    // Lets answers that are under way arrive and be handled.
    static void Settle(int ms = 50) { QTest::qWait(ms); }

    sim::SimInterface& Interface(int index) { return backend_->interface(index); }

    // Waits until the serial number answer of the unit on interface `index` has been handled
    // (the label's design text is not empty, so only the unit's own number tells).
    bool WaitForSerialNumber(int index = 0) {
        const QString serial = QString::fromStdString(Interface(index).unit()->serialNumber());
        return WaitFor([this, serial] { return form_->Label_Serial_number->text() == serial; });
    }

    // The reports written to an interface since the last ClearWrites().
    std::vector<Report> Writes(int index) { return Interface(index).writes(); }
    void ClearWrites() {
        for (int i = 0; i < backend_->count(); ++i) {
            Interface(i).clearWrites();
        }
        pauses_.clear();
    }

    std::shared_ptr<sim::SimBackend> backend_;
    std::unique_ptr<Form1> form_;
    std::vector<std::chrono::milliseconds> pauses_;
};

}  // namespace quillo::ui
