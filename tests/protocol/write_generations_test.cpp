#include "protocol/write_generations.h"

#include <gtest/gtest.h>

namespace quillo::protocol {
namespace {

TEST(WriteGenerations, OnlyAnswersAskedForBeforeALaterWriteOfTheirCodeAreStale) {
    WriteGenerations g;
    g.requested(Code_Night_timer);  // under way when the user applies
    g.requested(Code_Party_timer);  // another code: not touched by the write
    g.written(Code_Night_timer);
    g.requested(Code_Night_timer);  // asked again after the write
    EXPECT_FALSE(g.answerIsCurrent(Code_Night_timer));
    EXPECT_TRUE(g.answerIsCurrent(Code_Party_timer));
    EXPECT_TRUE(g.answerIsCurrent(Code_Night_timer));
    // No stamp left: an answer of a code written since could only put an old value back.
    EXPECT_FALSE(g.answerIsCurrent(Code_Night_timer));
    EXPECT_TRUE(g.answerIsCurrent(Code_Party_timer));

    g.requested(Code_Gateway);
    g.written(Code_Gateway);
    g.clear();  // the device list is rebuilt: the stamps are gone
    EXPECT_TRUE(g.answerIsCurrent(Code_Gateway));
    // A request under way across the rebuild, then a write: its answer is stale all the same.
    g.requested(Code_Humidity_threshold);
    g.clear();
    g.written(Code_Humidity_threshold);
    EXPECT_FALSE(g.answerIsCurrent(Code_Humidity_threshold));
}

// A unit that leaves requests unanswered cannot grow the record without bound: the oldest
// stamps go first.
TEST(WriteGenerations, KeepsABoundedNumberOfStampsPerCode) {
    WriteGenerations g;
    for (std::size_t i = 0; i < WriteGenerations::kMaxPending + 3; ++i) {
        g.requested(Code_Wi_Fi_name);
    }
    g.written(Code_Wi_Fi_name);
    for (std::size_t i = 0; i < WriteGenerations::kMaxPending; ++i) {
        EXPECT_FALSE(g.answerIsCurrent(Code_Wi_Fi_name)) << i;
    }
    // The answers whose stamps went over the bound were asked for before the write too.
    EXPECT_FALSE(g.answerIsCurrent(Code_Wi_Fi_name));
}

}  // namespace
}  // namespace quillo::protocol
