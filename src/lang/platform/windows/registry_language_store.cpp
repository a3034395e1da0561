#include "lang/platform/windows/registry_language_store.h"

#include <cstring>
#include <utility>

namespace quillo::lang::platform {

namespace {

constexpr const wchar_t* kValueName = L"Number of language";

class KeyCloser {
public:
    explicit KeyCloser(HKEY key) : key_(key) {}
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;
    ~KeyCloser() { RegCloseKey(key_); }

private:
    HKEY key_;
};

}  // namespace

RegistryLanguageStore::RegistryLanguageStore(HKEY root, std::wstring subKey)
    : root_(root), subKey_(std::move(subKey)) {}

HKEY RegistryLanguageStore::openWithCreate() const {
    HKEY key = nullptr;
    const LSTATUS status =
        RegCreateKeyExW(root_, subKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr);
    return status == ERROR_SUCCESS ? key : nullptr;
}

StoredLanguage RegistryLanguageStore::load() {
    const HKEY key = openWithCreate();
    if (key == nullptr) {
        return {StoredLanguage::Status::Unavailable, 0};
    }
    const KeyCloser closer(key);

    BYTE data[sizeof(DWORD)] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof(data);
    const LSTATUS status = RegQueryValueExW(key, kValueName, nullptr, &type, data, &size);
    if (status == ERROR_FILE_NOT_FOUND) {
        return {StoredLanguage::Status::Absent, 0};
    }
    // ERROR_MORE_DATA: longer than four bytes. Shorter data or another type cannot be a
    // choice the program wrote either.
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(DWORD)) {
        return {StoredLanguage::Status::Unreadable, 0};
    }
    DWORD value = 0;
    std::memcpy(&value, data, sizeof(value));
    return {StoredLanguage::Status::Present, value};
}

bool RegistryLanguageStore::save(std::uint32_t value) {
    const HKEY key = openWithCreate();
    if (key == nullptr) {
        return false;
    }
    const KeyCloser closer(key);
    const DWORD data = value;
    return RegSetValueExW(key, kValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof(data)) == ERROR_SUCCESS;
}

}  // namespace quillo::lang::platform

namespace quillo::lang {

std::unique_ptr<LanguageStore> CreateSystemLanguageStore() {
    return std::make_unique<platform::RegistryLanguageStore>();
}

}  // namespace quillo::lang
