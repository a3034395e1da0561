#pragma once

// The message table as the window uses it: the texts of message_catalogue.h as QStrings, and
// the current language.

#include <QString>
#include <cstdint>

#include "lang/message_catalogue.h"

namespace quillo::lang {

// The current language, 0 (Russian) to 9 (Finnish). 0 until SelectStartupLanguage() has run;
// only the main thread reads or writes it.
extern std::uint8_t LanguageIndex;

// The text of message `id` (a multiple of ten, 0 to 640) in the current language, that is the
// text at position id + LanguageIndex.
QString MessageText(int id);

// The text at a position of the table, 0 to 649. Converted from UTF-8 once, on first use.
const QString& MessageAt(int position);

}  // namespace quillo::lang
