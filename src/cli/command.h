#pragma once

// What a command of quilloctl is given: the parsed options, what its check found before any
// unit was touched, and the unit the dispatcher chose and opened for it. A command prints only
// through Print(); its messages go to err().

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>
#include <utility>
#include <vector>

#include "cli/backup_file.h"
#include "cli/context.h"
#include "cli/records.h"
#include "cli/unit_link.h"
#include "cli/unit_list.h"

namespace quillo::cli {

struct SettingKey;

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
    void Print(const Record& record) const {
        cli::Print(record, options_.json ? Format::Json : Format::Text, out());
    }

    // Every attached unit, listed once for the run.
    UnitList* units = nullptr;
    // The unit the options chose and its link; none for commands that target no single unit.
    UnitEntry* unit = nullptr;
    UnitLink* link = nullptr;

    // What the checks found: set's KEY=VALUE pairs (the names as given), restore's backup.
    std::vector<std::pair<QString, QString>> changes;
    std::optional<Backup> backup;

    // "1. Aldrun Quillo Solvi did not answer for the Wi-Fi channel (code 9) within 500 ms.", or
    // why the question could not be asked.
    QString NoAnswer(const UnitEntry& unit, const UnitLink& link, protocol::CommandCode code) const;
    // The status after a wait for `code` came back empty: interrupted, or no answer (told).
    int Unanswered(const UnitEntry& unit, const UnitLink& link, protocol::CommandCode code) const;

private:
    CliContext& context_;
    const Options& options_;
};

// Reads the serial number; empty when the unit does not answer.
QString SerialNumber(UnitLink& link);
// The row of `unit`, with its serial number asked for when it can be opened.
UnitRow RowOf(const UnitEntry& unit, std::chrono::milliseconds timeout);

}  // namespace quillo::cli
