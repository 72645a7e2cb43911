// scalar_conversion.cpp - bool, number, string, enum and blob destinations.
#include "binding/scalar_conversion.h"

#include <cmath>
#include <limits>
#include <type_traits>

#include "binding/conversion_messages.h"
#include "binding/number_text.h"
#include "binding/type_record.h"
#include "binding/type_registry.h"
#include "binding/value_kind.h"
#include "logging/message_formatter.h"

namespace Brix::ScalarConversion {

namespace Messages = ConversionMessages;

namespace {

// A double in [-2^63, 2^63) truncates to an int64 exactly; the float bounds of the wider integer types
// are not representable, so the comparisons are made against these powers of two.
constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;

// IntegerRange: the values a signed or unsigned destination of one width holds, from any source.
template <class Integer>
struct IntegerRange {
    Integer min;
    Integer max;

    bool Holds(int64_t value) const noexcept {
        if constexpr (std::is_signed_v<Integer>) {
            return value >= min && value <= max;
        } else {
            return value >= 0 && static_cast<uint64_t>(value) <= max;
        }
    }
    bool Holds(uint64_t value) const noexcept { return value <= static_cast<uint64_t>(max); }
    bool Holds(double value) const noexcept {
        if (max == std::numeric_limits<Integer>::max()) {
            return std::is_signed_v<Integer> ? value >= -kTwoTo63 && value < kTwoTo63
                                             : value >= 0.0 && value < kTwoTo64;
        }
        return value >= static_cast<double>(min) && value <= static_cast<double>(max);
    }
    NumberTextResult Parse(std::string_view text, Integer& value) const {
        if constexpr (std::is_signed_v<Integer>) {
            return ParseSignedText(text, value);
        } else {
            return ParseUnsignedText(text, value);
        }
    }
};

IntegerRange<int64_t> SignedRangeOf(TypeCode code) noexcept {
    switch (code) {
        case TypeCode::Int8:
            return {INT8_MIN, INT8_MAX};
        case TypeCode::Int16:
            return {INT16_MIN, INT16_MAX};
        case TypeCode::Int32:
            return {INT32_MIN, INT32_MAX};
        default:
            return {INT64_MIN, INT64_MAX};
    }
}

IntegerRange<uint64_t> UnsignedRangeOf(TypeCode code) noexcept {
    switch (code) {
        case TypeCode::UInt8:
            return {0, UINT8_MAX};
        case TypeCode::UInt16:
            return {0, UINT16_MAX};
        case TypeCode::UInt32:
            return {0, UINT32_MAX};
        default:
            return {0, UINT64_MAX};
    }
}

void FailNumberType(ConversionStatus& status, const BindingProperty& input, std::string_view target,
                    TypeCode code) {
    status.Fail(FormatMessage(Messages::kNumberType, target, NativeTypeName(code), KindName(input.Kind())));
}

template <class Number>
void FailRange(ConversionStatus& status, const Number& shown, std::string_view target, TypeCode code) {
    status.Fail(FormatMessage(Messages::kNumberRange, shown, target, NativeTypeName(code)));
}

void FailFormat(ConversionStatus& status, std::string_view text, std::string_view target, TypeCode code) {
    status.Fail(FormatMessage(Messages::kNumberFormat, text, target, NativeTypeName(code)));
}

// Take stores a number of any kind that range holds, or fails with the range message showing it.
template <class Integer, class Number>
void Take(ConversionStatus& status, Integer& output, Number value, std::string_view target, TypeCode code,
          const IntegerRange<Integer>& range) {
    if (!range.Holds(value)) {
        FailRange(status, value, target, code);
        return;
    }
    output = static_cast<Integer>(value);
}

// TakeText stores the number that parse reads from a numeric text when inBounds holds it, or fails
// with the format or range message showing the text.
template <class Number, class Parse, class InBounds>
void TakeText(ConversionStatus& status, Number& output, std::string_view text, std::string_view target,
              TypeCode code, Parse parse, InBounds inBounds) {
    Number value = 0;
    const NumberTextResult result = parse(text, value);
    if (result == NumberTextResult::BadFormat) {
        FailFormat(status, text, target, code);
    } else if (result == NumberTextResult::OutOfRange || !inBounds(value)) {
        FailRange(status, text, target, code);
    } else {
        output = value;
    }
}

// ToInteger converts a number, an enum's number or a numeric text into an integer that range holds.
template <class Integer>
void ToInteger(ConversionStatus& status, Integer& output, const BindingProperty& input,
               std::string_view target, TypeCode code, const IntegerRange<Integer>& range) {
    if (!RequireValue(status, input, target)) {
        return;
    }
    switch (input.Kind()) {
        case BindingKind::Signed:
            Take(status, output, input.AsSigned(), target, code, range);
            return;
        case BindingKind::Enum:
            Take(status, output, int64_t{input.EnumNumber()}, target, code, range);
            return;
        case BindingKind::Unsigned:
            Take(status, output, input.AsUnsigned(), target, code, range);
            return;
        case BindingKind::Float:
            Take(status, output, input.AsFloat(), target, code, range);
            return;
        case BindingKind::String:
            TakeText(
                status, output, input.AsString(), target, code,
                [&range](std::string_view text, Integer& value) { return range.Parse(text, value); },
                [&range](Integer value) { return range.Holds(value); });
            return;
        default:
            FailNumberType(status, input, target, code);
            return;
    }
}

}  // namespace

bool RequireValue(ConversionStatus& status, const BindingProperty& input, std::string_view target) {
    if (!status.Ok()) {
        return false;
    }
    if (input.IsEmpty()) {
        status.Fail(FormatMessage(Messages::kRequired, target));
        return false;
    }
    return true;
}

void ToBool(ConversionStatus& status, bool& output, const BindingProperty& input, std::string_view target) {
    if (!RequireValue(status, input, target)) {
        return;
    }
    if (input.Kind() == BindingKind::Bool) {
        output = input.AsBool();
        return;
    }
    if (input.Kind() != BindingKind::String) {
        status.Fail(FormatMessage(Messages::kBoolType, target, KindName(input.Kind())));
        return;
    }
    const std::string_view text = input.AsString();
    if (text == "1" || text == "true") {
        output = true;
    } else if (text == "0" || text == "false") {
        output = false;
    } else {
        status.Fail(FormatMessage(Messages::kBoolFormat, text, target));
    }
}

void ToSigned(ConversionStatus& status, int64_t& output, const BindingProperty& input,
              std::string_view target, TypeCode code) {
    ToInteger(status, output, input, target, code, SignedRangeOf(code));
}

void ToUnsigned(ConversionStatus& status, uint64_t& output, const BindingProperty& input,
                std::string_view target, TypeCode code) {
    ToInteger(status, output, input, target, code, UnsignedRangeOf(code));
}

void ToFloating(ConversionStatus& status, double& output, const BindingProperty& input,
                std::string_view target, TypeCode code) {
    if (!RequireValue(status, input, target)) {
        return;
    }
    const double highest = code == TypeCode::Float ? static_cast<double>(std::numeric_limits<float>::max())
                                                   : std::numeric_limits<double>::max();
    auto inBounds = [highest](double value) { return value >= -highest && value <= highest; };
    switch (input.Kind()) {
        case BindingKind::Float: {
            const double value = input.AsFloat();
            if (!inBounds(value)) {
                FailRange(status, value, target, code);
                return;
            }
            output = value;
            return;
        }
        // Every 64-bit integer lies inside the finite range of a float and of a double.
        case BindingKind::Signed:
            output = static_cast<double>(input.AsSigned());
            return;
        case BindingKind::Unsigned:
            output = static_cast<double>(input.AsUnsigned());
            return;
        case BindingKind::Enum:
            output = static_cast<double>(input.EnumNumber());
            return;
        case BindingKind::String:
            TakeText(status, output, input.AsString(), target, code, ParseFloatText, inBounds);
            return;
        default:
            FailNumberType(status, input, target, code);
            return;
    }
}

void ToString(ConversionStatus& status, std::string& output, const BindingProperty& input,
              std::string_view target, const TypeRegistry* registry) {
    if (!RequireValue(status, input, target)) {
        return;
    }
    if (input.Kind() == BindingKind::String) {
        output.assign(input.AsString());
        return;
    }
    if (input.Kind() != BindingKind::Enum) {
        status.Fail(FormatMessage(Messages::kStringType, target));
        return;
    }
    const StaticTypeDescriptor* type = input.EnumType();
    const TypeRecord* record =
        registry != nullptr && type != nullptr ? registry->FindById(type->id) : nullptr;
    const EnumeratorRecord* enumerator =
        record != nullptr ? record->FindEnumeratorByNumber(input.EnumNumber()) : nullptr;
    if (enumerator == nullptr) {
        status.Fail(FormatMessage(Messages::kStringEnum, input.EnumNumber(), target));
        return;
    }
    output = enumerator->name;
}

void ToEnum(ConversionStatus& status, int32_t& output, const BindingProperty& input, std::string_view target,
            const TypeRecord* record) {
    if (!RequireValue(status, input, target)) {
        return;
    }
    const std::string_view enumName = record != nullptr ? std::string_view(record->fullName) : "enum";
    auto accept = [&](int64_t number) {
        if (record != nullptr && record->FindEnumeratorByNumber(number) != nullptr) {
            output = static_cast<int32_t>(number);
            return true;
        }
        return false;
    };
    switch (input.Kind()) {
        case BindingKind::Signed:
        case BindingKind::Enum: {
            const int64_t number =
                input.Kind() == BindingKind::Signed ? input.AsSigned() : input.EnumNumber();
            if (!accept(number)) {
                status.Fail(FormatMessage(Messages::kEnumValue, number, enumName, target));
            }
            return;
        }
        case BindingKind::Unsigned: {
            const uint64_t number = input.AsUnsigned();
            if (number > static_cast<uint64_t>(INT32_MAX) || !accept(static_cast<int64_t>(number))) {
                status.Fail(FormatMessage(Messages::kEnumValue, number, enumName, target));
            }
            return;
        }
        case BindingKind::String: {
            const std::string_view text = input.AsString();
            if (const EnumeratorRecord* named = record != nullptr ? record->FindEnumerator(text) : nullptr) {
                output = named->number;
                return;
            }
            int64_t number = 0;
            if (ParseSignedText(text, number) != NumberTextResult::Ok || !accept(number)) {
                status.Fail(FormatMessage(Messages::kEnumValue, text, enumName, target));
            }
            return;
        }
        default:
            status.Fail(FormatMessage(Messages::kEnumType, target, KindName(input.Kind())));
            return;
    }
}

void ToBlob(ConversionStatus& status, Blob& output, const BindingProperty& input, std::string_view target) {
    if (!RequireValue(status, input, target)) {
        return;
    }
    if (input.Kind() != BindingKind::Blob) {
        status.Fail(FormatMessage(Messages::kBlobType, target, KindName(input.Kind())));
        return;
    }
    const auto bytes = input.AsBlob();
    output.bytes.assign(bytes.begin(), bytes.end());
}

}  // namespace Brix::ScalarConversion
