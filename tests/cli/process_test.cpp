// quilloctl as a real process: help and version, Ctrl-C during a scan, and the rule that the
// window and quilloctl never use the units at once. Each test has its own runtime directory,
// where the locks live.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <memory>

#include "platform/instance_lock.h"
#include "platform/program_names.h"

namespace quillo::cli {
namespace {

constexpr int kWaitMs = 20000;

class Process : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        qputenv("XDG_RUNTIME_DIR", home_.path().toUtf8());
    }
    void TearDown() override {
        for (auto& process : processes_) {
            process->kill();
            process->waitForFinished(kWaitMs);
        }
    }

    QProcess& Start(const QString& program, const QStringList& arguments,
                    const QString& simulate = QStringLiteral("solvi")) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", home_.path());
        environment.insert("XDG_CONFIG_HOME", home_.path() + "/config");
        environment.insert("QUILLO_SIMULATE", simulate);
        environment.insert("QUILLO_TRACE", TracePath());
        process->setProcessEnvironment(environment);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(kWaitMs));
        processes_.push_back(std::move(process));
        return *processes_.back();
    }
    QProcess& Quilloctl(const QStringList& arguments) {
        return Start(QStringLiteral(QUILLOCTL_PATH), arguments);
    }
    static int Finish(QProcess& process) {
        EXPECT_TRUE(process.waitForFinished(kWaitMs));
        return process.exitCode();
    }

    QString TracePath() const { return home_.filePath(QStringLiteral("trace.txt")); }
    QStringList Trace(const QString& direction) const {
        QFile file(TracePath());
        QStringList lines;
        if (file.open(QIODevice::ReadOnly)) {
            for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
                if (line.section(' ', 1, 1) == direction) {
                    lines << line.section(' ', 3);
                }
            }
        }
        return lines;
    }

    // Waits until `done` holds, letting time pass.
    static bool WaitFor(const std::function<bool()>& done) {
        const QDeadlineTimer deadline(kWaitMs);
        while (!done() && !deadline.hasExpired()) {
            QThread::msleep(10);
        }
        return done();
    }

    QTemporaryDir home_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(Process, HelpVersionAndUsage) {
    QProcess& help = Quilloctl({"--help"});
    EXPECT_EQ(Finish(help), 0);
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (const char* part :
         {"list [--json]", "show [--json]", "set KEY=VALUE...", "backup FILE",
          "restore FILE [--all]", "scan [--json]", "reset-filter", "factory-reset [--yes]",
          "monitor [--json] [--count N]", "--device N", "--serial S", "--path P", "--timeout MS",
          "Exit status:", "  5  the Quillo Config window", "QUILLO_TRACE"}) {
        EXPECT_TRUE(text.contains(part)) << part;
    }
    for (const QStringList& arguments :
         {QStringList{"help", "set"}, QStringList{"set", "--help"}}) {
        QProcess& set = Quilloctl(arguments);
        EXPECT_EQ(Finish(set), 0);
        const QString setHelp = QString::fromUtf8(set.readAllStandardOutput());
        EXPECT_TRUE(setHelp.startsWith("Usage: quilloctl [unit] set KEY=VALUE..."));
        EXPECT_TRUE(setHelp.contains("  night-timer           Night mode timer\n"));
        EXPECT_TRUE(setHelp.contains("  direction             Direction (Solvi)\n"));
        EXPECT_TRUE(
            setHelp.contains("  humidity-scenario     Humidity control scenario (Pargo)\n"));
    }
    QProcess& version = Quilloctl({"--version"});
    EXPECT_EQ(Finish(version), 0);
    EXPECT_TRUE(version.readAllStandardOutput().startsWith("quilloctl 1."));
    QProcess& nothing = Quilloctl({});
    EXPECT_EQ(Finish(nothing), 1);
    QProcess& unknown = Quilloctl({"--frobnicate"});
    EXPECT_EQ(Finish(unknown), 1);
    EXPECT_TRUE(unknown.readAllStandardError().contains("Unknown option 'frobnicate'"));
}

TEST_F(Process, CtrlCDuringAScanStillSendsTheClosingSequence) {
    QProcess& scan = Quilloctl({"scan"});
    // The first network line has arrived: the unit is passing through to its module.
    ASSERT_TRUE(WaitFor([this] {
        for (const QString& line : Trace("in")) {
            if (line.startsWith("01 04 ")) {
                return true;
            }
        }
        return false;
    }));
    ::kill(static_cast<pid_t>(scan.processId()), SIGINT);
    EXPECT_EQ(Finish(scan), 130);
    const QStringList out = Trace("out");
    ASSERT_GE(out.size(), 3);
    EXPECT_TRUE(out[out.size() - 3].startsWith("01 04 01 00 "))
        << out[out.size() - 3].toStdString();
    EXPECT_TRUE(out[out.size() - 2].startsWith("01 03 01 00 "));
    EXPECT_TRUE(out[out.size() - 1].startsWith("01 03 01 01 "));
}

TEST_F(Process, QuilloctlAndTheWindowNeverUseTheUnitsAtOnce) {
    // While quilloctl runs, it holds the window's lock: the window ends at start-up as a
    // second copy does, and another quilloctl refuses.
    QProcess& monitor = Quilloctl({"monitor"});
    ASSERT_TRUE(monitor.waitForReadyRead(kWaitMs));
    EXPECT_TRUE(platform::NamedObjectExists(platform::kUnitProgramName));
    QProcess& window = Start(QStringLiteral(QUILLO_PROGRAM_PATH), {});
    EXPECT_EQ(Finish(window), 0);
    QProcess& second = Quilloctl({"list"});
    EXPECT_EQ(Finish(second), 5);
    EXPECT_EQ(second.readAllStandardError(),
              "The Quillo Config window or another quilloctl is using the units; close it and "
              "try again.\n");
    ::kill(static_cast<pid_t>(monitor.processId()), SIGINT);
    EXPECT_EQ(Finish(monitor), 0);
    EXPECT_FALSE(platform::NamedObjectExists(platform::kUnitProgramName));

    // While the window runs, quilloctl refuses.
    Start(QStringLiteral(QUILLO_PROGRAM_PATH), {});
    ASSERT_TRUE(WaitFor([] { return platform::NamedObjectExists(platform::kUnitProgramName); }));
    QProcess& refused = Quilloctl({"show"});
    EXPECT_EQ(Finish(refused), 5);
    EXPECT_TRUE(refused.readAllStandardOutput().isEmpty());
}

TEST_F(Process, TheServiceToolKeepsQuilloctlAway) {
    ASSERT_EQ(platform::CreateNamedObject(platform::kServiceToolName),
              platform::CreateResult::Created);
    QProcess& list = Quilloctl({"list"});
    EXPECT_EQ(Finish(list), 5);
    EXPECT_EQ(list.readAllStandardError(), "Please close \"Service Aldrun Quillo\"\n");
}

}  // namespace
}  // namespace quillo::cli
