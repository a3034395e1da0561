#include <gtest/gtest.h>

#include <string_view>

#include "lang/locale_code.h"

namespace quillo::lang {
namespace {

TEST(PosixLocale, LanguageOfLocaleName) {
    struct Case {
        std::string_view locale;
        std::string_view code;
    };
    constexpr Case kCases[] = {
        {"de_DE.UTF-8", "de"},
        {"ru_RU", "ru"},
        {"sv_SE.utf8", "sv"},
        {"pl", "pl"},
        {"sr_RS@latin", "sr"},
        {"fil_PH.UTF-8", "fil"},
        {"DE_de", "de"},
        {"pt_BR.UTF-8", "pt"},
        // Norwegian by either written standard is the list's "no".
        {"nb_NO.UTF-8", "no"},
        {"nn_NO", "no"},
        {"no_NO", "no"},
        // No locale.
        {"C", ""},
        {"POSIX", ""},
        {"C.UTF-8", ""},
        {"C.utf8", ""},
        {"", ""},
        {"e", ""},
        {"de1_DE", ""},
        {"/usr/share/x", ""},
        {"abcd_EF", ""},
    };
    for (const auto& [locale, code] : kCases) {
        EXPECT_EQ(LanguageOfPosixLocale(locale), code) << "locale \"" << locale << "\"";
    }
}

TEST(PosixLocale, FirstSetVariableWins) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        std::string_view code;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", "ru_RU.UTF-8", "pl_PL.UTF-8", "de"},
        {nullptr, "ru_RU.UTF-8", "pl_PL.UTF-8", "ru"},
        {"", "", "pl_PL.UTF-8", "pl"},  // set but empty counts as unset
        {nullptr, nullptr, "fi_FI", "fi"},
        {nullptr, nullptr, nullptr, ""},
        {"C", "ru_RU.UTF-8", "pl_PL.UTF-8", ""},  // LC_ALL=C asks for no locale
        {nullptr, "POSIX", "pl_PL.UTF-8", ""},
    };
    for (const auto& [lcAll, lcMessages, lang, code] : cases) {
        EXPECT_EQ(LanguageOfPosixEnvironment(lcAll, lcMessages, lang), code)
            << (lcAll ? lcAll : "(unset)") << " / " << (lcMessages ? lcMessages : "(unset)")
            << " / " << (lang ? lang : "(unset)");
    }
}

}  // namespace
}  // namespace quillo::lang
