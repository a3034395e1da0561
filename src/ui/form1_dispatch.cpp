// The unit's answers and the once-a-second status poll. Each answer is stored and shown by its
// code; an answer of the read chain then asks for the next code.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <optional>

#include "hid/hid_device.h"
#include "lang/message_table.h"
#include "protocol/command_code.h"
#include "protocol/conversions.h"
#include "protocol/input_report.h"
#include "protocol/ip_octets.h"
#include "protocol/payload.h"
#include "protocol/read_chain.h"
#include "protocol/unit_contract.h"
#include "protocol/wire_text.h"
#include "protocol/write_sequences.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/ip_address_edit.h"
#include "ui/time_edit.h"

namespace quillo::ui {

using lang::MessageText;
namespace unit = protocol::unit;

// The handlers change the window through its control pointers; const would misstate that.
// NOLINTBEGIN(readability-make-member-function-const)

namespace {

QString Text(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// A state panel: disconnected on red, anything else connected on bright green.
void ShowState(std::uint8_t value, Panel* panel, int connectedText, int disconnectedText) {
    const bool connected = value != unit::kDisconnected;
    panel->setCaption(MessageText(connected ? connectedText : disconnectedText));
    panel->setColor(connected ? ColorBrightGreen : ColorRed);
}

}  // namespace

void Form1::HidDeviceController1DeviceData(hid::HidDevice* HidDev, std::uint8_t /*ReportID*/,
                                           const std::uint8_t* Data, std::uint16_t Size) {
    if (HidDev == nullptr || HidDev != CurrentDevice) {
        return;  // only the chosen unit is listened to
    }
    // The transport's buffer holds the input report without its ID; nothing past it is read,
    // whatever Size claims.
    const std::size_t reportLength = HidDev->Caps().InputReportByteLength;
    const std::size_t capacity = reportLength > 1 ? reportLength - 1 : Size;
    const protocol::InputReport report(Data, Size, capacity);

    if (report.code() == unit::kScanLineCode) {
        // Only the bytes the report really holds.
        ScanLineReceived(Data, static_cast<std::uint16_t>(report.size()));
        return;
    }
    // An answer asked for before the user applied a new value of its parameter would show and
    // store the old value again: it is passed over, and the chain goes on.
    if (!generations_.answerIsCurrent(
            report.code(),
            HidDev->ReportArrival().value_or(protocol::WriteGenerations::Clock::now()))) {
        AskForNextReadCode(report.code());
        return;
    }

    // A page setting changes the shared state, and the window shows the controls it touched.
    model::PageState page{WifiControlsNow(), FanControlsNow(), DeviceSettings};
    if (const std::vector<model::PageControl> touched = model::ApplyAnswer(report, page);
        !touched.empty()) {
        DeviceSettings = page.current;
        for (const model::PageControl control : touched) {
            ShowPageControl(control, page);
        }
        AskForNextReadCode(report.code());
        return;
    }

    switch (report.code()) {
        case protocol::Code_Wi_Fi_state:
            ShowState(report.byteValue(), Panel_Wi_Fi_State_connection, 270, 280);
            return;
        case protocol::Code_Master_state:
            ShowState(report.byteValue(), Panel_Master_State_connection, 290, 300);
            return;
        case protocol::Code_Serial_number:
            Label_Serial_number->setText(Text(report.countedText()));
            return;
        case protocol::Code_Filter_timer:
            Label_Timer_filter->setText(Text(protocol::filterRunTimeText(
                report.seconds(), MessageText(370).toStdU16String(),
                MessageText(380).toStdU16String(), MessageText(390).toStdU16String(),
                MessageText(400).toStdU16String())));
            return;
        default:
            return;  // module output and codes the tool does not read
    }
}

// Waits, then asks for the code after `answered` (none after the last, nor for codes outside
// the chain).
void Form1::AskForNextReadCode(std::uint8_t answered) {
    if (!protocol::isReadChainCode(static_cast<protocol::CommandCode>(answered))) {
        return;
    }
    Pause(protocol::kReadChainPause);
    if (const std::optional<protocol::CommandCode> next =
            protocol::nextReadCode(static_cast<protocol::CommandCode>(answered))) {
        SendCommand(protocol::Code_Read, protocol::bytePayload(*next));
    }
}

void Form1::Timer3Timer() {
    if (CurrentDevice == nullptr) {
        return;
    }
    // A unit whose open was refused when it was chosen is asked for its serial number once it
    // can be written to again.
    if (serialNumberUnasked_) {
        serialNumberUnasked_ =
            !SendCommand(protocol::Code_Read, protocol::bytePayload(protocol::Code_Serial_number))
                 .whole();
    }
    RunSequence(protocol::statusPollSequence(PageShowing(Filter)));
}

// NOLINTEND(readability-make-member-function-const)

}  // namespace quillo::ui
