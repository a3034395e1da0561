#include "ui/controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>
#include <memory>
#include <utility>

namespace quillo::ui {

Panel::Panel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAutoFillBackground(true);
}

void Panel::setCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        update();
    }
}

QColor Panel::color() const {
    return palette().color(QPalette::Window);
}

void Panel::setColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
}

void Panel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!caption_.isEmpty()) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(FittingFont(font(), caption_, contentsRect().width() - 4));
        painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
    }
}

Slider::Slider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // A user step: apply the new position ourselves and report once, whether it moved or not.
    // The slider's own setValue() that follows then finds nothing to change.
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int /*action*/) {
        userStep_ = true;
        setValue(sliderPosition());
        userStep_ = false;
        emit changed();
    });
    connect(this, &QAbstractSlider::valueChanged, this, [this](int /*value*/) {
        if (!userStep_) {
            emit changed();
        }
    });
    connect(this, &QAbstractSlider::sliderReleased, this, &Slider::changed);
}

QFont FittingFont(const QFont& font, const QString& text, int width) {
    constexpr int kSmallest = 8;
    QFont fitting = font;
    int size = font.pixelSize();
    while (size > kSmallest && QFontMetrics(fitting).horizontalAdvance(text) > width) {
        fitting.setPixelSize(--size);
    }
    return fitting;
}

void CaptionLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setFont(FittingFont(font(), text(), area.width()));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(area, static_cast<int>(alignment()), text());
}

namespace {

// Paints a button-like control through the style with its caption's font fitted to the place
// the style gives the caption.
void PaintFitted(QWidget* button, QStyleOptionButton& option, QStyle::ControlElement element,
                 QStyle::SubElement contents) {
    QStylePainter painter(button);
    const QRect area = button->style()->subElementRect(contents, &option, button);
    // The style keeps a margin inside a push button's contents.
    const int margin = element == QStyle::CE_PushButton ? 6 : 0;
    const QFont fitting = FittingFont(button->font(), option.text, area.width() - margin);
    painter.setFont(fitting);
    option.fontMetrics = QFontMetrics(fitting);
    painter.drawControl(element, option);
}

}  // namespace

void CaptionButton::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionButton option;
    initStyleOption(&option);
    PaintFitted(this, option, QStyle::CE_PushButton, QStyle::SE_PushButtonContents);
}

void CaptionRadioButton::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionButton option;
    initStyleOption(&option);
    PaintFitted(this, option, QStyle::CE_RadioButton, QStyle::SE_RadioButtonContents);
}

void CaptionCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionButton option;
    initStyleOption(&option);
    PaintFitted(this, option, QStyle::CE_CheckBox, QStyle::SE_CheckBoxContents);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

void WrappingButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text());
}

void SetComboBoxColor(QComboBox* box, const QColor& color) {
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, color);
    box->setPalette(colours);
    if (QLineEdit* edit = box->lineEdit()) {
        edit->setPalette(colours);
    }
}

QColor ComboBoxColor(const QComboBox* box) {
    return box->palette().color(QPalette::Base);
}

void SetTimerEnabled(QTimer* timer, bool enabled) {
    if (!enabled) {
        timer->stop();
    } else if (!timer->isActive()) {
        timer->start();
    }
}

void ChooseItemsByTyping(QComboBox* box, std::function<void()> onPick) {
    box->setCompleter(nullptr);  // the filling in below replaces Qt's own
    QLineEdit* edit = box->lineEdit();
    auto typedBefore = std::make_shared<QString>();
    QObject::connect(edit, &QLineEdit::textEdited, box,
                     [box, edit, typedBefore, onPick = std::move(onPick)](const QString& text) {
                         // Only typing that adds to the text fills in; erasing must stay possible.
                         const bool erasing = text.size() <= typedBefore->size() &&
                                              typedBefore->startsWith(text, Qt::CaseInsensitive);
                         *typedBefore = text;
                         if (text.isEmpty() || erasing) {
                             return;
                         }
                         for (int i = 0; i < box->count(); ++i) {
                             const QString item = box->itemText(i);
                             if (!item.startsWith(text, Qt::CaseInsensitive)) {
                                 continue;
                             }
                             const bool changed = i != box->currentIndex();
                             box->setCurrentIndex(i);
                             edit->setText(item);
                             edit->setSelection(static_cast<int>(text.size()),
                                                static_cast<int>(item.size() - text.size()));
                             if (changed) {
                                 onPick();
                             }
                             return;
                         }
                     });
}

}  // namespace quillo::ui
