#pragma once

// A backend decorator that appends one line per report written or delivered to a trace file:
//   <ms since program start, 3 decimals> <out|in> <device path> <bytes as lowercase hex>
// for support on real machines (QUILLO_TRACE) and on the simulation alike. Plain C++.

#include <memory>
#include <string>

#include "hid/platform/hid_backend.h"

namespace quillo::hid {

class TraceLog;

// Formats one trace line (without the newline).
std::string FormatTraceLine(double milliseconds, bool out, const std::string& path,
                            const std::uint8_t* data, std::size_t size);

class TracingBackend : public platform::Backend {
public:
    // Opens `file` for appending; when it cannot be opened the backend traces nothing.
    TracingBackend(std::unique_ptr<platform::Backend> inner, const std::string& file);
    ~TracingBackend() override;

    std::vector<platform::InterfaceInfo> enumerate() override;
    std::unique_ptr<platform::Handle> open(const std::string& path, platform::Access access,
                                           std::uint32_t* error = nullptr) override;
    void setChangeHandler(std::function<void()> handler) override;
    int changeDescriptor() const override;
    void dispatchChanges() override;

    platform::Backend& inner() { return *inner_; }

private:
    std::unique_ptr<platform::Backend> inner_;
    std::shared_ptr<TraceLog> log_;
};

}  // namespace quillo::hid
