#pragma once

// The language choice in the current user's registry: a REG_DWORD under
// HKEY_CURRENT_USER\SOFTWARE\Aldrun Quillo\User Program. The key is opened for each use and
// closed straight after; none stays open between uses.

#include <windows.h>

#include <string>

#include "lang/language_store.h"

namespace quillo::lang::platform {

inline constexpr const wchar_t* kUserProgramKey = L"SOFTWARE\\Aldrun Quillo\\User Program";

class RegistryLanguageStore final : public LanguageStore {
public:
    // Tests pass a key of their own so that they never touch the user's real choice.
    explicit RegistryLanguageStore(HKEY root = HKEY_CURRENT_USER,
                                   std::wstring subKey = kUserProgramKey);

    StoredLanguage load() override;
    bool save(std::uint32_t value) override;

private:
    // RegCreateKeyExW: opens the key, creating it and missing parents; nullptr on failure.
    HKEY openWithCreate() const;

    HKEY root_;
    std::wstring subKey_;
};

}  // namespace quillo::lang::platform
