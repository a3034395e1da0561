#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/command_code.h"
#include "protocol/ip_octets.h"

namespace quillo::protocol {

// One input report as the transport delivers it: the report ID removed, byte 0 the code,
// byte 1 the value length, the value from byte 2. Every reader goes through byteAt(), which
// gives 0 for any byte not delivered, so no claim in the report (its length byte, a large
// Size) can make a reader go past the buffer.
class InputReport {
public:
    // `data` points at the byte after the report ID, `capacity` bytes of it are readable, and
    // `size` is the transport's Size (bytes read minus one). Only min(size, capacity) bytes are
    // ever looked at; a null `data` gives an empty report.
    InputReport(const std::uint8_t* data, std::size_t size, std::size_t capacity);
    // A report whose bytes are exactly `delivered`.
    explicit InputReport(std::span<const std::uint8_t> delivered);

    // Bytes that may be read.
    std::size_t size() const { return size_; }
    // Byte i, or 0 when it was not delivered.
    std::uint8_t byteAt(std::size_t i) const { return i < size_ ? data_[i] : 0; }

    CommandCode code() const { return static_cast<CommandCode>(byteAt(0)); }
    std::uint8_t lengthByte() const { return byteAt(1); }

    // byte: byte 2.
    std::uint8_t byteValue() const { return byteAt(2); }
    // digit: byte 2 as a character, to compare with '0'..'9'.
    char16_t digitValue() const { return static_cast<char16_t>(byteAt(2)); }
    // text: bytes 2 .. size-1 as characters, zero bytes and filler included; empty when fewer
    // than 3 bytes arrived. Stored as the unit sent it.
    std::u16string rawText() const;
    // text as shown in a control: rawText() up to its first zero byte.
    std::u16string displayText() const;
    // counted text: byte 1 gives the number of characters, which follow from byte 2; at most
    // size-2 of them are taken.
    std::u16string countedText() const;
    // address: bytes 2..5, first octet first. Always four octets.
    IpOctets address() const;
    // seconds: bytes 2..4 as a 24-bit count, most significant first.
    std::uint32_t seconds() const;

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace quillo::protocol
