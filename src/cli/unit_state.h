#pragma once

// The unit's answers as quilloctl collects them, and the page state they give: the same state,
// built by the same code, as the window's after it read the same answers.

#include <cstdint>
#include <map>
#include <vector>

#include "protocol/command_code.h"
#include "protocol/sequence.h"
#include "unit_model/page_state.h"

namespace quillo::cli {

using model::PageState;

// The unit's answers by code, each as delivered: code, length byte, value (report ID removed).
using UnitValues = std::map<protocol::CommandCode, std::vector<std::uint8_t>>;

// A freshly started window's state after the answers, applied in read-chain order.
PageState StateFromValues(const UnitValues& values);

// The values the unit holds after `steps` have been sent to a unit holding `values`: each sent
// parameter of the read chain replaces its answer.
UnitValues ValuesAfter(const UnitValues& values, const protocol::Sequence& steps);

}  // namespace quillo::cli
