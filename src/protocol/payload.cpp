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

}  // namespace quillo::protocol
