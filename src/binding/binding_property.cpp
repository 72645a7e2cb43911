// binding_property.cpp - assignment, access, copy, move and release of generic values.
#include "binding/binding_property.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>
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

// NewText keeps a copy of text in the arena as an unpooled entry with one reference: the header,
// then the bytes and a NUL, in one block.
StringEntry* NewText(ContextArena& arena, std::string_view text) {
    void* memory = arena.Allocate(sizeof(StringEntry) + text.size() + 1);
    char* bytes = static_cast<char*>(memory) + sizeof(StringEntry);
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    return new (memory) StringEntry{bytes, text.size(), 0, StringEntry::kUnpooled | 1u};
}

// ReleaseText drops one reference to a string value's text. The empty text has no owner: a value
// set to it may have no context.
void ReleaseText(StringEntry* entry, AllocationContext* owner) noexcept {
    if (entry == StringPool::EmptyEntry()) {
        return;
    }
    if (entry->IsPooled()) {
        owner->Strings().Release(entry);
    } else if (--entry->references == StringEntry::kUnpooled) {
        owner->Arena().Free(entry, sizeof(StringEntry) + entry->length + 1);
    }
}

// CompareNames orders names by their bytes as unsigned chars. Most names of a table differ in their
// first byte, which is compared here before the library's comparison is called.
int CompareNames(std::string_view a, std::string_view b) noexcept {
    if (!a.empty() && !b.empty() && a.front() != b.front()) {
        return static_cast<unsigned char>(a.front()) < static_cast<unsigned char>(b.front()) ? -1 : 1;
    }
    return a.compare(b);
}

// LowerBound is the position of the first member whose name is not less than name.
uint32_t LowerBound(const MemberTable& table, std::string_view name) noexcept {
    uint32_t low = 0;
    uint32_t high = table.size;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        if (CompareNames(table.slots[middle].name->View(), name) < 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

// kMaxElements bounds a collection's or structure's size to what its 32-bit counts hold.
constexpr std::size_t kMaxElements = std::min<std::size_t>(UINT32_MAX / 2, SIZE_MAX / 64);

// GrownCapacity is the slot count an array grows to so that it holds at least needed items of size
// bytes: twice the old, at least 4, and all that the arena block of that size holds.
uint32_t GrownCapacity(uint32_t capacity, std::size_t needed, std::size_t size) {
    if (needed > kMaxElements) {
        throw std::bad_alloc();
    }
    const std::size_t wanted = std::max<std::size_t>({needed, std::size_t{capacity} * 2, 4});
    return static_cast<uint32_t>(std::min(ContextArena::Capacity(wanted * size) / size, kMaxElements));
}

}  // namespace

BindingProperty::BindingProperty(AllocationContext* owner) noexcept : context(owner) {
    if (context != nullptr) {
        context->Retain();
    }
}

BindingProperty::BindingProperty(AllocationContext* home, InTree /*tag*/) noexcept
    : context(home), holdsContext(0) {}

// Delegating to the default constructor makes the destructor run if the copy throws half-way.
BindingProperty::BindingProperty(const BindingProperty& other) : BindingProperty() {
    CopyContentFrom(other);
}

// The new value lives outside any tree, so it holds a reference of its own: the source's, or a new one
// when the source is a part of a tree, which then keeps its context.
BindingProperty::BindingProperty(BindingProperty&& other) noexcept {
    if (other.movable != 0) {
        payload = std::exchange(other.payload, Payload{});
        kind = std::exchange(other.kind, BindingKind::Empty);
        if (other.holdsContext != 0) {
            context = std::exchange(other.context, nullptr);
        } else {
            context = other.context;
            context->Retain();
        }
    } else {
        CopyContentFrom(other);
        other.Clear();
    }
}

BindingProperty& BindingProperty::operator=(const BindingProperty& other) {
    if (this != &other) {
        // Copy aside first: other may be a part of what this value holds now. The copy is made in this
        // value's context, or in a new one that this value takes over when it had none.
        BindingProperty copy(context);
        copy.CopyContentFrom(other);
        std::swap(payload, copy.payload);
        std::swap(kind, copy.kind);
        if (context == nullptr) {
            context = std::exchange(copy.context, nullptr);
        }
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
    // Swap, then clear the source. Within one context nothing changes hands: each side keeps its own
    // reference or its tree's. Between contexts each side ends with a reference of its own to the
    // context it now refers to. other may live inside the storage it now holds (a value replaced by one
    // of its own members), so nothing touches other once that storage is being released, and the
    // context is kept alive by a reference of its own until the release is done.
    const BindingKind oldKind = std::exchange(kind, std::exchange(other.kind, BindingKind::Empty));
    const Payload oldPayload = std::exchange(payload, std::exchange(other.payload, Payload{}));
    AllocationContext* const oldContext = context;
    if (other.context == oldContext) {
        ReleaseStorage(oldKind, oldPayload, oldContext);
        return *this;
    }
    // A part of a tree (holdsContext 0) that ends with another context marks its tree's context.
    AllocationContext* const incoming = other.context;
    if (incoming != nullptr && other.holdsContext == 0) {
        incoming->Retain();
        incoming->NotePartWithOtherContext();
    }
    if (oldContext != nullptr && holdsContext == 0) {
        oldContext->Retain();
        oldContext->NotePartWithOtherContext();
    }
    context = incoming;
    holdsContext = 1;
    other.context = oldContext;
    other.holdsContext = 1;
    if (oldContext != nullptr) {
        oldContext->Retain();
        ReleaseStorage(oldKind, oldPayload, oldContext);
        oldContext->Release();
    }
    return *this;
}

BindingProperty::~BindingProperty() {
    if (context != nullptr && holdsContext != 0 && context->ReleaseWithAllStorage()) {
        return;
    }
    ReleaseStorage(kind, payload, context);
    if (context != nullptr && holdsContext != 0) {
        context->Release();
    }
}

const BindingProperty& BindingProperty::EmptyValue() noexcept {
    return emptyValue;
}

AllocationContext& BindingProperty::EnsureContext() {
    if (context == nullptr) {
        context = AllocationContext::Create();
        holdsContext = 1;
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
            ReleaseText(oldPayload.string, owner);
            break;
        case BindingKind::Blob:
            if (oldPayload.blob->size != 0) {
                owner->Arena().Free(oldPayload.blob->data, oldPayload.blob->size);
            }
            owner->Blobs().Delete(oldPayload.blob);
            break;
        case BindingKind::Enum:
            owner->Enums().Delete(oldPayload.enumCell);
            break;
        case BindingKind::Collection: {
            ElementVector& elements = *oldPayload.elements;
            for (uint32_t index = 0; index < elements.size; ++index) {
                elements.data[index].~BindingProperty();
            }
            if (elements.capacity != 0) {
                owner->Arena().Free(elements.data, elements.capacity * sizeof(BindingProperty));
            }
            owner->Collections().Delete(oldPayload.elements);
            break;
        }
        case BindingKind::Structure: {
            MemberTable& table = *oldPayload.members;
            for (uint32_t index = 0; index < table.size; ++index) {
                const MemberSlot& slot = table.slots[index];
                owner->Strings().Release(slot.name);
                slot.value->~BindingProperty();
                owner->Arena().Free(slot.value, sizeof(BindingProperty));
            }
            if (table.capacity != 0) {
                owner->Arena().Free(table.slots, table.capacity * sizeof(MemberSlot));
            }
            owner->MemberTables().Delete(oldPayload.members);
            break;
        }
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
    next.string = text.empty() ? StringPool::EmptyEntry() : NewText(EnsureContext().Arena(), text);
    Replace(BindingKind::String, next);
}

void BindingProperty::SetBlob(std::span<const uint8_t> bytes) {
    AllocationContext& owner = EnsureContext();
    Payload next{};
    next.blob = owner.Blobs().New<BlobBytes>(BlobBytes{nullptr, bytes.size()});
    if (!bytes.empty()) {
        try {
            next.blob->data = static_cast<uint8_t*>(owner.Arena().Allocate(bytes.size()));
        } catch (...) {
            owner.Blobs().Delete(next.blob);
            throw;
        }
        std::memcpy(next.blob->data, bytes.data(), bytes.size());
    }
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
        next.elements = EnsureContext().Collections().New<ElementVector>(ElementVector{nullptr, 0, 0});
        Replace(BindingKind::Collection, next);
    }
}

void BindingProperty::MakeStructure() {
    if (kind != BindingKind::Structure) {
        Payload next{};
        next.members = EnsureContext().MemberTables().New<MemberTable>(MemberTable{nullptr, 0, 0});
        Replace(BindingKind::Structure, next);
    }
}

std::string_view BindingProperty::AsString() const noexcept {
    return kind == BindingKind::String ? payload.string->View() : std::string_view();
}

std::span<const uint8_t> BindingProperty::AsBlob() const noexcept {
    return kind == BindingKind::Blob ? std::span<const uint8_t>(payload.blob->data, payload.blob->size)
                                     : std::span<const uint8_t>();
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
            return payload.blob->size;
        case BindingKind::Collection:
            return payload.elements->size;
        case BindingKind::Structure:
            return payload.members->size;
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
            return Base64Encode(AsBlob());
        case BindingKind::Enum:
            return IntegerText(payload.enumCell->number);
        default:
            return {};
    }
}

std::size_t BindingProperty::ElementCount() const noexcept {
    return kind == BindingKind::Collection ? payload.elements->size : 0;
}

const BindingProperty& BindingProperty::Element(std::size_t index) const noexcept {
    if (kind != BindingKind::Collection || index >= payload.elements->size) {
        return emptyValue;
    }
    return payload.elements->data[index];
}

std::span<const BindingProperty> BindingProperty::Elements() const noexcept {
    return kind == BindingKind::Collection
               ? std::span<const BindingProperty>(payload.elements->data, payload.elements->size)
               : std::span<const BindingProperty>();
}

std::span<BindingProperty> BindingProperty::Elements() noexcept {
    return kind == BindingKind::Collection
               ? std::span<BindingProperty>(payload.elements->data, payload.elements->size)
               : std::span<BindingProperty>();
}

// GrowElements moves the elements into a larger array. A value refers to nothing of its own address,
// so a movable element is moved by copying its bytes, staying a part of the tree as it was; a pinned
// one is moved as documented (copied into a new context). Only the allocation can fail, and then
// nothing has changed.
void BindingProperty::GrowElements(std::size_t count) {
    ElementVector& elements = *payload.elements;
    if (count <= elements.capacity) {
        return;
    }
    const uint32_t capacity = GrownCapacity(elements.capacity, count, sizeof(BindingProperty));
    auto* data = static_cast<BindingProperty*>(context->Arena().Allocate(capacity * sizeof(BindingProperty)));
    for (uint32_t index = 0; index < elements.size; ++index) {
        BindingProperty& element = elements.data[index];
        if (element.movable != 0) {
            std::memcpy(static_cast<void*>(data + index), static_cast<const void*>(&element),
                        sizeof(element));
        } else {
            new (data + index) BindingProperty(std::move(element));
            element.~BindingProperty();  // NOLINT(bugprone-use-after-move): destroys what is left
            context->NotePartWithOtherContext();
        }
    }
    if (elements.capacity != 0) {
        context->Arena().Free(elements.data, elements.capacity * sizeof(BindingProperty));
    }
    elements.data = data;
    elements.capacity = capacity;
}

BindingProperty& BindingProperty::ElementForWriting(std::size_t index) {
    MakeCollection();
    ElementVector& elements = *payload.elements;
    if (index >= elements.size) {
        if (index >= kMaxElements) {
            throw std::bad_alloc();
        }
        GrowElements(index + 1);
        for (; elements.size <= index; ++elements.size) {
            new (elements.data + elements.size) BindingProperty(context, InTree{});
        }
    }
    return elements.data[index];
}

BindingProperty& BindingProperty::AppendElement() {
    MakeCollection();
    return ElementForWriting(payload.elements->size);
}

void BindingProperty::ReserveElements(std::size_t count) {
    MakeCollection();
    GrowElements(count);
}

std::size_t BindingProperty::MemberCount() const noexcept {
    return kind == BindingKind::Structure ? payload.members->size : 0;
}

const BindingProperty& BindingProperty::Member(std::string_view name) const noexcept {
    const BindingProperty* member = FindMember(name);
    return member != nullptr ? *member : emptyValue;
}

const BindingProperty* BindingProperty::FindMember(std::string_view name) const noexcept {
    if (kind != BindingKind::Structure) {
        return nullptr;
    }
    const MemberTable& table = *payload.members;
    const uint32_t position = LowerBound(table, name);
    return position < table.size && table.slots[position].name->View() == name ? table.slots[position].value
                                                                               : nullptr;
}

BindingProperty* BindingProperty::FindMember(std::string_view name) noexcept {
    return const_cast<BindingProperty*>(std::as_const(*this).FindMember(name));
}

// GrowMembers gives this structure's table room for at least count slots.
void BindingProperty::GrowMembers(std::size_t count) {
    MemberTable& table = *payload.members;
    if (count <= table.capacity) {
        return;
    }
    ContextArena& arena = context->Arena();
    const uint32_t capacity = GrownCapacity(table.capacity, count, sizeof(MemberSlot));
    auto* slots = static_cast<MemberSlot*>(arena.Allocate(capacity * sizeof(MemberSlot)));
    if (table.capacity != 0) {
        std::memcpy(slots, table.slots, table.size * sizeof(MemberSlot));
        arena.Free(table.slots, table.capacity * sizeof(MemberSlot));
    }
    table.slots = slots;
    table.capacity = capacity;
}

void BindingProperty::ReserveMembers(std::size_t count) {
    MakeStructure();
    GrowMembers(count);
}

// AddMember takes over the reference to name, which it releases when it fails.
BindingProperty& BindingProperty::AddMember(uint32_t position, StringEntry* name) {
    MemberTable& table = *payload.members;
    BindingProperty* value = nullptr;
    try {
        GrowMembers(std::size_t{table.size} + 1);
        value = new (context->Arena().Allocate(sizeof(BindingProperty))) BindingProperty(context, InTree{});
    } catch (...) {
        context->Strings().Release(name);
        throw;
    }
    MemberSlot* at = table.slots + position;
    std::memmove(at + 1, at, (table.size - position) * sizeof(MemberSlot));
    *at = MemberSlot{name, value};
    ++table.size;
    return *value;
}

// Readers add members in the order of the document, which is often the order of the names: a name
// greater than the last one is appended without a search.
BindingProperty& BindingProperty::MemberForWriting(std::string_view name) {
    if (kind != BindingKind::Structure) {
        // The new table is made before the old content goes: name may view a string of it.
        AllocationContext& owner = EnsureContext();
        Payload next{};
        next.members = owner.MemberTables().New<MemberTable>(MemberTable{nullptr, 0, 0});
        const BindingKind oldKind = std::exchange(kind, BindingKind::Structure);
        const Payload oldPayload = std::exchange(payload, next);
        try {
            BindingProperty& member = AddMember(0, owner.Strings().Intern(name));
            ReleaseStorage(oldKind, oldPayload, context);
            return member;
        } catch (...) {
            kind = oldKind;
            payload = oldPayload;
            if (next.members->capacity != 0) {
                owner.Arena().Free(next.members->slots, next.members->capacity * sizeof(MemberSlot));
            }
            owner.MemberTables().Delete(next.members);
            throw;
        }
    }
    MemberTable& table = *payload.members;
    uint32_t position = table.size;
    if (table.size != 0) {
        const int order = CompareNames(name, table.slots[table.size - 1].name->View());
        if (order == 0) {
            return *table.slots[table.size - 1].value;
        }
        if (order < 0) {
            position = LowerBound(table, name);
            if (table.slots[position].name->View() == name) {
                return *table.slots[position].value;
            }
        }
    }
    return AddMember(position, context->Strings().Intern(name));
}

StringEntry* BindingProperty::TextFrom(StringEntry* entry, const AllocationContext* owner) {
    if (entry == StringPool::EmptyEntry()) {
        return entry;
    }
    AllocationContext& here = EnsureContext();
    if (&here == owner) {
        if (entry->IsPooled()) {
            return here.Strings().AddReference(entry);
        }
        ++entry->references;
        return entry;
    }
    return entry->IsPooled() ? here.Strings().Intern(entry->View(), entry->hash)
                             : NewText(here.Arena(), entry->View());
}

void BindingProperty::CopyContentFrom(const BindingProperty& source) {
    switch (source.kind) {
        case BindingKind::String: {
            Payload next{};
            next.string = TextFrom(source.payload.string, source.context);
            Replace(BindingKind::String, next);
            break;
        }
        case BindingKind::Blob:
            SetBlob(source.AsBlob());
            break;
        case BindingKind::Enum:
            SetEnum(source.payload.enumCell->number, source.payload.enumCell->type);
            break;
        case BindingKind::Collection: {
            MakeCollection();
            const ElementVector& from = *source.payload.elements;
            GrowElements(from.size);
            for (uint32_t index = 0; index < from.size; ++index) {
                AppendElement().CopyContentFrom(from.data[index]);
            }
            break;
        }
        case BindingKind::Structure: {
            MakeStructure();
            const MemberTable& from = *source.payload.members;
            for (uint32_t index = 0; index < from.size; ++index) {
                const MemberSlot& slot = from.slots[index];
                AddMember(payload.members->size, TextFrom(slot.name, source.context))
                    .CopyContentFrom(*slot.value);
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
            return std::ranges::equal(a.AsBlob(), b.AsBlob());
        case BindingKind::Enum:
            return a.payload.enumCell->number == b.payload.enumCell->number &&
                   a.payload.enumCell->type == b.payload.enumCell->type;
        case BindingKind::Collection:
            return std::ranges::equal(a.Elements(), b.Elements());
        case BindingKind::Structure: {
            const MemberTable& left = *a.payload.members;
            const MemberTable& right = *b.payload.members;
            return left.size == right.size && std::equal(left.slots, left.slots + left.size, right.slots,
                                                         [](const auto& x, const auto& y) {
                                                             return x.name->View() == y.name->View() &&
                                                                    *x.value == *y.value;
                                                         });
        }
        default:
            return true;
    }
}

}  // namespace Brix
