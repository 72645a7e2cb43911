// endpoint_table_test.cpp - the endpoint table describes every endpoint, type and event of a registry.
#include "rest/endpoint_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "binding/maybe_type.h"
#include "binding/type_builder.h"
#include "binding/type_registry.h"
#include "rest/endpoint_entry.h"
#include "rest/routes.h"

namespace {

enum class Level : int32_t { High = 2, Low = 0, Mid = 1, Zero = 0 };

struct Entry {
    std::string name;
    std::vector<Level> levels;
    std::optional<int32_t> rank;
};

Brix::MaybeType<std::vector<Entry>> List() {
    return std::vector<Entry>{};
}
Brix::MaybeType<Entry> Update(uint32_t /*id*/, std::optional<bool> /*dryRun*/, const Entry& entry) {
    return entry;
}

// Fields of packed blocks are copied out before they are compared.
std::string Text(const void* text) {
    return text != nullptr ? static_cast<const char*>(text) : "(null)";
}

// Describe renders a type identifier as "type<element>:code/elementCode".
std::string Describe(const HostTypeIdentifier& identifier) {
    const uint32_t code = identifier.code;
    const uint32_t elementCode = identifier.elementCode;
    return Text(identifier.type) + "<" + Text(identifier.elementType) + ">:" + std::to_string(code) + "/" +
           std::to_string(elementCode);
}

class EndpointTableTest : public ::testing::Test {
protected:
    EndpointTableTest() {
        Brix::Register<Level>(registry, "TestLevel")
            .Value("High", Level::High, "the top")
            .Value("Low", Level::Low)
            .Value("Mid", Level::Mid)
            .Value("Zero", Level::Zero);
        Brix::Register<Entry>(registry, "TestEntry")
            .Field("name", &Entry::name, "what it is called", Brix::kFieldRequired)
            .Field("levels", &Entry::levels)
            .Field("rank", &Entry::rank)
            .Tag("test");
        Brix::Rest::Routes routes(registry, {"Plugins", "Plugin test"});
        routes.Add(Brix::MethodCode::Get, "/t/entries/", &List);
        routes.Add(Brix::MethodCode::Put, "/t/entries/{id}",
                   {"id", Brix::Rest::Query("dryRun"), Brix::Rest::Body("entry", "the new entry")}, &Update);
    }

    Brix::TypeRegistry registry;
};

TEST_F(EndpointTableTest, EndpointRecordsAreLinkedAndDescribeRouteArgumentsResultAndTags) {
    const Brix::Rest::EndpointTable table(registry);
    const HostEndpointTable& host = table.HostTable();
    const uint32_t count = host.endpointCount;
    ASSERT_EQ(count, 2u);
    const HostEndpointRecord* const list = host.endpoints;
    const HostEndpointRecord* const update = list->next;
    ASSERT_NE(update, nullptr);
    const HostEndpointRecord* const last = update->next;
    EXPECT_EQ(last, nullptr);

    EXPECT_EQ(Text(list->name), "GetTEntries");
    EXPECT_EQ(Text(list->path), "/t/entries");  // one trailing "/" trimmed
    EXPECT_EQ(Text(update->name), "PutTEntriesById");
    const uint32_t method = update->method;
    const HostEndpointEntry entry = update->entry;
    const void* const context = update->handlerContext;
    const char* const functionName = update->functionName;
    EXPECT_EQ(method, 7u);
    EXPECT_EQ(entry, &Brix::Rest::EndpointEntry);
    EXPECT_EQ(context, Brix::Rest::EndpointOf(*registry.FindFunction("PutTEntriesById")));
    EXPECT_EQ(functionName, nullptr);

    // The entries, rendered one a line: key, index, and what the entry points to.
    const auto* entries = static_cast<const HostFunctionInfo*>(update->functionInfo);
    const uint32_t entryCount = update->functionInfoCount;
    std::vector<std::string> lines;
    for (uint32_t i = 0; i < entryCount; ++i) {
        const uint32_t key = entries[i].key;
        const uint32_t index = entries[i].index;
        const void* const data = entries[i].data;
        std::string line = std::to_string(key) + "#" + std::to_string(index) + " ";
        if (key == HOST_FUNCTION_INFO_RETURNS) {
            line += Describe(*static_cast<const HostTypeIdentifier*>(data));
        } else if (key == HOST_FUNCTION_INFO_ARGUMENT) {
            const auto& argument = *static_cast<const HostArgumentInfo*>(data);
            const uint32_t location = argument.location;
            const uint32_t optional = argument.optional;
            line += Text(argument.name) + " '" + Text(argument.description) + "' " + Describe(argument.type) +
                    " at " + std::to_string(location) + (optional != 0 ? " optional" : "");
        } else {
            line += Text(data);
        }
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "1#0 ",
                         "2#0 ",
                         "3#0 ",
                         "4#0 TestEntry<>:17/0",
                         "5#0 id '' uint32<>:7/0 at 2",
                         "5#1 dryRun '' bool<>:1/0 at 1 optional",
                         "5#2 entry 'the new entry' TestEntry<>:17/0 at 5",
                         "6#0 Plugins",
                         "6#1 Plugin test",
                     }));
    const auto* listEntries = static_cast<const HostFunctionInfo*>(list->functionInfo);
    EXPECT_EQ(Describe(*static_cast<const HostTypeIdentifier*>(listEntries[3].data)),
              "vector<TestEntry>:15/17");
}

TEST_F(EndpointTableTest, TypesListFieldsAndEnumeratorsAndEventsTheirPayload) {
    const Brix::Rest::EndpointTable table(registry);
    const HostEndpointTable& host = table.HostTable();
    const auto* types = static_cast<const HostTypeInfo*>(host.types);
    const uint32_t typeCount = host.typeCount;
    ASSERT_EQ(typeCount, registry.Types().size());

    const HostTypeInfo& level = types[typeCount - 2];
    const uint32_t levelKind = level.kind;
    EXPECT_EQ(Text(level.name), "TestLevel");
    EXPECT_EQ(levelKind, uint32_t{HOST_TYPE_INFO_ENUM});
    std::vector<std::string> values;
    const auto* enumerators = static_cast<const HostEnumeratorInfo*>(level.members);
    for (uint32_t i = 0; i < level.memberCount; ++i) {
        const int32_t value = enumerators[i].value;
        values.push_back(Text(enumerators[i].name) + "=" + std::to_string(value) + " " +
                         Text(enumerators[i].description));
    }
    // By number; equal numbers by name.
    EXPECT_EQ(values, (std::vector<std::string>{"Low=0 ", "Zero=0 ", "Mid=1 ", "High=2 the top"}));

    const HostTypeInfo& entry = types[typeCount - 1];
    const uint32_t size = entry.size;
    const uint32_t tagCount = entry.tagCount;
    EXPECT_EQ(Text(entry.name), "TestEntry");
    EXPECT_EQ(size, sizeof(Entry));
    ASSERT_EQ(tagCount, 1u);
    EXPECT_EQ(Text(entry.tags[0]), "test");
    std::vector<std::string> fields;
    const auto* fieldInfos = static_cast<const HostFieldInfo*>(entry.members);
    for (uint32_t i = 0; i < entry.memberCount; ++i) {
        const uint32_t flags = fieldInfos[i].flags;
        const uint32_t optional = fieldInfos[i].optional;
        fields.push_back(Text(fieldInfos[i].name) + " '" + Text(fieldInfos[i].description) + "' " +
                         Describe(fieldInfos[i].type) + " flags " + std::to_string(flags) +
                         (optional != 0 ? " optional" : ""));
    }
    EXPECT_EQ(fields, (std::vector<std::string>{"name 'what it is called' string<>:12/0 flags 2",
                                                "levels '' vector<TestLevel>:15/16 flags 0",
                                                "rank '' int32<>:6/0 flags 0 optional"}));

    const auto* events = static_cast<const HostEventInfo*>(host.events);
    const uint32_t eventCount = host.eventCount;
    ASSERT_EQ(eventCount, registry.Events().size());
    ASSERT_EQ(eventCount, 1u);
    EXPECT_EQ(Text(events[0].name), "OnCallback");
    EXPECT_EQ(Describe(*events[0].payload), "BindingCallbackEvent<>:17/0");
}

}  // namespace
