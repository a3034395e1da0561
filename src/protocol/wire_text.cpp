#include "protocol/wire_text.h"

#include <algorithm>
#include <optional>

namespace quillo::protocol {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point of the UTF-8 sequence at `bytes[i]` and its length; std::nullopt when it is
// not a well-formed sequence.
struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

std::optional<Decoded> decodeOne(std::span<const std::uint8_t> bytes, std::size_t i) {
    const std::uint8_t lead = bytes[i];
    if (lead < 0x80) {
        return Decoded{lead, 1};
    }
    std::size_t length = 0;
    char32_t codePoint = 0;
    // The range the second byte must lie in excludes overlong forms, surrogates and code points
    // above U+10FFFF.
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0FU;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07U;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return std::nullopt;
    }
    if (bytes.size() - i < length) {
        return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const std::uint8_t b = bytes[i + k];
        const std::uint8_t min = k == 1 ? low : 0x80;
        const std::uint8_t max = k == 1 ? high : 0xBF;
        if (b < min || b > max) {
            return std::nullopt;
        }
        codePoint = (codePoint << 6U) | (b & 0x3FU);
    }
    return Decoded{codePoint, length};
}

void appendUtf16(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<char16_t>(codePoint);
        return;
    }
    const char32_t offset = codePoint - 0x10000;
    text += static_cast<char16_t>(0xD800 + (offset >> 10U));
    text += static_cast<char16_t>(0xDC00 + (offset & 0x3FFU));
}

void appendUtf8(std::vector<std::uint8_t>& bytes, char32_t codePoint) {
    const auto byte = [](char32_t value) { return static_cast<std::uint8_t>(value); };
    if (codePoint < 0x80) {
        bytes.push_back(byte(codePoint));
    } else if (codePoint < 0x800) {
        bytes.push_back(byte(0xC0 | (codePoint >> 6U)));
        bytes.push_back(byte(0x80 | (codePoint & 0x3FU)));
    } else if (codePoint < 0x10000) {
        bytes.push_back(byte(0xE0 | (codePoint >> 12U)));
        bytes.push_back(byte(0x80 | ((codePoint >> 6U) & 0x3FU)));
        bytes.push_back(byte(0x80 | (codePoint & 0x3FU)));
    } else {
        bytes.push_back(byte(0xF0 | (codePoint >> 18U)));
        bytes.push_back(byte(0x80 | ((codePoint >> 12U) & 0x3FU)));
        bytes.push_back(byte(0x80 | ((codePoint >> 6U) & 0x3FU)));
        bytes.push_back(byte(0x80 | (codePoint & 0x3FU)));
    }
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

bool isValidUtf8(std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::optional<Decoded> one = decodeOne(bytes, i);
        if (!one) {
            return false;
        }
        i += one->length;
    }
    return true;
}

std::u16string decodeWireText(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    if (isValidUtf8(bytes)) {
        for (std::size_t i = 0; i < bytes.size();) {
            const Decoded one = *decodeOne(bytes, i);
            appendUtf16(text, one.codePoint);
            i += one.length;
        }
        return text;
    }
    for (const std::uint8_t b : bytes) {
        text += static_cast<char16_t>(b);
    }
    return text;
}

std::vector<std::uint8_t> utf8Bytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            const char32_t high = c - 0xD800U;
            const char32_t low = text[i + 1] - 0xDC00U;
            appendUtf8(bytes, 0x10000 + ((high << 10U) | low));
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            appendUtf8(bytes, kReplacement);
        } else {
            appendUtf8(bytes, c);
        }
    }
    return bytes;
}

std::vector<std::uint8_t> wifiNameBytes(std::u16string_view shown,
                                        std::span<const std::uint8_t> readBytes) {
    if (!readBytes.empty()) {
        const std::u16string read = decodeWireText(readBytes);
        if (read == shown || (shown.size() == kNameBoxLength && read.starts_with(shown))) {
            return {readBytes.begin(), readBytes.end()};
        }
    }
    return utf8Bytes(shown);
}

std::u16string wifiPasswordText(std::u16string_view shown, std::u16string_view read) {
    if (shown.size() == kPasswordBoxLength && read.size() > shown.size() &&
        read.starts_with(shown)) {
        return std::u16string(read);
    }
    return std::u16string(shown);
}

bool isPrintableAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x20 && c <= 0x7E; });
}

}  // namespace quillo::protocol
