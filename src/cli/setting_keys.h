#pragma once

// The names quilloctl gives the unit's settings (`show`, `set`, backups), their values as text
// and JSON, and the checks a value passes before it reaches the window's own rules.

#include <QJsonValue>
#include <QString>
#include <vector>

#include "cli/unit_state.h"
#include "protocol/unit_contract.h"

namespace quillo::cli {

enum class Group { Wifi, Fan };

struct SettingKey;

// The keys of a model in display order (the fan's direction only on Solvi, the humidity
// scenario only on Pargo).
std::vector<const SettingKey*> KeysFor(protocol::unit::Model model);
// nullptr when `name` is no key of the model.
const SettingKey* FindKey(const QString& name, protocol::unit::Model model);
// Whether `name` is a key of any model.
bool IsKnownKey(const QString& name);

QString KeyName(const SettingKey& key);
QString KeyLabel(const SettingKey& key);
Group KeyGroup(const SettingKey& key);
QString GroupName(Group group);  // "wifi", "fan"

// The value the window's controls show: string, number or boolean; null when they show none.
QJsonValue JsonValue(const SettingKey& key, const PageState& state);
// The same for people: with its unit where it has one ("60 %RH"), "(none)" for null, a text
// with its control characters escaped (TerminalText).
QString DisplayValue(const SettingKey& key, const PageState& state);

// Changes the setting in `state` as a user changing its control would. Returns an error text
// (without the key) when the value is refused; `state` is then unchanged.
QString SetFromJson(const SettingKey& key, const QJsonValue& value, PageState& state);
// The same from command-line text: "on"/"off", numbers and the rest as written.
QString SetFromText(const SettingKey& key, const QString& text, PageState& state);

// The English text of one of the window's messages.
QString EnglishMessage(int id);

}  // namespace quillo::cli
