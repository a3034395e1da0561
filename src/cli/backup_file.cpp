#include "cli/backup_file.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

#include "cli/setting_keys.h"
#include "cli/write_plan.h"
#include "protocol/framing.h"
#include "protocol/wire_text.h"
#include "unit_model/unit_identity.h"

namespace quillo::cli {

using model::ModelName;
using protocol::unit::Model;

namespace {

const QString kNameBytesKey = QStringLiteral("wifi-name-bytes");
// The longest name one answer of the unit can carry (report ID, code and length byte aside):
// a name the unit holds goes back as it is, as the window sends it.
constexpr std::size_t kMaxReadNameBytes = protocol::kMaxOutputReportLength - 3;

}  // namespace

QJsonObject SettingsJson(const PageState& state, Model model) {
    QJsonObject groups[2];
    for (const SettingKey* key : KeysFor(model)) {
        groups[KeyGroup(*key) == Group::Wifi ? 0 : 1][KeyName(*key)] = JsonValue(*key, state);
    }
    QJsonObject settings;
    settings[GroupName(Group::Wifi)] = groups[0];
    settings[GroupName(Group::Fan)] = groups[1];
    return settings;
}

QByteArray BackupDocument(const PageState& state, Model model, const QString& serial,
                          const QDateTime& date) {
    QJsonObject document = SettingsJson(state, model);
    document[QStringLiteral("format")] = QLatin1String(kBackupFormat);
    document[QStringLiteral("version")] = kBackupVersion;
    document[QStringLiteral("model")] = ModelName(model);
    document[QStringLiteral("serial")] = serial;
    document[QStringLiteral("date")] = date.toUTC().toString(Qt::ISODate);
    const std::vector<std::uint8_t> name =
        protocol::wifiNameBytes(state.wifi.name, state.wifi.nameReadBytes);
    document[kNameBytesKey] = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(name.data()), static_cast<qsizetype>(name.size()))
            .toHex());
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

std::optional<Backup> ReadBackup(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: cannot be read: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray document = file.read(kMaxBackupSize + 1);
    if (document.size() > kMaxBackupSize) {
        error =
            QStringLiteral("%1: not a backup: larger than %2 bytes").arg(path).arg(kMaxBackupSize);
        return std::nullopt;
    }
    std::optional<Backup> backup = ParseBackup(document, error);
    if (!backup) {
        error = path + QStringLiteral(": ") + error;
    }
    return backup;
}

std::optional<Backup> ParseBackup(const QByteArray& document, QString& error) {
    QJsonParseError parseError{};
    const QJsonDocument json = QJsonDocument::fromJson(document, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = QStringLiteral("not a backup: %1 at byte %2")
                    .arg(parseError.errorString())
                    .arg(parseError.offset);
        return std::nullopt;
    }
    const QJsonObject root = json.object();
    if (!json.isObject() || root.value(QStringLiteral("format")) != QLatin1String(kBackupFormat)) {
        error = QStringLiteral("not a backup: \"format\" is not \"%1\"").arg(kBackupFormat);
        return std::nullopt;
    }
    if (root.value(QStringLiteral("version")) != kBackupVersion) {
        error = QStringLiteral("backup version not supported: \"version\" must be %1")
                    .arg(kBackupVersion);
        return std::nullopt;
    }
    Backup backup;
    const std::optional<Model> named =
        model::ModelNamed(root.value(QStringLiteral("model")).toString());
    if (!named) {
        error = QStringLiteral("\"model\" must be \"%1\" or \"%2\"")
                    .arg(ModelName(Model::Solvi), ModelName(Model::Pargo));
        return std::nullopt;
    }
    backup.model = *named;
    backup.serial = root.value(QStringLiteral("serial")).toString();

    const QString hex = root.value(kNameBytesKey).toString();
    const QByteArray nameBytes = QByteArray::fromHex(hex.toLatin1());
    if (root.contains(kNameBytesKey) &&
        (nameBytes.toHex() != hex.toLatin1().toLower() ||
         static_cast<std::size_t>(nameBytes.size()) > kMaxReadNameBytes)) {
        error = QStringLiteral("\"%1\": expected at most %2 bytes in hex")
                    .arg(kNameBytesKey)
                    .arg(kMaxReadNameBytes);
        return std::nullopt;
    }
    backup.nameBytes.assign(nameBytes.begin(), nameBytes.end());

    // Every value is tried on a state of its own: a bad one is named before anything is sent.
    PageState trial;
    trial.wifi.nameReadBytes = backup.nameBytes;
    for (const Group group : {Group::Wifi, Group::Fan}) {
        const QString groupName = GroupName(group);
        const QJsonValue groupValue = root.value(groupName);
        if (!groupValue.isObject()) {
            error = QStringLiteral("\"%1\" must be an object of settings").arg(groupName);
            return std::nullopt;
        }
        const QJsonObject settings = groupValue.toObject();
        for (auto it = settings.begin(); it != settings.end(); ++it) {
            const SettingKey* key = FindKey(it.key(), backup.model);
            if (key == nullptr || KeyGroup(*key) != group) {
                error = QStringLiteral("%1.%2: not a setting of a %3 unit")
                            .arg(groupName, it.key(), ModelName(backup.model));
                return std::nullopt;
            }
        }
        for (const SettingKey* key : KeysFor(backup.model)) {
            if (KeyGroup(*key) != group) {
                continue;
            }
            const QString name = KeyName(*key);
            if (!settings.contains(name)) {
                error = QStringLiteral("%1.%2: missing").arg(groupName, name);
                return std::nullopt;
            }
            const QString refused = SetFromJson(*key, settings.value(name), trial);
            if (!refused.isEmpty()) {
                error = QStringLiteral("%1.%2: %3").arg(groupName, name, refused);
                return std::nullopt;
            }
        }
        backup.settings[groupName] = settings;
    }
    // A name edited in the file wins and goes out as UTF-8, as an edited name does from the
    // window; the bytes only keep an unedited name exact.
    if (protocol::wifiNameBytes(trial.wifi.name, backup.nameBytes) != backup.nameBytes) {
        backup.nameBytes.clear();
    }
    return backup;
}

QString RestoreRefusal(const Backup& backup) {
    PageState trial = model::StartupPageState();
    ApplyBackup(backup, trial);
    QString error;
    PlanWrites(trial, true, true, error);
    return error;
}

void ApplyBackup(const Backup& backup, PageState& state) {
    // The name then goes out as these bytes.
    if (!backup.nameBytes.empty()) {
        state.wifi.nameReadBytes = backup.nameBytes;
    }
    for (const SettingKey* key : KeysFor(backup.model)) {
        const QString group = GroupName(KeyGroup(*key));
        SetFromJson(*key, backup.settings.value(group).toObject().value(KeyName(*key)), state);
    }
}

}  // namespace quillo::cli
