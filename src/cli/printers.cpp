// The two printers of quilloctl's records: text for people, JSON for programs.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/backup_file.h"
#include "cli/records.h"
#include "cli/setting_keys.h"
#include "cli/terminal_text.h"
#include "protocol/conversions.h"
#include "unit_model/unit_identity.h"

namespace quillo::cli {

namespace {

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

QString Indented(const QJsonDocument& document) {
    return QString::fromUtf8(document.toJson(QJsonDocument::Indented));
}

QString StateText(bool connected) {
    return connected ? QStringLiteral("connected") : QStringLiteral("disconnected");
}

QString SerialText(const QString& serial) {
    return serial.isEmpty() ? QStringLiteral("unknown") : TerminalText(serial);
}

QJsonObject UnitJson(const UnitRow& unit) {
    QJsonObject object;
    object[QStringLiteral("index")] = unit.index;
    object[QStringLiteral("model")] = model::ModelName(unit.model);
    object[QStringLiteral("serial")] = unit.serial.isEmpty() ? QJsonValue() : unit.serial;
    object[QStringLiteral("path")] = unit.path;
    return object;
}

QJsonObject StatesJson(const UnitStates& states) {
    QJsonObject object;
    object[QStringLiteral("wifi")] = StateText(states.wifiConnected);
    object[QStringLiteral("master")] = StateText(states.masterConnected);
    object[QStringLiteral("filter-seconds")] = static_cast<qint64>(states.filterSeconds);
    object[QStringLiteral("filter-time")] = FilterTimeText(states.filterSeconds);
    return object;
}

void PrintText(const Record& record, QTextStream& out) {
    std::visit(
        Overloaded{
            [&](const UnitsRecord& r) {
                for (const UnitRow& unit : r.units) {
                    out << unit.index << "  " << model::ModelName(unit.model) << "  "
                        << (unit.serial.isEmpty() ? QStringLiteral("(serial unknown)")
                                                  : TerminalText(unit.serial))
                        << "  " << TerminalText(unit.path) << "\n";
                }
            },
            [&](const SettingsRecord& r) {
                out << model::UnitListTitle(r.unit.index, r.unit.model) << ", serial "
                    << SerialText(r.unit.serial) << ", " << TerminalText(r.unit.path) << "\n";
                for (const Group group : {Group::Wifi, Group::Fan}) {
                    out << (group == Group::Wifi ? "Wi-Fi\n" : "Fan\n");
                    for (const SettingKey* key : KeysFor(r.unit.model)) {
                        if (KeyGroup(*key) == group) {
                            out << "  " << KeyLabel(*key) << ": " << DisplayValue(*key, r.state)
                                << "\n";
                        }
                    }
                }
                out << "States\n"
                    << "  Wi-Fi: " << StateText(r.states.wifiConnected) << "\n"
                    << "  Master: " << StateText(r.states.masterConnected) << "\n"
                    << "  Filter run time: " << FilterTimeText(r.states.filterSeconds) << "\n";
            },
            [&](const NetworksRecord& r) {
                for (const NetworksRecord::Network& network : r.networks) {
                    out << TerminalText(network.name) << "\n";
                }
            },
            [&](const StatesRecord& r) {
                out << r.time.toLocalTime().toString(QStringLiteral("HH:mm:ss"))
                    << "  Wi-Fi: " << StateText(r.states.wifiConnected)
                    << "  Master: " << StateText(r.states.masterConnected)
                    << "  Filter run time: " << FilterTimeText(r.states.filterSeconds) << "\n";
            },
            [&](const DoneRecord& r) { out << r.text << "\n"; },
        },
        record);
}

void PrintJson(const Record& record, QTextStream& out) {
    std::visit(Overloaded{
                   [&](const UnitsRecord& r) {
                       QJsonArray units;
                       for (const UnitRow& unit : r.units) {
                           units.append(UnitJson(unit));
                       }
                       out << Indented(QJsonDocument(units));
                   },
                   [&](const SettingsRecord& r) {
                       QJsonObject document = SettingsJson(r.state, r.unit.model);
                       document[QStringLiteral("unit")] = UnitJson(r.unit);
                       document[QStringLiteral("states")] = StatesJson(r.states);
                       out << Indented(QJsonDocument(document));
                   },
                   [&](const NetworksRecord& r) {
                       QJsonArray networks;
                       for (const NetworksRecord::Network& network : r.networks) {
                           QJsonObject object;
                           object[QStringLiteral("name")] = network.name;
                           object[QStringLiteral("line")] = network.line;
                           networks.append(object);
                       }
                       out << Indented(QJsonDocument(networks));
                   },
                   [&](const StatesRecord& r) {
                       // One object per line, so that a reader can take each as it comes.
                       QJsonObject object = StatesJson(r.states);
                       object[QStringLiteral("time")] = r.time.toUTC().toString(Qt::ISODateWithMs);
                       out << QJsonDocument(object).toJson(QJsonDocument::Compact) << "\n";
                   },
                   [&](const DoneRecord& r) { out << r.text << "\n"; },
               },
               record);
}

}  // namespace

void Print(const Record& record, Format format, QTextStream& out) {
    if (format == Format::Json) {
        PrintJson(record, out);
    } else {
        PrintText(record, out);
    }
    out.flush();
}

QString FilterTimeText(quint32 seconds) {
    const protocol::FilterRunTime time = protocol::splitFilterRunTime(seconds);
    return QStringLiteral("%1 %2 %3:%4:%5")
        .arg(time.days)
        .arg(time.days == 1 ? QStringLiteral("day") : QStringLiteral("days"))
        .arg(time.hours, 2, 10, QLatin1Char('0'))
        .arg(time.minutes, 2, 10, QLatin1Char('0'))
        .arg(time.seconds, 2, 10, QLatin1Char('0'));
}

}  // namespace quillo::cli
