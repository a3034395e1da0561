#include "ui/ip_address_edit.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace quillo::ui {

IpAddressEdit::IpAddressEdit(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(0);
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), this);
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            auto* dot = new QLabel(".", this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("octet%1").arg(i + 1));
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(3);
        field->setValidator(digits);
        field->setText("0");
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { fieldEdited(i); });
        layout->addWidget(field, 1);
        fields_[i] = field;
    }
    setFocusProxy(fields_[0]);
    setFocusPolicy(Qt::StrongFocus);
    applyColours();
}

std::uint32_t IpAddressEdit::address() const {
    std::uint32_t value = 0;
    for (int octet : octets_) {
        value = (value << 8) | static_cast<std::uint32_t>(octet);
    }
    return value;
}

int IpAddressEdit::octet(int n) const {
    return octets_.at(static_cast<std::size_t>(n - 1));
}

void IpAddressEdit::setOctet(int n, int value) {
    const auto index = static_cast<std::size_t>(n - 1);
    value = std::clamp(value, 0, 255);
    if (octets_.at(index) == value) {
        return;
    }
    octets_[index] = value;
    fields_[index]->setText(QString::number(value));
}

void IpAddressEdit::setText(const QString& dotted) {
    const QString trimmed = dotted.trimmed();
    // Cut at the first three dots: a fourth part keeps any further dots and so reads as 0.
    QStringList parts;
    qsizetype start = 0;
    for (int i = 0; i < 3; ++i) {
        const qsizetype dot = trimmed.indexOf('.', start);
        if (dot < 0) {
            break;
        }
        parts << trimmed.mid(start, dot - start);
        start = dot + 1;
    }
    parts << trimmed.mid(start);
    for (int n = 1; n <= 4; ++n) {
        bool ok = false;
        const int value = n <= parts.size() ? parts[n - 1].toInt(&ok) : 0;
        setOctet(n, ok ? value : 0);
    }
}

QString IpAddressEdit::text() const {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(octets_[0])
        .arg(octets_[1])
        .arg(octets_[2])
        .arg(octets_[3]);
}

void IpAddressEdit::fieldEdited(int index) {
    QLineEdit* field = fields_[static_cast<std::size_t>(index)];
    const int typed = field->text().toInt();
    // Like the system's own entry: too large a number is cut to 255 while typing.
    if (typed > 255) {
        field->setText("255");
    }
    octets_[static_cast<std::size_t>(index)] = std::min(typed, 255);
    if (field->text().size() == 3 && index < 3 && field->cursorPosition() == 3) {
        fields_[static_cast<std::size_t>(index) + 1]->setFocus(Qt::TabFocusReason);
    }
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    const auto it = std::find(fields_.begin(), fields_.end(), watched);
    if (it == fields_.end()) {
        return QFrame::eventFilter(watched, event);
    }
    const auto index = static_cast<std::size_t>(it - fields_.begin());
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A dot finishes the field, as in the system's entry.
        if (key->text() == "." && index < 3) {
            fields_[index + 1]->setFocus(Qt::TabFocusReason);
            fields_[index + 1]->selectAll();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        update();
    } else if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab && !key->isAutoRepeat()) {
            emit keyUp();
        }
    }
    return QFrame::eventFilter(watched, event);
}

void IpAddressEdit::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const bool focused = std::any_of(fields_.begin(), fields_.end(),
                                     [](const QLineEdit* field) { return field->hasFocus(); });
    if (focused) {
        QPainter painter(this);
        painter.setPen(QApplication::palette(this).color(QPalette::Active, QPalette::Highlight));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void IpAddressEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        applyColours();
    }
    QFrame::changeEvent(event);
}

// Enabled: window background and text; disabled: button face with button-shadow text.
void IpAddressEdit::applyColours() {
    QPalette colours = QApplication::palette(this);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor background =
        isEnabled() ? colours.color(group, QPalette::Base) : colours.color(group, QPalette::Button);
    const QColor text =
        isEnabled() ? colours.color(group, QPalette::Text) : colours.color(group, QPalette::Dark);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(g, QPalette::Window, background);
        colours.setColor(g, QPalette::Base, background);
        colours.setColor(g, QPalette::Text, text);
        colours.setColor(g, QPalette::WindowText, text);
    }
    setPalette(colours);
}

}  // namespace quillo::ui
