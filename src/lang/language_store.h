#pragma once

// Where the user's language choice persists between runs: one unsigned 32-bit value named
// "Number of language" in a per-user place (Windows: a registry key of the current user;
// Linux: a file in the user's configuration folder). Plain C++, no Qt.

#include <cstdint>
#include <memory>
#include <string_view>

namespace quillo::lang {

inline constexpr std::string_view kLanguageValueName = "Number of language";

struct StoredLanguage {
    enum class Status {
        Absent,       // the place exists (or was just created) and holds no value
        Present,      // `value` holds what was stored
        Unreadable,   // a value is there, but of another type or size
        Unavailable,  // the place cannot be opened or created
    };
    Status status = Status::Absent;
    std::uint32_t value = 0;
};

class LanguageStore {
public:
    LanguageStore() = default;
    LanguageStore(const LanguageStore&) = delete;
    LanguageStore& operator=(const LanguageStore&) = delete;
    virtual ~LanguageStore() = default;

    // Opens the place, creating it when missing (so it exists from the first start on, even
    // before anything is stored), reads the value and closes the place again.
    virtual StoredLanguage load() = 0;
    // Opens the place with create, writes the value and closes it; false when any step failed.
    virtual bool save(std::uint32_t value) = 0;
};

// The current user's store on the system the program runs on. Defined by the system's store:
// the registry store in quillo_lang_core on Windows, the settings-file store in quillo_lang
// (QtCore) on Linux.
std::unique_ptr<LanguageStore> CreateSystemLanguageStore();

}  // namespace quillo::lang
