// What a screen reader says for the window's controls, and the keys beyond Qt's own: names
// from the captions the window shows (labels stand for their controls as buddies), texts for
// what only colour or a separate label tells, Enter on buttons and check boxes, and Ctrl+Tab
// from anywhere in the window.

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>

#include "lang/message_table.h"
#include "lang/spoken_texts.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/ip_address_edit.h"
#include "ui/time_edit.h"

namespace quillo::ui {

using lang::MessageText;
using lang::SpokenText;
using lang::SpokenTextOf;

namespace {

// Enter and Return press a button or toggle a check box, as Space does. Qt's buttons take Enter
// only in dialogs, its check boxes never.
class EnterClicks : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
            if (enter && modifiers == Qt::NoModifier && !key->isAutoRepeat()) {
                static_cast<QAbstractButton*>(watched)->animateClick();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// Tab enters a group of radio buttons at its checked button, as on the desktop. Qt gives the
// group's one Tab stop to the button that had the focus last (the first at the start), so a
// button checked by a click elsewhere or by the program would not get it.
void MakeTabStop(QRadioButton* checked) {
    for (QRadioButton* radio :
         checked->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
        const Qt::FocusPolicy policy = radio->focusPolicy();
        radio->setFocusPolicy(radio == checked ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                               : Qt::FocusPolicy(policy & ~Qt::TabFocus));
    }
}

// Sets only what changed: every change is an event to a listening screen reader.
void SetName(QWidget* widget, const QString& name) {
    if (widget->accessibleName() != name) {
        widget->setAccessibleName(name);
    }
}

void SetDescription(QWidget* widget, const QString& description) {
    if (widget->accessibleDescription() != description) {
        widget->setAccessibleDescription(description);
    }
}

// "Hours: 08, Minutes: 30" from the filter timer's words.
QString TimeDescription(const TimeEdit* edit) {
    const QString text = edit->text();
    return MessageText(380).trimmed() + QLatin1Char(' ') + text.left(2) + QStringLiteral(", ") +
           MessageText(390).trimmed() + QLatin1Char(' ') + text.mid(3, 2);
}

void NameAddress(IpAddressEdit* edit, const QString& caption) {
    SetName(edit, caption);
    for (int n = 1; n <= 4; ++n) {
        SetName(edit->fields()[static_cast<std::size_t>(n - 1)],
                SpokenTextOf(SpokenText::OctetOf).arg(caption).arg(n));
    }
}

}  // namespace

void Form1::SetUpAccessibility() {
    // A label names the control it stands for; Qt also reports it as the control's label.
    Label_Choose_device->setBuddy(ComboBox_Choose_device);
    Label_Language->setBuddy(ComboBox_Language);
    Label_Wi_Fi_name->setBuddy(ComboBox_Wi_Fi_name);
    Label_type_security->setBuddy(ComboBox_Security_WI_FI);
    Label_Password->setBuddy(Edit_Password);
    Label_Wi_Fi_channel->setBuddy(ComboBox_Wi_Fi_channel);
    Label_IP_Master->setBuddy(IPAddress_IP_Master);
    Label_Gateway->setBuddy(IPAddress_Gateway);
    Label_Number_Slave->setBuddy(ComboBox_Number_Slave);
    Label_IP_Slave->setBuddy(ComboBox_IP_Slave);
    Label_Turn_off_timer->setBuddy(TimeEdit_Timer_after_reacting_any_sensor);
    Label_Timer_night_mode->setBuddy(TimeEdit_Timer_night_mode);
    Label_Timer_party_mode->setBuddy(TimeEdit_Timer_party_mode);

    for (TimeEdit* edit : {TimeEdit_Timer_after_reacting_any_sensor, TimeEdit_Timer_night_mode,
                           TimeEdit_Timer_party_mode}) {
        connect(edit->lineEdit(), &QLineEdit::textChanged, this,
                [edit] { SetDescription(edit, TimeDescription(edit)); });
    }

    for (QRadioButton* radio : findChildren<QRadioButton*>()) {
        if (radio->isChecked()) {
            MakeTabStop(radio);
        }
        connect(radio, &QRadioButton::toggled, this, [radio](bool on) {
            if (on) {
                MakeTabStop(radio);
            }
        });
    }
    auto* enterClicks = new EnterClicks(this);
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (qobject_cast<QPushButton*>(button) != nullptr ||
            qobject_cast<QCheckBox*>(button) != nullptr) {
            button->installEventFilter(enterClicks);
        }
    }

    // The page control switches its pages with Ctrl+Tab only while the focus is on it; these
    // work from anywhere in the window.
    const auto turnPage = [this](int step) {
        const int count = PageControl->count();
        PageControl->setCurrentIndex((PageControl->currentIndex() + step + count) % count);
    };
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [turnPage] { turnPage(1); });
    }
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                     QKeySequence(Qt::CTRL | Qt::Key_PageUp)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [turnPage] { turnPage(-1); });
    }
}

// NOLINTNEXTLINE(readability-make-member-function-const): changes the controls' names
void Form1::ApplyAccessibleTexts() {
    // The radio groups are named by their headings.
    SetName(Panel3, Label_Choose_device->text());
    SetName(Panel1, Label_Choose_device_mode->text());
    SetName(Panel2, Label_Choose_type_of_connection->text());
    SetName(Panel_Direction_Fan_Zorvat, Label_Direction->text());
    SetName(Panel_Direction_Fan_Bix, Label_Direction_Bix->text());

    // The text fields of the editable lists: named like their list.
    SetName(ComboBox_Choose_device->lineEdit(), Label_Choose_device->text());
    SetName(ComboBox_Wi_Fi_name->lineEdit(), Label_Wi_Fi_name->text());

    NameAddress(IPAddress_IP_Master, Label_IP_Master->text());
    NameAddress(IPAddress_Gateway, Label_Gateway->text());
    // The slave's label stands for its DHCP/Static list and its address alike.
    NameAddress(IPAddress_IP_Slave, Label_IP_Slave->text());

    for (TimeEdit* edit : {TimeEdit_Timer_after_reacting_any_sensor, TimeEdit_Timer_night_mode,
                           TimeEdit_Timer_party_mode}) {
        SetDescription(edit, TimeDescription(edit));
    }

    // A slider sets its sensor's threshold; its value is the caption beside it.
    SetName(TrackBar_Humidity_sensor,
            SpokenTextOf(SpokenText::ThresholdOf).arg(CheckBox_Humidity_sensor->text()));
    SetDescription(TrackBar_Humidity_sensor, Label_Humidity_sensor->text());
    SetName(TrackBar_External_sensor2,
            SpokenTextOf(SpokenText::ThresholdOf).arg(CheckBox_External_sensor2->text()));
    SetDescription(TrackBar_External_sensor2, Label_External_sensor2->text());

    // Red: no unit; bright green: one is chosen.
    SetDescription(ComboBox_Choose_device, ComboBoxColor(ComboBox_Choose_device) == ColorRed
                                               ? MessageText(540).trimmed()
                                               : SpokenTextOf(SpokenText::DeviceSelected));
}

}  // namespace quillo::ui
