// scalar_conversion.h - the conversion rules of single values: bool, numbers, strings, enums and
// blobs, from a generic value into native storage. Containers and records build on these.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "binding/binding_property.h"
#include "binding/conversion_status.h"
#include "binding/type_code.h"

namespace Brix {

class TypeRecord;
class TypeRegistry;

// Blob is the native form of a field of type blob: a run of bytes.
struct Blob {
    std::vector<uint8_t> bytes;
    friend bool operator==(const Blob&, const Blob&) = default;
};

namespace ScalarConversion {

// RequireValue fails with the required-value message when input is empty; answers whether to go on.
bool RequireValue(ConversionStatus& status, const BindingProperty& input, std::string_view target);

void ToBool(ConversionStatus& status, bool& output, const BindingProperty& input, std::string_view target);

// ToSigned fills a signed integer of the width that code names (Int8 to Int64).
void ToSigned(ConversionStatus& status, int64_t& output, const BindingProperty& input,
              std::string_view target, TypeCode code);

// ToUnsigned fills an unsigned integer of the width that code names (UInt8 to UInt64).
void ToUnsigned(ConversionStatus& status, uint64_t& output, const BindingProperty& input,
                std::string_view target, TypeCode code);

// ToFloating fills a float (code Float) or a double (code Double).
void ToFloating(ConversionStatus& status, double& output, const BindingProperty& input,
                std::string_view target, TypeCode code);

// ToString takes a string as it is and an enum as its enumerator's name, looked up in registry.
void ToString(ConversionStatus& status, std::string& output, const BindingProperty& input,
              std::string_view target, const TypeRegistry* registry);

// ToEnum takes an enumerator of record by name or by number.
void ToEnum(ConversionStatus& status, int32_t& output, const BindingProperty& input, std::string_view target,
            const TypeRecord* record);

void ToBlob(ConversionStatus& status, Blob& output, const BindingProperty& input, std::string_view target);

}  // namespace ScalarConversion

}  // namespace Brix
