// Starts the built program as real processes on the offscreen platform, each test with its own
// runtime and configuration directories, and watches how it ends.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "lang/message_table.h"
#include "platform/instance_lock.h"

namespace quillo::app {
namespace {

constexpr int kWaitMs = 20000;

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        // This process tests and takes the locks in the same place as the program.
        qputenv("XDG_RUNTIME_DIR", home_.path().toUtf8());
    }

    void TearDown() override {
        for (auto& process : running_) {
            process->kill();
            process->waitForFinished(kWaitMs);
        }
    }

    // The program with its environment; QUILLO_SCREENSHOT makes a shown window leave a picture
    // and end, so "no picture" means "no window".
    std::unique_ptr<QProcess> Program(const QString& screenshot = QString()) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", home_.path());
        environment.insert("XDG_CONFIG_HOME", home_.path() + "/config");
        environment.insert("LC_ALL", locale_);
        environment.insert("LANG", locale_);
        environment.insert("QUILLO_MESSAGE_BOXES", "stderr");
        if (!screenshot.isEmpty()) {
            environment.insert("QUILLO_SCREENSHOT", screenshot);
        }
        if (!simulate_.isNull()) {
            environment.insert("QUILLO_SIMULATE", simulate_);
        }
        process->setProcessEnvironment(environment);
        process->setProgram(QStringLiteral(QUILLO_PROGRAM_PATH));
        return process;
    }

    // Starts a copy that keeps running, and returns once it holds the instance lock.
    QProcess* StartRunningCopy() {
        running_.push_back(Program());
        QProcess* copy = running_.back().get();
        copy->start();
        EXPECT_TRUE(copy->waitForStarted(kWaitMs));
        QDeadlineTimer deadline(kWaitMs);
        while (!platform::NamedObjectExists("User_program_Tessmark_Ombrel") &&
               !deadline.hasExpired() && copy->state() == QProcess::Running) {
            QThread::msleep(20);
        }
        EXPECT_TRUE(platform::NamedObjectExists("User_program_Tessmark_Ombrel"));
        return copy;
    }

    struct Outcome {
        bool finished = false;
        int exitCode = -1;
        QString messages;  // what the message boxes said
        bool windowShown = false;
    };

    Outcome RunToEnd() {
        const QString picture = home_.path() + "/window.png";
        QFile::remove(picture);
        auto process = Program(picture);
        process->start();
        Outcome outcome;
        outcome.finished = process->waitForFinished(kWaitMs);
        outcome.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
        outcome.messages = QString::fromUtf8(process->readAllStandardError());
        outcome.windowShown = QFile::exists(picture);
        if (!outcome.finished) {
            process->kill();
            process->waitForFinished(kWaitMs);
        }
        return outcome;
    }

    static QString EnglishMessage(int id) {
        lang::LanguageIndex = 1;
        return lang::MessageText(id);
    }

    QTemporaryDir home_;
    QString locale_ = QStringLiteral("en_US.UTF-8");
    QString simulate_;  // null: as this process has it
    std::vector<std::unique_ptr<QProcess>> running_;
};

TEST_F(StartUp, AloneItShowsTheWindowAndEndsWithZero) {
    const Outcome outcome = RunToEnd();
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.windowShown);
    EXPECT_EQ(QImage(home_.path() + "/window.png").size(), QSize(728, 488));
    EXPECT_FALSE(outcome.messages.contains("message box:")) << outcome.messages.toStdString();
}

TEST_F(StartUp, UnknownSimulationOptionEndsWithAClearMessage) {
    simulate_ = QStringLiteral("solvi:delay=150,pargo:bogus");
    const Outcome outcome = RunToEnd();
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_FALSE(outcome.windowShown);
    EXPECT_TRUE(outcome.messages.contains("QUILLO_SIMULATE: unknown option 'bogus' for pargo"))
        << outcome.messages.toStdString();
}

TEST_F(StartUp, SecondCopyEndsAtOnceWithoutWindow) {
    QProcess* first = StartRunningCopy();
    const Outcome second = RunToEnd();
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_FALSE(second.windowShown);
    EXPECT_FALSE(second.messages.contains("message box:")) << second.messages.toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);
}

TEST_F(StartUp, ServiceToolGivesTheMessageAndNoWindow) {
    ASSERT_EQ(platform::CreateNamedObject("Service_program_Tessmark_Ombrel"),
              platform::CreateResult::Created);
    const Outcome outcome = RunToEnd();
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_FALSE(outcome.windowShown);
    EXPECT_TRUE(outcome.messages.contains("message box: " + EnglishMessage(590)))
        << outcome.messages.toStdString();
    // It never took the instance lock.
    EXPECT_FALSE(platform::NamedObjectExists("User_program_Tessmark_Ombrel"));
}

// The language is chosen first, so the message speaks the user's language.
TEST_F(StartUp, ServiceToolMessageIsInTheStartupLanguage) {
    locale_ = QStringLiteral("de_DE.UTF-8");
    ASSERT_EQ(platform::CreateNamedObject("Service_program_Tessmark_Ombrel"),
              platform::CreateResult::Created);
    const Outcome outcome = RunToEnd();
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.messages.contains(
        QString::fromUtf8("message box: Bitte \"Service Aldrun Quillo\" schließen")))
        << outcome.messages.toStdString();
}

TEST_F(StartUp, RunningCopyIsTestedBeforeTheServiceTool) {
    StartRunningCopy();
    ASSERT_EQ(platform::CreateNamedObject("Service_program_Tessmark_Ombrel"),
              platform::CreateResult::Created);
    const Outcome outcome = RunToEnd();
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_FALSE(outcome.windowShown);
    EXPECT_FALSE(outcome.messages.contains("message box:")) << outcome.messages.toStdString();
}

TEST_F(StartUp, KilledCopyLeavesNoLockBehind) {
    QProcess* first = StartRunningCopy();
    first->kill();  // SIGKILL: nothing of its own runs at the end
    ASSERT_TRUE(first->waitForFinished(kWaitMs));
    const Outcome next = RunToEnd();
    ASSERT_TRUE(next.finished);
    EXPECT_EQ(next.exitCode, 0);
    EXPECT_TRUE(next.windowShown);
}

}  // namespace
}  // namespace quillo::app

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
