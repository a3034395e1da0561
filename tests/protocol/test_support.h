#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "protocol/report_device.h"
#include "protocol/sequence.h"

namespace quillo::protocol {

// Readable failure output for sequences.
inline void PrintTo(const Step& step, std::ostream* os) {
    if (step.kind == Step::Kind::Pause) {
        *os << "pause " << step.pause.count() << " ms";
        return;
    }
    *os << "send " << static_cast<int>(step.code) << " [";
    for (const char16_t c : step.payload) {
        *os << ' ' << static_cast<unsigned>(c);
    }
    *os << " ]";
}

namespace test {

using Bytes = std::vector<std::uint8_t>;

// A device that records every report written to it. It can fail or cut short its writes to
// show that the sender does not depend on them.
class RecordingDevice : public ReportDevice {
public:
    enum class WriteResult { Ok, Fail, Short };

    explicit RecordingDevice(std::size_t reportLength, WriteResult result = WriteResult::Ok)
        : reportLength_(reportLength), result_(result) {}

    std::size_t outputReportLength() const override { return reportLength_; }
    bool writeReport(const std::uint8_t* data, std::size_t size, std::size_t& written) override {
        reports.emplace_back(data, data + size);
        switch (result_) {
            case WriteResult::Ok:
                written = size;
                return true;
            case WriteResult::Fail:
                written = 0;
                return false;
            case WriteResult::Short:
                written = size / 2;
                return true;
        }
        return false;
    }

    std::vector<Bytes> reports;

private:
    std::size_t reportLength_;
    WriteResult result_;
};

// `head` followed by zeros up to `length` bytes.
inline Bytes padded(std::initializer_list<std::uint8_t> head, std::size_t length) {
    Bytes bytes(head);
    bytes.resize(length, 0);
    return bytes;
}

// A payload of `count` characters c, c+1, ... (low byte wrapping).
inline std::u16string countingPayload(std::size_t count, char16_t first = u'\x01') {
    std::u16string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += static_cast<char16_t>(first + i);
    }
    return text;
}

}  // namespace test
}  // namespace quillo::protocol
