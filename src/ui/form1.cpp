#include "ui/form1.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>

namespace quillo::ui {

Form1::Form1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Aldrun Quillo"));
    setFixedSize(728, 488);
    BuildControls();
    BindHandlers();
}

Form1::~Form1() = default;

void Form1::ShowCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
}

bool Form1::PageShowing(const QWidget* page) const {
    return isVisible() && PageControl->currentWidget() == page;
}

}  // namespace quillo::ui
