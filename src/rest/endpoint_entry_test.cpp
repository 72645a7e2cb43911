// endpoint_entry_test.cpp - requests delivered through endpoint records of a test registry reach typed
// handlers with their arguments, and answer through response blocks that release everything.
#include "rest/endpoint_entry.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "binding/failure.h"
#include "binding/maybe_type.h"
#include "binding/type_builder.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "host_values/allocation_stats.h"
#include "host_values/host_value.h"
#include "host_values/host_value_conversion.h"
#include "logging/message_formatter.h"
#include "rest/endpoint_table.h"
#include "rest/routes.h"

namespace {

using Brix::BindingProperty;
using Brix::Failure;
using Brix::MaybeType;
using Brix::MethodCode;
using Brix::Rest::EndpointResponse;
using Brix::Rest::RequestContext;

enum class Color : int32_t { Red = 1, Green = 2 };

struct Item {
    int32_t id = 0;
    std::string name;
    Color color = Color::Red;
};

struct Unregistered {
    int32_t x = 0;
};

// CountingStream answers size bytes of 'z' in pieces of at most the reader's capacity.
class CountingStream final : public Brix::Rest::ResponseStream {
public:
    CountingStream(uint32_t bytes, bool* destroyedFlag)
        : left(bytes), total(bytes), destroyed(destroyedFlag) {}
    ~CountingStream() override { *destroyed = true; }
    CountingStream(const CountingStream&) = delete;
    CountingStream& operator=(const CountingStream&) = delete;

    bool Read(uint8_t* buffer, uint32_t& size, bool& more) override {
        const uint32_t count = std::min(size, left);
        std::memset(buffer, 'z', count);
        left -= count;
        size = count;
        more = left > 0;
        return true;
    }
    uint32_t TotalSize() const override { return total; }

private:
    uint32_t left;
    uint32_t total;
    bool* destroyed;
};

// TestApi is a small plugin API: a handful of handlers that exercise the binding rules.
class TestApi {
public:
    TestApi() {
        Brix::Register<Color>(registry, "TestColor").Value("Red", Color::Red).Value("Green", Color::Green);
        Brix::Register<Item>(registry, "TestItem")
            .Field("id", &Item::id)
            .Field("name", &Item::name)
            .Field("color", &Item::color);

        using Brix::Rest::Anywhere;
        using Brix::Rest::Body;
        using Brix::Rest::Header;
        using Brix::Rest::Query;
        Brix::Rest::Routes routes(registry, {"Plugins", "Plugin test"});
        routes.Get("/t/items/{id}", {"id"}, this, &TestApi::GetItem);
        routes.Post("/t/echo/",
                    {Query("flag"), Anywhere("count"), Header("token"), Anywhere("filter"), Anywhere("ids"),
                     Body("payload")},
                    this, &TestApi::Echo);
        routes.Put("/t/named", {Anywhere("first"), Anywhere("second")}, this, &TestApi::Named);
        routes.Get("/t/answer", this, &TestApi::Answer);
        routes.Add(MethodCode::Get, "/t/throws",
                   []() -> MaybeType<void> { throw std::runtime_error("boom"); });
        routes.Add(MethodCode::Get, "/t/unregistered",
                   []() -> MaybeType<Unregistered> { return Unregistered{}; });
        table.emplace(registry);
    }

    MaybeType<Item> GetItem(int32_t id) {
        if (id == 404) {
            return Brix::NotFound(Brix::FormatMessage("No item with id %1", id));
        }
        return Item{id, "item", Color::Green};
    }

    // Parameters by value on purpose: binding fills value parameters as well as references.
    // NOLINTBEGIN(performance-unnecessary-value-param)
    MaybeType<BindingProperty> Echo(bool flag, std::optional<int32_t> count, std::string token,
                                    const BindingProperty& filter, std::vector<int32_t> ids,
                                    BindingProperty payload) {
        // NOLINTEND(performance-unnecessary-value-param)
        BindingProperty echo;
        echo.MemberForWriting("flag").SetBool(flag);
        if (count.has_value()) {
            echo.MemberForWriting("count").SetSigned(*count);
        }
        echo.MemberForWriting("token").SetString(token);
        echo.MemberForWriting("filter") = filter;
        for (int32_t id : ids) {
            echo.MemberForWriting("ids").AppendElement().SetSigned(id);
        }
        echo.MemberForWriting("payload") = std::move(payload);
        return echo;
    }

    MaybeType<std::string> Named(const std::string& first, int32_t second) {
        return Brix::FormatMessage("%1/%2", first, second);
    }

    MaybeType<void> Answer(EndpointResponse& response, const RequestContext& context) {
        seenUrl = std::string(context.url);
        seenMethod = context.method;
        seenHostHandle = context.hostHandle;
        seenHeaders = *context.headers;
        response.flag = 7;
        response.mode = modeToAnswer;
        response.statusCode = 202;
        response.text = "accepted";
        response.headers = {{"x-a", "1"}, {"x-b", "2"}};
        if (streamBytes > 0) {
            response.stream = std::make_unique<CountingStream>(streamBytes, &streamDestroyed);
        }
        if (failAnswer) {
            return Failure("Nothing to answer");
        }
        return {};
    }

    const HostEndpointRecord& Record(std::string_view name) const {
        for (const HostEndpointRecord* record = table->HostTable().endpoints; record != nullptr;
             record = record->next) {
            if (std::string_view(record->name) == name) {
                return *record;
            }
        }
        throw std::logic_error("no endpoint " + std::string(name));
    }

    Brix::TypeRegistry registry;
    std::optional<Brix::Rest::EndpointTable> table;
    std::string seenUrl;
    MethodCode seenMethod = MethodCode::None;
    uint32_t seenHostHandle = 0;
    Brix::Rest::HeaderMap seenHeaders;
    uint32_t modeToAnswer = 2;
    uint32_t streamBytes = 0;
    bool streamDestroyed = false;
    bool failAnswer = false;
};

using Headers = std::vector<std::pair<std::string, std::string>>;
using Params = std::vector<std::pair<std::optional<std::string>, HostValue>>;  // name (none: positional)

// Request describes a request as a host delivers it.
struct Request {
    uint32_t method = 2;
    std::string url;
    Headers headers;
    Params params;
    std::optional<std::string> body;
    std::optional<std::string> contentType;
    uint32_t hostHandle = 0;
};

// Answer is what the response block said, read before it was released.
struct Answer {
    std::string error;
    uint8_t errorOwned = 0;
    uint32_t status = 0;
    BindingProperty body;
    uint8_t flag = 0;
    uint32_t mode = 0;
    std::string text;
    Headers headers;
    uint32_t expectedSize = 0;
    std::string streamed;
    bool streamClosed = false;
};

Answer Call(const HostEndpointRecord& record, const Request& request) {
    std::vector<const char*> headerTexts;
    for (const auto& [name, value] : request.headers) {
        headerTexts.push_back(name.c_str());
        headerTexts.push_back(value.c_str());
    }
    std::vector<HostParam> params(request.params.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
        params[i].name = request.params[i].first.has_value() ? request.params[i].first->c_str() : nullptr;
        params[i].value = request.params[i].second;
    }
    HostRequest block;
    std::memset(&block, 0, sizeof(block));
    block.method = request.method;
    block.url = request.url.c_str();
    block.params = params.empty() ? nullptr : params.data();
    block.paramCount = static_cast<uint32_t>(params.size());
    block.endpoint = &record;
    block.headers = headerTexts.empty() ? nullptr : headerTexts.data();
    block.headerCount = static_cast<uint32_t>(request.headers.size());
    block.contentType = request.contentType.has_value() ? request.contentType->c_str() : nullptr;
    block.body = request.body.has_value() ? request.body->data() : nullptr;
    block.bodyLength = request.body.has_value() ? static_cast<uint32_t>(request.body->size()) : 0;
    block.hostHandle = request.hostHandle;

    HostResponse response;
    std::memset(&response, 0xA5, sizeof(response));  // the entry must not rely on a zeroed block
    const HostEndpointEntry entry = record.entry;
    entry(&response, &block);

    const auto text = [](const char* value, const char* none) {
        return std::string(value != nullptr ? value : none);
    };
    Answer answer;
    answer.error = text(response.error, "");
    answer.errorOwned = response.errorOwned;
    answer.status = response.status;
    answer.body = Brix::FromHostValue(response.body, "<result>").Value();
    answer.flag = response.flag;
    answer.mode = response.mode;
    answer.text = text(response.text, "(null)");
    for (uint32_t i = 0; i < response.headerCount; ++i) {
        answer.headers.emplace_back(response.headers[2 * size_t{i}], response.headers[2 * size_t{i} + 1]);
    }
    answer.expectedSize = response.expectedSize;
    const HostStreamRead read = response.read;
    const HostStreamClose close = response.close;
    void* const streamContext = response.streamContext;
    if (read != nullptr) {
        uint8_t more = 1;
        while (more != 0) {
            std::array<uint8_t, 4096> buffer{};
            uint32_t size = buffer.size();
            if (read(streamContext, buffer.data(), &size, &more) == 0) {
                break;
            }
            answer.streamed.append(reinterpret_cast<const char*>(buffer.data()), size);
        }
    }
    if (close != nullptr) {
        close(streamContext);
        answer.streamClosed = true;
    }
    const HostResponseRelease release = response.release;
    EXPECT_NE(release, nullptr);
    if (release != nullptr) {
        release(&response);
        HostResponse zero;
        std::memset(&zero, 0, sizeof(zero));
        // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): packed, no padding
        EXPECT_EQ(std::memcmp(&zero, &response, sizeof(zero)), 0) << "the released block is zeroed";
    }
    return answer;
}

HostValue TextCell(const char* text) {
    HostValue cell = Brix::EmptyHostValue();
    cell.kind = HOST_VALUE_TEXT;
    cell.payload.ref.data = const_cast<char*>(text);
    return cell;
}
HostValue SignedCell(int64_t number) {
    HostValue cell = Brix::EmptyHostValue();
    cell.kind = HOST_VALUE_SIGNED;
    cell.payload.i = number;
    return cell;
}

// EndpointEntry checks after every test that the released answers gave back every block they held.
class EndpointEntry : public ::testing::Test {
protected:
    void SetUp() override { blocksBefore = Brix::ReadMemoryStats().BlocksInUse(); }
    void TearDown() override { EXPECT_EQ(Brix::ReadMemoryStats().BlocksInUse(), blocksBefore); }

    // Serve answers the status of the answer to request, its error and its body as JSON, each when
    // there is one. The handlers it calls set no text, so the block carries an empty one.
    std::string Serve(std::string_view endpoint, const Request& request) {
        const Answer answer = Call(api.Record(endpoint), request);
        EXPECT_EQ(answer.errorOwned, answer.error.empty() ? 0u : 1u);
        EXPECT_EQ(answer.text, "");
        return std::to_string(answer.status) + (answer.error.empty() ? "" : " " + answer.error) +
               (answer.body.IsEmpty() ? "" : " " + Brix::Json::Write(answer.body));
    }
    // Echo posts to the echo endpoint, which answers its arguments.
    std::string Echo(std::string url, Headers headers, std::optional<std::string> body = std::nullopt,
                     std::optional<std::string> contentType = std::nullopt) {
        return Serve("PostTEcho", {.method = 6,
                                   .url = std::move(url),
                                   .headers = std::move(headers),
                                   .body = std::move(body),
                                   .contentType = std::move(contentType)});
    }
    std::string Named(Params params) {
        return Serve("PutTNamed", {.method = 7, .url = "/t/named", .params = std::move(params)});
    }

    TestApi api;
    uint64_t blocksBefore = 0;
};

TEST_F(EndpointEntry, PathArgumentsConvertToTheHandlersTypesAndTheResultOrFailureIsTheAnswer) {
    // A handler that sets no status answers 0; enums travel by name.
    EXPECT_EQ(Serve("GetTItemsById", {.url = "/t/items/0x2A?"}),
              R"(0 {"color":"Green","id":42,"name":"item"})");
    EXPECT_EQ(Serve("GetTItemsById", {.url = "/t/items/404"}), "404 No item with id 404");
    // An argument that does not convert answers the converter's message, before the handler runs.
    EXPECT_EQ(Serve("GetTItemsById", {.url = "/t/items/12abc"}),
              "0 Value 12abc for 'id' of type int32 is in an incorrect format");
    // Nothing escapes, and a result that does not convert is the plugin's fault.
    EXPECT_EQ(Serve("GetTThrows", {.url = "/t/throws"}), "500 Internal server error");
    EXPECT_EQ(Serve("GetTUnregistered", {.url = "/t/unregistered"}),
              "500 Couldn't convert native value because it's an unregistered structure.");
}

TEST_F(EndpointEntry, ARequestThatMissesTheRouteIsAnInvalidFunction) {
    for (const Request& request :
         {Request{.url = "/t/items/1/2"}, Request{.method = 6, .url = "/t/items/1"},
          Request{.method = 0, .url = "/t/items/1"}, Request{.method = 99, .url = "/t/items/1"}}) {
        EXPECT_EQ(Serve("GetTItemsById", request), "404 Invalid function") << request.url;
    }
    // The path was registered without its trailing slash; the request's path is not trimmed.
    EXPECT_EQ(Echo("/t/echo/", {}), "404 Invalid function");

    // A request without an endpoint record.
    HostRequest request;
    std::memset(&request, 0, sizeof(request));
    HostResponse response;
    Brix::Rest::EndpointEntry(&response, &request);
    const char* const error = response.error;
    EXPECT_STREQ(error, "Invalid function");
    response.release(&response);
}

TEST_F(EndpointEntry, BindsHeadersPathQueryAndBodyInOrder) {
    // The later header pair wins; the query binds after the headers and replaces a header's value.
    EXPECT_EQ(Echo("/t/echo?flag&filter.a.1=x&ids.1=20&ids.0=10&count=4",
                   {{"token", "first"}, {"count", "3"}, {"token", "second"}, {"ignored", "x"}},
                   R"({"p": [1, 2]})", "application/vnd.api+json; charset=utf-8"),
              R"(0 {"count":4,"filter":{"a":[null,"x"]},"flag":true,"ids":[10,20],"payload":{"p":[1,2]},)"
              R"("token":"second"})");
    const Headers token = {{"token", "t"}};
    EXPECT_EQ(Echo("/t/echo?flag", token, std::string("\x81\xA1p\x01", 4), "APPLICATION/X-MSGPACK"),
              R"(0 {"filter":null,"flag":true,"payload":{"p":1},"token":"t"})");
    EXPECT_EQ(Echo("/t/echo?flag", token, "p: [a, b]", "application/x-yaml"),
              R"(0 {"filter":null,"flag":true,"payload":{"p":["a","b"]},"token":"t"})");

    // Optional and container arguments may be left out; a plain bool or string may not.
    EXPECT_EQ(Echo("/t/echo?flag", token), R"(0 {"filter":null,"flag":true,"payload":null,"token":"t"})");
    EXPECT_EQ(Echo("/t/echo", token), "0 A value for 'flag' is required.");
    EXPECT_EQ(Echo("/t/echo?flag", {}), "0 A value for 'token' is required.");
}

TEST_F(EndpointEntry, BindingFailuresEndTheRequestWithTheirMessage) {
    const Headers token = {{"token", "t"}};
    EXPECT_EQ(Echo("/t/echo?flag&token=x", token),
              "0 Argument 'token' for 'PostTEcho' was specified in an invalid location.");
    // The first failure wins: headers bind before the query.
    EXPECT_EQ(Echo("/t/echo?nope=1", {{"token", "t"}, {"count", ""}}),
              "0 Expected value for argument 'count'.");
    EXPECT_EQ(Echo("/t/echo?flag", token, "{}", "text/plain"), "0 Unsupported body content type");
    EXPECT_EQ(Echo("/t/echo?flag", token, "{}"), "0 Unsupported body content type");
    EXPECT_EQ(Echo("/t/echo?flag", token, std::string("\x81\xA1p\x01\x00", 5), "application/x-msgpack"),
              "0 Extra MessgePack data found in body");
    EXPECT_EQ(Echo("/t/echo?flag", token, "{", "application/json"),
              "0 Couldn't deserialize JSON value for parameter 'payload' of 'PostTEcho': " +
                  std::string(Brix::Json::Read("{").Message()));
}

TEST_F(EndpointEntry, HostParametersBindByNameOrPositionWithoutDecoding) {
    EXPECT_EQ(Named({{std::nullopt, TextCell("[1]")}, {"second", SignedCell(5)}}), R"(0 "[1]/5")");
    EXPECT_EQ(Named({{"first", TextCell("a")}, {std::nullopt, SignedCell(6)}}), R"(0 "a/6")");
    EXPECT_EQ(
        Named({{std::nullopt, TextCell("a")}, {std::nullopt, SignedCell(1)}, {std::nullopt, SignedCell(2)}}),
        "0 Unknown argument '2' for 'PutTNamed'.");
    EXPECT_EQ(Named({{"third", SignedCell(1)}}), "0 Unknown argument 'third' for 'PutTNamed'.");
    HostValue unknownKind = Brix::EmptyHostValue();
    unknownKind.kind = 11;
    EXPECT_EQ(
        Named({{"first", unknownKind}}),
        "0 Couldn't assign value to 'first' of type object because the input is of an incompatible type ''.");
}

TEST_F(EndpointEntry, TheHandlersResponseReachesTheBlockAndItsContextDescribesTheRequest) {
    const Answer answer = Call(api.Record("GetTAnswer"),
                               {.url = "/t/answer", .headers = {{"Accept", "a/b"}}, .hostHandle = 99});
    EXPECT_EQ(answer.error, "");
    EXPECT_EQ(answer.status, 202u);
    EXPECT_EQ(answer.flag, 7u);
    EXPECT_EQ(answer.mode, 2u);
    EXPECT_EQ(answer.text, "accepted");
    EXPECT_EQ(answer.headers, (Headers{{"x-a", "1"}, {"x-b", "2"}}));

    EXPECT_EQ(api.seenUrl, "/t/answer");
    EXPECT_EQ(api.seenMethod, MethodCode::Get);
    EXPECT_EQ(api.seenHostHandle, 99u);
    EXPECT_EQ(api.seenHeaders, (Brix::Rest::HeaderMap{{"Accept", "a/b"}}));

    // A mode outside 1 to 3 is written as 0; a failure without status keeps the handler's fields.
    api.modeToAnswer = 4;
    api.failAnswer = true;
    const Answer failed = Call(api.Record("GetTAnswer"), {.url = "/t/answer"});
    EXPECT_EQ(failed.mode, 0u);
    EXPECT_EQ(failed.error, "Nothing to answer");
    EXPECT_EQ(failed.status, 202u);
    EXPECT_EQ(failed.text, "accepted");
}

TEST_F(EndpointEntry, StreamsAreReadThroughThePluginsFunctionsAndDestroyedByClose) {
    api.streamBytes = 4096 * 2 + 10;
    const Answer answer = Call(api.Record("GetTAnswer"), {.url = "/t/answer"});
    EXPECT_EQ(answer.expectedSize, 4096u * 2 + 10);
    EXPECT_EQ(answer.streamed, std::string(4096 * 2 + 10, 'z'));
    EXPECT_TRUE(answer.streamClosed);
    EXPECT_TRUE(api.streamDestroyed);
}

}  // namespace
