#include "ui/windows10_style.h"

#include "ui/message_box.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPen>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QStyleOptionComboBox>

namespace quillo::ui {
namespace {

// A flat look over Fusion: plain fills and one-pixel borders, the system's light greys and
// accent blue. It leaves palette colours alone, so the program's red and green show as set.
class Windows10Style : public QProxyStyle {
public:
    Windows10Style() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {
        setObjectName(QStringLiteral("Windows10"));
    }

    void polish(QPalette& palette) override {
        QProxyStyle::polish(palette);
        const QColor face(240, 240, 240);
        palette.setColor(QPalette::Window, face);
        palette.setColor(QPalette::Button, QColor(225, 225, 225));
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::black);
        palette.setColor(QPalette::Text, Qt::black);
        palette.setColor(QPalette::ButtonText, Qt::black);
        palette.setColor(QPalette::Highlight, QColor(0, 120, 215));
        palette.setColor(QPalette::Dark, QColor(160, 160, 160));
        palette.setColor(QPalette::Mid, QColor(173, 173, 173));
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(109, 109, 109));
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(109, 109, 109));
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(131, 131, 131));
    }

    // Narrow drop-down arrows and margins, so that the short lists of the design show their
    // whole text (Fusion's own leave "WPA_WPA2_PSK" and "DHCP" cut).
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        if (control == CC_ComboBox && (part == SC_ComboBoxArrow || part == SC_ComboBoxEditField)) {
            constexpr int kArrowWidth = 14;
            const QRect frame = option->rect;
            const QRect arrow(frame.right() - kArrowWidth, frame.top() + 1, kArrowWidth,
                              frame.height() - 2);
            if (part == SC_ComboBoxArrow) {
                return visualRect(option->direction, frame, arrow);
            }
            const QRect field(frame.left() + 2, frame.top() + 2, arrow.left() - frame.left() - 3,
                              frame.height() - 4);
            return visualRect(option->direction, frame, field);
        }
        return QProxyStyle::subControlRect(control, option, part, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_PanelButtonCommand || element == PE_PanelButtonBevel) {
            const bool hover = (option->state & State_MouseOver) && (option->state & State_Enabled);
            const bool down = option->state & (State_Sunken | State_On);
            QColor fill = option->palette.color(QPalette::Button);
            QColor border(173, 173, 173);
            if (down) {
                fill = QColor(204, 228, 247);
                border = QColor(0, 84, 153);
            } else if (hover) {
                fill = QColor(229, 241, 251);
                border = QColor(0, 120, 215);
            }
            painter->save();
            painter->setPen(border);
            painter->setBrush(fill);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
            if (KeyboardFocus(option)) {
                DrawFocusBorder(painter, option->rect);
            }
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    // A list that cannot be typed into shows no focus under Fusion: it gets the buttons' mark.
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control == CC_ComboBox && KeyboardFocus(option)) {
            const auto* box = qstyleoption_cast<const QStyleOptionComboBox*>(option);
            if (box != nullptr && !box->editable) {
                DrawFocusBorder(painter, option->rect);
            }
        }
    }

private:
    // The focus is marked once the keyboard has moved it, as on the desktop, not after a click.
    static bool KeyboardFocus(const QStyleOption* option) {
        return (option->state & State_HasFocus) && (option->state & State_KeyboardFocusChange) &&
               (option->state & State_Enabled);
    }

    // The accent colour, two pixels wide, inside the control's edge.
    static void DrawFocusBorder(QPainter* painter, const QRect& rect) {
        painter->save();
        painter->setPen(QPen(QColor(0, 120, 215), 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->drawRect(rect.adjusted(1, 1, -2, -2));
        painter->restore();
    }
};

}  // namespace

bool ApplyVisualStyle(const QString& name) {
    if (name.compare(QLatin1String("Windows10"), Qt::CaseInsensitive) == 0) {
        QApplication::setStyle(new Windows10Style);
        return true;
    }
    ShowCloseError(nullptr, QStringLiteral("Style '%1' not found").arg(name));
    return false;
}

void ApplyProgramFonts() {
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        // Liberation Sans keeps Tahoma's widths closely and covers Latin and Cyrillic; the CJK
        // fonts fill in the Chinese texts.
        QFont::insertSubstitutions(
            QStringLiteral("Tahoma"),
            {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
             QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    }
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    QApplication::setFont(font);
}

}  // namespace quillo::ui
