#pragma once

// The language of the user's regional settings as a lower-case ISO 639 code. Plain C++, no Qt.

#include <string>
#include <string_view>

namespace quillo::lang {

// Windows: the user's default locale; "en" when the lookup fails.
// Linux: LC_ALL, else LC_MESSAGES, else LANG; empty when none is set or it is "C" or "POSIX".
std::string SystemLocaleCode();

// The language part of a POSIX locale name such as "de_DE.UTF-8" or "sr_RS@latin", lower case;
// empty for "C", "POSIX", their variants ("C.UTF-8") and anything that is not a name.
// Norwegian Bokmål ("nb") and Nynorsk ("nn") give "no", the code of the language list.
std::string LanguageOfPosixLocale(std::string_view locale);

// The first set and non-empty one of the three variables, as the C library picks the locale
// of messages, passed through LanguageOfPosixLocale. Null means unset.
std::string LanguageOfPosixEnvironment(const char* lcAll, const char* lcMessages, const char* lang);

}  // namespace quillo::lang
