#include "ui/controls.h"

#include <QAccessible>
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
        // A state panel reads as its caption: a screen reader hears the new state.
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
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

int Panel::captionWidth() const {
    return contentsRect().width() - 4;
}

void Panel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (!caption_.isEmpty()) {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(FittingFont(font(), caption_, captionWidth()));
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

int CaptionLabel::captionWidth() const {
    return contentsRect().width();
}

void CaptionLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setFont(FittingFont(font(), text(), captionWidth()));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(area, static_cast<int>(alignment()), text());
}

namespace {

// The width the style leaves a button-like control's caption.
int ButtonCaptionWidth(const QWidget* button, const QStyleOptionButton& option,
                       QStyle::SubElement contents) {
    const QRect area = button->style()->subElementRect(contents, &option, button);
    // The style keeps a margin inside a push button's contents.
    const int margin = contents == QStyle::SE_PushButtonContents ? 6 : 0;
    return area.width() - margin;
}

// Paints a button-like control through the style with its caption's font fitted to the place
// the style gives the caption.
void PaintFitted(QWidget* button, QStyleOptionButton& option, QStyle::ControlElement element,
                 int captionWidth) {
    QStylePainter painter(button);
    const QFont fitting = FittingFont(button->font(), option.text, captionWidth);
    painter.setFont(fitting);
    option.fontMetrics = QFontMetrics(fitting);
    painter.drawControl(element, option);
}

}  // namespace

int CaptionButton::captionWidth() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return ButtonCaptionWidth(this, option, QStyle::SE_PushButtonContents);
}

void CaptionButton::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionButton option;
    initStyleOption(&option);
    PaintFitted(this, option, QStyle::CE_PushButton, captionWidth());
}

int CaptionRadioButton::captionWidth() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return ButtonCaptionWidth(this, option, QStyle::SE_RadioButtonContents);
}

void CaptionRadioButton::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionButton option;
    initStyleOption(&option);
    PaintFitted(this, option, QStyle::CE_RadioButton, captionWidth());
}

int CaptionCheckBox::captionWidth() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return ButtonCaptionWidth(this, option, QStyle::SE_CheckBoxContents);
}

void CaptionCheckBox::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionButton option;
    initStyleOption(&option);
    PaintFitted(this, option, QStyle::CE_CheckBox, captionWidth());
}

std::optional<CaptionFit> FitOfCaption(const QWidget* control) {
    const auto fitOneLine = [control](const QString& text, int width) {
        const QFont fitting = FittingFont(control->font(), text, width);
        return CaptionFit{fitting.pixelSize(),
                          QFontMetrics(fitting).horizontalAdvance(text) <= width, width,
                          QFontMetrics(control->font()).horizontalAdvance(text)};
    };
    if (const auto* label = qobject_cast<const CaptionLabel*>(control)) {
        return fitOneLine(label->text(), label->captionWidth());
    }
    if (const auto* panel = qobject_cast<const Panel*>(control)) {
        return fitOneLine(panel->caption(), panel->captionWidth());
    }
    if (const auto* button = qobject_cast<const CaptionButton*>(control)) {
        return fitOneLine(button->text(), button->captionWidth());
    }
    if (const auto* radio = qobject_cast<const CaptionRadioButton*>(control)) {
        return fitOneLine(radio->text(), radio->captionWidth());
    }
    if (const auto* check = qobject_cast<const CaptionCheckBox*>(control)) {
        return fitOneLine(check->text(), check->captionWidth());
    }
    if (const auto* wrapping = qobject_cast<const WrappingButton*>(control)) {
        const QRect area = wrapping->captionArea();
        const QFontMetrics metrics(wrapping->font());
        const QRect needed =
            metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, wrapping->text());
        return CaptionFit{wrapping->font().pixelSize(),
                          needed.width() <= area.width() && needed.height() <= area.height(),
                          area.height(), needed.height()};
    }
    return std::nullopt;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

QRect WrappingButton::captionArea() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

void WrappingButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = captionArea();
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

ByteLimitValidator::ByteLimitValidator(QLineEdit* edit, std::size_t maxBytes, ByteLength byteLength)
    : QValidator(edit), maxBytes_(maxBytes), byteLength_(std::move(byteLength)) {
    currentBytes_ = byteLength_(edit->text());
    currentLength_ = edit->text().size();
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        currentBytes_ = byteLength_(text);
        currentLength_ = text.size();
    });
    edit->setValidator(this);
}

QValidator::State ByteLimitValidator::validate(QString& input, int& /*pos*/) const {
    const std::size_t bytes = byteLength_(input);
    if (bytes <= maxBytes_) {
        return Acceptable;
    }
    // Over the limit: an edit that makes the text shorter, in bytes or in characters, is taken
    // (a name read as 32 bytes that are not UTF-8 takes more as typed text, yet must be
    // editable); one that makes it longer is refused.
    return bytes < currentBytes_ || input.size() < currentLength_ ? Intermediate : Invalid;
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
