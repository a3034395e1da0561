#pragma once

// Which language the program starts in: the user's locale, overridden by the stored choice.
// Plain C++, no Qt.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "lang/language_store.h"

namespace quillo::lang {

// Locale codes in language order: the code at index i selects language i.
inline constexpr std::array<std::string_view, 10> LanguageCodeTable = {
    "ru", "en", "zh", "uk", "de", "da", "pl", "no", "sv", "fi",
};

// The language whose code equals `code` exactly (case-sensitive); English when none does,
// an empty code included.
std::uint8_t LanguageForLocaleCode(std::string_view code);

// The start-up language: the locale's, unless the store holds a valid choice (0 to 9). The
// store is opened with create, so its place exists afterwards. Anything else stored (out of
// range, wrong type or size) and a store that cannot be opened leave the locale's language.
std::uint8_t StartupLanguage(std::string_view localeCode, LanguageStore& store);

// True for the indices of the ten languages.
constexpr bool IsLanguageIndex(std::int64_t value) {
    return value >= 0 && value < 10;
}

// "Failed to set data for '<name>'": what the user is told when the choice cannot be stored.
std::string FailedToSetDataText(std::string_view valueName = kLanguageValueName);

}  // namespace quillo::lang
