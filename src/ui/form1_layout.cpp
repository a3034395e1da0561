// The window's controls as data, one row per control, in the order and with the values of the
// design tables; then the code that builds them and binds the handlers.

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "protocol/wire_text.h"
#include "ui/controls.h"
#include "ui/form1.h"
#include "ui/ip_address_edit.h"
#include "ui/time_edit.h"

namespace quillo::ui {
namespace {

enum class Kind {
    Label,         // centred within its box
    GrowingLabel,  // left-aligned, grows to the right with its text
    Panel,
    Button,
    WrappingButton,
    Radio,
    Check,
    DropDownList,
    EditableCombo,
    TextEntry,
    Slider,
    IpAddress,
    TimeEntry,
    PageControl,
    Page,
};

// "Tahoma" at a character height in pixels (11 px is the window's 8 pt default, 12 px is 9 pt).
enum class Font { Default, Bold11, Underlined11, Underlined12, Bold12, BoldUnderlined12 };

enum class Fill { Own, Red };

struct Box {
    int x, y, w, h;
};

constexpr int kNoTab = -1;
constexpr int kAutoSize = -1;

// Fields in the order of the design tables' columns, not packed.
struct ControlRow {  // NOLINT(clang-analyzer-optin.performance.Padding)
    const char* name;
    Kind kind;
    const char* parent;  // nullptr: the window
    Box box;             // at 96 dpi, relative to the parent's client area
    int tab = kNoTab;
    const char* text = "";
    Font font = Font::Default;
    bool visible = true;
    // Defaults by kind.
    const char* items = nullptr;  // '|'-separated
    int itemIndex = -1;
    bool checked = false;
    int maxLength = 0;  // 0: no limit
    int minimum = 0, maximum = 0, position = 0;
    bool enabled = true;
    Fill fill = Fill::Own;
};

// clang-format off
const ControlRow kControls[] = {
    // Top area (parent: the window).
    {.name = "Panel3", .kind = Kind::Panel, .parent = nullptr, .box = {19, 12, 231, 78}, .tab = 3},
    {.name = "Label_Choose_device", .kind = Kind::Label, .parent = "Panel3", .box = {2, 5, 225, 14}, .text = "Select device", .font = Font::BoldUnderlined12},
    {.name = "ComboBox_Choose_device", .kind = Kind::EditableCombo, .parent = "Panel3", .box = {11, 28, 209, 21}, .tab = 0, .text = "   No device", .fill = Fill::Red},
    {.name = "Label_S_N", .kind = Kind::Label, .parent = "Panel3", .box = {11, 55, 24, 14}, .text = "S/N:", .font = Font::Underlined12},
    {.name = "Label_Serial_number", .kind = Kind::GrowingLabel, .parent = "Panel3", .box = {58, 56, kAutoSize, kAutoSize}, .text = "FFFFFFFFFFFFFFFFFFFFFFFF"},
    {.name = "Panel1", .kind = Kind::Panel, .parent = nullptr, .box = {257, 12, 155, 78}, .tab = 1},
    {.name = "Label_Choose_device_mode", .kind = Kind::Label, .parent = "Panel1", .box = {-3, 5, 160, 14}, .text = "Select device mode", .font = Font::BoldUnderlined12},
    {.name = "RadioButton_master", .kind = Kind::Radio, .parent = "Panel1", .box = {13, 30, 68, 17}, .tab = 0, .text = "Master", .checked = true},
    {.name = "RadioButton_slave", .kind = Kind::Radio, .parent = "Panel1", .box = {13, 53, 68, 17}, .tab = 1, .text = "Slave"},
    {.name = "Panel2", .kind = Kind::Panel, .parent = nullptr, .box = {422, 12, 186, 78}, .tab = 2},
    {.name = "Label_Choose_type_of_connection", .kind = Kind::Label, .parent = "Panel2", .box = {4, 5, 179, 14}, .text = "Select connection type", .font = Font::BoldUnderlined12},
    {.name = "RadioButton_without_router", .kind = Kind::Radio, .parent = "Panel2", .box = {14, 29, 171, 17}, .tab = 1, .text = "No Wi-Fi router", .checked = true},
    {.name = "RadioButton_with_router", .kind = Kind::Radio, .parent = "Panel2", .box = {14, 52, 171, 17}, .tab = 0, .text = "With Wi-Fi router"},
    {.name = "Label_Language", .kind = Kind::Label, .parent = nullptr, .box = {629, 17, 60, 14}, .text = "Language", .font = Font::BoldUnderlined12},
    {.name = "ComboBox_Language", .kind = Kind::DropDownList, .parent = nullptr, .box = {632, 51, 55, 21}, .tab = 6, .items = "РУС|ENG|中文|УКР|DEU|DAN|POL|NOR|SWE|FIN", .itemIndex = 1},
    {.name = "Button_Get_current_parameters", .kind = Kind::Button, .parent = nullptr, .box = {119, 109, 222, 25}, .tab = 4, .text = "Receive current parameters", .font = Font::Bold12},
    {.name = "Button_Restore_default_parameters", .kind = Kind::Button, .parent = nullptr, .box = {365, 109, 235, 25}, .tab = 5, .text = "Restore default parameters", .font = Font::Bold12},
    {.name = "PageControl", .kind = Kind::PageControl, .parent = nullptr, .box = {19, 143, 686, 328}, .tab = 0},
    {.name = "Wi_Fi", .kind = Kind::Page, .parent = "PageControl", .box = {}, .text = "Wi-Fi"},
    {.name = "Fan", .kind = Kind::Page, .parent = "PageControl", .box = {}, .text = "Fan"},
    {.name = "Filter", .kind = Kind::Page, .parent = "PageControl", .box = {}, .text = "Filter"},
    {.name = "Information", .kind = Kind::Page, .parent = "PageControl", .box = {}, .text = "Information"},

    // Wi-Fi page.
    {.name = "Panel_Wi_Fi_name", .kind = Kind::Panel, .parent = "Wi_Fi", .box = {22, 17, 386, 66}, .tab = 3, .visible = false},
    {.name = "Button_Search_Wi_Fi", .kind = Kind::WrappingButton, .parent = "Panel_Wi_Fi_name", .box = {20, 23, 82, 31}, .tab = 0, .text = "Search WI-FI"},
    {.name = "Label_Wi_Fi_name", .kind = Kind::Label, .parent = "Panel_Wi_Fi_name", .box = {129, 9, 250, 13}, .text = "Name of Wi-Fi (1 - 32 characters)"},
    {.name = "ComboBox_Wi_Fi_name", .kind = Kind::EditableCombo, .parent = "Panel_Wi_Fi_name", .box = {128, 28, 252, 21}, .tab = 1, .maxLength = 32},
    {.name = "Panel_Password", .kind = Kind::Panel, .parent = "Wi_Fi", .box = {22, 98, 386, 63}, .tab = 2},
    {.name = "Label_type_security", .kind = Kind::Label, .parent = "Panel_Password", .box = {7, 9, 110, 13}, .text = "Type of security"},
    {.name = "ComboBox_Security_WI_FI", .kind = Kind::DropDownList, .parent = "Panel_Password", .box = {7, 29, 110, 21}, .tab = 0, .items = "OPEN|WPA_PSK|WPA2_PSK|WPA_WPA2_PSK", .itemIndex = 3},
    {.name = "Label_Password", .kind = Kind::Label, .parent = "Panel_Password", .box = {130, 9, 248, 13}, .text = "New Wi-Fi password (8-60 characters)"},
    {.name = "Edit_Password", .kind = Kind::TextEntry, .parent = "Panel_Password", .box = {128, 29, 252, 21}, .tab = 1, .maxLength = 60},
    {.name = "Panel_Master_State_connection", .kind = Kind::Panel, .parent = "Wi_Fi", .box = {490, 17, 165, 32}, .tab = 8, .text = "Master Disconnected", .visible = false, .fill = Fill::Red},
    {.name = "Panel_Wi_Fi_State_connection", .kind = Kind::Panel, .parent = "Wi_Fi", .box = {490, 51, 165, 32}, .tab = 7, .text = "Wi-Fi Disconnected", .visible = false, .fill = Fill::Red},
    {.name = "Panel_Wi_Fi_channel", .kind = Kind::Panel, .parent = "Wi_Fi", .box = {575, 98, 80, 63}, .tab = 4},
    {.name = "Label_Wi_Fi_channel", .kind = Kind::Label, .parent = "Panel_Wi_Fi_channel", .box = {0, 9, 81, 13}, .text = "Wi-Fi channel"},
    {.name = "ComboBox_Wi_Fi_channel", .kind = Kind::DropDownList, .parent = "Panel_Wi_Fi_channel", .box = {13, 29, 55, 21}, .tab = 0, .items = "1|2|3|4|5|6|7|8|9|10|11|12|13", .itemIndex = 10},
    {.name = "Panel_IP_Master", .kind = Kind::Panel, .parent = "Wi_Fi", .box = {490, 98, 165, 108}, .tab = 5, .visible = false},
    {.name = "Label_IP_Master", .kind = Kind::Label, .parent = "Panel_IP_Master", .box = {1, 9, 161, 13}, .text = "MASTER IP address"},
    {.name = "IPAddress_IP_Master", .kind = Kind::IpAddress, .parent = "Panel_IP_Master", .box = {8, 29, 150, 21}, .tab = 0, .text = "192.168.0.2"},
    {.name = "Label_Gateway", .kind = Kind::Label, .parent = "Panel_IP_Master", .box = {4, 59, 161, 13}, .text = "Default Gateway"},
    {.name = "IPAddress_Gateway", .kind = Kind::IpAddress, .parent = "Panel_IP_Master", .box = {8, 78, 150, 21}, .tab = 1, .text = "192.168.0.1"},
    {.name = "Panel_Number_of_slave", .kind = Kind::Panel, .parent = "Wi_Fi", .box = {22, 177, 131, 63}, .tab = 6, .visible = false},
    {.name = "Label_Number_Slave", .kind = Kind::Label, .parent = "Panel_Number_of_slave", .box = {6, 10, 122, 13}, .text = "SLAVE number"},
    {.name = "ComboBox_Number_Slave", .kind = Kind::DropDownList, .parent = "Panel_Number_of_slave", .box = {39, 29, 54, 21}, .tab = 0, .items = "1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21|22|23|24|25|26|27|28|29|30|31|32", .itemIndex = 0},
    {.name = "Panel_IP_Slave", .kind = Kind::Panel, .parent = "Wi_Fi", .box = {173, 177, 235, 63}, .tab = 0, .visible = false},
    {.name = "Label_IP_Slave", .kind = Kind::Label, .parent = "Panel_IP_Slave", .box = {48, 10, 137, 13}, .text = "SLAVE IP address"},
    {.name = "ComboBox_IP_Slave", .kind = Kind::DropDownList, .parent = "Panel_IP_Slave", .box = {9, 29, 54, 21}, .tab = 0, .items = "DHCP|Static", .itemIndex = 0},
    {.name = "IPAddress_IP_Slave", .kind = Kind::IpAddress, .parent = "Panel_IP_Slave", .box = {79, 29, 150, 21}, .tab = 1, .text = "192.168.0.3", .enabled = false},
    {.name = "Button_Apply_Save_Wi_Fi", .kind = Kind::Button, .parent = "Wi_Fi", .box = {287, 266, 100, 25}, .tab = 1, .text = "Apply / Save", .font = Font::Bold11},

    // Fan page.
    {.name = "CheckBox_Available_OFF_device", .kind = Kind::Check, .parent = "Fan", .box = {101, 39, 169, 17}, .tab = 0, .text = "Available OFF device", .checked = true},
    {.name = "Panel_Direction_Fan_Zorvat", .kind = Kind::Panel, .parent = "Fan", .box = {385, 26, 179, 44}, .tab = 10},
    {.name = "Label_Direction", .kind = Kind::Label, .parent = "Panel_Direction_Fan_Zorvat", .box = {13, 3, 155, 14}, .text = "Direction", .font = Font::Underlined12},
    {.name = "RadioButton_Supply", .kind = Kind::Radio, .parent = "Panel_Direction_Fan_Zorvat", .box = {19, 22, 59, 17}, .tab = 0, .text = "Supply", .checked = true},
    {.name = "RadioButton_Exhaust", .kind = Kind::Radio, .parent = "Panel_Direction_Fan_Zorvat", .box = {96, 23, 70, 17}, .tab = 1, .text = "Exhaust"},
    {.name = "Panel_Direction_Fan_Bix", .kind = Kind::Panel, .parent = "Fan", .box = {298, 14, 266, 68}, .tab = 11, .visible = false},
    {.name = "Label_Direction_Bix", .kind = Kind::Label, .parent = "Panel_Direction_Fan_Bix", .box = {20, 3, 225, 14}, .text = "Humidity control scenario:", .font = Font::Underlined12},
    {.name = "RadioButton_Exhaust_Bix", .kind = Kind::Radio, .parent = "Panel_Direction_Fan_Bix", .box = {9, 23, 248, 17}, .tab = 0, .text = "Boost and switch to exhaust mode", .checked = true},
    {.name = "RadioButton_Supply_Exhaust_Bix", .kind = Kind::Radio, .parent = "Panel_Direction_Fan_Bix", .box = {9, 46, 248, 17}, .tab = 1, .text = "Boost in current mode"},
    {.name = "Label_Turn_off_timer", .kind = Kind::Label, .parent = "Fan", .box = {78, 99, 170, 13}, .text = "Turn-off delay timer"},
    {.name = "TimeEdit_Timer_after_reacting_any_sensor", .kind = Kind::TimeEntry, .parent = "Fan", .box = {101, 121, 121, 21}, .tab = 3, .text = "00:00"},
    {.name = "Label_Timer_night_mode", .kind = Kind::Label, .parent = "Fan", .box = {264, 100, 139, 13}, .text = "Night mode timer"},
    {.name = "TimeEdit_Timer_night_mode", .kind = Kind::TimeEntry, .parent = "Fan", .box = {273, 121, 121, 21}, .tab = 4, .text = "00:00"},
    {.name = "Label_Timer_party_mode", .kind = Kind::Label, .parent = "Fan", .box = {430, 99, 148, 13}, .text = "Party mode timer"},
    {.name = "TimeEdit_Timer_party_mode", .kind = Kind::TimeEntry, .parent = "Fan", .box = {443, 121, 121, 21}, .tab = 5, .text = "00:00"},
    {.name = "CheckBox_Humidity_sensor", .kind = Kind::Check, .parent = "Fan", .box = {162, 164, 126, 17}, .tab = 6, .text = "Humidity sensor", .checked = true},
    {.name = "TrackBar_Humidity_sensor", .kind = Kind::Slider, .parent = "Fan", .box = {294, 161, 171, 28}, .tab = 2, .minimum = 8, .maximum = 16, .position = 14},
    {.name = "Label_Humidity_sensor", .kind = Kind::GrowingLabel, .parent = "Fan", .box = {471, 168, kAutoSize, kAutoSize}, .text = "70 %RH"},
    {.name = "CheckBox_External_sensor1", .kind = Kind::Check, .parent = "Fan", .box = {162, 194, 143, 17}, .tab = 7, .text = "Relay sensor", .checked = true},
    {.name = "CheckBox_External_sensor2", .kind = Kind::Check, .parent = "Fan", .box = {162, 222, 121, 17}, .tab = 9, .text = "0-10 V sensor", .checked = true},
    {.name = "TrackBar_External_sensor2", .kind = Kind::Slider, .parent = "Fan", .box = {292, 221, 171, 35}, .tab = 8, .minimum = 1, .maximum = 20, .position = 10},
    {.name = "Label_External_sensor2", .kind = Kind::GrowingLabel, .parent = "Fan", .box = {474, 226, kAutoSize, kAutoSize}, .text = "50 %"},
    {.name = "Button_Apply_Save_Fan", .kind = Kind::Button, .parent = "Fan", .box = {287, 266, 100, 25}, .tab = 1, .text = "Apply / Save", .font = Font::Bold11},

    // Filter page.
    {.name = "Label_Timer_filter", .kind = Kind::Label, .parent = "Filter", .box = {192, 123, 273, 13}, .text = "Days: 00    Hours: 00    Minutes: 00    Sesonds: 00"},
    {.name = "Button_Reset_filter_timer", .kind = Kind::Button, .parent = "Filter", .box = {252, 168, 151, 25}, .tab = 0, .text = "Reset the filter timer"},

    // Information page.
    {.name = "Label_Versio_of_program", .kind = Kind::Label, .parent = "Information", .box = {241, 109, 176, 13}, .text = "Version: 1.0.0.0"},
    {.name = "Label_Create_By", .kind = Kind::Label, .parent = "Information", .box = {198, 141, 264, 13}},
    {.name = "Label_User_Manual", .kind = Kind::Label, .parent = "Information", .box = {241, 173, 176, 13}, .text = "User Manual", .font = Font::Underlined11, .visible = false},
};
// clang-format on

QFont FontOf(Font font) {
    QFont result(QStringLiteral("Tahoma"));
    result.setPixelSize(
        font == Font::Underlined12 || font == Font::Bold12 || font == Font::BoldUnderlined12 ? 12
                                                                                             : 11);
    result.setBold(font == Font::Bold11 || font == Font::Bold12 || font == Font::BoldUnderlined12);
    result.setUnderline(font == Font::Underlined11 || font == Font::Underlined12 ||
                        font == Font::BoldUnderlined12);
    return result;
}

QWidget* Create(const ControlRow& row, QWidget* parent) {
    const QString text = QString::fromUtf8(row.text);
    const QStringList items =
        row.items != nullptr ? QString::fromUtf8(row.items).split('|') : QStringList();
    switch (row.kind) {
        case Kind::Label:
        case Kind::GrowingLabel: {
            auto* label = row.kind == Kind::Label && QLatin1String(row.name) == "Label_User_Manual"
                              ? new ClickLabel(text, parent)
                          : row.kind == Kind::Label ? new CaptionLabel(text, parent)
                                                    : new QLabel(text, parent);
            label->setAlignment(row.kind == Kind::Label ? Qt::AlignHCenter | Qt::AlignTop
                                                        : Qt::AlignLeft | Qt::AlignTop);
            // Several labels show text from the unit: never read markup into it.
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case Kind::Panel: {
            auto* panel = new Panel(parent);
            panel->setCaption(text);
            return panel;
        }
        case Kind::Button:
            return new CaptionButton(text, parent);
        case Kind::WrappingButton:
            return new WrappingButton(text, parent);
        case Kind::Radio: {
            auto* radio = new CaptionRadioButton(text, parent);
            radio->setChecked(row.checked);
            return radio;
        }
        case Kind::Check: {
            auto* check = new CaptionCheckBox(text, parent);
            check->setChecked(row.checked);
            return check;
        }
        case Kind::DropDownList:
        case Kind::EditableCombo: {
            auto* box = new QComboBox(parent);
            box->addItems(items);
            box->setCurrentIndex(row.itemIndex);
            if (row.kind == Kind::EditableCombo) {
                box->setEditable(true);
                // Typing never adds items; only the program fills the list.
                box->setInsertPolicy(QComboBox::NoInsert);
                box->setEditText(text);
                if (row.maxLength > 0) {
                    box->lineEdit()->setMaxLength(row.maxLength);
                }
            }
            return box;
        }
        case Kind::TextEntry: {
            auto* edit = new QLineEdit(text, parent);
            if (row.maxLength > 0) {
                edit->setMaxLength(row.maxLength);
            }
            return edit;
        }
        case Kind::Slider: {
            auto* slider = new Slider(parent);
            slider->setRange(row.minimum, row.maximum);
            slider->setValue(row.position);
            slider->setPageStep(1);
            slider->setTickPosition(QSlider::TicksBelow);
            slider->setTickInterval(1);
            // Both captions show the position in steps of 5 (%RH, %).
            slider->setShownFactor(5);
            return slider;
        }
        case Kind::IpAddress: {
            auto* address = new IpAddressEdit(parent);
            address->setText(text);
            return address;
        }
        case Kind::TimeEntry: {
            auto* time = new TimeEdit(parent);
            time->setText(text);
            return time;
        }
        case Kind::PageControl:
            return new QTabWidget(parent);
        case Kind::Page: {
            auto* page = new QWidget;
            qobject_cast<QTabWidget*>(parent)->addTab(page, text);
            return page;
        }
    }
    return nullptr;
}

// The widgets that take focus, in the order Tab visits them: within each parent by the design
// tab numbers, containers entered where their own number puts them.
void CollectFocusChain(const QString& parent, const QHash<QString, QWidget*>& widgets,
                       std::vector<QWidget*>& chain) {
    std::vector<const ControlRow*> rows;
    for (const ControlRow& row : kControls) {
        if (QString::fromUtf8(row.parent != nullptr ? row.parent : "") == parent) {
            rows.push_back(&row);
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ControlRow* a, const ControlRow* b) { return a->tab < b->tab; });
    for (const ControlRow* row : rows) {
        QWidget* widget = widgets.value(QString::fromUtf8(row->name));
        if (row->kind == Kind::IpAddress) {
            // The entry itself first: Tab arriving at it goes on to its first field (its focus
            // proxy); left anywhere else, it would take Tab there from wherever it stood.
            chain.push_back(widget);
            for (QWidget* field : static_cast<IpAddressEdit*>(widget)->fields()) {
                chain.push_back(field);
            }
        } else if (row->kind == Kind::Panel || row->kind == Kind::Page) {
            CollectFocusChain(QString::fromUtf8(row->name), widgets, chain);
        } else if (row->kind == Kind::PageControl) {
            chain.push_back(widget);  // its tab bar
            CollectFocusChain(QString::fromUtf8(row->name), widgets, chain);
        } else if (row->tab != kNoTab) {
            chain.push_back(widget);
        }
    }
}

template <typename T>
void Bind(T*& member, const QHash<QString, QWidget*>& widgets, const char* name) {
    member = qobject_cast<T*>(widgets.value(QString::fromUtf8(name)));
    Q_ASSERT_X(member != nullptr, "Form1", name);
}

}  // namespace

#define QUILLO_BIND(member) Bind(member, widgets, #member)

void Form1::BuildControls() {
    QHash<QString, QWidget*> widgets;
    for (const ControlRow& row : kControls) {
        QWidget* parent = row.parent != nullptr ? widgets.value(QString::fromUtf8(row.parent))
                                                : static_cast<QWidget*>(this);
        Q_ASSERT_X(parent != nullptr, "Form1", row.name);
        QWidget* widget = Create(row, parent);
        widget->setObjectName(QString::fromUtf8(row.name));
        widgets.insert(widget->objectName(), widget);
        if (row.kind == Kind::Page) {
            continue;  // placed by the page control
        }
        // Most controls have the design font, which they take from the program's font already;
        // setting it on each of them again costs more than half of building the controls.
        const QFont font = FontOf(row.font);
        if (widget->font() != font) {
            widget->setFont(font);
        }
        if (row.box.w == kAutoSize) {
            // Grows to the right with its text: the box reaches the parent's right edge.
            const int height = widget->fontMetrics().height();
            widget->setGeometry(row.box.x, row.box.y, parent->width() - row.box.x, height);
        } else {
            widget->setGeometry(row.box.x, row.box.y, row.box.w, row.box.h);
        }
        widget->setEnabled(row.enabled);
        widget->setVisible(row.visible);
        if (row.fill == Fill::Red) {
            if (auto* panel = qobject_cast<Panel*>(widget)) {
                panel->setColor(ColorRed);
            } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
                SetComboBoxColor(box, ColorRed);
            }
        }
    }

    QUILLO_BIND(Panel3);
    QUILLO_BIND(Label_Choose_device);
    QUILLO_BIND(ComboBox_Choose_device);
    QUILLO_BIND(Label_S_N);
    QUILLO_BIND(Label_Serial_number);
    QUILLO_BIND(Panel1);
    QUILLO_BIND(Label_Choose_device_mode);
    QUILLO_BIND(RadioButton_master);
    QUILLO_BIND(RadioButton_slave);
    QUILLO_BIND(Panel2);
    QUILLO_BIND(Label_Choose_type_of_connection);
    QUILLO_BIND(RadioButton_without_router);
    QUILLO_BIND(RadioButton_with_router);
    QUILLO_BIND(Label_Language);
    QUILLO_BIND(ComboBox_Language);
    QUILLO_BIND(Button_Get_current_parameters);
    QUILLO_BIND(Button_Restore_default_parameters);
    QUILLO_BIND(PageControl);
    QUILLO_BIND(Wi_Fi);
    QUILLO_BIND(Fan);
    QUILLO_BIND(Filter);
    QUILLO_BIND(Information);
    QUILLO_BIND(Panel_Wi_Fi_name);
    QUILLO_BIND(Button_Search_Wi_Fi);
    QUILLO_BIND(Label_Wi_Fi_name);
    QUILLO_BIND(ComboBox_Wi_Fi_name);
    QUILLO_BIND(Panel_Password);
    QUILLO_BIND(Label_type_security);
    QUILLO_BIND(ComboBox_Security_WI_FI);
    QUILLO_BIND(Label_Password);
    QUILLO_BIND(Edit_Password);
    QUILLO_BIND(Panel_Master_State_connection);
    QUILLO_BIND(Panel_Wi_Fi_State_connection);
    QUILLO_BIND(Panel_Wi_Fi_channel);
    QUILLO_BIND(Label_Wi_Fi_channel);
    QUILLO_BIND(ComboBox_Wi_Fi_channel);
    QUILLO_BIND(Panel_IP_Master);
    QUILLO_BIND(Label_IP_Master);
    QUILLO_BIND(IPAddress_IP_Master);
    QUILLO_BIND(Label_Gateway);
    QUILLO_BIND(IPAddress_Gateway);
    QUILLO_BIND(Panel_Number_of_slave);
    QUILLO_BIND(Label_Number_Slave);
    QUILLO_BIND(ComboBox_Number_Slave);
    QUILLO_BIND(Panel_IP_Slave);
    QUILLO_BIND(Label_IP_Slave);
    QUILLO_BIND(ComboBox_IP_Slave);
    QUILLO_BIND(IPAddress_IP_Slave);
    QUILLO_BIND(Button_Apply_Save_Wi_Fi);
    QUILLO_BIND(CheckBox_Available_OFF_device);
    QUILLO_BIND(Panel_Direction_Fan_Zorvat);
    QUILLO_BIND(Label_Direction);
    QUILLO_BIND(RadioButton_Supply);
    QUILLO_BIND(RadioButton_Exhaust);
    QUILLO_BIND(Panel_Direction_Fan_Bix);
    QUILLO_BIND(Label_Direction_Bix);
    QUILLO_BIND(RadioButton_Exhaust_Bix);
    QUILLO_BIND(RadioButton_Supply_Exhaust_Bix);
    QUILLO_BIND(Label_Turn_off_timer);
    QUILLO_BIND(TimeEdit_Timer_after_reacting_any_sensor);
    QUILLO_BIND(Label_Timer_night_mode);
    QUILLO_BIND(TimeEdit_Timer_night_mode);
    QUILLO_BIND(Label_Timer_party_mode);
    QUILLO_BIND(TimeEdit_Timer_party_mode);
    QUILLO_BIND(CheckBox_Humidity_sensor);
    QUILLO_BIND(TrackBar_Humidity_sensor);
    QUILLO_BIND(Label_Humidity_sensor);
    QUILLO_BIND(CheckBox_External_sensor1);
    QUILLO_BIND(CheckBox_External_sensor2);
    QUILLO_BIND(TrackBar_External_sensor2);
    QUILLO_BIND(Label_External_sensor2);
    QUILLO_BIND(Button_Apply_Save_Fan);
    QUILLO_BIND(Label_Timer_filter);
    QUILLO_BIND(Button_Reset_filter_timer);
    QUILLO_BIND(Label_Versio_of_program);
    QUILLO_BIND(Label_Create_By);
    QUILLO_BIND(Label_User_Manual);

    // A Wi-Fi name may take 32 bytes on the air, whatever its characters.
    new ByteLimitValidator(
        ComboBox_Wi_Fi_name->lineEdit(), protocol::kMaxWiFiNameBytes, [this](const QString& text) {
            return protocol::wifiNameBytes(text.toStdU16String(), WiFiNameReadAs(text)).size();
        });

    PageControl->setCurrentWidget(Wi_Fi);
    Label_User_Manual->setCursor(Qt::PointingHandCursor);

    std::vector<QWidget*> chain;
    CollectFocusChain(QString(), widgets, chain);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }

    // The non-visual components. Precise timers: Qt's default coarse ones may fire up to 5 %
    // early, and the poll, the AT repeat and the closing sequence must never come early.
    const auto makeTimer = [this](const char* name, int intervalMs) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(name));
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(intervalMs);
        return timer;
    };
    Timer1 = makeTimer("Timer1", 2000);
    Timer2 = makeTimer("Timer2", 1500);
    Timer3 = makeTimer("Timer3", 1000);
    Timer3->start();
}

#undef QUILLO_BIND

void Form1::BindHandlers() {
    // Radio buttons: a button becoming checked raises its click handler once its partner is
    // already unchecked; clicking the checked button raises nothing (toggled(true) is emitted
    // exactly then, for the user and for the program alike).
    const auto onChecked = [this](QRadioButton* button, void (Form1::*handler)()) {
        connect(button, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on) {
                (this->*handler)();
            }
        });
    };
    onChecked(RadioButton_master, &Form1::RadioButton_masterClick);
    onChecked(RadioButton_slave, &Form1::RadioButton_slaveClick);
    onChecked(RadioButton_without_router, &Form1::RadioButton_without_routerClick);
    onChecked(RadioButton_with_router, &Form1::RadioButton_with_routerClick);

    // Lists: only the user's pick (activated) raises a handler; an index set by the program
    // raises nothing.
    connect(ComboBox_Choose_device, &QComboBox::activated, this,
            &Form1::ComboBox_Choose_deviceClick);
    ChooseItemsByTyping(ComboBox_Choose_device, [this] { ComboBox_Choose_deviceClick(); });
    connect(ComboBox_Language, &QComboBox::activated, this, &Form1::ComboBox_LanguageChange);
    connect(ComboBox_Security_WI_FI, &QComboBox::activated, this,
            &Form1::ComboBox_Security_WI_FIChange);
    connect(ComboBox_IP_Slave, &QComboBox::activated, this, &Form1::ComboBox_IP_SlaveChange);

    connect(IPAddress_IP_Master, &IpAddressEdit::keyUp, this, &Form1::IPAddress_IP_MasterKeyUp);
    connect(TrackBar_Humidity_sensor, &Slider::changed, this,
            &Form1::TrackBar_Humidity_sensorChange);
    connect(TrackBar_External_sensor2, &Slider::changed, this,
            &Form1::TrackBar_External_sensor2Change);

    connect(Button_Get_current_parameters, &QPushButton::clicked, this,
            &Form1::Button_Get_current_parametersClick);
    connect(Button_Restore_default_parameters, &QPushButton::clicked, this,
            &Form1::Button_Restore_default_parametersClick);
    connect(Button_Apply_Save_Wi_Fi, &QPushButton::clicked, this,
            &Form1::Button_Apply_Save_Wi_FiClick);
    connect(Button_Apply_Save_Fan, &QPushButton::clicked, this, &Form1::Button_Apply_Save_FanClick);
    connect(Button_Reset_filter_timer, &QPushButton::clicked, this,
            &Form1::Button_Reset_filter_timerClick);
    connect(Button_Search_Wi_Fi, &QPushButton::clicked, this, &Form1::Button_Search_Wi_FiClick);
    connect(Label_User_Manual, &ClickLabel::clicked, this, &Form1::Label_User_ManualClick);

    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2Timer);
    connect(Timer3, &QTimer::timeout, this, &Form1::Timer3Timer);
}

}  // namespace quillo::ui
