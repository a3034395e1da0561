#include "protocol/ip_octets.h"

#include <cstddef>

namespace quillo::protocol {

std::u16string dottedText(const IpOctets& address) {
    std::u16string text;
    if (address.empty()) {
        return text;
    }
    for (std::size_t i = 0; i < address.octets().size(); ++i) {
        if (i > 0) {
            text += u'.';
        }
        for (const char digit : std::to_string(address.octets()[i])) {
            text += static_cast<char16_t>(digit);
        }
    }
    return text;
}

std::optional<IpOctets> parseDottedAddress(std::u16string_view text) {
    std::array<std::uint8_t, 4> octets{};
    std::size_t pos = 0;
    for (std::size_t field = 0; field < octets.size(); ++field) {
        if (field > 0) {
            if (pos >= text.size() || text[pos] != u'.') {
                return std::nullopt;
            }
            ++pos;
        }
        unsigned value = 0;
        std::size_t digits = 0;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9' && digits < 3) {
            value = value * 10 + (text[pos] - u'0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || value > 255) {
            return std::nullopt;
        }
        octets[field] = static_cast<std::uint8_t>(value);
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return IpOctets(octets);
}

}  // namespace quillo::protocol
