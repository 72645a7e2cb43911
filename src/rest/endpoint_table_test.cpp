// endpoint_table_test.cpp - the endpoint table describes every endpoint, type and event of a registry.
#include "rest/endpoint_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "binding/maybe_type.h"
#include "binding/type_builder.h"
#include "binding/type_registry.h"
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

// Render writes the endpoints, the types named "Test..." and the events of a table, one a line: each
// endpoint's function entries as "key#index" and what the entry points to, each type's enumerators or
// fields.
std::vector<std::string> Render(const HostEndpointTable& table) {
    std::vector<std::string> lines;
    for (const HostEndpointRecord* record = table.endpoints; record != nullptr; record = record->next) {
        const uint32_t method = record->method;
        lines.push_back(Text(record->name) + " " + std::to_string(method) + " " + Text(record->path));
        const auto* entries = static_cast<const HostFunctionInfo*>(record->functionInfo);
        for (uint32_t i = 0; i < record->functionInfoCount; ++i) {
            const uint32_t key = entries[i].key;
            const void* const data = entries[i].data;
            std::string line = "  " + std::to_string(key) + "#" + std::to_string(entries[i].index) + " ";
            if (key == HOST_FUNCTION_INFO_RETURNS) {
                line += Describe(*static_cast<const HostTypeIdentifier*>(data));
            } else if (key == HOST_FUNCTION_INFO_ARGUMENT) {
                const auto& argument = *static_cast<const HostArgumentInfo*>(data);
                line += Text(argument.name) + " '" + Text(argument.description) + "' " +
                        Describe(argument.type) + " at " + std::to_string(argument.location) +
                        (argument.optional != 0 ? " optional" : "");
            } else {
                line += Text(data);
            }
            lines.push_back(line);
        }
    }
    const auto* types = static_cast<const HostTypeInfo*>(table.types);
    for (uint32_t i = 0; i < table.typeCount; ++i) {
        const HostTypeInfo& type = types[i];
        if (!Text(type.name).starts_with("Test")) {
            continue;
        }
        const bool isEnum = type.kind == HOST_TYPE_INFO_ENUM;
        lines.push_back(Text(type.name) + (isEnum ? " enum" : " struct") + " of " +
                        std::to_string(type.size) + " bytes tagged" +
                        (type.tagCount > 0 ? " " + Text(type.tags[0]) : ""));
        for (uint32_t m = 0; m < type.memberCount; ++m) {
            if (isEnum) {
                const HostEnumeratorInfo& enumerator =
                    static_cast<const HostEnumeratorInfo*>(type.members)[m];
                lines.push_back("  " + Text(enumerator.name) + "=" + std::to_string(enumerator.value) + " " +
                                Text(enumerator.description));
            } else {
                const HostFieldInfo& field = static_cast<const HostFieldInfo*>(type.members)[m];
                lines.push_back("  " + Text(field.name) + " '" + Text(field.description) + "' " +
                                Describe(field.type) + " flags " + std::to_string(field.flags) +
                                (field.optional != 0 ? " optional" : ""));
            }
        }
    }
    const auto* events = static_cast<const HostEventInfo*>(table.events);
    for (uint32_t i = 0; i < table.eventCount; ++i) {
        lines.push_back("event " + Text(events[i].name) + " " + Describe(*events[i].payload));
    }
    return lines;
}

TEST_F(EndpointTableTest, DescribesEveryEndpointTypeAndEventOfTheRegistry) {
    const Brix::Rest::EndpointTable table(registry);
    EXPECT_EQ(Render(table.HostTable()),
              (std::vector<std::string>{
                  "GetTEntries 2 /t/entries",  // one trailing "/" trimmed
                  "  1#0 ",
                  "  2#0 ",
                  "  3#0 ",
                  "  4#0 vector<TestEntry>:15/17",
                  "  6#0 Plugins",
                  "  6#1 Plugin test",
                  "PutTEntriesById 7 /t/entries/{id}",
                  "  1#0 ",
                  "  2#0 ",
                  "  3#0 ",
                  "  4#0 TestEntry<>:17/0",
                  "  5#0 id '' uint32<>:7/0 at 2",
                  "  5#1 dryRun '' bool<>:1/0 at 1 optional",
                  "  5#2 entry 'the new entry' TestEntry<>:17/0 at 5",
                  "  6#0 Plugins",
                  "  6#1 Plugin test",
                  "TestLevel enum of 4 bytes tagged",
                  "  Low=0 ",  // by number; equal numbers by name
                  "  Zero=0 ",
                  "  Mid=1 ",
                  "  High=2 the top",
                  "TestEntry struct of " + std::to_string(sizeof(Entry)) + " bytes tagged test",
                  "  name 'what it is called' string<>:12/0 flags 2",
                  "  levels '' vector<TestLevel>:15/16 flags 0",
                  "  rank '' int32<>:6/0 flags 0 optional",
                  "event OnCallback BindingCallbackEvent<>:17/0",
              }));
}

}  // namespace
