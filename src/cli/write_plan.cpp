#include "cli/write_plan.h"

#include "cli/setting_keys.h"
#include "protocol/integer_text.h"
#include "protocol/write_sequences.h"

namespace quillo::cli {

std::optional<protocol::Sequence> PlanWrites(const PageState& state, bool wifi, bool fan,
                                             QString& error) {
    protocol::Sequence steps;
    protocol::DeviceSettings current = state.current;
    if (wifi) {
        const protocol::WifiWrite write = protocol::buildWifiWrite(state.wifi, current);
        if (write.outcome == protocol::WriteOutcome::Refused) {
            const bool name = write.messageId == protocol::kMessageNameLength;
            error = QStringLiteral("%1: %2").arg(name ? u"wifi-name" : u"wifi-password",
                                                 EnglishMessage(write.messageId));
            return std::nullopt;
        }
        if (write.outcome == protocol::WriteOutcome::ConversionError) {
            // Only a list without a chosen item fails here: one the unit reported out of range.
            const bool slave = state.wifi.mode == protocol::ModeChoice::Slave;
            error = QStringLiteral("%1: %2").arg(
                slave ? u"slave-number" : u"channel",
                QString::fromStdU16String(protocol::conversionErrorMessage(write.error)));
            return std::nullopt;
        }
        steps = write.steps;
        // The window keeps what it collected; the fan write starts from it.
        current = write.settings;
    }
    if (fan) {
        const protocol::FanWrite write = protocol::buildFanWrite(state.fan, current);
        if (write.outcome != protocol::WriteOutcome::Ok) {
            error = QStringLiteral("fan: %1").arg(
                QString::fromStdU16String(protocol::conversionErrorMessage(write.error)));
            return std::nullopt;
        }
        steps.insert(steps.end(), write.steps.begin(), write.steps.end());
    }
    return steps;
}

QStringList Differences(const PageState& asked, const PageState& held,
                        const std::vector<const SettingKey*>& keys, const QString& heldAs) {
    QStringList differences;
    for (const SettingKey* key : keys) {
        if (JsonValue(*key, asked) != JsonValue(*key, held)) {
            differences << QStringLiteral("%1: asked for %2, %3 %4")
                               .arg(KeyName(*key), DisplayValue(*key, asked), heldAs,
                                    DisplayValue(*key, held));
        }
    }
    return differences;
}

}  // namespace quillo::cli
