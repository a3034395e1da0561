#pragma once

// What quilloctl knows of a unit: the answers of the read chain, and the state the window's
// controls would show after reading them. Writes are built from that state by the same
// protocol builders the window's buttons call, so both programs send the same bytes for the
// same settings. Plain C++.

#include <cstdint>
#include <map>
#include <vector>

#include "protocol/command_code.h"
#include "protocol/device_settings.h"
#include "protocol/sequence.h"
#include "protocol/write_sequences.h"

namespace quillo::cli {

// The unit's answers by code, each as delivered: code, length byte, value (report ID removed).
using UnitValues = std::map<protocol::CommandCode, std::vector<std::uint8_t>>;

// The window's controls as the read chain leaves them in a freshly started window (the
// controls of an answer out of range keep their start-up state).
struct UnitState {
    protocol::WifiControls wifi;
    protocol::FanControls fan;
    // The window's DeviceSettings after the same answers: what a write sends for the fields
    // the chosen mode does not collect.
    protocol::DeviceSettings current;
};

// Mirrors the window's handling of each read-chain answer, in chain order.
UnitState StateFromValues(const UnitValues& values);

// The values the unit holds after `steps` have been sent to a unit holding `values`: each sent
// parameter of the read chain replaces its answer.
UnitValues ValuesAfter(const UnitValues& values, const protocol::Sequence& steps);

}  // namespace quillo::cli
