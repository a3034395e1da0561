#include "lang/language_selection.h"

#include "lang/message_catalogue.h"

namespace quillo::lang {

static_assert(LanguageCodeTable.size() == kLanguageCount);

std::uint8_t LanguageForLocaleCode(std::string_view code) {
    for (std::size_t i = 0; i < LanguageCodeTable.size(); ++i) {
        if (LanguageCodeTable[i] == code) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return English;
}

std::uint8_t StartupLanguage(std::string_view localeCode, LanguageStore& store) {
    const std::uint8_t fromLocale = LanguageForLocaleCode(localeCode);
    const StoredLanguage stored = store.load();
    // The program only ever stores 0 to 9; any other number is damage from outside and must
    // not pick a text outside the table.
    if (stored.status == StoredLanguage::Status::Present && IsLanguageIndex(stored.value)) {
        return static_cast<std::uint8_t>(stored.value);
    }
    return fromLocale;
}

std::string FailedToSetDataText(std::string_view valueName) {
    std::string text = "Failed to set data for '";
    text += valueName;
    text += '\'';
    return text;
}

}  // namespace quillo::lang
