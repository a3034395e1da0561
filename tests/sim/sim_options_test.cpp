// QUILLO_SIMULATE: units, their options, and errors for anything not understood.
#include "sim/sim_options.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace quillo::sim {
namespace {

using platform::Access;
using std::chrono::milliseconds;

TEST(SimOptionsTest, OptionsGoToTheLastUnitOfTheirModel) {
    const std::vector<SimUnitOptions> units = ParseSimOptions(
        " solvi:delay=150, pargo:networks=0,,solvi:refuse-first-open:zero-reads=2,solvi,"
        "solvi:stray=500:unreadable-lengths,pargo:read-errors=3:write-errors=1:garbage=4");
    ASSERT_EQ(units.size(), 3U);
    EXPECT_EQ(units[0].model, Model::Solvi);
    EXPECT_EQ(units[0].faults.answerDelay, milliseconds(150));
    EXPECT_EQ(units[0].faults.refusedReadWriteOpens, 1);
    EXPECT_EQ(units[0].faults.zeroLengthReads, 2);
    EXPECT_EQ(units[0].faults.unreadableLengths, 0);

    EXPECT_EQ(units[1].model, Model::Pargo);
    EXPECT_EQ(units[1].networks, 0);
    EXPECT_EQ(units[1].faults.readErrors, 3);
    EXPECT_EQ(units[1].faults.writeErrors, 1);
    EXPECT_EQ(units[1].faults.garbageEvery, 4);

    EXPECT_EQ(units[2].model, Model::Solvi);
    EXPECT_EQ(units[2].faults.strayLineEvery, milliseconds(500));
    EXPECT_EQ(units[2].faults.unreadableLengths, 1);
    EXPECT_FALSE(units[2].networks);

    EXPECT_TRUE(ParseSimOptions("").empty());
    EXPECT_TRUE(ParseSimOptions(" , ").empty());
}

TEST(SimOptionsTest, AnythingNotUnderstoodIsAnErrorThatNamesIt) {
    struct Case {
        const char* value;
        const char* message;
    };
    for (const Case& c : {
             Case{"solvi,unknown", "unknown unit 'unknown'"},
             Case{"solvi:bogus", "unknown option 'bogus' for solvi"},
             Case{"pargo:delay", "option 'delay' needs a whole number"},
             Case{"pargo:delay=abc", "not 'abc'"},
             Case{"pargo:delay=-1", "not '-1'"},
             Case{"pargo:delay=60001", "from 0 to 60000"},
             Case{"solvi:networks=101", "from 0 to 100"},
             Case{"solvi:refuse-first-open=1", "option 'refuse-first-open' takes no value"},
             Case{"solvi:", "unknown option '' for solvi"},
         }) {
        try {
            ParseSimOptions(c.value);
            ADD_FAILURE() << c.value << " was accepted";
        } catch (const SimOptionsError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << c.value << ": " << error.what();
        }
    }
}

TEST(SimOptionsTest, TheBackendCarriesTheFaults) {
    auto backend = CreateSimBackend("solvi:refuse-first-open:unreadable-lengths,pargo:networks=2");
    ASSERT_EQ(backend->count(), 2);
    SimInterface& solvi = backend->interface(0);
    // One refusal, then the interface opens; one unreadable read of the lengths, then they read.
    EXPECT_EQ(backend->open(solvi.path(), Access::ReadWrite), nullptr);
    auto handle = backend->open(solvi.path(), Access::ReadWrite);
    ASSERT_NE(handle, nullptr);
    platform::ReportLengths lengths;
    EXPECT_FALSE(handle->reportLengths(lengths));
    EXPECT_TRUE(handle->reportLengths(lengths));
    EXPECT_EQ(lengths.input, 65);

    const std::vector<std::string>& networks = backend->interface(1).unit()->accessPoints;
    ASSERT_EQ(networks.size(), 2U);
    EXPECT_EQ(networks[1], R"(+CWLAP:(3,"Network 2",-42,"02:00:00:00:00:02",6,0,0))");
    EXPECT_THROW(CreateSimBackend("solvi:nope"), SimOptionsError);
}

}  // namespace
}  // namespace quillo::sim
