// value_visitor.cpp - the depth-first walk that drives a ValueVisitor over a value.
#include "codecs/value_visitor.h"

#include <vector>

#include "binding/binding_property.h"

namespace Brix {

namespace {

// OpenContainer is a collection or structure whose items are being sent: the next element index of
// a collection, or the next and end member positions of a structure.
struct OpenContainer {
    const BindingProperty* container;
    std::size_t nextIndex = 0;
    BindingMemberIterator<const BindingProperty> nextMember{};
    BindingMemberIterator<const BindingProperty> endMember{};
};

// VisitScalarOrOpen sends a scalar to the visitor, or starts a container and, when it has items,
// pushes it onto open.
void VisitScalarOrOpen(const BindingProperty& value, ValueVisitor& visitor,
                       std::vector<OpenContainer>& open) {
    switch (value.Kind()) {
        case BindingKind::Empty:
            visitor.VisitEmpty();
            return;
        case BindingKind::Bool:
            visitor.VisitBool(value.AsBool());
            return;
        case BindingKind::Signed:
            visitor.VisitSigned(value.AsSigned());
            return;
        case BindingKind::Unsigned:
            visitor.VisitUnsigned(value.AsUnsigned());
            return;
        case BindingKind::Float:
            visitor.VisitFloat(value.AsFloat());
            return;
        case BindingKind::String:
            visitor.VisitString(value.AsString());
            return;
        case BindingKind::Blob:
            visitor.VisitBlob(value.AsBlob());
            return;
        case BindingKind::Enum:
            visitor.VisitEnum(value.EnumNumber(), value.EnumType());
            return;
        case BindingKind::Collection:
            visitor.StartCollection(value.ElementCount());
            if (value.ElementCount() == 0) {
                visitor.EndCollection();
            } else {
                open.push_back(OpenContainer{&value});
            }
            return;
        case BindingKind::Structure: {
            const auto members = value.Members();
            visitor.StartStructure(members.size());
            if (members.empty()) {
                visitor.EndStructure();
            } else {
                open.push_back(OpenContainer{&value, 0, members.begin(), members.end()});
            }
            return;
        }
    }
    // A kind outside the ten has no content to send.
    visitor.VisitEmpty();
}

}  // namespace

void WalkValue(const BindingProperty& value, ValueVisitor& visitor) {
    std::vector<OpenContainer> open;
    VisitScalarOrOpen(value, visitor, open);
    while (!open.empty()) {
        OpenContainer& top = open.back();
        const BindingProperty* next = nullptr;
        if (top.container->Kind() == BindingKind::Collection) {
            if (top.nextIndex == top.container->ElementCount()) {
                open.pop_back();
                visitor.EndCollection();
                continue;
            }
            if (top.nextIndex > 0) {
                visitor.BetweenElements();
            }
            next = &top.container->Element(top.nextIndex++);
        } else {
            if (top.nextMember == top.endMember) {
                open.pop_back();
                visitor.EndStructure();
                continue;
            }
            const auto member = *top.nextMember++;
            visitor.MemberName(member.name);
            next = &member.value;
        }
        // Pushing may move the stack, so top is not used past this point.
        VisitScalarOrOpen(*next, visitor, open);
    }
}

}  // namespace Brix
