#include "protocol/write_generations.h"

namespace quillo::protocol {

void WriteGenerations::written(CommandCode code) {
    ++generation_[code];
}

void WriteGenerations::forgetUnanswered(CommandCode code, Clock::time_point now) {
    std::deque<Stamp>& stamps = stamps_[code];
    while (!stamps.empty() && now - stamps.front().sent > kAnswerTime) {
        newestExpired_[code] = stamps.front().generation;
        stamps.pop_front();
    }
}

void WriteGenerations::requested(CommandCode code, Clock::time_point sent) {
    forgetUnanswered(code, sent);
    std::deque<Stamp>& stamps = stamps_[code];
    if (stamps.size() == kMaxPending) {
        stamps.pop_front();
    }
    stamps.push_back({generation_[code], sent});
}

bool WriteGenerations::answerIsCurrent(CommandCode code, Clock::time_point arrived) {
    forgetUnanswered(code, arrived);
    std::deque<Stamp>& stamps = stamps_[code];
    if (stamps.empty() || stamps.front().sent > arrived) {
        // A slow unit's answer to a request that ran out of time, or one asked for before the
        // stamps were forgotten: current unless its code was written since.
        if (newestExpired_[code]) {
            return *newestExpired_[code] == generation_[code];
        }
        return generation_[code] == generationAtClear_[code];
    }
    const std::uint32_t stamp = stamps.front().generation;
    stamps.pop_front();
    return stamp == generation_[code];
}

void WriteGenerations::clear() {
    generationAtClear_ = generation_;
    for (std::deque<Stamp>& stamps : stamps_) {
        stamps.clear();
    }
    newestExpired_.fill(std::nullopt);
}

}  // namespace quillo::protocol
