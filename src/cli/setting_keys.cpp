#include "cli/setting_keys.h"

#include <QRegularExpression>
#include <array>
#include <cmath>
#include <functional>
#include <optional>

#include "cli/terminal_text.h"
#include "lang/message_catalogue.h"
#include "protocol/conversions.h"
#include "protocol/ip_octets.h"
#include "protocol/wire_text.h"
#include "protocol/write_sequences.h"

namespace quillo::cli {

using protocol::unit::Model;

namespace {

enum class Kind { Name, Password, Choice, Integer, Flag, Address, Time };

// Which models have the key.
enum class Models { Both, SolviOnly, PargoOnly };

QString U(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
std::u16string S(const QString& text) {
    return text.toStdU16String();
}

QJsonValue Address(const protocol::IpOctets& address) {
    return address.empty() ? QJsonValue() : QJsonValue(U(protocol::dottedText(address)));
}

}  // namespace

struct SettingKey {
    const char* name;
    Group group;
    Kind kind;
    const char* label;
    // The control of the window's page that holds it.
    model::PageControl control;
    Models models = Models::Both;
    // Choice: the JSON strings in item order. Integer: the range and step.
    std::vector<const char*> choices = {};
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    const char* unit = "";
    // The value as the window's controls hold it.
    std::function<QJsonValue(const PageState&)> get;
    // Sets an already checked value: a choice index, an integer, a flag, a text.
    std::function<void(const QJsonValue&, PageState&)> set;
};

namespace {

using protocol::ModeChoice;
using protocol::RouterChoice;

int ChoiceIndex(const QJsonValue& v) {
    return v.toInt();
}

const std::array<SettingKey, 22>& Keys() {
    static const std::array<SettingKey, 22> keys = {{
        {.name = "mode",
         .group = Group::Wifi,
         .kind = Kind::Choice,
         .label = "Device mode",
         .control = model::PageControl::Mode,
         .choices = {"master", "slave"},
         .get = [](const PageState& s) -> QJsonValue {
             if (s.wifi.mode == ModeChoice::None) {
                 return {};
             }
             return s.wifi.mode == ModeChoice::Master ? "master" : "slave";
         },
         .set =
             [](const QJsonValue& v, PageState& s) {
                 s.wifi.mode = ChoiceIndex(v) == 0 ? ModeChoice::Master : ModeChoice::Slave;
             }},
        {.name = "connection",
         .group = Group::Wifi,
         .kind = Kind::Choice,
         .label = "Connection",
         .control = model::PageControl::Router,
         .choices = {"with-router", "without-router"},
         .get = [](const PageState& s) -> QJsonValue {
             if (s.wifi.router == RouterChoice::None) {
                 return {};
             }
             return s.wifi.router == RouterChoice::With ? "with-router" : "without-router";
         },
         .set =
             [](const QJsonValue& v, PageState& s) {
                 s.wifi.router = ChoiceIndex(v) == 0 ? RouterChoice::With : RouterChoice::Without;
             }},
        {.name = "wifi-name",
         .group = Group::Wifi,
         .kind = Kind::Name,
         .label = "Wi-Fi name",
         .control = model::PageControl::WifiName,
         .get = [](const PageState& s) -> QJsonValue { return U(s.wifi.name); },
         .set = [](const QJsonValue& v, PageState& s) { s.wifi.name = S(v.toString()); }},
        {.name = "wifi-password",
         .group = Group::Wifi,
         .kind = Kind::Password,
         .label = "Wi-Fi password",
         .control = model::PageControl::Password,
         .get = [](const PageState& s) -> QJsonValue { return U(s.wifi.password); },
         .set = [](const QJsonValue& v, PageState& s) { s.wifi.password = S(v.toString()); }},
        {.name = "security",
         .group = Group::Wifi,
         .kind = Kind::Choice,
         .label = "Type of security",
         .control = model::PageControl::Security,
         .choices = {"open", "wpa-psk", "wpa2-psk", "wpa-wpa2-psk"},
         .get = [](const PageState& s) -> QJsonValue {
             static const char* const names[] = {"open", "wpa-psk", "wpa2-psk", "wpa-wpa2-psk"};
             if (s.wifi.securityItem < 0 || s.wifi.securityItem > 3) {
                 return {};
             }
             return names[s.wifi.securityItem];
         },
         .set = [](const QJsonValue& v, PageState& s) { s.wifi.securityItem = ChoiceIndex(v); }},
        {.name = "channel",
         .group = Group::Wifi,
         .kind = Kind::Integer,
         .label = "Wi-Fi channel",
         .control = model::PageControl::Channel,
         .minimum = protocol::unit::kMinChannel,
         .maximum = protocol::unit::kMaxChannel,
         .get = [](const PageState& s) -> QJsonValue {
             return s.wifi.channelItemText.empty() ? QJsonValue()
                                                   : QJsonValue(U(s.wifi.channelItemText).toInt());
         },
         .set = [](const QJsonValue& v,
                   PageState& s) { s.wifi.channelItemText = S(QString::number(v.toInt())); }},
        {.name = "master-ip",
         .group = Group::Wifi,
         .kind = Kind::Address,
         .label = "Master IP address",
         .control = model::PageControl::MasterIp,
         .get = [](const PageState& s) { return Address(s.wifi.masterIp); },
         .set =
             [](const QJsonValue& v, PageState& s) {
                 s.wifi.masterIp = *protocol::parseDottedAddress(S(v.toString()));
             }},
        {.name = "slave-number",
         .group = Group::Wifi,
         .kind = Kind::Integer,
         .label = "Slave number",
         .control = model::PageControl::SlaveNumber,
         .minimum = 1,
         .maximum = protocol::kSlaveNumberItems,
         .get = [](const PageState& s) -> QJsonValue {
             return s.wifi.slaveNumberItemText.empty()
                        ? QJsonValue()
                        : QJsonValue(U(s.wifi.slaveNumberItemText).toInt());
         },
         .set = [](const QJsonValue& v,
                   PageState& s) { s.wifi.slaveNumberItemText = S(QString::number(v.toInt())); }},
        {.name = "slave-ip-mode",
         .group = Group::Wifi,
         .kind = Kind::Choice,
         .label = "Slave IP mode",
         .control = model::PageControl::SlaveIpMode,
         .choices = {"dhcp", "static"},
         .get = [](const PageState& s) -> QJsonValue {
             if (s.wifi.slaveIpModeItem < 0 || s.wifi.slaveIpModeItem > 1) {
                 return {};
             }
             return s.wifi.slaveIpModeItem == 0 ? "dhcp" : "static";
         },
         .set = [](const QJsonValue& v, PageState& s) { s.wifi.slaveIpModeItem = ChoiceIndex(v); }},
        {.name = "slave-ip",
         .group = Group::Wifi,
         .kind = Kind::Address,
         .label = "Slave IP address",
         .control = model::PageControl::SlaveIp,
         .get = [](const PageState& s) { return Address(s.wifi.slaveIp); },
         .set =
             [](const QJsonValue& v, PageState& s) {
                 s.wifi.slaveIp = *protocol::parseDottedAddress(S(v.toString()));
             }},
        {.name = "gateway",
         .group = Group::Wifi,
         .kind = Kind::Address,
         .label = "Default gateway",
         .control = model::PageControl::Gateway,
         .get = [](const PageState& s) { return Address(s.wifi.gateway); },
         .set =
             [](const QJsonValue& v, PageState& s) {
                 s.wifi.gateway = *protocol::parseDottedAddress(S(v.toString()));
             }},
        {.name = "off-available",
         .group = Group::Fan,
         .kind = Kind::Flag,
         .label = "Available OFF device",
         .control = model::PageControl::OffAvailable,
         .get = [](const PageState& s) { return QJsonValue(s.fan.offAvailable); },
         .set = [](const QJsonValue& v, PageState& s) { s.fan.offAvailable = v.toBool(); }},
        {.name = "direction",
         .group = Group::Fan,
         .kind = Kind::Choice,
         .label = "Direction",
         .control = model::PageControl::Direction,
         .models = Models::SolviOnly,
         .choices = {"supply", "exhaust"},
         .get = [](const PageState& s) -> QJsonValue {
             if (s.fan.supplyChecked) {
                 return "supply";
             }
             return s.fan.exhaustChecked ? QJsonValue("exhaust") : QJsonValue();
         },
         .set =
             [](const QJsonValue& v, PageState& s) {
                 s.fan.supplyChecked = ChoiceIndex(v) == 0;
                 s.fan.exhaustChecked = !s.fan.supplyChecked;
             }},
        {.name = "humidity-scenario",
         .group = Group::Fan,
         .kind = Kind::Choice,
         .label = "Humidity control scenario",
         .control = model::PageControl::HumidityScenario,
         .models = Models::PargoOnly,
         .choices = {"boost-current", "boost-exhaust"},
         .get = [](const PageState& s) -> QJsonValue {
             if (s.fan.exhaustBixChecked) {
                 return "boost-exhaust";
             }
             return s.fan.supplyExhaustBixChecked ? QJsonValue("boost-current") : QJsonValue();
         },
         .set =
             [](const QJsonValue& v, PageState& s) {
                 s.fan.supplyExhaustBixChecked = ChoiceIndex(v) == 0;
                 s.fan.exhaustBixChecked = !s.fan.supplyExhaustBixChecked;
             }},
        {.name = "humidity-sensor",
         .group = Group::Fan,
         .kind = Kind::Flag,
         .label = "Humidity sensor",
         .control = model::PageControl::HumiditySensor,
         .get = [](const PageState& s) { return QJsonValue(s.fan.humiditySensor); },
         .set = [](const QJsonValue& v, PageState& s) { s.fan.humiditySensor = v.toBool(); }},
        {.name = "humidity-threshold",
         .group = Group::Fan,
         .kind = Kind::Integer,
         .label = "Humidity threshold",
         .control = model::PageControl::HumidityThreshold,
         .minimum = protocol::kHumidityPositionMin * 5,
         .maximum = protocol::kHumidityPositionMax * 5,
         .step = 5,
         .unit = "%RH",
         .get = [](const PageState& s) { return QJsonValue(s.fan.humidityPosition * 5); },
         .set = [](const QJsonValue& v, PageState& s) { s.fan.humidityPosition = v.toInt() / 5; }},
        {.name = "relay-sensor",
         .group = Group::Fan,
         .kind = Kind::Flag,
         .label = "Relay sensor",
         .control = model::PageControl::RelaySensor,
         .get = [](const PageState& s) { return QJsonValue(s.fan.relaySensor); },
         .set = [](const QJsonValue& v, PageState& s) { s.fan.relaySensor = v.toBool(); }},
        {.name = "voltage-sensor",
         .group = Group::Fan,
         .kind = Kind::Flag,
         .label = "0 - 10V sensor",
         .control = model::PageControl::VoltageSensor,
         .get = [](const PageState& s) { return QJsonValue(s.fan.voltageSensor); },
         .set = [](const QJsonValue& v, PageState& s) { s.fan.voltageSensor = v.toBool(); }},
        {.name = "voltage-threshold",
         .group = Group::Fan,
         .kind = Kind::Integer,
         .label = "0 - 10V sensor threshold",
         .control = model::PageControl::VoltageThreshold,
         .minimum = protocol::kVoltagePositionMin * 5,
         .maximum = protocol::kVoltagePositionMax * 5,
         .step = 5,
         .unit = "%",
         .get = [](const PageState& s) { return QJsonValue(s.fan.voltagePosition * 5); },
         .set = [](const QJsonValue& v, PageState& s) { s.fan.voltagePosition = v.toInt() / 5; }},
        {.name = "off-delay-timer",
         .group = Group::Fan,
         .kind = Kind::Time,
         .label = "Turn-off delay timer",
         .control = model::PageControl::OffDelayTimer,
         .get = [](const PageState& s) -> QJsonValue { return U(s.fan.offDelayTime); },
         .set = [](const QJsonValue& v, PageState& s) { s.fan.offDelayTime = S(v.toString()); }},
        {.name = "night-timer",
         .group = Group::Fan,
         .kind = Kind::Time,
         .label = "Night mode timer",
         .control = model::PageControl::NightTimer,
         .get = [](const PageState& s) -> QJsonValue { return U(s.fan.nightTime); },
         .set = [](const QJsonValue& v, PageState& s) { s.fan.nightTime = S(v.toString()); }},
        {.name = "party-timer",
         .group = Group::Fan,
         .kind = Kind::Time,
         .label = "Party mode timer",
         .control = model::PageControl::PartyTimer,
         .get = [](const PageState& s) -> QJsonValue { return U(s.fan.partyTime); },
         .set = [](const QJsonValue& v, PageState& s) { s.fan.partyTime = S(v.toString()); }},
    }};
    return keys;
}

bool HasModel(const SettingKey& key, Model model) {
    switch (key.models) {
        case Models::SolviOnly:
            return model == Model::Solvi;
        case Models::PargoOnly:
            return model == Model::Pargo;
        case Models::Both:
            break;
    }
    return true;
}

QString ChoiceList(const SettingKey& key) {
    QStringList names;
    for (const char* choice : key.choices) {
        names << QString::fromLatin1(choice);
    }
    return names.join(QStringLiteral(", "));
}

// "h:mm" or "hh:mm" within a day, normalised to hh:mm; std::nullopt otherwise.
std::optional<QString> TimeText(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^([01]?[0-9]|2[0-3]):([0-5][0-9])$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return QStringLiteral("%1:%2")
        .arg(match.captured(1).toInt(), 2, 10, QLatin1Char('0'))
        .arg(match.captured(2));
}

// Checks `value` against the key and turns it into what `set` expects; an error text when it
// does not fit.
QString Check(const SettingKey& key, const QJsonValue& value, QJsonValue& checked) {
    switch (key.kind) {
        case Kind::Name: {
            if (!value.isString()) {
                return QStringLiteral("expected a text");
            }
            // A name typed in the window cannot hold them either.
            for (const QChar c : value.toString()) {
                if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
                    return QStringLiteral("control characters are not allowed");
                }
            }
            checked = value;
            return {};
        }
        case Kind::Password: {
            if (!value.isString()) {
                return QStringLiteral("expected a text");
            }
            const std::u16string text = S(value.toString());
            if (!protocol::isPrintableAscii(text)) {
                return EnglishMessage(protocol::kMessagePasswordCharacters);
            }
            // The window's entry takes no more.
            if (text.size() > model::kPasswordBoxMaxLength) {
                return EnglishMessage(protocol::kMessagePasswordLength);
            }
            checked = value;
            return {};
        }
        case Kind::Choice: {
            for (std::size_t i = 0; i < key.choices.size(); ++i) {
                if (value.isString() && value.toString() == QLatin1String(key.choices[i])) {
                    checked = static_cast<int>(i);
                    return {};
                }
            }
            return QStringLiteral("expected one of: %1").arg(ChoiceList(key));
        }
        case Kind::Integer: {
            QString range = key.step == 1
                                ? QStringLiteral("expected a whole number from %1 to %2")
                                      .arg(key.minimum)
                                      .arg(key.maximum)
                                : QStringLiteral("expected a multiple of %3 from %1 to %2")
                                      .arg(key.minimum)
                                      .arg(key.maximum)
                                      .arg(key.step);
            if (!value.isDouble()) {
                return range;
            }
            // Compared as a double first: a huge or fractional number never reaches an int.
            const double number = value.toDouble();
            if (!(number >= key.minimum && number <= key.maximum) || number != std::floor(number) ||
                static_cast<int>(number) % key.step != 0) {
                return range;
            }
            checked = static_cast<int>(number);
            return {};
        }
        case Kind::Flag:
            if (!value.isBool()) {
                return QStringLiteral("expected true or false");
            }
            checked = value;
            return {};
        case Kind::Address:
            if (!value.isString() || !protocol::parseDottedAddress(S(value.toString()))) {
                return QStringLiteral("expected an IPv4 address such as 192.168.1.20");
            }
            checked = value;
            return {};
        case Kind::Time:
            if (value.isString()) {
                if (const std::optional<QString> time = TimeText(value.toString())) {
                    checked = *time;
                    return {};
                }
            }
            // The timers are durations, not times of day.
            return QStringLiteral("expected hours and minutes as hh:mm, 00:00 to 23:59");
    }
    return QStringLiteral("not a value");
}

}  // namespace

std::vector<const SettingKey*> KeysFor(Model model) {
    std::vector<const SettingKey*> keys;
    for (const SettingKey& key : Keys()) {
        if (HasModel(key, model)) {
            keys.push_back(&key);
        }
    }
    return keys;
}

const SettingKey* FindKey(const QString& name, Model model) {
    for (const SettingKey* key : KeysFor(model)) {
        if (name == QLatin1String(key->name)) {
            return key;
        }
    }
    return nullptr;
}

bool IsKnownKey(const QString& name) {
    for (const SettingKey& key : Keys()) {
        if (name == QLatin1String(key.name)) {
            return true;
        }
    }
    return false;
}

QString KeyName(const SettingKey& key) {
    return QString::fromLatin1(key.name);
}

QString KeyLabel(const SettingKey& key) {
    return QString::fromLatin1(key.label);
}

Group KeyGroup(const SettingKey& key) {
    return key.group;
}

QString GroupName(Group group) {
    return group == Group::Wifi ? QStringLiteral("wifi") : QStringLiteral("fan");
}

QJsonValue JsonValue(const SettingKey& key, const PageState& state) {
    return key.get(state);
}

QString DisplayValue(const SettingKey& key, const PageState& state) {
    const QJsonValue value = key.get(state);
    if (value.isNull()) {
        return QStringLiteral("(none)");
    }
    if (value.isBool()) {
        return value.toBool() ? QStringLiteral("on") : QStringLiteral("off");
    }
    QString text =
        value.isDouble() ? QString::number(value.toInt()) : TerminalText(value.toString());
    if (*key.unit != '\0') {
        text += QLatin1Char(' ') + QString::fromLatin1(key.unit);
    }
    return text;
}

QString SetFromJson(const SettingKey& key, const QJsonValue& value, PageState& state) {
    QJsonValue checked;
    QString error = Check(key, value, checked);
    if (!error.isEmpty()) {
        return error;
    }
    if (key.kind == Kind::Name) {
        // The unit holds 32 bytes; the window's box never lets more through. A longer name the
        // unit reported goes back as it came where the window sends it unchecked (hidden), and
        // is refused by the page's rules where the user could edit it.
        const std::vector<std::uint8_t> nameBytes =
            protocol::wifiNameBytes(S(checked.toString()), state.wifi.nameReadBytes);
        const std::size_t bytes = nameBytes.size();
        const bool asRead = !nameBytes.empty() && nameBytes == state.wifi.nameReadBytes;
        if (!asRead && bytes > protocol::kMaxWiFiNameBytes) {
            const QString message = EnglishMessage(protocol::kMessageNameLength);
            // Letters beyond ASCII take more than one byte each.
            return bytes == static_cast<std::size_t>(checked.toString().size())
                       ? message
                       : QStringLiteral("%1 (counted in UTF-8 bytes: this name has %2)")
                             .arg(message)
                             .arg(bytes);
        }
    }
    const protocol::WifiControls before = state.wifi;
    key.set(checked, state);
    // The password box follows a new mode, router or security type as in the window.
    if (state.wifi.mode != before.mode || state.wifi.router != before.router ||
        key.control == model::PageControl::Security) {
        model::FollowPasswordBox(key.control, state.wifi);
    }
    // Stored as a read would store it, so that a mode that does not collect it still sends it.
    model::StoreControl(key.control, state);
    return {};
}

QString SetFromText(const SettingKey& key, const QString& text, PageState& state) {
    QJsonValue value = text;
    if (key.kind == Kind::Flag) {
        const QString word = text.toLower();
        if (word == u"on" || word == u"true" || word == u"yes" || word == u"1") {
            value = true;
        } else if (word == u"off" || word == u"false" || word == u"no" || word == u"0") {
            value = false;
        } else {
            return QStringLiteral("expected on or off");
        }
    } else if (key.kind == Kind::Integer) {
        bool ok = false;
        const int number = text.toInt(&ok);
        if (ok) {
            value = number;
        }
    }
    return SetFromJson(key, value, state);
}

QString EnglishMessage(int id) {
    const std::string_view text =
        lang::MessageTable.at(static_cast<std::size_t>(lang::MessagePosition(id, lang::English)));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace quillo::cli
