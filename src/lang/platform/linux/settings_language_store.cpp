#include "lang/platform/linux/settings_language_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <limits>
#include <utility>

namespace quillo::lang::platform {

namespace {

const QString& ValueName() {
    static const QString name = QString::fromUtf8(
        kLanguageValueName.data(), static_cast<qsizetype>(kLanguageValueName.size()));
    return name;
}

}  // namespace

SettingsLanguageStore::SettingsLanguageStore(QString filePath) : filePath_(std::move(filePath)) {}

QString SettingsLanguageStore::DefaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Aldrun Quillo/User Program.conf");
}

bool SettingsLanguageStore::createIfMissing() const {
    const QFileInfo info(filePath_);
    if (info.isFile()) {
        return true;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        return false;
    }
    QFile file(filePath_);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}

StoredLanguage SettingsLanguageStore::load() {
    if (!createIfMissing()) {
        return {StoredLanguage::Status::Unavailable, 0};
    }
    const QSettings settings(filePath_, QSettings::IniFormat);
    if (settings.status() == QSettings::AccessError) {
        return {StoredLanguage::Status::Unavailable, 0};
    }
    const QVariant stored = settings.value(ValueName());
    if (!stored.isValid()) {
        return {StoredLanguage::Status::Absent, 0};
    }
    // An INI file holds text; what the program writes is a plain decimal number. Lists, byte
    // arrays and other special forms are other types.
    if (stored.typeId() != QMetaType::QString) {
        return {StoredLanguage::Status::Unreadable, 0};
    }
    bool ok = false;
    const qlonglong number = stored.toString().toLongLong(&ok, 10);
    if (!ok || number < 0 || number > std::numeric_limits<std::uint32_t>::max()) {
        return {StoredLanguage::Status::Unreadable, 0};
    }
    return {StoredLanguage::Status::Present, static_cast<std::uint32_t>(number)};
}

bool SettingsLanguageStore::save(std::uint32_t value) {
    {
        QSettings settings(filePath_, QSettings::IniFormat);
        // As text, the form every later read sees, also through QSettings' in-process cache.
        settings.setValue(ValueName(), QString::number(value));
        settings.sync();
        if (settings.status() == QSettings::AccessError) {
            return false;
        }
    }
    // QSettings keeps the first error it met: after a format error while reading a damaged
    // file it no longer reports a failed write. Reading back catches that case too.
    const QSettings check(filePath_, QSettings::IniFormat);
    bool ok = false;
    const qulonglong written = check.value(ValueName()).toString().toULongLong(&ok, 10);
    return ok && written == value;
}

}  // namespace quillo::lang::platform

namespace quillo::lang {

std::unique_ptr<LanguageStore> CreateSystemLanguageStore() {
    return std::make_unique<platform::SettingsLanguageStore>();
}

}  // namespace quillo::lang
