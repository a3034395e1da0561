#include "protocol/wifi_scan.h"

#include "protocol/payload.h"
#include "protocol/unit_contract.h"
#include "protocol/wire_text.h"

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

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(char16_t c) {
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Whether `rest` starts with the fields that follow a network name: `",`, the signal strength
// (an optional minus and digits), `,"`, a MAC address aa:bb:cc:dd:ee:ff and its closing quote.
bool startsWithNameTail(std::u16string_view rest) {
    std::size_t i = 0;
    const auto take = [&](char16_t c) {
        if (i < rest.size() && rest[i] == c) {
            ++i;
            return true;
        }
        return false;
    };
    if (!take(u'"') || !take(u',')) {
        return false;
    }
    take(u'-');
    const std::size_t digits = i;
    while (i < rest.size() && isDigit(rest[i])) {
        ++i;
    }
    if (i == digits || !take(u',') || !take(u'"')) {
        return false;
    }
    for (int group = 0; group < 6; ++group) {
        if (group > 0 && !take(u':')) {
            return false;
        }
        for (int k = 0; k < 2; ++k) {
            if (i >= rest.size() || !isHexDigit(rest[i])) {
                return false;
            }
            ++i;
        }
    }
    return take(u'"');
}

// The first-quoted-field rule: the characters after the first `,"` up to the first `",`.
// Positions are 1-based with 0 for "not found"; a line without the opening marker thus yields
// the characters from the second one up to the closing marker.
std::u16string firstQuotedField(std::u16string_view line) {
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

}  // namespace

std::u16string networkNameFromScanLine(std::u16string_view line) {
    // The module prints the name unquoted inside its quotes, so the name may itself hold `",`.
    // Its end is found from the tail: the last `",` followed by the signal strength and the
    // quoted MAC address.
    const std::size_t open = line.find(unit::kNameFieldStart);
    if (open != std::u16string_view::npos) {
        const std::size_t nameStart = open + unit::kNameFieldStart.size();
        for (std::size_t end = line.rfind(u'"');
             end != std::u16string_view::npos && end >= nameStart;
             end = end == 0 ? std::u16string_view::npos : line.rfind(u'"', end - 1)) {
            if (startsWithNameTail(line.substr(end))) {
                return std::u16string(line.substr(nameStart, end - nameStart));
            }
        }
    }
    // A line in no known form keeps the simple rule.
    return firstQuotedField(line);
}

ScanName scanNetworkName(const InputReport& report) {
    const std::u16string text = scanLineText(report);
    ScanName name;
    name.bytes = wireBytes(networkNameFromScanLine(text));
    name.shown = decodeWireText(name.bytes);
    name.line = decodeWireText(wireBytes(std::u16string_view(text).substr(0, text.find(u'\0'))));
    return name;
}

}  // namespace quillo::protocol
