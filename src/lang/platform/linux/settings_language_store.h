#pragma once

// The language choice in a per-user INI file, by default
// $XDG_CONFIG_HOME/Aldrun Quillo/User Program.conf (~/.config when the variable is unset),
// with the value "Number of language".

#include <QString>

#include "lang/language_store.h"

namespace quillo::lang::platform {

class SettingsLanguageStore final : public LanguageStore {
public:
    // Tests pass a file in a temporary folder so that they never touch the user's real choice.
    explicit SettingsLanguageStore(QString filePath = DefaultFilePath());

    StoredLanguage load() override;
    bool save(std::uint32_t value) override;

    const QString& filePath() const { return filePath_; }

    static QString DefaultFilePath();

private:
    // Creates the folder and an empty file when missing; false when that is impossible.
    bool createIfMissing() const;

    QString filePath_;
};

}  // namespace quillo::lang::platform
