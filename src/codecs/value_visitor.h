// value_visitor.h - the event interface through which output formats receive a generic value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace Brix {

class BindingProperty;
struct StaticTypeDescriptor;

// ValueVisitor receives a value as a stream of events, one operation per kind, in the manner of a
// SAX handler. WalkValue drives it; an output format (the JSON writers, a later MessagePack or YAML
// writer, a schema renderer) implements it and never looks at BindingProperty itself.
//
// A collection arrives as StartCollection(count), then each element, with BetweenElements() between
// two consecutive elements (not before the first nor after the last), then EndCollection(). A
// structure arrives as StartStructure(count), then for each member, in ascending byte order of the
// names, MemberName(name) followed by the member's value, then EndStructure(). Texts and bytes are
// only valid during the call.
class ValueVisitor {
public:
    virtual ~ValueVisitor() = default;

    virtual void VisitEmpty() = 0;
    virtual void VisitBool(bool value) = 0;
    virtual void VisitSigned(int64_t value) = 0;
    virtual void VisitUnsigned(uint64_t value) = 0;
    virtual void VisitFloat(double value) = 0;
    // VisitString receives the text with its exact length; it may contain NUL bytes.
    virtual void VisitString(std::string_view text) = 0;
    virtual void VisitBlob(std::span<const uint8_t> bytes) = 0;
    // VisitEnum receives the enumerator's number and the static type of its enum (may be null).
    virtual void VisitEnum(int32_t number, const StaticTypeDescriptor* type) = 0;

    virtual void StartCollection(std::size_t elementCount) = 0;
    virtual void BetweenElements() = 0;
    virtual void EndCollection() = 0;

    virtual void StartStructure(std::size_t memberCount) = 0;
    virtual void MemberName(std::string_view name) = 0;
    virtual void EndStructure() = 0;

protected:
    ValueVisitor() = default;
    ValueVisitor(const ValueVisitor&) = default;
    ValueVisitor& operator=(const ValueVisitor&) = default;
};

// WalkValue sends value and everything inside it to visitor, depth first. It keeps its own stack of
// open containers on the heap instead of recursing, so a value built in code may be nested as deeply
// as memory allows (the readers refuse documents deeper than kMaxNestingDepth, but values made by
// converters or by hand are not bounded).
void WalkValue(const BindingProperty& value, ValueVisitor& visitor);

}  // namespace Brix
