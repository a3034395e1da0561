#pragma once

// Small adaptations of Qt widgets to the event rules the window's handlers rely on.

#include <QCheckBox>
#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QString>
#include <QValidator>
#include <cstddef>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QTimer;

namespace quillo::ui {

// The program's two state colours.
inline const QColor ColorRed{255, 0, 0};
inline const QColor ColorBrightGreen{0, 255, 0};

// A panel: groups the controls on it, may show a centred caption and paints its own
// background.
class Panel : public QFrame {
    Q_OBJECT

public:
    explicit Panel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    QColor color() const;
    void setColor(const QColor& color);
    // The width the caption may take.
    int captionWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

// A slider whose changed() follows the rules the handlers expect: from code only when the
// (limited) position really changes; from the user on every step, also at the ends where the
// position stays, and at the end of a drag.
class Slider : public QSlider {
    Q_OBJECT

public:
    explicit Slider(QWidget* parent = nullptr);

    // The figure the window shows beside the slider is its position times this factor (what a
    // screen reader reports as its value).
    int shownFactor() const { return shownFactor_; }
    void setShownFactor(int factor) { shownFactor_ = factor; }

signals:
    void changed();

private:
    bool userStep_ = false;
    int shownFactor_ = 1;
};

// A label that reports a click.
class ClickLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The control's font made smaller, a pixel at a time down to 8 px, until `text` fits `width`:
// several languages' captions are longer than the design's boxes. Text that still does not fit
// is cut as before.
QFont FittingFont(const QFont& font, const QString& text, int width);

// Captioned controls that paint their caption with FittingFont.
class CaptionLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
    // The width the caption may take.
    int captionWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class CaptionButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;
    // The width the caption may take.
    int captionWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class CaptionRadioButton : public QRadioButton {
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;
    // The width the caption may take.
    int captionWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class CaptionCheckBox : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;
    // The width the caption may take.
    int captionWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A push button whose caption wraps onto more lines when it does not fit.
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;
    // The place the wrapped caption may take.
    QRect captionArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// How a captioned control above (or a panel) draws its caption: the pixel size FittingFont
// chose, and whether the text fits its place at that size (false: it is cut). std::nullopt for
// any other control.
struct CaptionFit {
    int pixelSize = 0;
    bool fits = true;
    int available = 0;  // the width (a wrapping caption: the height) the caption may take
    int needed = 0;     // the width (height) it takes at the control's own font
};
std::optional<CaptionFit> FitOfCaption(const QWidget* control);

// The background of an editable combo box's text area (what the device selector shows red or
// bright green).
void SetComboBoxColor(QComboBox* box, const QColor& color);
QColor ComboBoxColor(const QComboBox* box);

// Typing into an editable combo box chooses the first item that begins with the text typed so
// far (letter case ignored) and fills in the rest of its text, selected; when that changes the
// chosen item it counts as the user's pick and runs `onPick`. Text that begins no item only
// changes the text; erasing never fills in.
void ChooseItemsByTyping(QComboBox* box, std::function<void()> onPick);

// Limits a line edit's text by the number of bytes it goes out as, not by its characters. An
// edit that would pass the limit is refused; one that shortens a text already beyond it (put
// there by the program) is let through, so that such a text can still be erased.
class ByteLimitValidator : public QValidator {
public:
    using ByteLength = std::function<std::size_t(const QString&)>;
    // Installs itself on `edit`, which owns it.
    ByteLimitValidator(QLineEdit* edit, std::size_t maxBytes, ByteLength byteLength);

    State validate(QString& input, int& pos) const override;

private:
    std::size_t maxBytes_;
    ByteLength byteLength_;
    std::size_t currentBytes_ = 0;  // of the text the edit holds
    qsizetype currentLength_ = 0;   // its characters
};

// Enables a timer without restarting one that already runs; disabling stops it.
void SetTimerEnabled(QTimer* timer, bool enabled);

}  // namespace quillo::ui
