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
    // Nobody asked: as before, current.
    EXPECT_TRUE(g.answerIsCurrent(Code_Night_timer));

    g.requested(Code_Gateway);
    g.written(Code_Gateway);
    g.clear();  // another unit: its answers owe nothing to the old stamps
    EXPECT_TRUE(g.answerIsCurrent(Code_Gateway));
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
    EXPECT_TRUE(g.answerIsCurrent(Code_Wi_Fi_name));
}

}  // namespace
}  // namespace quillo::protocol
