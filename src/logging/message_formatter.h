// message_formatter.h - the positional formatter of the framework's error and status messages.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace Brix {

// kMaxFormattedMessageLength: the longest text FormatMessage makes; longer output is cut.
inline constexpr size_t kMaxFormattedMessageLength = 4095;

// FormatInteger: the integer types FormatMessage takes as numbers. Character types and bool are left
// out: convert them to the number or text meant.
template <typename T>
concept FormatInteger =
    std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, wchar_t> &&
    !std::same_as<T, char8_t> && !std::same_as<T, char16_t> && !std::same_as<T, char32_t>;

// FormatArgument: one argument of FormatMessage. Its kind fixes the conversions it allows.
struct FormatArgument {
    enum class Kind : uint8_t { Signed, Unsigned, Floating, Text };

    template <FormatInteger T>
    explicit FormatArgument(T value) noexcept {
        if constexpr (std::is_signed_v<T>) {
            kind = Kind::Signed;
            signedValue = value;  // NOLINT(bugprone-signed-char-misuse): int8_t is a number here
        } else {
            kind = Kind::Unsigned;
            unsignedValue = value;
        }
    }
    template <std::floating_point T>
    explicit FormatArgument(T value) noexcept
        : kind(Kind::Floating), floatingValue(static_cast<double>(value)) {}
    explicit FormatArgument(const char* value) noexcept
        : kind(Kind::Text), text(value != nullptr ? value : "(null)") {}
    explicit FormatArgument(std::string_view value) noexcept : kind(Kind::Text), text(value) {}
    explicit FormatArgument(const std::string& value) noexcept : kind(Kind::Text), text(value) {}

    Kind kind = Kind::Signed;
    int64_t signedValue = 0;
    uint64_t unsignedValue = 0;
    double floatingValue = 0.0;
    std::string_view text;
};

// FormatMessageArguments: `format` with its placeholders replaced by `arguments`.
//   "%%"          a percent sign;
//   "%N"          argument N (from 1) in its natural form;
//   "%N$" + D     argument N through the printf directive D: flags "-+ #0", width, "." precision,
//                 length h, hh, l, ll, L, j, t or z, and a conversion letter; width and precision
//                 may be "*" (the next argument in order) or "*N$" (argument N);
//   "%" + D       the next argument in order through the directive D.
// A number allows "dciouxX" (signed, default d) or "ucdioxX" (unsigned, default u), a floating value
// "gaefGAEF" (default g), a text "s"; any other letter, "n" included, gives the default. Lengths h and
// hh narrow an integer as printf would; the others change nothing. A width or precision above 4096
// counts as 4096. Formatting ends at a directive longer than 60 characters, at one that is not
// complete, and at one that takes an argument beyond the last. The text is cut at
// kMaxFormattedMessageLength characters.
std::string FormatMessageArguments(std::string_view format,
                                   std::span<const FormatArgument> arguments) noexcept;

// FormatMessage: FormatMessageArguments with its arguments given as C++ values: integers, floating
// values, C strings, std::string and std::string_view.
template <typename... Args>
std::string FormatMessage(std::string_view format, const Args&... arguments) noexcept {
    const std::array<FormatArgument, sizeof...(Args)> list{FormatArgument(arguments)...};
    return FormatMessageArguments(format, list);
}

}  // namespace Brix
