// For the same settings quilloctl sends byte for byte what the window's Apply/Save sends: each
// row starts two identical simulated units, lets the window read one and change its controls
// and quilloctl `set` the other, and compares every report that is not a read request.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextStream>
#include <functional>
#include <utility>

#include "../ui/sim_form_fixture.h"
#include "cli/quilloctl.h"
#include "protocol/command_code.h"
#include "ui/controls.h"
#include "ui/ip_address_edit.h"
#include "ui/time_edit.h"

namespace quillo::ui {
namespace {

using Change = std::pair<QString, QString>;

struct ParityCase {
    const char* what;
    sim::Model model;
    std::function<void(sim::UnitParameters&)> before;
    std::vector<Change> changes;
};

void PrintTo(const ParityCase& c, std::ostream* os) {
    *os << c.what;
}

int Index(const QString& value, const QStringList& items) {
    return static_cast<int>(items.indexOf(value));
}

// What a user does in the window for `key=value`. Returns whether the key is on the Wi-Fi page.
bool SetControl(Form1& f, const QString& key, const QString& value) {
    const bool on = value == u"on";
    if (key == u"mode") {
        (value == u"master" ? f.RadioButton_master : f.RadioButton_slave)->setChecked(true);
    } else if (key == u"connection") {
        (value == u"with-router" ? f.RadioButton_with_router : f.RadioButton_without_router)
            ->setChecked(true);
    } else if (key == u"wifi-name") {
        f.ComboBox_Wi_Fi_name->setEditText(value);
    } else if (key == u"wifi-password") {
        f.Edit_Password->setText(value);
    } else if (key == u"security") {
        f.ComboBox_Security_WI_FI->setCurrentIndex(
            Index(value, {"open", "wpa-psk", "wpa2-psk", "wpa-wpa2-psk"}));
    } else if (key == u"channel") {
        f.ComboBox_Wi_Fi_channel->setCurrentIndex(value.toInt() - 1);
    } else if (key == u"slave-number") {
        f.ComboBox_Number_Slave->setCurrentIndex(value.toInt() - 1);
    } else if (key == u"slave-ip-mode") {
        f.ComboBox_IP_Slave->setCurrentIndex(Index(value, {"dhcp", "static"}));
    } else if (key == u"master-ip") {
        f.IPAddress_IP_Master->setText(value);
    } else if (key == u"slave-ip") {
        f.IPAddress_IP_Slave->setText(value);
    } else if (key == u"gateway") {
        f.IPAddress_Gateway->setText(value);
    } else if (key == u"off-available") {
        f.CheckBox_Available_OFF_device->setChecked(on);
        return false;
    } else if (key == u"humidity-sensor") {
        f.CheckBox_Humidity_sensor->setChecked(on);
        return false;
    } else if (key == u"relay-sensor") {
        f.CheckBox_External_sensor1->setChecked(on);
        return false;
    } else if (key == u"voltage-sensor") {
        f.CheckBox_External_sensor2->setChecked(on);
        return false;
    } else if (key == u"direction") {
        (value == u"supply" ? f.RadioButton_Supply : f.RadioButton_Exhaust)->setChecked(true);
        return false;
    } else if (key == u"humidity-scenario") {
        (value == u"boost-exhaust" ? f.RadioButton_Exhaust_Bix : f.RadioButton_Supply_Exhaust_Bix)
            ->setChecked(true);
        return false;
    } else if (key == u"humidity-threshold") {
        f.TrackBar_Humidity_sensor->setValue(value.toInt() / 5);
        return false;
    } else if (key == u"voltage-threshold") {
        f.TrackBar_External_sensor2->setValue(value.toInt() / 5);
        return false;
    } else if (key == u"off-delay-timer") {
        f.TimeEdit_Timer_after_reacting_any_sensor->setText(value);
        return false;
    } else if (key == u"night-timer") {
        f.TimeEdit_Timer_night_mode->setText(value);
        return false;
    } else if (key == u"party-timer") {
        f.TimeEdit_Timer_party_mode->setText(value);
        return false;
    } else {
        ADD_FAILURE() << "no control for " << key.toStdString();
    }
    return true;
}

class WindowParity : public SimFormTest, public ::testing::WithParamInterface<ParityCase> {
protected:
    std::vector<Report> Changes(int index) {
        std::vector<Report> changes;
        for (Report& report : Writes(index)) {
            if (report[1] != protocol::Code_Read) {
                changes.push_back(std::move(report));
            }
        }
        return changes;
    }
};

TEST_P(WindowParity, QuilloctlSendsWhatTheWindowSends) {
    const ParityCase& c = GetParam();
    backend_->plugUnit(c.model, false);
    backend_->plugUnit(c.model, false);
    for (int i = 0; i < 2; ++i) {
        sim::UnitParameters& parameters = Interface(i).unit()->parameters();
        parameters.wifiName = "Kelmair-0042";  // not named after each unit's serial number
        c.before(parameters);
    }

    // The window: receive the parameters of unit 1, change the controls, press Apply/Save.
    Start();
    ASSERT_TRUE(WaitForSerialNumber(0));
    form_->Button_Get_current_parametersClick();
    const auto chainDone = [this] {
        for (const Report& report : Writes(0)) {
            if (report[1] == protocol::Code_Read && report[3] == protocol::Code_Gateway) {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(WaitFor(chainDone));
    Settle(100);
    ClearWrites();
    bool wifi = false;
    bool fan = false;
    QStringList arguments = {"set", "--device", "2"};
    for (const auto& [key, value] : c.changes) {
        (SetControl(*form_, key, value) ? wifi : fan) = true;
        arguments << key + QLatin1Char('=') + value;
    }
    if (wifi) {
        form_->Button_Apply_Save_Wi_FiClick();
    }
    if (fan) {
        form_->Button_Apply_Save_FanClick();
    }
    const std::vector<Report> window = Changes(0);
    form_.reset();  // the window lets the units go

    // quilloctl on unit 2.
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    cli::CliContext context;
    context.backend = backend_;
    context.out = &outStream;
    context.err = &errStream;
    ASSERT_EQ(cli::RunQuilloctl(arguments, context), 0) << err.toStdString();
    const std::vector<Report> quilloctl = Changes(1);

    ASSERT_FALSE(window.empty());
    EXPECT_EQ(quilloctl, window);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WindowParity,
    ::testing::Values(
        ParityCase{"both pages as read",
                   sim::Model::Solvi,
                   [](sim::UnitParameters&) {},
                   {{"mode", "master"}, {"off-available", "on"}}},
        ParityCase{"master without router",
                   sim::Model::Solvi,
                   [](sim::UnitParameters&) {},
                   {{"channel", "11"}, {"security", "wpa-psk"}, {"wifi-password", "abcdefgh12"}}},
        ParityCase{"master with router",
                   sim::Model::Pargo,
                   [](sim::UnitParameters&) {},
                   {{"connection", "with-router"},
                    {"wifi-name", "Home"},
                    {"wifi-password", "pw"},
                    {"master-ip", "192.168.1.50"},
                    {"gateway", "192.168.1.1"}}},
        ParityCase{"slave with router",
                   sim::Model::Pargo,
                   [](sim::UnitParameters& p) {
                       p.deviceMode = 0;
                       p.connectionType = 1;
                       p.wifiName = "Office";
                       p.slaveNumber = 3;
                       p.slaveIpMode = 0;
                   },
                   {{"slave-number", "5"}, {"slave-ip", "10.0.0.9"}, {"slave-ip-mode", "dhcp"}}},
        ParityCase{"slave of a master's own network",
                   sim::Model::Solvi,
                   [](sim::UnitParameters& p) {
                       p.deviceMode = 0;
                       p.wifiName = "Kelmair-1234";
                   },
                   {{"wifi-name", "Kelmair-9999"}, {"slave-number", "2"}}},
        ParityCase{"fan page",
                   sim::Model::Solvi,
                   [](sim::UnitParameters&) {},
                   {{"direction", "exhaust"},
                    {"humidity-threshold", "75"},
                    {"voltage-sensor", "on"},
                    {"voltage-threshold", "35"},
                    {"night-timer", "08:30"},
                    {"party-timer", "01:15"},
                    {"off-delay-timer", "00:45"},
                    {"relay-sensor", "on"}}},
        ParityCase{"humidity scenario",
                   sim::Model::Pargo,
                   [](sim::UnitParameters&) {},
                   {{"humidity-scenario", "boost-current"}, {"humidity-sensor", "off"}}},
        // Names as the unit holds them: an unedited name goes back byte for byte.
        ParityCase{"a UTF-8 name",
                   sim::Model::Solvi,
                   [](sim::UnitParameters& p) {
                       p.connectionType = 1;
                       p.wifiName = "\xD0\x94\xD0\xBE\xD0\xBC";
                   },
                   {{"gateway", "192.168.7.1"}}},
        ParityCase{"a Latin-1 name",
                   sim::Model::Pargo,
                   [](sim::UnitParameters& p) {
                       p.deviceMode = 0;
                       p.connectionType = 1;
                       p.wifiName = "Caf\xE9";
                   },
                   {{"slave-number", "4"}}},
        // What each mode hides goes out as the unit holds it.
        ParityCase{"hidden fields of a master with router",
                   sim::Model::Solvi,
                   [](sim::UnitParameters& p) {
                       p.connectionType = 1;
                       p.channel = 2;
                       p.security = '0';
                       p.slaveNumber = 8;
                       p.slaveIpMode = 0;
                       p.slaveIp = {10, 9, 8, 7};
                   },
                   {{"master-ip", "10.9.8.2"}}},
        ParityCase{"hidden fields of a master without router",
                   sim::Model::Pargo,
                   [](sim::UnitParameters& p) {
                       p.slaveNumber = 8;
                       p.slaveIpMode = 0;
                       p.slaveIp = {10, 9, 8, 7};
                       p.gateway = {10, 9, 8, 1};
                   },
                   {{"channel", "4"}}},
        ParityCase{"hidden fields of a slave",
                   sim::Model::Solvi,
                   [](sim::UnitParameters& p) {
                       p.deviceMode = 0;
                       p.connectionType = 1;
                       p.wifiName = "Office";
                       p.channel = 2;
                       p.security = '2';
                   },
                   {{"slave-ip", "10.0.0.9"}}},
        // Values the controls cannot show as they are: rounded, limited, taken modulo a day.
        ParityCase{"odd values read",
                   sim::Model::Solvi,
                   [](sim::UnitParameters& p) {
                       p.humidityThreshold = 63;
                       p.voltageThreshold = 2;
                       p.nightTimer = 25 * 3600;
                       p.direction = 7;
                   },
                   {{"relay-sensor", "on"}}}));

}  // namespace
}  // namespace quillo::ui
