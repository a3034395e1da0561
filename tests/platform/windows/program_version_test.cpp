#include <gtest/gtest.h>

#include "platform/program_version.h"

namespace quillo::platform {
namespace {

// Built twice: with a version resource of 1.1.2.3 (the build number is not shown) and without
// one (no version at all).
TEST(ProgramVersionTest, ComesFromTheProgramFilesResource) {
    EXPECT_EQ(ProgramVersionText(), QUILLO_EXPECTED_VERSION);
}

}  // namespace
}  // namespace quillo::platform
