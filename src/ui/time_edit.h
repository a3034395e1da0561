#pragma once

#include <QAbstractSpinBox>
#include <QString>

namespace quillo::ui {

// A 24-hour time entry whose text is always five characters "HH:MM". Typing overwrites the digit
// at the caret when it is allowed there; Up/Down and the up/down button step the field at the
// caret (hours at positions 0 to 2, minutes after), wrapping without carrying into the other
// field. Backspace and Delete are ignored, so no character can ever go missing.
class TimeEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit TimeEdit(QWidget* parent = nullptr);

    QString text() const;
    // Takes any text of the form DD:DD (the program writes the unit's values as they come);
    // anything else is refused and the old text stays.
    void setText(const QString& text);

    void stepBy(int steps) override;

    // The text field, for the caret and the selection.
    using QAbstractSpinBox::lineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    // Puts `digit` at position `at` and moves the caret to `caretAfter`.
    void overwrite(int at, QChar digit, int caretAfter);
};

// The stepping rules on the two-digit field `field` ("00".."23" or "00".."59").
QString StepTimeField(const QString& field, bool up, int wrapTop);

}  // namespace quillo::ui
