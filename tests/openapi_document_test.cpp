// openapi_document_test.cpp - the OpenAPI description rendered from an endpoint table built here,
// with the argument locations and types the plugin's own table does not use.
#include "openapi_document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "abi/host_endpoint_info.h"

namespace HuxHost {
namespace {

using Brix::BindingProperty;

HostTypeIdentifier Type(const char* name, uint32_t code, const char* element = "", uint32_t elementCode = 0) {
    return HostTypeIdentifier{name, element, code, elementCode};
}

HostArgumentInfo Argument(const char* name, HostTypeIdentifier type, uint32_t location, bool optional) {
    return HostArgumentInfo{name, "", type, location, static_cast<uint8_t>(optional ? 1 : 0)};
}

// ApiTable is a small API: GET /things/{id} (a list of Demo::Thing), PUT /things/{id} (a body), and a
// function without a route. Thing refers to the enum Kind; Unused is registered but referred to by none.
class ApiTable : public testing::Test {
protected:
    void SetUp() override {
        getArguments = {
            Argument("id", Type("int32", HOST_TYPE_INT32), HOST_ARGUMENT_ANYWHERE, false),
            Argument("filter", Type("string", HOST_TYPE_STRING), HOST_ARGUMENT_QUERY, true),
            Argument("X-Trace", Type("string", HOST_TYPE_STRING), HOST_ARGUMENT_HEADER, false),
            Argument("limit", Type("uint8", HOST_TYPE_UINT8), HOST_ARGUMENT_ANYWHERE, true),
        };
        putArgument = Argument("thing", Type("Demo::Thing", HOST_TYPE_STRUCT), HOST_ARGUMENT_BODY, false);
        getResult = Type("vector", HOST_TYPE_VECTOR, "Demo::Thing", HOST_TYPE_STRUCT);
        putResult = Type("", HOST_TYPE_NONE);
        getInfo = {{HOST_FUNCTION_INFO_DESCRIPTION, "Lists things.", 0},
                   {HOST_FUNCTION_INFO_RETURNS, &getResult, 0}};
        for (uint32_t i = 0; i < getArguments.size(); ++i) {
            getInfo.push_back({HOST_FUNCTION_INFO_ARGUMENT, &getArguments[i], i});
        }
        getInfo.push_back({HOST_FUNCTION_INFO_TAG, "things", 0});
        putInfo = {{HOST_FUNCTION_INFO_RETURNS, &putResult, 0},
                   {HOST_FUNCTION_INFO_ARGUMENT, &putArgument, 0}};

        fields = {
            {"id", "", Type("int64", HOST_TYPE_INT64), 0, 0, 0},
            {"kind", "what it is", Type("Kind", HOST_TYPE_ENUM), 8, 0, 0},
            {"labels", "", Type("map", HOST_TYPE_MAP, "string", HOST_TYPE_STRING), 16, 0, 0},
            {"note", "", Type("string", HOST_TYPE_STRING), 24, 0, 1},
            {"hidden", "", Type("bool", HOST_TYPE_BOOL), 32, HOST_FIELD_OMIT_WHEN_DEFAULT, 0},
        };
        enumerators = {{"Small", "", 0}, {"Large", "", 1}};
        types = {
            {"Kind", "Demo", "", 4, HOST_TYPE_INFO_ENUM, enumerators.data(), 2, nullptr, 0, 1},
            {"Demo::Thing", "Demo", "A thing.", 40, HOST_TYPE_INFO_STRUCT, fields.data(), 5, nullptr, 0, 2},
            {"Unused", "Demo", "", 4, HOST_TYPE_INFO_STRUCT, nullptr, 0, nullptr, 0, 3},
        };

        records.resize(3);
        std::memset(static_cast<void*>(records.data()), 0, records.size() * sizeof(HostEndpointRecord));
        SetRecord(records[0], "GetThings", "/things/{id}", 2, getInfo);
        SetRecord(records[1], "PutThing", "/things/{id}", 7, putInfo);
        SetRecord(records[2], "NoRoute", "", 0, putInfo);
        records[0].next = &records[1];
        records[1].next = &records[2];
        table = {records.data(), 3, types.data(), 3, nullptr, 0};
    }

    static void SetRecord(HostEndpointRecord& record, const char* name, const char* path, uint32_t method,
                          const std::vector<HostFunctionInfo>& info) {
        record.name = name;
        record.path = path;
        record.method = method;
        record.functionInfo = info.data();
        record.functionInfoCount = static_cast<uint32_t>(info.size());
    }

    BindingProperty Render() const { return RenderOpenApi(table, {"demo", "1.2.3"}); }

    std::vector<HostArgumentInfo> getArguments;
    HostArgumentInfo putArgument{};
    HostTypeIdentifier getResult{};
    HostTypeIdentifier putResult{};
    std::vector<HostFunctionInfo> getInfo;
    std::vector<HostFunctionInfo> putInfo;
    std::vector<HostFieldInfo> fields;
    std::vector<HostEnumeratorInfo> enumerators;
    std::vector<HostTypeInfo> types;
    std::vector<HostEndpointRecord> records;
    HostEndpointTable table{};
};

TEST_F(ApiTable, EachArgumentIsDescribedWhereTheRequestCarriesIt) {
    const BindingProperty document = Render();
    EXPECT_EQ(document.Member("info").Member("version").AsString(), "1.2.3");
    const BindingProperty& path = document.Member("paths").Member("/things/{id}");
    EXPECT_EQ(document.Member("paths").MemberCount(), 1u);  // the function without a route has no path
    const BindingProperty& get = path.Member("get");
    EXPECT_EQ(get.Member("operationId").AsString(), "GetThings");
    EXPECT_EQ(get.Member("summary").AsString(), "Lists things.");
    EXPECT_EQ(get.Member("tags").Element(0).AsString(), "things");

    const BindingProperty& parameters = get.Member("parameters");
    ASSERT_EQ(parameters.ElementCount(), 4u);
    const auto expectParameter = [&](std::size_t index, std::string_view name, std::string_view in,
                                     bool required) {
        SCOPED_TRACE(name);
        EXPECT_EQ(parameters.Element(index).Member("name").AsString(), name);
        EXPECT_EQ(parameters.Element(index).Member("in").AsString(), in);
        EXPECT_EQ(parameters.Element(index).Member("required").AsBool(), required);
    };
    expectParameter(0, "id", "path", true);  // "anywhere", and the template has {id}
    expectParameter(1, "filter", "query", false);
    expectParameter(2, "x-trace", "header", true);
    expectParameter(3, "limit", "query", false);  // "anywhere", and not in the template
    const BindingProperty& limit = parameters.Element(3).Member("schema");
    EXPECT_EQ(limit.Member("format").AsString(), "uint8");
    EXPECT_EQ(limit.Member("maximum").AsUnsigned(), 255u);

    const BindingProperty& put = path.Member("put");
    EXPECT_TRUE(put.Member("parameters").IsEmpty());
    EXPECT_TRUE(put.Member("requestBody").Member("required").AsBool());
    EXPECT_EQ(put.Member("requestBody")
                  .Member("content")
                  .Member("application/json")
                  .Member("schema")
                  .Member("$ref")
                  .AsString(),
              "#/components/schemas/Demo__Thing");
    // Without a result the answer has no content; every operation describes its failure.
    EXPECT_TRUE(put.Member("responses").Member("200").Member("content").IsEmpty());
    EXPECT_EQ(put.Member("responses")
                  .Member("default")
                  .Member("content")
                  .Member("application/json")
                  .Member("schema")
                  .Member("required")
                  .ElementCount(),
              2u);
}

TEST_F(ApiTable, ResultsReferToTheRegisteredRecordsTheyReach) {
    const BindingProperty document = Render();
    const BindingProperty& result = document.Member("paths")
                                        .Member("/things/{id}")
                                        .Member("get")
                                        .Member("responses")
                                        .Member("200")
                                        .Member("content")
                                        .Member("application/json")
                                        .Member("schema");
    EXPECT_EQ(result.Member("type").AsString(), "array");
    EXPECT_EQ(result.Member("items").Member("$ref").AsString(), "#/components/schemas/Demo__Thing");

    const BindingProperty& schemas = document.Member("components").Member("schemas");
    EXPECT_EQ(schemas.MemberCount(), 2u);  // Thing and the Kind it refers to, not Unused
    const BindingProperty& thing = schemas.Member("Demo__Thing");
    EXPECT_EQ(thing.Member("description").AsString(), "A thing.");
    const BindingProperty& properties = thing.Member("properties");
    EXPECT_EQ(properties.Member("id").Member("format").AsString(), "int64");
    EXPECT_EQ(properties.Member("kind").Member("$ref").AsString(), "#/components/schemas/Kind");
    EXPECT_EQ(properties.Member("kind").Member("description").AsString(), "what it is");
    EXPECT_EQ(properties.Member("labels").Member("additionalProperties").Member("type").AsString(), "string");
    EXPECT_EQ(properties.Member("note").Member("type").Element(1).AsString(), "null");
    // Optional members and members left out at their default are not required.
    const BindingProperty& required = thing.Member("required");
    ASSERT_EQ(required.ElementCount(), 3u);
    EXPECT_EQ(required.Element(0).AsString(), "id");
    EXPECT_EQ(required.Element(1).AsString(), "kind");
    EXPECT_EQ(required.Element(2).AsString(), "labels");

    const BindingProperty& kind = schemas.Member("Kind");
    EXPECT_EQ(kind.Member("type").AsString(), "string");
    ASSERT_EQ(kind.Member("enum").ElementCount(), 2u);
    EXPECT_EQ(kind.Member("enum").Element(1).AsString(), "Large");
}

}  // namespace
}  // namespace HuxHost
