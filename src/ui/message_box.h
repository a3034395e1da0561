#pragma once

#include <QString>

class QWidget;

namespace quillo::ui {

// The program's modal boxes: one text and one button (OK, or Close for the error about a
// missing style). They return when the user has closed the box.
//
// Test hook: with QUILLO_MESSAGE_BOXES=stderr in the environment no box appears; the text is
// written to stderr as one line "message box: <text>" and the call returns as if the user had
// pressed the button. Only the tests that start the program as a process set it.
void ShowMessage(QWidget* parent, const QString& text);
void ShowError(QWidget* parent, const QString& text);
// An error box whose one button reads Close.
void ShowCloseError(QWidget* parent, const QString& text);

}  // namespace quillo::ui
