// yaml_scalar.cpp - typing YAML scalars by tag and by plain text.
#include "codecs/yaml_scalar.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>

#include "binding/conversion_messages.h"
#include "binding/number_text.h"
#include "logging/message_formatter.h"
#include "platform/c_numbers.h"
#include "text/decimal_text.h"

namespace Brix::Yaml {

namespace {

// The target name under which tagged numbers report their failures.
constexpr std::string_view kTargetName = "yaml";

bool IsNullWord(std::string_view text) noexcept {
    return text.empty() || text == "~" || text == "null" || text == "Null" || text == "NULL";
}

std::optional<bool> BoolWord(std::string_view text) noexcept {
    if (text == "true" || text == "True" || text == "TRUE") {
        return true;
    }
    if (text == "false" || text == "False" || text == "FALSE") {
        return false;
    }
    return std::nullopt;
}

bool IsCSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// ParseCDouble runs the C library's strtod in the "C" locale over the whole text; nullopt when it
// does not consume all of it. A host that sets a locale with a decimal comma must not turn 1.5 into
// a string.
std::optional<double> ParseCDouble(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    // Only texts starting with these can be numbers to strtod (digits, a point, a sign, white space,
    // inf/infinity and nan): everything else is a string without copying it.
    const char first = text.front();
    if (!(IsCSpace(first) || (first >= '0' && first <= '9') || first == '.' || first == '+' || first == '-' ||
          first == 'i' || first == 'I' || first == 'n' || first == 'N')) {
        return std::nullopt;
    }
    const std::string copy(text);  // strtod needs a NUL after the text
    char* end = nullptr;
    const double value = Platform::ReadCDouble(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) {
        return std::nullopt;
    }
    return value;
}

// WholeText tells how StoreExactInteger dealt with a text.
enum class WholeText { NotDecimal, Stored, TooLarge };

// StoreExactInteger reads an optionally signed run of decimal digits exactly. A run that fits neither
// 64-bit range is left to the caller (TooLarge), as is any other text (NotDecimal).
WholeText StoreExactInteger(BindingProperty& target, std::string_view text) {
    const Text::DecimalDigits read = Text::ReadDecimal(text, {.skipSpace = true, .allowSign = true});
    if (!read.digits || read.end != text.size()) {
        return WholeText::NotDecimal;
    }
    if (read.overflow) {
        return WholeText::TooLarge;
    }
    if (!read.negative || read.magnitude == 0) {
        target.SetUnsigned(read.magnitude);
        return WholeText::Stored;
    }
    constexpr uint64_t kSignedLimit = uint64_t{1} << 63;
    if (read.magnitude > kSignedLimit) {
        return WholeText::TooLarge;
    }
    target.SetSigned(static_cast<int64_t>(0 - read.magnitude));
    return WholeText::Stored;
}

// StoreNumber stores a plain scalar that reads as a finite number; false when it does not.
bool StoreNumber(BindingProperty& target, std::string_view text) {
    const std::optional<double> parsed = ParseCDouble(text);
    if (!parsed || std::isinf(*parsed)) {
        return false;
    }
    const double value = *parsed;
    const WholeText whole = StoreExactInteger(target, text);
    if (whole == WholeText::Stored) {
        return true;
    }
    // An integer too large for 64 bits would round to the nearest double and could then land inside
    // the 64-bit ranges, one off: it stays a float, like every whole number beyond those ranges.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    constexpr double kTwoTo64 = 18446744073709551616.0;
    const bool wholeInRange =
        !std::isnan(value) && value == std::trunc(value) && value >= -kTwoTo63 && value < kTwoTo64;
    if (whole == WholeText::TooLarge || !wholeInRange) {
        target.SetFloat(value);
    } else if (value < 0) {
        target.SetSigned(static_cast<int64_t>(value));
    } else {
        target.SetUnsigned(static_cast<uint64_t>(value));
    }
    return true;
}

bool NumberFailure(NumberTextResult result, std::string_view text, std::string_view typeName,
                   std::string& error) {
    const char* format = result == NumberTextResult::BadFormat ? ConversionMessages::kNumberFormat
                                                               : ConversionMessages::kNumberRange;
    error = FormatMessage(format, text, kTargetName, typeName);
    return false;
}

bool StoreTaggedInteger(BindingProperty& target, std::string_view text, std::string& error) {
    if (text.starts_with("-")) {
        int64_t value = 0;
        const NumberTextResult result = ParseSignedText(text, value);
        if (result != NumberTextResult::Ok) {
            return NumberFailure(result, text, "int64_t", error);
        }
        target.SetSigned(value);
        return true;
    }
    uint64_t value = 0;
    const NumberTextResult result = ParseUnsignedText(text, value);
    if (result != NumberTextResult::Ok) {
        return NumberFailure(result, text, "uint64_t", error);
    }
    target.SetUnsigned(value);
    return true;
}

bool StoreTaggedFloat(BindingProperty& target, std::string_view text, std::string& error) {
    double value = 0.0;
    NumberTextResult result = ParseFloatText(text, value);
    constexpr double kHighest = std::numeric_limits<double>::max();
    // NaN compares false with both bounds, so it is out of range like the infinities.
    if (result == NumberTextResult::Ok && !(value >= -kHighest && value <= kHighest)) {
        result = NumberTextResult::OutOfRange;
    }
    if (result != NumberTextResult::Ok) {
        return NumberFailure(result, text, "double", error);
    }
    target.SetFloat(value);
    return true;
}

}  // namespace

bool StoreScalar(BindingProperty& target, std::string_view tag, std::string_view text, bool quoted,
                 std::string& error) {
    if (tag.empty()) {
        if (quoted) {
            target.SetString(text);
        } else {
            StorePlainScalar(target, text);
        }
        return true;
    }
    if (tag == kStringTag) {
        target.SetString(text);
        return true;
    }
    if (tag == kIntTag) {
        return StoreTaggedInteger(target, text, error);
    }
    if (tag == kFloatTag) {
        return StoreTaggedFloat(target, text, error);
    }
    if (tag == kBoolTag) {
        if (const std::optional<bool> word = BoolWord(text)) {
            target.SetBool(*word);
        } else {
            target.Clear();
        }
        return true;
    }
    error = FormatMessage("Unsupported YAML tag '%1'.", tag);
    return false;
}

void StorePlainScalar(BindingProperty& target, std::string_view text) {
    if (IsNullWord(text)) {
        target.Clear();
    } else if (StoreNumber(target, text)) {
        return;
    } else if (const std::optional<bool> word = BoolWord(text)) {
        target.SetBool(*word);
    } else {
        target.SetString(text);
    }
}

}  // namespace Brix::Yaml
