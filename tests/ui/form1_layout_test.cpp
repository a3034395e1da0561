#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionComboBox>
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

// Every control's place and size from the design (x, y, width, height at 96 dpi, relative to
// its parent), kept here rather than read from the table the window is built from, so that a
// slip in either shows. Auto-sized labels have only their place.
TEST_F(Form1Test, EveryControlSitsWhereTheDesignPutsIt) {
    constexpr int kAuto = -1;
    struct Place {
        const char* name;
        const char* parent;
        QRect box;
    };
    // clang-format off
    const Place places[] = {
        {"Panel3", "Form1", {19, 12, 231, 78}},
        {"Label_Choose_device", "Panel3", {2, 5, 225, 14}},
        {"ComboBox_Choose_device", "Panel3", {11, 28, 209, 21}},
        {"Label_S_N", "Panel3", {11, 55, 24, 14}},
        {"Label_Serial_number", "Panel3", {58, 56, kAuto, kAuto}},
        {"Panel1", "Form1", {257, 12, 155, 78}},
        {"Label_Choose_device_mode", "Panel1", {-3, 5, 160, 14}},
        {"RadioButton_master", "Panel1", {13, 30, 68, 17}},
        {"RadioButton_slave", "Panel1", {13, 53, 68, 17}},
        {"Panel2", "Form1", {422, 12, 186, 78}},
        {"Label_Choose_type_of_connection", "Panel2", {4, 5, 179, 14}},
        {"RadioButton_without_router", "Panel2", {14, 29, 171, 17}},
        {"RadioButton_with_router", "Panel2", {14, 52, 171, 17}},
        {"Label_Language", "Form1", {629, 17, 60, 14}},
        {"ComboBox_Language", "Form1", {632, 51, 55, 21}},
        {"Button_Get_current_parameters", "Form1", {119, 109, 222, 25}},
        {"Button_Restore_default_parameters", "Form1", {365, 109, 235, 25}},
        {"PageControl", "Form1", {19, 143, 686, 328}},
        {"Panel_Wi_Fi_name", "Wi_Fi", {22, 17, 386, 66}},
        {"Button_Search_Wi_Fi", "Panel_Wi_Fi_name", {20, 23, 82, 31}},
        {"Label_Wi_Fi_name", "Panel_Wi_Fi_name", {129, 9, 250, 13}},
        {"ComboBox_Wi_Fi_name", "Panel_Wi_Fi_name", {128, 28, 252, 21}},
        {"Panel_Password", "Wi_Fi", {22, 98, 386, 63}},
        {"Label_type_security", "Panel_Password", {7, 9, 110, 13}},
        {"ComboBox_Security_WI_FI", "Panel_Password", {7, 29, 110, 21}},
        {"Label_Password", "Panel_Password", {130, 9, 248, 13}},
        {"Edit_Password", "Panel_Password", {128, 29, 252, 21}},
        {"Panel_Master_State_connection", "Wi_Fi", {490, 17, 165, 32}},
        {"Panel_Wi_Fi_State_connection", "Wi_Fi", {490, 51, 165, 32}},
        {"Panel_Wi_Fi_channel", "Wi_Fi", {575, 98, 80, 63}},
        {"Label_Wi_Fi_channel", "Panel_Wi_Fi_channel", {0, 9, 81, 13}},
        {"ComboBox_Wi_Fi_channel", "Panel_Wi_Fi_channel", {13, 29, 55, 21}},
        {"Panel_IP_Master", "Wi_Fi", {490, 98, 165, 108}},
        {"Label_IP_Master", "Panel_IP_Master", {1, 9, 161, 13}},
        {"IPAddress_IP_Master", "Panel_IP_Master", {8, 29, 150, 21}},
        {"Label_Gateway", "Panel_IP_Master", {4, 59, 161, 13}},
        {"IPAddress_Gateway", "Panel_IP_Master", {8, 78, 150, 21}},
        {"Panel_Number_of_slave", "Wi_Fi", {22, 177, 131, 63}},
        {"Label_Number_Slave", "Panel_Number_of_slave", {6, 10, 122, 13}},
        {"ComboBox_Number_Slave", "Panel_Number_of_slave", {39, 29, 54, 21}},
        {"Panel_IP_Slave", "Wi_Fi", {173, 177, 235, 63}},
        {"Label_IP_Slave", "Panel_IP_Slave", {48, 10, 137, 13}},
        {"ComboBox_IP_Slave", "Panel_IP_Slave", {9, 29, 54, 21}},
        {"IPAddress_IP_Slave", "Panel_IP_Slave", {79, 29, 150, 21}},
        {"Button_Apply_Save_Wi_Fi", "Wi_Fi", {287, 266, 100, 25}},
        {"CheckBox_Available_OFF_device", "Fan", {101, 39, 169, 17}},
        {"Panel_Direction_Fan_Zorvat", "Fan", {385, 26, 179, 44}},
        {"Label_Direction", "Panel_Direction_Fan_Zorvat", {13, 3, 155, 14}},
        {"RadioButton_Supply", "Panel_Direction_Fan_Zorvat", {19, 22, 59, 17}},
        {"RadioButton_Exhaust", "Panel_Direction_Fan_Zorvat", {96, 23, 70, 17}},
        {"Panel_Direction_Fan_Bix", "Fan", {298, 14, 266, 68}},
        {"Label_Direction_Bix", "Panel_Direction_Fan_Bix", {20, 3, 225, 14}},
        {"RadioButton_Exhaust_Bix", "Panel_Direction_Fan_Bix", {9, 23, 248, 17}},
        {"RadioButton_Supply_Exhaust_Bix", "Panel_Direction_Fan_Bix", {9, 46, 248, 17}},
        {"Label_Turn_off_timer", "Fan", {78, 99, 170, 13}},
        {"TimeEdit_Timer_after_reacting_any_sensor", "Fan", {101, 121, 121, 21}},
        {"Label_Timer_night_mode", "Fan", {264, 100, 139, 13}},
        {"TimeEdit_Timer_night_mode", "Fan", {273, 121, 121, 21}},
        {"Label_Timer_party_mode", "Fan", {430, 99, 148, 13}},
        {"TimeEdit_Timer_party_mode", "Fan", {443, 121, 121, 21}},
        {"CheckBox_Humidity_sensor", "Fan", {162, 164, 126, 17}},
        {"TrackBar_Humidity_sensor", "Fan", {294, 161, 171, 28}},
        {"Label_Humidity_sensor", "Fan", {471, 168, kAuto, kAuto}},
        {"CheckBox_External_sensor1", "Fan", {162, 194, 143, 17}},
        {"CheckBox_External_sensor2", "Fan", {162, 222, 121, 17}},
        {"TrackBar_External_sensor2", "Fan", {292, 221, 171, 35}},
        {"Label_External_sensor2", "Fan", {474, 226, kAuto, kAuto}},
        {"Button_Apply_Save_Fan", "Fan", {287, 266, 100, 25}},
        {"Label_Timer_filter", "Filter", {192, 123, 273, 13}},
        {"Button_Reset_filter_timer", "Filter", {252, 168, 151, 25}},
        {"Label_Versio_of_program", "Information", {241, 109, 176, 13}},
        {"Label_Create_By", "Information", {198, 141, 264, 13}},
        {"Label_User_Manual", "Information", {241, 173, 176, 13}},
    };
    // clang-format on
    ASSERT_EQ(std::size(places), 73U);
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        const auto* widget = form_->findChild<QWidget*>(QString::fromLatin1(place.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), place.parent);
        if (place.box.width() == kAuto) {
            // Grows to the right with its text.
            EXPECT_EQ(widget->pos(), place.box.topLeft());
            EXPECT_GE(widget->width(), widget->sizeHint().width());
        } else {
            EXPECT_EQ(widget->geometry(), place.box);
        }
    }
    // The four pages, in this order, fill the page control.
    const QStringList pages = {"Wi_Fi", "Fan", "Filter", "Information"};
    ASSERT_EQ(form_->PageControl->count(), pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(form_->PageControl->widget(i)->objectName(), pages[i]);
    }
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
    // Coarse timers may fire early; none of the three may.
    for (const auto* timer : {form_->Timer1, form_->Timer2, form_->Timer3}) {
        EXPECT_EQ(timer->timerType(), Qt::PreciseTimer) << timer->objectName().toStdString();
    }
}

// Every item of the design's drop-down lists shows whole in its list's field ("WPA_WPA2_PSK"
// is the longest for its width).
TEST_F(Form1Test, EveryListItemFitsItsField) {
    for (const auto* box :
         {form_->ComboBox_Language, form_->ComboBox_Security_WI_FI, form_->ComboBox_Wi_Fi_channel,
          form_->ComboBox_Number_Slave, form_->ComboBox_IP_Slave}) {
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.rect = box->rect();
        // The style draws the text one pixel inside the field on each side.
        const int field =
            box->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
                .width() -
            2;
        for (int i = 0; i < box->count(); ++i) {
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->itemText(i)), field)
                << box->objectName().toStdString() << ": " << box->itemText(i).toStdString();
        }
    }
}

// No label of the design reads markup: several show text from the unit.
TEST_F(Form1Test, EveryLabelShowsPlainText) {
    const auto labels = form_->findChildren<QLabel*>(QRegularExpression("^Label_"));
    ASSERT_EQ(labels.size(), 25);
    for (const QLabel* label : labels) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    }
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
// a panel's or page's controls where the panel's own number puts them; a radio group is one
// stop, at its checked button (the arrows move within it).
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
        "RadioButton_Exhaust_Bix",
        // The Filter page.
        "Button_Reset_filter_timer",
        // Panel1 (1), Panel2 (2), Panel3 (3), then the buttons and the language list.
        "RadioButton_master", "RadioButton_without_router", "ComboBox_Choose_device",
        "Button_Get_current_parameters", "Button_Restore_default_parameters", "ComboBox_Language"};
    EXPECT_EQ(order.join(' ').toStdString(), expected.join(' ').toStdString());
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
