// The command buttons that read, write and reset the unit's settings. Each handler collects the
// controls, lets the protocol core build the sequence, and then shows a box or sends the steps.

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

std::u16string Text(const QString& text) {
    return text.toStdU16String();
}

// The text of the selected item; empty with none selected, which then fails to convert.
std::u16string SelectedItemText(const QComboBox* box) {
    return Text(box->itemText(box->currentIndex()));
}

protocol::IpOctets Octets(const IpAddressEdit* edit) {
    return {static_cast<std::uint8_t>(edit->octet(1)), static_cast<std::uint8_t>(edit->octet(2)),
            static_cast<std::uint8_t>(edit->octet(3)), static_cast<std::uint8_t>(edit->octet(4))};
}

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
    protocol::WifiControls controls;
    if (RadioButton_master->isChecked()) {
        controls.mode = protocol::ModeChoice::Master;
    } else if (RadioButton_slave->isChecked()) {
        controls.mode = protocol::ModeChoice::Slave;
    }
    if (RadioButton_with_router->isChecked()) {
        controls.router = protocol::RouterChoice::With;
    } else if (RadioButton_without_router->isChecked()) {
        controls.router = protocol::RouterChoice::Without;
    }
    controls.name = Text(ComboBox_Wi_Fi_name->currentText());
    controls.password = Text(Edit_Password->text());
    controls.masterIp = Octets(IPAddress_IP_Master);
    controls.slaveIp = Octets(IPAddress_IP_Slave);
    controls.gateway = Octets(IPAddress_Gateway);
    controls.channelItemText = SelectedItemText(ComboBox_Wi_Fi_channel);
    controls.slaveNumberItemText = SelectedItemText(ComboBox_Number_Slave);
    controls.securityItem = ComboBox_Security_WI_FI->currentIndex();
    controls.slaveIpModeItem = ComboBox_IP_Slave->currentIndex();

    protocol::WifiWrite write = protocol::buildWifiWrite(controls, DeviceSettings);
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
    protocol::FanControls controls;
    controls.offAvailable = CheckBox_Available_OFF_device->isChecked();
    controls.supplyChecked = RadioButton_Supply->isChecked();
    controls.exhaustChecked = RadioButton_Exhaust->isChecked();
    controls.humiditySensor = CheckBox_Humidity_sensor->isChecked();
    controls.relaySensor = CheckBox_External_sensor1->isChecked();
    controls.voltageSensor = CheckBox_External_sensor2->isChecked();
    controls.exhaustBixChecked = RadioButton_Exhaust_Bix->isChecked();
    controls.supplyExhaustBixChecked = RadioButton_Supply_Exhaust_Bix->isChecked();
    controls.humidityPosition = TrackBar_Humidity_sensor->value();
    controls.voltagePosition = TrackBar_External_sensor2->value();
    controls.offDelayTime = Text(TimeEdit_Timer_after_reacting_any_sensor->text());
    controls.nightTime = Text(TimeEdit_Timer_night_mode->text());
    controls.partyTime = Text(TimeEdit_Timer_party_mode->text());

    protocol::FanWrite write = protocol::buildFanWrite(controls, DeviceSettings);
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
