#include "platform/program_version.h"

#include <cstdio>
#include <string>
#include <vector>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace quillo::platform {

namespace {

// The running program file's full path; empty when it cannot be had.
std::wstring programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // Truncated: long paths exceed MAX_PATH.
        if (path.size() >= 32768) {
            return {};
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

std::string ProgramVersionText() {
    const std::wstring path = programPath();
    if (path.empty()) {
        return {};
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<std::uint8_t> info(size);
    if (GetFileVersionInfoW(path.c_str(), 0, size, info.data()) == FALSE) {
        return {};
    }
    void* block = nullptr;
    UINT blockSize = 0;
    if (VerQueryValueW(info.data(), L"\\", &block, &blockSize) == FALSE || block == nullptr ||
        blockSize < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    // The build number (low word of the least significant half) is not shown.
    char text[24];
    std::snprintf(text, sizeof(text), "%d.%d.%d", HIWORD(fixed->dwFileVersionMS),
                  LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS));
    return text;
}

}  // namespace quillo::platform
