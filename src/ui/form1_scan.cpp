// The Wi-Fi network scan: the unit passes AT commands to its Wi-Fi module, which lists the
// access points one line per report. Timer1 repeats the request until the first line arrives;
// Timer2 ends the pass-through a while after it.

#include <QByteArray>
#include <QComboBox>
#include <QTimer>

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

void Form1::Button_Search_Wi_FiClick() {
    if (!RequireDevice()) {
        return;
    }
    Enable(Timer1);
    ComboBox_Wi_Fi_name->clear();
    ComboBox_Wi_Fi_name->clearEditText();
    ComboBox_Wi_Fi_name->setEditText(lang::MessageText(kMessagePleaseWait));
    RunSequence(protocol::scanAtSequence());
}

// No device test: without a device SendCommand drops the commands.
void Form1::Timer1Timer() {
    RunSequence(protocol::scanAtSequence());
}

void Form1::Timer2Timer() {
    RunSequence(protocol::scanClosingSequence());
    Timer2->stop();
}

// Not const: it changes the window through its controls and timers.
// NOLINTNEXTLINE(readability-make-member-function-const)
void Form1::ScanLineReceived(const std::uint8_t* data, std::uint16_t size) {
    Timer1->stop();
    // Timer2 counts from the first line of a scan, not from the last.
    Enable(Timer2);
    const protocol::InputReport report(data, size, size);
    // The name as it was on the air; the item keeps those bytes, so that a write of the picked
    // name sends them back exactly.
    const std::vector<std::uint8_t> name =
        protocol::wireBytes(protocol::networkNameFromScanLine(protocol::scanLineText(report)));
    ComboBox_Wi_Fi_name->addItem(QString::fromStdU16String(protocol::decodeWireText(name)),
                                 QByteArray(reinterpret_cast<const char*>(name.data()),
                                            static_cast<qsizetype>(name.size())));
    ComboBox_Wi_Fi_name->setCurrentIndex(0);
}

}  // namespace quillo::ui
