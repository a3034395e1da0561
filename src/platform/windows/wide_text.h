#pragma once

// Conversions between the program's UTF-8 strings and the UTF-16 strings of the Windows API
// (target quillo_windows_text: device paths here, named objects in the program's own code).

#include <optional>
#include <string>

namespace quillo::platform::win {

// nullopt when `text` is not valid UTF-8.
std::optional<std::wstring> toWide(const std::string& text);
// Invalid UTF-16 (a lone surrogate) becomes U+FFFD.
std::string toUtf8(const std::wstring& text);

}  // namespace quillo::platform::win
