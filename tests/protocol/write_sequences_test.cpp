#include "protocol/write_sequences.h"

#include <gtest/gtest.h>

#include "protocol/unit_contract.h"
#include "test_support.h"

namespace quillo::protocol {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::padded;
using test::RecordingDevice;

std::u16string b(std::initializer_list<std::uint8_t> bytes) {
    std::u16string text;
    for (const std::uint8_t byte : bytes) {
        text += static_cast<char16_t>(byte);
    }
    return text;
}

// What a read chain leaves behind: every field set, so that a test sees which ones a write
// changes.
DeviceSettings readSettings() {
    DeviceSettings s;
    s.Device_mode = 0;
    s.Connection_type = 1;
    s.Wi_Fi_name = u"OldNet";
    s.Wi_Fi_password = u"oldpassword";
    s.Slave_number = 4;
    s.Slave_IP_mode = 0;
    s.Slave_IP = IpOctets(10, 0, 0, 5);
    s.Master_IP = IpOctets(10, 0, 0, 1);
    s.Wi_Fi_channel = 6;
    s.Wi_Fi_security = u'3';
    s.Gateway = IpOctets(10, 0, 0, 254);
    return s;
}

WifiControls controls(ModeChoice mode, RouterChoice router) {
    WifiControls c;
    c.mode = mode;
    c.router = router;
    c.name = u"HomeNet";
    c.password = u"secret99";
    c.masterIp = IpOctets(192, 168, 1, 2);
    c.slaveIp = IpOctets(192, 168, 1, 50);
    c.gateway = IpOctets(192, 168, 1, 1);
    c.channelItemText = u"11";
    c.slaveNumberItemText = u"32";
    c.securityItem = 2;
    c.slaveIpModeItem = 1;
    return c;
}

// The eleven parameter payloads of a Wi-Fi write, in the order sent.
struct WifiPayloads {
    std::u16string slaveNumber, slaveIpMode, slaveIp, mode, connection, name, password, masterIp,
        channel, security, gateway;
};

Sequence wifiSequence(const WifiPayloads& p) {
    return {
        Step::send(Code_Setup_mode, b({1})),
        Step::send(Code_Slave_number, p.slaveNumber),
        Step::send(Code_Slave_IP_mode, p.slaveIpMode),
        Step::send(Code_Slave_IP, p.slaveIp),
        Step::send(Code_Device_mode, p.mode),
        Step::send(Code_Connection_type, p.connection),
        Step::send(Code_Wi_Fi_name, p.name),
        Step::send(Code_Wi_Fi_password, p.password),
        Step::send(Code_Master_IP, p.masterIp),
        Step::send(Code_Wi_Fi_channel, p.channel),
        Step::send(Code_Wi_Fi_security, p.security),
        Step::send(Code_Gateway, p.gateway),
        Step::send(Code_Setup_mode, b({0})),
        Step::wait(100ms),
        Step::send(Code_Wi_Fi_module, b({0})),
        Step::wait(250ms),
        Step::send(Code_Wi_Fi_module, b({1})),
    };
}

TEST(WifiWrite, EachModeSendsItsFieldsAndKeepsTheOthers) {
    struct Case {
        const char* what;
        WifiControls controls;
        DeviceSettings current;
        WifiPayloads sent;
    };
    WifiControls openMaster = controls(ModeChoice::Master, RouterChoice::Without);
    openMaster.securityItem = 0;
    openMaster.password = u"";
    openMaster.name = u"";
    WifiControls noSecurityItem = controls(ModeChoice::Master, RouterChoice::Without);
    noSecurityItem.securityItem = -1;
    WifiControls dhcpSlave = controls(ModeChoice::Slave, RouterChoice::With);
    dhcpSlave.slaveIpModeItem = 0;
    dhcpSlave.slaveNumberItemText = u"1";
    WifiControls noAddressModeItem = controls(ModeChoice::Slave, RouterChoice::With);
    noAddressModeItem.slaveIpModeItem = -1;
    const std::u16string gateway = b({192, 168, 1, 1});

    const Case cases[] = {
        {"master with router right after start-up",
         controls(ModeChoice::Master, RouterChoice::With),
         DeviceSettings{},
         {b({0}), b({0}), u"", b({1}), b({1}), u"HomeNet", u"secret99", b({192, 168, 1, 2}), b({0}),
          b({0}), gateway}},
        {"master with router after a read",
         controls(ModeChoice::Master, RouterChoice::With),
         readSettings(),
         {b({4}), b({0}), b({10, 0, 0, 5}), b({1}), b({1}), u"HomeNet", u"secret99",
          b({192, 168, 1, 2}), b({6}), u"3", gateway}},
        {"master without router",
         controls(ModeChoice::Master, RouterChoice::Without),
         readSettings(),
         {b({4}), b({0}), b({10, 0, 0, 5}), b({1}), b({2}), u"HomeNet", u"secret99",
          b({0xC0, 0xA8, 0x04, 0x01}), b({11}), u"3", gateway}},
        {"open master without router, empty name and password",
         openMaster,
         readSettings(),
         {b({4}), b({0}), b({10, 0, 0, 5}), b({1}), b({2}), u"", u"", b({0xC0, 0xA8, 0x04, 0x01}),
          b({11}), u"0", gateway}},
        {"master without router, no security item",
         noSecurityItem,
         readSettings(),
         {b({4}), b({0}), b({10, 0, 0, 5}), b({1}), b({2}), u"HomeNet", u"secret99",
          b({0xC0, 0xA8, 0x04, 0x01}), b({11}), u"3", gateway}},
        {"slave without router",
         controls(ModeChoice::Slave, RouterChoice::Without),
         readSettings(),
         {b({31}), b({1}), b({192, 168, 1, 50}), b({0}), b({1}), u"HomeNet", u"secret99",
          b({0xC0, 0xA8, 0x04, 0x01}), b({6}), u"3", gateway}},
        {"slave with router, static",
         controls(ModeChoice::Slave, RouterChoice::With),
         DeviceSettings{},
         {b({31}), b({0}), b({192, 168, 1, 50}), b({0}), b({1}), u"HomeNet", u"secret99",
          b({192, 168, 1, 2}), b({0}), b({0}), gateway}},
        {"slave with router, DHCP",
         dhcpSlave,
         readSettings(),
         {b({0}), b({1}), b({192, 168, 1, 50}), b({0}), b({1}), u"HomeNet", u"secret99",
          b({192, 168, 1, 2}), b({6}), u"3", gateway}},
        {"slave with router, no address mode item",
         noAddressModeItem,
         [] {
             DeviceSettings s = readSettings();
             s.Slave_IP_mode = 1;
             return s;
         }(),
         {b({31}), b({1}), b({192, 168, 1, 50}), b({0}), b({1}), u"HomeNet", u"secret99",
          b({192, 168, 1, 2}), b({6}), u"3", gateway}},
        {"no mode checked",
         controls(ModeChoice::None, RouterChoice::With),
         readSettings(),
         {b({4}), b({0}), b({10, 0, 0, 5}), b({0}), b({1}), u"HomeNet", u"secret99",
          b({10, 0, 0, 1}), b({6}), u"3", gateway}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WifiWrite write = buildWifiWrite(c.controls, c.current);
        EXPECT_EQ(write.outcome, WriteOutcome::Ok);
        EXPECT_EQ(write.messageId, 0);
        EXPECT_EQ(write.steps, wifiSequence(c.sent));
    }
}

TEST(WifiWrite, ReadValuesGoBackUnchangedExceptTheMasterAddressWithoutRouter) {
    // A master without router as read: its master address on the unit was something else.
    DeviceSettings read = readSettings();
    read.Device_mode = 1;
    read.Connection_type = 2;
    read.Wi_Fi_security = u'4';
    WifiControls screen = controls(ModeChoice::Master, RouterChoice::Without);
    screen.name = read.Wi_Fi_name;
    screen.password = read.Wi_Fi_password;
    screen.masterIp = read.Master_IP;
    screen.slaveIp = read.Slave_IP;
    screen.gateway = read.Gateway;
    screen.channelItemText = u"6";
    screen.securityItem = 3;
    screen.slaveNumberItemText = u"5";
    screen.slaveIpModeItem = 1;

    const WifiWrite write = buildWifiWrite(screen, read);
    DeviceSettings expected = read;
    expected.Master_IP = unit::kMasterAddressWithoutRouter;
    EXPECT_EQ(write.settings, expected);
    EXPECT_EQ(write.outcome, WriteOutcome::Ok);
}

TEST(WifiWrite, FailedChecksRefuseButKeepTheCollectedValues) {
    struct Case {
        const char* what;
        WifiControls controls;
        int message;
    };
    WifiControls shortPassword = controls(ModeChoice::Master, RouterChoice::Without);
    shortPassword.password = u"1234567";
    WifiControls shortPasswordNoSecurity = shortPassword;
    shortPasswordNoSecurity.securityItem = -1;
    WifiControls noNameRouter = controls(ModeChoice::Master, RouterChoice::With);
    noNameRouter.name = u"";
    noNameRouter.password = u"";  // never checked with a router
    WifiControls noNameSlave = controls(ModeChoice::Slave, RouterChoice::Without);
    noNameSlave.name = u"";
    const Case cases[] = {
        {"WPA2 password of seven characters", shortPassword, kMessagePasswordLength},
        {"short password, no security item", shortPasswordNoSecurity, kMessagePasswordLength},
        {"master with router, empty name", noNameRouter, kMessageNameLength},
        {"slave, empty name", noNameSlave, kMessageNameLength},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WifiWrite write = buildWifiWrite(c.controls, readSettings());
        EXPECT_EQ(write.outcome, WriteOutcome::Refused);
        EXPECT_EQ(write.messageId, c.message);
        EXPECT_TRUE(write.steps.empty());
        EXPECT_EQ(write.settings.Wi_Fi_name, c.controls.name);
        EXPECT_EQ(write.settings.Wi_Fi_password, c.controls.password);
        EXPECT_EQ(write.settings.Gateway, c.controls.gateway);
    }
    const WifiWrite refused = buildWifiWrite(shortPassword, readSettings());
    EXPECT_EQ(refused.settings.Wi_Fi_channel, 11);
    EXPECT_EQ(refused.settings.Wi_Fi_security, u'3');
    EXPECT_EQ(refused.settings.Connection_type, 2);
}

// Names go out as UTF-8 (or unchanged as read) and may take 32 bytes; passwords must be
// printable ASCII. Both texts are sent in every mode, so every mode checks them.
TEST(WifiWrite, TextsGoOutAsBytesTheNetworkTakes) {
    const auto utf8 = [](std::string_view text) {
        std::u16string bytes;
        for (const char c : text) {
            bytes += static_cast<char16_t>(static_cast<std::uint8_t>(c));
        }
        return bytes;
    };
    struct Case {
        const char* what;
        ModeChoice mode;
        RouterChoice router;
        std::u16string name;
        std::vector<std::uint8_t> nameReadBytes;
        std::u16string password;
        int message;              // 0: sent
        std::u16string sentName;  // the name's bytes, one character each
    };
    const std::u16string latin1 = b({'C', 'a', 'f', 0xE9});
    const Case cases[] = {
        {"ASCII as today",
         ModeChoice::Master,
         RouterChoice::With,
         u"HomeNet",
         {},
         u"secret99",
         0,
         u"HomeNet"},
        {"Cyrillic",
         ModeChoice::Master,
         RouterChoice::With,
         u"Дом",
         {},
         u"secret99",
         0,
         utf8("Дом")},
        {"CJK", ModeChoice::Slave, RouterChoice::With, u"家", {}, u"secret99", 0, utf8("家")},
        {"Latin-1 as read",
         ModeChoice::Slave,
         RouterChoice::Without,
         latin1,
         {'C', 'a', 'f', 0xE9},
         u"secret99",
         0,
         latin1},
        {"Latin-1 edited",
         ModeChoice::Master,
         RouterChoice::With,
         latin1 + u"!",
         {'C', 'a', 'f', 0xE9},
         u"secret99",
         0,
         utf8("Café!")},
        {"32 bytes",
         ModeChoice::Master,
         RouterChoice::With,
         std::u16string(16, u'Ж'),
         {},
         u"secret99",
         0,
         utf8("ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ")},
        {"33 bytes",
         ModeChoice::Master,
         RouterChoice::With,
         std::u16string(16, u'Ж') + u"x",
         {},
         u"secret99",
         kMessageNameLength,
         {}},
        // A master without router hides the name: one read from the unit goes back as it was
        // read, even when the box cut it; one that was not read must still fit the unit, or it
        // would go out in two reports and the unit would keep only the second.
        {"hidden as read, cut by the box", ModeChoice::Master, RouterChoice::Without,
         std::u16string(32, u'\u00E9'), std::vector<std::uint8_t>(40, 0xE9), u"secret99", 0,
         std::u16string(40, u'\u00E9')},
        {"hidden, typed, 33 bytes",
         ModeChoice::Master,
         RouterChoice::Without,
         std::u16string(11, u'家'),
         {},
         u"secret99",
         kMessageNameLength,
         {}},
        {"password with a letter beyond ASCII",
         ModeChoice::Master,
         RouterChoice::Without,
         u"HomeNet",
         {},
         u"pässword",
         kMessagePasswordCharacters,
         {}},
        {"Cyrillic password with a router",
         ModeChoice::Master,
         RouterChoice::With,
         u"HomeNet",
         {},
         u"парольпароль",
         kMessagePasswordCharacters,
         {}},
        {"control character in a slave's password",
         ModeChoice::Slave,
         RouterChoice::With,
         u"HomeNet",
         {},
         u"pass\tword",
         kMessagePasswordCharacters,
         {}},
        {"short password is told first",
         ModeChoice::Master,
         RouterChoice::Without,
         u"HomeNet",
         {},
         u"äöü",
         kMessagePasswordLength,
         {}},
        {"every printable ASCII character",
         ModeChoice::Master,
         RouterChoice::Without,
         u"HomeNet",
         {},
         u" !\"#$%&'()*+,-./0123456789:;<=>?@AZ[\\]^_`az{|}~",
         0,
         u"HomeNet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WifiControls screen = controls(c.mode, c.router);
        screen.name = c.name;
        screen.nameReadBytes = c.nameReadBytes;
        screen.password = c.password;
        const WifiWrite write = buildWifiWrite(screen, readSettings());
        EXPECT_EQ(write.messageId, c.message);
        if (c.message != 0) {
            EXPECT_EQ(write.outcome, WriteOutcome::Refused);
            EXPECT_TRUE(write.steps.empty());
            continue;
        }
        ASSERT_EQ(write.outcome, WriteOutcome::Ok);
        EXPECT_EQ(write.steps.at(6), Step::send(Code_Wi_Fi_name, c.sentName));
        EXPECT_EQ(write.steps.at(7), Step::send(Code_Wi_Fi_password, c.password));
    }
}

// Under OPEN the password box is greyed out: a password read from the unit that is not
// printable ASCII goes back as it was read instead of refusing the write.
TEST(WifiWrite, AGreyedOutPasswordIsSentAsReadUnchecked) {
    WifiControls screen = controls(ModeChoice::Master, RouterChoice::Without);
    screen.securityItem = 0;
    screen.passwordEnabled = false;
    screen.password = u"p\u00E4ss";
    const WifiWrite write = buildWifiWrite(screen, readSettings());
    ASSERT_EQ(write.outcome, WriteOutcome::Ok);
    EXPECT_EQ(write.steps.at(7), Step::send(Code_Wi_Fi_password, u"p\u00E4ss"));
    screen.securityItem = 2;  // the box is enabled again: checked as typed
    screen.passwordEnabled = true;
    EXPECT_EQ(buildWifiWrite(screen, readSettings()).messageId, kMessagePasswordLength);
    screen.password = u"p\u00E4sswords";
    EXPECT_EQ(buildWifiWrite(screen, readSettings()).messageId, kMessagePasswordCharacters);
}

// The unit may hold a longer password than the box shows: unedited, it goes back whole. Only a
// password whose box is enabled is checked; a greyed-out one goes back as it stands, in every
// mode where OPEN greyed it out.
TEST(WifiWrite, APasswordGoesBackAsReadAndIsCheckedOnlyWhereItsBoxIsEnabled) {
    const std::u16string read62(62, u'p');
    struct Case {  // NOLINT(clang-analyzer-optin.performance.Padding): a table reads in its order
        const char* what;
        ModeChoice mode;
        RouterChoice router;
        bool enabled;
        std::u16string shown;
        std::u16string read;
        int message;          // 0: sent
        std::u16string sent;  // the password's payload
    };
    const Case cases[] = {
        {"62 read, shown cut to 60", ModeChoice::Master, RouterChoice::Without, true,
         read62.substr(0, 60), read62, 0, read62},
        {"62 read, a slave", ModeChoice::Slave, RouterChoice::With, true, read62.substr(0, 60),
         read62, 0, read62},
        {"62 read, shortened", ModeChoice::Master, RouterChoice::With, true, read62.substr(0, 59),
         read62, 0, read62.substr(0, 59)},
        {"62 read, replaced", ModeChoice::Master, RouterChoice::With, true,
         std::u16string(60, u'q'), read62, 0, std::u16string(60, u'q')},
        {"greyed out on a slave", ModeChoice::Slave, RouterChoice::With, false, u"p\u00E4ss",
         u"p\u00E4ss", 0, u"p\u00E4ss"},
        {"greyed out on a master with router", ModeChoice::Master, RouterChoice::With, false,
         u"p\u00E4ss", u"p\u00E4ss", 0, u"p\u00E4ss"},
        {"enabled on a slave",
         ModeChoice::Slave,
         RouterChoice::With,
         true,
         u"p\u00E4ss",
         u"p\u00E4ss",
         kMessagePasswordCharacters,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WifiControls screen = controls(c.mode, c.router);
        screen.password = c.shown;
        screen.passwordRead = c.read;
        screen.passwordEnabled = c.enabled;
        const WifiWrite write = buildWifiWrite(screen, readSettings());
        EXPECT_EQ(write.messageId, c.message);
        if (c.message != 0) {
            EXPECT_TRUE(write.steps.empty());
            continue;
        }
        ASSERT_EQ(write.outcome, WriteOutcome::Ok);
        EXPECT_EQ(write.steps.at(7), Step::send(Code_Wi_Fi_password, c.sent));
        EXPECT_EQ(write.settings.Wi_Fi_password, c.sent);
    }
}

TEST(WifiWrite, UnselectedListItemEndsTheClickBeforeAnyCheck) {
    WifiControls noChannel = controls(ModeChoice::Master, RouterChoice::Without);
    noChannel.channelItemText = u"";
    noChannel.password = u"short";  // would be refused, but the conversion comes first
    WifiControls noSlaveNumber = controls(ModeChoice::Slave, RouterChoice::With);
    noSlaveNumber.slaveNumberItemText = u"";
    noSlaveNumber.name = u"";

    const WifiWrite master = buildWifiWrite(noChannel, readSettings());
    EXPECT_EQ(master.outcome, WriteOutcome::ConversionError);
    EXPECT_EQ(master.error.text, u"");
    EXPECT_EQ(master.messageId, 0);
    EXPECT_TRUE(master.steps.empty());
    // Collected up to the failing list; the name and later fields were not reached.
    EXPECT_EQ(master.settings.Device_mode, 1);
    EXPECT_EQ(master.settings.Connection_type, 2);
    EXPECT_EQ(master.settings.Master_IP, unit::kMasterAddressWithoutRouter);
    EXPECT_EQ(master.settings.Wi_Fi_name, u"OldNet");

    const WifiWrite slave = buildWifiWrite(noSlaveNumber, readSettings());
    EXPECT_EQ(slave.outcome, WriteOutcome::ConversionError);
    EXPECT_EQ(slave.error.text, u"");
    EXPECT_TRUE(slave.steps.empty());
}

TEST(WifiWrite, GoesOnTheWireWithItsPauses) {
    RecordingDevice device(65);
    std::vector<long long> pauses;
    const WifiWrite write =
        buildWifiWrite(controls(ModeChoice::Slave, RouterChoice::Without), DeviceSettings{});
    runSequence(&device, write.steps, [&](std::chrono::milliseconds ms) {
        pauses.push_back(ms.count());
        pauses.push_back(static_cast<long long>(device.reports.size()));
    });
    ASSERT_EQ(device.reports.size(), 15U);
    EXPECT_EQ(device.reports[2], padded({1, 9, 1, 1}, 65));
    EXPECT_EQ(device.reports[5], padded({1, 12, 1, 1}, 65));
    EXPECT_EQ(device.reports[8], padded({1, 11, 4, 0xC0, 0xA8, 0x04, 0x01}, 65));
    EXPECT_EQ(device.reports[9], padded({1, 14, 1, 0}, 65));
    EXPECT_EQ(device.reports[10], padded({1, 15, 1, 0}, 65));
    EXPECT_EQ(pauses, (std::vector<long long>{100, 13, 250, 14}));
}

FanControls fanControls() {
    FanControls c;
    c.offAvailable = true;
    c.supplyChecked = false;
    c.exhaustChecked = true;
    c.humiditySensor = true;
    c.relaySensor = false;
    c.voltageSensor = true;
    c.exhaustBixChecked = false;
    c.supplyExhaustBixChecked = true;
    c.humidityPosition = 12;
    c.voltagePosition = 20;
    c.offDelayTime = u"00:00";
    c.nightTime = u"01:30";
    c.partyTime = u"99:00";
    return c;
}

TEST(FanWrite, SendsTheFanParametersBracketedWithTheDelayBeforeTheTimers) {
    const FanWrite write = buildFanWrite(fanControls(), DeviceSettings{});
    EXPECT_EQ(write.outcome, WriteOutcome::Ok);
    EXPECT_EQ(write.steps, (Sequence{
                               Step::send(Code_Setup_mode, b({1})),
                               Step::send(Code_Off_available, b({1})),
                               Step::send(Code_Direction, b({1})),
                               Step::send(Code_Humidity_sensor, b({1})),
                               Step::send(Code_Relay_sensor, b({0})),
                               Step::send(Code_Voltage_sensor, b({1})),
                               Step::send(Code_Humidity_threshold, b({60})),
                               Step::send(Code_Voltage_threshold, b({100})),
                               Step::send(Code_Off_delay_timer, b({0, 0, 0})),
                               Step::send(Code_Night_timer, b({0x00, 0x15, 0x18})),
                               Step::send(Code_Party_timer, b({0x05, 0x70, 0x30})),
                               Step::send(Code_Humidity_scenario, b({0})),
                               Step::send(Code_Setup_mode, b({0})),
                           }));
    EXPECT_EQ(write.settings.Off_available, 1);
    EXPECT_EQ(write.settings.Direction, 1);
    EXPECT_EQ(write.settings.Voltage_sensor, 1);
    EXPECT_EQ(write.settings.Humidity_scenario, 0);
}

TEST(FanWrite, RadioPairsWithNeitherButtonCheckedKeepTheStoredValue) {
    FanControls c = fanControls();
    c.exhaustChecked = false;
    c.supplyExhaustBixChecked = false;
    DeviceSettings current;
    current.Direction = 1;
    current.Humidity_scenario = 1;
    const FanWrite write = buildFanWrite(c, current);
    EXPECT_EQ(write.steps.at(2), Step::send(Code_Direction, b({1})));
    EXPECT_EQ(write.steps.at(11), Step::send(Code_Humidity_scenario, b({1})));
}

// A bad time field must not leave the unit inside an open setup bracket: nothing is sent.
TEST(FanWrite, BadTimeFieldSendsNothingAndNamesTheFirstBadFieldInSendingOrder) {
    struct Case {
        std::u16string offDelay, night, party, failed;
    };
    const Case cases[] = {
        {u"00:00", u"1:30", u"xx:00", u"1:"},
        {u"ab:00", u"1:30", u"00:00", u"ab"},
        {u"00:00", u"00:00", u"", u""},
    };
    for (const Case& c : cases) {
        FanControls controls = fanControls();
        controls.offDelayTime = c.offDelay;
        controls.nightTime = c.night;
        controls.partyTime = c.party;
        const FanWrite write = buildFanWrite(controls, DeviceSettings{});
        EXPECT_EQ(write.outcome, WriteOutcome::ConversionError);
        EXPECT_EQ(write.error.text, c.failed);
        EXPECT_TRUE(write.steps.empty());
        EXPECT_EQ(write.settings.Off_available, 1);  // collected all the same
    }
}

// A threshold position from outside the slider (a restored file) ends the write the same way.
TEST(FanWrite, AThresholdBeyondAByteSendsNothing) {
    FanControls controls = fanControls();
    controls.voltagePosition = 429496730;
    const FanWrite write = buildFanWrite(controls, DeviceSettings{});
    EXPECT_EQ(write.outcome, WriteOutcome::ConversionError);
    EXPECT_EQ(write.error, (ConversionError{u"429496730", ConversionError::Kind::OutOfRange}));
    EXPECT_TRUE(write.steps.empty());
}

TEST(OtherSequences, RestoreFilterReadAndPoll) {
    EXPECT_EQ(restoreDefaultsSequence(), (Sequence{
                                             Step::send(Code_Setup_mode, b({1})),
                                             Step::send(Code_Factory_reset, b({0})),
                                             Step::wait(200ms),
                                             Step::send(Code_Read, b({5})),
                                         }));
    EXPECT_EQ(filterResetSequence(), (Sequence{Step::send(Code_Filter_reset, b({0}))}));
    EXPECT_EQ(readParametersSequence(), (Sequence{Step::send(Code_Read, b({5}))}));
    const Sequence poll = {Step::send(Code_Read, b({34})), Step::wait(20ms),
                           Step::send(Code_Read, b({41}))};
    EXPECT_EQ(statusPollSequence(false), poll);
    Sequence withFilter = poll;
    withFilter.push_back(Step::wait(20ms));
    withFilter.push_back(Step::send(Code_Read, b({38})));
    EXPECT_EQ(statusPollSequence(true), withFilter);
}

TEST(OtherSequences, NoDeviceSendsNothingButStillPauses) {
    std::vector<long long> pauses;
    runSequence(nullptr, restoreDefaultsSequence(),
                [&](std::chrono::milliseconds ms) { pauses.push_back(ms.count()); });
    EXPECT_EQ(pauses, (std::vector<long long>{200}));
}

}  // namespace
}  // namespace quillo::protocol
