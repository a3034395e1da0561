// What quilloctl tells the user is what the unit got: names that are not ASCII read, shown,
// backed up and sent as the window does; settings the unit's mode does not use stored in the
// unit; a restore that leaves the target holding every value of the backup in every mode; and
// a filter reset that is checked.

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <functional>
#include <set>
#include <string>

#include "cli/records.h"
#include "cli_fixture.h"
#include "protocol/unit_contract.h"

namespace quillo::cli {
namespace {

using sim::Model;

QJsonObject Json(const CliRun& run) {
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

// The name report among what changed the unit: its value bytes.
std::vector<std::uint8_t> SentName(const std::vector<std::vector<std::uint8_t>>& changes) {
    for (const auto& report : changes) {
        if (report[1] == protocol::Code_Wi_Fi_name) {
            const std::size_t length = report[2];
            return {report.begin() + 3, report.begin() + 3 + static_cast<std::ptrdiff_t>(length)};
        }
    }
    return {};
}

struct NameCase {
    const char* what;
    std::string bytes;  // as the unit holds them
    QString shown;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.what;
}

class Names : public CliTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(Names, AreShownBackedUpAndSentBackAsTheyCame) {
    const NameCase& c = GetParam();
    sim::SimUnit& unit = *Plug(Model::Solvi).unit();
    unit.parameters().wifiName = c.bytes;
    unit.accessPoints = {R"(+CWLAP:(3,")" + c.bytes + R"(",-58,"a4:2b:b0:5e:11:02",6,-8,0))"};
    Plug(Model::Solvi);

    const CliRun show = Run({"show", "--json", "--device", "1"});
    ASSERT_EQ(show.status, 0) << show.err.toStdString();
    EXPECT_EQ(Json(show).value("wifi").toObject().value("wifi-name").toString(), c.shown);

    const CliRun scan = Run({"scan", "--device", "1"});
    ASSERT_EQ(scan.status, 0);
    EXPECT_EQ(scan.out, c.shown + QLatin1Char('\n'));

    // An edit elsewhere on the page sends the name back byte for byte.
    const CliRun set = Run({"set", "--device", "1", "channel=3"});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    const std::vector<std::uint8_t> bytes(c.bytes.begin(), c.bytes.end());
    EXPECT_EQ(SentName(Changes(0)), bytes);
    EXPECT_EQ(Interface(0).unit()->parameters().wifiName, c.bytes);

    // So does a restore of its backup, to another unit.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("b.json"));
    ASSERT_EQ(Run({"backup", "--device", "1", file}).status, 0);
    const CliRun restore = Run({"restore", "--device", "2", file});
    ASSERT_EQ(restore.status, 0) << restore.err.toStdString() << restore.out.toStdString();
    EXPECT_EQ(Interface(1).unit()->parameters().wifiName, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Names,
    ::testing::Values(NameCase{"UTF-8", "\xD0\x94\xD0\xBE\xD0\xBC", QStringLiteral("Дом")},
                      NameCase{"Latin-1", "Caf\xE9", QStringLiteral("Café")},
                      NameCase{"32 bytes that are not UTF-8", std::string(32, '\xC4'),
                               QString(32, QChar(0xC4))}));

// The file an installer takes from one unit, edits and restores to others: a name edited in
// it wins and goes out as UTF-8, as an edited name does from the window; an unedited one goes
// back as the bytes it was read as.
TEST_F(CliTest, ANameEditedInABackupGoesOutAsUtf8) {
    struct Row {
        const char* what;
        std::string held;  // by the unit backed up
        QString edited;    // "wifi-name" in the file
        std::string sent;
    };
    const Row rows[] = {
        {"ASCII", "Kelmair-3800", QStringLiteral("Office"), "Office"},
        {"Cyrillic", "Kelmair-3800", QStringLiteral("Дом"), "\xD0\x94\xD0\xBE\xD0\xBC"},
        {"a Latin-1 name edited", "Caf\xE9", QStringLiteral("Café!"), "Caf\xC3\xA9!"},
        {"a Latin-1 name as it was", "Caf\xE9", QStringLiteral("Café"), "Caf\xE9"},
    };
    Plug(Model::Solvi);
    Plug(Model::Solvi);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("b.json"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Interface(0).unit()->parameters().wifiName = row.held;
        ASSERT_EQ(Run({"backup", "--device", "1", file}).status, 0);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QJsonObject backup = QJsonDocument::fromJson(f.readAll()).object();
        QJsonObject wifi = backup.value("wifi").toObject();
        wifi["wifi-name"] = row.edited;
        backup["wifi"] = wifi;
        f.resize(0);
        f.write(QJsonDocument(backup).toJson());
        f.close();
        const CliRun restore = Run({"restore", "--device", "2", file});
        EXPECT_EQ(restore.status, 0) << restore.err.toStdString();
        EXPECT_EQ(Interface(1).unit()->parameters().wifiName, row.sent);
    }
}

// A unit may hold a longer name than can be typed. Its backup goes back byte for byte where
// the window sends the name unchecked (a master without router hides it); where the name is
// the user's to edit, the window refuses it, and so does restore: backup says so at once.
TEST_F(CliTest, ABackupOfANameLongerThanATypedOneAgreesWithRestore) {
    const std::string name = "0123456789012345678901234567890123456789";
    struct Row {
        const char* what;
        std::uint8_t mode;
        int restored;
        QString said;  // by backup and restore
    };
    const Row rows[] = {
        {"hidden", protocol::unit::kModeMaster, 0, QString()},
        {"the user's to edit", protocol::unit::kModeSlave, 4,
         "wifi-name: The length of name of Wi-Fi must be 1 - 32 characters"},
    };
    Plug(Model::Solvi);
    Plug(Model::Solvi);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("b.json"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        sim::UnitParameters& held = Interface(0).unit()->parameters();
        held.deviceMode = row.mode;
        held.wifiName = name;
        Interface(1).unit()->parameters().wifiName = "Other";
        const CliRun backup = Run({"backup", "--device", "1", file});
        ASSERT_EQ(backup.status, 0) << backup.err.toStdString();
        EXPECT_EQ(backup.err.isEmpty(), row.said.isEmpty()) << backup.err.toStdString();
        EXPECT_TRUE(backup.err.contains(row.said)) << backup.err.toStdString();
        const CliRun restore = Run({"restore", "--device", "2", file});
        EXPECT_EQ(restore.status, row.restored) << restore.err.toStdString();
        EXPECT_TRUE(restore.err.contains(row.said)) << restore.err.toStdString();
        EXPECT_EQ(Interface(1).unit()->parameters().wifiName, row.restored == 0 ? name : "Other");
    }
}

// A password longer than one can be typed cannot go into a backup whole (a restore checks it as
// typed): backup says so when it writes the file, not the restore that sends it cut.
TEST_F(CliTest, ABackupOfAPasswordLongerThanATypedOneWarns) {
    sim::SimUnit& unit = *Plug(Model::Solvi).unit();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("b.json"));
    for (const std::size_t length : {std::size_t{60}, std::size_t{62}}) {
        SCOPED_TRACE(length);
        unit.parameters().wifiPassword = std::string(length, 'x');
        const CliRun backup = Run({"backup", file});
        ASSERT_EQ(backup.status, 0) << backup.err.toStdString();
        EXPECT_EQ(backup.err.contains("Warning: the unit's Wi-Fi password has 62 characters"),
                  length == 62)
            << backup.err.toStdString();
    }
}

// Texts from the unit and from the air reach the terminal with their control characters
// escaped: an access point cannot send the terminal commands through a scan.
TEST_F(CliTest, TextsFromTheUnitAndTheAirShowTheirControlCharactersEscaped) {
    sim::SimUnit& unit = *Plug(Model::Solvi).unit();
    unit.parameters().wifiName = "Home\x1b[2J";
    unit.parameters().wifiPassword = "pass\\word\x07";
    unit.setSerialNumber(
        "SN\x9b"
        "31m");  // an 8-bit CSI
    // The name also carries a right-to-left override, which a terminal shows as it is.
    const std::string rightToLeft = "\xE2\x80\xAE";  // NOLINT(misc-misleading-bidirectional)
    unit.accessPoints = {R"(+CWLAP:(3,"Evil)"
                         "\x1b]0;owned\x07" +
                         rightToLeft + R"(ten",-58,"a4:2b:b0:5e:11:02",6,-8,0))"};
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("b.json"));
    struct Row {
        QStringList arguments;
        QString shown;
    };
    const Row rows[] = {
        {{"show"},
         R"(  Wi-Fi name: Home\x1b[2J)"
         "\n"},
        {{"show"},
         R"(  Wi-Fi password: pass\\word\x07)"
         "\n"},
        {{"show"}, R"(, serial SN\x9b31m,)"},
        {{"list"}, R"(  SN\x9b31m  )"},
        {{"scan"},
         R"(Evil\x1b]0;owned\x07\u202eten)"
         "\n"},
        {{"backup", file}, R"((serial SN\x9b31m))"},
    };
    for (const Row& row : rows) {
        const CliRun run = Run(row.arguments);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(row.shown)) << run.out.toStdString();
        for (const QChar c : run.out + run.err) {
            EXPECT_TRUE(c == u'\n' || (c >= u' ' && c != u'\x7f' && (c < u'\x80' || c > u'\x9f')))
                << row.arguments.join(' ').toStdString() << ": U+" << std::hex << int{c.unicode()};
        }
    }
}

TEST_F(CliTest, TheWindowsRulesAndMessagesHold) {
    sim::SimInterface& unit = Plug(Model::Solvi);
    struct Refused {
        QString argument;
        QString err;
    };
    const Refused rows[] = {
        {QStringLiteral("wifi-name=") + QString(20, QChar(0x0416)),
         "wifi-name: The length of name of Wi-Fi must be 1 - 32 characters (counted in UTF-8 "
         "bytes: this name has 40)"},
        {QStringLiteral("wifi-password=abc\tdefgh"),
         "wifi-password: The password may contain only Latin letters, digits and symbols"},
        {QStringLiteral("wifi-password=") + QString(61, QLatin1Char('p')),
         "wifi-password: The length of password must be 8 - 60 characters"},
    };
    for (const Refused& row : rows) {
        const CliRun run = Run({"set", row.argument});
        EXPECT_EQ(run.status, 4) << row.argument.toStdString();
        EXPECT_EQ(run.err.trimmed(), row.err);
    }
    EXPECT_TRUE(Changes(0).empty());
    (void)unit;
}

// A password the unit holds goes back as it holds it when the command did not ask for it: one
// longer than the window's box, and one that is not ASCII where "OPEN" greys the box out.
TEST_F(CliTest, AnUnaskedPasswordGoesBackAsTheUnitHoldsIt) {
    struct Case {
        const char* what;
        std::uint8_t mode;
        std::uint8_t security;
        std::string password;
        QString argument;
    };
    const Case cases[] = {
        {"62 characters", protocol::unit::kModeMaster, '3', std::string(62, 'x'),
         QStringLiteral("channel=3")},
        {"not ASCII on a slave after OPEN", protocol::unit::kModeSlave, '0', "p\xE4ssword",
         QStringLiteral("slave-number=3")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        sim::UnitParameters& held = Plug(Model::Solvi).unit()->parameters();
        held.deviceMode = c.mode;
        held.connectionType = protocol::unit::kConnectionWithRouter;
        held.wifiName = "Office";
        held.security = c.security;
        held.wifiPassword = c.password;
        const CliRun run = Run({"set", c.argument});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_EQ(held.wifiPassword, c.password);
        const std::vector<Report> changes = Changes(0);
        EXPECT_TRUE(std::any_of(changes.begin(), changes.end(), [](const Report& r) {
            return r[1] == protocol::Code_Wi_Fi_password;
        }));
    }
}

// A setting the mode does not collect is stored in the unit as asked; one the mode fixes is
// refused before anything is sent.
TEST_F(CliTest, SettingsTheModeDoesNotUseAreStoredOrRefusedNeverFaked) {
    sim::SimInterface& unit = Plug(Model::Solvi);  // a master without router
    const CliRun set = Run({"set", "slave-number=5", "slave-ip=10.0.0.7", "gateway=10.0.0.1"});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    EXPECT_EQ(unit.unit()->parameters().slaveNumber, 4);
    EXPECT_EQ(unit.unit()->parameters().slaveIp, (sim::Address{10, 0, 0, 7}));
    const QJsonObject wifi = Json(Run({"show", "--json"})).value("wifi").toObject();
    EXPECT_EQ(wifi.value("slave-number"), 5);
    EXPECT_EQ(wifi.value("slave-ip"), "10.0.0.7");

    unit.clearWrites();
    const CliRun fixed = Run({"set", "master-ip=10.0.0.2"});
    EXPECT_EQ(fixed.status, 4);
    EXPECT_EQ(fixed.err.trimmed(),
              "nothing was sent: master-ip: asked for 10.0.0.2, but with mode=master "
              "connection=without-router the unit would hold "
              "192.168.4.1");
    EXPECT_TRUE(Changes(0).empty());
}

struct ModeCase {
    const char* what;
    Model model;
    std::function<void(sim::UnitParameters&)> source;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.what;
}

class RestoreModes : public CliTest, public ::testing::WithParamInterface<ModeCase> {};

// Every field differs between the two units; after the restore the target shows what the
// source shows.
TEST_P(RestoreModes, TheTargetHoldsEveryValueOfTheBackup) {
    const ModeCase& c = GetParam();
    sim::UnitParameters& source = Plug(c.model).unit()->parameters();
    source.slaveNumber = 8;
    source.slaveIpMode = 0;
    source.slaveIp = {10, 9, 8, 7};
    source.channel = 2;
    source.security = '0';
    source.wifiPassword = "hidden-pw";
    source.gateway = {10, 9, 8, 1};
    source.offAvailable = 0;
    source.direction = 1;
    source.humidityScenario = 1;
    source.humidityThreshold = 45;
    source.voltageThreshold = 95;
    source.relaySensor = 1;
    source.nightTimer = 3600;
    source.partyTimer = 7200;
    source.offDelayTimer = 600;
    c.source(source);
    Plug(c.model);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("b.json"));
    ASSERT_EQ(Run({"backup", "--device", "1", file}).status, 0);
    const CliRun restore = Run({"restore", "--device", "2", file});
    ASSERT_EQ(restore.status, 0) << restore.err.toStdString() << restore.out.toStdString();

    QJsonObject first = Json(Run({"show", "--json", "--device", "1"}));
    QJsonObject second = Json(Run({"show", "--json", "--device", "2"}));
    for (QJsonObject* shown : {&first, &second}) {
        shown->remove("unit");
        shown->remove("states");
    }
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(QJsonDocument(second).toJson().toStdString(),
              QJsonDocument(first).toJson().toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, RestoreModes,
    ::testing::Values(ModeCase{"master without router", Model::Solvi, [](sim::UnitParameters&) {}},
                      ModeCase{"master with router", Model::Pargo,
                               [](sim::UnitParameters& p) {
                                   p.connectionType = protocol::unit::kConnectionWithRouter;
                                   p.wifiName = "Home";
                                   p.masterIp = {10, 9, 8, 2};
                               }},
                      ModeCase{"slave with router", Model::Solvi,
                               [](sim::UnitParameters& p) {
                                   p.deviceMode = protocol::unit::kModeSlave;
                                   p.connectionType = protocol::unit::kConnectionWithRouter;
                                   p.wifiName = "Office";
                                   p.masterIp = {10, 9, 8, 2};
                               }},
                      ModeCase{"slave of a master's network", Model::Pargo,
                               [](sim::UnitParameters& p) {
                                   p.deviceMode = protocol::unit::kModeSlave;
                                   p.connectionType = protocol::unit::kConnectionWithRouter;
                                   p.slaveIpMode = protocol::unit::kSlaveIpDhcp;
                                   p.wifiName = "Kelmair-0042";
                               }}));

TEST_F(CliTest, AFilterResetTheUnitDidNotTakeFails) {
    Plug(Model::Solvi).unit()->ignored.insert(protocol::Code_Filter_reset);
    const CliRun run = Run({"reset-filter"});
    EXPECT_EQ(run.status, 4);
    EXPECT_TRUE(run.err.startsWith(
        "1. Aldrun Quillo Solvi did not reset its filter timer: it still reads 3 days 05:07:"))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

// A command whose writes did not go out never ends as done: it says what could not be written
// and ends with status 3, even where a read-back would not tell (a Wi-Fi module left off, a
// setup bracket left open, a scan's pass-through left on).
TEST_F(CliTest, WritesThatDidNotGoOutAreNeverToldAsDone) {
    struct Case {
        const char* what;
        QStringList arguments;
        std::set<std::uint8_t> unwritable;
        int afterMs;  // the fault starts this long after the command, 0 at once
        QString err;  // what the command tells (a restore in its result line)
    };
    const Case cases[] = {
        {"factory reset",
         {"factory-reset", "--yes"},
         {protocol::Code_Factory_reset},
         0,
         "The factory reset could not be written to 1. Aldrun Quillo Solvi"},
        {"Wi-Fi module restart after a set",
         {"set", "channel=3"},
         {protocol::Code_Wi_Fi_module},
         0,
         "not every write could be sent"},
        {"setup bracket of a fan write",
         {"set", "night-timer=01:00"},
         {protocol::Code_Setup_mode},
         0,
         "not every write could be sent"},
        {"restore",
         {"restore", "RESTORE"},
         {protocol::Code_Wi_Fi_module},
         0,
         ": failed: not every write could be sent"},
        {"filter reset",
         {"reset-filter"},
         {protocol::Code_Filter_reset},
         0,
         "The filter timer reset could not be written to 1. Aldrun Quillo Solvi"},
        // The lines have come; the closing sequence fails.
        {"scan's closing sequence",
         {"scan"},
         {protocol::Code_AT_mode, protocol::Code_Wi_Fi_module},
         800,
         "1. Aldrun Quillo Solvi: its Wi-Fi module could not be switched back"},
    };
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("b.json"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        sim::SimInterface& unit = Plug(Model::Solvi);
        unit.unit()->parameters().channel = 9;
        QStringList arguments = c.arguments;
        if (arguments.contains(QStringLiteral("RESTORE"))) {
            ASSERT_EQ(Run({"backup", file}).status, 0);
            arguments.replace(1, file);
        }
        sim::Faults faults;
        faults.unwritableCodes = c.unwritable;
        QTimer later;
        later.setSingleShot(true);
        QObject::connect(&later, &QTimer::timeout, [&] { unit.setFaults(faults); });
        if (c.afterMs == 0) {
            unit.setFaults(faults);
        } else {
            later.start(c.afterMs);
        }
        const CliRun run = Run(arguments);
        EXPECT_EQ(run.status, 3) << run.out.toStdString() << run.err.toStdString();
        const QString told = arguments.front() == u"restore" ? run.out : run.err;
        EXPECT_TRUE(told.contains(c.err)) << told.toStdString();
        EXPECT_FALSE(run.out.contains(QStringLiteral("restored on")));
    }
}

TEST_F(CliTest, AScanWhoseUnitIsUnpluggedSaysSo) {
    sim::SimInterface& unit = Plug(Model::Solvi);
    unit.unit()->accessPoints.clear();  // the module lists nothing before the unplug
    QTimer::singleShot(300, [this, &unit] { backend_->unplug(unit.path()); });
    const CliRun run = Run({"scan"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err.trimmed(),
              "1. Aldrun Quillo Solvi was unplugged during the scan; its Wi-Fi module could not "
              "be switched back and may stay in pass-through mode; scan again, or switch the unit "
              "off and on.");
}

// Unplugged while the monitor runs, with a long time-out: the monitor ends at once and says why.
TEST_F(CliTest, AMonitorWhoseUnitIsUnpluggedEndsAtOnce) {
    sim::SimInterface& unit = Plug(Model::Solvi);
    sim::Faults faults;
    faults.answerDelay = std::chrono::milliseconds(300);  // answers are on their way at the unplug
    unit.setFaults(faults);
    QTimer::singleShot(1650, [this, &unit] { backend_->unplug(unit.path()); });
    QElapsedTimer clock;
    clock.start();
    const CliRun run = Run({"monitor", "--count", "100", "--timeout", "10000"});
    EXPECT_LT(clock.elapsed(), 2650) << "it waited for the time-out";
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(
        run.err.startsWith("1. Aldrun Quillo Solvi was unplugged while it was asked for the "))
        << run.err.toStdString();
}

// A question that cannot be written is not told as one the unit left unanswered.
TEST_F(CliTest, ARequestThatCannotBeWrittenIsToldAsSuch) {
    sim::SimInterface& unit = Plug(Model::Solvi);
    const CliRun good = Run({"show"});
    ASSERT_EQ(good.status, 0);
    sim::Faults faults;
    faults.writeErrors = 1000;
    unit.setFaults(faults);
    const CliRun run = Run({"show"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err.trimmed(),
              "1. Aldrun Quillo Solvi could not be asked for the device mode (code 5): the "
              "request could not be written.");
}

TEST(FilterTimeText, CountsOneDayAsOne) {
    EXPECT_EQ(FilterTimeText(86400 + 9), "1 day 00:00:09");
    EXPECT_EQ(FilterTimeText(2 * 86400), "2 days 00:00:00");
}

}  // namespace
}  // namespace quillo::cli
