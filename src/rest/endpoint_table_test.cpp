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

using Brix::MaybeType;

enum class Level : int32_t { High = 2, Low = 0, Mid = 1, Zero = 0 };

struct Entry {
    std::string name;
    std::vector<Level> levels;
    std::optional<int32_t> rank;
};

class TableApi {
public:
    MaybeType<std::vector<Entry>> List() { return std::vector<Entry>{}; }
    MaybeType<Entry> Update(uint32_t id, std::optional<bool> dryRun, const Entry& entry) {
        static_cast<void>(id);
        static_cast<void>(dryRun);
        return entry;
    }
};

// Fields of packed blocks are copied out before they are compared.
std::string Text(const char* text) {
    return text != nullptr ? text : "(null)";
}

struct Identifier {
    std::string type;
    std::string elementType;
    uint32_t code = 0;
    uint32_t elementCode = 0;
    friend bool operator==(const Identifier&, const Identifier&) = default;
};
Identifier Read(const HostTypeIdentifier& identifier) {
    return {Text(identifier.type), Text(identifier.elementType), identifier.code, identifier.elementCode};
}

struct Argument {
    std::string name;
    std::string description;
    Identifier type;
    uint32_t location = 0;
    uint8_t optional = 0;
    friend bool operator==(const Argument&, const Argument&) = default;
};

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
        routes.Get("/t/entries/", &api, &TableApi::List);
        routes.Put("/t/entries/{id}",
                   {"id", Brix::Rest::Query("dryRun"), Brix::Rest::Body("entry", "the new entry")}, &api,
                   &TableApi::Update);
    }

    TableApi api;
    Brix::TypeRegistry registry;
};

TEST_F(EndpointTableTest, OneLinkedRecordPerFunctionWithItsRouteAndEntry) {
    const Brix::Rest::EndpointTable table(registry);
    const HostEndpointTable& host = table.HostTable();
    const uint32_t count = host.endpointCount;
    ASSERT_EQ(count, 2u);
    const HostEndpointRecord* first = host.endpoints;
    const HostEndpointRecord* second = first->next;
    ASSERT_EQ(second, first + 1);
    const HostEndpointRecord* const last = second->next;
    EXPECT_EQ(last, nullptr);

    EXPECT_EQ(Text(first->name), "GetTEntries");
    EXPECT_EQ(Text(first->path), "/t/entries");  // one trailing "/" trimmed
    const uint32_t firstMethod = first->method;
    EXPECT_EQ(firstMethod, 2u);
    EXPECT_EQ(Text(second->name), "PutTEntriesById");
    EXPECT_EQ(Text(second->path), "/t/entries/{id}");
    const uint32_t secondMethod = second->method;
    EXPECT_EQ(secondMethod, 7u);
    const char* const functionName = second->functionName;
    EXPECT_EQ(functionName, nullptr);
    const HostEndpointEntry entry = second->entry;
    EXPECT_EQ(entry, &Brix::Rest::EndpointEntry);
    const void* const context = second->handlerContext;
    EXPECT_EQ(context, Brix::Rest::EndpointOf(*registry.FindFunction("PutTEntriesById")));
    const uint8_t flags = second->functionFlag;
    EXPECT_EQ(flags, 0u);
}

TEST_F(EndpointTableTest, FunctionInfoDescribesResultArgumentsAndTags) {
    const Brix::Rest::EndpointTable table(registry);
    const HostEndpointRecord& update = table.HostTable().endpoints[1];
    const auto* entries = static_cast<const HostFunctionInfo*>(update.functionInfo);
    const uint32_t count = update.functionInfoCount;
    ASSERT_EQ(count, 4u + 3u + 2u);

    std::vector<uint32_t> keys;
    for (uint32_t i = 0; i < count; ++i) {
        keys.push_back(entries[i].key);
    }
    EXPECT_EQ(keys, (std::vector<uint32_t>{
                        HOST_FUNCTION_INFO_NAMESPACE, HOST_FUNCTION_INFO_DESCRIPTION, HOST_FUNCTION_INFO_HELP,
                        HOST_FUNCTION_INFO_RETURNS, HOST_FUNCTION_INFO_ARGUMENT, HOST_FUNCTION_INFO_ARGUMENT,
                        HOST_FUNCTION_INFO_ARGUMENT, HOST_FUNCTION_INFO_TAG, HOST_FUNCTION_INFO_TAG}));
    EXPECT_EQ(Text(static_cast<const char*>(entries[1].data)), "");
    EXPECT_EQ(Read(*static_cast<const HostTypeIdentifier*>(entries[3].data)),
              (Identifier{"TestEntry", "", HOST_TYPE_STRUCT, 0}));

    std::vector<Argument> arguments;
    for (uint32_t i = 4; i < 7; ++i) {
        const auto& info = *static_cast<const HostArgumentInfo*>(entries[i].data);
        const uint32_t index = entries[i].index;
        EXPECT_EQ(index, i - 4);
        arguments.push_back(
            {Text(info.name), Text(info.description), Read(info.type), info.location, info.optional});
    }
    EXPECT_EQ(arguments,
              (std::vector<Argument>{
                  {"id", "", {"uint32", "", HOST_TYPE_UINT32, 0}, HOST_ARGUMENT_PATH, 0},
                  {"dryRun", "", {"bool", "", HOST_TYPE_BOOL, 0}, HOST_ARGUMENT_QUERY, 1},
                  {"entry", "the new entry", {"TestEntry", "", HOST_TYPE_STRUCT, 0}, HOST_ARGUMENT_BODY, 0},
              }));
    EXPECT_EQ(Text(static_cast<const char*>(entries[8].data)), "Plugin test");

    // A vector result names its element.
    const HostEndpointRecord& list = table.HostTable().endpoints[0];
    const auto* listEntries = static_cast<const HostFunctionInfo*>(list.functionInfo);
    EXPECT_EQ(Read(*static_cast<const HostTypeIdentifier*>(listEntries[3].data)),
              (Identifier{"vector", "TestEntry", HOST_TYPE_VECTOR, HOST_TYPE_STRUCT}));
}

TEST_F(EndpointTableTest, TypesListFieldsAndEnumeratorsAndEventsTheirPayload) {
    const Brix::Rest::EndpointTable table(registry);
    const HostEndpointTable& host = table.HostTable();
    const auto* types = static_cast<const HostTypeInfo*>(host.types);
    const uint32_t typeCount = host.typeCount;
    ASSERT_EQ(typeCount, registry.Types().size());
    EXPECT_EQ(Text(types[0].nameSpace), "$builtin");

    const HostTypeInfo& level = types[typeCount - 2];
    EXPECT_EQ(Text(level.name), "TestLevel");
    const uint32_t levelKind = level.kind;
    EXPECT_EQ(levelKind, uint32_t{HOST_TYPE_INFO_ENUM});
    const auto* enumerators = static_cast<const HostEnumeratorInfo*>(level.members);
    std::vector<std::pair<std::string, int32_t>> values;
    const uint32_t enumeratorCount = level.memberCount;
    for (uint32_t i = 0; i < enumeratorCount; ++i) {
        values.emplace_back(Text(enumerators[i].name), enumerators[i].value);
    }
    // By number; equal numbers by name.
    EXPECT_EQ(values, (std::vector<std::pair<std::string, int32_t>>{
                          {"Low", 0}, {"Zero", 0}, {"Mid", 1}, {"High", 2}}));
    EXPECT_EQ(Text(enumerators[3].description), "the top");

    const HostTypeInfo& entry = types[typeCount - 1];
    EXPECT_EQ(Text(entry.name), "TestEntry");
    const uint32_t size = entry.size;
    EXPECT_EQ(size, sizeof(Entry));
    const uint32_t tagCount = entry.tagCount;
    ASSERT_EQ(tagCount, 1u);
    EXPECT_EQ(Text(entry.tags[0]), "test");
    const auto* fields = static_cast<const HostFieldInfo*>(entry.members);
    const uint32_t fieldCount = entry.memberCount;
    ASSERT_EQ(fieldCount, 3u);
    EXPECT_EQ(Text(fields[0].description), "what it is called");
    const uint32_t nameFlags = fields[0].flags;
    EXPECT_EQ(nameFlags, uint32_t{HOST_FIELD_REQUIRED});
    EXPECT_EQ(Read(fields[1].type), (Identifier{"vector", "TestLevel", HOST_TYPE_VECTOR, HOST_TYPE_ENUM}));
    const uint8_t rankOptional = fields[2].optional;
    EXPECT_EQ(rankOptional, 1u);
    EXPECT_EQ(Read(fields[2].type), (Identifier{"int32", "", HOST_TYPE_INT32, 0}));

    const auto* events = static_cast<const HostEventInfo*>(host.events);
    const uint32_t eventCount = host.eventCount;
    ASSERT_EQ(eventCount, registry.Events().size());
    ASSERT_GT(eventCount, 0u);
    EXPECT_EQ(Text(events[0].name), "OnCallback");
    EXPECT_EQ(Read(*events[0].payload).code, uint32_t{HOST_TYPE_STRUCT});
}

}  // namespace
