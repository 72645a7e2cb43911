// message_formatter.cpp - parsing positional placeholders and printing each argument by its kind.
#include "logging/message_formatter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

namespace Brix {

namespace {

constexpr size_t kMaxSpecificationLength = 60;
constexpr int64_t kMaxFieldSize = 4096;
// Argument numbers past this are beyond any argument list.
constexpr size_t kMaxArgumentNumber = 1000000;

// Output: the formatted text, cut at kMaxFormattedMessageLength characters.
class Output {
public:
    bool Full() const { return size == kMaxFormattedMessageLength; }

    void Append(std::string_view part) {
        size_t count = std::min(part.size(), kMaxFormattedMessageLength - size);
        std::memcpy(data + size, part.data(), count);
        size += count;
    }

    void AppendRepeated(char c, size_t count) {
        count = std::min(count, kMaxFormattedMessageLength - size);
        std::memset(data + size, c, count);
        size += count;
    }

    // AppendPrinted: appends one snprintf conversion of `value` through `format`.
    template <typename T>
    void AppendPrinted(const char* format, T value) {
        int written = std::snprintf(data + size, sizeof(data) - size, format, value);
        if (written > 0) {
            size += std::min(static_cast<size_t>(written), kMaxFormattedMessageLength - size);
        }
    }

    std::string_view Text() const { return std::string_view(data, size); }

private:
    char data[kMaxFormattedMessageLength + 1] = {};
    size_t size = 0;
};

// Length: the length modifier of a specification, as far as it changes an integer.
enum class Length : uint8_t { None, Char, Short, Wide };

// Specification: one parsed printf specification.
struct Specification {
    bool leftAlign = false;  // '-'
    bool plus = false;       // '+'
    bool space = false;      // ' '
    bool alternate = false;  // '#'
    bool zeroPad = false;    // '0'
    std::optional<int64_t> width;
    std::optional<int64_t> precision;
    Length length = Length::None;
    char conversion = 0;
};

// PrintfFormat: a printf format for one conversion, built from a specification.
class PrintfFormat {
public:
    PrintfFormat(const Specification& spec, std::string_view allowedFlags, bool withPrecision) {
        Add('%');
        const std::pair<char, bool> flags[] = {{'-', spec.leftAlign},
                                               {'+', spec.plus},
                                               {' ', spec.space},
                                               {'#', spec.alternate},
                                               {'0', spec.zeroPad}};
        for (const auto& [flag, set] : flags) {
            if (set && allowedFlags.find(flag) != std::string_view::npos) {
                Add(flag);
            }
        }
        if (spec.width) {
            AddNumber(*spec.width);
        }
        if (withPrecision && spec.precision) {
            Add('.');
            AddNumber(*spec.precision);
        }
    }

    const char* Finish(std::string_view length, char conversion) {
        for (char c : length) {
            Add(c);
        }
        Add(conversion);
        text[size] = '\0';
        return text;
    }

private:
    void Add(char c) { text[size++] = c; }
    void AddNumber(int64_t value) {
        int written = std::snprintf(text + size, sizeof(text) - size, "%d", static_cast<int>(value));
        size += static_cast<size_t>(std::max(written, 0));
    }

    char text[32] = {};
    size_t size = 0;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// ParseNumber: reads the digits at `position`, saturating at kMaxArgumentNumber.
size_t ParseNumber(std::string_view format, size_t& position) {
    size_t value = 0;
    while (position < format.size() && IsDigit(format[position])) {
        value = std::min(value * 10 + static_cast<size_t>(format[position] - '0'), kMaxArgumentNumber);
        ++position;
    }
    return value;
}

// FieldValue: the value of an argument used as a width or precision; none for a text.
std::optional<int64_t> FieldValue(const FormatArgument& argument) {
    switch (argument.kind) {
        case FormatArgument::Kind::Signed:
            return std::clamp(argument.signedValue, -kMaxFieldSize, kMaxFieldSize);
        case FormatArgument::Kind::Unsigned:
            return static_cast<int64_t>(std::min<uint64_t>(argument.unsignedValue, kMaxFieldSize));
        case FormatArgument::Kind::Floating: {
            double value = std::clamp(argument.floatingValue, -static_cast<double>(kMaxFieldSize),
                                      static_cast<double>(kMaxFieldSize));
            return value == value ? static_cast<int64_t>(value) : 0;  // NaN counts as 0
        }
        case FormatArgument::Kind::Text:
            break;
    }
    return std::nullopt;
}

// Parser: walks a format, handing out arguments by number or in order.
class Parser {
public:
    Parser(std::string_view text, std::span<const FormatArgument> list) : format(text), arguments(list) {}

    // Argument: argument `number` (from 1), or null when it is beyond the last.
    const FormatArgument* Argument(size_t number) const {
        return number >= 1 && number <= arguments.size() ? &arguments[number - 1] : nullptr;
    }
    const FormatArgument* NextArgument() { return Argument(++nextArgument); }

    // ParseSpecification: reads flags, width, precision, length and conversion letter at `position`.
    // Answers false when the specification is incomplete or takes an argument beyond the last.
    bool ParseSpecification(size_t& position, Specification& spec) {
        for (; position < format.size(); ++position) {
            char c = format[position];
            if (c == '-') {
                spec.leftAlign = true;
            } else if (c == '+') {
                spec.plus = true;
            } else if (c == ' ') {
                spec.space = true;
            } else if (c == '#') {
                spec.alternate = true;
            } else if (c == '0') {
                spec.zeroPad = true;
            } else {
                break;
            }
        }
        if (!ParseField(position, spec.width)) {
            return false;
        }
        if (spec.width && *spec.width < 0) {
            spec.leftAlign = true;
            spec.width = -*spec.width;
        }
        if (position < format.size() && format[position] == '.') {
            ++position;
            if (!ParseField(position, spec.precision)) {
                return false;
            }
            if (!spec.precision) {
                spec.precision = 0;  // "." alone is precision 0
            } else if (*spec.precision < 0) {
                spec.precision.reset();
            }
        }
        ParseLength(position, spec);
        if (position >= format.size()) {
            return false;
        }
        spec.conversion = format[position++];
        if (spec.width) {
            spec.width = std::min(*spec.width, kMaxFieldSize);
        }
        if (spec.precision) {
            spec.precision = std::min(*spec.precision, kMaxFieldSize);
        }
        return true;
    }

private:
    // ParseField: a width or precision: digits, "*" or "*N$". Absent leaves `field` empty.
    bool ParseField(size_t& position, std::optional<int64_t>& field) {
        if (position < format.size() && format[position] == '*') {
            ++position;
            const FormatArgument* argument = nullptr;
            size_t numberEnd = position;
            size_t number = ParseNumber(format, numberEnd);
            if (number > 0 && numberEnd < format.size() && format[numberEnd] == '$') {
                position = numberEnd + 1;
                argument = Argument(number);
            } else {
                argument = NextArgument();
            }
            if (argument == nullptr) {
                return false;
            }
            field = FieldValue(*argument);
            return true;
        }
        if (position < format.size() && IsDigit(format[position])) {
            field = static_cast<int64_t>(ParseNumber(format, position));
        }
        return true;
    }

    void ParseLength(size_t& position, Specification& spec) const {
        if (position >= format.size()) {
            return;
        }
        switch (format[position]) {
            case 'h':
                ++position;
                spec.length = Length::Short;
                if (position < format.size() && format[position] == 'h') {
                    ++position;
                    spec.length = Length::Char;
                }
                break;
            case 'l':
                ++position;
                if (position < format.size() && format[position] == 'l') {
                    ++position;
                }
                spec.length = Length::Wide;
                break;
            case 'L':
            case 'j':
            case 't':
            case 'z':
                ++position;
                spec.length = Length::Wide;
                break;
            default:
                break;
        }
    }

    std::string_view format;
    std::span<const FormatArgument> arguments;
    size_t nextArgument = 0;
};

char AllowedOrDefault(char conversion, std::string_view allowed, char fallback) {
    return allowed.find(conversion) != std::string_view::npos ? conversion : fallback;
}

void PrintInteger(Output& out, const FormatArgument& argument, const Specification& spec) {
    bool isSigned = argument.kind == FormatArgument::Kind::Signed;
    char conversion = isSigned ? AllowedOrDefault(spec.conversion, "dciouxX", 'd')
                               : AllowedOrDefault(spec.conversion, "ucdioxX", 'u');
    // Both views of the value, as a C++20 two's complement conversion gives them.
    int64_t asSigned = isSigned ? argument.signedValue : static_cast<int64_t>(argument.unsignedValue);
    uint64_t asUnsigned = isSigned ? static_cast<uint64_t>(argument.signedValue) : argument.unsignedValue;
    switch (conversion) {
        case 'c': {
            PrintfFormat format(spec, "-", false);
            out.AppendPrinted(format.Finish("", 'c'),
                              static_cast<int>(static_cast<unsigned char>(asUnsigned)));
            return;
        }
        case 'd':
        case 'i': {
            if (spec.length == Length::Char) {
                // Narrowed as printf narrows for "hh".
                asSigned = static_cast<signed char>(asSigned);  // NOLINT(bugprone-signed-char-misuse)
            } else if (spec.length == Length::Short) {
                asSigned = static_cast<short>(asSigned);
            }
            PrintfFormat format(spec, "-+ 0", true);
            out.AppendPrinted(format.Finish("ll", conversion), static_cast<long long>(asSigned));
            return;
        }
        default: {
            if (spec.length == Length::Char) {
                asUnsigned = static_cast<unsigned char>(asUnsigned);
            } else if (spec.length == Length::Short) {
                asUnsigned = static_cast<unsigned short>(asUnsigned);
            }
            PrintfFormat format(spec, conversion == 'u' ? "-0" : "-#0", true);
            out.AppendPrinted(format.Finish("ll", conversion), static_cast<unsigned long long>(asUnsigned));
            return;
        }
    }
}

void PrintFloating(Output& out, double value, const Specification& spec) {
    PrintfFormat format(spec, "-+ #0", true);
    out.AppendPrinted(format.Finish("", AllowedOrDefault(spec.conversion, "gaefGAEF", 'g')), value);
}

void PrintText(Output& out, std::string_view text, const Specification& spec) {
    if (spec.precision) {
        text = text.substr(0, static_cast<size_t>(*spec.precision));
    }
    size_t padding = spec.width && static_cast<size_t>(*spec.width) > text.size()
                         ? static_cast<size_t>(*spec.width) - text.size()
                         : 0;
    if (!spec.leftAlign) {
        out.AppendRepeated(' ', padding);
    }
    out.Append(text);
    if (spec.leftAlign) {
        out.AppendRepeated(' ', padding);
    }
}

void PrintNatural(Output& out, const FormatArgument& argument) {
    switch (argument.kind) {
        case FormatArgument::Kind::Signed:
            out.AppendPrinted("%lld", static_cast<long long>(argument.signedValue));
            break;
        case FormatArgument::Kind::Unsigned:
            out.AppendPrinted("%llu", static_cast<unsigned long long>(argument.unsignedValue));
            break;
        case FormatArgument::Kind::Floating:
            out.AppendPrinted("%g", argument.floatingValue);
            break;
        case FormatArgument::Kind::Text:
            out.Append(argument.text);
            break;
    }
}

void PrintWithSpecification(Output& out, const FormatArgument& argument, const Specification& spec) {
    switch (argument.kind) {
        case FormatArgument::Kind::Signed:
        case FormatArgument::Kind::Unsigned:
            PrintInteger(out, argument, spec);
            break;
        case FormatArgument::Kind::Floating:
            PrintFloating(out, argument.floatingValue, spec);
            break;
        case FormatArgument::Kind::Text:
            PrintText(out, argument.text, spec);
            break;
    }
}

// Format: the formatting loop; returns when the format ends, the output is full or a specification
// stops it.
void Format(Output& out, std::string_view format, std::span<const FormatArgument> arguments) {
    Parser parser(format, arguments);
    size_t position = 0;
    while (position < format.size() && !out.Full()) {
        size_t percent = format.find('%', position);
        if (percent == std::string_view::npos) {
            out.Append(format.substr(position));
            return;
        }
        out.Append(format.substr(position, percent - position));
        position = percent + 1;
        if (position < format.size() && format[position] == '%') {
            out.Append("%");
            ++position;
            continue;
        }
        const FormatArgument* argument = nullptr;
        if (position < format.size() && format[position] >= '1' && format[position] <= '9') {
            size_t number = ParseNumber(format, position);
            argument = parser.Argument(number);
            if (argument == nullptr) {
                return;
            }
            if (position >= format.size() || format[position] != '$') {
                PrintNatural(out, *argument);
                continue;
            }
            ++position;
        }
        Specification spec;
        if (!parser.ParseSpecification(position, spec) || position - percent > kMaxSpecificationLength) {
            return;
        }
        if (argument == nullptr) {
            argument = parser.NextArgument();
            if (argument == nullptr) {
                return;
            }
        }
        PrintWithSpecification(out, *argument, spec);
    }
}

}  // namespace

std::string FormatMessageArguments(std::string_view format,
                                   std::span<const FormatArgument> arguments) noexcept {
    Output out;
    Format(out, format, arguments);
    try {
        return std::string(out.Text());
    } catch (...) {
        return {};
    }
}

}  // namespace Brix
