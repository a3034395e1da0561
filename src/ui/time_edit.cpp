#include "ui/time_edit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace quillo::ui {
namespace {

bool IsTimeShape(const QString& text) {
    static const QRegularExpression shape(QStringLiteral("^\\d\\d:\\d\\d$"));
    return shape.match(text).hasMatch();
}

bool InRange(QChar c, char low, char high) {
    return c >= QChar(low) && c <= QChar(high);
}

}  // namespace

QString StepTimeField(const QString& field, bool up, int wrapTop) {
    QString top = QString::number(wrapTop);
    QChar tens = field[0];
    QChar units = field[1];
    if (up) {
        if (field == top) {
            return QStringLiteral("00");
        }
        if (units == '9') {
            units = '0';
            tens = QChar(tens.unicode() + 1);
        } else {
            units = QChar(units.unicode() + 1);
        }
    } else {
        if (field == QLatin1String("00")) {
            return top;
        }
        if (units == '0') {
            units = '9';
            tens = QChar(tens.unicode() - 1);
        } else {
            units = QChar(units.unicode() - 1);
        }
    }
    return QString(tens) + units;
}

TimeEdit::TimeEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    lineEdit()->setText(QStringLiteral("00:00"));
}

QString TimeEdit::text() const {
    return lineEdit()->text();
}

void TimeEdit::setText(const QString& text) {
    if (!IsTimeShape(text)) {
        return;
    }
    const int caret = lineEdit()->cursorPosition();
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(caret);
}

void TimeEdit::stepBy(int steps) {
    if (steps == 0) {
        return;
    }
    const bool up = steps > 0;
    const int caret = lineEdit()->cursorPosition();
    QString text = this->text();
    if (caret <= 2) {
        text.replace(0, 2, StepTimeField(text.mid(0, 2), up, 23));
    } else {
        text.replace(3, 2, StepTimeField(text.mid(3, 2), up, 59));
    }
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(caret);
}

void TimeEdit::overwrite(int at, QChar digit, int caretAfter) {
    QString text = this->text();
    text[at] = digit;
    lineEdit()->setText(text);
    lineEdit()->setCursorPosition(caretAfter);
}

void TimeEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
            stepBy(event->key() == Qt::Key_Up ? 1 : -1);
            event->accept();
            return;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            QAbstractSpinBox::keyPressEvent(event);
            return;
        default:
            break;
    }
    // Shortcuts that would cut, paste or undo could break the HH:MM form: copying and
    // selecting are harmless and stay.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    event->accept();
    const QString typed = event->text();
    if (typed.size() != 1 || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        return;  // Backspace, Delete and all other keys are ignored
    }
    const QChar c = typed[0];
    QLineEdit* edit = lineEdit();
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    edit->deselect();
    switch (caret) {
        case 0:
            if (InRange(c, '0', '2')) {
                overwrite(0, c, 1);
            }
            break;
        case 1:
            if (InRange(c, '0', '9')) {
                overwrite(1, c, 2);
            }
            break;
        case 2:
            // The colon is skipped: a minute digit goes into the next place, anything else
            // only moves the caret past the colon.
            if (InRange(c, '0', '5')) {
                overwrite(3, c, 4);
            } else {
                edit->setCursorPosition(3);
            }
            break;
        case 3:
            if (InRange(c, '0', '5')) {
                overwrite(3, c, 4);
            }
            break;
        case 4:
            if (InRange(c, '0', '9')) {
                overwrite(4, c, 5);
            }
            break;
        default:
            break;  // nothing can be typed beyond the fifth character
    }
}

void TimeEdit::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

QAbstractSpinBox::StepEnabled TimeEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State TimeEdit::validate(QString& input, int& /*pos*/) const {
    return IsTimeShape(input) ? QValidator::Acceptable : QValidator::Invalid;
}

}  // namespace quillo::ui
