#pragma once

// What the commands of quilloctl share: the parsed options, choosing a unit, reading it, and
// printing.

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

#include "cli/quilloctl.h"
#include "cli/unit_link.h"
#include "cli/unit_list.h"
#include "cli/unit_state.h"

namespace quillo::cli {

struct Options {
    QString command;
    QStringList arguments;  // after the command
    std::optional<int> device;
    std::optional<QString> serial;
    std::optional<QString> path;
    std::chrono::milliseconds timeout{500};
    bool json = false;
    bool yes = false;
    bool all = false;
    std::optional<int> count;
};

class Command {
public:
    Command(CliContext& context, const Options& options) : context_(context), options_(options) {}

    QTextStream& out() const { return *context_.out; }
    QTextStream& err() const { return *context_.err; }
    const Options& options() const { return options_; }
    CliContext& context() { return context_; }

    // The one unit the options choose; nullptr with `status` set (and the reason told) when
    // none can be used.
    UnitEntry* ChooseUnit(UnitList& list, int& status);
    // Reads the serial number; empty when the unit does not answer.
    QString SerialNumber(UnitLink& link);
    // The read chain; kExitNoAnswer (told) when a code goes unanswered.
    std::optional<UnitValues> ReadSettings(UnitLink& link, const UnitEntry& unit,
                                           int& status) const;
    // The states the window polls (Wi-Fi, master, filter time), as JSON.
    std::optional<QJsonObject> ReadStates(UnitLink& link, const UnitEntry& unit, int& status);

    // "1. Aldrun Quillo Solvi"
    static QString UnitTitle(const UnitEntry& unit);
    QString NoAnswer(const UnitEntry& unit, protocol::CommandCode code) const;

private:
    CliContext& context_;
    const Options& options_;
};

int RunList(Command& command);
int RunShow(Command& command);
int RunSet(Command& command);
int RunBackup(Command& command);
int RunRestore(Command& command);
int RunScan(Command& command);
int RunResetFilter(Command& command);
int RunFactoryReset(Command& command);
int RunMonitor(Command& command);

// Text for a filter run time: "12 days 03:04:05".
QString FilterTimeText(quint32 seconds);

}  // namespace quillo::cli
