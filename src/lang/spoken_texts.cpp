#include "lang/spoken_texts.h"

#include <algorithm>

#include "lang/message_table.h"

namespace quillo::lang {

// clang-format off
constexpr std::array<std::array<std::string_view, kLanguageCount>, kSpokenTextCount> SpokenTexts = {{
    // OctetOf
    {"%1, октет %2 из 4",  // ru
     "%1, octet %2 of 4",  // en
     "%1，第 %2 段（共 4 段）",  // zh
     "%1, октет %2 з 4",  // uk
     "%1, Oktett %2 von 4",  // de
     "%1, oktet %2 af 4",  // da
     "%1, oktet %2 z 4",  // pl
     "%1, oktett %2 av 4",  // no
     "%1, oktett %2 av 4",  // sv
     "%1, oktetti %2 neljästä"},  // fi
    // ThresholdOf
    {"%1, порог",  // ru
     "%1 threshold",  // en
     "%1，阈值",  // zh
     "%1, поріг",  // uk
     "%1, Schwellenwert",  // de
     "%1, tærskelværdi",  // da
     "%1, próg",  // pl
     "%1, terskelverdi",  // no
     "%1, tröskelvärde",  // sv
     "%1, kynnysarvo"},  // fi
    // DeviceSelected
    {"Устройство выбрано",  // ru
     "Device selected",  // en
     "已选择设备",  // zh
     "Пристрій вибрано",  // uk
     "Gerät ausgewählt",  // de
     "Enhed valgt",  // da
     "Wybrano urządzenie",  // pl
     "Enhet valgt",  // no
     "Enhet vald",  // sv
     "Laite valittu"},  // fi
}};
// clang-format on

namespace {

constexpr bool EveryLanguageHas(SpokenText text, std::string_view part) {
    return std::ranges::all_of(SpokenTexts[static_cast<std::size_t>(text)],
                               [part](std::string_view t) { return t.find(part) != t.npos; });
}

}  // namespace

// A translation that lost a placeholder would speak "%1" or drop the caption.
static_assert(EveryLanguageHas(SpokenText::OctetOf, "%1") &&
                  EveryLanguageHas(SpokenText::OctetOf, "%2"),
              "every language names the address and the octet's number");
static_assert(EveryLanguageHas(SpokenText::ThresholdOf, "%1"), "every language names the sensor");
static_assert(
    std::ranges::none_of(SpokenTexts[static_cast<std::size_t>(SpokenText::DeviceSelected)],
                         &std::string_view::empty),
    "every language has a text");

QString SpokenTextOf(SpokenText text) {
    const std::string_view utf8 =
        SpokenTexts.at(static_cast<std::size_t>(text)).at(std::min<std::size_t>(LanguageIndex, 9));
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace quillo::lang
