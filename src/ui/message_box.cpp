#include "ui/message_box.h"

#include <QMessageBox>
#include <cstdio>

namespace quillo::ui {
namespace {

bool BoxesGoToStderr() {
    return qEnvironmentVariable("QUILLO_MESSAGE_BOXES") == "stderr";
}

void Show(QWidget* parent, const QString& text, QMessageBox::Icon icon,
          QMessageBox::StandardButton button) {
    if (BoxesGoToStderr()) {
        std::fprintf(stderr, "message box: %s\n", text.toUtf8().constData());
        std::fflush(stderr);
        return;
    }
    QMessageBox box(icon, QStringLiteral("Aldrun Quillo"), text, button, parent);
    box.exec();
}

}  // namespace

void ShowMessage(QWidget* parent, const QString& text) {
    Show(parent, text, QMessageBox::NoIcon, QMessageBox::Ok);
}

void ShowError(QWidget* parent, const QString& text) {
    Show(parent, text, QMessageBox::Critical, QMessageBox::Ok);
}

void ShowCloseError(QWidget* parent, const QString& text) {
    Show(parent, text, QMessageBox::Critical, QMessageBox::Close);
}

}  // namespace quillo::ui
