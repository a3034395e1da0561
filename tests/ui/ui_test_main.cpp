// The window's tests run on the offscreen platform, each process with its own configuration
// and runtime directories, so the language store and the instance locks never touch the
// user's own.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "ui/windows10_style.h"

int main(int argc, char* argv[]) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    qputenv("LC_ALL", "en_US.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    // Keys typed into a list less than 500 ms apart search together.
    QApplication::setKeyboardInputInterval(500);
    quillo::ui::ApplyProgramFonts();
    quillo::ui::ApplyVisualStyle(QStringLiteral("Windows10"));
    return RUN_ALL_TESTS();
}
