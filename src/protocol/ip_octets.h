#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillo::protocol {

// An IPv4 address as the unit stores it: either no octets at all (the state before anything was
// read or collected, sent as an empty payload) or four octets, first octet first.
class IpOctets {
public:
    constexpr IpOctets() = default;
    constexpr IpOctets(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d)
        : octets_{a, b, c, d}, present_(true) {}
    constexpr explicit IpOctets(const std::array<std::uint8_t, 4>& octets)
        : octets_(octets), present_(true) {}

    constexpr bool empty() const { return !present_; }
    // All zero when empty.
    constexpr const std::array<std::uint8_t, 4>& octets() const { return octets_; }

    friend constexpr bool operator==(const IpOctets&, const IpOctets&) = default;

private:
    std::array<std::uint8_t, 4> octets_{};
    bool present_ = false;
};

// "a.b.c.d" in decimal; empty text for an address without octets.
std::u16string dottedText(const IpOctets& address);

// Four decimal fields of one to three digits, each 0..255, joined by "."; nothing else (no
// blanks, no signs). std::nullopt when the text is not such an address.
std::optional<IpOctets> parseDottedAddress(std::u16string_view text);

}  // namespace quillo::protocol
