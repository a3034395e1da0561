#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>
#include <string>

#include "lang/language.h"
#include "lang/message_table.h"

namespace quillo::lang {
namespace {

class FakeStore final : public LanguageStore {
public:
    StoredLanguage load() override { return stored; }
    bool save(std::uint32_t value) override {
        ++saves;
        if (!writable) {
            return false;
        }
        stored = {StoredLanguage::Status::Present, value};
        return true;
    }
    StoredLanguage stored;
    bool writable = true;
    int saves = 0;
};

class LanguageTest : public ::testing::Test {
protected:
    void TearDown() override { LanguageIndex = 0; }
};

TEST_F(LanguageTest, StartupSetsLanguageIndex) {
    FakeStore store;
    SelectStartupLanguage("sv", store);
    EXPECT_EQ(LanguageIndex, Swedish);
    store.stored = {StoredLanguage::Status::Present, 3};
    SelectStartupLanguage("de", store);
    EXPECT_EQ(LanguageIndex, Ukrainian);
    store.stored = {StoredLanguage::Status::Present, 77};
    SelectStartupLanguage("de", store);
    EXPECT_EQ(LanguageIndex, German);
}

TEST_F(LanguageTest, StoringTheChoiceLeavesTheLanguageToTheCaller) {
    FakeStore store;
    LanguageIndex = English;
    QString error;
    EXPECT_TRUE(StoreLanguageChoice(4, error, store));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(store.stored.value, 4U);
    EXPECT_EQ(LanguageIndex, English);
}

TEST_F(LanguageTest, FailedStoreReportsTheValueName) {
    FakeStore store;
    store.writable = false;
    LanguageIndex = Polish;
    QString error;
    EXPECT_FALSE(StoreLanguageChoice(8, error, store));
    EXPECT_EQ(error, QStringLiteral("Failed to set data for 'Number of language'"));
    EXPECT_EQ(LanguageIndex, Polish);
}

TEST_F(LanguageTest, IndexOutsideTheListIsNotStored) {
    FakeStore store;
    for (const int index : {-1, 10, 256}) {
        QString error;
        EXPECT_FALSE(StoreLanguageChoice(index, error, store)) << index;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(store.saves, 0);
}

// Sets or unsets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The system's own locale source and store, pointed at a temporary configuration folder.
TEST_F(LanguageTest, SystemStartupAndChoiceUseTheUsersConfiguration) {
    const QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const ScopedEnv xdg("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData());
    const ScopedEnv lcAll("LC_ALL", nullptr);
    const ScopedEnv lcMessages("LC_MESSAGES", nullptr);
    const ScopedEnv lang("LANG", "ru_RU.UTF-8");
    const QString file = config.path() + QStringLiteral("/Aldrun Quillo/User Program.conf");

    // First start: the locale's language, and the file exists from now on, still empty.
    SelectStartupLanguage();
    EXPECT_EQ(LanguageIndex, Russian);
    ASSERT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(QFileInfo(file).size(), 0);

    // The user picks DEU; every later start is German whatever the locale.
    QString error;
    ASSERT_TRUE(StoreLanguageChoice(German, error)) << error.toStdString();
    const ScopedEnv swedish("LANG", "sv_SE.UTF-8");
    SelectStartupLanguage();
    EXPECT_EQ(LanguageIndex, German);
}

}  // namespace
}  // namespace quillo::lang
