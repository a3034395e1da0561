// The window as a screen reader and a keyboard user meet it: every control named in the
// current language, Tab in the design's order, the keys a user expects, focus that shows.

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "form1_fixture.h"
#include "lang/spoken_texts.h"
#include "ui/controls.h"
#include "ui/ip_address_edit.h"
#include "ui/message_box.h"
#include "ui/time_edit.h"

namespace quillo::ui {
namespace {

using lang::MessageText;
using lang::SpokenText;
using lang::SpokenTextOf;

bool Interactive(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Button:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::SpinBox:
        case QAccessible::Slider:
        case QAccessible::PageTab:
        case QAccessible::Link:
            return true;
        default:
            return false;
    }
}

// Every interactive control showing below `iface`, as "objectName: problem", for those without
// a name of their own: none at all, or only the value they show.
void FindUnnamed(QAccessibleInterface* iface, QStringList& problems, int& interactive) {
    if (iface == nullptr || iface->state().invisible) {
        return;
    }
    if (Interactive(iface->role())) {
        ++interactive;
        const QString name = iface->text(QAccessible::Name).trimmed();
        const QString value = iface->text(QAccessible::Value).trimmed();
        const QString who = iface->object() != nullptr ? iface->object()->objectName() : QString();
        if (name.isEmpty()) {
            problems << who + ": no name";
        } else if (name == value) {
            problems << who + ": named only by its value \"" + value + "\"";
        }
    }
    for (int i = 0; i < iface->childCount(); ++i) {
        FindUnnamed(iface->child(i), problems, interactive);
    }
}

// The window in each mode, with the slave's static address, for each unit model's fan panel.
struct State {
    const char* name;
    bool slave, withRouter, staticSlaveAddress, pairedModel;
};
const State kStates[] = {
    {"master without router", false, false, false, false},
    {"master with router", false, true, false, false},
    {"slave without router", true, false, false, true},
    {"slave with router, static address", true, true, true, true},
};

class Accessibility : public Form1Test {
protected:
    void Enter(const State& state) {
        (state.slave ? form_->RadioButton_slave : form_->RadioButton_master)->setChecked(true);
        (state.withRouter ? form_->RadioButton_with_router : form_->RadioButton_without_router)
            ->setChecked(true);
        form_->ComboBox_IP_Slave->setCurrentIndex(state.staticSlaveAddress ? 1 : 0);
        form_->ComboBox_IP_SlaveChange();
        form_->Panel_Direction_Fan_Zorvat->setVisible(!state.pairedModel);
        form_->Panel_Direction_Fan_Bix->setVisible(state.pairedModel);
    }
    void ChooseLanguage(int language) {
        lang::LanguageIndex = static_cast<std::uint8_t>(language);
        form_->ApplyLanguage();
    }
    QList<QWidget*> Pages() const {
        return {form_->Wi_Fi, form_->Fan, form_->Filter, form_->Information};
    }
};

TEST_F(Accessibility, EveryInteractiveControlHasANameOfItsOwn) {
    for (int language : {lang::English, lang::Russian}) {
        ChooseLanguage(language);
        for (const State& state : kStates) {
            Enter(state);
            for (QWidget* page : Pages()) {
                form_->PageControl->setCurrentWidget(page);
                QStringList problems;
                int interactive = 0;
                FindUnnamed(QAccessible::queryAccessibleInterface(form_.get()), problems,
                            interactive);
                EXPECT_TRUE(problems.isEmpty())
                    << "language " << language << ", " << state.name << ", page "
                    << page->objectName().toStdString() << ":\n"
                    << problems.join('\n').toStdString();
                // The top area's eight, the device selector's text field and the four tabs at
                // least: the walk reached the whole window.
                EXPECT_GE(interactive, 13);
            }
        }
    }
}

// The controls a screen reader could not name before, with the words it speaks, in two
// languages: the captions of their labels, the heading of their sensor, the octet's place.
TEST_F(Accessibility, NamesAreTheCaptionsInTheChosenLanguage) {
    const auto nameOf = [](QObject* control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    for (int language : {lang::English, lang::German, lang::Chinese}) {
        ChooseLanguage(language);
        Enter(kStates[3]);
        const std::pair<QObject*, QString> expected[] = {
            {form_->ComboBox_Choose_device, MessageText(0)},
            {form_->ComboBox_Language, MessageText(430)},
            {form_->ComboBox_Wi_Fi_name, MessageText(130)},
            {form_->ComboBox_Security_WI_FI, MessageText(140)},
            {form_->Edit_Password, MessageText(200)},
            {form_->ComboBox_Wi_Fi_channel, MessageText(210)},
            {form_->ComboBox_Number_Slave, MessageText(240)},
            {form_->ComboBox_IP_Slave, MessageText(230)},
            {form_->IPAddress_IP_Master, MessageText(220)},
            {form_->IPAddress_IP_Master->fields()[0],
             SpokenTextOf(SpokenText::OctetOf).arg(MessageText(220)).arg(1)},
            {form_->IPAddress_IP_Slave->fields()[3],
             SpokenTextOf(SpokenText::OctetOf).arg(MessageText(230)).arg(4)},
            {form_->IPAddress_Gateway->fields()[1],
             SpokenTextOf(SpokenText::OctetOf).arg(MessageText(630)).arg(2)},
            {form_->TimeEdit_Timer_after_reacting_any_sensor, MessageText(450)},
            {form_->TimeEdit_Timer_night_mode, MessageText(460)},
            {form_->TimeEdit_Timer_party_mode, MessageText(470)},
            {form_->TrackBar_Humidity_sensor,
             SpokenTextOf(SpokenText::ThresholdOf).arg(MessageText(480))},
            {form_->TrackBar_External_sensor2,
             SpokenTextOf(SpokenText::ThresholdOf).arg(MessageText(500))},
            {form_->Panel1, MessageText(10)},
            {form_->Panel_Direction_Fan_Bix, MessageText(620)},
            {form_->Wi_Fi, MessageText(90)},  // a page, by its tab
            {form_->Information, MessageText(440)},
        };
        for (const auto& [control, name] : expected) {
            EXPECT_EQ(nameOf(control), name) << control->objectName().toStdString();
        }
        // Pages read as pages; the stack that holds them says nothing of itself.
        EXPECT_EQ(QAccessible::queryAccessibleInterface(form_->Fan)->role(),
                  QAccessible::PropertyPage);
        QAccessibleInterface* stack = QAccessible::queryAccessibleInterface(form_->Fan)->parent();
        EXPECT_EQ(stack->role(), QAccessible::Grouping);
        EXPECT_EQ(stack->text(QAccessible::Name), QString());
        // The password's caption changes with the mode, its name with it.
        Enter(kStates[0]);
        EXPECT_EQ(nameOf(form_->Edit_Password), MessageText(190));
    }
}

// Values a screen reader speaks with their units, and the states shown only by colour.
TEST_F(Accessibility, ValuesAndStatesReadAsText) {
    lang::LanguageIndex = lang::English;
    const auto iface = [](QObject* control) {
        return QAccessible::queryAccessibleInterface(control);
    };

    form_->TrackBar_Humidity_sensor->setValue(12);
    QAccessibleInterface* humidity = iface(form_->TrackBar_Humidity_sensor);
    EXPECT_EQ(humidity->text(QAccessible::Value), "60 %RH");
    EXPECT_EQ(humidity->text(QAccessible::Description), "60 %RH");
    ASSERT_NE(humidity->valueInterface(), nullptr);
    EXPECT_EQ(humidity->valueInterface()->currentValue().toInt(), 60);
    EXPECT_EQ(humidity->valueInterface()->minimumValue().toInt(), 40);
    EXPECT_EQ(humidity->valueInterface()->maximumValue().toInt(), 80);
    humidity->valueInterface()->setCurrentValue(45);  // between two steps: the nearer
    EXPECT_EQ(form_->TrackBar_Humidity_sensor->value(), 9);
    EXPECT_EQ(form_->Label_Humidity_sensor->text(), "45 %RH");
    form_->TrackBar_External_sensor2->setValue(3);
    EXPECT_EQ(iface(form_->TrackBar_External_sensor2)->text(QAccessible::Value), "15 %");

    form_->TimeEdit_Timer_night_mode->setText("08:30");
    EXPECT_EQ(iface(form_->TimeEdit_Timer_night_mode)->text(QAccessible::Value), "08:30");
    EXPECT_EQ(iface(form_->TimeEdit_Timer_night_mode)->text(QAccessible::Description),
              "Hours: 08, Minutes: 30");
    form_->IPAddress_Gateway->setText("10.0.0.254");
    EXPECT_EQ(iface(form_->IPAddress_Gateway)->text(QAccessible::Description), "10.0.0.254");

    // The device selector: red without a unit, green with one chosen.
    QAccessibleInterface* selector = iface(form_->ComboBox_Choose_device);
    form_->HidDeviceController1DeviceChange();
    ASSERT_EQ(ComboBoxColor(form_->ComboBox_Choose_device), ColorRed);
    EXPECT_EQ(selector->text(QAccessible::Description), MessageText(540).trimmed());
    form_->ComboBox_Choose_device->addItem("1. unit");
    form_->ComboBox_Choose_device->setCurrentIndex(0);
    form_->ComboBox_Choose_deviceClick();
    ASSERT_EQ(ComboBoxColor(form_->ComboBox_Choose_device), ColorBrightGreen);
    EXPECT_EQ(selector->text(QAccessible::Description), SpokenTextOf(SpokenText::DeviceSelected));
    EXPECT_EQ(selector->text(QAccessible::Name), MessageText(0));
    EXPECT_EQ(selector->text(QAccessible::Value), "1. unit");

    // The connection states read as the captions the panels show, and follow them.
    QAccessibleInterface* wifi = iface(form_->Panel_Wi_Fi_State_connection);
    EXPECT_EQ(wifi->role(), QAccessible::StaticText);
    EXPECT_EQ(wifi->text(QAccessible::Name), form_->Panel_Wi_Fi_State_connection->caption());
    form_->Panel_Wi_Fi_State_connection->setCaption(MessageText(270));
    EXPECT_EQ(wifi->text(QAccessible::Name), MessageText(270));
    EXPECT_EQ(iface(form_->Panel_Master_State_connection)->text(QAccessible::Name),
              form_->Panel_Master_State_connection->caption());
}

// A closed list tells its current item as its value (what UI Automation's Value pattern and
// MSAA read) and, where it cannot be typed in, as its text (what AT-SPI and Orca read), also
// after keys or the unit changed it, and that text reads as selected (Orca speaks a new item
// only where it is the selected text: scripts/orca-check shows it with Orca itself). A list one
// types in keeps its text in its text field.
TEST_F(Accessibility, ListsTellTheirCurrentItem) {
    lang::LanguageIndex = lang::English;
    Enter(kStates[3]);
    const auto textOf = [](QComboBox* box) {
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(box)->textInterface();
        return text == nullptr ? std::string("(no text)")
                               : text->text(0, text->characterCount()).toStdString();
    };
    QComboBox* const lists[] = {form_->ComboBox_Language, form_->ComboBox_Security_WI_FI,
                                form_->ComboBox_Wi_Fi_channel, form_->ComboBox_Number_Slave,
                                form_->ComboBox_IP_Slave};
    for (QComboBox* box : lists) {
        SCOPED_TRACE(box->objectName().toStdString());
        ASSERT_GE(box->count(), 2);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
        for (int index : {1, 0}) {
            box->setCurrentIndex(index);  // as an answer of the unit sets it
            EXPECT_EQ(iface->text(QAccessible::Value), box->itemText(index));
            EXPECT_EQ(textOf(box), box->itemText(index).toStdString());
            int start = -1;
            int end = -1;
            iface->textInterface()->selection(0, &start, &end);
            EXPECT_EQ(iface->textInterface()->selectionCount(), 1);
            EXPECT_EQ(end - start, box->itemText(index).size()) << "the item reads as selected";
        }
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClick(box, Qt::Key_Down);
        EXPECT_EQ(textOf(box), box->itemText(1).toStdString());
        EXPECT_EQ(iface->text(QAccessible::Value), box->itemText(1));
        box->setCurrentIndex(0);
        // Its name stays its label's.
        EXPECT_NE(iface->text(QAccessible::Name), box->itemText(0));
    }
    EXPECT_EQ(textOf(form_->ComboBox_Wi_Fi_name), "(no text)");
}

// --- Keyboard ---

// Each widget's place in the window's focus chain, which the layout builds from the design's
// tab numbers.
QHash<const QWidget*, int> DesignOrder(QWidget* window) {
    QHash<const QWidget*, int> order;
    QWidget* w = window;
    do {
        order.insert(w, static_cast<int>(order.size()));
        w = w->nextInFocusChain();
    } while (w != window);
    return order;
}

QString Named(const QWidget* w) {
    QString name = w->objectName();
    if (name.startsWith("octet") || name == "qt_tabwidget_tabbar") {
        name = w->parentWidget()->objectName() + "." + name;
    }
    return name;
}

// What Tab must reach: every control that takes focus, shows and is enabled; of a group of radio
// buttons only the checked one (arrows move within the group).
QSet<QWidget*> TabStops(QWidget* window) {
    QSet<QWidget*> stops;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus) ||
            w->focusProxy() != nullptr) {
            continue;
        }
        if (auto* radio = qobject_cast<QRadioButton*>(w); radio != nullptr && !radio->isChecked()) {
            continue;
        }
        stops.insert(w);
    }
    return stops;
}

TEST_F(Accessibility, TabReachesEveryControlOnceInTheDesignsOrder) {
    for (const State& state : kStates) {
        Enter(state);
        for (QWidget* page : Pages()) {
            form_->PageControl->setCurrentWidget(page);
            QWidget* first = form_->ComboBox_Choose_device;
            first->setFocus(Qt::TabFocusReason);
            QList<QWidget*> visited{first};
            for (int i = 0; i < 100; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                if (QApplication::focusWidget() == first) {
                    break;
                }
                visited << QApplication::focusWidget();
            }
            const std::string where =
                std::string(state.name) + ", page " + page->objectName().toStdString();
            QStringList order;
            for (QWidget* w : visited) {
                order << Named(w);
            }
            SCOPED_TRACE(where + ": " + order.join(' ').toStdString());
            const QSet<QWidget*> reached(visited.begin(), visited.end());
            EXPECT_EQ(reached.size(), visited.size());  // each once
            const QSet<QWidget*> stops = TabStops(form_.get());
            for (QWidget* w : stops - reached) {
                ADD_FAILURE() << "Tab never reaches " << Named(w).toStdString();
            }
            for (QWidget* w : reached - stops) {
                ADD_FAILURE() << "Tab reaches " << Named(w).toStdString();
            }
            // The design's order, once round: from the selector to the end of the chain and on
            // from its start.
            const QHash<const QWidget*, int> design = DesignOrder(form_.get());
            int wraps = 0;
            for (qsizetype i = 1; i <= visited.size(); ++i) {
                const QWidget* next = visited[i % visited.size()];
                if (design.value(next) < design.value(visited[i - 1])) {
                    ++wraps;
                }
            }
            EXPECT_EQ(wraps, 1);
            // Shift+Tab walks the same way back.
            QList<QWidget*> back;
            for (qsizetype i = 0; i < visited.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
                back.prepend(QApplication::focusWidget());
            }
            EXPECT_EQ(back, visited);
        }
    }
}

TEST_F(Accessibility, KeysWorkTheControls) {
    // The command buttons answer "select a device" without a unit: not as a modal box here.
    qputenv("QUILLO_MESSAGE_BOXES", "stderr");
    // Enter and Space press buttons and toggle check boxes.
    int clicks = 0;
    QObject::connect(form_->Button_Reset_filter_timer, &QPushButton::clicked, [&] { ++clicks; });
    form_->PageControl->setCurrentWidget(form_->Filter);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        form_->Button_Reset_filter_timer->setFocus(Qt::TabFocusReason);
        QTest::keyClick(form_->Button_Reset_filter_timer, key);
        QTRY_COMPARE(clicks, key == Qt::Key_Space ? 3 : (key == Qt::Key_Return ? 1 : 2));
    }
    form_->PageControl->setCurrentWidget(form_->Fan);
    QCheckBox* check = form_->CheckBox_External_sensor1;
    check->setFocus(Qt::TabFocusReason);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        const bool before = check->isChecked();
        QTest::keyClick(check, key);
        QTRY_COMPARE(check->isChecked(), !before);
    }

    // Arrows move a slider (its caption follows), a radio group and a list (their handlers run).
    form_->TrackBar_Humidity_sensor->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form_->TrackBar_Humidity_sensor, Qt::Key_Left);
    EXPECT_EQ(form_->Label_Humidity_sensor->text(), "65 %RH");
    form_->PageControl->setCurrentWidget(form_->Wi_Fi);
    form_->RadioButton_master->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form_->RadioButton_master, Qt::Key_Down);
    EXPECT_TRUE(form_->RadioButton_slave->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), form_->RadioButton_slave);
    EXPECT_FALSE(form_->Panel_Number_of_slave->isHidden());
    form_->RadioButton_with_router->setChecked(true);
    form_->ComboBox_IP_Slave->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form_->ComboBox_IP_Slave, Qt::Key_Down);
    EXPECT_EQ(form_->ComboBox_IP_Slave->currentIndex(), 1);
    EXPECT_TRUE(form_->IPAddress_IP_Slave->isEnabled());

    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages from anywhere in the window, round.
    form_->ComboBox_Language->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form_->PageControl->currentWidget(), form_->Fan);
    form_->PageControl->setCurrentWidget(form_->Information);
    form_->Button_Get_current_parameters->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form_->PageControl->currentWidget(), form_->Wi_Fi);
    form_->Edit_Password->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form_->PageControl->currentWidget(), form_->Information);
    qunsetenv("QUILLO_MESSAGE_BOXES");
}

// A message box closes with Enter and with Escape.
TEST_F(Accessibility, MessageBoxesCloseWithEnterAndEscape) {
    const std::function<void(QWidget*, const QString&)> boxes[] = {ShowMessage, ShowError,
                                                                   ShowCloseError};
    for (const auto& show : boxes) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            bool pressed = false;
            QObject iteration;  // ends the timers below with this key's turn
            QTimer::singleShot(0, &iteration, [&] {
                QWidget* box = QApplication::activeModalWidget();
                ASSERT_NE(box, nullptr);
                QTest::keyClick(box, key);
                pressed = true;
            });
            // A box the key did not close: closed here, so that the test ends.
            QTimer::singleShot(1000, &iteration, [] {
                if (QWidget* still = QApplication::activeModalWidget()) {
                    ADD_FAILURE() << "the box stayed open";
                    still->close();
                }
            });
            show(form_.get(), "text");
            EXPECT_TRUE(pressed);
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        }
    }
}

// Every control that takes focus looks different once Tab has brought the focus to it.
TEST_F(Accessibility, FocusShowsOnEveryControl) {
    QApplication::setCursorFlashTime(0);  // a caret alone does not count: it blinks
    for (const State& state : kStates) {
        Enter(state);
        for (QWidget* page : Pages()) {
            form_->PageControl->setCurrentWidget(page);
            for (QWidget* w : TabStops(form_.get())) {
                // Moved by a key (a shortcut counts as Tab does): the style marks the focus
                // only after the keyboard moved it, not after a click.
                QWidget* elsewhere = w == form_->Button_Get_current_parameters
                                         ? form_->Button_Restore_default_parameters
                                         : form_->Button_Get_current_parameters;
                elsewhere->setFocus(Qt::ShortcutFocusReason);
                QWidget* shown = qobject_cast<IpAddressEdit*>(w->parentWidget()) != nullptr
                                     ? w->parentWidget()
                                     : w;
                const QImage before = shown->grab().toImage();
                w->setFocus(Qt::ShortcutFocusReason);
                ASSERT_EQ(QApplication::focusWidget(), w);
                const QImage after = shown->grab().toImage();
                int changed = 0;
                for (int y = 0; y < before.height(); ++y) {
                    for (int x = 0; x < before.width(); ++x) {
                        changed += before.pixel(x, y) != after.pixel(x, y) ? 1 : 0;
                    }
                }
                // More than a caret's height: a frame or a mark around the control.
                EXPECT_GT(changed, shown->height()) << Named(w).toStdString();
                if (shown != w) {
                    // An address field: its entry's frame is marked, not only the field.
                    const QColor accent = after.pixelColor(0, after.height() / 2);
                    EXPECT_EQ(accent, shown->palette().color(QPalette::Highlight))
                        << Named(w).toStdString();
                }
            }
        }
    }
    QApplication::setCursorFlashTime(1000);
}

}  // namespace
}  // namespace quillo::ui
