// The command buttons that read, write and reset the unit's settings. Each handler collects the
// controls, lets the protocol core build the sequence, and then shows a box or sends the steps.

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <string>

#include "lang/message_table.h"
#include "protocol/integer_text.h"
#include "protocol/write_sequences.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/ip_address_edit.h"
#include "ui/message_box.h"
#include "ui/time_edit.h"

namespace quillo::ui {
namespace {

constexpr int kMessageSelectDevice = 550;  // "Select device"

}  // namespace

// Every button that talks to the unit first needs one; without it the user is told to choose.
bool Form1::RequireDevice() {
    if (CurrentDevice != nullptr) {
        return true;
    }
    ShowMessage(this, lang::MessageText(kMessageSelectDevice));
    return false;
}

void Form1::ShowConversionError(const protocol::ConversionError& error) {
    ShowError(this, QString::fromStdU16String(protocol::conversionErrorMessage(error)));
}

void Form1::Button_Get_current_parametersClick() {
    if (RequireDevice()) {
        RunSequence(protocol::readParametersSequence());
    }
}

void Form1::Button_Restore_default_parametersClick() {
    if (RequireDevice()) {
        RunSequence(protocol::restoreDefaultsSequence());
    }
}

void Form1::Button_Apply_Save_Wi_FiClick() {
    if (!RequireDevice()) {
        return;
    }
    protocol::WifiWrite write = protocol::buildWifiWrite(WifiControlsNow(), DeviceSettings);
    // What was collected stays, also when the write is refused.
    DeviceSettings = write.settings;
    switch (write.outcome) {
        case protocol::WriteOutcome::Refused:
            ShowMessage(this, lang::MessageText(write.messageId));
            break;
        case protocol::WriteOutcome::ConversionError:
            ShowConversionError(write.error);
            break;
        case protocol::WriteOutcome::Ok:
            RunSequence(write.steps);
            break;
    }
}

void Form1::Button_Apply_Save_FanClick() {
    if (!RequireDevice()) {
        return;
    }
    protocol::FanWrite write = protocol::buildFanWrite(FanControlsNow(), DeviceSettings);
    DeviceSettings = write.settings;
    if (write.outcome == protocol::WriteOutcome::ConversionError) {
        // All time fields are checked before the first command, so nothing was sent.
        ShowConversionError(write.error);
        return;
    }
    RunSequence(write.steps);
}

void Form1::Button_Reset_filter_timerClick() {
    if (RequireDevice()) {
        RunSequence(protocol::filterResetSequence());
    }
}

// The manual's label is never shown; its click does nothing.
void Form1::Label_User_ManualClick() {}

}  // namespace quillo::ui
