// record_conversion.h - registered structs to and from generic values, field by field.
#pragma once

#include <string_view>

#include "binding/binding_property.h"
#include "binding/conversion_status.h"

namespace Brix {

class TypeRecord;
class TypeRegistry;

namespace RecordConversion {

// ToNative fills the native record at destination from input, field by field in registration order.
// Members that are absent or empty leave their field as it was, unless the field is required; members
// that match no field are ignored. The walk stops at the first failure.
void ToNative(ConversionStatus& status, void* destination, const BindingProperty& input,
              std::string_view target, const TypeRecord* record, const TypeRegistry* registry);

// ToValue writes the native record at source into output as a structure, one member per field, and
// leaves out the fields flagged omit-when-default that hold their default.
void ToValue(ConversionStatus& status, BindingProperty& output, const void* source, const TypeRecord* record,
             const TypeRegistry* registry);

// HoldsDefault tells whether a converted field holds its default: empty, false, zero, 0.0 (NaN is not
// a default), enum number 0, or an empty string, blob, collection or structure.
bool HoldsDefault(const BindingProperty& value) noexcept;

}  // namespace RecordConversion

}  // namespace Brix
