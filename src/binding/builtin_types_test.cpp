// builtin_types_test.cpp - the types every new registry holds.
#include "binding/builtin_types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/type_registry.h"

namespace {

using namespace Brix;

TEST(BuiltinTypes, AFreshRegistryHoldsTheHelpAndAsyncTypesAndTheCallbackEvent) {
    const TypeRegistry registry;
    for (const char* name : {"BindingHelpFormat", "BindingFullFunctionHelp", "BindingAsyncState"}) {
        ASSERT_NE(registry.FindByName(name), nullptr) << name;
        EXPECT_EQ(registry.FindByName(name)->nameSpace, "$builtin") << name;
    }
    // The numbers of the async states are what the host sees.
    const TypeRecord* state = registry.FindByName("BindingAsyncState");
    std::vector<std::string> numbered(state->enumerators.size());
    for (const auto& [name, enumerator] : state->enumerators) {
        numbered.at(static_cast<std::size_t>(enumerator.number)) = name;
    }
    EXPECT_EQ(numbered, (std::vector<std::string>{"None", "Running", "Cancelling", "Cancelled", "Succeeded",
                                                  "Failed"}));
    // A field of a built-in type refers to the registered record of its element type.
    EXPECT_EQ(registry.FindByName("BindingFullFunctionHelp")->FindField("arguments")->type.type,
              registry.FindByName("BindingFullArgumentHelp"));
    ASSERT_NE(registry.FindEvent("OnCallback"), nullptr);
    EXPECT_EQ(registry.FindEvent("OnCallback")->nameSpace, "$builtin");
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
    EXPECT_EQ(registry.FindFunction("GetThing"), registry.Functions()[0]);
    EXPECT_EQ(registry.FindFunction("Missing"), nullptr);
}

}  // namespace
