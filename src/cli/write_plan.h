#pragma once

// The writes of `set` and `restore`: the window's Apply/Save of the Wi-Fi page and of the fan
// page for a state, both checked before either is sent, and the comparison of what was asked
// with what the unit would hold or holds.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "cli/unit_state.h"
#include "protocol/sequence.h"

namespace quillo::cli {

struct SettingKey;

// The steps of the Wi-Fi write (when `wifi`) followed by those of the fan write (when `fan`).
// std::nullopt when the window would refuse, with `error` naming the key and giving the
// window's message.
std::optional<protocol::Sequence> PlanWrites(const PageState& state, bool wifi, bool fan,
                                             QString& error);

// The keys whose value in `held` differs from the one `asked` for, as
// "key: asked for X, <heldAs> Y".
QStringList Differences(const PageState& asked, const PageState& held,
                        const std::vector<const SettingKey*>& keys, const QString& heldAs);

}  // namespace quillo::cli
