#include "app/platform/windows/wide_name.h"

#include <climits>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace quillo::app::platform {

std::optional<std::wstring> wideName(const std::string& name) {
    if (name.empty()) {
        return std::wstring();
    }
    if (name.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const int inLength = static_cast<int>(name.size());
    const int length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), inLength, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), inLength, wide.data(), length);
    return wide;
}

}  // namespace quillo::app::platform
