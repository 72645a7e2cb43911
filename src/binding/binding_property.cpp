// binding_property.cpp - assignment, access, copy, move and release of generic values.
#include "binding/binding_property.h"

#include <algorithm>
#include <charconv>
#include <tuple>
#include <utility>

#include "binding/allocation_context.h"
#include "binding/base64.h"

namespace Brix {

namespace {

// EmptyHolder keeps the shared empty value alive to the very end: it is never destroyed, so readers
// running in static destructors still find it.
union EmptyHolder {
    constexpr EmptyHolder() noexcept : value() {}
    ~EmptyHolder() {}  // NOLINT(modernize-use-equals-default): a defaulted one would destroy value
    BindingProperty value;
};

constinit const EmptyHolder emptyHolder;
const BindingProperty& emptyValue = emptyHolder.value;

// IntegerText is the decimal text of an integer.
template <class T>
std::string IntegerText(T value) {
    char buffer[24];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(std::begin(buffer), result.ptr);
}

// FloatText formats like "%f" (fixed, six decimals) but always with a "." whatever the C locale.
std::string FloatText(double value) {
    char buffer[400];  // the largest double has 309 integer digits
    const auto result =
        std::to_chars(std::begin(buffer), std::end(buffer), value, std::chars_format::fixed, 6);
    return std::string(std::begin(buffer), result.ptr);
}

// EmplaceMember adds an empty member under an interned name whose reference it takes over.
BindingProperty& EmplaceMember(MemberTable& table, MemberTable::const_iterator hint, StringEntry* name,
                               AllocationContext& owner) {
    try {
        return table
            .emplace_hint(hint, std::piecewise_construct, std::forward_as_tuple(name),
                          std::forward_as_tuple(&owner))
            ->second;
    } catch (...) {
        owner.Strings().Release(name);
        throw;
    }
}

}  // namespace

BindingProperty::BindingProperty(AllocationContext* owner) noexcept : context(owner) {
    if (context != nullptr) {
        context->Retain();
    }
}

// Delegating to the default constructor makes the destructor run if the copy throws half-way.
BindingProperty::BindingProperty(const BindingProperty& other) : BindingProperty() {
    CopyContentFrom(other);
}

BindingProperty::BindingProperty(BindingProperty&& other) noexcept {
    if (other.movable != 0) {
        payload = std::exchange(other.payload, Payload{});
        context = std::exchange(other.context, nullptr);
        kind = std::exchange(other.kind, BindingKind::Empty);
    } else {
        CopyContentFrom(other);
        other.Clear();
    }
}

BindingProperty& BindingProperty::operator=(const BindingProperty& other) {
    if (this != &other) {
        // Copy aside first: other may be a part of what this value holds now.
        BindingProperty copy(context);
        copy.CopyContentFrom(other);
        std::swap(payload, copy.payload);
        std::swap(kind, copy.kind);
        std::swap(context, copy.context);
    }
    return *this;
}

BindingProperty& BindingProperty::operator=(BindingProperty&& other) noexcept {
    if (this == &other) {
        return *this;
    }
    if (movable == 0 || other.movable == 0) {
        *this = static_cast<const BindingProperty&>(other);
        other.Clear();
        return *this;
    }
    // Swap, then clear the source. other may live inside the storage it now holds (a value replaced
    // by one of its own members), so nothing touches other once its old storage is being released,
    // and the context is kept alive by a reference of its own until the release is done.
    const BindingKind oldKind = std::exchange(kind, std::exchange(other.kind, BindingKind::Empty));
    const Payload oldPayload = std::exchange(payload, std::exchange(other.payload, Payload{}));
    AllocationContext* oldContext = context;
    context = std::exchange(other.context, oldContext);
    if (oldContext != nullptr) {
        oldContext->Retain();
        ReleaseStorage(oldKind, oldPayload, oldContext);
        oldContext->Release();
    }
    return *this;
}

BindingProperty::~BindingProperty() {
    ReleaseStorage(kind, payload, context);
    if (context != nullptr) {
        context->Release();
    }
}

const BindingProperty& BindingProperty::EmptyValue() noexcept {
    return emptyValue;
}

AllocationContext& BindingProperty::EnsureContext() {
    if (context == nullptr) {
        context = AllocationContext::Create();
    }
    return *context;
}

void BindingProperty::Replace(BindingKind newKind, Payload newPayload) noexcept {
    const BindingKind oldKind = std::exchange(kind, newKind);
    const Payload oldPayload = std::exchange(payload, newPayload);
    ReleaseStorage(oldKind, oldPayload, context);
}

void BindingProperty::ReleaseStorage(BindingKind oldKind, Payload oldPayload,
                                     AllocationContext* owner) noexcept {
    switch (oldKind) {
        case BindingKind::String:
            if (oldPayload.string != StringPool::EmptyEntry()) {
                owner->Strings().Release(oldPayload.string);
            }
            break;
        case BindingKind::Blob:
            owner->Blobs().Delete(oldPayload.blob);
            break;
        case BindingKind::Enum:
            owner->Enums().Delete(oldPayload.enumCell);
            break;
        case BindingKind::Collection:
            owner->Collections().Delete(oldPayload.elements);
            break;
        case BindingKind::Structure:
            for (auto& member : *oldPayload.members) {
                owner->Strings().Release(member.first);
            }
            owner->MemberTables().Delete(oldPayload.members);
            break;
        default:
            break;
    }
}

void BindingProperty::Clear() noexcept {
    Replace(BindingKind::Empty, Payload{});
}

void BindingProperty::SetBool(bool value) noexcept {
    Payload next{};
    next.boolean = value;
    Replace(BindingKind::Bool, next);
}

void BindingProperty::SetSigned(int64_t value) noexcept {
    Payload next{};
    next.signedNumber = value;
    Replace(BindingKind::Signed, next);
}

void BindingProperty::SetUnsigned(uint64_t value) noexcept {
    Payload next{};
    next.unsignedNumber = value;
    Replace(BindingKind::Unsigned, next);
}

void BindingProperty::SetFloat(double value) noexcept {
    Payload next{};
    next.floatNumber = value;
    Replace(BindingKind::Float, next);
}

// Each setter makes its new storage before Replace releases the old: the argument may view storage
// of this very value.
void BindingProperty::SetString(std::string_view text) {
    Payload next{};
    next.string = text.empty() ? StringPool::EmptyEntry() : EnsureContext().Strings().Intern(text);
    Replace(BindingKind::String, next);
}

void BindingProperty::SetBlob(std::span<const uint8_t> bytes) {
    Payload next{};
    next.blob = EnsureContext().Blobs().New<BlobBytes>(bytes.begin(), bytes.end());
    Replace(BindingKind::Blob, next);
}

void BindingProperty::SetEnum(int32_t number, const StaticTypeDescriptor* type) {
    Payload next{};
    next.enumCell = EnsureContext().Enums().New<EnumCell>(EnumCell{number, type});
    Replace(BindingKind::Enum, next);
}

void BindingProperty::MakeCollection() {
    if (kind != BindingKind::Collection) {
        Payload next{};
        next.elements = EnsureContext().Collections().New<ElementVector>();
        Replace(BindingKind::Collection, next);
    }
}

void BindingProperty::MakeStructure() {
    if (kind != BindingKind::Structure) {
        Payload next{};
        next.members = EnsureContext().MemberTables().New<MemberTable>();
        Replace(BindingKind::Structure, next);
    }
}

std::string_view BindingProperty::AsString() const noexcept {
    return kind == BindingKind::String ? payload.string->View() : std::string_view();
}

std::span<const uint8_t> BindingProperty::AsBlob() const noexcept {
    return kind == BindingKind::Blob ? std::span<const uint8_t>(*payload.blob) : std::span<const uint8_t>();
}

const StaticTypeDescriptor* BindingProperty::EnumType() const noexcept {
    return kind == BindingKind::Enum ? payload.enumCell->type : nullptr;
}

std::size_t BindingProperty::Size() const noexcept {
    switch (kind) {
        case BindingKind::Empty:
            return 0;
        case BindingKind::String:
            return payload.string->length;
        case BindingKind::Blob:
            return payload.blob->size();
        case BindingKind::Collection:
            return payload.elements->size();
        case BindingKind::Structure:
            return payload.members->size();
        default:
            return 1;
    }
}

std::string BindingProperty::ToText() const {
    switch (kind) {
        case BindingKind::Bool:
            return payload.boolean ? "true" : "false";
        case BindingKind::Signed:
            return IntegerText(payload.signedNumber);
        case BindingKind::Unsigned:
            return IntegerText(payload.unsignedNumber);
        case BindingKind::Float:
            return FloatText(payload.floatNumber);
        case BindingKind::String:
            return std::string(payload.string->View());
        case BindingKind::Blob:
            return Base64Encode(*payload.blob);
        case BindingKind::Enum:
            return IntegerText(payload.enumCell->number);
        default:
            return {};
    }
}

std::size_t BindingProperty::ElementCount() const noexcept {
    return kind == BindingKind::Collection ? payload.elements->size() : 0;
}

const BindingProperty& BindingProperty::Element(std::size_t index) const noexcept {
    if (kind != BindingKind::Collection || index >= payload.elements->size()) {
        return emptyValue;
    }
    return (*payload.elements)[index];
}

std::span<const BindingProperty> BindingProperty::Elements() const noexcept {
    return kind == BindingKind::Collection ? std::span<const BindingProperty>(*payload.elements)
                                           : std::span<const BindingProperty>();
}

std::span<BindingProperty> BindingProperty::Elements() noexcept {
    return kind == BindingKind::Collection ? std::span<BindingProperty>(*payload.elements)
                                           : std::span<BindingProperty>();
}

BindingProperty& BindingProperty::ElementForWriting(std::size_t index) {
    MakeCollection();
    ElementVector& elements = *payload.elements;
    while (elements.size() <= index) {
        elements.emplace_back(context);
    }
    return elements[index];
}

BindingProperty& BindingProperty::AppendElement() {
    MakeCollection();
    return payload.elements->emplace_back(context);
}

void BindingProperty::ReserveElements(std::size_t count) {
    MakeCollection();
    payload.elements->reserve(count);
}

std::size_t BindingProperty::MemberCount() const noexcept {
    return kind == BindingKind::Structure ? payload.members->size() : 0;
}

const BindingProperty& BindingProperty::Member(std::string_view name) const noexcept {
    const BindingProperty* member = FindMember(name);
    return member != nullptr ? *member : emptyValue;
}

const BindingProperty* BindingProperty::FindMember(std::string_view name) const noexcept {
    if (kind != BindingKind::Structure) {
        return nullptr;
    }
    const auto found = payload.members->find(name);
    return found != payload.members->end() ? &found->second : nullptr;
}

BindingProperty* BindingProperty::FindMember(std::string_view name) noexcept {
    return const_cast<BindingProperty*>(std::as_const(*this).FindMember(name));
}

BindingProperty& BindingProperty::MemberForWriting(std::string_view name) {
    if (kind == BindingKind::Structure) {
        MemberTable& table = *payload.members;
        const auto position = table.lower_bound(name);
        if (position != table.end() && position->first->View() == name) {
            return position->second;
        }
        return EmplaceMember(table, position, context->Strings().Intern(name), *context);
    }
    // The new table and its member are made before the old content goes: name may view a string of it.
    AllocationContext& owner = EnsureContext();
    Payload next{};
    next.members = owner.MemberTables().New<MemberTable>();
    BindingProperty* member = nullptr;
    try {
        member = &EmplaceMember(*next.members, next.members->end(), owner.Strings().Intern(name), owner);
    } catch (...) {
        owner.MemberTables().Delete(next.members);
        throw;
    }
    Replace(BindingKind::Structure, next);
    return *member;
}

StringEntry* BindingProperty::InternFrom(StringEntry* entry, const AllocationContext* owner) {
    if (entry == StringPool::EmptyEntry()) {
        return entry;
    }
    AllocationContext& here = EnsureContext();
    return &here == owner ? here.Strings().AddReference(entry)
                          : here.Strings().Intern(entry->View(), entry->hash);
}

void BindingProperty::CopyContentFrom(const BindingProperty& source) {
    switch (source.kind) {
        case BindingKind::String: {
            Payload next{};
            next.string = InternFrom(source.payload.string, source.context);
            Replace(BindingKind::String, next);
            break;
        }
        case BindingKind::Blob:
            SetBlob(*source.payload.blob);
            break;
        case BindingKind::Enum:
            SetEnum(source.payload.enumCell->number, source.payload.enumCell->type);
            break;
        case BindingKind::Collection: {
            MakeCollection();
            ElementVector& elements = *payload.elements;
            elements.reserve(source.payload.elements->size());
            for (const BindingProperty& element : *source.payload.elements) {
                elements.emplace_back(context).CopyContentFrom(element);
            }
            break;
        }
        case BindingKind::Structure: {
            MakeStructure();
            MemberTable& table = *payload.members;
            for (const auto& [name, value] : *source.payload.members) {
                EmplaceMember(table, table.end(), InternFrom(name, source.context), *context)
                    .CopyContentFrom(value);
            }
            break;
        }
        default:
            Replace(source.kind, source.payload);
            break;
    }
}

bool operator==(const BindingProperty& a, const BindingProperty& b) noexcept {
    if (a.kind != b.kind) {
        return false;
    }
    switch (a.kind) {
        case BindingKind::Bool:
            return a.payload.boolean == b.payload.boolean;
        case BindingKind::Signed:
            return a.payload.signedNumber == b.payload.signedNumber;
        case BindingKind::Unsigned:
            return a.payload.unsignedNumber == b.payload.unsignedNumber;
        case BindingKind::Float:
            return a.payload.floatNumber == b.payload.floatNumber;
        case BindingKind::String:
            return a.payload.string == b.payload.string ||
                   a.payload.string->View() == b.payload.string->View();
        case BindingKind::Blob:
            return *a.payload.blob == *b.payload.blob;
        case BindingKind::Enum:
            return a.payload.enumCell->number == b.payload.enumCell->number &&
                   a.payload.enumCell->type == b.payload.enumCell->type;
        case BindingKind::Collection:
            return *a.payload.elements == *b.payload.elements;
        case BindingKind::Structure: {
            const MemberTable& left = *a.payload.members;
            const MemberTable& right = *b.payload.members;
            return left.size() == right.size() &&
                   std::equal(left.begin(), left.end(), right.begin(), [](const auto& x, const auto& y) {
                       return x.first->View() == y.first->View() && x.second == y.second;
                   });
        }
        default:
            return true;
    }
}

}  // namespace Brix
