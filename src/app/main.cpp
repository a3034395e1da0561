// Program entry. Takes no arguments and always ends with exit code 0.
//
// Screenshot hook: with QUILLO_SCREENSHOT=<file.png> in the environment the program grabs its
// window into that file once it has been shown, then ends. scripts/screenshot and the start-up
// tests use it; nothing else does.

#include <QApplication>
#include <QTimer>

#include "hid/backend_choice.h"
#include "ui/form1.h"
#include "ui/windows10_style.h"

namespace {

void GrabWhenShown(quillo::ui::Form1& form, const QString& file) {
    // After the first paint has gone through the event loop.
    QTimer::singleShot(300, &form, [&form, file] {
        form.grab().save(file, "PNG");
        QApplication::quit();
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Aldrun Quillo"));
    // Keys typed into a list less than 500 ms apart search together.
    QApplication::setKeyboardInputInterval(500);
    quillo::ui::ApplyProgramFonts();
    quillo::ui::ApplyVisualStyle(QStringLiteral("Windows10"));

    // The simulated units when QUILLO_SIMULATE names them, else the system's HID layer.
    quillo::ui::Form1 form(quillo::hid::ChooseBackend());
    if (form.FormCreate() == quillo::ui::Form1::StartUp::End) {
        return 0;
    }
    form.ShowCentred();
    const QString screenshot = qEnvironmentVariable("QUILLO_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        GrabWhenShown(form, screenshot);
    }
    QApplication::exec();
    return 0;
}
