// The pages' controls as the state both programs share: collected for a write, and shown
// control by control after an answer changed the state.

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <string>

#include "protocol/ip_octets.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/ip_address_edit.h"
#include "ui/time_edit.h"

namespace quillo::ui {
namespace {

std::u16string Text(const QString& text) {
    return text.toStdU16String();
}

QString Text(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// The text of the selected item; empty with none selected, which then fails to convert.
std::u16string SelectedItemText(const QComboBox* box) {
    return Text(box->itemText(box->currentIndex()));
}

// Selects the item with `text`; none when no item has it (an empty text included).
void SelectItemText(QComboBox* box, const std::u16string& text) {
    box->setCurrentIndex(
        text.empty() ? -1 : box->findText(Text(text), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

protocol::IpOctets Octets(const IpAddressEdit* edit) {
    return {static_cast<std::uint8_t>(edit->octet(1)), static_cast<std::uint8_t>(edit->octet(2)),
            static_cast<std::uint8_t>(edit->octet(3)), static_cast<std::uint8_t>(edit->octet(4))};
}

void ShowAddress(const protocol::IpOctets& address, IpAddressEdit* edit) {
    edit->setText(Text(protocol::dottedText(address)));
}

// Checks the button of a pair that the state has checked; checking runs its click handler.
void CheckOne(bool first, bool second, QRadioButton* firstButton, QRadioButton* secondButton) {
    if (first) {
        firstButton->setChecked(true);
    } else if (second) {
        secondButton->setChecked(true);
    }
}

}  // namespace

std::vector<std::uint8_t> Form1::WiFiNameReadAs(const QString& shown) const {
    const int item = ComboBox_Wi_Fi_name->currentIndex();
    if (item >= 0 && ComboBox_Wi_Fi_name->itemText(item) == shown) {
        const QByteArray bytes = ComboBox_Wi_Fi_name->itemData(item).toByteArray();
        return {bytes.begin(), bytes.end()};
    }
    return WiFiNameReadBytes;
}

protocol::WifiControls Form1::WifiControlsNow() const {
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
    controls.nameReadBytes = WiFiNameReadAs(ComboBox_Wi_Fi_name->currentText());
    controls.password = Text(Edit_Password->text());
    controls.passwordRead = PasswordRead;
    controls.passwordEnabled = Edit_Password->isEnabled();
    controls.masterIp = Octets(IPAddress_IP_Master);
    controls.slaveIp = Octets(IPAddress_IP_Slave);
    controls.gateway = Octets(IPAddress_Gateway);
    controls.channelItemText = SelectedItemText(ComboBox_Wi_Fi_channel);
    controls.slaveNumberItemText = SelectedItemText(ComboBox_Number_Slave);
    controls.securityItem = ComboBox_Security_WI_FI->currentIndex();
    controls.slaveIpModeItem = ComboBox_IP_Slave->currentIndex();
    return controls;
}

protocol::FanControls Form1::FanControlsNow() const {
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
    return controls;
}

void Form1::ShowPageControl(model::PageControl control, const model::PageState& state) {
    using model::PageControl;
    const protocol::WifiControls& w = state.wifi;
    const protocol::FanControls& f = state.fan;
    switch (control) {
        case PageControl::Mode:
            CheckOne(w.mode == protocol::ModeChoice::Master, w.mode == protocol::ModeChoice::Slave,
                     RadioButton_master, RadioButton_slave);
            break;
        case PageControl::Router:
            CheckOne(w.router == protocol::RouterChoice::With,
                     w.router == protocol::RouterChoice::Without, RadioButton_with_router,
                     RadioButton_without_router);
            break;
        case PageControl::WifiName:
            WiFiNameReadBytes = w.nameReadBytes;
            ComboBox_Wi_Fi_name->setEditText(Text(w.name));
            break;
        case PageControl::Password:
            PasswordRead = w.passwordRead;
            Edit_Password->setText(Text(w.password));
            break;
        case PageControl::SlaveNumber:
            SelectItemText(ComboBox_Number_Slave, w.slaveNumberItemText);
            break;
        case PageControl::SlaveIpMode:
            ComboBox_IP_Slave->setCurrentIndex(w.slaveIpModeItem);
            ComboBox_IP_SlaveChange();
            break;
        case PageControl::SlaveIp:
            ShowAddress(w.slaveIp, IPAddress_IP_Slave);
            break;
        case PageControl::MasterIp:
            ShowAddress(w.masterIp, IPAddress_IP_Master);
            break;
        case PageControl::Channel:
            SelectItemText(ComboBox_Wi_Fi_channel, w.channelItemText);
            break;
        case PageControl::Security:
            ComboBox_Security_WI_FI->setCurrentIndex(w.securityItem);
            ComboBox_Security_WI_FIChange();
            break;
        case PageControl::Gateway:
            ShowAddress(w.gateway, IPAddress_Gateway);
            break;
        case PageControl::OffAvailable:
            CheckBox_Available_OFF_device->setChecked(f.offAvailable);
            break;
        case PageControl::Direction:
            CheckOne(f.exhaustChecked, f.supplyChecked, RadioButton_Exhaust, RadioButton_Supply);
            break;
        case PageControl::HumiditySensor:
            CheckBox_Humidity_sensor->setChecked(f.humiditySensor);
            break;
        case PageControl::RelaySensor:
            CheckBox_External_sensor1->setChecked(f.relaySensor);
            break;
        case PageControl::VoltageSensor:
            CheckBox_External_sensor2->setChecked(f.voltageSensor);
            break;
        case PageControl::HumidityThreshold:
            TrackBar_Humidity_sensor->setValue(f.humidityPosition);
            break;
        case PageControl::VoltageThreshold:
            TrackBar_External_sensor2->setValue(f.voltagePosition);
            break;
        case PageControl::OffDelayTimer:
            TimeEdit_Timer_after_reacting_any_sensor->setText(Text(f.offDelayTime));
            break;
        case PageControl::NightTimer:
            TimeEdit_Timer_night_mode->setText(Text(f.nightTime));
            break;
        case PageControl::PartyTimer:
            TimeEdit_Timer_party_mode->setText(Text(f.partyTime));
            break;
        case PageControl::HumidityScenario:
            CheckOne(f.exhaustBixChecked, f.supplyExhaustBixChecked, RadioButton_Exhaust_Bix,
                     RadioButton_Supply_Exhaust_Bix);
            break;
    }
}

}  // namespace quillo::ui
