#pragma once

// Texts that travel as bytes: Wi-Fi names and passwords. A Wi-Fi name is bytes on the air, and
// nearly always UTF-8; a password is printable ASCII by the Wi-Fi standard.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillo::protocol {

// What Wi-Fi and the unit allow for a network name.
inline constexpr std::size_t kMaxWiFiNameBytes = 32;
// Characters the window's name box holds: a longer name read from the unit shows cut.
inline constexpr std::size_t kNameBoxLength = 32;

// Well-formed UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::span<const std::uint8_t> bytes);

// How bytes from the unit or a scan are shown: decoded as UTF-8 when they are valid UTF-8,
// else one character per byte (U+0000..U+00FF).
std::u16string decodeWireText(std::span<const std::uint8_t> bytes);

// The UTF-8 bytes of a text (a lone surrogate becomes U+FFFD). ASCII gives its own bytes.
std::vector<std::uint8_t> utf8Bytes(std::u16string_view text);

// The bytes a shown Wi-Fi name goes out as. `readBytes` are the bytes the name was read as
// (from the unit or a scan line; empty for a typed name): while the name still reads as they do
// (or as their first kNameBoxLength characters, the name box having cut it) it goes back byte
// for byte, also when they are not UTF-8; an edited or typed name goes out as UTF-8.
std::vector<std::uint8_t> wifiNameBytes(std::u16string_view shown,
                                        std::span<const std::uint8_t> readBytes);

// Characters the window's password box holds; the unit holds up to 62.
inline constexpr std::size_t kPasswordBoxLength = 60;

// The password a shown one goes out as. `read` is the password as the unit reported it (empty
// when none was read): while the box shows it, or its first kPasswordBoxLength characters, the
// box having cut it, it goes back whole; an edited or typed password goes out as shown.
std::u16string wifiPasswordText(std::u16string_view shown, std::u16string_view read);

// Printable ASCII (U+0020..U+007E) only; an empty text is.
bool isPrintableAscii(std::u16string_view text);

}  // namespace quillo::protocol
