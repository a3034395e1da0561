// Which panels of the Wi-Fi page show for each device mode and connection type, the small
// rules that tie one control to another, and the slider captions.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "lang/message_table.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/ip_address_edit.h"

namespace quillo::ui {

using lang::MessageText;

// The handlers change the window through its control pointers; const would misstate that.
// NOLINTBEGIN(readability-make-member-function-const)

namespace {
constexpr int kOpenSecurity = 0;  // "OPEN" in ComboBox_Security_WI_FI
constexpr int kDhcp = 0;          // in ComboBox_IP_Slave
constexpr int kStatic = 1;
}  // namespace

void Form1::RadioButton_masterClick() {
    Panel_IP_Slave->hide();
    Panel_Number_of_slave->hide();
    Panel_Master_State_connection->hide();
    if (RadioButton_without_router->isChecked()) {
        Label_Password->setText(MessageText(190));
        Panel_Wi_Fi_name->hide();
        Panel_IP_Master->hide();
        Label_type_security->show();
        ComboBox_Security_WI_FI->show();
        Panel_Wi_Fi_channel->show();
        Panel_Wi_Fi_State_connection->hide();
    } else if (RadioButton_with_router->isChecked()) {
        Label_Password->setText(MessageText(200));
        Panel_Wi_Fi_name->show();
        Panel_IP_Master->show();
        Label_type_security->hide();
        ComboBox_Security_WI_FI->hide();
        Panel_Wi_Fi_channel->hide();
        Panel_Wi_Fi_State_connection->show();
    }
    // Never enables: a password disabled by "OPEN" elsewhere stays so.
    if (RadioButton_without_router->isChecked() &&
        ComboBox_Security_WI_FI->currentIndex() == kOpenSecurity) {
        Edit_Password->setEnabled(false);
    }
    Label_Gateway->show();
    IPAddress_Gateway->show();
}

void Form1::RadioButton_slaveClick() {
    Label_Password->setText(MessageText(200));
    Panel_Number_of_slave->show();
    Panel_Wi_Fi_name->show();
    Label_type_security->hide();
    ComboBox_Security_WI_FI->hide();
    Panel_Wi_Fi_channel->hide();
    Edit_Password->setEnabled(true);
    Panel_Wi_Fi_State_connection->show();
    Panel_Master_State_connection->show();
    if (RadioButton_without_router->isChecked()) {
        Panel_IP_Master->hide();
        Panel_IP_Slave->hide();
    } else if (RadioButton_with_router->isChecked()) {
        Panel_IP_Master->show();
        Panel_IP_Slave->show();
    }
    Label_Gateway->hide();
    IPAddress_Gateway->hide();
}

void Form1::RadioButton_without_routerClick() {
    Panel_IP_Master->hide();
    Panel_IP_Slave->hide();
    if (RadioButton_master->isChecked()) {
        Label_Password->setText(MessageText(190));
        Panel_Wi_Fi_name->hide();
        Label_type_security->show();
        ComboBox_Security_WI_FI->show();
        Panel_Wi_Fi_channel->show();
        Panel_Number_of_slave->hide();
        Panel_Wi_Fi_State_connection->hide();
    } else if (RadioButton_slave->isChecked()) {
        Label_Password->setText(MessageText(200));
        Label_type_security->hide();
        ComboBox_Security_WI_FI->hide();
        Panel_Wi_Fi_channel->hide();
        Panel_Number_of_slave->show();
        Panel_Wi_Fi_State_connection->show();
    }
    if (RadioButton_master->isChecked() &&
        ComboBox_Security_WI_FI->currentIndex() == kOpenSecurity) {
        Edit_Password->setEnabled(false);
    }
}

void Form1::RadioButton_with_routerClick() {
    Label_Password->setText(MessageText(200));
    Label_type_security->hide();
    ComboBox_Security_WI_FI->hide();
    Edit_Password->setEnabled(true);
    Panel_Wi_Fi_channel->hide();
    Panel_IP_Master->show();
    Panel_Wi_Fi_State_connection->show();
    if (RadioButton_master->isChecked()) {
        Panel_Wi_Fi_name->show();
        Panel_IP_Slave->hide();
        Panel_Number_of_slave->hide();
    } else if (RadioButton_slave->isChecked()) {
        Panel_IP_Slave->show();
        Panel_Number_of_slave->show();
    }
}

void Form1::ComboBox_Security_WI_FIChange() {
    // isEnabled, not isVisible: the list is hidden in three of the four states, and a type
    // read from the unit must still take effect.
    Edit_Password->setEnabled(!(ComboBox_Security_WI_FI->currentIndex() == kOpenSecurity &&
                                ComboBox_Security_WI_FI->isEnabled()));
}

void Form1::ComboBox_IP_SlaveChange() {
    if (ComboBox_IP_Slave->currentIndex() == kDhcp) {
        IPAddress_IP_Slave->setEnabled(false);
    } else if (ComboBox_IP_Slave->currentIndex() == kStatic) {
        IPAddress_IP_Slave->setEnabled(true);
    }
}

void Form1::IPAddress_IP_MasterKeyUp() {
    for (int n = 1; n <= 3; ++n) {
        IPAddress_Gateway->setOctet(n, IPAddress_IP_Master->octet(n));
    }
}

void Form1::TrackBar_Humidity_sensorChange() {
    Label_Humidity_sensor->setText(QString::number(TrackBar_Humidity_sensor->value() * 5) +
                                   MessageText(360));
    ApplyAccessibleTexts();
}

void Form1::TrackBar_External_sensor2Change() {
    Label_External_sensor2->setText(QString::number(TrackBar_External_sensor2->value() * 5) +
                                    QStringLiteral(" %"));
    ApplyAccessibleTexts();
}

// NOLINTEND(readability-make-member-function-const)

}  // namespace quillo::ui
