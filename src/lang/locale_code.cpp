#include "lang/locale_code.h"

#include <algorithm>

namespace quillo::lang {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string LanguageOfPosixLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    if (language == "C" || language == "POSIX") {
        return {};
    }
    // ISO 639-1 has two letters, 639-2 three; anything else is not a language name.
    if (language.size() < 2 || language.size() > 3 ||
        !std::all_of(language.begin(), language.end(), IsAsciiLetter)) {
        return {};
    }
    std::string code(language);
    std::transform(code.begin(), code.end(), code.begin(), ToLowerAscii);
    // Linux names Norwegian by its two written standards; the language list knows one code.
    if (code == "nb" || code == "nn") {
        return "no";
    }
    return code;
}

std::string LanguageOfPosixEnvironment(const char* lcAll, const char* lcMessages,
                                       const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && *value != '\0') {
            return LanguageOfPosixLocale(value);
        }
    }
    return {};
}

}  // namespace quillo::lang
