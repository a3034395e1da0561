// The event rules the handlers rely on: radio buttons, lists, sliders and timers.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include "form1_fixture.h"
#include "ui/controls.h"
#include "ui/ip_address_edit.h"

namespace quillo::ui {
namespace {

TEST_F(Form1Test, CheckingFromCodeRaisesTheClickWithThePartnerAlreadyUnchecked) {
    bool partnerWasUnchecked = false;
    int clicks = 0;
    // Observes the same signal the handler is bound to, after it.
    QObject::connect(form_->RadioButton_with_router, &QRadioButton::toggled, [&](bool on) {
        if (on) {
            ++clicks;
            partnerWasUnchecked = !form_->RadioButton_without_router->isChecked();
        }
    });
    form_->RadioButton_with_router->setChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(partnerWasUnchecked);
    // The handler ran: master with router shows the address panel.
    EXPECT_TRUE(Shown(form_->Panel_IP_Master));
    // Checking it again raises nothing.
    form_->RadioButton_with_router->setChecked(true);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Form1Test, ClickingTheCheckedButtonRunsNoHandler) {
    // A mark that RadioButton_masterClick would undo.
    form_->Panel_IP_Slave->show();
    QTest::mouseClick(form_->RadioButton_master, Qt::LeftButton);
    EXPECT_TRUE(form_->RadioButton_master->isChecked());
    EXPECT_TRUE(Shown(form_->Panel_IP_Slave));
    // The user's click on the unchecked partner does run its handler.
    QTest::mouseClick(form_->RadioButton_slave, Qt::LeftButton);
    EXPECT_TRUE(form_->RadioButton_slave->isChecked());
    EXPECT_TRUE(Shown(form_->Panel_Number_of_slave));
}

TEST_F(Form1Test, ListIndexFromCodeRaisesNothing) {
    form_->ComboBox_Security_WI_FI->setCurrentIndex(0);  // OPEN
    EXPECT_TRUE(form_->Edit_Password->isEnabled());
    form_->ComboBox_IP_Slave->setCurrentIndex(1);  // Static
    EXPECT_FALSE(form_->IPAddress_IP_Slave->isEnabled());
    // The program calls the handlers itself after setting the lists.
    form_->ComboBox_Security_WI_FIChange();
    form_->ComboBox_IP_SlaveChange();
    EXPECT_FALSE(form_->Edit_Password->isEnabled());
    EXPECT_TRUE(form_->IPAddress_IP_Slave->isEnabled());
}

TEST_F(Form1Test, UsersPickByKeysOrTypeAheadRaisesTheChange) {
    QComboBox* security = form_->ComboBox_Security_WI_FI;
    security->setFocus();
    QTest::keyClick(security, Qt::Key_Home);
    EXPECT_EQ(security->currentIndex(), 0);
    EXPECT_FALSE(form_->Edit_Password->isEnabled());
    QTest::keyClick(security, Qt::Key_Down);
    EXPECT_EQ(security->currentText(), "WPA_PSK");
    EXPECT_TRUE(form_->Edit_Password->isEnabled());
    // Type-ahead, letter case ignored: "o" picks OPEN.
    QTest::keyClicks(security, "o");
    EXPECT_EQ(security->currentText(), "OPEN");
    EXPECT_FALSE(form_->Edit_Password->isEnabled());

    QComboBox* slaveAddress = form_->ComboBox_IP_Slave;
    QTest::keyClicks(slaveAddress, "s");
    EXPECT_EQ(slaveAddress->currentText(), "Static");
    EXPECT_TRUE(form_->IPAddress_IP_Slave->isEnabled());
}

TEST_F(Form1Test, SliderFromCodeClampsAndReportsRealChangesOnly) {
    Slider* slider = form_->TrackBar_Humidity_sensor;
    int changes = 0;
    QObject::connect(slider, &Slider::changed, [&] { ++changes; });
    slider->setValue(20);
    EXPECT_EQ(slider->value(), 16);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form_->Label_Humidity_sensor->text(), "80 %RH");
    slider->setValue(16);
    slider->setValue(99);
    EXPECT_EQ(changes, 1);
}

TEST_F(Form1Test, EveryUserStepReportsAChangeEvenAtTheEnd) {
    Slider* slider = form_->TrackBar_External_sensor2;
    int changes = 0;
    QObject::connect(slider, &Slider::changed, [&] { ++changes; });
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(slider->value(), 11);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form_->Label_External_sensor2->text(), "55 %");

    slider->setValue(20);
    changes = 0;
    form_->Label_External_sensor2->setText("stale");
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(slider->value(), 20);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form_->Label_External_sensor2->text(), "100 %");
}

TEST(FittingFont, ShrinksLongCaptionsDownTo8PixelsOnly) {
    QFont design(QStringLiteral("Tahoma"));
    design.setPixelSize(12);
    design.setBold(true);
    EXPECT_EQ(FittingFont(design, "Master", 100).pixelSize(), 12);
    const QString longer = "Restore default parameters";
    const int needed = QFontMetrics(design).horizontalAdvance(longer);
    const QFont fitted = FittingFont(design, longer, needed - 12);
    EXPECT_LT(fitted.pixelSize(), 12);
    EXPECT_LE(QFontMetrics(fitted).horizontalAdvance(longer), needed - 12);
    EXPECT_TRUE(fitted.bold());
    EXPECT_EQ(FittingFont(design, longer, 5).pixelSize(), 8);
}

TEST(TimerEnabling, EnablingARunningTimerDoesNotRestartIt) {
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(2000);
    SetTimerEnabled(&timer, true);
    QTest::qWait(50);
    const int before = timer.remainingTime();
    SetTimerEnabled(&timer, true);
    EXPECT_TRUE(timer.isActive());
    EXPECT_LE(timer.remainingTime(), before);
    SetTimerEnabled(&timer, false);
    EXPECT_FALSE(timer.isActive());
}

}  // namespace
}  // namespace quillo::ui
