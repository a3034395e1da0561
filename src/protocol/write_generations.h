#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>

#include "protocol/command_code.h"

namespace quillo::protocol {

// Tells a read answer that is older than a write of the same parameter. Every write of a code
// bumps that code's generation; every read request is stamped with the generation it went out
// under, and the unit answers one code's requests in order, so the oldest stamp belongs to the
// next answer. An answer whose stamp is behind its code's generation was asked for before the
// last write and would put the old value back.
class WriteGenerations {
public:
    // Requests kept per code; a unit that leaves more unanswered loses the oldest stamps.
    static constexpr std::size_t kMaxPending = 16;

    void written(CommandCode code);
    void requested(CommandCode code);
    // For an answer of `code`: false when its request went out before a later write of `code`.
    // An answer without a stamp (asked for before clear(), or its stamp went over the bound)
    // counts as current only while its code has not been written since the last clear().
    bool answerIsCurrent(CommandCode code);
    // Forgets every stamp (the device list was rebuilt; the unit may be the same one, with its
    // answers still on the way).
    void clear();

private:
    std::array<std::uint32_t, 256> generation_{};
    std::array<std::uint32_t, 256> generationAtClear_{};
    std::array<std::deque<std::uint32_t>, 256> stamps_{};
};

}  // namespace quillo::protocol
