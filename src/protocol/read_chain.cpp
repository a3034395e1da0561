#include "protocol/read_chain.h"

#include <algorithm>

namespace quillo::protocol {

bool isReadChainCode(CommandCode code) {
    return std::find(kReadChain.begin(), kReadChain.end(), code) != kReadChain.end();
}

std::optional<CommandCode> nextReadCode(CommandCode answered) {
    const auto* found = std::find(kReadChain.begin(), kReadChain.end(), answered);
    if (found == kReadChain.end() || found + 1 == kReadChain.end()) {
        return std::nullopt;
    }
    return *(found + 1);
}

}  // namespace quillo::protocol
