#include "protocol/integer_text.h"

#include <cstddef>
#include <limits>

namespace quillo::protocol {

std::optional<std::int32_t> parseInteger(std::u16string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    if (pos == text.size()) {
        return std::nullopt;
    }
    // Accumulate the magnitude in 64 bits and stop as soon as it leaves the 32-bit range.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos];
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

Converted<std::int32_t> convertInteger(std::u16string_view text) {
    if (const auto value = parseInteger(text)) {
        return *value;
    }
    return ConversionError{std::u16string(text)};
}

std::u16string conversionErrorMessage(std::u16string_view text) {
    std::u16string message = u"'";
    message += text;
    message += u"' is not a valid integer value";
    return message;
}

std::u16string conversionErrorMessage(const ConversionError& error) {
    if (error.kind == ConversionError::Kind::NotAnInteger) {
        return conversionErrorMessage(error.text);
    }
    std::u16string message = u"'";
    message += error.text;
    message += u"' is out of range";
    return message;
}

}  // namespace quillo::protocol
