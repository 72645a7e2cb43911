// record_conversion.cpp - the field walks of registered structs.
#include "binding/record_conversion.h"

#include "binding/conversion_messages.h"
#include "binding/type_record.h"
#include "binding/value_kind.h"
#include "logging/message_formatter.h"

namespace Brix::RecordConversion {

namespace Messages = ConversionMessages;

void ToNative(ConversionStatus& status, void* destination, const BindingProperty& input,
              std::string_view target, const TypeRecord* record, const TypeRegistry* registry) {
    if (!status.Ok()) {
        return;
    }
    if (input.IsEmpty()) {
        status.Fail(FormatMessage(Messages::kRequired, target));
        return;
    }
    if (record == nullptr || record->isEnum) {
        status.Fail(FormatMessage(Messages::kStructUnregistered, target));
        return;
    }
    if (input.Kind() != BindingKind::Structure) {
        status.Fail(FormatMessage(Messages::kStructType, target, record->fullName));
        return;
    }
    auto* base = static_cast<unsigned char*>(destination);
    for (const FieldRecord& field : record->fields) {
        const BindingProperty* member = input.FindMember(field.name);
        if (member == nullptr || member->IsEmpty()) {
            if (field.IsRequired()) {
                status.Fail(FormatMessage(Messages::kStructRequired, target, record->fullName, field.name));
                return;
            }
            continue;
        }
        if (field.converter != nullptr) {
            field.converter->ToNative(status, base + field.offset, *member, field.name, field.type, registry);
        }
        if (!status.Ok()) {
            return;
        }
    }
}

void ToValue(ConversionStatus& status, BindingProperty& output, const void* source, const TypeRecord* record,
             const TypeRegistry* registry) {
    if (!status.Ok()) {
        return;
    }
    if (record == nullptr || record->isEnum) {
        status.Fail(Messages::kNativeUnregistered);
        return;
    }
    output.MakeStructure();
    const auto* base = static_cast<const unsigned char*>(source);
    for (const FieldRecord& field : record->fields) {
        BindingProperty value(output.Context());
        if (field.converter != nullptr) {
            field.converter->ToValue(status, value, base + field.offset, field.type, registry);
        }
        if (!status.Ok()) {
            return;
        }
        if (field.OmitsDefault() && HoldsDefault(value)) {
            continue;
        }
        output.MemberForWriting(field.name) = std::move(value);
    }
}

bool HoldsDefault(const BindingProperty& value) noexcept {
    switch (value.Kind()) {
        case BindingKind::Empty:
            return true;
        case BindingKind::Bool:
            return !value.AsBool();
        case BindingKind::Signed:
            return value.AsSigned() == 0;
        case BindingKind::Unsigned:
            return value.AsUnsigned() == 0;
        case BindingKind::Float:
            return value.AsFloat() == 0.0;
        case BindingKind::Enum:
            return value.EnumNumber() == 0;
        default:
            return value.Size() == 0;
    }
}

}  // namespace Brix::RecordConversion
