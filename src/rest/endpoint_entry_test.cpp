// endpoint_entry_test.cpp - what the C entry does that the plugin's routes never ask of it: malformed
// request blocks, host parameters, response fields and streams, and blocks that release everything.
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
#include "codecs/json_writer.h"
#include "host_values/allocation_stats.h"
#include "host_values/host_value.h"
#include "host_values/host_value_conversion.h"
#include "logging/message_formatter.h"
#include "rest/endpoint_table.h"
#include "rest/routes.h"

namespace {

using Brix::MaybeType;
using Brix::MethodCode;
using Brix::Rest::EndpointResponse;
using Brix::Rest::RequestContext;
using Headers = std::vector<std::pair<std::string, std::string>>;

// CountingStream answers its bytes of 'z' in pieces of at most the reader's capacity.
class CountingStream final : public Brix::Rest::ResponseStream {
public:
    CountingStream(uint32_t bytes, bool* destroyedFlag)
        : left(bytes), total(bytes), destroyed(destroyedFlag) {}
    ~CountingStream() override { *destroyed = true; }
    CountingStream(const CountingStream&) = delete;
    CountingStream& operator=(const CountingStream&) = delete;
    bool Read(uint8_t* buffer, uint32_t& size, bool& more) override {
        size = std::min(size, left);
        std::memset(buffer, 'z', size);
        left -= size;
        more = left > 0;
        return true;
    }
    uint32_t TotalSize() const override { return total; }

private:
    uint32_t left;
    uint32_t total;
    bool* destroyed;
};

// TestApi registers a few handlers on a registry of its own and keeps what the last request told them.
struct TestApi {
    TestApi() {
        Brix::Rest::Routes routes(registry, {"Plugins", "Plugin test"});
        routes.Get("/t/items/{id}", {"id"}, this, &TestApi::GetItem);
        routes.Put("/t/named", {Brix::Rest::Anywhere("first"), Brix::Rest::Anywhere("second")}, this,
                   &TestApi::Named);
        routes.Get("/t/answer", this, &TestApi::Answer);
        routes.Add(MethodCode::Get, "/t/throws",
                   []() -> MaybeType<void> { throw std::runtime_error("boom"); });
        table.emplace(registry);
    }
    MaybeType<int32_t> GetItem(int32_t id) {
        if (id == 404) {
            return Brix::NotFound(Brix::FormatMessage("No item with id %1", id));
        }
        return id;
    }
    MaybeType<std::string> Named(const std::string& first, int32_t second) {
        return Brix::FormatMessage("%1/%2", first, second);
    }
    MaybeType<void> Answer(EndpointResponse& response, const RequestContext& context) {
        seen = std::string(context.url) + " " + std::to_string(static_cast<int>(context.method)) + " " +
               std::to_string(context.hostHandle);
        for (const auto& [name, value] : *context.headers) {
            seen.append(" ").append(name).append("=").append(value);
        }
        response.flag = 7;
        response.mode = mode;
        response.statusCode = 202;
        response.text = "accepted";
        response.headers = {{"x-a", "1"}, {"x-b", "2"}};
        if (streamBytes > 0) {
            response.stream = std::make_unique<CountingStream>(streamBytes, &streamDestroyed);
        }
        if (fail) {
            return Brix::Failure("Nothing to answer");
        }
        return {};
    }
    const HostEndpointRecord* Record(std::string_view name) const {
        const HostEndpointRecord* record = table->HostTable().endpoints;
        while (record != nullptr && std::string_view(record->name) != name) {
            record = record->next;
        }
        return record;
    }

    Brix::TypeRegistry registry;
    std::optional<Brix::Rest::EndpointTable> table;
    std::string seen;
    uint32_t mode = 2;
    uint32_t streamBytes = 0;
    bool streamDestroyed = false;
    bool fail = false;
};

HostValue Cell(uint32_t kind, const char* text, int64_t number = 0) {
    HostValue cell = Brix::EmptyHostValue();
    cell.kind = kind;
    cell.payload.ref.data = const_cast<char*>(text);
    if (kind == HOST_VALUE_SIGNED) {
        cell.payload.i = number;
    }
    return cell;
}

// Call delivers a request through the entry and answers the response block as one line: status, owned
// error, mode, flag, text, headers and streamed size. It releases the block and checks that it is zeroed.
std::string Call(const HostEndpointRecord* record, uint32_t method, const std::string& url,
                 std::vector<HostParam> params = {}, const Headers& headers = {}, uint32_t hostHandle = 0) {
    std::vector<const char*> headerTexts;
    for (const auto& [name, value] : headers) {
        headerTexts.insert(headerTexts.end(), {name.c_str(), value.c_str()});
    }
    HostRequest block;
    std::memset(&block, 0, sizeof(block));
    block.method = method;
    block.url = url.c_str();
    block.params = params.empty() ? nullptr : params.data();
    block.paramCount = static_cast<uint32_t>(params.size());
    block.endpoint = record;
    block.headers = headerTexts.empty() ? nullptr : headerTexts.data();
    block.headerCount = static_cast<uint32_t>(headers.size());
    block.hostHandle = hostHandle;
    HostResponse response;
    std::memset(&response, 0xA5, sizeof(response));  // the entry must not rely on a zeroed block
    Brix::Rest::EndpointEntry(&response, &block);

    const uint32_t status = response.status;
    std::string line = std::to_string(status);
    if (response.error != nullptr) {
        line += " " + std::string(response.error) + (response.errorOwned != 0 ? " (owned)" : " (not owned)");
    }
    const Brix::BindingProperty body = Brix::FromHostValue(response.body, "<result>").Value();
    line += body.IsEmpty() ? "" : " " + Brix::Json::Write(body);
    line += " mode " + std::to_string(response.mode) + " flag " + std::to_string(response.flag);
    line += response.text != nullptr ? " '" + std::string(response.text) + "'" : " (null)";
    for (uint32_t i = 0; i < response.headerCount; ++i) {
        line +=
            " " + std::string(response.headers[2 * size_t{i}]) + ":" + response.headers[2 * size_t{i} + 1];
    }
    if (response.read != nullptr) {
        std::size_t streamed = 0;
        for (uint8_t more = 1; more != 0;) {
            std::array<uint8_t, 4096> buffer{};
            uint32_t size = buffer.size();
            EXPECT_EQ(response.read(response.streamContext, buffer.data(), &size, &more), 1);
            streamed += size;
        }
        const uint32_t expectedSize = response.expectedSize;
        line += " streamed " + std::to_string(streamed) + "/" + std::to_string(expectedSize);
        response.close(response.streamContext);
    }
    response.release(&response);
    HostResponse zero;
    std::memset(&zero, 0, sizeof(zero));
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): packed, no padding
    EXPECT_EQ(std::memcmp(&zero, &response, sizeof(zero)), 0) << "the released block is zeroed";
    return line;
}

// EndpointEntry checks after every test that the released answers gave back every block they held.
class EndpointEntry : public ::testing::Test {
protected:
    void SetUp() override { blocksBefore = Brix::ReadMemoryStats().BlocksInUse(); }
    void TearDown() override { EXPECT_EQ(Brix::ReadMemoryStats().BlocksInUse(), blocksBefore); }

    TestApi api;
    uint64_t blocksBefore = 0;
};

TEST_F(EndpointEntry, MalformedRequestsMissingRoutesAndThrowingHandlersAnswerWithoutEscaping) {
    const HostEndpointRecord* item = api.Record("GetTItemsById");
    const std::string invalid = "404 Invalid function (owned) mode 0 flag 0 ''";
    EXPECT_EQ(Call(item, 2, "/t/items/1/2"), invalid);
    for (uint32_t method : {0u, 6u, 99u}) {
        EXPECT_EQ(Call(item, method, "/t/items/1"), invalid) << method;
    }
    EXPECT_EQ(Call(nullptr, 2, "/t/items/1"), invalid);  // no endpoint record
    EXPECT_EQ(Call(item, 2, "/t/items/404"), "404 No item with id 404 (owned) mode 0 flag 0 ''");
    EXPECT_EQ(Call(item, 2, "/t/items/0x2A?"), "0 42 mode 0 flag 0 ''");
    EXPECT_EQ(Call(api.Record("GetTThrows"), 2, "/t/throws"),
              "500 Internal server error (owned) mode 0 flag 0 ''");
}

TEST_F(EndpointEntry, HostParametersBindByNameOrPositionWithoutDecoding) {
    const auto named = [this](std::vector<HostParam> params) {
        return Call(api.Record("PutTNamed"), 7, "/t/named", std::move(params));
    };
    EXPECT_EQ(
        named({{nullptr, Cell(HOST_VALUE_TEXT, "[1]")}, {"second", Cell(HOST_VALUE_SIGNED, nullptr, 5)}}),
        R"(0 "[1]/5" mode 0 flag 0 '')");
    EXPECT_EQ(named({{nullptr, Cell(HOST_VALUE_TEXT, "a")},
                     {nullptr, Cell(HOST_VALUE_SIGNED, nullptr, 1)},
                     {nullptr, Cell(HOST_VALUE_SIGNED, nullptr, 2)}}),
              "0 Unknown argument '2' for 'PutTNamed'. (owned) mode 0 flag 0 ''");
    EXPECT_EQ(named({{"first", Cell(11, nullptr)}}),
              "0 Couldn't assign value to 'first' of type object because the input is of an incompatible "
              "type ''. (owned) mode 0 flag 0 ''");
}

TEST_F(EndpointEntry, TheHandlersResponseAndStreamReachTheBlockAndItsContextDescribesTheRequest) {
    const HostEndpointRecord* answer = api.Record("GetTAnswer");
    api.streamBytes = 4096 * 2 + 10;
    EXPECT_EQ(Call(answer, 2, "/t/answer", {}, {{"Accept", "a/b"}}, 99),
              "202 mode 2 flag 7 'accepted' x-a:1 x-b:2 streamed 8202/8202");
    EXPECT_EQ(api.seen, "/t/answer 2 99 Accept=a/b");
    EXPECT_TRUE(api.streamDestroyed);
    // A mode outside 1 to 3 is written as 0; a failure without status keeps the handler's fields.
    api.mode = 4;
    api.fail = true;
    api.streamBytes = 0;
    EXPECT_EQ(Call(answer, 2, "/t/answer"),
              "202 Nothing to answer (owned) mode 0 flag 7 'accepted' x-a:1 x-b:2");
}

}  // namespace
