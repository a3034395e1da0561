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
    const std::string path = sim->plugUnit(sim::Model::Solvi, false).path();
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

// A handle whose write looks at the trace as it stands while the report goes out.
class PeekingHandle : public platform::Handle {
public:
    PeekingHandle(std::filesystem::path file, std::vector<std::string>& seen, bool ok)
        : file_(std::move(file)), seen_(seen), ok_(ok) {}
    platform::Access access() const override { return platform::Access::ReadWrite; }
    bool attributes(platform::Attributes& /*out*/) override { return false; }
    bool productString(std::u16string& /*out*/) override { return false; }
    bool reportLengths(platform::ReportLengths& /*out*/) override { return false; }
    bool write(const std::uint8_t* /*data*/, std::size_t size, std::size_t& written,
               platform::WriteFailure& failure) override {
        seen_ = Lines(file_);
        written = ok_ ? size : 0;
        failure = ok_ ? platform::WriteFailure::None : platform::WriteFailure::Failed;
        return ok_;
    }
    platform::ReadResult read(std::uint8_t* /*buffer*/, std::size_t /*size*/,
                              int /*timeoutMs*/) override {
        return {platform::ReadStatus::Cancelled, 0, 0};
    }
    void cancelRead() override {}

private:
    std::filesystem::path file_;
    std::vector<std::string>& seen_;
    bool ok_;
};

class PeekingBackend : public platform::Backend {
public:
    PeekingBackend(std::filesystem::path file, std::vector<std::string>& seen, bool ok)
        : file_(std::move(file)), seen_(seen), ok_(ok) {}
    std::vector<platform::InterfaceInfo> enumerate() override { return {}; }
    std::unique_ptr<platform::Handle> open(const std::string& /*path*/, platform::Access /*access*/,
                                           std::uint32_t* /*error*/) override {
        return std::make_unique<PeekingHandle>(file_, seen_, ok_);
    }
    void setChangeHandler(std::function<void()> /*handler*/) override {}

private:
    std::filesystem::path file_;
    std::vector<std::string>& seen_;
    bool ok_;
};

// The "out" line stands in the trace before the report goes out, so the unit's answer, logged
// by the reader thread, can never come before the request that caused it; a failed write is
// marked as such.
TEST_F(TraceTest, AReportIsTracedBeforeItGoesOut) {
    for (const bool ok : {true, false}) {
        std::filesystem::remove(file);
        std::vector<std::string> seen;
        TracingBackend backend(std::make_unique<PeekingBackend>(file, seen, ok), file.string());
        auto handle = backend.open("dev0", platform::Access::ReadWrite);
        const std::uint8_t request[] = {1, 16, 1, 5};
        std::size_t written = 0;
        EXPECT_EQ(handle->write(request, sizeof request, written), ok);
        ASSERT_EQ(seen.size(), 1U);
        EXPECT_EQ(seen[0].substr(seen[0].find(' ') + 1), "out dev0 01 10 01 05");
        const auto lines = Lines(file);
        ASSERT_EQ(lines.size(), ok ? 1U : 2U);
        if (!ok) {
            EXPECT_EQ(lines[1].substr(lines[1].find(' ') + 1), "failed dev0");
        }
    }
}

// QUILLO_SIMULATE set but empty means the real units, as unset does.
TEST_F(TraceTest, AnEmptySimulateChoosesTheSystemsUnits) {
    ::setenv("QUILLO_SIMULATE", "", 1);
    auto backend = backend_choice::ChooseBackend();
    ::unsetenv("QUILLO_SIMULATE");
    EXPECT_EQ(dynamic_cast<sim::SimBackend*>(backend.get()), nullptr);
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
