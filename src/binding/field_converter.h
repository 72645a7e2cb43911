// field_converter.h - the interface through which a field record converts its native member.
#pragma once

#include <string_view>

namespace Brix {

class BindingProperty;
class ConversionStatus;
class TypeRegistry;
struct TypeReference;

// FieldConverter turns one native member into a generic value and back. Each field record owns
// one, made by the field adder from the member's C++ type; both operations report through the
// status and do nothing once it has failed.
class FieldConverter {
public:
    virtual ~FieldConverter() = default;

    // ToNative fills destination (the member's address) from input; targetName names it in messages.
    virtual void ToNative(ConversionStatus& status, void* destination, const BindingProperty& input,
                          std::string_view targetName, const TypeReference& type,
                          const TypeRegistry* registry) const = 0;

    // ToValue writes the member at source into output.
    virtual void ToValue(ConversionStatus& status, BindingProperty& output, const void* source,
                         const TypeReference& type, const TypeRegistry* registry) const = 0;
};

}  // namespace Brix
