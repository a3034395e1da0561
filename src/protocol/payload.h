#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/ip_octets.h"

namespace quillo::protocol {

// A command's value: text of 16-bit code units, each sent as one byte, its low 8 bits. Numbers
// are one-character texts whose character code is the byte; texts received from the unit hold
// one character per byte (U+0000..U+00FF), so sending them back reproduces the bytes exactly.
using Payload = std::u16string;

// The byte a payload character becomes on the wire (a character above U+00FF loses its upper
// byte).
constexpr std::uint8_t wireByte(char16_t c) {
    return static_cast<std::uint8_t>(c & 0xFFU);
}

// Plain text: Wi-Fi name, password, AT command lines.
Payload textPayload(std::u16string_view text);
// One byte: numbers, flags, digit characters, the code asked for by Code_Read.
Payload bytePayload(std::uint8_t value);
// A sequence of bytes in the given order.
Payload bytesPayload(std::span<const std::uint8_t> bytes);
// Four octets first octet first; an address without octets gives an empty payload.
Payload addressPayload(const IpOctets& address);
// The low 24 bits of a second count, most significant byte first.
Payload secondsPayload(std::uint32_t seconds);

// One character per byte, the character code being the byte value.
std::u16string textFromBytes(std::span<const std::uint8_t> bytes);
// The bytes a payload goes out as, one per character (see wireByte).
std::vector<std::uint8_t> wireBytes(std::u16string_view payload);

// The receiving side of addressPayload and secondsPayload: the value at the start of `bytes`,
// std::nullopt when there are fewer bytes than its encoding takes.
std::optional<IpOctets> addressFromBytes(std::span<const std::uint8_t> bytes);
std::optional<std::uint32_t> secondsFromBytes(std::span<const std::uint8_t> bytes);

}  // namespace quillo::protocol
