#include "hid/tracing_backend.h"

#include <chrono>
#include <cstdio>
#include <mutex>

namespace quillo::hid {

namespace {
// Initialised before main runs: the trace's time origin.
const std::chrono::steady_clock::time_point kProgramStart = std::chrono::steady_clock::now();

double MillisecondsSinceStart() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                     kProgramStart)
        .count();
}
}  // namespace

std::string FormatTraceLine(double milliseconds, bool out, const std::string& path,
                            const std::uint8_t* data, std::size_t size) {
    char head[64];
    std::snprintf(head, sizeof head, "%.3f %s ", milliseconds, out ? "out" : "in");
    std::string line = head + path;
    static const char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < size; ++i) {
        line += ' ';
        line += kHex[data[i] >> 4];
        line += kHex[data[i] & 0x0F];
    }
    return line;
}

// The open trace file, shared by every handle; lines come from the main and reader threads.
class TraceLog {
public:
    explicit TraceLog(const std::string& file) : file_(std::fopen(file.c_str(), "a")) {}
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;
    ~TraceLog() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }

    void Write(bool out, const std::string& path, const std::uint8_t* data, std::size_t size) {
        if (file_ == nullptr) {
            return;
        }
        const std::string line = FormatTraceLine(MillisecondsSinceStart(), out, path, data, size);
        std::lock_guard lock(mutex_);
        std::fputs(line.c_str(), file_);
        std::fputc('\n', file_);
        std::fflush(file_);
    }

    // After an "out" line whose write then failed: nothing of it may have reached the device.
    void WriteFailed(const std::string& path) {
        if (file_ == nullptr) {
            return;
        }
        char head[64];
        std::snprintf(head, sizeof head, "%.3f failed ", MillisecondsSinceStart());
        const std::string line = head + path;
        std::lock_guard lock(mutex_);
        std::fputs(line.c_str(), file_);
        std::fputc('\n', file_);
        std::fflush(file_);
    }

private:
    std::mutex mutex_;
    std::FILE* file_;
};

namespace {

class TracingHandle : public platform::Handle {
public:
    TracingHandle(std::unique_ptr<platform::Handle> inner, std::string path,
                  std::shared_ptr<TraceLog> log)
        : inner_(std::move(inner)), path_(std::move(path)), log_(std::move(log)) {}

    platform::Access access() const override { return inner_->access(); }
    bool attributes(platform::Attributes& out) override { return inner_->attributes(out); }
    bool productString(std::u16string& out) override { return inner_->productString(out); }
    bool reportLengths(platform::ReportLengths& out) override { return inner_->reportLengths(out); }

    bool write(const std::uint8_t* data, std::size_t size, std::size_t& written,
               platform::WriteFailure& failure) override {
        // Logged before the report goes out: the unit's answer, logged by the reader thread,
        // can arrive before write() returns, and the trace keeps cause before effect.
        log_->Write(true, path_, data, size);
        const bool ok = inner_->write(data, size, written, failure);
        if (!ok) {
            log_->WriteFailed(path_);
        }
        return ok;
    }

    platform::ReadResult read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override {
        const platform::ReadResult result = inner_->read(buffer, size, timeoutMs);
        if (result.status == platform::ReadStatus::Data && result.bytes > 0) {
            log_->Write(false, path_, buffer, result.bytes);
        }
        return result;
    }

    platform::ReadResult waitReadable(int timeoutMs) override {
        return inner_->waitReadable(timeoutMs);
    }

    void cancelRead() override { inner_->cancelRead(); }

private:
    std::unique_ptr<platform::Handle> inner_;
    std::string path_;
    std::shared_ptr<TraceLog> log_;
};

}  // namespace

TracingBackend::TracingBackend(std::unique_ptr<platform::Backend> inner, const std::string& file)
    : inner_(std::move(inner)), log_(std::make_shared<TraceLog>(file)) {}

TracingBackend::~TracingBackend() = default;

std::vector<platform::InterfaceInfo> TracingBackend::enumerate() {
    return inner_->enumerate();
}

std::unique_ptr<platform::Handle> TracingBackend::open(const std::string& path,
                                                       platform::Access access,
                                                       std::uint32_t* error) {
    std::unique_ptr<platform::Handle> handle = inner_->open(path, access, error);
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<TracingHandle>(std::move(handle), path, log_);
}

void TracingBackend::setChangeHandler(std::function<void()> handler) {
    inner_->setChangeHandler(std::move(handler));
}

int TracingBackend::changeDescriptor() const {
    return inner_->changeDescriptor();
}

void TracingBackend::dispatchChanges() {
    inner_->dispatchChanges();
}

}  // namespace quillo::hid
