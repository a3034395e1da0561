#pragma once

// What quilloctl's commands give back: one record type per kind of output, printed as text or
// as JSON by the printers in printers.cpp, never by the commands themselves.

#include <QDateTime>
#include <QString>
#include <QTextStream>
#include <variant>
#include <vector>

#include "cli/unit_state.h"
#include "protocol/unit_contract.h"

namespace quillo::cli {

struct UnitRow {
    int index = 0;
    protocol::unit::Model model{};
    QString serial;  // empty when the unit did not tell it
    QString path;
};

// The states the window polls.
struct UnitStates {
    bool wifiConnected = false;
    bool masterConnected = false;
    quint32 filterSeconds = 0;
};

// list
struct UnitsRecord {
    std::vector<UnitRow> units;
};

// show
struct SettingsRecord {
    UnitRow unit;
    PageState state;
    UnitStates states;
};

// scan: each network once, with the module's line it came in.
struct NetworksRecord {
    struct Network {
        QString name;
        QString line;
    };
    std::vector<Network> networks;
};

// monitor, one per second
struct StatesRecord {
    UnitStates states;
    QDateTime time;
};

// What a command that changed or saved something did: one line for people.
struct DoneRecord {
    QString text;
};

using Record = std::variant<UnitsRecord, SettingsRecord, NetworksRecord, StatesRecord, DoneRecord>;

enum class Format { Text, Json };

void Print(const Record& record, Format format, QTextStream& out);

// Text for a filter run time: "12 days 03:04:05", "1 day 00:00:09".
QString FilterTimeText(quint32 seconds);

}  // namespace quillo::cli
