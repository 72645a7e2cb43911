// binding_property.h - the generic tree value that every body, payload, reply and setting passes through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "binding/string_pool.h"
#include "binding/value_kind.h"

namespace Brix {

class AllocationContext;
class BindingProperty;
struct StaticTypeDescriptor;
template <class Value>
class BindingMemberRange;

// EnumCell is the out-of-line payload of an enum value: the enumerator's number and its enum type.
struct EnumCell {
    int32_t number;
    const StaticTypeDescriptor* type;
};

// The out-of-line payloads. Each header lives in a block of its context's pool for that kind; the
// bytes, elements, member slots and member values it points to live in the context's arena.
// BlobBytes is a blob's bytes.
struct BlobBytes {
    uint8_t* data;
    std::size_t size;
};

// ElementVector is a collection's elements, held by value in one array that grows by doubling.
struct ElementVector {
    BindingProperty* data;
    uint32_t size;
    uint32_t capacity;
};

// MemberSlot is one member of a structure: its interned name and its value. Values are allocated
// one by one, so a member stays where it is while the table around it grows or shifts.
struct MemberSlot {
    StringEntry* name;
    BindingProperty* value;
};

// MemberTable is a structure's members, sorted by the bytes of their names compared as unsigned
// chars (the order of C strings, except that a NUL inside a name is compared like any other byte).
struct MemberTable {
    MemberSlot* slots;
    uint32_t size;
    uint32_t capacity;
};

// BindingProperty is a dynamically typed tree value of one of ten kinds (BindingKind): empty, a bool,
// a signed or unsigned 64-bit number, a double, a string, a blob of bytes, an enum (number and enum
// type), a collection of values, or a structure of named values ordered by name.
//
// Storage. Strings, blobs, enum cells, collections and member tables live out of line in the value's
// allocation context (AllocationContext). A value has none until it first needs one and then creates
// it; every element and member is created in the context of its parent, so a tree built from one
// root shares one context. Member names are interned in the context's string pool, so the structures
// of a tree share their names; string values are kept in the context's arena, and a copy within one
// context shares the text by counting a reference. Each value outside a tree holds a reference to its
// context, and the elements and members of a tree rely on their root's, so a context lives as long as
// the last value built in it that is not a part of another one. A copy is made in the context of its target
// (a copy-constructed value makes a new context), so a copy shares nothing with its source and may be handed
// to another thread; a move hands the storage over, context and all. To build a temporary that will be moved
// into a tree, make it in the tree's context: BindingProperty(tree.Context()).
//
// References. A reference to a member stays valid until that member's structure is cleared,
// reassigned or destroyed: adding members to the structure never moves the others. A reference to an
// element of a collection is like a reference into a std::vector: appending elements
// (ElementForWriting past the end, AppendElement, ReserveElements) may move every element of that
// collection, so take it again after growing. Reassigning a value invalidates every reference into
// what it held. Moving a value into one of its own descendants is not allowed.
//
// A value and its context are used by one thread at a time. No operation fails for a kind mismatch:
// readers return zero, the empty text or the shared empty value, writers change the kind.
class BindingProperty {
public:
    constexpr BindingProperty() noexcept = default;
    // An empty value that allocates in context (retained); with nullptr it makes its own when needed.
    explicit BindingProperty(AllocationContext* context) noexcept;
    BindingProperty(const BindingProperty& other);
    // Moves are noexcept so that collections relocate their elements without copying. Moving from a
    // value whose movable flag is cleared copies instead; running out of memory there ends the process.
    BindingProperty(BindingProperty&& other) noexcept;
    BindingProperty& operator=(const BindingProperty& other);
    BindingProperty& operator=(BindingProperty&& other) noexcept;
    ~BindingProperty();

    // EmptyValue is the shared empty value that readers return for what is not there.
    static const BindingProperty& EmptyValue() noexcept;

    BindingKind Kind() const noexcept { return kind; }
    bool IsEmpty() const noexcept { return kind == BindingKind::Empty; }
    AllocationContext* Context() const noexcept { return context; }

    // The movable flag is set by construction. A move between two values that both carry it hands
    // the storage over; otherwise the target receives a deep copy in its own context. Clearing the
    // flag pins a value to its context. Collections move their elements when they grow, so an element
    // whose flag is cleared is copied then, into a new context and without the flag.
    // IsMovable stays as the flag's reader although the library itself only ever sets the flag.
    bool IsMovable() const noexcept { return movable != 0; }
    void SetMovable(bool value) noexcept { movable = value ? 1 : 0; }

    // Assignment. Each setter releases what the value held and sets the new kind; the context stays.
    void Clear() noexcept;
    void SetBool(bool value) noexcept;
    void SetSigned(int32_t value) noexcept { SetSigned(int64_t{value}); }
    void SetSigned(int64_t value) noexcept;
    void SetUnsigned(uint32_t value) noexcept { SetUnsigned(uint64_t{value}); }
    void SetUnsigned(uint64_t value) noexcept;
    void SetFloat(double value) noexcept;
    // SetString keeps a copy of text in the value's context.
    void SetString(std::string_view text);
    void SetBlob(std::span<const uint8_t> bytes);
    void SetEnum(int32_t number, const StaticTypeDescriptor* type);
    // MakeCollection and MakeStructure keep a collection or structure that is already there.
    void MakeCollection();
    void MakeStructure();

    // Scalar readers; each returns zero (false, the empty text, no bytes, no type) for another kind.
    bool AsBool() const noexcept { return kind == BindingKind::Bool && payload.boolean; }
    int64_t AsSigned() const noexcept { return kind == BindingKind::Signed ? payload.signedNumber : 0; }
    uint64_t AsUnsigned() const noexcept {
        return kind == BindingKind::Unsigned ? payload.unsignedNumber : 0;
    }
    double AsFloat() const noexcept { return kind == BindingKind::Float ? payload.floatNumber : 0.0; }
    std::string_view AsString() const noexcept;
    std::span<const uint8_t> AsBlob() const noexcept;
    int32_t EnumNumber() const noexcept { return kind == BindingKind::Enum ? payload.enumCell->number : 0; }
    const StaticTypeDescriptor* EnumType() const noexcept;

    // Size: 0 for empty, the byte length of a string or blob, the element or member count, else 1.
    std::size_t Size() const noexcept;
    // ToText: "true"/"false", decimal integers, floats with six decimals ("%f"), a string's text, a
    // blob's Base64 text, an enum's number; the empty text for empty, collection and structure.
    std::string ToText() const;

    // Collections. Element returns the shared empty value past the end or for another kind.
    std::size_t ElementCount() const noexcept;
    const BindingProperty& Element(std::size_t index) const noexcept;
    std::span<const BindingProperty> Elements() const noexcept;
    std::span<BindingProperty> Elements() noexcept;
    // ElementForWriting turns another kind into an empty collection, appends empty elements up to and
    // including index, and returns the element.
    BindingProperty& ElementForWriting(std::size_t index);
    // AppendElement turns another kind into an empty collection and appends one empty element.
    BindingProperty& AppendElement();
    void ReserveElements(std::size_t count);

    // Structures. Member returns the shared empty value when there is no such member or the value is
    // not a structure; it never adds. FindMember tells a missing member (nullptr) from an empty one.
    std::size_t MemberCount() const noexcept;
    const BindingProperty& Member(std::string_view name) const noexcept;
    const BindingProperty* FindMember(std::string_view name) const noexcept;
    BindingProperty* FindMember(std::string_view name) noexcept;
    // MemberForWriting turns another kind into an empty structure and returns the member, adding an
    // empty one under the interned name when there is none.
    BindingProperty& MemberForWriting(std::string_view name);
    // ReserveMembers turns another kind into an empty structure and makes room for count members, so
    // that adding them does not grow the table again.
    void ReserveMembers(std::size_t count);
    // Members visits the members in ascending byte order of their names, whatever the order in which
    // they were added: for (auto [name, value] : structure.Members()).
    BindingMemberRange<const BindingProperty> Members() const noexcept;
    BindingMemberRange<BindingProperty> Members() noexcept;

    // Two values are equal when their kinds and contents are: strings and names by text, enums by
    // number and type, floats by ==, collections element by element, structures member by member.
    friend bool operator==(const BindingProperty& a, const BindingProperty& b) noexcept;

private:
    // Payload is the scalar itself or the address of the out-of-line storage of the kind.
    union Payload {
        uint64_t bits;
        bool boolean;
        int64_t signedNumber;
        uint64_t unsignedNumber;
        double floatNumber;
        StringEntry* string;
        BlobBytes* blob;
        EnumCell* enumCell;
        ElementVector* elements;
        MemberTable* members;
    };

    // InTree marks the construction of an element or member: it refers to its tree's context without
    // a reference of its own, since the tree outlives it.
    struct InTree {};
    BindingProperty(AllocationContext* home, InTree tag) noexcept;

    AllocationContext& EnsureContext();
    // Replace installs a new kind and payload, then releases the old ones in the value's context.
    void Replace(BindingKind newKind, Payload newPayload) noexcept;
    static void ReleaseStorage(BindingKind oldKind, Payload oldPayload, AllocationContext* owner) noexcept;
    // CopyContentFrom copies source into this empty value, in this value's context.
    void CopyContentFrom(const BindingProperty& source);
    // TextFrom gives this value's context a reference to a text of owner's context: the same entry
    // when the contexts are one, a new entry (a pooled name or an unpooled value text) otherwise.
    StringEntry* TextFrom(StringEntry* entry, const AllocationContext* owner);
    // AddMember inserts an empty member under name at position of this structure's table.
    BindingProperty& AddMember(uint32_t position, StringEntry* name);
    // GrowMembers makes room for at least count members in this structure.
    void GrowMembers(std::size_t count);
    // GrowElements makes room for at least count elements in this collection.
    void GrowElements(std::size_t count);

    // Layout: the two 8-byte members first, then the three bytes, so the value packs into 24 bytes on
    // 64-bit targets with the padding at the end; collections hold values by value, so size matters.
    // holdsContext is 1 when the value holds a reference to its context (every value outside a tree,
    // and a part of a tree that refers to another context), 0 for an element or member that refers to
    // its tree's context; a value without a context always has 1.
    Payload payload{};
    AllocationContext* context = nullptr;
    BindingKind kind = BindingKind::Empty;
    uint8_t movable = 1;
    uint8_t holdsContext = 1;
};

static_assert(sizeof(void*) != 8 || sizeof(BindingProperty) <= 24, "a value is kept to 24 bytes");

// BindingMember is one member of a structure as iteration presents it.
template <class Value>
struct BindingMember {
    std::string_view name;
    Value& value;
};

// BindingMemberIterator walks a member table in order; Value is BindingProperty or its const form.
template <class Value>
class BindingMemberIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = BindingMember<Value>;
    using difference_type = std::ptrdiff_t;
    using reference = BindingMember<Value>;
    using pointer = void;

    BindingMemberIterator() = default;
    explicit BindingMemberIterator(const MemberSlot* start) : position(start) {}

    BindingMember<Value> operator*() const { return {position->name->View(), *position->value}; }
    BindingMemberIterator& operator++() {
        ++position;
        return *this;
    }
    BindingMemberIterator operator++(int) {
        BindingMemberIterator before = *this;
        ++position;
        return before;
    }
    friend bool operator==(const BindingMemberIterator& a, const BindingMemberIterator& b) {
        return a.position == b.position;
    }

private:
    const MemberSlot* position = nullptr;
};

// BindingMemberRange is the members of a structure, or no members for any other kind.
template <class Value>
class BindingMemberRange {
public:
    explicit BindingMemberRange(const MemberTable* members) noexcept : table(members) {}

    // Without a table both ends are null iterators, which compare equal. The lower-case names are
    // the ones range-for and <ranges> look for.
    // NOLINTBEGIN(readability-identifier-naming)
    BindingMemberIterator<Value> begin() const {
        return BindingMemberIterator<Value>(table != nullptr ? table->slots : nullptr);
    }
    BindingMemberIterator<Value> end() const {
        return BindingMemberIterator<Value>(table != nullptr ? table->slots + table->size : nullptr);
    }
    std::size_t size() const noexcept { return table != nullptr ? table->size : 0; }
    bool empty() const noexcept { return size() == 0; }
    // NOLINTEND(readability-identifier-naming)

private:
    const MemberTable* table;
};

inline BindingMemberRange<const BindingProperty> BindingProperty::Members() const noexcept {
    return BindingMemberRange<const BindingProperty>(kind == BindingKind::Structure ? payload.members
                                                                                    : nullptr);
}

inline BindingMemberRange<BindingProperty> BindingProperty::Members() noexcept {
    return BindingMemberRange<BindingProperty>(kind == BindingKind::Structure ? payload.members : nullptr);
}

}  // namespace Brix
