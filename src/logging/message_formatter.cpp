// message_formatter.cpp - parsing positional placeholders and printing each argument by its kind.
#include "logging/message_formatter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

#include "text/decimal_text.h"

namespace Brix {

namespace {

constexpr size_t kMaxDirectiveLength = 60;
constexpr int64_t kMaxFieldSize = 4096;
// Argument numbers past this are beyond any argument list.
constexpr size_t kMaxArgumentNumber = 1000000;

// Output: the formatted text, cut at kMaxFormattedMessageLength characters.
class Output {
public:
    bool Full() const { return size == kMaxFormattedMessageLength; }

    void Append(std::string_view part) {
        size_t count = std::min(part.size(), kMaxFormattedMessageLength - size);
        if (count == 0) {
            return;  // an empty view may carry a null pointer, which memcpy must not see
        }
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

// Length: the length modifier of a directive, as far as it changes an integer.
enum class Length : uint8_t { None, Char, Short, Wide };

// Directive: one parsed printf directive.
struct Directive {
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

// PrintfFormat: a printf format for one conversion, built from a directive.
class PrintfFormat {
public:
    PrintfFormat(const Directive& directive, std::string_view allowedFlags, bool withPrecision) {
        Add('%');
        const std::pair<char, bool> flags[] = {{'-', directive.leftAlign},
                                               {'+', directive.plus},
                                               {' ', directive.space},
                                               {'#', directive.alternate},
                                               {'0', directive.zeroPad}};
        for (const auto& [flag, set] : flags) {
            if (set && allowedFlags.find(flag) != std::string_view::npos) {
                Add(flag);
            }
        }
        if (directive.width) {
            AddNumber(*directive.width);
        }
        if (withPrecision && directive.precision) {
            Add('.');
            AddNumber(*directive.precision);
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
    const Text::DecimalResult<size_t> read = Text::ParseDecimal<size_t>(
        format.substr(position), {.allowRest = true, .saturate = true}, 0, kMaxArgumentNumber);
    position += read.end;
    return read.value;
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

    // ParseDirective: reads flags, width, precision, length and conversion letter at `position`.
    // Answers false when the directive is incomplete or takes an argument beyond the last.
    bool ParseDirective(size_t& position, Directive& directive) {
        for (; position < format.size(); ++position) {
            char c = format[position];
            if (c == '-') {
                directive.leftAlign = true;
            } else if (c == '+') {
                directive.plus = true;
            } else if (c == ' ') {
                directive.space = true;
            } else if (c == '#') {
                directive.alternate = true;
            } else if (c == '0') {
                directive.zeroPad = true;
            } else {
                break;
            }
        }
        if (!ParseField(position, directive.width)) {
            return false;
        }
        if (directive.width && *directive.width < 0) {
            directive.leftAlign = true;
            directive.width = -*directive.width;
        }
        if (position < format.size() && format[position] == '.') {
            ++position;
            if (!ParseField(position, directive.precision)) {
                return false;
            }
            if (!directive.precision) {
                directive.precision = 0;  // "." alone is precision 0
            } else if (*directive.precision < 0) {
                directive.precision.reset();
            }
        }
        ParseLength(position, directive);
        if (position >= format.size()) {
            return false;
        }
        directive.conversion = format[position++];
        if (directive.width) {
            directive.width = std::min(*directive.width, kMaxFieldSize);
        }
        if (directive.precision) {
            directive.precision = std::min(*directive.precision, kMaxFieldSize);
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

    void ParseLength(size_t& position, Directive& directive) const {
        if (position >= format.size()) {
            return;
        }
        switch (format[position]) {
            case 'h':
                ++position;
                directive.length = Length::Short;
                if (position < format.size() && format[position] == 'h') {
                    ++position;
                    directive.length = Length::Char;
                }
                break;
            case 'l':
                ++position;
                if (position < format.size() && format[position] == 'l') {
                    ++position;
                }
                directive.length = Length::Wide;
                break;
            case 'L':
            case 'j':
            case 't':
            case 'z':
                ++position;
                directive.length = Length::Wide;
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

void PrintInteger(Output& out, const FormatArgument& argument, const Directive& directive) {
    bool isSigned = argument.kind == FormatArgument::Kind::Signed;
    char conversion = isSigned ? AllowedOrDefault(directive.conversion, "dciouxX", 'd')
                               : AllowedOrDefault(directive.conversion, "ucdioxX", 'u');
    // Both views of the value, as a C++20 two's complement conversion gives them.
    int64_t asSigned = isSigned ? argument.signedValue : static_cast<int64_t>(argument.unsignedValue);
    uint64_t asUnsigned = isSigned ? static_cast<uint64_t>(argument.signedValue) : argument.unsignedValue;
    switch (conversion) {
        case 'c': {
            PrintfFormat format(directive, "-", false);
            out.AppendPrinted(format.Finish("", 'c'),
                              static_cast<int>(static_cast<unsigned char>(asUnsigned)));
            return;
        }
        case 'd':
        case 'i': {
            if (directive.length == Length::Char) {
                // Narrowed as printf narrows for "hh".
                asSigned = static_cast<signed char>(asSigned);  // NOLINT(bugprone-signed-char-misuse)
            } else if (directive.length == Length::Short) {
                asSigned = static_cast<short>(asSigned);
            }
            PrintfFormat format(directive, "-+ 0", true);
            out.AppendPrinted(format.Finish("ll", conversion), static_cast<long long>(asSigned));
            return;
        }
        default: {
            if (directive.length == Length::Char) {
                asUnsigned = static_cast<unsigned char>(asUnsigned);
            } else if (directive.length == Length::Short) {
                asUnsigned = static_cast<unsigned short>(asUnsigned);
            }
            PrintfFormat format(directive, conversion == 'u' ? "-0" : "-#0", true);
            out.AppendPrinted(format.Finish("ll", conversion), static_cast<unsigned long long>(asUnsigned));
            return;
        }
    }
}

void PrintFloating(Output& out, double value, const Directive& directive) {
    PrintfFormat format(directive, "-+ #0", true);
    out.AppendPrinted(format.Finish("", AllowedOrDefault(directive.conversion, "gaefGAEF", 'g')), value);
}

void PrintText(Output& out, std::string_view text, const Directive& directive) {
    if (directive.precision) {
        text = text.substr(0, static_cast<size_t>(*directive.precision));
    }
    size_t padding = directive.width && static_cast<size_t>(*directive.width) > text.size()
                         ? static_cast<size_t>(*directive.width) - text.size()
                         : 0;
    if (!directive.leftAlign) {
        out.AppendRepeated(' ', padding);
    }
    out.Append(text);
    if (directive.leftAlign) {
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

void PrintWithDirective(Output& out, const FormatArgument& argument, const Directive& directive) {
    switch (argument.kind) {
        case FormatArgument::Kind::Signed:
        case FormatArgument::Kind::Unsigned:
            PrintInteger(out, argument, directive);
            break;
        case FormatArgument::Kind::Floating:
            PrintFloating(out, argument.floatingValue, directive);
            break;
        case FormatArgument::Kind::Text:
            PrintText(out, argument.text, directive);
            break;
    }
}

// Format: the formatting loop; returns when the format ends, the output is full or a directive
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
        Directive directive;
        if (!parser.ParseDirective(position, directive) || position - percent > kMaxDirectiveLength) {
            return;
        }
        if (argument == nullptr) {
            argument = parser.NextArgument();
            if (argument == nullptr) {
                return;
            }
        }
        PrintWithDirective(out, *argument, directive);
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
