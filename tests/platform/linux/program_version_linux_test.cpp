#include <gtest/gtest.h>

#include <regex>

#include "platform/program_version.h"

namespace quillo::platform {
namespace {

TEST(ProgramVersionLinux, IsTheProjectVersionAsThreeNumbers) {
    const std::string text = ProgramVersionText();
    EXPECT_EQ(text, QUILLO_EXPECTED_VERSION);
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d+\.\d+\.\d+)"))) << text;
}

}  // namespace
}  // namespace quillo::platform
