#include "protocol/write_generations.h"

#include <gtest/gtest.h>

namespace quillo::protocol {
namespace {

using Clock = WriteGenerations::Clock;
using std::chrono::milliseconds;

TEST(WriteGenerations, OnlyAnswersAskedForBeforeALaterWriteOfTheirCodeAreStale) {
    WriteGenerations g;
    const Clock::time_point t{};
    g.requested(Code_Night_timer, t);  // under way when the user applies
    g.requested(Code_Party_timer, t);  // another code: not touched by the write
    g.written(Code_Night_timer);
    g.requested(Code_Night_timer, t);  // asked again after the write
    EXPECT_FALSE(g.answerIsCurrent(Code_Night_timer, t));
    EXPECT_TRUE(g.answerIsCurrent(Code_Party_timer, t));
    EXPECT_TRUE(g.answerIsCurrent(Code_Night_timer, t));
    // No stamp left: an answer of a code written since could only put an old value back.
    EXPECT_FALSE(g.answerIsCurrent(Code_Night_timer, t));
    EXPECT_TRUE(g.answerIsCurrent(Code_Party_timer, t));

    g.requested(Code_Gateway, t);
    g.written(Code_Gateway);
    g.clear();  // the device list is rebuilt: the stamps are gone
    EXPECT_TRUE(g.answerIsCurrent(Code_Gateway, t));
    // A request under way across the rebuild, then a write: its answer is stale all the same.
    g.requested(Code_Humidity_threshold, t);
    g.clear();
    g.written(Code_Humidity_threshold);
    EXPECT_FALSE(g.answerIsCurrent(Code_Humidity_threshold, t));
}

// A request whose answer never came stops counting once its time is over: the answer to a
// request made after a later write is current, whether the write came before or after the
// lost request's time ran out, and a slow answer within the time is still judged by its stamp.
TEST(WriteGenerations, AnUnansweredRequestStopsCountingAfterItsTime) {
    const Clock::time_point t{};
    const auto late = t + WriteGenerations::kAnswerTime + milliseconds(1);
    {
        WriteGenerations g;
        g.requested(Code_Device_mode, t);  // never answered
        g.written(Code_Device_mode);
        g.requested(Code_Device_mode, late);
        EXPECT_TRUE(g.answerIsCurrent(Code_Device_mode, late));
    }
    {
        WriteGenerations g;
        g.requested(Code_Device_mode, t);  // never answered
        g.written(Code_Device_mode);
        g.requested(Code_Device_mode, t + milliseconds(10));
        EXPECT_TRUE(g.answerIsCurrent(Code_Device_mode, late));
    }
    {
        WriteGenerations g;
        g.requested(Code_Device_mode, t);  // a slow unit: answered within the time
        g.written(Code_Device_mode);
        EXPECT_FALSE(g.answerIsCurrent(Code_Device_mode, t + WriteGenerations::kAnswerTime));
    }
}

// A unit slower than a request's time: its answer, stamp gone, is judged by the newest request
// of its code that ran out of time, which tells whether it was asked for after the last write.
TEST(WriteGenerations, ALateAnswerIsJudgedByTheNewestRequestThatRanOutOfTime) {
    const Clock::time_point t{};
    const auto late = t + WriteGenerations::kAnswerTime + milliseconds(500);
    WriteGenerations g;
    g.written(Code_Device_mode);       // an Apply, then a factory reset and its read chain
    g.requested(Code_Device_mode, t);  // answered only 1.5 s later
    g.requested(Code_Night_timer, t);  // under way when the fan page is applied
    g.written(Code_Night_timer);
    EXPECT_TRUE(g.answerIsCurrent(Code_Device_mode, late));
    EXPECT_FALSE(g.answerIsCurrent(Code_Night_timer, late));
    // Written again after the late request: an answer now can only be old.
    g.written(Code_Device_mode);
    EXPECT_FALSE(g.answerIsCurrent(Code_Device_mode, late));
    // A rebuilt device list forgets them: the write since the rebuild decides.
    g.clear();
    EXPECT_TRUE(g.answerIsCurrent(Code_Device_mode, late));
}

// The main thread busy with a write sequence for longer than a request's time while answers
// wait: an answer is judged by when it came, and a request sent after it came (the read chain
// going on once the thread is free) never takes the place of the one it answers.
TEST(WriteGenerations, AnAnswerHandledLateIsJudgedByWhenItCame) {
    const Clock::time_point t{};
    const auto busyUntil = t + WriteGenerations::kAnswerTime + milliseconds(500);
    for (const auto cameAt :
         {t + milliseconds(200), t + WriteGenerations::kAnswerTime + milliseconds(100)}) {
        SCOPED_TRACE((cameAt - t).count());
        WriteGenerations g;
        g.requested(Code_Humidity_sensor, t);  // answered with the old value while the fan page
        g.written(Code_Humidity_sensor);       // is written
        g.requested(Code_Humidity_sensor, busyUntil);  // asked again before that answer is handled
        EXPECT_FALSE(g.answerIsCurrent(Code_Humidity_sensor, cameAt));
        EXPECT_TRUE(g.answerIsCurrent(Code_Humidity_sensor, busyUntil + milliseconds(10)));
    }
}

// A unit that leaves requests unanswered cannot grow the record without bound: the oldest
// stamps go first.
TEST(WriteGenerations, KeepsABoundedNumberOfStampsPerCode) {
    WriteGenerations g;
    const Clock::time_point t{};
    for (std::size_t i = 0; i < WriteGenerations::kMaxPending + 3; ++i) {
        g.requested(Code_Wi_Fi_name, t);
    }
    g.written(Code_Wi_Fi_name);
    for (std::size_t i = 0; i < WriteGenerations::kMaxPending; ++i) {
        EXPECT_FALSE(g.answerIsCurrent(Code_Wi_Fi_name, t)) << i;
    }
    // The answers whose stamps went over the bound were asked for before the write too.
    EXPECT_FALSE(g.answerIsCurrent(Code_Wi_Fi_name, t));
}

}  // namespace
}  // namespace quillo::protocol
