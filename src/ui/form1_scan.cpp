// The Wi-Fi network scan: the unit passes AT commands to its Wi-Fi module, which lists the
// access points one line per report. Timer1 repeats the request until the first line arrives
// (and gives up after a few repeats); Timer2 ends the pass-through a while after it. A scan
// runs while either timer does: lines outside one are nobody's answer and are dropped.

#include <QByteArray>
#include <QComboBox>
#include <QTimer>

#include "hid/hid_device.h"
#include "lang/message_table.h"
#include "protocol/input_report.h"
#include "protocol/payload.h"
#include "protocol/wifi_scan.h"
#include "protocol/wire_text.h"
#include "ui/form1.h"

namespace quillo::ui {
namespace {

constexpr int kMessagePleaseWait = 560;

// Enabling a running timer must not restart its period.
void Enable(QTimer* timer) {
    if (!timer->isActive()) {
        timer->start();
    }
}

}  // namespace

// Not const: they change the window through its controls and timers.
// NOLINTBEGIN(readability-make-member-function-const)

bool Form1::ScanRunning() const {
    return Timer1->isActive() || Timer2->isActive();
}

void Form1::Button_Search_Wi_FiClick() {
    if (!RequireDevice()) {
        return;
    }
    // A click during a scan keeps the text from before the first click.
    if (!ScanRunning()) {
        scanPreviousName_ = ComboBox_Wi_Fi_name->currentText();
    }
    scanRepeats_ = 0;
    scanUnitId_ = CurrentDevice->PnPInfo()->DeviceID;
    Enable(Timer1);
    ComboBox_Wi_Fi_name->clear();
    ComboBox_Wi_Fi_name->clearEditText();
    scanWaitText_ = lang::MessageText(kMessagePleaseWait);
    ComboBox_Wi_Fi_name->setEditText(scanWaitText_);
    RunSequence(protocol::scanAtSequence());
}

void Form1::Timer1Timer() {
    if (scanRepeats_ >= protocol::kScanRepeatsWithoutLine) {
        // No network answered: leave pass-through and give the name box back.
        Timer1->stop();
        RunSequence(protocol::scanClosingSequence());
        RestoreScanName();
        return;
    }
    ++scanRepeats_;
    RunSequence(protocol::scanAtSequence());
}

void Form1::Timer2Timer() {
    RunSequence(protocol::scanClosingSequence());
    Timer2->stop();
}

void Form1::ScanLineReceived(const std::uint8_t* data, std::uint16_t size) {
    if (!ScanRunning()) {
        return;  // not asked for: the typed name and the module stay as they are
    }
    Timer1->stop();
    // Timer2 counts from the first line of a scan, not from the last.
    Enable(Timer2);
    // The item keeps the bytes the name was on the air as, so that a write of the picked name
    // sends them back exactly.
    const protocol::ScanName network =
        protocol::scanNetworkName(protocol::InputReport(data, size, size));
    const std::vector<std::uint8_t>& bytes = network.bytes;
    const QString name = QString::fromStdU16String(network.shown);
    // Access points of one network, repeated lines and a stream of them list a name once.
    if (ComboBox_Wi_Fi_name->count() < protocol::kScanNameLimit &&
        ComboBox_Wi_Fi_name->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        ComboBox_Wi_Fi_name->addItem(name, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<qsizetype>(bytes.size())));
    }
    ComboBox_Wi_Fi_name->setCurrentIndex(0);
}

void Form1::StopScan() {
    if (!ScanRunning()) {
        return;
    }
    // A unit still attached is not left in pass-through with its Wi-Fi off.
    if (CurrentDevice != nullptr && CurrentDevice->IsPluggedIn()) {
        RunSequence(protocol::scanClosingSequence());
    }
    Timer1->stop();
    Timer2->stop();
    RestoreScanName();
}

bool Form1::IsScanUnit(const hid::HidDevice* dev) const {
    return dev != nullptr && ScanRunning() && dev->PnPInfo()->DeviceID == scanUnitId_;
}

void Form1::RestoreScanName() {
    // Only while the box still waits: a name the user typed or a scan listed stays.
    if (ComboBox_Wi_Fi_name->currentText() == scanWaitText_) {
        ComboBox_Wi_Fi_name->setEditText(scanPreviousName_);
    }
}

// NOLINTEND(readability-make-member-function-const)

}  // namespace quillo::ui
