#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "protocol/command_code.h"

namespace quillo::protocol {

// Tells a read answer that is older than a write of the same parameter. Every write of a code
// that went out bumps that code's generation; every read request that went out is stamped with
// the generation it went out under, and the unit answers one code's requests in order, so the
// oldest stamp belongs to the next answer. An answer whose stamp is behind its code's generation
// was asked for before the last write and would put the old value back.
//
// A request whose answer never comes (lost, or skipped by the unit) must not make every later
// answer of its code look old: a stamp stops counting once kAnswerTime has passed since its
// request went out, long after most units have answered. An answer that comes later still is
// judged by the newest request of its code whose time ran out: current when that request went
// out after the last write.
//
// Time is told from when an answer came, not from when it is handled: the main thread may be
// busy for longer than kAnswerTime (a write sequence with its pauses) while answers wait, and a
// request sent in between must not take the place of the one an answer came for. A request
// that went out after an answer came is never the one it answers.
class WriteGenerations {
public:
    using Clock = std::chrono::steady_clock;
    // Requests kept per code; a unit that leaves more unanswered loses the oldest stamps.
    static constexpr std::size_t kMaxPending = 16;
    static constexpr std::chrono::milliseconds kAnswerTime{1000};

    void written(CommandCode code);
    // `sent`: taken before the request went out, so that no answer to it can come earlier.
    void requested(CommandCode code, Clock::time_point sent);
    // For an answer of `code` that came at `arrived`: false when its request went out before a
    // later write of `code`.
    // An answer without a stamp counts as current when the newest request of its code that ran
    // out of time went out after the last write; with none since the last clear() (asked for
    // before it, or its stamp over the bound), only while its code has not been written since.
    bool answerIsCurrent(CommandCode code, Clock::time_point arrived);
    // Forgets every stamp (the device list was rebuilt; the unit may be the same one, with its
    // answers still on the way).
    void clear();

private:
    struct Stamp {
        std::uint32_t generation;
        Clock::time_point sent;
    };
    void forgetUnanswered(CommandCode code, Clock::time_point now);

    std::array<std::uint32_t, 256> generation_{};
    std::array<std::uint32_t, 256> generationAtClear_{};
    std::array<std::deque<Stamp>, 256> stamps_{};
    // The generation of the newest request per code that ran out of time since the last clear().
    std::array<std::optional<std::uint32_t>, 256> newestExpired_{};
};

}  // namespace quillo::protocol
