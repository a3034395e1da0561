// The Wi-Fi page ends in one of four states, decided by mode and connection type alone,
// whatever sequence of choices led there and whoever made them.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <random>

#include "form1_fixture.h"
#include "ui/controls.h"
#include "ui/ip_address_edit.h"

namespace quillo::ui {
namespace {

using lang::MessageText;

struct PageState {
    bool wifiName, security;
    int passwordCaption;
    bool channel, ipMaster, gateway, slaveNumber, ipSlave, wifiState, masterState;
};

// The four columns of the state table.
PageState Expected(bool master, bool withRouter) {
    if (master && !withRouter) {
        return {false, true, 190, true, false, true, false, false, false, false};
    }
    if (master) {
        return {true, false, 200, false, true, true, false, false, true, false};
    }
    if (!withRouter) {
        return {true, false, 200, false, false, false, true, false, true, true};
    }
    return {true, false, 200, false, true, false, true, true, true, true};
}

enum class Choice { Master, Slave, NoRouter, WithRouter };
enum class Way { UserClick, CheckedByProgram, KeyboardSpace };

class PanelStates : public Form1Test {
protected:
    // As after start-up: captions in the current language.
    void SetUp() override {
        Form1Test::SetUp();
        form_->ApplyLanguage();
    }

    QRadioButton* ButtonFor(Choice choice) const {
        switch (choice) {
            case Choice::Master:
                return form_->RadioButton_master;
            case Choice::Slave:
                return form_->RadioButton_slave;
            case Choice::NoRouter:
                return form_->RadioButton_without_router;
            case Choice::WithRouter:
                return form_->RadioButton_with_router;
        }
        return nullptr;
    }

    void Choose(Choice choice, Way way) {
        QRadioButton* button = ButtonFor(choice);
        switch (way) {
            case Way::UserClick:
                QTest::mouseClick(button, Qt::LeftButton);
                break;
            case Way::CheckedByProgram:
                button->setChecked(true);
                break;
            case Way::KeyboardSpace:
                button->setFocus();
                QTest::keyClick(button, Qt::Key_Space);
                break;
        }
    }

    void ExpectState(const std::string& trace) {
        const bool master = form_->RadioButton_master->isChecked();
        const bool withRouter = form_->RadioButton_with_router->isChecked();
        ASSERT_NE(master, form_->RadioButton_slave->isChecked()) << trace;
        ASSERT_NE(withRouter, form_->RadioButton_without_router->isChecked()) << trace;
        const PageState e = Expected(master, withRouter);
        EXPECT_EQ(Shown(form_->Panel_Wi_Fi_name), e.wifiName) << trace;
        EXPECT_EQ(Shown(form_->Label_type_security), e.security) << trace;
        EXPECT_EQ(Shown(form_->ComboBox_Security_WI_FI), e.security) << trace;
        EXPECT_EQ(form_->Label_Password->text(), MessageText(e.passwordCaption)) << trace;
        EXPECT_EQ(Shown(form_->Panel_Wi_Fi_channel), e.channel) << trace;
        EXPECT_EQ(Shown(form_->Panel_IP_Master), e.ipMaster) << trace;
        EXPECT_EQ(Shown(form_->Label_Gateway), e.gateway) << trace;
        EXPECT_EQ(Shown(form_->IPAddress_Gateway), e.gateway) << trace;
        EXPECT_EQ(Shown(form_->Panel_Number_of_slave), e.slaveNumber) << trace;
        EXPECT_EQ(Shown(form_->Panel_IP_Slave), e.ipSlave) << trace;
        EXPECT_EQ(Shown(form_->Panel_Wi_Fi_State_connection), e.wifiState) << trace;
        EXPECT_EQ(Shown(form_->Panel_Master_State_connection), e.masterState) << trace;
        // Always shown.
        EXPECT_TRUE(Shown(form_->Panel_Password)) << trace;
        EXPECT_TRUE(Shown(form_->Edit_Password)) << trace;
        EXPECT_TRUE(Shown(form_->Label_Password)) << trace;
    }
};

TEST_F(PanelStates, ListedSequencesEndInTheirState) {
    using C = Choice;
    const std::vector<std::vector<Choice>> sequences = {
        {C::Slave},
        {C::Slave, C::WithRouter},
        {C::Slave, C::WithRouter, C::Master},
        {C::WithRouter},
        {C::WithRouter, C::Slave},
        {C::WithRouter, C::Slave, C::NoRouter},
        {C::WithRouter, C::Slave, C::NoRouter, C::Master},
        {C::Slave, C::NoRouter, C::Master, C::WithRouter, C::NoRouter},
        {C::Master, C::NoRouter},  // both already checked: nothing runs
    };
    for (Way way : {Way::UserClick, Way::CheckedByProgram}) {
        for (const auto& sequence : sequences) {
            form_ = std::make_unique<Form1>();
            form_->ApplyLanguage();
            form_->show();
            std::string trace = way == Way::UserClick ? "click" : "code";
            for (Choice choice : sequence) {
                Choose(choice, way);
                trace.push_back(' ');
                trace.append(std::to_string(static_cast<int>(choice)));
            }
            ExpectState(trace);
        }
    }
}

// A long random walk over the four choices and three ways of making them, checked after
// every step.
TEST_F(PanelStates, RandomWalkStaysInTheTable) {
    std::mt19937 random(20240611);
    std::string trace;
    for (int step = 0; step < 400; ++step) {
        const auto choice = static_cast<Choice>(random() % 4);
        const auto way = static_cast<Way>(random() % 3);
        Choose(choice, way);
        trace.append(std::to_string(static_cast<int>(choice)));
        trace.push_back('/');
        trace.append(std::to_string(static_cast<int>(way)));
        trace.push_back(' ');
        ExpectState(trace);
        if (HasFailure()) {
            return;
        }
    }
}

TEST_F(PanelStates, SlaveEnablesThePasswordEvenWithOpen) {
    form_->ComboBox_Security_WI_FI->setCurrentIndex(0);
    form_->ComboBox_Security_WI_FIChange();
    EXPECT_FALSE(form_->Edit_Password->isEnabled());
    Choose(Choice::Slave, Way::UserClick);
    EXPECT_TRUE(form_->Edit_Password->isEnabled());
    // Master without router with OPEN still chosen disables it again.
    Choose(Choice::Master, Way::UserClick);
    EXPECT_FALSE(form_->Edit_Password->isEnabled());
}

TEST_F(PanelStates, OpenDisablesThePasswordOnlyWhereItMatters) {
    QComboBox* security = form_->ComboBox_Security_WI_FI;
    security->setFocus();
    QTest::keyClick(security, Qt::Key_Home);  // the user picks OPEN
    EXPECT_FALSE(form_->Edit_Password->isEnabled());
    Choose(Choice::WithRouter, Way::UserClick);
    EXPECT_TRUE(form_->Edit_Password->isEnabled());
    Choose(Choice::NoRouter, Way::UserClick);
    EXPECT_FALSE(form_->Edit_Password->isEnabled());
    QTest::keyClick(security, Qt::Key_Down);  // WPA_PSK
    EXPECT_TRUE(form_->Edit_Password->isEnabled());

    // OPEN read from the unit in another state disables it too, until the next choice
    // that enables it.
    Choose(Choice::Slave, Way::CheckedByProgram);
    security->setCurrentIndex(0);
    form_->ComboBox_Security_WI_FIChange();
    EXPECT_FALSE(form_->Edit_Password->isEnabled());
    Choose(Choice::NoRouter, Way::CheckedByProgram);  // already checked: nothing runs
    EXPECT_FALSE(form_->Edit_Password->isEnabled());
    Choose(Choice::WithRouter, Way::CheckedByProgram);
    EXPECT_TRUE(form_->Edit_Password->isEnabled());
}

TEST_F(PanelStates, SlaveAddressFollowsItsModeAndKeepsTheAddress) {
    QComboBox* mode = form_->ComboBox_IP_Slave;
    mode->setCurrentIndex(1);
    form_->ComboBox_IP_SlaveChange();
    EXPECT_TRUE(form_->IPAddress_IP_Slave->isEnabled());
    form_->IPAddress_IP_Slave->setText("10.0.0.9");
    mode->setCurrentIndex(0);
    form_->ComboBox_IP_SlaveChange();
    EXPECT_FALSE(form_->IPAddress_IP_Slave->isEnabled());
    EXPECT_EQ(form_->IPAddress_IP_Slave->text(), "10.0.0.9");
    // No item chosen: nothing changes.
    mode->setCurrentIndex(-1);
    form_->ComboBox_IP_SlaveChange();
    EXPECT_FALSE(form_->IPAddress_IP_Slave->isEnabled());
}

TEST_F(PanelStates, SliderCaptionsAreFiveTimesThePosition) {
    form_->TrackBar_Humidity_sensor->setValue(8);
    EXPECT_EQ(form_->Label_Humidity_sensor->text(), "40" + MessageText(360));
    form_->TrackBar_External_sensor2->setValue(20);
    EXPECT_EQ(form_->Label_External_sensor2->text(), "100 %");
    form_->TrackBar_External_sensor2->setValue(1);
    EXPECT_EQ(form_->Label_External_sensor2->text(), "5 %");
}

}  // namespace
}  // namespace quillo::ui
