#pragma once

// quilloctl run in-process over simulated units: the same backend stays across runs, so one
// test can set, back up, restore and show, and look at every report the units received.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <cstdint>
#include <memory>
#include <vector>

#include "cli/console.h"
#include "cli/quilloctl.h"
#include "protocol/command_code.h"
#include "sim/sim_backend.h"

namespace quillo::cli {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
protected:
    using Report = std::vector<std::uint8_t>;

    void SetUp() override {
        ClearInterrupt();
        backend_ = std::make_shared<sim::SimBackend>();
    }
    void TearDown() override { ClearInterrupt(); }

    sim::SimInterface& Plug(sim::Model model) { return backend_->plugUnit(model, false); }
    sim::SimInterface& Interface(int index) { return backend_->interface(index); }

    CliRun Run(const QStringList& arguments, bool inputIsTerminal = false,
               const QString& answer = {}) {
        CliRun run;
        QTextStream out(&run.out);
        QTextStream err(&run.err);
        CliContext context;
        context.backend = backend_;
        context.out = &out;
        context.err = &err;
        context.inputIsTerminal = inputIsTerminal;
        context.readAnswer = [answer] { return answer; };
        run.status = RunQuilloctl(arguments, context);
        out.flush();
        err.flush();
        return run;
    }

    // Reports written to a unit other than read requests: what changed it.
    std::vector<Report> Changes(int index) {
        std::vector<Report> changes;
        for (Report& report : Interface(index).writes()) {
            if (report.size() > 1 && report[1] != protocol::Code_Read) {
                changes.push_back(std::move(report));
            }
        }
        return changes;
    }
    std::size_t AllWrites() {
        std::size_t count = 0;
        for (int i = 0; i < backend_->count(); ++i) {
            count += Interface(i).writes().size();
        }
        return count;
    }

    std::shared_ptr<sim::SimBackend> backend_;
};

}  // namespace quillo::cli
