#pragma once

// The start-up language and the stored choice, for the window.

#include <QString>
#include <string_view>

#include "lang/language_store.h"

namespace quillo::lang {

// Sets LanguageIndex from the user's locale, overridden by the stored choice, and creates the
// store's place (registry key or settings file) when it is missing. Shows nothing; a store
// that cannot be opened or holds no valid choice leaves the locale's language.
void SelectStartupLanguage();
// The same with the locale code and the store given, for tests.
void SelectStartupLanguage(std::string_view localeCode, LanguageStore& store);

// Stores `index` (0 to 9) as the user's choice "Number of language". On failure returns false
// and sets errorText to "Failed to set data for 'Number of language'". Never changes
// LanguageIndex: the caller stores first and switches the language only after success.
bool StoreLanguageChoice(int index, QString& errorText);
bool StoreLanguageChoice(int index, QString& errorText, LanguageStore& store);

}  // namespace quillo::lang
