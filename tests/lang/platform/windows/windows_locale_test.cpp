#include "lang/platform/windows/windows_locale.h"

#include <gtest/gtest.h>

#include <string_view>

#include "lang/locale_code.h"

namespace quillo::lang::platform {
namespace {

constexpr LCID Locale(WORD language, WORD sublanguage) {
    return MAKELCID(MAKELANGID(language, sublanguage), SORT_DEFAULT);
}

TEST(WindowsLocale, LanguageNameOfLocale) {
    struct Case {
        LCID locale;
        std::string_view code;
    };
    constexpr Case kCases[] = {
        {Locale(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), "ru"},
        {Locale(LANG_ENGLISH, SUBLANG_ENGLISH_US), "en"},
        {Locale(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), "zh"},
        {Locale(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), "zh"},
        {Locale(LANG_UKRAINIAN, SUBLANG_UKRAINIAN_UKRAINE), "uk"},
        {Locale(LANG_GERMAN, SUBLANG_GERMAN_AUSTRIAN), "de"},
        {Locale(LANG_DANISH, SUBLANG_DANISH_DENMARK), "da"},
        {Locale(LANG_POLISH, SUBLANG_POLISH_POLAND), "pl"},
        {Locale(LANG_NORWEGIAN, SUBLANG_NORWEGIAN_BOKMAL), "no"},
        {Locale(LANG_NORWEGIAN, SUBLANG_NORWEGIAN_NYNORSK), "no"},
        {Locale(LANG_SWEDISH, SUBLANG_SWEDISH_FINLAND), "sv"},
        {Locale(LANG_FINNISH, SUBLANG_FINNISH_FINLAND), "fi"},
        {Locale(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), "pt"},
        // No such locale: the lookup fails.
        {Locale(0x3FF, 0x3F), "en"},
    };
    for (const auto& [locale, code] : kCases) {
        EXPECT_EQ(LocaleCodeOf(locale), code) << "LCID " << std::hex << locale;
    }
}

TEST(WindowsLocale, SystemLocaleIsALowerCaseName) {
    const std::string code = SystemLocaleCode();
    ASSERT_GE(code.size(), 2U);
    ASSERT_LE(code.size(), 3U);
    for (const char c : code) {
        EXPECT_TRUE(c >= 'a' && c <= 'z') << code;
    }
    EXPECT_EQ(code, LocaleCodeOf(GetUserDefaultLCID()));
}

}  // namespace
}  // namespace quillo::lang::platform
