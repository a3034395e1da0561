#pragma once

// Settings as JSON, and backup files: one document with a format name and version, the model,
// the serial number, the date, the Wi-Fi name's bytes, and the settings under the same keys as
// `show --json`.

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "cli/unit_state.h"
#include "protocol/unit_contract.h"

namespace quillo::cli {

inline constexpr const char* kBackupFormat = "quilloctl-backup";
inline constexpr int kBackupVersion = 1;
// Larger files are refused unread: a backup is about one kilobyte.
inline constexpr qint64 kMaxBackupSize = qint64{64} * 1024;

// {"wifi": {...}, "fan": {...}} with every key of the model.
QJsonObject SettingsJson(const PageState& state, protocol::unit::Model model);

struct Backup {
    protocol::unit::Model model{};
    QString serial;
    QJsonObject settings;  // "wifi" and "fan"
    // The bytes the Wi-Fi name travels as ("wifi-name-bytes", hex), so that a name that is not
    // UTF-8, or longer than a typed name may be, goes back as it was read; empty in a backup
    // without them, and when "wifi-name" was edited (it then goes out as UTF-8).
    std::vector<std::uint8_t> nameBytes;
};

QByteArray BackupDocument(const PageState& state, protocol::unit::Model model,
                          const QString& serial, const QDateTime& date);

// Reads and checks a backup: the document, its format and version, the model, and every
// setting (all keys of the model present, none unknown, each value valid). std::nullopt with
// `error` saying what and where.
std::optional<Backup> ReadBackup(const QString& path, QString& error);
std::optional<Backup> ParseBackup(const QByteArray& document, QString& error);

// Why the page of the backup would be refused as a whole (the window's rules for the mode it
// holds), empty when it would be sent: restore checks it before sending, backup warns with it.
QString RestoreRefusal(const Backup& backup);

// Sets every setting of the backup in `state` (already checked, so it cannot fail).
void ApplyBackup(const Backup& backup, PageState& state);

}  // namespace quillo::cli
