// openapi_document_test.cpp - the OpenAPI description rendered from an endpoint table built here,
// with the argument locations and types the plugin's own table does not use.
#include "openapi_document.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "abi/host_endpoint_info.h"
#include "codecs/json_writer.h"

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
        getInfo = {{HOST_FUNCTION_INFO_RETURNS, &getResult, 0}};
        for (uint32_t i = 0; i < getArguments.size(); ++i) {
            getInfo.push_back({HOST_FUNCTION_INFO_ARGUMENT, &getArguments[i], i});
        }
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

    BindingProperty Render() const {
        return RenderOpenApi(table, {"demo", "1.2.3", "http://127.0.0.1:8765"});
    }

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

TEST_F(ApiTable, EachArgumentIsDescribedWhereTheRequestCarriesItAndOnlyReachedRecordsAreListed) {
    const BindingProperty document = Render();
    // The host's own routes and the plugin's one path: the function without a route has none.
    std::string paths;
    for (const auto& [name, item] : document.Member("paths").Members()) {
        for (const auto& [method, operation] : item.Members()) {
            paths += std::string(method) + " " + std::string(name) + ": " +
                     std::string(operation.Member("summary").AsString()) + "; ";
        }
    }
    EXPECT_EQ(
        paths,
        "get /: List the routes served here, or show the live page; get /events: Stream the plugin's events; "
        "get /openapi.json: Describe the API; delete /resources/{uri}: Deliver a resource delete; "
        "put /resources/{uri}: Deliver a resource update; get /things/{id}: GET /things/{id}; "
        "put /things/{id}: PUT /things/{id}; ");
    EXPECT_EQ(Brix::Json::Write(document.Member("servers")) + Brix::Json::Write(document.Member("security")),
              R"([{"url":"http://127.0.0.1:8765"}][])");
    const BindingProperty& path = document.Member("paths").Member("/things/{id}");
    // "id" may come from anywhere and the template has {id}: a path parameter; "limit" may come from
    // anywhere and is not in the template: a query parameter.
    EXPECT_EQ(Brix::Json::Write(path.Member("get").Member("parameters")),
              R"([{"in":"path","name":"id","required":true,"schema":{"format":"int32","type":"integer"}},)"
              R"({"in":"query","name":"filter","required":false,"schema":{"type":"string"}},)"
              R"({"in":"header","name":"x-trace","required":true,"schema":{"type":"string"}},)"
              R"({"in":"query","name":"limit","required":false,)"
              R"("schema":{"format":"uint8","maximum":255,"minimum":0,"type":"integer"}}])");

    const BindingProperty& put = path.Member("put");
    EXPECT_TRUE(put.Member("parameters").IsEmpty());
    EXPECT_EQ(Brix::Json::Write(put.Member("requestBody")),
              R"({"content":{"application/json":{"schema":{"$ref":"#/components/schemas/Demo__Thing"}}},)"
              R"("required":true})");
    // Without a result the answer has no content.
    EXPECT_EQ(Brix::Json::Write(put.Member("responses").Member("200")),
              R"({"description":"the plugin's answer"})");
    // Every failure answers the same object.
    std::string failures;
    for (const auto& [code, answer] : put.Member("responses").Members()) {
        failures += std::string(code) + " " + Brix::Json::Write(answer.Member("content")) + ";";
    }
    const std::string failure =
        R"({"application/json":{"schema":{"$ref":"#/components/schemas/HostFailure"}}};)";
    EXPECT_EQ(failures,
              R"(200 ;400 )" + failure + "404 " + failure + "500 " + failure + "default " + failure);

    // Thing and the Kind it refers to, not Unused; the failure object. Optional members and members left out
    // at their default are not required.
    EXPECT_EQ(Brix::Json::Write(document.Member("components").Member("schemas")),
              R"({"Demo__Thing":{"description":"A thing.","properties":{"hidden":{"type":"boolean"},)"
              R"("id":{"format":"int64","type":"integer"},)"
              R"("kind":{"$ref":"#/components/schemas/Kind","description":"what it is"},)"
              R"("labels":{"additionalProperties":{"type":"string"},"type":"object"},)"
              R"("note":{"type":["string","null"]}},"required":["id","kind","labels"],"type":"object"},)"
              R"("HostFailure":{"properties":{"message":{"description":"the plugin's error message",)"
              R"("type":"string"},"status":{"description":"the HTTP status the plugin answered",)"
              R"("type":"integer"}},"required":["status","message"],"type":"object"},)"
              R"("Kind":{"enum":["Small","Large"],"type":"string"}})");
}

}  // namespace
}  // namespace HuxHost
