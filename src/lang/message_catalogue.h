#pragma once

// The program's 65 messages in ten languages, as UTF-8 text built into the program. Plain C++,
// no Qt: the window converts the texts once to its own string type (message_table.h).

#include <array>
#include <cstdint>
#include <string_view>

namespace quillo::lang {

// Language numbers: the order of the texts within a message and of the language selector.
enum Language : std::uint8_t {
    Russian = 0,
    English = 1,
    Chinese = 2,
    Ukrainian = 3,
    German = 4,
    Danish = 5,
    Polish = 6,
    Norwegian = 7,
    Swedish = 8,
    Finnish = 9,
};

inline constexpr int kLanguageCount = 10;
inline constexpr int kMessageCount = 65;
inline constexpr int kMessageTableSize = kMessageCount * kLanguageCount;

// One group of ten texts per message, the groups in message order. A message's id is the
// position of its first (Russian) text, so ids are multiples of ten and the text of message
// `id` in language `language` stands at position id + language.
extern const std::array<std::string_view, kMessageTableSize> MessageTable;

constexpr int MessagePosition(int id, int language) {
    return id + language;
}

}  // namespace quillo::lang
