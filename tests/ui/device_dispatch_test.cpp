// The device list, the choice of the current unit, the handling of the unit's answers with the
// read chain, and the status poll: the real window over simulated units.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "hid/hid_device.h"
#include "lang/message_table.h"
#include "protocol/input_report.h"
#include "protocol/read_chain.h"
#include "protocol/unit_contract.h"
#include "sim_form_fixture.h"
#include "ui/controls.h"
#include "ui/ip_address_edit.h"
#include "ui/time_edit.h"
#include "unit_model/page_state.h"

namespace quillo::ui {
namespace {

using namespace std::chrono_literals;
using lang::MessageText;
using Report = std::vector<std::uint8_t>;

constexpr std::uint8_t kRead = 16;

// The output report of a read request for `code`, as written to the unit.
Report ReadRequest(std::uint8_t code) {
    Report report(65, 0);
    report[0] = 1;
    report[1] = kRead;
    report[2] = 1;
    report[3] = code;
    return report;
}

std::vector<std::uint8_t> RequestedCodes(const std::vector<Report>& writes) {
    std::vector<std::uint8_t> codes;
    for (const Report& report : writes) {
        EXPECT_EQ(report.at(1), kRead);
        codes.push_back(report.at(3));
    }
    return codes;
}

const QString kZeroFilterTime =
    QStringLiteral("Days: 00    Hours: 00    Minutes: 00    Seconds: 00");

class DeviceTest : public SimFormTest {
protected:
    hid::HidDevice* ItemDevice(int index) {
        return static_cast<hid::HidDevice*>(
            form_->ComboBox_Choose_device->itemData(index).value<void*>());
    }
    QString ItemText(int index) { return form_->ComboBox_Choose_device->itemText(index); }
    QString DevicePath(const hid::HidDevice* dev) {
        return dev == nullptr ? QString() : QString::fromStdString(dev->PnPInfo()->path);
    }
    QString Path(int interfaceIndex) {
        return QString::fromStdString(Interface(interfaceIndex).path());
    }
    // The user picking item `index` of the device selector.
    void Choose(int index) {
        form_->ComboBox_Choose_device->setCurrentIndex(index);
        emit form_->ComboBox_Choose_device->activated(index);
    }
    // A report from the current unit, as the transport hands it over.
    void Deliver(const Report& bytes) { Deliver(bytes, static_cast<std::uint16_t>(bytes.size())); }
    void Deliver(const Report& bytes, std::uint16_t size) {
        form_->HidDeviceController1DeviceData(form_->CurrentDevice, 1, bytes.data(), size);
    }
    // Keeps the unit silent, so that only the test's own reports reach the window.
    void Silence(int interfaceIndex) {
        for (const protocol::unit::Parameter& p : protocol::unit::kParameters) {
            Interface(interfaceIndex).unit()->unanswered.insert(p.code);
        }
    }
};

// --- Device list and selection ---

TEST_F(DeviceTest, OneUnitIsListedChosenAndAskedForItsSerialNumber) {
    sim::SimInterface& solvi = backend_->plugUnit(sim::Model::Solvi);
    Start();
    ASSERT_EQ(form_->ComboBox_Choose_device->count(), 1);
    EXPECT_EQ(ItemText(0), QStringLiteral("1. Aldrun Quillo Solvi"));
    EXPECT_EQ(form_->ComboBox_Choose_device->currentIndex(), 0);
    EXPECT_EQ(form_->ComboBox_Choose_device->currentText(), ItemText(0));
    EXPECT_EQ(ComboBoxColor(form_->ComboBox_Choose_device), ColorBrightGreen);
    EXPECT_EQ(form_->CurrentDevice, ItemDevice(0));
    EXPECT_EQ(DevicePath(form_->CurrentDevice), QString::fromStdString(solvi.path()));
    EXPECT_EQ(Writes(0), std::vector<Report>{ReadRequest(23)});
    EXPECT_FALSE(form_->Panel_Direction_Fan_Zorvat->isHidden());
    EXPECT_TRUE(form_->Panel_Direction_Fan_Bix->isHidden());

    EXPECT_TRUE(WaitForSerialNumber(0));
}

// A unit whose read/write open is refused when it is chosen cannot be asked for its serial
// number then; the status poll asks again once it can be written to, and asks only once.
TEST_F(DeviceTest, ASerialNumberRequestThatDidNotGoOutIsAskedAgain) {
    sim::SimInterface& solvi = backend_->plugUnit(sim::Model::Solvi);
    solvi.setFaults(sim::Faults{.refuseReadWrite = true});
    Start();
    ASSERT_EQ(form_->CurrentDevice, ItemDevice(0));
    EXPECT_TRUE(Writes(0).empty());
    form_->Timer3Timer();  // still refused: nothing goes out
    EXPECT_TRUE(Writes(0).empty());

    solvi.setFaults({});
    form_->Timer3Timer();
    ASSERT_FALSE(Writes(0).empty());
    EXPECT_EQ(Writes(0).front(), ReadRequest(23));
    EXPECT_TRUE(WaitForSerialNumber(0));
    ClearWrites();
    form_->Timer3Timer();
    const auto writes = Writes(0);
    EXPECT_EQ(std::count(writes.begin(), writes.end(), ReadRequest(23)), 0);
}

TEST_F(DeviceTest, TwoUnitsAreNumberedInOrderAndTheChosenOneIsAsked) {
    backend_->plugUnit(sim::Model::Solvi);
    backend_->plugUnit(sim::Model::Pargo);
    Start();
    ASSERT_EQ(form_->ComboBox_Choose_device->count(), 2);
    EXPECT_EQ(ItemText(0), QStringLiteral("1. Aldrun Quillo Solvi"));
    EXPECT_EQ(ItemText(1), QStringLiteral("2. Aldrun Quillo Pargo"));
    EXPECT_EQ(form_->CurrentDevice, ItemDevice(0));
    EXPECT_EQ(Writes(0).size(), 1U);
    EXPECT_TRUE(Writes(1).empty());

    ClearWrites();
    Choose(1);
    EXPECT_EQ(form_->CurrentDevice, ItemDevice(1));
    EXPECT_EQ(DevicePath(form_->CurrentDevice), Path(1));
    EXPECT_TRUE(Writes(0).empty());
    EXPECT_EQ(Writes(1), std::vector<Report>{ReadRequest(23)});
    EXPECT_TRUE(form_->Panel_Direction_Fan_Zorvat->isHidden());
    EXPECT_FALSE(form_->Panel_Direction_Fan_Bix->isHidden());
    EXPECT_TRUE(WaitForSerialNumber(1));

    Choose(0);
    EXPECT_FALSE(form_->Panel_Direction_Fan_Zorvat->isHidden());
    EXPECT_TRUE(form_->Panel_Direction_Fan_Bix->isHidden());
}

TEST_F(DeviceTest, OnlyExactIdsAndProductStringsAreUnits) {
    backend_->plugDevice(0x0483, 0x5750, u"Zorvat2");
    backend_->plugDevice(0x0483, 0x5750, u"Zorvat Bix ");
    backend_->plugDevice(0x0483, 0x5750, u"zorvat");
    backend_->plugDevice(0x0483, 0x5750, u"");
    backend_->plugDevice(0x0484, 0x5750, u"Zorvat");
    backend_->plugDevice(0x0483, 0x5751, u"Zorvat Bix");
    sim::SimInterface& unit = backend_->plugUnit(sim::Model::Pargo);
    Start();
    ASSERT_EQ(form_->ComboBox_Choose_device->count(), 1);
    EXPECT_EQ(ItemText(0), QStringLiteral("1. Aldrun Quillo Pargo"));
    EXPECT_EQ(DevicePath(form_->CurrentDevice), QString::fromStdString(unit.path()));
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(Writes(i).empty()) << i;
    }
}

TEST_F(DeviceTest, NoUnitGivesTheEmptyState) {
    backend_->plugDevice(0x046D, 0xC077, u"Mouse");
    Start();
    EXPECT_EQ(form_->ComboBox_Choose_device->count(), 0);
    EXPECT_EQ(form_->ComboBox_Choose_device->currentIndex(), -1);
    EXPECT_EQ(form_->ComboBox_Choose_device->currentText(), QStringLiteral("   No devices"));
    EXPECT_EQ(ComboBoxColor(form_->ComboBox_Choose_device), ColorRed);
    EXPECT_EQ(form_->CurrentDevice, nullptr);
    EXPECT_EQ(form_->Label_Serial_number->text(), QString());
    EXPECT_EQ(form_->Panel_Wi_Fi_State_connection->caption(), QStringLiteral("Wi-Fi Disconnected"));
    EXPECT_EQ(form_->Panel_Master_State_connection->caption(),
              QStringLiteral("Master Disconnected"));
    EXPECT_EQ(form_->Label_Timer_filter->text(), kZeroFilterTime);
}

TEST_F(DeviceTest, UnpluggingTheLastUnitResetsWhatItHadShown) {
    sim::SimInterface& unit = backend_->plugUnit(sim::Model::Solvi);
    Start();
    ASSERT_TRUE(WaitForSerialNumber());
    Deliver({34, 1, 1});
    Deliver({41, 1, 1});
    Deliver({38, 3, 0x01, 0x5F, 0xCD});
    ASSERT_EQ(form_->Panel_Wi_Fi_State_connection->color(), ColorBrightGreen);
    const bool wifiPanelShown = form_->Panel_Wi_Fi_State_connection->isVisible();

    backend_->unplug(unit.path());
    EXPECT_EQ(form_->ComboBox_Choose_device->count(), 0);
    EXPECT_EQ(form_->CurrentDevice, nullptr);
    EXPECT_EQ(form_->ComboBox_Choose_device->currentText(), QStringLiteral("   No devices"));
    EXPECT_EQ(ComboBoxColor(form_->ComboBox_Choose_device), ColorRed);
    EXPECT_EQ(form_->Label_Serial_number->text(), QString());
    EXPECT_EQ(form_->Panel_Wi_Fi_State_connection->caption(), MessageText(280));
    EXPECT_EQ(form_->Panel_Wi_Fi_State_connection->color(), ColorRed);
    EXPECT_EQ(form_->Panel_Master_State_connection->caption(), MessageText(300));
    EXPECT_EQ(form_->Panel_Master_State_connection->color(), ColorRed);
    EXPECT_EQ(form_->Panel_Wi_Fi_State_connection->isVisible(), wifiPanelShown);
    EXPECT_EQ(form_->Label_Timer_filter->text(), kZeroFilterTime);
    form_->Timer3Timer();  // nothing to poll, nothing breaks
    Settle();
}

TEST_F(DeviceTest, PluggingAnUnrelatedDeviceRebuildsTheListAndChoosesItemOne) {
    backend_->plugUnit(sim::Model::Solvi);
    backend_->plugUnit(sim::Model::Pargo);
    Start();
    Choose(1);
    ClearWrites();

    backend_->plugDevice(0x046D, 0xC077, u"Mouse");
    ASSERT_EQ(form_->ComboBox_Choose_device->count(), 2);
    EXPECT_EQ(form_->ComboBox_Choose_device->currentIndex(), 0);
    EXPECT_EQ(form_->CurrentDevice, ItemDevice(0));
    EXPECT_EQ(DevicePath(form_->CurrentDevice), Path(0));
    EXPECT_EQ(ComboBoxColor(form_->ComboBox_Choose_device), ColorBrightGreen);
    EXPECT_EQ(Writes(0), std::vector<Report>{ReadRequest(23)});
    EXPECT_TRUE(Writes(1).empty());
    EXPECT_FALSE(form_->Panel_Direction_Fan_Zorvat->isHidden());
}

// Typing into the selector chooses the first item the typed text begins, like a pick from the
// list; text that begins no item, and erasing, choose nothing.
TEST_F(DeviceTest, TypingInTheSelectorChoosesAUnit) {
    backend_->plugUnit(sim::Model::Solvi);
    backend_->plugUnit(sim::Model::Pargo);
    Start();
    ASSERT_TRUE(WaitForSerialNumber());
    ClearWrites();
    QLineEdit* edit = form_->ComboBox_Choose_device->lineEdit();
    edit->setFocus();
    edit->clear();

    QTest::keyClick(edit, Qt::Key_2);
    EXPECT_EQ(form_->CurrentDevice, ItemDevice(1));
    EXPECT_EQ(edit->text(), QStringLiteral("2. Aldrun Quillo Pargo"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral(". Aldrun Quillo Pargo"));
    EXPECT_EQ(Writes(1), std::vector<Report>{ReadRequest(23)});

    QTest::keyClick(edit, Qt::Key_Backspace);  // erases the filled-in rest, chooses nothing
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(form_->CurrentDevice, ItemDevice(1));
    EXPECT_EQ(edit->text(), QStringLiteral("x"));
    EXPECT_TRUE(Writes(0).empty());
    EXPECT_EQ(Writes(1).size(), 1U);
    Settle();
}

TEST_F(DeviceTest, UnpluggingTheChosenUnitLeavesTheOther) {
    backend_->plugUnit(sim::Model::Solvi);
    sim::SimInterface& pargo = backend_->plugUnit(sim::Model::Pargo);
    Start();
    // The unit being unplugged has an answer under way.
    Choose(1);
    const std::string gone = pargo.path();
    ClearWrites();

    backend_->unplug(gone);
    ASSERT_EQ(form_->ComboBox_Choose_device->count(), 1);
    EXPECT_EQ(ItemText(0), QStringLiteral("1. Aldrun Quillo Solvi"));
    EXPECT_EQ(form_->CurrentDevice, ItemDevice(0));
    EXPECT_EQ(DevicePath(form_->CurrentDevice), Path(0));
    EXPECT_EQ(Writes(0), std::vector<Report>{ReadRequest(23)});

    // Later commands reach the remaining unit only.
    ClearWrites();
    form_->Timer3Timer();
    EXPECT_EQ(Writes(0).size(), 2U);
    Settle();
}

// An answer the current unit's reader had already received when the list is rebuilt is handled
// as the current unit's while that device is being freed, its next request included; the
// rebuilt list then asks its first unit for the serial number.
TEST_F(DeviceTest, AnAnswerUnderWayWhenTheListIsRebuiltIsStillHandled) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    ASSERT_TRUE(WaitForSerialNumber());
    Silence(0);
    form_->RadioButton_Supply_Exhaust_Bix->setChecked(true);
    ClearWrites();

    const std::uint8_t scenario[] = {1};
    Interface(0).send(protocol::unit::answerReport(protocol::Code_Humidity_scenario, scenario, 65));
    // The reader takes it and waits for the window to handle it.
    for (int i = 0; i < 3000 && Interface(0).queuedReports() > 0; ++i) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_EQ(Interface(0).queuedReports(), 0);
    std::this_thread::sleep_for(20ms);
    ASSERT_FALSE(form_->RadioButton_Exhaust_Bix->isChecked());

    backend_->plugDevice(0x046D, 0xC077, u"Mouse");
    EXPECT_TRUE(form_->RadioButton_Exhaust_Bix->isChecked());
    EXPECT_EQ(Writes(0), (std::vector<Report>{ReadRequest(47), ReadRequest(23)}));
    EXPECT_EQ(form_->CurrentDevice, ItemDevice(0));
}

TEST_F(DeviceTest, ReportsFromAnotherUnitAreIgnored) {
    backend_->plugUnit(sim::Model::Solvi);
    backend_->plugUnit(sim::Model::Pargo);
    Start();
    const QString serial = QString::fromStdString(Interface(0).unit()->serialNumber());
    ASSERT_TRUE(WaitFor([&] { return form_->Label_Serial_number->text() == serial; }));
    const protocol::DeviceSettings before = form_->DeviceSettings;
    ClearWrites();

    const std::uint8_t mode[] = {protocol::unit::kModeSlave};
    Interface(1).send(protocol::unit::answerReport(protocol::Code_Device_mode, mode, 65));
    const std::uint8_t other[] = {'X', 'Y'};
    Interface(1).send(protocol::unit::answerReport(protocol::Code_Serial_number, other, 65));
    const std::string line = R"(+CWLAP:(3,"HomeNet",-58,"a4:2b:b0:5e:11:02",6,-8,0))";
    Interface(1).send(protocol::unit::answerReport(
        protocol::unit::kScanLineCode,
        std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()), 65));
    Settle(100);
    EXPECT_EQ(Interface(1).queuedReports(), 0);
    EXPECT_EQ(form_->Label_Serial_number->text(), serial);
    EXPECT_EQ(form_->DeviceSettings, before);
    EXPECT_FALSE(form_->RadioButton_slave->isChecked());
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->count(), 0);
    EXPECT_TRUE(Writes(0).empty());
    EXPECT_TRUE(Writes(1).empty());
}

// A scan line goes to the scan handling with no more bytes than the report holds; one that
// nobody asked for (no scan running) changes nothing.
TEST_F(DeviceTest, ScanLinesGoToTheScan) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    Silence(0);
    const std::string line = R"(+CWLAP:(3,"HomeNet",-58,"a4:2b:b0:5e:11:02",6,-8,0))";
    Report report = {protocol::unit::kScanLineCode, static_cast<std::uint8_t>(line.size())};
    report.insert(report.end(), line.begin(), line.end());
    report.resize(64, 0);
    form_->ComboBox_Wi_Fi_name->setEditText(QStringLiteral("Typed"));
    ClearWrites();
    Deliver(report, 0xFFFF);
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->count(), 0);
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), QStringLiteral("Typed"));
    EXPECT_FALSE(form_->Timer2->isActive());

    form_->Timer1->start();  // a scan waiting for its first line
    Deliver(report, 0xFFFF);
    ASSERT_EQ(form_->ComboBox_Wi_Fi_name->count(), 1);
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->itemText(0), QStringLiteral("HomeNet"));
    EXPECT_TRUE(form_->Timer2->isActive());
    EXPECT_TRUE(Writes(0).empty());
    form_->Timer2->stop();
}

// --- Read chain ---

struct ChainFixture : DeviceTest {
    void StartWith(const sim::UnitParameters& params) {
        backend_->plugUnit(sim::Model::Pargo);
        Interface(0).unit()->parameters() = params;
        Start();
        ASSERT_TRUE(WaitForSerialNumber());
        ClearWrites();
    }
};

TEST_F(ChainFixture, ReadsEveryParameterInOrderAndFillsTheControls) {
    // Every value unlike what the started window shows, so that each must be put there.
    sim::UnitParameters p;
    p.deviceMode = 0;
    p.connectionType = 1;
    p.wifiName = "HomeNet";
    p.wifiPassword = "secret-pass";
    p.slaveNumber = 4;
    p.slaveIpMode = 0;
    p.slaveIp = {10, 0, 0, 7};
    p.masterIp = {10, 0, 0, 1};
    p.channel = 3;
    p.security = '2';
    p.gateway = {10, 0, 0, 254};
    p.offAvailable = 0;
    p.direction = 1;
    p.humiditySensor = 0;
    p.relaySensor = 0;
    p.voltageSensor = 0;
    p.humidityThreshold = 45;
    p.voltageThreshold = 35;
    p.offDelayTimer = 600;
    p.nightTimer = 100000;
    p.partyTimer = 5400;
    p.humidityScenario = 0;
    StartWith(p);

    Form1& f = *form_;
    const auto onOff = [](const QAbstractButton* b) { return b->isChecked() ? "on" : "off"; };
    const auto shown = [&] {
        std::map<std::string, std::string> texts;
        for (const auto& [name, text] : std::map<std::string, QString>{
                 {"RadioButton_slave", onOff(f.RadioButton_slave)},
                 {"RadioButton_with_router", onOff(f.RadioButton_with_router)},
                 {"ComboBox_Wi_Fi_name", f.ComboBox_Wi_Fi_name->currentText()},
                 {"Edit_Password", f.Edit_Password->text()},
                 {"ComboBox_Number_Slave", f.ComboBox_Number_Slave->currentText()},
                 {"ComboBox_IP_Slave", f.ComboBox_IP_Slave->currentText()},
                 {"IPAddress_IP_Slave", f.IPAddress_IP_Slave->text()},
                 {"IPAddress_IP_Master", f.IPAddress_IP_Master->text()},
                 {"ComboBox_Wi_Fi_channel", f.ComboBox_Wi_Fi_channel->currentText()},
                 {"ComboBox_Security_WI_FI", f.ComboBox_Security_WI_FI->currentText()},
                 {"CheckBox_Available_OFF_device", onOff(f.CheckBox_Available_OFF_device)},
                 {"RadioButton_Exhaust", onOff(f.RadioButton_Exhaust)},
                 {"CheckBox_Humidity_sensor", onOff(f.CheckBox_Humidity_sensor)},
                 {"CheckBox_External_sensor1", onOff(f.CheckBox_External_sensor1)},
                 {"CheckBox_External_sensor2", onOff(f.CheckBox_External_sensor2)},
                 {"TrackBar_Humidity_sensor", QString::number(f.TrackBar_Humidity_sensor->value())},
                 {"TrackBar_External_sensor2",
                  QString::number(f.TrackBar_External_sensor2->value())},
                 {"Label_External_sensor2", f.Label_External_sensor2->text()},
                 {"TimeEdit_Timer_after_reacting_any_sensor",
                  f.TimeEdit_Timer_after_reacting_any_sensor->text()},
                 {"TimeEdit_Timer_night_mode", f.TimeEdit_Timer_night_mode->text()},
                 {"TimeEdit_Timer_party_mode", f.TimeEdit_Timer_party_mode->text()},
                 {"RadioButton_Supply_Exhaust_Bix", onOff(f.RadioButton_Supply_Exhaust_Bix)},
                 {"IPAddress_Gateway", f.IPAddress_Gateway->text()},
             }) {
            texts[name] = text.toStdString();
        }
        return texts;
    };
    const std::map<std::string, std::string> expectedShown = {
        {"RadioButton_slave", "on"},
        {"RadioButton_with_router", "on"},
        {"ComboBox_Wi_Fi_name", "HomeNet"},
        {"Edit_Password", "secret-pass"},
        {"ComboBox_Number_Slave", "5"},
        {"ComboBox_IP_Slave", "Static"},
        {"IPAddress_IP_Slave", "10.0.0.7"},
        {"IPAddress_IP_Master", "10.0.0.1"},
        {"ComboBox_Wi_Fi_channel", "3"},
        {"ComboBox_Security_WI_FI", "WPA_PSK"},
        {"CheckBox_Available_OFF_device", "off"},
        {"RadioButton_Exhaust", "on"},
        {"CheckBox_Humidity_sensor", "off"},
        {"CheckBox_External_sensor1", "off"},
        {"CheckBox_External_sensor2", "off"},
        {"TrackBar_Humidity_sensor", "9"},
        {"TrackBar_External_sensor2", "7"},
        {"Label_External_sensor2", "35 %"},
        {"TimeEdit_Timer_after_reacting_any_sensor", "00:10"},
        {"TimeEdit_Timer_night_mode", "03:46"},
        {"TimeEdit_Timer_party_mode", "01:30"},
        {"RadioButton_Supply_Exhaust_Bix", "on"},
        {"IPAddress_Gateway", "10.0.0.254"},
    };
    const std::map<std::string, std::string> before = shown();
    for (const auto& [name, value] : expectedShown) {
        EXPECT_NE(before.at(name), value) << name << " shows the unit's value already";
    }
    // The stored values still hold another unit's, unlike this one's.
    protocol::DeviceSettings& s = f.DeviceSettings;
    s = {.Device_mode = 1,
         .Connection_type = 2,
         .Wi_Fi_name = u"Other",
         .Wi_Fi_password = u"other-pass",
         .Slave_number = 0,
         .Slave_IP_mode = 1,
         .Slave_IP = {1, 1, 1, 1},
         .Master_IP = {1, 1, 1, 2},
         .Wi_Fi_channel = 6,
         .Wi_Fi_security = u'3',
         .Gateway = {1, 1, 1, 3},
         .Off_available = 1,
         .Direction = 0,
         .Humidity_sensor = 1,
         .Relay_sensor = 1,
         .Voltage_sensor = 1,
         .Humidity_scenario = 1};
    protocol::DeviceSettings expectedStored = s;
    expectedStored.Device_mode = 0;
    expectedStored.Connection_type = 1;
    // Stored as the unit sent it: its 62-byte field, filler included.
    expectedStored.Wi_Fi_password = u"secret-pass" + std::u16string(51, u'\0');
    expectedStored.Slave_number = 4;
    expectedStored.Slave_IP_mode = 0;
    expectedStored.Slave_IP = {10, 0, 0, 7};
    expectedStored.Master_IP = {10, 0, 0, 1};
    expectedStored.Wi_Fi_channel = 3;
    expectedStored.Wi_Fi_security = u'2';
    expectedStored.Gateway = {10, 0, 0, 254};
    expectedStored.Off_available = 0;
    expectedStored.Direction = 1;
    expectedStored.Humidity_sensor = 0;
    expectedStored.Relay_sensor = 0;
    expectedStored.Voltage_sensor = 0;
    expectedStored.Humidity_scenario = 0;

    form_->SendCommand(protocol::Code_Read, protocol::bytePayload(protocol::Code_Device_mode));
    ASSERT_TRUE(WaitFor([&] { return Writes(0).size() == protocol::kReadChain.size(); }));
    ASSERT_TRUE(WaitFor([&] { return pauses_.size() == protocol::kReadChain.size(); }));
    Settle(100);  // nothing follows the last answer

    const std::vector<std::uint8_t> expected(protocol::kReadChain.begin(),
                                             protocol::kReadChain.end());
    EXPECT_EQ(RequestedCodes(Writes(0)), expected);
    EXPECT_EQ(pauses_, std::vector<std::chrono::milliseconds>(expected.size(), 1ms));
    EXPECT_EQ(shown(), expectedShown);
    EXPECT_TRUE(s == expectedStored);

    // The panels of a slave with router followed the radio buttons the chain checked.
    EXPECT_TRUE(f.Panel_Number_of_slave->isVisibleTo(f.Wi_Fi));
    EXPECT_TRUE(f.Panel_IP_Slave->isVisibleTo(f.Wi_Fi));
    EXPECT_TRUE(f.Panel_IP_Master->isVisibleTo(f.Wi_Fi));
    EXPECT_FALSE(f.Panel_Wi_Fi_channel->isVisibleTo(f.Wi_Fi));
}

TEST_F(ChainFixture, AnUnansweredRequestEndsTheChainThere) {
    sim::UnitParameters p = sim::SimUnit::Defaults(sim::Model::Pargo, "00000001");
    p.wifiPassword = "pw-before";
    p.slaveIp = {1, 2, 3, 4};
    StartWith(p);
    Interface(0).unit()->unanswered.insert(protocol::Code_Slave_IP);
    const QString slaveIpBefore = form_->IPAddress_IP_Slave->text();

    form_->SendCommand(protocol::Code_Read, protocol::bytePayload(protocol::Code_Device_mode));
    ASSERT_TRUE(WaitFor([&] { return Writes(0).size() == 7; }));
    Settle(150);
    EXPECT_EQ(RequestedCodes(Writes(0)), (std::vector<std::uint8_t>{5, 12, 6, 7, 8, 9, 10}));
    EXPECT_EQ(form_->Edit_Password->text(), QStringLiteral("pw-before"));
    EXPECT_EQ(form_->IPAddress_IP_Slave->text(), slaveIpBefore);
}

// A name of 32 bytes that are not UTF-8 is shown one character per byte; erasing a character
// is always possible, while an edit that makes the name longer than 32 bytes is refused.
TEST_F(ChainFixture, ANameReadAsLatin1BytesCanBeShortened) {
    sim::UnitParameters p = sim::SimUnit::Defaults(sim::Model::Pargo, "00000001");
    p.wifiName = std::string(32, '\xC4');
    StartWith(p);
    form_->SendCommand(protocol::Code_Read, protocol::bytePayload(protocol::Code_Device_mode));
    const QString shown(32, QChar(0xC4));
    ASSERT_TRUE(WaitFor([&] { return form_->ComboBox_Wi_Fi_name->currentText() == shown; }));
    Settle(150);
    QLineEdit* edit = form_->ComboBox_Wi_Fi_name->lineEdit();
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QString(31, QChar(0xC4)));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QString(30, QChar(0xC4)));
    // 30 x "Ä" is 60 bytes as typed text: nothing longer is taken.
    QTest::keyClicks(edit, QStringLiteral("a"));
    EXPECT_EQ(edit->text(), QString(30, QChar(0xC4)));
}

// A slave's connection follows its network's name; its connection-type answer checks nothing.
// A slow unit answers a read request only after the user has applied a new value of the same
// parameter: that answer carries the old value and must neither show nor be stored, while the
// chain goes on and a later request shows what the unit holds.
TEST_F(ChainFixture, AnAnswerAskedForBeforeAWriteDoesNotUndoIt) {
    qputenv("QUILLO_MESSAGE_BOXES", "stderr");
    sim::UnitParameters p = sim::SimUnit::Defaults(sim::Model::Pargo, "00000001");
    p.nightTimer = 0;
    p.wifiPassword = "old-password";
    StartWith(p);
    sim::Faults slow;
    slow.answerDelay = 100ms;
    Interface(0).setFaults(slow);
    const sim::UnitParameters& held = Interface(0).unit()->parameters();

    // The night timer's answer is under way when the fan page is applied.
    form_->SendCommand(protocol::Code_Read, protocol::bytePayload(protocol::Code_Night_timer));
    form_->TimeEdit_Timer_night_mode->setText(QStringLiteral("01:30"));
    form_->Button_Apply_Save_FanClick();
    ASSERT_EQ(held.nightTimer, 5400U);
    // So is the password's when the Wi-Fi page is.
    form_->SendCommand(protocol::Code_Read, protocol::bytePayload(protocol::Code_Wi_Fi_password));
    form_->RadioButton_master->setChecked(true);
    form_->RadioButton_with_router->setChecked(true);
    form_->ComboBox_Wi_Fi_name->setEditText(QStringLiteral("HomeNet"));
    form_->Edit_Password->setText(QStringLiteral("new-password"));
    form_->Button_Apply_Save_Wi_FiClick();
    ASSERT_EQ(held.wifiPassword, "new-password");

    // Both chains go on to the end: the gateway is asked for twice.
    const Report lastRequest = ReadRequest(protocol::Code_Gateway);
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto writes = Writes(0);
            return std::count(writes.begin(), writes.end(), lastRequest) == 2;
        },
        8000));
    Settle(400);
    EXPECT_EQ(form_->TimeEdit_Timer_night_mode->text(), QStringLiteral("01:30"));
    EXPECT_EQ(form_->Edit_Password->text(), QStringLiteral("new-password"));
    EXPECT_EQ(form_->DeviceSettings.Wi_Fi_password, u"new-password");

    // Asked for after the write, the answer is shown as always.
    Interface(0).unit()->parameters().partyTimer = 600;
    ClearWrites();
    form_->SendCommand(protocol::Code_Read, protocol::bytePayload(protocol::Code_Party_timer));
    ASSERT_TRUE(WaitFor(
        [&] { return form_->TimeEdit_Timer_party_mode->text() == QStringLiteral("00:10"); }));
    qunsetenv("QUILLO_MESSAGE_BOXES");
}

// A unit slower than a request's time, after an Apply and a factory reset: the chain's answers
// come well over a second after their requests, which went out after the write, and show the
// defaults the unit now holds.
TEST_F(ChainFixture, ALateAnswerAskedForAfterAWriteIsShown) {
    qputenv("QUILLO_MESSAGE_BOXES", "stderr");
    StartWith(sim::SimUnit::Defaults(sim::Model::Pargo, "00000001"));  // master, no router
    const sim::UnitParameters& held = Interface(0).unit()->parameters();
    form_->RadioButton_slave->setChecked(true);
    form_->RadioButton_with_router->setChecked(true);
    form_->ComboBox_Wi_Fi_name->setEditText(QStringLiteral("Office"));
    form_->Button_Apply_Save_Wi_FiClick();
    ASSERT_EQ(held.deviceMode, protocol::unit::kModeSlave);

    sim::Faults slow;
    slow.answerDelay = 1500ms;
    Interface(0).setFaults(slow);
    form_->Button_Restore_default_parametersClick();
    ASSERT_EQ(held.deviceMode, protocol::unit::kModeMaster);
    // Device mode, then connection type, each 1.5 s after its request.
    EXPECT_TRUE(WaitFor([&] { return form_->RadioButton_master->isChecked(); }, 4000));
    EXPECT_TRUE(WaitFor([&] { return form_->RadioButton_without_router->isChecked(); }, 4000));
    EXPECT_EQ(form_->DeviceSettings.Device_mode, protocol::unit::kModeMaster);
    qunsetenv("QUILLO_MESSAGE_BOXES");
}

// What the unit holds for the password goes back as it was read by an Apply that did not edit
// it: a password longer than the box, and one that is not ASCII in a box that "OPEN" greyed out
// (a slave's, a master's with router).
TEST_F(ChainFixture, AnUneditedPasswordGoesBackAsTheUnitHoldsIt) {
    namespace unit = protocol::unit;
    qputenv("QUILLO_MESSAGE_BOXES", "stderr");
    StartWith(sim::SimUnit::Defaults(sim::Model::Pargo, "00000001"));
    sim::UnitParameters& held = Interface(0).unit()->parameters();
    struct Case {
        const char* what;
        std::uint8_t mode;
        std::uint8_t connection;
        std::uint8_t security;
        std::string password;
    };
    const Case cases[] = {
        {"62 characters, master without router", unit::kModeMaster, unit::kConnectionWithoutRouter,
         '3', std::string(62, 'x')},
        {"62 characters on a slave", unit::kModeSlave, unit::kConnectionWithRouter, '3',
         std::string(40, 'y') + std::string(22, 'z')},
        {"not ASCII, greyed out on a slave", unit::kModeSlave, unit::kConnectionWithRouter, '0',
         "p\xE4ssword"},
        {"not ASCII, greyed out on a master with router", unit::kModeMaster,
         unit::kConnectionWithRouter, '0', "p\xE4sswort"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        held.deviceMode = c.mode;
        held.connectionType = c.connection;
        held.wifiName = "Office";
        held.security = c.security;
        held.wifiPassword = c.password;
        ClearWrites();
        form_->Button_Get_current_parametersClick();
        ASSERT_TRUE(WaitFor([&] {
            const auto writes = Writes(0);
            return std::count(writes.begin(), writes.end(), ReadRequest(protocol::Code_Gateway)) ==
                   1;
        }));
        Settle(100);
        ASSERT_EQ(form_->Edit_Password->text().size(),
                  std::min<qsizetype>(60, static_cast<qsizetype>(c.password.size())));
        held.wifiPassword.clear();
        ClearWrites();
        form_->Button_Apply_Save_Wi_FiClick();
        EXPECT_EQ(held.wifiPassword, c.password);
        EXPECT_FALSE(Writes(0).empty());  // not refused
    }
    qunsetenv("QUILLO_MESSAGE_BOXES");
}

// The shared model follows the window's rules for the password box, answer by answer.
TEST_F(DeviceTest, ThePasswordBoxIsEnabledAsTheModelSays) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    Silence(0);
    model::PageState state = model::StartupPageState();
    ASSERT_EQ(form_->Edit_Password->isEnabled(), state.wifi.passwordEnabled);
    const Report answers[] = {
        {15, 1, '0'},                // OPEN on a master without router
        {5, 1, 0},                   // a slave
        {15, 1, '0'},                // OPEN read for a slave
        {6, 4, 'H', 'o', 'm', 'e'},  // the slave's network has a router
        {15, 1, '0'},                //
        {5, 1, 1},                   // a master with router
        {12, 1, 2},                  // without router
        {15, 1, '3'},                // WPA2
        {12, 1, 1},                  // with router
        {15, 1, '0'},                //
        {12, 1, 2},                  // without router
        {5, 1, 0},                   // a slave again
        {15, 1, '9'},                // a type the list does not have
    };
    for (const Report& answer : answers) {
        Deliver(answer);
        model::ApplyAnswer(protocol::InputReport(std::span<const std::uint8_t>(answer)), state);
        EXPECT_EQ(form_->Edit_Password->isEnabled(), state.wifi.passwordEnabled)
            << "after code " << int(answer[0]) << " value " << int(answer[2]);
    }
}

TEST_F(DeviceTest, ASlavesRouterChoiceFollowsTheNetworkName) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    Silence(0);
    Deliver({5, 1, 0});
    ASSERT_TRUE(form_->RadioButton_slave->isChecked());

    form_->RadioButton_with_router->setChecked(true);
    Deliver({12, 1, 2});
    EXPECT_TRUE(form_->RadioButton_with_router->isChecked());
    EXPECT_EQ(form_->DeviceSettings.Connection_type, 2);

    struct Case {
        const char* name;
        bool withoutRouter;
    };
    for (const Case c : {Case{"Kelmair-1234", true}, Case{"HomeNet", false}, Case{"Kelmair", true},
                         Case{"MyKelmair", false}, Case{"kelmair-1", false}, Case{"", false}}) {
        // Start from the opposite choice, so that the answer must make it.
        (c.withoutRouter ? form_->RadioButton_with_router : form_->RadioButton_without_router)
            ->setChecked(true);
        Report report = {6, static_cast<std::uint8_t>(std::strlen(c.name))};
        report.insert(report.end(), c.name, c.name + std::strlen(c.name));
        report.resize(64, 0);
        Deliver(report);
        EXPECT_EQ(form_->ComboBox_Wi_Fi_name->currentText(), QString::fromLatin1(c.name));
        EXPECT_EQ(form_->RadioButton_without_router->isChecked(), c.withoutRouter) << c.name;
        EXPECT_EQ(form_->RadioButton_with_router->isChecked(), !c.withoutRouter) << c.name;
        // The slave's panels followed.
        EXPECT_EQ(form_->Panel_IP_Slave->isVisibleTo(form_->Wi_Fi), !c.withoutRouter) << c.name;
    }

    // A master's name changes no radio button.
    Deliver({5, 1, 1});
    form_->RadioButton_with_router->setChecked(true);
    Deliver({6, 7, 'K', 'e', 'l', 'm', 'a', 'i', 'r'});
    EXPECT_TRUE(form_->RadioButton_with_router->isChecked());
}

// A master's connection type checks its radio button, whose handler lays out the page.
TEST_F(DeviceTest, AMastersConnectionTypeChecksItsButtonAndItsPanelsFollow) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    Silence(0);
    Deliver({5, 1, 1});
    form_->RadioButton_with_router->setChecked(true);
    ASSERT_TRUE(form_->Panel_IP_Master->isVisibleTo(form_->Wi_Fi));

    Deliver({12, 1, 2});
    EXPECT_TRUE(form_->RadioButton_without_router->isChecked());
    EXPECT_FALSE(form_->RadioButton_with_router->isChecked());
    EXPECT_EQ(form_->DeviceSettings.Connection_type, 2);
    EXPECT_FALSE(form_->Panel_IP_Master->isVisibleTo(form_->Wi_Fi));
    EXPECT_FALSE(form_->Panel_Wi_Fi_name->isVisibleTo(form_->Wi_Fi));
    EXPECT_TRUE(form_->Panel_Wi_Fi_channel->isVisibleTo(form_->Wi_Fi));
    EXPECT_EQ(form_->Label_Password->text(), MessageText(190));

    Deliver({12, 1, 1});
    EXPECT_TRUE(form_->RadioButton_with_router->isChecked());
    EXPECT_TRUE(form_->Panel_IP_Master->isVisibleTo(form_->Wi_Fi));
    EXPECT_EQ(form_->Label_Password->text(), MessageText(200));
}

// Codes 9 and 15 set their list from code, which runs no handler, so the dispatcher runs it:
// the slave address and the password field follow the list, also for a value that selects
// nothing new.
TEST_F(DeviceTest, AddressModeAndSecurityAnswersEnableTheirFields) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    Silence(0);
    struct AddressCase {
        std::uint8_t value;
        int itemBefore;
        bool enabledBefore;  // set out of step with the list, so that only the handler mends it
        int item;
        bool enabled;
    };
    for (const AddressCase c :
         {AddressCase{0, 0, false, 1, true}, AddressCase{1, 1, true, 0, false},
          AddressCase{7, 1, false, 1, true}, AddressCase{7, 0, true, 0, false}}) {
        SCOPED_TRACE(testing::Message()
                     << "code 9 = " << int{c.value} << " from item " << c.itemBefore);
        form_->ComboBox_IP_Slave->setCurrentIndex(c.itemBefore);
        form_->IPAddress_IP_Slave->setEnabled(c.enabledBefore);
        Deliver({9, 1, c.value});
        EXPECT_EQ(form_->ComboBox_IP_Slave->currentIndex(), c.item);
        EXPECT_EQ(form_->IPAddress_IP_Slave->isEnabled(), c.enabled);
        EXPECT_EQ(form_->DeviceSettings.Slave_IP_mode, c.value);
    }

    struct SecurityCase {
        bool slave;
        char digit;
        int itemBefore;
        bool enabledBefore;
        int item;
        bool enabled;
    };
    for (const SecurityCase c :
         {SecurityCase{false, '0', 3, true, 0, false}, SecurityCase{false, '2', 0, false, 1, true},
          SecurityCase{false, '3', 0, false, 2, true}, SecurityCase{false, '4', 0, false, 3, true},
          SecurityCase{false, '1', 0, true, 0, false}, SecurityCase{false, '1', 2, false, 2, true},
          // "OPEN" read for a slave disables the password too.
          SecurityCase{true, '0', 3, true, 0, false}}) {
        SCOPED_TRACE(testing::Message() << "code 15 = '" << c.digit << "' from item "
                                        << c.itemBefore << (c.slave ? ", slave" : ""));
        Deliver({5, 1, static_cast<std::uint8_t>(c.slave ? 0 : 1)});
        form_->ComboBox_Security_WI_FI->setCurrentIndex(c.itemBefore);
        form_->Edit_Password->setEnabled(c.enabledBefore);
        Deliver({15, 1, static_cast<std::uint8_t>(c.digit)});
        EXPECT_EQ(form_->ComboBox_Security_WI_FI->currentIndex(), c.item);
        EXPECT_EQ(form_->Edit_Password->isEnabled(), c.enabled);
        EXPECT_EQ(form_->DeviceSettings.Wi_Fi_security, static_cast<char16_t>(c.digit));
    }
}

// The serial number takes as many characters as its length byte says, not what follows.
TEST_F(DeviceTest, SerialNumberHonoursItsLengthByte) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    Silence(0);
    struct Case {
        Report bytes;
        const char* shown;
    };
    for (const Case& c : {Case{{23, 4, 'A', 'B', 'C', 'D', 'E', 'F', 'G'}, "ABCD"},
                          Case{{23, 0, 'A', 'B'}, ""}, Case{{23, 1, 'Z', 0, 0, 0}, "Z"}}) {
        Report padded = c.bytes;
        padded.resize(64, 'x');  // the rest of the report is not part of it either
        Deliver(padded);
        EXPECT_EQ(form_->Label_Serial_number->text(), QString::fromLatin1(c.shown));
    }
}

// --- Status poll and state answers ---

TEST_F(DeviceTest, ThePollAsksForTheStatesAndTheFilterTimeOnlyOnItsPage) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    ClearWrites();
    form_->PageControl->setCurrentWidget(form_->Wi_Fi);
    form_->Timer3Timer();
    EXPECT_EQ(Writes(0), (std::vector<Report>{ReadRequest(34), ReadRequest(41)}));
    EXPECT_EQ(pauses_, std::vector<std::chrono::milliseconds>{20ms});

    ClearWrites();
    form_->PageControl->setCurrentWidget(form_->Filter);
    form_->Timer3Timer();
    EXPECT_EQ(Writes(0), (std::vector<Report>{ReadRequest(34), ReadRequest(41), ReadRequest(38)}));
    EXPECT_EQ(pauses_, (std::vector<std::chrono::milliseconds>{20ms, 20ms}));

    // The answers show the filter time; they ask for nothing more.
    ASSERT_TRUE(WaitFor([&] { return form_->Label_Timer_filter->text().startsWith("Days: 03"); }));
    Settle();
    EXPECT_EQ(Writes(0).size(), 3U);
}

TEST_F(DeviceTest, StatePanelsShowTheAnswerInTheCurrentLanguage) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    Silence(0);
    Panel* wifi = form_->Panel_Wi_Fi_State_connection;
    Panel* master = form_->Panel_Master_State_connection;

    Deliver({34, 1, 2});
    EXPECT_EQ(wifi->caption(), QStringLiteral("Wi-Fi Connected"));
    EXPECT_EQ(wifi->color(), ColorBrightGreen);
    Deliver({41, 1, 1});
    EXPECT_EQ(master->caption(), QStringLiteral("Master Connected"));
    EXPECT_EQ(master->color(), ColorBrightGreen);
    Deliver({38, 3, 0x01, 0x5F, 0xCD});
    EXPECT_EQ(form_->Label_Timer_filter->text(),
              QStringLiteral("Days: 01    Hours: 01    Minutes: 01    Seconds: 01"));

    lang::LanguageIndex = 3;
    ASSERT_NE(MessageText(280), QStringLiteral("Wi-Fi Disconnected"));
    Deliver({34, 1, 0});
    EXPECT_EQ(wifi->caption(), MessageText(280));
    EXPECT_EQ(wifi->color(), ColorRed);
    Deliver({41, 1, 0});
    EXPECT_EQ(master->caption(), MessageText(300));
    EXPECT_EQ(master->color(), ColorRed);
    lang::LanguageIndex = 1;
    EXPECT_TRUE(Writes(0).size() == 1U);  // only the serial number request of the start
}

// Markup in a serial number is shown as the characters it is, not as formatting.
TEST_F(DeviceTest, TextFromTheUnitIsShownAsItsCharacters) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    Silence(0);
    const std::string markup = "<b>x</b>";
    Report report = {23, static_cast<std::uint8_t>(markup.size())};
    report.insert(report.end(), markup.begin(), markup.end());
    Deliver(report);
    QLabel* serial = form_->Label_Serial_number;
    EXPECT_EQ(serial->text(), QString::fromStdString(markup));
    EXPECT_EQ(serial->textFormat(), Qt::PlainText);
    // Drawn as eight characters: as wide as the plain text, wider than a bold "x".
    EXPECT_GE(serial->sizeHint().width(),
              serial->fontMetrics().horizontalAdvance(QString::fromStdString(markup)));
}

// --- Hostile reports ---

// What the dispatcher may touch, as text, for before/after comparisons.
std::map<std::string, QString> Snapshot(const Form1& f) {
    const auto on = [](const QAbstractButton* b) { return QString(b->isChecked() ? "on" : "off"); };
    const protocol::DeviceSettings& s = f.DeviceSettings;
    return {
        {"master", on(f.RadioButton_master)},
        {"slave", on(f.RadioButton_slave)},
        {"with", on(f.RadioButton_with_router)},
        {"without", on(f.RadioButton_without_router)},
        {"supply", on(f.RadioButton_Supply)},
        {"exhaust", on(f.RadioButton_Exhaust)},
        {"exhaustBix", on(f.RadioButton_Exhaust_Bix)},
        {"supplyExhaustBix", on(f.RadioButton_Supply_Exhaust_Bix)},
        {"offAvailable", on(f.CheckBox_Available_OFF_device)},
        {"humidity", on(f.CheckBox_Humidity_sensor)},
        {"name", f.ComboBox_Wi_Fi_name->currentText()},
        {"password", f.Edit_Password->text()},
        {"slaveNumber", QString::number(f.ComboBox_Number_Slave->currentIndex())},
        {"ipSlave", QString::number(f.ComboBox_IP_Slave->currentIndex())},
        {"channel", QString::number(f.ComboBox_Wi_Fi_channel->currentIndex())},
        {"security", QString::number(f.ComboBox_Security_WI_FI->currentIndex())},
        {"slaveIp", f.IPAddress_IP_Slave->text()},
        {"humidityBar", QString::number(f.TrackBar_Humidity_sensor->value())},
        {"night", f.TimeEdit_Timer_night_mode->text()},
        {"serial", f.Label_Serial_number->text()},
        {"wifiState", f.Panel_Wi_Fi_State_connection->caption()},
        {"filter", f.Label_Timer_filter->text()},
        {"s.mode", QString::number(s.Device_mode)},
        {"s.slaveNumber", QString::number(s.Slave_number)},
        {"s.channel", QString::number(s.Wi_Fi_channel)},
        {"s.security", QString::number(s.Wi_Fi_security)},
        {"s.password", QString::fromStdU16String(s.Wi_Fi_password)},
        {"s.slaveIp", QString::fromStdU16String(protocol::dottedText(s.Slave_IP))},
        {"s.direction", QString::number(s.Direction)},
    };
}

TEST_F(DeviceTest, HostileReportsChangeOnlyWhatTheyCarry) {
    backend_->plugUnit(sim::Model::Solvi);
    Start();
    Silence(0);
    ASSERT_TRUE(WaitForSerialNumber());
    // A known starting point for every control the cases touch.
    for (const Report& r : std::vector<Report>{{5, 1, 1},
                                               {6, 4, 'N', 'e', 't', '1'},
                                               {7, 2, 'p', 'w'},
                                               {8, 1, 3},
                                               {9, 1, 1},
                                               {10, 4, 1, 2, 3, 4},
                                               {14, 1, 6},
                                               {15, 1, '3'},
                                               {25, 1, 0},
                                               {29, 1, 60},
                                               {31, 3, 0, 0x0E, 0x10}}) {
        Deliver(r);
    }
    ClearWrites();

    struct Case {
        const char* what;
        Report bytes;
        std::uint16_t size;  // as the transport claims it
        std::map<std::string, QString> changes;
        int requests;  // read requests that follow
    };
    const std::vector<Case> cases = {
        {"empty report", {}, 0, {}, 0},
        {"code only, name", {6}, 1, {{"name", ""}}, 1},
        {"code and length, password", {7, 9}, 2, {{"password", ""}, {"s.password", ""}}, 1},
        {"code only, serial", {23}, 1, {{"serial", ""}}, 0},
        {"short address", {10, 4, 9}, 3, {{"slaveIp", "9.0.0.0"}, {"s.slaveIp", "9.0.0.0"}}, 1},
        {"code only, mode", {5}, 1, {{"master", "off"}, {"slave", "on"}, {"s.mode", "0"}}, 1},
        {"mode 7", {5, 1, 7}, 3, {{"s.mode", "7"}}, 1},
        {"slave number 40", {8, 1, 40}, 3, {{"slaveNumber", "-1"}, {"s.slaveNumber", "40"}}, 1},
        {"channel 0", {14, 1, 0}, 3, {{"channel", "-1"}, {"s.channel", "0"}}, 1},
        {"channel 14", {14, 1, 14}, 3, {{"channel", "-1"}, {"s.channel", "14"}}, 1},
        {"security '1'", {15, 1, '1'}, 3, {{"s.security", "49"}}, 1},
        {"address mode 7", {9, 1, 7}, 3, {}, 1},
        {"direction 2", {25, 1, 2}, 3, {{"s.direction", "2"}}, 1},
        {"humidity 0", {29, 1, 0}, 3, {{"humidityBar", "8"}}, 1},
        {"humidity 255", {29, 1, 255}, 3, {{"humidityBar", "16"}}, 1},
        {"timer at the 24-bit limit", {31, 3, 0xFF, 0xFF, 0xFF}, 5, {{"night", "04:20"}}, 1},
        {"serial longer than the report", {23, 200, 'A', 'B'}, 4, {{"serial", "AB"}}, 0},
        {"module output", {1, 3, 'O', 'K', '\r'}, 5, {}, 0},
        {"wi-fi module", {3, 1, 0}, 3, {}, 0},
        {"setup mode", {13, 1, 1}, 3, {}, 0},
        {"read", {16, 1, 5}, 3, {}, 0},
        {"factory reset", {39, 1, 0}, 3, {}, 0},
        {"filter reset", {40, 1, 0}, 3, {}, 0},
        {"unknown 99", {99, 1, 1}, 3, {}, 0},
        {"unknown 255", {255, 255, 255}, 3, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::map<std::string, QString> before = Snapshot(*form_);
        ClearWrites();
        Deliver(c.bytes, c.size);
        std::map<std::string, QString> expected = before;
        for (const auto& [key, value] : c.changes) {
            expected[key] = value;
        }
        EXPECT_EQ(Snapshot(*form_), expected);
        EXPECT_EQ(Writes(0).size(), static_cast<std::size_t>(c.requests));
    }

    // A Size beyond the report's length reads nothing past it.
    Report full(64, 'z');
    full[0] = 23;
    full[1] = 255;
    Deliver(full, 0xFFFF);
    EXPECT_EQ(form_->Label_Serial_number->text(), QString(62, QLatin1Char('z')));
    full[0] = 7;
    Deliver(full, 0xFFFF);
    EXPECT_EQ(form_->Edit_Password->text(), QString(60, QLatin1Char('z')));  // the field's limit
    // No data at all.
    form_->HidDeviceController1DeviceData(form_->CurrentDevice, 1, nullptr, 10);
    // Nor from no device.
    form_->HidDeviceController1DeviceData(nullptr, 1, full.data(), 64);
}

}  // namespace
}  // namespace quillo::ui
