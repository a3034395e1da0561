#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>

#include "form1_fixture.h"
#include "ui/controls.h"
#include "ui/ip_address_edit.h"
#include "ui/time_edit.h"

namespace quillo::ui {
namespace {

TEST_F(Form1Test, WindowIsFixedWithMinimizeAndCloseOnly) {
    EXPECT_EQ(form_->windowTitle(), "Aldrun Quillo");
    EXPECT_EQ(form_->size(), QSize(728, 488));
    EXPECT_EQ(form_->minimumSize(), form_->maximumSize());
    const Qt::WindowFlags flags = form_->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
}

// Every control of the design can be found by its name, as tests and accessibility tools do.
TEST_F(Form1Test, EveryControlCarriesItsName) {
    const char* const names[] = {"Panel3",
                                 "Label_Choose_device",
                                 "ComboBox_Choose_device",
                                 "Label_S_N",
                                 "Label_Serial_number",
                                 "Panel1",
                                 "Label_Choose_device_mode",
                                 "RadioButton_master",
                                 "RadioButton_slave",
                                 "Panel2",
                                 "Label_Choose_type_of_connection",
                                 "RadioButton_without_router",
                                 "RadioButton_with_router",
                                 "Label_Language",
                                 "ComboBox_Language",
                                 "Button_Get_current_parameters",
                                 "Button_Restore_default_parameters",
                                 "PageControl",
                                 "Wi_Fi",
                                 "Fan",
                                 "Filter",
                                 "Information",
                                 "Panel_Wi_Fi_name",
                                 "Button_Search_Wi_Fi",
                                 "Label_Wi_Fi_name",
                                 "ComboBox_Wi_Fi_name",
                                 "Panel_Password",
                                 "Label_type_security",
                                 "ComboBox_Security_WI_FI",
                                 "Label_Password",
                                 "Edit_Password",
                                 "Panel_Master_State_connection",
                                 "Panel_Wi_Fi_State_connection",
                                 "Panel_Wi_Fi_channel",
                                 "Label_Wi_Fi_channel",
                                 "ComboBox_Wi_Fi_channel",
                                 "Panel_IP_Master",
                                 "Label_IP_Master",
                                 "IPAddress_IP_Master",
                                 "Label_Gateway",
                                 "IPAddress_Gateway",
                                 "Panel_Number_of_slave",
                                 "Label_Number_Slave",
                                 "ComboBox_Number_Slave",
                                 "Panel_IP_Slave",
                                 "Label_IP_Slave",
                                 "ComboBox_IP_Slave",
                                 "IPAddress_IP_Slave",
                                 "Button_Apply_Save_Wi_Fi",
                                 "CheckBox_Available_OFF_device",
                                 "Panel_Direction_Fan_Zorvat",
                                 "Label_Direction",
                                 "RadioButton_Supply",
                                 "RadioButton_Exhaust",
                                 "Panel_Direction_Fan_Bix",
                                 "Label_Direction_Bix",
                                 "RadioButton_Exhaust_Bix",
                                 "RadioButton_Supply_Exhaust_Bix",
                                 "Label_Turn_off_timer",
                                 "TimeEdit_Timer_after_reacting_any_sensor",
                                 "Label_Timer_night_mode",
                                 "TimeEdit_Timer_night_mode",
                                 "Label_Timer_party_mode",
                                 "TimeEdit_Timer_party_mode",
                                 "CheckBox_Humidity_sensor",
                                 "TrackBar_Humidity_sensor",
                                 "Label_Humidity_sensor",
                                 "CheckBox_External_sensor1",
                                 "CheckBox_External_sensor2",
                                 "TrackBar_External_sensor2",
                                 "Label_External_sensor2",
                                 "Button_Apply_Save_Fan",
                                 "Label_Timer_filter",
                                 "Button_Reset_filter_timer",
                                 "Label_Versio_of_program",
                                 "Label_Create_By",
                                 "Label_User_Manual"};
    for (const char* name : names) {
        const auto found = form_->findChildren<QWidget*>(QString::fromLatin1(name));
        EXPECT_EQ(found.size(), 1) << name;
    }
    for (const char* name : {"Timer1", "Timer2", "Timer3"}) {
        EXPECT_NE(form_->findChild<QTimer*>(QString::fromLatin1(name)), nullptr) << name;
    }
}

// Places from the design, one or two per parent, found by name.
TEST_F(Form1Test, ControlsSitWhereTheDesignPutsThem) {
    struct Place {
        const char* name;
        const char* parent;
        QRect box;
    };
    const Place places[] = {
        {"ComboBox_Choose_device", "Panel3", {11, 28, 209, 21}},
        {"Label_Choose_device_mode", "Panel1", {-3, 5, 160, 14}},
        {"RadioButton_with_router", "Panel2", {14, 52, 171, 17}},
        {"ComboBox_Language", "Form1", {632, 51, 55, 21}},
        {"PageControl", "Form1", {19, 143, 686, 328}},
        {"Panel_IP_Master", "Wi_Fi", {490, 98, 165, 108}},
        {"IPAddress_IP_Slave", "Panel_IP_Slave", {79, 29, 150, 21}},
        {"TrackBar_External_sensor2", "Fan", {292, 221, 171, 35}},
        {"RadioButton_Supply_Exhaust_Bix", "Panel_Direction_Fan_Bix", {9, 46, 248, 17}},
        {"Button_Reset_filter_timer", "Filter", {252, 168, 151, 25}},
        {"Label_User_Manual", "Information", {241, 173, 176, 13}},
    };
    for (const Place& place : places) {
        const auto* widget = form_->findChild<QWidget*>(QString::fromLatin1(place.name));
        ASSERT_NE(widget, nullptr) << place.name;
        EXPECT_EQ(widget->geometry(), place.box) << place.name;
        EXPECT_EQ(widget->parentWidget()->objectName(), place.parent) << place.name;
    }
    // Auto-sized labels start at their place and grow to the right.
    EXPECT_EQ(form_->Label_Serial_number->pos(), QPoint(58, 56));
    EXPECT_GE(form_->Label_Serial_number->width(), form_->Label_Serial_number->sizeHint().width());
}

TEST_F(Form1Test, StartsWithTheDesignValues) {
    EXPECT_EQ(form_->PageControl->currentWidget(), form_->Wi_Fi);
    EXPECT_TRUE(form_->PageShowing(form_->Wi_Fi));
    EXPECT_FALSE(form_->PageShowing(form_->Filter));

    // Master without router, reached without any handler.
    for (QWidget* shown : {static_cast<QWidget*>(form_->Panel_Password),
                           static_cast<QWidget*>(form_->Panel_Wi_Fi_channel)}) {
        EXPECT_TRUE(Shown(shown)) << shown->objectName().toStdString();
    }
    for (QWidget* hidden : {form_->Panel_Wi_Fi_name, form_->Panel_IP_Master, form_->Panel_IP_Slave,
                            form_->Panel_Number_of_slave, form_->Panel_Wi_Fi_State_connection,
                            form_->Panel_Master_State_connection, form_->Panel_Direction_Fan_Bix}) {
        EXPECT_FALSE(Shown(hidden)) << hidden->objectName().toStdString();
    }
    EXPECT_FALSE(Shown(form_->Label_User_Manual));
    EXPECT_TRUE(form_->RadioButton_master->isChecked());
    EXPECT_TRUE(form_->RadioButton_without_router->isChecked());
    EXPECT_TRUE(form_->RadioButton_Supply->isChecked());
    EXPECT_TRUE(form_->RadioButton_Exhaust_Bix->isChecked());

    EXPECT_EQ(form_->ComboBox_Language->count(), 10);
    EXPECT_EQ(form_->ComboBox_Language->itemText(2), QString::fromUtf8("中文"));
    EXPECT_EQ(form_->ComboBox_Language->currentIndex(), 1);
    EXPECT_EQ(form_->ComboBox_Security_WI_FI->currentText(), "WPA_WPA2_PSK");
    EXPECT_EQ(form_->ComboBox_Wi_Fi_channel->currentText(), "11");
    EXPECT_EQ(form_->ComboBox_Number_Slave->count(), 32);
    EXPECT_EQ(form_->ComboBox_Number_Slave->currentText(), "1");
    EXPECT_EQ(form_->ComboBox_IP_Slave->currentText(), "DHCP");
    EXPECT_EQ(form_->ComboBox_Choose_device->count(), 0);
    EXPECT_EQ(form_->ComboBox_Choose_device->currentText(), "   No device");
    EXPECT_EQ(form_->ComboBox_Wi_Fi_name->lineEdit()->maxLength(), 32);
    EXPECT_EQ(form_->Edit_Password->maxLength(), 60);
    EXPECT_TRUE(form_->Edit_Password->isEnabled());

    EXPECT_EQ(form_->IPAddress_IP_Master->text(), "192.168.0.2");
    EXPECT_EQ(form_->IPAddress_Gateway->text(), "192.168.0.1");
    EXPECT_EQ(form_->IPAddress_IP_Slave->text(), "192.168.0.3");
    EXPECT_FALSE(form_->IPAddress_IP_Slave->isEnabled());

    EXPECT_EQ(form_->TrackBar_Humidity_sensor->minimum(), 8);
    EXPECT_EQ(form_->TrackBar_Humidity_sensor->maximum(), 16);
    EXPECT_EQ(form_->TrackBar_Humidity_sensor->value(), 14);
    EXPECT_EQ(form_->Label_Humidity_sensor->text(), "70 %RH");
    EXPECT_EQ(form_->TrackBar_External_sensor2->value(), 10);
    EXPECT_EQ(form_->Label_External_sensor2->text(), "50 %");

    EXPECT_EQ(form_->Timer1->interval(), 2000);
    EXPECT_FALSE(form_->Timer1->isActive());
    EXPECT_EQ(form_->Timer2->interval(), 1500);
    EXPECT_FALSE(form_->Timer2->isActive());
    EXPECT_EQ(form_->Timer3->interval(), 1000);
    EXPECT_TRUE(form_->Timer3->isActive());
}

TEST_F(Form1Test, FontsFollowTheDesign) {
    const QFont title = form_->Label_Choose_device->font();
    EXPECT_EQ(title.pixelSize(), 12);
    EXPECT_TRUE(title.bold());
    EXPECT_TRUE(title.underline());
    const QFont plain = form_->Label_Wi_Fi_channel->font();
    EXPECT_EQ(plain.pixelSize(), 11);
    EXPECT_FALSE(plain.bold());
    EXPECT_TRUE(form_->Button_Apply_Save_Fan->font().bold());
    EXPECT_EQ(form_->Button_Apply_Save_Fan->font().pixelSize(), 11);
    EXPECT_EQ(form_->Button_Get_current_parameters->font().pixelSize(), 12);
    EXPECT_TRUE(form_->Label_User_Manual->font().underline());
    EXPECT_EQ(form_->Label_S_N->font().pixelSize(), 12);
    EXPECT_FALSE(form_->Label_S_N->font().bold());
}

// The state colours must reach the screen through the style: look at the pixels.
TEST_F(Form1Test, StateColoursShowAsSet) {
    form_->Panel_Wi_Fi_State_connection->show();
    form_->Panel_Master_State_connection->show();
    form_->Panel_Master_State_connection->setColor(ColorBrightGreen);
    const QImage image = form_->grab().toImage();
    const auto pixelIn = [&](const QWidget* widget, QPoint offset) {
        return image.pixelColor(widget->mapTo(form_.get(), offset)).toRgb();
    };
    EXPECT_EQ(pixelIn(form_->ComboBox_Choose_device, {5, 10}), QColor(255, 0, 0));
    EXPECT_EQ(pixelIn(form_->Panel_Wi_Fi_State_connection, {6, 6}), QColor(255, 0, 0));
    EXPECT_EQ(pixelIn(form_->Panel_Master_State_connection, {6, 6}), QColor(0, 255, 0));
}

// The keyboard visits the controls by the design's tab numbers: within each parent in order,
// a panel's or page's controls where the panel's own number puts them.
TEST_F(Form1Test, TabOrderFollowsTheDesign) {
    QStringList order;
    QWidget* widget = form_.get();
    do {
        widget = widget->nextInFocusChain();
        const bool takesTab = (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy();
        if (!takesTab) {
            continue;
        }
        if (widget->objectName() == "qt_tabwidget_tabbar") {
            order << widget->parentWidget()->objectName();  // the page control's tabs
        } else if (widget->objectName().startsWith("octet")) {
            order << widget->parentWidget()->objectName() + "." + widget->objectName().back();
        } else if (widget->objectName().contains('_') && !widget->objectName().startsWith("qt_")) {
            order << widget->objectName();
        }
    } while (widget != form_.get());
    // The chain is a ring: start where the design's first control is.
    const qsizetype start = order.indexOf("PageControl");
    ASSERT_GE(start, 0);
    order = order.mid(start) + order.mid(0, start);
    const QStringList expected = {
        // PageControl (tab 0): the Wi-Fi page.
        "PageControl", "ComboBox_IP_Slave", "IPAddress_IP_Slave.1", "IPAddress_IP_Slave.2",
        "IPAddress_IP_Slave.3", "IPAddress_IP_Slave.4", "Button_Apply_Save_Wi_Fi",
        "ComboBox_Security_WI_FI", "Edit_Password", "Button_Search_Wi_Fi", "ComboBox_Wi_Fi_name",
        "ComboBox_Wi_Fi_channel", "IPAddress_IP_Master.1", "IPAddress_IP_Master.2",
        "IPAddress_IP_Master.3", "IPAddress_IP_Master.4", "IPAddress_Gateway.1",
        "IPAddress_Gateway.2", "IPAddress_Gateway.3", "IPAddress_Gateway.4",
        "ComboBox_Number_Slave",
        // The Fan page.
        "CheckBox_Available_OFF_device", "Button_Apply_Save_Fan", "TrackBar_Humidity_sensor",
        "TimeEdit_Timer_after_reacting_any_sensor", "TimeEdit_Timer_night_mode",
        "TimeEdit_Timer_party_mode", "CheckBox_Humidity_sensor", "CheckBox_External_sensor1",
        "TrackBar_External_sensor2", "CheckBox_External_sensor2", "RadioButton_Supply",
        "RadioButton_Exhaust", "RadioButton_Exhaust_Bix", "RadioButton_Supply_Exhaust_Bix",
        // The Filter page.
        "Button_Reset_filter_timer",
        // Panel1 (1), Panel2 (2), Panel3 (3), then the buttons and the language list.
        "RadioButton_master", "RadioButton_slave", "RadioButton_with_router",
        "RadioButton_without_router", "ComboBox_Choose_device", "Button_Get_current_parameters",
        "Button_Restore_default_parameters", "ComboBox_Language"};
    EXPECT_EQ(order, expected);
}

// Tab walks the four fields of an address and then leaves it; Shift+Tab goes back.
TEST_F(Form1Test, TabWalksTheAddressFields) {
    form_->RadioButton_with_router->setChecked(true);
    const auto& master = form_->IPAddress_IP_Master->fields();
    const auto& gateway = form_->IPAddress_Gateway->fields();
    master[0]->setFocus(Qt::OtherFocusReason);
    for (int i = 1; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), master[static_cast<std::size_t>(i)]);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), gateway[0]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), master[3]);
}

}  // namespace
}  // namespace quillo::ui
