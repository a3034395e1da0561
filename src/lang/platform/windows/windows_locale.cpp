#include "lang/platform/windows/windows_locale.h"

#include "lang/locale_code.h"

namespace quillo::lang::platform {

std::string LocaleCodeOf(LCID locale) {
    // First the length (terminating NUL included), then the name itself.
    const int length = GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, nullptr, 0);
    if (length <= 0) {
        return "en";
    }
    std::wstring name(static_cast<std::size_t>(length), L'\0');
    const int written = GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, name.data(), length);
    if (written == 0) {
        return "en";
    }
    name.resize(static_cast<std::size_t>(written - 1));

    std::string code;
    for (const wchar_t c : name) {
        // ISO 639 names are ASCII letters; anything else is not a name we could match.
        if (c > 0x7F) {
            return "en";
        }
        code += static_cast<char>(c);
    }
    if (code == "nb" || code == "nn") {
        return "no";
    }
    return code;
}

}  // namespace quillo::lang::platform

namespace quillo::lang {

std::string SystemLocaleCode() {
    return platform::LocaleCodeOf(GetUserDefaultLCID());
}

}  // namespace quillo::lang
