// quilloctl's commands end to end over simulated units: what they print, their exit status,
// and what reached the units.

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <string>

#include "cli_fixture.h"
#include "protocol/unit_contract.h"
#include "protocol/wifi_scan.h"

namespace quillo::cli {
namespace {

using sim::Model;
constexpr Model kSolvi = Model::Solvi;
constexpr Model kPargo = Model::Pargo;

struct CommandCase {
    std::vector<Model> units;
    QStringList arguments;
    int status;
    QStringList out;  // patterns the output must match, in order
    QString err;      // a text standard error must hold
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.arguments.join(QLatin1Char(' ')).toStdString();
}

class CommandTable : public CliTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTable, PrintsAndEndsAsExpected) {
    const CommandCase& c = GetParam();
    for (const Model model : c.units) {
        Plug(model);
    }
    const CliRun run = Run(c.arguments);
    EXPECT_EQ(run.status, c.status) << run.err.toStdString();
    qsizetype from = 0;
    for (const QString& pattern : c.out) {
        const QRegularExpressionMatch match = QRegularExpression(pattern).match(run.out, from);
        ASSERT_TRUE(match.hasMatch()) << pattern.toStdString() << " not in\n"
                                      << run.out.mid(from).toStdString();
        from = match.capturedEnd();
    }
    EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
}

const QString kSerial = QStringLiteral("0036003B5346500B203738[0-9A-F]{2}");

INSTANTIATE_TEST_SUITE_P(
    BothModels, CommandTable,
    ::testing::Values(
        CommandCase{{kSolvi, kPargo},
                    {"list"},
                    0,
                    {"^1  Solvi  " + kSerial + "  \\S+\n", "2  Pargo  " + kSerial + "  \\S+\n$"},
                    ""},
        CommandCase{
            {kPargo},
            {"list", "--json"},
            0,
            {R"("index": 1,)", R"("model": "Pargo",)", R"("path": ")", R"("serial": ")" + kSerial},
            ""},
        CommandCase{{}, {"list"}, 2, {"^$"}, "No Aldrun Quillo unit is attached."},
        CommandCase{
            {kSolvi},
            {"show"},
            0,
            {"^1. Aldrun Quillo Solvi, serial " + kSerial, "\nWi-Fi\n", "  Device mode: master\n",
             "  Connection: without-router\n", "  Wi-Fi name: Kelmair-",
             "  Type of security: wpa2-psk\n", "  Wi-Fi channel: 6\n", "\nFan\n",
             "  Direction: supply\n", "  Humidity threshold: 60 %RH\n",
             "  0 - 10V sensor threshold: 50 %\n", "  Turn-off delay timer: 00:30\n",
             "  Night mode timer: 08:00\n", "  Party mode timer: 04:00\n", "States\n",
             "  Wi-Fi: connected\n", "  Filter run time: 3 days 05:07:1"},
            ""},
        CommandCase{{kPargo},
                    {"show"},
                    0,
                    {"Aldrun Quillo Pargo", "  Humidity control scenario: boost-exhaust\n"},
                    ""},
        CommandCase{
            {kSolvi, kPargo},
            {"show", "--json", "--device", "2"},
            0,
            {R"("fan": \{)", R"("humidity-scenario": "boost-exhaust")", R"("night-timer": "08:00")",
             R"("states": \{)", R"("unit": \{)", R"("model": "Pargo")", R"("wifi": \{)",
             R"("channel": 6,)", R"("mode": "master")"},
            ""},
        CommandCase{{kSolvi, kPargo}, {"show"}, 2, {"^$"}, "Several units are attached"},
        CommandCase{{kSolvi}, {"show", "--device", "2"}, 2, {"^$"}, "There is no unit 2"},
        CommandCase{{kSolvi}, {"show", "--path", "nowhere"}, 2, {}, "No unit is attached at"},
        CommandCase{{kSolvi}, {"show", "--serial", "X1"}, 2, {}, "serial number X1"},
        CommandCase{{kSolvi}, {"scan"}, 0, {"^HomeNet\nKelmair-7F21\nCafe Guest\n$"}, ""},
        CommandCase{{kPargo},
                    {"scan", "--json"},
                    0,
                    {R"("line": "\+CWLAP:\(3,\\"HomeNet)", R"("name": "HomeNet")",
                     R"("name": "Cafe Guest")"},
                    ""},
        CommandCase{{kSolvi},
                    {"monitor", "--count", "2"},
                    0,
                    {"^\\d\\d:\\d\\d:\\d\\d  Wi-Fi: connected  Master: (dis)?connected  "
                     "Filter run time: 3 days 05:07:\\d\\d\n",
                     "Wi-Fi: connected.*\n$"},
                    ""},
        CommandCase{{kPargo},
                    {"monitor", "--json", "--count", "1"},
                    0,
                    {R"(^\{"filter-seconds":\d+,"filter-time":"3 days 05:07:\d\d","master":")"
                     R"((dis)?connected","time":"[^"]+","wifi":"connected"\}\n$)"},
                    ""},
        CommandCase{{kSolvi}, {"reset-filter"}, 0, {"^Filter timer reset on 1. Aldrun"}, ""},
        CommandCase{{kSolvi}, {"set", "channel=11"}, 0, {"^Set on 1. Aldrun Quillo Solvi.\n$"}, ""},
        CommandCase{{kSolvi}, {"backup"}, 1, {}, "Usage: quilloctl backup FILE"},
        CommandCase{{kSolvi}, {"frobnicate"}, 1, {}, "frobnicate: no such command"},
        CommandCase{{kSolvi}, {"list", "--all"}, 1, {}, "--all does not apply to list"},
        CommandCase{{kSolvi}, {"show", "--device", "x"}, 1, {}, "--device \"x\": expected"},
        CommandCase{{kSolvi},
                    {"monitor", "--count", "-3"},
                    1,
                    {},
                    "--count \"-3\": expected a number of lines"},
        CommandCase{
            {}, {"--help"}, 0, {"\n  monitor \\[--json\\] \\[--count N\\]  the states"}, ""},
        CommandCase{{},
                    {"help", "set"},
                    0,
                    {"password of printable ASCII: 8 to 60 characters for a master without "
                     "router\nwhose security is not open, 0 to 60 in every other case"},
                    ""},
        CommandCase{{},
                    {"help", "reset-filter"},
                    0,
                    {"fails\n\\(status 4\\) when the timer did not go back to zero"},
                    ""},
        CommandCase{{kSolvi}, {"show", "--timeout", "0"}, 1, {}, "--timeout \"0\": expected"}));

TEST_F(CliTest, SetChangesTheNamedSettingsAndNothingElse) {
    sim::SimInterface& unit = Plug(kSolvi);
    const sim::UnitParameters before = unit.unit()->parameters();
    const CliRun run = Run({"set", "channel=11", "security=wpa-psk", "wifi-password=abcdefgh12",
                            "night-timer=9:45", "voltage-sensor=on"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    sim::UnitParameters expected = before;
    expected.channel = 11;
    expected.security = '2';
    expected.wifiPassword = "abcdefgh12";
    expected.nightTimer = 9 * 3600 + 45 * 60;
    expected.voltageSensor = 1;
    const sim::UnitParameters& after = unit.unit()->parameters();
    EXPECT_EQ(after.channel, expected.channel);
    EXPECT_EQ(after.security, expected.security);
    EXPECT_EQ(after.wifiPassword, expected.wifiPassword);
    EXPECT_EQ(after.nightTimer, expected.nightTimer);
    EXPECT_EQ(after.voltageSensor, expected.voltageSensor);
    EXPECT_EQ(after.wifiName, before.wifiName);
    EXPECT_EQ(after.masterIp, before.masterIp);
    EXPECT_EQ(after.partyTimer, before.partyTimer);
    EXPECT_EQ(after.humidityThreshold, before.humidityThreshold);
    EXPECT_FALSE(unit.unit()->setupMode());
}

struct Refusal {
    Model model;
    QStringList arguments;
    int status;
    QString err;
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.arguments.join(QLatin1Char(' ')).toStdString();
}

class SetRefusals : public CliTest, public ::testing::WithParamInterface<Refusal> {};

// Refused keys, values and combinations: the key named, the window's text where it has one,
// and nothing but read requests sent.
TEST_P(SetRefusals, NameTheKeyAndSendNothing) {
    const Refusal& r = GetParam();
    Plug(r.model);
    const CliRun run = Run(r.arguments);
    EXPECT_EQ(run.status, r.status);
    EXPECT_EQ(run.err.trimmed(), r.err);
    EXPECT_TRUE(Changes(0).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, SetRefusals,
    ::testing::Values(
        Refusal{kSolvi,
                {"set", "speed=3"},
                4,
                "speed: unknown setting ('quilloctl help set' lists the keys)"},
        Refusal{kSolvi, {"set", "channel"}, 1, "channel: expected KEY=VALUE"},
        Refusal{kSolvi, {"set", "channel=14"}, 4, "channel: expected a whole number from 1 to 13"},
        Refusal{kSolvi, {"set", "channel=six"}, 4, "channel: expected a whole number from 1 to 13"},
        Refusal{kSolvi,
                {"set", "humidity-threshold=63"},
                4,
                "humidity-threshold: expected a multiple of 5 from 40 to 80"},
        Refusal{kSolvi,
                {"set", "night-timer=24:00"},
                4,
                "night-timer: expected hours and minutes as hh:mm, 00:00 to 23:59"},
        Refusal{kSolvi,
                {"set", "master-ip=10.0.0.256"},
                4,
                "master-ip: expected an IPv4 address such as 192.168.1.20"},
        Refusal{kSolvi, {"set", "mode=boss"}, 4, "mode: expected one of: master, slave"},
        Refusal{kSolvi, {"set", "relay-sensor=maybe"}, 4, "relay-sensor: expected on or off"},
        Refusal{
            kPargo, {"set", "direction=exhaust"}, 4, "direction: not a setting of a Pargo unit"},
        Refusal{kSolvi,
                {"set", "humidity-scenario=boost-current"},
                4,
                "humidity-scenario: not a setting of a Solvi unit"},
        Refusal{kSolvi,
                {"set", "wifi-name=" + QString(33, QLatin1Char('n'))},
                4,
                "wifi-name: The length of name of Wi-Fi must be 1 - 32 characters"},
        // The window's rules for the whole page: a master without router and with security
        // needs a password of 8, a network to join needs a name.
        Refusal{kSolvi,
                {"set", "wifi-password=short"},
                4,
                "wifi-password: The length of password must be 8 - 60 characters"},
        Refusal{kSolvi,
                {"set", "connection=with-router", "wifi-name="},
                4,
                "wifi-name: The length of name of Wi-Fi must be 1 - 32 characters"},
        Refusal{kPargo,
                {"set", "mode=slave", "wifi-name="},
                4,
                "wifi-name: The length of name of Wi-Fi must be 1 - 32 characters"}));

TEST_F(CliTest, AnOpenNetworkNeedsNoPassword) {
    Plug(kSolvi);
    const CliRun run = Run({"set", "security=open", "wifi-password="});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(Interface(0).unit()->parameters().security, '0');
}

QJsonObject ShowJson(CliTest& test, const CliRun& run) {
    (void)test;
    QJsonObject document = QJsonDocument::fromJson(run.out.toUtf8()).object();
    document.remove(QStringLiteral("unit"));
    document.remove(QStringLiteral("states"));
    return document;
}

TEST_F(CliTest, ABackupRestoredToATwinGivesTheSameSettings) {
    Plug(kSolvi);
    Plug(kSolvi);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("solvi.json"));
    ASSERT_EQ(Run({"set", "--device", "1", "mode=slave", "connection=with-router",
                   "wifi-name=Office", "wifi-password=pass", "slave-number=7",
                   "slave-ip-mode=static", "slave-ip=10.1.2.3", "master-ip=10.1.2.1",
                   "direction=exhaust", "humidity-threshold=75", "party-timer=01:15"})
                  .status,
              0);
    const CliRun backup = Run({"backup", file, "--device", "1"});
    ASSERT_EQ(backup.status, 0) << backup.err.toStdString();
    EXPECT_TRUE(backup.out.startsWith("Saved the settings of 1. Aldrun Quillo Solvi (serial "));

    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QJsonObject document = QJsonDocument::fromJson(saved.readAll()).object();
    EXPECT_EQ(document.value("format"), "quilloctl-backup");
    EXPECT_EQ(document.value("version"), 1);
    EXPECT_EQ(document.value("model"), "Solvi");
    EXPECT_EQ(document.value("serial"),
              QString::fromStdString(Interface(0).unit()->serialNumber()));
    EXPECT_TRUE(document.value("date").toString().endsWith(QLatin1Char('Z')));

    const CliRun restore = Run({"restore", file, "--device", "2"});
    EXPECT_EQ(restore.status, 0) << restore.err.toStdString();
    EXPECT_TRUE(restore.out.startsWith("2. Aldrun Quillo Solvi  ")) << restore.out.toStdString();
    EXPECT_TRUE(restore.out.endsWith(": restored\n"));

    const QJsonObject first = ShowJson(*this, Run({"show", "--json", "--device", "1"}));
    const QJsonObject second = ShowJson(*this, Run({"show", "--json", "--device", "2"}));
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.value("wifi").toObject().value("wifi-name"), "Office");
    EXPECT_EQ(first.value("wifi").toObject().value("slave-number"), 7);
}

TEST_F(CliTest, ABackupOfTheOtherModelIsRefusedWithNothingSent) {
    Plug(kSolvi);
    Plug(kPargo);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("solvi.json"));
    ASSERT_EQ(Run({"backup", file, "--device", "1"}).status, 0);
    Interface(0).clearWrites();
    Interface(1).clearWrites();
    const CliRun run = Run({"restore", file, "--device", "2"});
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.err.trimmed(),
              "The backup is of a Solvi unit; 2. Aldrun Quillo Pargo is a "
              "Pargo. Nothing was sent.");
    EXPECT_EQ(AllWrites(), 0U);
}

// Three units of a model; the second is unplugged while the first is being read back.
TEST_F(CliTest, RestoreAllReportsEachUnitAndFailsForOneUnplugged) {
    Plug(kPargo);
    Plug(kPargo);
    Plug(kPargo);
    Plug(kSolvi);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pargo.json"));
    ASSERT_EQ(Run({"set", "--device", "1", "humidity-scenario=boost-current", "channel=3"}).status,
              0);
    ASSERT_EQ(Run({"backup", file, "--device", "1"}).status, 0);
    for (int i = 0; i < 4; ++i) {
        Interface(i).clearWrites();
    }
    const std::string second = Interface(1).path();
    QTimer unplug;
    QObject::connect(&unplug, &QTimer::timeout, [&] {
        // The fan write's closing setup report marks the first unit's writes as done.
        const auto writes = Interface(0).writes();
        const bool written = std::any_of(writes.begin(), writes.end(), [](const Report& r) {
            return r[1] == protocol::Code_Humidity_scenario;
        });
        if (written && backend_->find(second) != nullptr) {
            backend_->unplug(second);
            unplug.stop();
        }
    });
    unplug.start(1);
    const CliRun run = Run({"restore", file, "--all", "--timeout", "300"});
    EXPECT_EQ(run.status, 3);
    const QStringList lines = run.out.trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("1. Aldrun Quillo Pargo ") && lines[0].endsWith(": restored"));
    EXPECT_TRUE(lines[1].startsWith("2. Aldrun Quillo Pargo ") && lines[1].contains(": failed: "))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("3. Aldrun Quillo Pargo ") && lines[2].endsWith(": restored"));
    EXPECT_EQ(backend_->interface(1).unit()->parameters().channel, 3);  // the third unit
    EXPECT_EQ(backend_->interface(2).writes().size(), 0U);              // the Solvi
}

TEST_F(CliTest, AUnitThatNeverAnswersEndsWithStatus3) {
    sim::SimInterface& unit = Plug(kSolvi);
    unit.unit()->unanswered = {protocol::Code_Wi_Fi_channel};
    QElapsedTimer clock;
    clock.start();
    const CliRun run = Run({"show", "--timeout", "200"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err.trimmed(),
              "1. Aldrun Quillo Solvi did not answer for the Wi-Fi channel "
              "(code 14) within 200 ms.");
    // Bounded by the one unanswered code, not by a hang (generous for a loaded machine).
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(CliTest, AScanEndsWithTheClosingSequenceAlsoWhenInterruptedOrUnanswered) {
    const protocol::Sequence closing = protocol::scanClosingSequence();
    for (const bool interrupt : {true, false}) {
        SetUp();
        sim::SimInterface& unit = Plug(kSolvi);
        unit.unit()->accessPoints.clear();  // the module never lists anything
        if (interrupt) {
            QTimer::singleShot(300, [] { RequestInterrupt(); });
        }
        const CliRun run = Run({"scan"});
        EXPECT_EQ(run.status, interrupt ? 130 : 3);
        const std::vector<Report> changes = Changes(0);
        ASSERT_GE(changes.size(), 3U);
        const Report* last = &changes[changes.size() - 3];
        EXPECT_EQ(last[0][1], protocol::Code_AT_mode);
        EXPECT_EQ(last[0][3], protocol::unit::kPassThroughOff);
        EXPECT_EQ(last[1][1], protocol::Code_Wi_Fi_module);
        EXPECT_EQ(last[1][3], protocol::unit::kModuleOff);
        EXPECT_EQ(last[2][1], protocol::Code_Wi_Fi_module);
        EXPECT_EQ(last[2][3], protocol::unit::kModuleOn);
        EXPECT_FALSE(unit.unit()->atMode());
        ClearInterrupt();
    }
}

TEST_F(CliTest, FactoryResetAsksOnATerminalAndNeedsYesElsewhere) {
    sim::SimInterface& unit = Plug(kSolvi);
    unit.unit()->parameters().channel = 9;
    EXPECT_EQ(Run({"factory-reset"}).status, 1);
    const CliRun declined = Run({"factory-reset"}, true, QStringLiteral("n"));
    EXPECT_EQ(declined.status, 1);
    EXPECT_TRUE(declined.out.contains("Restore the default settings of 1. Aldrun Quillo Solvi"));
    EXPECT_TRUE(Changes(0).empty());
    EXPECT_EQ(unit.unit()->parameters().channel, 9);

    EXPECT_EQ(Run({"factory-reset"}, true, QStringLiteral("y")).status, 0);
    EXPECT_EQ(unit.unit()->parameters().channel, 6);
    unit.unit()->parameters().channel = 9;
    EXPECT_EQ(Run({"factory-reset", "--yes"}).status, 0);
    EXPECT_EQ(unit.unit()->parameters().channel, 6);
}

}  // namespace
}  // namespace quillo::cli
