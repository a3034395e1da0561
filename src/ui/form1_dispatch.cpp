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

// 1 checks `ifOne`, 0 checks `ifZero`, any other value checks nothing. Checking an unchecked
// radio button runs its click handler.
void CheckPair(std::uint8_t value, QRadioButton* ifOne, QRadioButton* ifZero) {
    if (const std::optional<bool> flag = protocol::flagFromValue(value)) {
        (*flag ? ifOne : ifZero)->setChecked(true);
    }
}

void CheckFlag(std::uint8_t value, QCheckBox* box) {
    if (const std::optional<bool> flag = protocol::flagFromValue(value)) {
        box->setChecked(*flag);
    }
}

void ShowAddress(const protocol::IpOctets& address, IpAddressEdit* edit) {
    edit->setText(Text(protocol::dottedText(address)));
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
    const std::uint8_t byte = report.byteValue();
    protocol::DeviceSettings& settings = DeviceSettings;

    if (report.code() == unit::kScanLineCode) {
        // Only the bytes the report really holds.
        ScanLineReceived(Data, static_cast<std::uint16_t>(report.size()));
        return;
    }
    // An answer asked for before the user applied a new value of its parameter would show and
    // store the old value again: it is passed over, and the chain goes on.
    if (!generations_.answerIsCurrent(report.code(), protocol::WriteGenerations::Clock::now())) {
        AskForNextReadCode(report.code());
        return;
    }

    switch (report.code()) {
        case protocol::Code_Device_mode:
            settings.Device_mode = byte;
            CheckPair(byte, RadioButton_master, RadioButton_slave);
            break;
        case protocol::Code_Connection_type:
            settings.Connection_type = byte;
            if (settings.Device_mode == unit::kModeMaster) {
                if (byte == unit::kConnectionWithRouter) {
                    RadioButton_with_router->setChecked(true);
                } else if (byte == unit::kConnectionWithoutRouter) {
                    RadioButton_without_router->setChecked(true);
                }
            }
            break;
        case protocol::Code_Wi_Fi_name: {
            // Shown decoded; the bytes stay, so that an unedited name goes back as it came.
            WiFiNameReadBytes = protocol::wireBytes(report.displayText());
            const std::u16string name = protocol::decodeWireText(WiFiNameReadBytes);
            ComboBox_Wi_Fi_name->setEditText(Text(name));
            // A slave's network tells its connection: a master's own network has no router.
            if (settings.Device_mode == unit::kModeSlave) {
                (unit::isMasterNetworkName(name) ? RadioButton_without_router
                                                 : RadioButton_with_router)
                    ->setChecked(true);
            }
            break;
        }
        case protocol::Code_Wi_Fi_password:
            settings.Wi_Fi_password = report.rawText();
            Edit_Password->setText(Text(report.displayText()));
            break;
        case protocol::Code_Slave_number:
            settings.Slave_number = byte;
            ComboBox_Number_Slave->setCurrentIndex(
                protocol::slaveNumberItemIndex(byte).value_or(-1));
            break;
        case protocol::Code_Slave_IP_mode:
            settings.Slave_IP_mode = byte;
            if (const std::optional<int> item = protocol::slaveIpModeItemIndex(byte)) {
                ComboBox_IP_Slave->setCurrentIndex(*item);
            }
            ComboBox_IP_SlaveChange();
            break;
        case protocol::Code_Slave_IP:
            settings.Slave_IP = report.address();
            ShowAddress(settings.Slave_IP, IPAddress_IP_Slave);
            break;
        case protocol::Code_Master_IP:
            settings.Master_IP = report.address();
            ShowAddress(settings.Master_IP, IPAddress_IP_Master);
            break;
        case protocol::Code_Wi_Fi_channel:
            settings.Wi_Fi_channel = byte;
            ComboBox_Wi_Fi_channel->setCurrentIndex(protocol::channelItemIndex(byte).value_or(-1));
            break;
        case protocol::Code_Wi_Fi_security:
            settings.Wi_Fi_security = report.digitValue();
            if (const std::optional<int> item = protocol::securityItemIndex(report.digitValue())) {
                ComboBox_Security_WI_FI->setCurrentIndex(*item);
            }
            ComboBox_Security_WI_FIChange();
            break;
        case protocol::Code_Off_available:
            settings.Off_available = byte;
            CheckFlag(byte, CheckBox_Available_OFF_device);
            break;
        case protocol::Code_Direction:
            settings.Direction = byte;
            CheckPair(byte, RadioButton_Exhaust, RadioButton_Supply);
            break;
        case protocol::Code_Humidity_sensor:
            settings.Humidity_sensor = byte;
            CheckFlag(byte, CheckBox_Humidity_sensor);
            break;
        case protocol::Code_Relay_sensor:
            settings.Relay_sensor = byte;
            CheckFlag(byte, CheckBox_External_sensor1);
            break;
        case protocol::Code_Voltage_sensor:
            settings.Voltage_sensor = byte;
            CheckFlag(byte, CheckBox_External_sensor2);
            break;
        case protocol::Code_Humidity_threshold:
            TrackBar_Humidity_sensor->setValue(protocol::humidityThresholdPosition(byte));
            break;
        case protocol::Code_Voltage_threshold:
            TrackBar_External_sensor2->setValue(protocol::voltageThresholdPosition(byte));
            break;
        case protocol::Code_Off_delay_timer:
            TimeEdit_Timer_after_reacting_any_sensor->setText(
                Text(protocol::timeTextFromSeconds(report.seconds())));
            break;
        case protocol::Code_Night_timer:
            TimeEdit_Timer_night_mode->setText(
                Text(protocol::timeTextFromSeconds(report.seconds())));
            break;
        case protocol::Code_Party_timer:
            TimeEdit_Timer_party_mode->setText(
                Text(protocol::timeTextFromSeconds(report.seconds())));
            break;
        case protocol::Code_Humidity_scenario:
            settings.Humidity_scenario = byte;
            CheckPair(byte, RadioButton_Exhaust_Bix, RadioButton_Supply_Exhaust_Bix);
            break;
        case protocol::Code_Gateway:
            settings.Gateway = report.address();
            ShowAddress(settings.Gateway, IPAddress_Gateway);
            break;
        case protocol::Code_Wi_Fi_state:
            ShowState(byte, Panel_Wi_Fi_State_connection, 270, 280);
            return;
        case protocol::Code_Master_state:
            ShowState(byte, Panel_Master_State_connection, 290, 300);
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

    // Only the chain's codes get here.
    AskForNextReadCode(report.code());
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
