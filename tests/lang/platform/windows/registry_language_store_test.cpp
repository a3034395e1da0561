#include "lang/platform/windows/registry_language_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lang/language_selection.h"
#include "lang/message_catalogue.h"

namespace quillo::lang::platform {
namespace {

using Status = StoredLanguage::Status;

constexpr const wchar_t* kTestRoot = L"SOFTWARE\\Quillo Config Tests";

// A key of the test's own under HKEY_CURRENT_USER, never the program's real one; removed
// again afterwards.
class RegistryLanguageStoreTest : public ::testing::Test {
protected:
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, ownKey().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, ownKey().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, kTestRoot);  // fails while other runs still use it
    }

    static std::wstring ownKey() {
        return std::wstring(kTestRoot) + L"\\lang-" + std::to_wstring(GetCurrentProcessId());
    }
    static std::wstring subKey() { return ownKey() + L"\\User Program"; }

    static bool keyExists() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey().c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }

    static DWORD valueCount() {
        HKEY key = nullptr;
        DWORD values = 0;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey().c_str(), 0, KEY_READ, &key) ==
            ERROR_SUCCESS) {
            RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr);
            RegCloseKey(key);
        }
        return values;
    }

    static void writeRaw(DWORD type, const std::vector<BYTE>& data) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subKey().c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key, L"Number of language", 0, type, data.data(),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

TEST_F(RegistryLanguageStoreTest, LoadCreatesTheKeyAndLeavesItEmpty) {
    ASSERT_FALSE(keyExists());
    RegistryLanguageStore store(HKEY_CURRENT_USER, subKey());
    EXPECT_EQ(store.load().status, Status::Absent);
    EXPECT_TRUE(keyExists());
    EXPECT_EQ(valueCount(), 0U);
}

TEST_F(RegistryLanguageStoreTest, SavedChoiceIsAFourByteDword) {
    RegistryLanguageStore store(HKEY_CURRENT_USER, subKey());
    ASSERT_TRUE(store.save(4));
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, subKey().c_str(), L"Number of language", RRF_RT_ANY,
                           &type, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4U);
    EXPECT_EQ(value, 4U);

    ASSERT_TRUE(store.save(9));  // overwritten on every change
    const StoredLanguage loaded = RegistryLanguageStore(HKEY_CURRENT_USER, subKey()).load();
    EXPECT_EQ(loaded.status, Status::Present);
    EXPECT_EQ(loaded.value, 9U);
    EXPECT_EQ(valueCount(), 1U);
}

TEST_F(RegistryLanguageStoreTest, StoredDataDecidesOnlyWhenItIsAChoice) {
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        Status status;
        std::uint8_t language;  // with a German locale
    };
    const std::vector<BYTE> threeAsText = {'3', 0, 0, 0};
    const Case cases[] = {
        {"DWORD 3", REG_DWORD, {3, 0, 0, 0}, Status::Present, Ukrainian},
        {"DWORD 0", REG_DWORD, {0, 0, 0, 0}, Status::Present, Russian},
        {"DWORD 99", REG_DWORD, {99, 0, 0, 0}, Status::Present, German},
        {"DWORD 259", REG_DWORD, {3, 1, 0, 0}, Status::Present, German},
        {"DWORD -1", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, Status::Present, German},
        {"text", REG_SZ, threeAsText, Status::Unreadable, German},
        {"QWORD", REG_QWORD, {3, 0, 0, 0, 0, 0, 0, 0}, Status::Unreadable, German},
        {"eight bytes", REG_BINARY, {3, 0, 0, 0, 0, 0, 0, 0}, Status::Unreadable, German},
        {"two-byte DWORD", REG_DWORD, {3, 0}, Status::Unreadable, German},
        {"empty", REG_BINARY, {}, Status::Unreadable, German},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeRaw(c.type, c.data);
        RegistryLanguageStore store(HKEY_CURRENT_USER, subKey());
        EXPECT_EQ(store.load().status, c.status);
        EXPECT_EQ(StartupLanguage("de", store), c.language);
    }
}

TEST_F(RegistryLanguageStoreTest, KeyThatCannotBeOpened) {
    // A handle that is no open key: every open fails, as for a hive the user may not write.
    RegistryLanguageStore store(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), subKey());
    EXPECT_EQ(store.load().status, Status::Unavailable);
    EXPECT_FALSE(store.save(3));
    EXPECT_EQ(StartupLanguage("sv", store), Swedish);
}

}  // namespace
}  // namespace quillo::lang::platform
