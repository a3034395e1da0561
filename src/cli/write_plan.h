#pragma once

// The writes of `set` and `restore`: the window's Apply/Save of the Wi-Fi page and of the fan
// page for a state, both checked before either is sent, and the check of what the unit took.

#include <QString>
#include <QStringList>
#include <optional>

#include "cli/unit_state.h"
#include "protocol/sequence.h"
#include "protocol/unit_contract.h"

namespace quillo::cli {

// The steps of the Wi-Fi write (when `wifi`) followed by those of the fan write (when `fan`).
// std::nullopt when the window would refuse, with `error` naming the key and giving the
// window's message.
std::optional<protocol::Sequence> PlanWrites(const UnitState& state, bool wifi, bool fan,
                                             QString& error);

// The settings of the groups written whose value read back differs from the one sent, as
// "key: sent X, the unit holds Y".
QStringList NotTaken(const UnitValues& sent, const UnitValues& readBack,
                     protocol::unit::Model model, bool wifi, bool fan);

}  // namespace quillo::cli
