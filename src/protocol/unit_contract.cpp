#include "protocol/unit_contract.h"

#include <algorithm>

namespace quillo::protocol::unit {

std::optional<ModelIdentity> modelForProductString(std::u16string_view productString) {
    for (const ModelIdentity& identity : kModels) {
        if (identity.productString == productString) {
            return identity;
        }
    }
    return std::nullopt;
}

std::optional<Parameter> parameter(CommandCode code) {
    const auto* found = std::find_if(kParameters.begin(), kParameters.end(),
                                     [code](const Parameter& p) { return p.code == code; });
    if (found == kParameters.end()) {
        return std::nullopt;
    }
    return *found;
}

bool isReadable(CommandCode code) {
    const auto entry = parameter(code);
    return entry.has_value() && entry->readable;
}

bool isMasterNetworkName(std::u16string_view wifiName) {
    return wifiName.starts_with(kMasterNetworkPrefix);
}

}  // namespace quillo::protocol::unit
