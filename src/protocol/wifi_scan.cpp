#include "protocol/wifi_scan.h"

#include "protocol/unit_contract.h"

namespace quillo::protocol {

Sequence scanAtSequence() {
    using namespace std::chrono_literals;
    return {
        Step::send(Code_AT_mode, bytePayload(unit::kPassThroughOn)),
        Step::send(Code_AT_command, textPayload(unit::kAtLeaveNetwork)),
        Step::wait(100ms),
        Step::send(Code_AT_command, textPayload(unit::kAtStationMode)),
        Step::wait(100ms),
        Step::send(Code_AT_command, textPayload(unit::kAtListAccessPoints)),
    };
}

Sequence scanClosingSequence() {
    using namespace std::chrono_literals;
    return {
        Step::send(Code_AT_mode, bytePayload(unit::kPassThroughOff)),
        Step::send(Code_Wi_Fi_module, bytePayload(unit::kModuleOff)),
        Step::wait(200ms),
        Step::send(Code_Wi_Fi_module, bytePayload(unit::kModuleOn)),
    };
}

std::u16string scanLineText(const InputReport& report) {
    return report.rawText();
}

std::u16string networkNameFromScanLine(std::u16string_view line) {
    // Positions are 1-based with 0 for "not found"; a line without the opening marker thus
    // yields the characters from the second one up to the closing marker.
    const auto position = [line](std::u16string_view marker) -> std::size_t {
        const std::size_t found = line.find(marker);
        return found == std::u16string_view::npos ? 0 : found + 1;
    };
    const std::size_t a = position(unit::kNameFieldStart);
    const std::size_t b = position(unit::kNameFieldEnd);
    const std::size_t first = a + 2;
    if (b < 1 || b - 1 < first) {
        return {};
    }
    // Characters first .. b-1 (1-based, inclusive).
    return std::u16string(line.substr(first - 1, b - first));
}

}  // namespace quillo::protocol
