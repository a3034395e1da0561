#include "lang/language.h"

#include "lang/language_selection.h"
#include "lang/locale_code.h"
#include "lang/message_table.h"

namespace quillo::lang {

void SelectStartupLanguage() {
    const std::unique_ptr<LanguageStore> store = CreateSystemLanguageStore();
    SelectStartupLanguage(SystemLocaleCode(), *store);
}

void SelectStartupLanguage(std::string_view localeCode, LanguageStore& store) {
    LanguageIndex = StartupLanguage(localeCode, store);
}

bool StoreLanguageChoice(int index, QString& errorText) {
    const std::unique_ptr<LanguageStore> store = CreateSystemLanguageStore();
    return StoreLanguageChoice(index, errorText, *store);
}

bool StoreLanguageChoice(int index, QString& errorText, LanguageStore& store) {
    // The selector only offers 0 to 9; storing anything else would make the next start ignore
    // the choice, so it is refused like a failed write.
    if (IsLanguageIndex(index) && store.save(static_cast<std::uint32_t>(index))) {
        return true;
    }
    errorText = QString::fromStdString(FailedToSetDataText());
    return false;
}

}  // namespace quillo::lang
