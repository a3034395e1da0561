#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "lang/message_catalogue.h"

namespace quillo::lang {
namespace {

std::string_view Text(int id, int language) {
    return MessageTable.at(static_cast<std::size_t>(MessagePosition(id, language)));
}

struct EnglishText {
    int id;
    std::string_view text;
};

// Every English text, written out here on its own so that a slip in the table shows.
constexpr EnglishText kEnglish[] = {
    {0, "Select device"},
    {10, "Select device mode"},
    {20, "Select connection type"},
    {30, "Master"},
    {40, "Slave"},
    {50, "No Wi-Fi router"},
    {60, "With Wi-Fi router"},
    {70, "Receive current parameters"},
    {80, "Restore default parameters"},
    {90, "Wi-Fi"},
    {100, "Fan"},
    {110, "Filter"},
    {120, "Search Wi-Fi"},
    {130, "Name of Wi-Fi (1 - 32 characters)"},
    {140, "Type of security"},
    {150, "Open"},
    {160, "WPA_PSK"},
    {170, "WPA2_PSK"},
    {180, "WPA_WPA2_PSK"},
    {190, "New Wi-Fi password (8 - 60 characters)"},
    {200, "Wi-Fi Password (0 - 60 characters)"},
    {210, "Wi-Fi channel"},
    {220, "MASTER IP address"},
    {230, "SLAVE IP address"},
    {240, "SLAVE number"},
    {250, "DHCP"},
    {260, "Static"},
    {270, "Wi-Fi Connected"},
    {280, "Wi-Fi Disconnected"},
    {290, "Master Connected"},
    {300, "Master Disconnected"},
    {310, "Apply/Save"},
    {320, "Available OFF device"},
    {330, "Direction"},
    {340, "Supply"},
    {350, "Exhaust"},
    {360, " %RH"},
    {370, "Days: "},
    {380, "    Hours: "},
    {390, "    Minutes: "},
    {400, "    Seconds: "},
    {410, "Reset the filter timer"},
    {420, "S/N:"},
    {430, "Language"},
    {440, "Information"},
    {450, "Turn-off delay timer"},
    {460, "Night mode timer"},
    {470, "Party mode timer"},
    {480, "Humidity sensor"},
    {490, "Relay sensor"},
    {500, "0 - 10V sensor"},
    {510, "Version: "},
    {520, "Developed for Aldrun"},
    {530, "User Manual"},
    {540, "   No devices"},
    {550, "Select device"},
    {560, "Please wait..."},
    {570, "The length of name of Wi-Fi must be 1 - 32 characters"},
    {580, "The length of password must be 8 - 60 characters"},
    {590, "Please close \"Service Aldrun Quillo\""},
    {600, "Boost in current mode"},
    {610, "Boost and switch to exhaust mode"},
    {620, "Humidity control scenario:"},
    {630, "Default Gateway"},
    {640, "The password may contain only Latin letters, digits and symbols"},
};

TEST(MessageCatalogue, EnglishTextsAreExact) {
    static_assert(std::size(kEnglish) == kMessageCount);
    for (const auto& [id, text] : kEnglish) {
        EXPECT_EQ(Text(id, English), text) << "message " << id;
    }
}

TEST(MessageCatalogue, FixedTextsAreExactInEveryLanguage) {
    struct Fixed {
        int id;
        std::string_view texts[kLanguageCount];
    };
    const Fixed fixed[] = {
        {0,
         {"Выберите устройство", "Select device", "选择设备", "Виберіть пристрій", "Gerät wählen",
          "Vælg en enhed", "Wybierz urządzenie", "Velg en enhet", "Välj enhet", "Valitse laite"}},
        {360, {" %RH", " %RH", " %RH", " %RH", " %RF", " %RH", " %RH", " %RH", " %RH", " %RH"}},
        {540,
         {"   Нет устройств", "   No devices", "   沒有設備", "   Немає пристроїв",
          "   Keine Geräte", "   Ingen enheder", "   Brak urządzeń", "   Ingen enheter",
          "   Inga enheter", "   Ei laitteita"}},
        // Straight quotation marks, except Swedish (U+201D on both sides) and Finnish (none).
        {590,
         {"Пожалуйста, закройте \"Service Aldrun Quillo\"",
          "Please close \"Service Aldrun Quillo\"", "請關閉 \"Service Aldrun Quillo\"",
          "Будь ласка, закрийте \"Service Aldrun Quillo\"",
          "Bitte \"Service Aldrun Quillo\" schließen", "Luk venligst \"Service Aldrun Quillo\"",
          "Proszę o zamknięcie \"Service Aldrun Quillo\"",
          "Vennligst lukk \"Service Aldrun Quillo\"", "Stäng \u201DService Aldrun Quillo\u201D",
          "Sulje Aldrun Quillo"}},
    };
    for (const auto& [id, texts] : fixed) {
        for (int language = 0; language < kLanguageCount; ++language) {
            EXPECT_EQ(Text(id, language), texts[language])
                << "message " << id << ", language " << language;
        }
    }
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= text.size()) {
            return false;  // cut off
        }
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

bool IsComposedPiece(int id) {
    return id == 360 || (id >= 370 && id <= 400) || id == 510 || id == 540;
}

TEST(MessageCatalogue, EveryPositionHoldsCleanText) {
    for (int position = 0; position < kMessageTableSize; ++position) {
        const std::string_view text = MessageTable[position];
        const int id = position - position % kLanguageCount;
        SCOPED_TRACE("position " + std::to_string(position));
        ASSERT_FALSE(text.empty());
        EXPECT_TRUE(IsValidUtf8(text));
        // Only the pieces of composed lines may begin or end with a blank.
        if (!IsComposedPiece(id)) {
            EXPECT_NE(text.front(), ' ');
            EXPECT_NE(text.back(), ' ');
        }
    }
}

// How many blanks a text starts and ends with.
std::pair<std::size_t, std::size_t> Blanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    if (first == std::string_view::npos) {
        return {text.size(), text.size()};
    }
    return {first, text.size() - 1 - last};
}

TEST(MessageCatalogue, ComposedPiecesKeepTheirBlanksInEveryLanguage) {
    struct Piece {
        int id;
        std::size_t leading;
        std::size_t trailing;
    };
    constexpr Piece kPieces[] = {
        {360, 1, 0}, {370, 0, 1}, {380, 4, 1}, {390, 4, 1}, {400, 4, 1}, {510, 0, 1}, {540, 3, 0},
    };
    for (const auto& [id, leading, trailing] : kPieces) {
        for (int language = 0; language < kLanguageCount; ++language) {
            const std::string_view text = Text(id, language);
            EXPECT_EQ(Blanks(text), std::make_pair(leading, trailing))
                << "message " << id << ", language " << language << ": \"" << text << "\"";
        }
    }
}

TEST(MessageCatalogue, DeviceBoxAndCaptionDifferOutsideEnglish) {
    EXPECT_EQ(Text(550, Russian), "Пожалуйста, выберите устройство");
    for (int language = 0; language < kLanguageCount; ++language) {
        if (language != English) {
            EXPECT_NE(Text(0, language), Text(550, language)) << "language " << language;
        }
    }
}

}  // namespace
}  // namespace quillo::lang
