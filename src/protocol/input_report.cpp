#include "protocol/input_report.h"

#include <algorithm>

#include "protocol/payload.h"

namespace quillo::protocol {

namespace {
constexpr std::size_t kValueStart = 2;
}

InputReport::InputReport(const std::uint8_t* data, std::size_t size, std::size_t capacity)
    : data_(data), size_(data == nullptr ? 0 : std::min(size, capacity)) {}

InputReport::InputReport(std::span<const std::uint8_t> delivered)
    : InputReport(delivered.data(), delivered.size(), delivered.size()) {}

std::u16string InputReport::rawText() const {
    std::u16string text;
    for (std::size_t i = kValueStart; i < size_; ++i) {
        text += static_cast<char16_t>(data_[i]);
    }
    return text;
}

std::u16string InputReport::displayText() const {
    std::u16string text = rawText();
    const std::size_t end = text.find(u'\0');
    if (end != std::u16string::npos) {
        text.resize(end);
    }
    return text;
}

std::u16string InputReport::countedText() const {
    const std::size_t available = size_ > kValueStart ? size_ - kValueStart : 0;
    const std::size_t count = std::min<std::size_t>(lengthByte(), available);
    std::u16string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += static_cast<char16_t>(data_[kValueStart + i]);
    }
    return text;
}

IpOctets InputReport::address() const {
    const std::uint8_t value[] = {byteAt(2), byteAt(3), byteAt(4), byteAt(5)};
    return *addressFromBytes(value);
}

std::uint32_t InputReport::seconds() const {
    const std::uint8_t value[] = {byteAt(2), byteAt(3), byteAt(4)};
    return *secondsFromBytes(value);
}

}  // namespace quillo::protocol
