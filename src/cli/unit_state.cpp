#include "cli/unit_state.h"

#include <span>

#include "protocol/input_report.h"
#include "protocol/payload.h"
#include "protocol/read_chain.h"

namespace quillo::cli {

PageState StateFromValues(const UnitValues& values) {
    PageState state = model::StartupPageState();
    for (const protocol::CommandCode code : protocol::kReadChain) {
        if (const auto found = values.find(code); found != values.end()) {
            model::ApplyAnswer(protocol::InputReport(std::span<const std::uint8_t>(found->second)),
                               state);
        }
    }
    return state;
}

UnitValues ValuesAfter(const UnitValues& values, const protocol::Sequence& steps) {
    UnitValues after = values;
    for (const protocol::Step& step : steps) {
        if (step.kind != protocol::Step::Kind::Send || !protocol::isReadChainCode(step.code)) {
            continue;
        }
        std::vector<std::uint8_t> answer = protocol::wireBytes(step.payload);
        answer.insert(answer.begin(), {static_cast<std::uint8_t>(step.code),
                                       static_cast<std::uint8_t>(answer.size())});
        after[step.code] = std::move(answer);
    }
    return after;
}

}  // namespace quillo::cli
