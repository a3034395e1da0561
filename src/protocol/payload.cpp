#include "protocol/payload.h"

namespace quillo::protocol {

Payload textPayload(std::u16string_view text) {
    return Payload(text);
}

Payload bytePayload(std::uint8_t value) {
    return {static_cast<char16_t>(value)};
}

Payload bytesPayload(std::span<const std::uint8_t> bytes) {
    return textFromBytes(bytes);
}

Payload addressPayload(const IpOctets& address) {
    if (address.empty()) {
        return {};
    }
    return bytesPayload(address.octets());
}

Payload secondsPayload(std::uint32_t seconds) {
    const std::uint8_t bytes[] = {static_cast<std::uint8_t>((seconds >> 16) & 0xFFU),
                                  static_cast<std::uint8_t>((seconds >> 8) & 0xFFU),
                                  static_cast<std::uint8_t>(seconds & 0xFFU)};
    return bytesPayload(bytes);
}

std::u16string textFromBytes(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const std::uint8_t b : bytes) {
        text += static_cast<char16_t>(b);
    }
    return text;
}

std::vector<std::uint8_t> wireBytes(std::u16string_view payload) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(payload.size());
    for (const char16_t c : payload) {
        bytes.push_back(wireByte(c));
    }
    return bytes;
}

std::optional<IpOctets> addressFromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) {
        return std::nullopt;
    }
    return IpOctets(bytes[0], bytes[1], bytes[2], bytes[3]);
}

std::optional<std::uint32_t> secondsFromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 3) {
        return std::nullopt;
    }
    return (std::uint32_t{bytes[0]} << 16) | (std::uint32_t{bytes[1]} << 8) | bytes[2];
}

}  // namespace quillo::protocol
