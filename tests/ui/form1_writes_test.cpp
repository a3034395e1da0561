// The command buttons, end to end: the window over a simulated unit, the exact reports that
// reach the unit and the pauses between them, and the boxes the user sees instead.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "hid/hid_device.h"
#include "hid/hid_device_controller.h"
#include "protocol/command_code.h"
#include "protocol/unit_contract.h"
#include "protocol/wifi_scan.h"
#include "protocol/write_generations.h"
#include "sim_form_fixture.h"
#include "ui/controls.h"
#include "ui/ip_address_edit.h"
#include "ui/time_edit.h"
#include "unit_model/page_state.h"

namespace quillo::ui {

// A pause together with the number of reports written before it, so that a test sees where in
// the sequence each pause fell.
struct PauseAt {
    int ms = 0;
    std::size_t afterReports = 0;

    friend bool operator==(const PauseAt&, const PauseAt&) = default;
};

void PrintTo(const PauseAt& pause, std::ostream* os) {
    *os << pause.ms << " ms after report " << pause.afterReports;
}

namespace {

using namespace protocol;
using Report = std::vector<std::uint8_t>;

constexpr std::size_t kReportLength = 65;

// The output report the unit must receive: report ID 1, code, length, payload, zeros.
Report Out(std::uint8_t code, std::initializer_list<std::uint8_t> payload) {
    Report report(kReportLength, 0);
    report[0] = 1;
    report[1] = code;
    report[2] = static_cast<std::uint8_t>(payload.size());
    std::size_t i = 3;
    for (const std::uint8_t byte : payload) {
        report[i++] = byte;
    }
    return report;
}

Report OutText(std::uint8_t code, std::string_view text) {
    Report report(kReportLength, 0);
    report[0] = 1;
    report[1] = code;
    report[2] = static_cast<std::uint8_t>(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        report[3 + i] = static_cast<std::uint8_t>(text[i]);
    }
    return report;
}

// A scan line as the transport hands it to the window: code 4, a length byte, the text, filler.
Report ScanLine(std::string_view text) {
    Report data(kReportLength - 1, 0);
    data[0] = Code_AT_mode;
    data[1] = static_cast<std::uint8_t>(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        data[2 + i] = static_cast<std::uint8_t>(text[i]);
    }
    return data;
}

std::vector<Report> Concat(std::initializer_list<std::vector<Report>> parts) {
    std::vector<Report> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const std::vector<Report> kAtSequence = {
    Out(Code_AT_mode, {1}),
    OutText(Code_AT_command, "AT+CWQAP\r\n"),
    OutText(Code_AT_command, "AT+CWMODE_DEF=1\r\n"),
    OutText(Code_AT_command, "AT+CWLAP\r\n"),
};

const std::vector<Report> kClosingSequence = {
    Out(Code_AT_mode, {0}),
    Out(Code_Wi_Fi_module, {0}),
    Out(Code_Wi_Fi_module, {1}),
};

class Buttons : public SimFormTest {
protected:
    bool withUnit_ = true;

    void SetUp() override {
        SimFormTest::SetUp();
        // Boxes become lines on stderr and return at once, as if OK had been pressed.
        qputenv("QUILLO_MESSAGE_BOXES", "stderr");
        if (withUnit_) {
            backend_->plugUnit(sim::Model::Solvi);
        } else {
            backend_->plugDevice(0x046D, 0xC077, u"Mouse");
        }
        Start();
        form_->Sleep = [this](std::chrono::milliseconds pause) {
            pausesAt_.push_back({static_cast<int>(pause.count()), Writes(0).size()});
        };
    }
    void TearDown() override {
        // Answers still on their way are served while the controller stops its readers, which
        // happens when the window is already half destroyed; they must not reach it (nor a
        // test's locals).
        if (form_) {
            form_->HidDeviceController1->SetOnDeviceData(
                [](hid::HidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) {});
        }
        SimFormTest::TearDown();
        qunsetenv("QUILLO_MESSAGE_BOXES");
    }

    // The device list chose the unit at start; its serial number request is answered first, so
    // that only the test's own reports are on the wire.
    void ChooseUnit() {
        ASSERT_NE(form_->CurrentDevice, nullptr);
        ASSERT_TRUE(WaitForSerialNumber());
        ClearWrites();
        pausesAt_.clear();
    }

    // Runs `action` and returns the texts of the boxes it showed, in order.
    static std::vector<QString> Boxes(const std::function<void()>& action) {
        testing::internal::CaptureStderr();
        action();
        const QString err = QString::fromStdString(testing::internal::GetCapturedStderr());
        std::vector<QString> boxes;
        for (const QString& line : err.split('\n')) {
            if (line.startsWith(QStringLiteral("message box: "))) {
                boxes.push_back(line.mid(13));
            }
        }
        return boxes;
    }

    void Click(void (Form1::*handler)()) { (form_.get()->*handler)(); }

    void SetWifiMode(bool master, bool withRouter) {
        (master ? form_->RadioButton_master : form_->RadioButton_slave)->setChecked(true);
        (withRouter ? form_->RadioButton_with_router : form_->RadioButton_without_router)
            ->setChecked(true);
    }

    void FillWifiPage(const QString& name) {
        form_->ComboBox_Wi_Fi_name->setEditText(name);
        form_->Edit_Password->setText(QStringLiteral("secret123"));
        form_->IPAddress_Gateway->setText(QStringLiteral("192.168.1.1"));
        form_->IPAddress_IP_Master->setText(QStringLiteral("192.168.1.50"));
        form_->IPAddress_IP_Slave->setText(QStringLiteral("192.168.1.77"));
    }

    std::vector<PauseAt> pausesAt_;
};

// --- Wi-Fi page ---

// The eleven parameters between the setup brackets, then the module restart.
std::vector<Report> WifiWrite(const std::vector<Report>& parameters) {
    return Concat(
        {{Out(Code_Setup_mode, {1})},
         parameters,
         {Out(Code_Setup_mode, {0}), Out(Code_Wi_Fi_module, {0}), Out(Code_Wi_Fi_module, {1})}});
}
const std::vector<PauseAt> kWifiPauses = {{100, 13}, {250, 14}};

struct WifiCase {
    const char* name;
    bool master;
    bool withRouter;
    int channelItem;
    int securityItem;
    int slaveNumberItem;
    int slaveIpModeItem;
    std::vector<Report> parameters;
};

const Report kName = OutText(Code_Wi_Fi_name, "HomeNet");
const Report kPassword = OutText(Code_Wi_Fi_password, "secret123");
const Report kGateway = Out(Code_Gateway, {192, 168, 1, 1});

// Fresh settings: what a mode does not set goes out as 0, an empty address or U+0000.
const WifiCase kWifiCases[] = {
    {"master with router",
     true,
     true,
     5,
     2,
     4,
     1,
     {Out(Code_Slave_number, {0}), Out(Code_Slave_IP_mode, {0}), Out(Code_Slave_IP, {}),
      Out(Code_Device_mode, {1}), Out(Code_Connection_type, {1}), kName, kPassword,
      Out(Code_Master_IP, {192, 168, 1, 50}), Out(Code_Wi_Fi_channel, {0}),
      Out(Code_Wi_Fi_security, {0}), kGateway}},
    {"master without router",
     true,
     false,
     5,
     2,
     4,
     1,
     {Out(Code_Slave_number, {0}), Out(Code_Slave_IP_mode, {0}), Out(Code_Slave_IP, {}),
      Out(Code_Device_mode, {1}), Out(Code_Connection_type, {2}), kName, kPassword,
      Out(Code_Master_IP, {192, 168, 4, 1}), Out(Code_Wi_Fi_channel, {6}),
      Out(Code_Wi_Fi_security, {'3'}), kGateway}},
    {"slave with router",
     false,
     true,
     5,
     2,
     31,
     0,
     {Out(Code_Slave_number, {31}), Out(Code_Slave_IP_mode, {1}),
      Out(Code_Slave_IP, {192, 168, 1, 77}), Out(Code_Device_mode, {0}),
      Out(Code_Connection_type, {1}), kName, kPassword, Out(Code_Master_IP, {192, 168, 1, 50}),
      Out(Code_Wi_Fi_channel, {0}), Out(Code_Wi_Fi_security, {0}), kGateway}},
    // Static is shown, yet a slave without router always asks for DHCP.
    {"slave without router",
     false,
     false,
     5,
     2,
     2,
     1,
     {Out(Code_Slave_number, {2}), Out(Code_Slave_IP_mode, {1}),
      Out(Code_Slave_IP, {192, 168, 1, 77}), Out(Code_Device_mode, {0}),
      Out(Code_Connection_type, {1}), kName, kPassword, Out(Code_Master_IP, {192, 168, 4, 1}),
      Out(Code_Wi_Fi_channel, {0}), Out(Code_Wi_Fi_security, {0}), kGateway}},
};

// quilloctl starts from the same state as a window that has just started.
TEST_F(Buttons, AFreshWindowsPagesAreTheSharedStartUpState) {
    const model::PageState startup = model::StartupPageState();
    EXPECT_EQ(form_->WifiControlsNow(), startup.wifi);
    EXPECT_EQ(form_->FanControlsNow(), startup.fan);
    EXPECT_EQ(form_->DeviceSettings, startup.current);
}

TEST_F(Buttons, WifiApplySendsEveryParameterForEachModeAndRouterCase) {
    ChooseUnit();
    for (const WifiCase& c : kWifiCases) {
        SCOPED_TRACE(c.name);
        // Each case starts from fresh settings, as right after start-up.
        form_->DeviceSettings = {};
        ClearWrites();
        pausesAt_.clear();
        SetWifiMode(c.master, c.withRouter);
        FillWifiPage(QStringLiteral("HomeNet"));
        form_->ComboBox_Wi_Fi_channel->setCurrentIndex(c.channelItem);
        form_->ComboBox_Security_WI_FI->setCurrentIndex(c.securityItem);
        form_->ComboBox_Number_Slave->setCurrentIndex(c.slaveNumberItem);
        form_->ComboBox_IP_Slave->setCurrentIndex(c.slaveIpModeItem);

        EXPECT_TRUE(Boxes([&] { form_->Button_Apply_Save_Wi_FiClick(); }).empty());
        EXPECT_EQ(Writes(0), WifiWrite(c.parameters));
        EXPECT_EQ(pausesAt_, kWifiPauses);
        EXPECT_EQ(form_->DeviceSettings.Wi_Fi_name, u"HomeNet");
    }
}

TEST_F(Buttons, WifiChecksRefuseWithTheirMessageAndSendNothing) {
    ChooseUnit();
    struct Case {
        const char* name;
        QString wifiName;
        QString password;
        int securityItem;
        int messageId;
        bool master;
        bool withRouter;
    };
    const Case cases[] = {
        {"master with router, no name", "", "x", 3, 570, true, true},
        {"slave with router, no name", "", "secret123", 3, 570, false, true},
        {"slave without router, no name", "", "secret123", 3, 570, false, false},
        {"master without router, WPA2 and 7 characters", "Net", "1234567", 2, 580, true, false},
        {"master without router, WPA and empty", "", "", 1, 580, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearWrites();
        SetWifiMode(c.master, c.withRouter);
        FillWifiPage(c.wifiName);
        form_->ComboBox_Security_WI_FI->setCurrentIndex(c.securityItem);
        form_->Edit_Password->setText(c.password);
        const auto boxes = Boxes([&] { form_->Button_Apply_Save_Wi_FiClick(); });
        EXPECT_EQ(boxes, std::vector<QString>{lang::MessageText(c.messageId)});
        EXPECT_TRUE(Writes(0).empty());
        EXPECT_TRUE(pausesAt_.empty());
        // What was entered is kept all the same.
        EXPECT_EQ(form_->DeviceSettings.Wi_Fi_password, c.password.toStdU16String());
    }
}

TEST_F(Buttons, OpenNetworkGoesOutWithAnEmptyPassword) {
    ChooseUnit();
    SetWifiMode(true, false);
    FillWifiPage(QString());  // a master without router needs no name either
    form_->ComboBox_Security_WI_FI->setCurrentIndex(0);
    form_->Edit_Password->clear();
    EXPECT_TRUE(Boxes([&] { form_->Button_Apply_Save_Wi_FiClick(); }).empty());
    const auto writes = Writes(0);
    ASSERT_EQ(writes.size(), 15U);
    EXPECT_EQ(writes[6], OutText(Code_Wi_Fi_name, ""));
    EXPECT_EQ(writes[7], OutText(Code_Wi_Fi_password, ""));
    EXPECT_EQ(writes[10], Out(Code_Wi_Fi_security, {'0'}));
}

// Fields a mode leaves alone go out as the last write left them, a refused one included.
TEST_F(Buttons, LaterWritesSendWhatEarlierOnesCollected) {
    ChooseUnit();
    SetWifiMode(false, true);
    FillWifiPage(QString());
    form_->ComboBox_Number_Slave->setCurrentIndex(4);  // "5"
    form_->ComboBox_IP_Slave->setCurrentIndex(0);      // DHCP
    EXPECT_EQ(Boxes([&] { form_->Button_Apply_Save_Wi_FiClick(); }),
              std::vector<QString>{lang::MessageText(570)});
    ASSERT_TRUE(Writes(0).empty());

    SetWifiMode(true, true);
    form_->ComboBox_Wi_Fi_name->setEditText(QStringLiteral("HomeNet"));
    EXPECT_TRUE(Boxes([&] { form_->Button_Apply_Save_Wi_FiClick(); }).empty());
    EXPECT_EQ(Writes(0),
              WifiWrite({Out(Code_Slave_number, {4}), Out(Code_Slave_IP_mode, {1}),
                         Out(Code_Slave_IP, {192, 168, 1, 77}), Out(Code_Device_mode, {1}),
                         Out(Code_Connection_type, {1}), kName, kPassword,
                         Out(Code_Master_IP, {192, 168, 1, 50}), Out(Code_Wi_Fi_channel, {0}),
                         Out(Code_Wi_Fi_security, {0}), kGateway}));
}

TEST_F(Buttons, AnUnselectedListItemEndsTheWriteWithTheConversionError) {
    ChooseUnit();
    const QString error = QStringLiteral("'' is not a valid integer value");
    FillWifiPage(QStringLiteral("HomeNet"));

    SetWifiMode(true, false);
    form_->ComboBox_Wi_Fi_channel->setCurrentIndex(-1);
    EXPECT_EQ(Boxes([&] { form_->Button_Apply_Save_Wi_FiClick(); }), std::vector<QString>{error});
    EXPECT_TRUE(Writes(0).empty());

    SetWifiMode(false, false);
    form_->ComboBox_Number_Slave->setCurrentIndex(-1);
    EXPECT_EQ(Boxes([&] { form_->Button_Apply_Save_Wi_FiClick(); }), std::vector<QString>{error});
    EXPECT_TRUE(Writes(0).empty());
    EXPECT_TRUE(pausesAt_.empty());
}

// --- Fan page ---

TEST_F(Buttons, FanApplySendsTheBracketedGroupWithoutPauses) {
    ChooseUnit();
    struct Case {
        const char* name;
        bool offAvailable, exhaust, humidity, relay, voltage, exhaustBix;
        int humidityPosition, voltagePosition;
        QString offDelay, night, party;
        std::vector<Report> expected;
    };
    const Case cases[] = {
        {"all timers 00:00",
         false,
         false,
         false,
         true,
         false,
         false,
         8,
         1,
         "00:00",
         "00:00",
         "00:00",
         {Out(Code_Setup_mode, {1}), Out(Code_Off_available, {0}), Out(Code_Direction, {0}),
          Out(Code_Humidity_sensor, {0}), Out(Code_Relay_sensor, {1}),
          Out(Code_Voltage_sensor, {0}), Out(Code_Humidity_threshold, {40}),
          Out(Code_Voltage_threshold, {5}), Out(Code_Off_delay_timer, {0, 0, 0}),
          Out(Code_Night_timer, {0, 0, 0}), Out(Code_Party_timer, {0, 0, 0}),
          Out(Code_Humidity_scenario, {0}), Out(Code_Setup_mode, {0})}},
        // The turn-off delay goes out before the night and party timers.
        {"timers set",
         true,
         true,
         true,
         false,
         true,
         true,
         16,
         20,
         "01:30",
         "23:59",
         "00:05",
         {Out(Code_Setup_mode, {1}), Out(Code_Off_available, {1}), Out(Code_Direction, {1}),
          Out(Code_Humidity_sensor, {1}), Out(Code_Relay_sensor, {0}),
          Out(Code_Voltage_sensor, {1}), Out(Code_Humidity_threshold, {80}),
          Out(Code_Voltage_threshold, {100}), Out(Code_Off_delay_timer, {0x00, 0x15, 0x18}),
          Out(Code_Night_timer, {0x01, 0x51, 0x44}), Out(Code_Party_timer, {0x00, 0x01, 0x2C}),
          Out(Code_Humidity_scenario, {1}), Out(Code_Setup_mode, {0})}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearWrites();
        pausesAt_.clear();
        form_->CheckBox_Available_OFF_device->setChecked(c.offAvailable);
        (c.exhaust ? form_->RadioButton_Exhaust : form_->RadioButton_Supply)->setChecked(true);
        form_->CheckBox_Humidity_sensor->setChecked(c.humidity);
        form_->CheckBox_External_sensor1->setChecked(c.relay);
        form_->CheckBox_External_sensor2->setChecked(c.voltage);
        (c.exhaustBix ? form_->RadioButton_Exhaust_Bix : form_->RadioButton_Supply_Exhaust_Bix)
            ->setChecked(true);
        form_->TrackBar_Humidity_sensor->setValue(c.humidityPosition);
        form_->TrackBar_External_sensor2->setValue(c.voltagePosition);
        form_->TimeEdit_Timer_after_reacting_any_sensor->setText(c.offDelay);
        form_->TimeEdit_Timer_night_mode->setText(c.night);
        form_->TimeEdit_Timer_party_mode->setText(c.party);

        EXPECT_TRUE(Boxes([&] { form_->Button_Apply_Save_FanClick(); }).empty());
        EXPECT_EQ(Writes(0), c.expected);
        EXPECT_TRUE(pausesAt_.empty());
        EXPECT_EQ(form_->DeviceSettings.Humidity_scenario, c.exhaustBix ? 1 : 0);
    }
}

// A bad last field used to leave the unit inside an open setup bracket with most of the group
// written; now nothing goes out at all.
TEST_F(Buttons, FanWriteWithABadTimeFieldSendsNothing) {
    ChooseUnit();
    // The entry itself only takes digits; its text is forced here as a damaged value would be.
    form_->TimeEdit_Timer_party_mode->lineEdit()->setText(QStringLiteral("1x:00"));
    EXPECT_EQ(Boxes([&] { form_->Button_Apply_Save_FanClick(); }),
              std::vector<QString>{QStringLiteral("'1x' is not a valid integer value")});
    EXPECT_TRUE(Writes(0).empty());
}

// --- The other buttons ---

TEST_F(Buttons, RestoreDefaultsWritesTwoReportsThenAsksForTheModeAfter200Ms) {
    ChooseUnit();
    form_->Button_Restore_default_parametersClick();
    EXPECT_EQ(Writes(0),
              (std::vector<Report>{Out(Code_Setup_mode, {1}), Out(Code_Factory_reset, {0}),
                                   Out(Code_Read, {Code_Device_mode})}));
    EXPECT_EQ(pausesAt_, (std::vector<PauseAt>{{200, 2}}));
}

// The mode's answer after "Restore default parameters" is shown and stored, although a Wi-Fi
// Apply wrote the mode after an earlier request of it: that request either never went out (a
// failed write) or was never answered, so no answer of it can come to put an old value back.
TEST_F(Buttons, ARequestNeverSentOrNeverAnsweredDoesNotHideALaterAnswer) {
    ChooseUnit();
    sim::SimUnit& unit = *Interface(0).unit();
    for (const bool answeredLater : {false, true}) {
        SCOPED_TRACE(answeredLater ? "never answered" : "never sent");
        sim::Faults faults;
        if (answeredLater) {
            unit.unanswered.insert(Code_Device_mode);
        } else {
            faults.writeErrors = 2;  // the first try and the one on a fresh handle
        }
        Interface(0).setFaults(faults);
        form_->Button_Get_current_parametersClick();
        if (answeredLater) {
            // Long enough for any unit that answers at all.
            Settle(static_cast<int>(WriteGenerations::kAnswerTime.count()) + 100);
            unit.unanswered.erase(Code_Device_mode);
        }
        SetWifiMode(false, true);
        FillWifiPage(QStringLiteral("HomeNet"));
        ASSERT_TRUE(Boxes([&] { form_->Button_Apply_Save_Wi_FiClick(); }).empty());
        ASSERT_EQ(unit.parameters().deviceMode, unit::kModeSlave);

        form_->Button_Restore_default_parametersClick();
        ASSERT_TRUE(WaitFor([&] { return form_->RadioButton_master->isChecked(); }));
        EXPECT_EQ(form_->DeviceSettings.Device_mode, unit::kModeMaster);
        Settle();
    }
}

TEST_F(Buttons, FilterResetAndReceiveCurrentParametersSendOneReportEach) {
    ChooseUnit();
    form_->Button_Reset_filter_timerClick();
    EXPECT_EQ(Writes(0), std::vector<Report>{Out(Code_Filter_reset, {0})});
    ClearWrites();
    // A real click, through the button's binding.
    QTest::mouseClick(form_->Button_Get_current_parameters, Qt::LeftButton);
    EXPECT_EQ(Writes(0), std::vector<Report>{Out(Code_Read, {Code_Device_mode})});
    EXPECT_TRUE(pausesAt_.empty());
}

// Only an unrelated HID device attached: no unit to choose.
class NoUnit : public Buttons {
protected:
    NoUnit() { withUnit_ = false; }
};

TEST_F(NoUnit, WithoutADeviceEveryButtonAsksToSelectOneAndDoesNothingElse) {
    ASSERT_EQ(form_->CurrentDevice, nullptr);
    SetWifiMode(true, true);
    FillWifiPage(QStringLiteral("HomeNet"));
    form_->ComboBox_Wi_Fi_name->addItem(QStringLiteral("Earlier"));
    const struct {
        const char* name;
        void (Form1::*handler)();
    } buttons[] = {
        {"receive current parameters", &Form1::Button_Get_current_parametersClick},
        {"restore defaults", &Form1::Button_Restore_default_parametersClick},
        {"Wi-Fi apply", &Form1::Button_Apply_Save_Wi_FiClick},
        {"fan apply", &Form1::Button_Apply_Save_FanClick},
        {"filter reset", &Form1::Button_Reset_filter_timerClick},
        {"search Wi-Fi", &Form1::Button_Search_Wi_FiClick},
    };
    for (const auto& button : buttons) {
        SCOPED_TRACE(button.name);
        EXPECT_EQ(Boxes([&] { Click(button.handler); }),
                  std::vector<QString>{lang::MessageText(550)});
        EXPECT_TRUE(Writes(0).empty());
        EXPECT_TRUE(pausesAt_.empty());
        EXPECT_EQ(form_->DeviceSettings, DeviceSettings{});
        EXPECT_FALSE(form_->Timer1->isActive());
        EXPECT_FALSE(form_->Timer2->isActive());
        EXPECT_EQ(form_->ComboBox_Wi_Fi_name->count(), 1);
    }
}

// --- Wi-Fi scan ---

using Scan = Buttons;

TEST_F(Scan, ClickClearsTheListShowsPleaseWaitAndSendsTheAtSequence) {
    ChooseUnit();
    // The module lists nothing: only the test's own lines arrive.
    Interface(0).unit()->accessPoints.clear();
    form_->ComboBox_Wi_Fi_name->addItem(QStringLiteral("Old"));
    form_->ComboBox_Wi_Fi_name->setEditText(QStringLiteral("Typed"));
    form_->Button_Search_Wi_FiClick();
    EXPECT_EQ(Writes(0), kAtSequence);
    EXPECT_EQ(pausesAt_, (std::vector<PauseAt>{{100, 2}, {100, 3}}));
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->count(), 0);
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "Please wait...");
    EXPECT_TRUE(form_->Timer1->isActive());
    EXPECT_FALSE(form_->Timer2->isActive());

    // A tick repeats the sequence and leaves the field alone.
    ClearWrites();
    form_->Timer1Timer();
    EXPECT_EQ(Writes(0), kAtSequence);
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "Please wait...");

    // A second click does not restart the running period.
    Settle(300);
    form_->Button_Search_Wi_FiClick();
    EXPECT_TRUE(form_->Timer1->isActive());
    EXPECT_LE(form_->Timer1->remainingTime(), 1800);
}

TEST_F(Scan, LinesAddTheirNamesAndTheFieldShowsTheFirst) {
    ChooseUnit();
    // The module lists nothing: only the test's own lines arrive.
    Interface(0).unit()->accessPoints.clear();
    form_->Button_Search_Wi_FiClick();
    const Report lines[] = {
        ScanLine(R"(+CWLAP:(3,"HomeNet",-58,"a4:2b:b0:5e:11:02",6,-8,0))"),
        ScanLine(R"(+CWLAP:(4,"Kelmair-7F21",-64,"5c:cf:7f:21:7f:21",1,12,0))"),
        ScanLine(R"(+CWLAP:(3,"HomeNet",-70,"a4:2b:b0:5e:11:03",6,-8,0))"),
        ScanLine("busy p..."),  // no markers: an empty name, added all the same
    };
    form_->ScanLineReceived(lines[0].data(), static_cast<std::uint16_t>(lines[0].size()));
    EXPECT_FALSE(form_->Timer1->isActive());
    EXPECT_TRUE(form_->Timer2->isActive());
    // Timer2 counts from the first line: later ones do not restart it.
    Settle(300);
    for (std::size_t i = 1; i < std::size(lines); ++i) {
        form_->ScanLineReceived(lines[i].data(), static_cast<std::uint16_t>(lines[i].size()));
    }
    EXPECT_LE(form_->Timer2->remainingTime(), 1300);
    // A report too short to hold any text gives an empty name too.
    form_->ScanLineReceived(lines[0].data(), 2);

    QStringList items;
    for (int i = 0; i < form_->ComboBox_Wi_Fi_name->count(); ++i) {
        items << form_->ComboBox_Wi_Fi_name->itemText(i);
    }
    // Each name once, an empty one included.
    EXPECT_EQ(items, (QStringList{"HomeNet", "Kelmair-7F21", ""}));
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentIndex(), 0);
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "HomeNet");
    EXPECT_EQ(Writes(0), kAtSequence);  // a line sends nothing

    ClearWrites();
    pausesAt_.clear();
    form_->Timer2Timer();
    EXPECT_EQ(Writes(0), kClosingSequence);
    EXPECT_EQ(pausesAt_, (std::vector<PauseAt>{{200, 2}}));
    EXPECT_FALSE(form_->Timer2->isActive());
}

// Lines count only from the click until the closing sequence: one that nobody asked for
// neither wipes the typed name nor schedules a module restart.
TEST_F(Scan, LinesOutsideAScanAreDropped) {
    ChooseUnit();
    Interface(0).unit()->accessPoints.clear();
    const Report line = ScanLine(R"(+CWLAP:(3,"Stray",-58,"a4:2b:b0:5e:11:02",6,-8,0))");
    const auto deliver = [&] {
        form_->ScanLineReceived(line.data(), static_cast<std::uint16_t>(line.size()));
    };
    form_->ComboBox_Wi_Fi_name->setEditText(QStringLiteral("Typed"));
    deliver();
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->count(), 0);
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "Typed");
    EXPECT_FALSE(form_->ScanRunning());

    // After a scan's closing sequence, a late line is nobody's either.
    form_->Button_Search_Wi_FiClick();
    deliver();
    form_->Timer2Timer();
    EXPECT_FALSE(form_->ScanRunning());
    form_->ComboBox_Wi_Fi_name->setEditText(QStringLiteral("Typed again"));
    ClearWrites();
    deliver();
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "Typed again");
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->count(), 1);
    EXPECT_FALSE(form_->Timer2->isActive());
    EXPECT_TRUE(Writes(0).empty());
}

TEST_F(Scan, AStreamOfLinesListsEachNameOnceUpToTheLimit) {
    ChooseUnit();
    Interface(0).unit()->accessPoints.clear();
    form_->Button_Search_Wi_FiClick();
    for (int i = 0; i < 3 * protocol::kScanNameLimit; ++i) {
        // Every name twice in a row, as from two access points of one network.
        const std::string name = "Net" + std::to_string(i / 2);
        const Report line = ScanLine(R"(+CWLAP:(3,")" + name + R"(",-58,"a4:2b",6,-8,0))");
        form_->ScanLineReceived(line.data(), static_cast<std::uint16_t>(line.size()));
    }
    ASSERT_EQ(form_->ComboBox_Wi_Fi_name->count(), protocol::kScanNameLimit);
    for (int i = 0; i < protocol::kScanNameLimit; ++i) {
        EXPECT_EQ(form_->ComboBox_Wi_Fi_name->itemText(i), QStringLiteral("Net%1").arg(i));
    }
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "Net0");
}

// A module that finds no network: the AT sequence is repeated a bounded number of times, then
// the unit leaves pass-through and the name box gets its text back.
TEST_F(Scan, AScanWithoutALineGivesUpAfterFiveRepeats) {
    ChooseUnit();
    Interface(0).unit()->accessPoints.clear();
    form_->ComboBox_Wi_Fi_name->setEditText(QStringLiteral("Typed"));
    form_->Button_Search_Wi_FiClick();
    form_->Button_Search_Wi_FiClick();  // a second click keeps the text from before the first
    ClearWrites();
    for (int tick = 1; tick <= protocol::kScanRepeatsWithoutLine; ++tick) {
        SCOPED_TRACE(tick);
        form_->Timer1Timer();
        EXPECT_EQ(Writes(0).size(), tick * kAtSequence.size());
        EXPECT_TRUE(form_->Timer1->isActive());
    }
    EXPECT_TRUE(Interface(0).unit()->atMode());
    ClearWrites();
    form_->Timer1Timer();
    EXPECT_EQ(Writes(0), kClosingSequence);
    EXPECT_FALSE(form_->ScanRunning());
    EXPECT_FALSE(Interface(0).unit()->atMode());
    EXPECT_TRUE(Interface(0).unit()->wifiModuleOn());
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "Typed");
}

// The scan belongs to its unit: unplugged, nothing more goes out and the window no longer
// blocks every 2 s; still attached when the list is rebuilt, the unit is closed first.
// A device that comes or goes elsewhere leaves the scan running on its unit's re-created device;
// choosing another unit ends it with the closing sequence, and unplugging its unit ends it.
TEST_F(Scan, TheScanEndsWhenItsUnitGoesAwayOrAnotherIsChosen) {
    ChooseUnit();
    Interface(0).unit()->accessPoints.clear();
    form_->ComboBox_Wi_Fi_name->setEditText(QStringLiteral("Typed"));
    form_->Button_Search_Wi_FiClick();
    ClearWrites();
    backend_->plugDevice(0x046D, 0xC077, u"Mouse");  // the list is rebuilt
    EXPECT_TRUE(form_->ScanRunning());
    EXPECT_TRUE(Interface(0).unit()->atMode());
    EXPECT_NE(form_->ComboBox_Wi_Fi_name->currentText(), "Typed");  // still waiting
    // The next AT sequence goes to the same unit through its new device.
    form_->Timer1Timer();
    const auto repeat = Writes(0);
    ASSERT_GE(repeat.size(), kAtSequence.size());
    EXPECT_EQ(std::vector<Report>(repeat.end() - static_cast<std::ptrdiff_t>(kAtSequence.size()),
                                  repeat.end()),
              kAtSequence);

    backend_->plugUnit(sim::Model::Pargo);
    ASSERT_TRUE(form_->ScanRunning());
    ClearWrites();
    form_->ComboBox_Choose_device->setCurrentIndex(1);
    form_->ComboBox_Choose_deviceClick();
    EXPECT_FALSE(form_->ScanRunning());
    const auto writes = Writes(0);
    ASSERT_GE(writes.size(), kClosingSequence.size());
    EXPECT_EQ(std::vector<Report>(writes.begin(), writes.begin() + static_cast<std::ptrdiff_t>(
                                                                       kClosingSequence.size())),
              kClosingSequence);
    EXPECT_FALSE(Interface(0).unit()->atMode());
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "Typed");

    form_->ComboBox_Choose_device->setCurrentIndex(0);
    form_->ComboBox_Choose_deviceClick();
    form_->Button_Search_Wi_FiClick();
    ASSERT_TRUE(form_->ScanRunning());
    backend_->unplug(Interface(0).path());
    EXPECT_FALSE(form_->ScanRunning());
    EXPECT_EQ(form_->ComboBox_Choose_device->count(), 1);  // the other unit, chosen now
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "Typed");
}

// The unit answers late: the AT sequence goes out again on every Timer1 tick until the first
// line, and the closing sequence follows Timer2. The periods are shortened to keep this short;
// the design periods are checked apart.
TEST_F(Scan, LateAnswersRepeatTheAtSequenceUntilTheFirstLine) {
    EXPECT_EQ(form_->Timer1->interval(), 2000);
    EXPECT_EQ(form_->Timer2->interval(), 1500);
    ChooseUnit();
    // Scan lines go to the scan handling, as the dispatcher hands them on.
    std::size_t reportsBeforeFirstLine = 0;
    form_->HidDeviceController1->SetOnDeviceData(
        [this, &reportsBeforeFirstLine](hid::HidDevice* dev, std::uint8_t /*reportId*/,
                                        const std::uint8_t* data, std::uint16_t size) {
            if (dev == form_->CurrentDevice && size > 0 && data[0] == Code_AT_mode) {
                if (form_->ComboBox_Wi_Fi_name->count() == 0) {
                    reportsBeforeFirstLine = Writes(0).size();
                }
                form_->ScanLineReceived(data, size);
            }
        });
    form_->Timer1->setInterval(150);
    form_->Timer2->setInterval(300);
    sim::Faults faults;
    faults.answerDelay = std::chrono::milliseconds(800);
    Interface(0).setFaults(faults);

    form_->Button_Search_Wi_FiClick();
    ASSERT_TRUE(WaitFor([&] { return form_->ComboBox_Wi_Fi_name->count() >= 3; }));
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->itemText(0), "HomeNet");
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), "HomeNet");
    EXPECT_FALSE(form_->Timer1->isActive());

    const std::size_t before = reportsBeforeFirstLine;
    ASSERT_TRUE(WaitFor([&] { return Writes(0).size() >= before + kClosingSequence.size(); }));
    const auto writes = Writes(0);
    // Only whole AT sequences before the first line, at least the click's and one repetition.
    ASSERT_EQ(before % kAtSequence.size(), 0U);
    ASSERT_GE(before / kAtSequence.size(), 2U);
    for (std::size_t i = 0; i < before; ++i) {
        EXPECT_EQ(writes[i], kAtSequence[i % kAtSequence.size()]) << "report " << i;
    }
    EXPECT_EQ(std::vector<Report>(
                  writes.begin() + static_cast<std::ptrdiff_t>(before),
                  writes.begin() + static_cast<std::ptrdiff_t>(before + kClosingSequence.size())),
              kClosingSequence);
    EXPECT_FALSE(Interface(0).unit()->atMode());
}

}  // namespace
}  // namespace quillo::ui
