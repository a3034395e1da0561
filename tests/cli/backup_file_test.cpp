// Backup files that must be refused before anything reaches any unit.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>

#include "cli_fixture.h"

namespace quillo::cli {
namespace {

struct BadFile {
    const char* what;
    // Turns a good backup into the file to restore.
    std::function<QByteArray(const QByteArray& good)> make;
    QString err;
};

QByteArray Edited(const QByteArray& good, const std::function<void(QJsonObject&)>& edit) {
    QJsonObject root = QJsonDocument::fromJson(good).object();
    edit(root);
    return QJsonDocument(root).toJson();
}

std::function<QByteArray(const QByteArray&)> Setting(const char* group, const char* key,
                                                     QJsonValue value) {
    return [=](const QByteArray& good) {
        return Edited(good, [&](QJsonObject& root) {
            QJsonObject settings = root.value(group).toObject();
            settings[key] = value;
            root[group] = settings;
        });
    };
}

TEST_F(CliTest, BadBackupFilesAreRefusedWithNothingSent) {
    Plug(sim::Model::Solvi);
    Plug(sim::Model::Solvi);
    QTemporaryDir dir;
    const QString goodFile = dir.filePath(QStringLiteral("good.json"));
    ASSERT_EQ(Run({"backup", goodFile, "--device", "1"}).status, 0);
    QFile good(goodFile);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray backup = good.readAll();

    const BadFile cases[] = {
        {"corrupt",
         [](const QByteArray&) { return QByteArray(R"({"format": "quilloctl-backup",])"); },
         "not a backup: unterminated object at byte 31"},
        {"truncated", [](const QByteArray& b) { return b.left(b.size() / 2); },
         "not a backup: unterminated"},
        {"empty", [](const QByteArray&) { return QByteArray(); }, "not a backup:"},
        {"an array", [](const QByteArray&) { return QByteArray("[1, 2]"); },
         R"(not a backup: "format" is not "quilloctl-backup")"},
        {"another format",
         [](const QByteArray& b) {
             return Edited(b, [](QJsonObject& r) { r["format"] = "other"; });
         },
         R"(not a backup: "format" is not "quilloctl-backup")"},
        {"a later version",
         [](const QByteArray& b) { return Edited(b, [](QJsonObject& r) { r["version"] = 2; }); },
         R"(backup version not supported: "version" must be 1)"},
        {"an unknown model",
         [](const QByteArray& b) {
             return Edited(b, [](QJsonObject& r) { r["model"] = "Zorvat"; });
         },
         R"("model" must be "Solvi" or "Pargo")"},
        {"the other model's settings",
         [](const QByteArray& b) {
             return Edited(b, [](QJsonObject& r) { r["model"] = "Pargo"; });
         },
         "fan.direction: not a setting of a Pargo unit"},
        {"a huge number", Setting("wifi", "channel", 1e308),
         "wifi.channel: expected a whole number from 1 to 13"},
        {"a negative number", Setting("wifi", "slave-number", -4294967295.0),
         "wifi.slave-number: expected a whole number from 1 to 32"},
        {"a fraction", Setting("fan", "humidity-threshold", 62.5),
         "fan.humidity-threshold: expected a multiple of 5 from 40 to 80"},
        {"a number as text", Setting("wifi", "channel", "11"),
         "wifi.channel: expected a whole number from 1 to 13"},
        {"a number for a flag", Setting("fan", "relay-sensor", 1),
         "fan.relay-sensor: expected true or false"},
        {"an object for a text", Setting("wifi", "wifi-name", QJsonObject{{"a", 1}}),
         "wifi.wifi-name: expected a text"},
        {"a null", Setting("fan", "night-timer", QJsonValue()),
         "fan.night-timer: expected hours and minutes as hh:mm, 00:00 to 23:59"},
        {"a long name", Setting("wifi", "wifi-name", QString(40, QLatin1Char('x'))),
         "wifi.wifi-name: The length of name of Wi-Fi must be 1 - 32 characters"},
        {"an unknown setting", Setting("fan", "turbo", true),
         "fan.turbo: not a setting of a Solvi unit"},
        {"a missing setting",
         [](const QByteArray& b) {
             return Edited(b, [](QJsonObject& r) {
                 QJsonObject wifi = r["wifi"].toObject();
                 wifi.remove("gateway");
                 r["wifi"] = wifi;
             });
         },
         "wifi.gateway: missing"},
        {"settings that are no object",
         [](const QByteArray& b) { return Edited(b, [](QJsonObject& r) { r["fan"] = "fast"; }); },
         R"("fan" must be an object of settings)"},
        // The window's rule for the whole page: a master without router needs a password.
        {"a refused combination", Setting("wifi", "wifi-password", "short"),
         "wifi-password: The length of password must be 8 - 60 characters"},
        {"10 MB of text",
         [](const QByteArray&) { return QByteArray(qsizetype{10} * 1024 * 1024, 'A'); },
         "not a backup: larger than 65536 bytes"},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.filePath(QStringLiteral("bad.json"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.make(backup));
        file.close();
        Interface(0).clearWrites();
        Interface(1).clearWrites();
        for (const QStringList& target : {QStringList{"--device", "2"}, QStringList{"--all"}}) {
            const CliRun run = Run(QStringList{"restore", path} + target);
            EXPECT_EQ(run.status, 4);
            EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
            EXPECT_EQ(AllWrites(), 0U);
        }
    }
    EXPECT_EQ(Run({"restore", dir.filePath("missing.json"), "--device", "2"}).status, 1);
}

}  // namespace
}  // namespace quillo::cli
