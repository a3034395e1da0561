#include "protocol/unit_contract.h"

#include <algorithm>

namespace quillo::protocol::unit {

const ModelIdentity& modelIdentity(Model model) {
    return *std::find_if(kModels.begin(), kModels.end(), [model](const ModelIdentity& identity) {
        return identity.model == model;
    });
}

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

std::vector<std::uint8_t> answerReport(CommandCode code, std::span<const std::uint8_t> value,
                                       std::size_t reportLength) {
    std::vector<std::uint8_t> report(reportLength, 0);
    constexpr std::size_t kHeader = 3;
    const std::uint8_t header[kHeader] = {kReportId, static_cast<std::uint8_t>(code), 0};
    std::copy_n(header, std::min(kHeader, reportLength), report.begin());
    if (reportLength > kHeader) {
        const std::size_t length =
            std::min({value.size(), reportLength - kHeader, std::size_t{255}});
        report[2] = static_cast<std::uint8_t>(length);
        std::copy_n(value.begin(), length, report.begin() + kHeader);
    }
    return report;
}

bool isMasterNetworkName(std::u16string_view wifiName) {
    return wifiName.starts_with(kMasterNetworkPrefix);
}

}  // namespace quillo::protocol::unit
