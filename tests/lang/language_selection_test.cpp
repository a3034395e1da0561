#include <gtest/gtest.h>

#include <string_view>

#include "lang/language_selection.h"
#include "lang/message_catalogue.h"

namespace quillo::lang {
namespace {

class FakeStore final : public LanguageStore {
public:
    explicit FakeStore(StoredLanguage stored = {}) : stored_(stored) {}
    StoredLanguage load() override {
        ++loads;
        return stored_;
    }
    bool save(std::uint32_t value) override {
        stored_ = {StoredLanguage::Status::Present, value};
        return true;
    }
    int loads = 0;

private:
    StoredLanguage stored_;
};

TEST(LanguageSelection, LocaleCodeChoosesTheLanguage) {
    struct Case {
        std::string_view code;
        std::uint8_t language;
    };
    constexpr Case kCases[] = {
        {"ru", Russian},
        {"en", English},
        {"zh", Chinese},
        {"uk", Ukrainian},
        {"de", German},
        {"da", Danish},
        {"pl", Polish},
        {"no", Norwegian},
        {"sv", Swedish},
        {"fi", Finnish},
        // Not in the table: English.
        {"pt", English},
        {"", English},
        {"RU", English},
        {"ru_RU", English},
        {"nb", English},
        {"r", English},
    };
    for (const auto& [code, language] : kCases) {
        EXPECT_EQ(LanguageForLocaleCode(code), language) << "code \"" << code << "\"";
    }
}

TEST(LanguageSelection, StoredChoiceWinsOverTheLocale) {
    FakeStore ukrainian({StoredLanguage::Status::Present, 3});
    EXPECT_EQ(StartupLanguage("de", ukrainian), Ukrainian);
    EXPECT_EQ(ukrainian.loads, 1);  // the store's place is created at every start

    // 0 is a choice like any other, not a missing one.
    FakeStore russian({StoredLanguage::Status::Present, 0});
    EXPECT_EQ(StartupLanguage("en", russian), Russian);

    FakeStore finnish({StoredLanguage::Status::Present, 9});
    EXPECT_EQ(StartupLanguage("", finnish), Finnish);
}

TEST(LanguageSelection, WithoutAValidStoredChoiceTheLocaleDecides) {
    using Status = StoredLanguage::Status;
    constexpr StoredLanguage kStored[] = {
        {Status::Absent, 0},
        {Status::Unavailable, 0},
        {Status::Unreadable, 0},
        // Out of range, among them numbers whose low byte would be a language.
        {Status::Present, 10},
        {Status::Present, 255},
        {Status::Present, 259},
        {Status::Present, 0x80000004},
        {Status::Present, 0xFFFFFFFF},
    };
    for (const StoredLanguage& stored : kStored) {
        FakeStore store(stored);
        EXPECT_EQ(StartupLanguage("pl", store), Polish)
            << "status " << static_cast<int>(stored.status) << ", value " << stored.value;
        FakeStore english(stored);
        EXPECT_EQ(StartupLanguage("pt", english), English);
    }
}

TEST(LanguageSelection, FailedWriteText) {
    EXPECT_EQ(FailedToSetDataText(), "Failed to set data for 'Number of language'");
}

}  // namespace
}  // namespace quillo::lang
