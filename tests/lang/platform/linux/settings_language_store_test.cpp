#include "lang/platform/linux/settings_language_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

#include "lang/language_selection.h"
#include "lang/message_catalogue.h"

namespace quillo::lang::platform {
namespace {

using Status = StoredLanguage::Status;

class SettingsLanguageStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(config_.isValid()); }

    QString folder() const { return config_.path() + QStringLiteral("/Aldrun Quillo"); }
    QString file() const { return folder() + QStringLiteral("/User Program.conf"); }

    static void writeFile(const QString& path, const QByteArray& content) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(out.write(content), content.size());
    }

private:
    QTemporaryDir config_;
};

TEST_F(SettingsLanguageStoreTest, LoadCreatesAnEmptyFile) {
    SettingsLanguageStore store(file());
    EXPECT_EQ(store.load().status, Status::Absent);
    EXPECT_TRUE(QFileInfo(file()).isFile());
    EXPECT_EQ(QFileInfo(file()).size(), 0);
}

TEST_F(SettingsLanguageStoreTest, SavedChoiceIsLoadedAgain) {
    SettingsLanguageStore store(file());
    ASSERT_TRUE(store.save(4));
    StoredLanguage loaded = SettingsLanguageStore(file()).load();
    EXPECT_EQ(loaded.status, Status::Present);
    EXPECT_EQ(loaded.value, 4U);
    // Stored under its own name, readable by any INI reader of the same format.
    EXPECT_EQ(QSettings(file(), QSettings::IniFormat).value("Number of language").toString(),
              QStringLiteral("4"));

    ASSERT_TRUE(store.save(0));
    loaded = store.load();
    EXPECT_EQ(loaded.status, Status::Present);
    EXPECT_EQ(loaded.value, 0U);
}

TEST_F(SettingsLanguageStoreTest, BadStoredDataKeepsTheLocaleLanguage) {
    struct Case {
        const char* content;
        Status status;
    };
    const Case cases[] = {
        {"[General]\nNumber%20of%20language=abc\n", Status::Unreadable},
        {"[General]\nNumber%20of%20language=\n", Status::Unreadable},
        {"[General]\nNumber%20of%20language=-1\n", Status::Unreadable},
        {"[General]\nNumber%20of%20language=4294967296\n", Status::Unreadable},
        {"[General]\nNumber%20of%20language=0x3\n", Status::Unreadable},
        {"[General]\nNumber%20of%20language=@ByteArray(3)\n", Status::Unreadable},
        {"[General]\nNumber%20of%20language=1, 2\n", Status::Unreadable},
        {"[General]\nNumber%20of%20language=42\n", Status::Present},
        {"[General]\nNumber%20of%20language=4294967295\n", Status::Present},
        {"[General]\nother=3\n", Status::Absent},
        {"\x01\x02\xff\xfe[[[\n==\n", Status::Absent},
    };
    for (const auto& [content, status] : cases) {
        SCOPED_TRACE(content);
        // A file of its own per case: QSettings caches files within the process.
        const QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/User Program.conf");
        writeFile(path, content);
        SettingsLanguageStore store(path);
        EXPECT_EQ(store.load().status, status);
        EXPECT_EQ(StartupLanguage("pl", store), Polish);
    }
}

TEST_F(SettingsLanguageStoreTest, SaveRepairsADamagedFile) {
    writeFile(file(), "[General\nNumber%20of%20language=abc\n\x01\n");
    SettingsLanguageStore store(file());
    ASSERT_TRUE(store.save(5));
    const StoredLanguage loaded = store.load();
    EXPECT_EQ(loaded.status, Status::Present);
    EXPECT_EQ(loaded.value, 5U);
}

TEST_F(SettingsLanguageStoreTest, FailedWritesAreDetected) {
    // The folder's name is taken by a file, and the file's name by a folder: both fail for
    // every user, root included.
    {
        QFile blocker(folder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    SettingsLanguageStore blockedFolder(file());
    EXPECT_EQ(blockedFolder.load().status, Status::Unavailable);
    EXPECT_FALSE(blockedFolder.save(3));
    EXPECT_EQ(StartupLanguage("fi", blockedFolder), Finnish);

    ASSERT_TRUE(QFile::remove(folder()));
    ASSERT_TRUE(QDir().mkpath(file()));
    SettingsLanguageStore fileIsFolder(file());
    EXPECT_EQ(fileIsFolder.load().status, Status::Unavailable);
    EXPECT_FALSE(fileIsFolder.save(3));
}

TEST_F(SettingsLanguageStoreTest, DefaultFileFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old != nullptr ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/quillo-config-test", 1);
    EXPECT_EQ(SettingsLanguageStore::DefaultFilePath(),
              QStringLiteral("/tmp/quillo-config-test/Aldrun Quillo/User Program.conf"));
    if (old != nullptr) {
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
}  // namespace quillo::lang::platform
