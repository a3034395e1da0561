#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace quillo::protocol {

// A text that should have held an integer and did not, or whose integer does not fit where it
// goes: the window reports it with conversionErrorMessage() and ends the click.
struct ConversionError {
    enum class Kind {
        NotAnInteger,  // '<text>' is not a valid integer value
        OutOfRange,    // '<text>' is out of range
    };

    std::u16string text;
    Kind kind = Kind::NotAnInteger;

    friend bool operator==(const ConversionError&, const ConversionError&) = default;
};

// A converted value or the text that failed to convert.
template <typename T>
class Converted {
public:
    Converted(T value) : result_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
    Converted(ConversionError error)                   // NOLINT(google-explicit-constructor)
        : result_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(result_); }
    // Only when ok().
    const T& value() const { return std::get<T>(result_); }
    // Only when !ok().
    const ConversionError& error() const { return std::get<ConversionError>(result_); }

private:
    std::variant<T, ConversionError> result_;
};

// The integer written in `text`: an optional '+' or '-' followed by one or more decimal digits,
// within the 32-bit signed range. Nothing else is accepted: no blanks around it, no hexadecimal
// forms, no empty text. std::nullopt when the text is not such an integer.
std::optional<std::int32_t> parseInteger(std::u16string_view text);

// parseInteger() with the failing text kept for the error message.
Converted<std::int32_t> convertInteger(std::u16string_view text);

// The standard conversion error text: '<text>' is not a valid integer value
std::u16string conversionErrorMessage(std::u16string_view text);
// The text for either kind of error.
std::u16string conversionErrorMessage(const ConversionError& error);

}  // namespace quillo::protocol
