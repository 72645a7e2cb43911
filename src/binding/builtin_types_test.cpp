// builtin_types_test.cpp - the types every new registry holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/builtin_types.h"
#include "binding/type_registry.h"

namespace {

using namespace Brix;

std::vector<std::string> FieldNames(const TypeRecord& record) {
    std::vector<std::string> names;
    for (const FieldRecord& field : record.fields) {
        names.push_back(field.name);
    }
    return names;
}

TEST(BuiltinTypes, AFreshRegistryHoldsTheHelpAndAsyncTypes) {
    const TypeRegistry registry;
    for (const char* name : {"BindingHelpFormat", "BindingFullApiHelp", "BindingAsyncState"}) {
        const TypeRecord* record = registry.FindByName(name);
        ASSERT_NE(record, nullptr) << name;
        EXPECT_EQ(record->nameSpace, "$builtin") << name;
    }
    EXPECT_EQ(registry.FindByName("BindingHelpFormat")->tags, std::vector<std::string>{"help"});
    EXPECT_EQ(registry.FindByName("BindingAsyncState")->tags, std::vector<std::string>{"async"});
    EXPECT_TRUE(registry.FindByName("BindingGenericEvent")->tags.empty());
    EXPECT_EQ(registry.FindByName("BindingFullTypeHelp")->description, "Describes a struct or enum type.");

    const TypeRecord* state = registry.FindByName("BindingAsyncState");
    ASSERT_EQ(state->enumerators.size(), 6u);
    EXPECT_EQ(state->FindEnumerator("None")->number, 0);
    EXPECT_EQ(state->FindEnumerator("Failed")->number, 5);
    EXPECT_EQ(state->FindEnumerator("Cancelling")->description,
              "A request to cancel the operation has been made");

    EXPECT_EQ(FieldNames(*registry.FindByName("BindingFullFunctionHelp")),
              (std::vector<std::string>{"name", "nameSpace", "arguments", "returns", "description", "help",
                                        "threadSafe", "async", "tags"}));
    const TypeRecord* function = registry.FindByName("BindingFullFunctionHelp");
    EXPECT_EQ(function->fields[2].type.type, registry.FindByName("BindingFullArgumentHelp"));
    EXPECT_EQ(registry.FindByName("BindingCallbackEvent")->fields[1].description, "Callback parameters");

    const EventRecord* callback = registry.FindEvent("OnCallback");
    ASSERT_NE(callback, nullptr);
    EXPECT_EQ(callback->description, "Fired when a callback is invoked.");
    EXPECT_EQ(callback->nameSpace, "$builtin");
}

TEST(TypeRegistry, FunctionsAndEventsKeepTheirFirstRegistration) {
    TypeRegistry registry;
    FunctionRecord first;
    first.name = "GetThing";
    first.description = "first";
    registry.RegisterFunction(first);
    FunctionRecord second = first;
    second.description = "second";
    EXPECT_EQ(registry.RegisterFunction(second).description, "first");
    FunctionRecord other;
    other.name = "PutThing";
    registry.RegisterFunction(other);
    ASSERT_EQ(registry.Functions().size(), 2u);
    EXPECT_EQ(registry.Functions()[1]->name, "PutThing");
    EXPECT_EQ(registry.FindFunction("Missing"), nullptr);
}

}  // namespace
