#pragma once

// Words a screen reader speaks that the window itself never shows, in the ten languages of the
// message table and in its language order. Kept apart from the window's own texts, which they
// only complete: everything else a screen reader says is a caption the window shows.

#include <QString>
#include <array>
#include <string_view>

#include "lang/message_catalogue.h"

namespace quillo::lang {

enum class SpokenText {
    OctetOf,         // "%1, octet %2 of 4": one field of an address entry, %1 its caption
    ThresholdOf,     // "%1 threshold": a slider, %1 the caption of the sensor it belongs to
    DeviceSelected,  // the device selector shows green: a unit is chosen
};
inline constexpr int kSpokenTextCount = 3;

extern const std::array<std::array<std::string_view, kLanguageCount>, kSpokenTextCount> SpokenTexts;

// The text in the current language (LanguageIndex).
QString SpokenTextOf(SpokenText text);

}  // namespace quillo::lang
