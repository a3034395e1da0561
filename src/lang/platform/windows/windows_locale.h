#pragma once

#include <windows.h>

#include <string>

namespace quillo::lang::platform {

// The ISO 639 language name of a Windows locale (LOCALE_SISO639LANGNAME), lower case; "en"
// when the lookup fails. Norwegian ("nb", "nn") gives "no", the code of the language list.
std::string LocaleCodeOf(LCID locale);

}  // namespace quillo::lang::platform
