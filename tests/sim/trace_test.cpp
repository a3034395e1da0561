// The trace decorator and the choice of backend for a run.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "backend_choice/backend_choice.h"
#include "hid/tracing_backend.h"
#include "sim/sim_backend.h"

namespace quillo::hid {
namespace {

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class TraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = std::filesystem::temp_directory_path() /
               ("quillo-trace-" + std::to_string(::getpid()) + ".txt");
        std::filesystem::remove(file);
    }
    void TearDown() override { std::filesystem::remove(file); }
    std::filesystem::path file;
};

TEST_F(TraceTest, LineFormat) {
    const std::uint8_t bytes[] = {0x01, 0x10, 0x01, 0x05, 0xff, 0x00};
    EXPECT_EQ(FormatTraceLine(1234.56789, true, "/dev/hidraw3", bytes, sizeof bytes),
              "1234.568 out /dev/hidraw3 01 10 01 05 ff 00");
    EXPECT_EQ(FormatTraceLine(0.0004, false, "sim:hidraw0", bytes, 1), "0.000 in sim:hidraw0 01");
}

TEST_F(TraceTest, AppendsOneLinePerReportWrittenOrDelivered) {
    { std::ofstream(file) << "earlier run\n"; }
    auto sim = std::make_unique<sim::SimBackend>();
    const std::string path = sim->plugUnit(sim::Model::Single, false).path();
    TracingBackend backend(std::move(sim), file.string());
    auto handle = backend.open(path, platform::Access::ReadWrite);
    ASSERT_NE(handle, nullptr);
    std::uint8_t request[65] = {1, 16, 1, 5};
    std::size_t written = 0;
    ASSERT_TRUE(handle->write(request, sizeof request, written));
    std::uint8_t buffer[65];
    ASSERT_EQ(handle->read(buffer, sizeof buffer, 1000).status, platform::ReadStatus::Data);
    EXPECT_EQ(handle->read(buffer, sizeof buffer, 1).status, platform::ReadStatus::Timeout);

    const auto lines = Lines(file);
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[0], "earlier run");
    const std::string zeros61 = [] {
        std::string s;
        for (int i = 0; i < 61; ++i) {
            s += " 00";
        }
        return s;
    }();
    const std::regex time(R"(^\d+\.\d{3} )");
    EXPECT_TRUE(std::regex_search(lines[1], time));
    EXPECT_TRUE(std::regex_search(lines[2], time));
    EXPECT_EQ(lines[1].substr(lines[1].find(' ') + 1), "out " + path + " 01 10 01 05" + zeros61);
    EXPECT_EQ(lines[2].substr(lines[2].find(' ') + 1), "in " + path + " 01 05 01 01" + zeros61);
}

TEST_F(TraceTest, SimulateAndTraceChooseTheBackend) {
    ::setenv("QUILLO_SIMULATE", "solvi,pargo", 1);
    ::setenv("QUILLO_TRACE", file.c_str(), 1);
    auto backend = backend_choice::ChooseBackend();
    ::unsetenv("QUILLO_SIMULATE");
    ::unsetenv("QUILLO_TRACE");
    ASSERT_NE(backend, nullptr);
    ASSERT_NE(dynamic_cast<TracingBackend*>(backend.get()), nullptr);
    const auto list = backend->enumerate();
    ASSERT_EQ(list.size(), 2U);
    auto handle = backend->open(list[1].path, platform::Access::None);
    std::u16string product;
    ASSERT_TRUE(handle->productString(product));
    EXPECT_EQ(product, u"Zorvat Bix");
}

}  // namespace
}  // namespace quillo::hid
