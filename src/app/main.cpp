// Program entry. Reads no arguments and always ends with exit code 0.
//
// Screenshot hook: with QUILLO_SCREENSHOT=<file.png> in the environment the program grabs its
// window into that file once it has been shown, then ends. With QUILLO_SCREENSHOT_PAGES set as
// well it first receives the chosen unit's parameters, then grabs every page into
// <file>-wifi.png, <file>-fan.png, <file>-filter.png and <file>-information.png.
// scripts/screenshot and the start-up tests use it; nothing else does.

#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include "backend_choice/backend_choice.h"
#include "ui/form1.h"
#include "ui/windows10_style.h"

namespace {

// Shows page `index`, lets a status poll answer arrive, grabs it, and goes on with the next.
// Last comes the Wi-Fi page as for a slave with router, which shows the name and both state
// panels (clicked in the window only; nothing is sent).
void GrabPages(quillo::ui::Form1& form, const QString& file, int index) {
    static const char* const kPageNames[] = {"wifi", "fan", "filter", "information", "wifi-slave"};
    const int pages = form.PageControl->count();
    if (index > pages) {
        QApplication::quit();
        return;
    }
    if (index == pages) {
        form.PageControl->setCurrentIndex(0);
        form.RadioButton_slave->click();
        form.RadioButton_with_router->click();
    } else {
        form.PageControl->setCurrentIndex(index);
    }
    QTimer::singleShot(1200, &form, [&form, file, index] {
        QString name = file;
        name.replace(QStringLiteral(".png"), QStringLiteral("-%1.png").arg(kPageNames[index]));
        form.grab().save(name, "PNG");
        GrabPages(form, file, index + 1);
    });
}

void GrabWhenShown(quillo::ui::Form1& form, const QString& file) {
    // After the first paint and the first device change have gone through the event loop.
    QTimer::singleShot(300, &form, [&form, file] {
        if (!qEnvironmentVariableIsSet("QUILLO_SCREENSHOT_PAGES")) {
            form.grab().save(file, "PNG");
            QApplication::quit();
            return;
        }
        if (form.CurrentDevice != nullptr) {
            form.Button_Get_current_parametersClick();
        }
        GrabPages(form, file, 0);
    });
}

// The program's icon in every size the build rendered into the resource.
QIcon ProgramIcon() {
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), QDir::Dirs);
    while (sizes.hasNext()) {
        icon.addFile(sizes.next() + QStringLiteral("/quillo-config.png"));
    }
    return icon;
}

}  // namespace

int main(int argc, char* argv[]) {
    // The command line is not read: Qt gets the program name alone, so options of its own such
    // as -stylesheet or -reverse cannot change the window. Its environment variables still work.
    static char programName[] = "quillo-config";
    char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : programName, nullptr};
    int qtArgc = 1;
    QApplication application(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Aldrun Quillo"));
    // Task bars find the menu entry's icon and group the windows by these two.
    QApplication::setDesktopFileName(QStringLiteral("com.aldrun.QuilloConfig"));
    QApplication::setWindowIcon(ProgramIcon());
    // Keys typed into a list less than 500 ms apart search together.
    QApplication::setKeyboardInputInterval(500);
    quillo::ui::ApplyProgramFonts();
    quillo::ui::ApplyVisualStyle(QStringLiteral("Windows10"));

    // The simulated units when QUILLO_SIMULATE names them, else the system's HID layer.
    quillo::ui::Form1 form(quillo::backend_choice::ChooseBackend());
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
