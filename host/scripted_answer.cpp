// scripted_answer.cpp - response blocks filled by the development host, their streams and release.
#include "scripted_answer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "codecs/json_reader.h"
#include "host_values/host_value.h"
#include "host_values/host_value_conversion.h"

namespace HuxHost {

namespace {

// StreamState is the context of one streamed body.
struct StreamState {
    StreamScript script;
    std::size_t position = 0;
    int reads = 0;
    ResponseLedger* ledger = nullptr;
};

// FilledBlock is what the host keeps for one response it filled, until the plugin releases it.
struct FilledBlock {
    ResponseLedger* ledger = nullptr;
    std::unique_ptr<StreamState> stream;
};

std::mutex filledMutex;
std::map<const HostResponse*, FilledBlock> filledBlocks;
std::size_t unknownReleases = 0;

uint8_t ReadStream(void* context, uint8_t* buffer, uint32_t* size, uint8_t* more) {
    auto& state = *static_cast<StreamState*>(context);
    const int call = state.reads++;
    const uint32_t capacity = *size;
    if (call == state.script.failAtRead) {
        *size = 0;
        state.ledger->streamReads.push_back({capacity, 0, *more});
        return 0;
    }
    const std::size_t left = state.script.text.size() - state.position;
    std::size_t piece = left;
    if (static_cast<std::size_t>(call) < state.script.chunks.size()) {
        piece = std::min<std::size_t>(piece, state.script.chunks[static_cast<std::size_t>(call)]);
    }
    piece = std::min<std::size_t>(piece, capacity);
    std::memcpy(buffer, state.script.text.data() + state.position, piece);
    state.position += piece;
    *size = static_cast<uint32_t>(piece);
    if (call == state.script.overstateAtRead) {
        *size = capacity + 1;
    }
    *more = state.position < state.script.text.size() ? 1 : 0;
    state.ledger->streamReads.push_back({capacity, *size, *more});
    return 1;
}

void CloseStream(void* context) {
    ++static_cast<StreamState*>(context)->ledger->closedStreams;
}

void ReleaseResponse(HostResponse* response) {
    FilledBlock block;
    {
        const std::lock_guard lock(filledMutex);
        auto found = filledBlocks.find(response);
        if (found == filledBlocks.end()) {
            ++unknownReleases;
            return;
        }
        block = std::move(found->second);
        filledBlocks.erase(found);
    }
    Brix::ReleaseHostValue(response->body);
    if (response->errorOwned != 0) {
        std::free(const_cast<char*>(response->error));
    }
    ++block.ledger->released;
    std::memset(static_cast<void*>(response), 0, sizeof(HostResponse));
}

}  // namespace

Brix::BindingProperty ParseJson(std::string_view text) {
    Brix::ConversionStatus parsed = Brix::Json::Read(text);
    if (!parsed.Ok()) {
        throw std::invalid_argument("bad JSON in a host script: " + std::string(parsed.Message()));
    }
    return std::move(parsed.Value());
}

ScriptedAnswer ScriptedAnswer::Value(Brix::BindingProperty value) {
    ScriptedAnswer answer;
    answer.body = std::move(value);
    return answer;
}

ScriptedAnswer ScriptedAnswer::Json(std::string_view text) {
    return Value(ParseJson(text));
}

ScriptedAnswer ScriptedAnswer::Error(uint32_t status, std::string text) {
    ScriptedAnswer answer;
    answer.status = status;
    answer.error = std::move(text);
    return answer;
}

ScriptedAnswer ScriptedAnswer::Stream(StreamScript script) {
    ScriptedAnswer answer;
    answer.stream = std::move(script);
    return answer;
}

void FillResponse(HostResponse& response, const ScriptedAnswer& answer, ResponseLedger& ledger) {
    FilledBlock block;
    block.ledger = &ledger;
    if (answer.bodyKind != 0) {
        response.body = Brix::EmptyHostValue();
        response.body.kind = answer.bodyKind;
    } else {
        response.body = Brix::ToHostValue(answer.body);
    }
    response.status = answer.status;
    if (answer.error.has_value()) {
        response.error = strdup(answer.error->c_str());
        response.errorOwned = 1;
    }
    if (answer.stream.has_value()) {
        block.stream = std::make_unique<StreamState>();
        block.stream->script = *answer.stream;
        block.stream->ledger = &ledger;
        response.read = &ReadStream;
        response.close = &CloseStream;
        response.streamContext = block.stream.get();
        response.expectedSize = answer.stream->expectedSize;
    }
    response.release = &ReleaseResponse;
    ++ledger.filled;
    const std::lock_guard lock(filledMutex);
    filledBlocks[&response] = std::move(block);
}

void ForgetResponses(const ResponseLedger& ledger) {
    const std::lock_guard lock(filledMutex);
    std::erase_if(filledBlocks, [&](const auto& entry) { return entry.second.ledger == &ledger; });
}

std::size_t UnknownReleases() noexcept {
    const std::lock_guard lock(filledMutex);
    return unknownReleases;
}

}  // namespace HuxHost
