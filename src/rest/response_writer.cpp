// response_writer.cpp - response blocks for the host: writing, streaming and releasing.
#include "rest/response_writer.h"

#include <cstring>
#include <string>

#include "host_values/allocation_stats.h"
#include "host_values/host_value.h"
#include "host_values/host_value_conversion.h"

namespace Brix::Rest {

namespace {

// kEmptyText is the text of a response without one; it is never released.
constexpr char kEmptyText[] = "";

// kOutOfMemoryText stands in for an error text that could not be copied; it is not owned.
constexpr char kOutOfMemoryText[] = "Out of memory";

char* CopyText(std::string_view text) noexcept {
    return CountedDuplicate(text.data(), text.size());
}

uint8_t ReadStream(void* context, uint8_t* buffer, uint32_t* size, uint8_t* more) noexcept {
    auto* stream = static_cast<ResponseStream*>(context);
    if (stream == nullptr || size == nullptr || more == nullptr || (buffer == nullptr && *size != 0)) {
        return 0;
    }
    try {
        bool hasMore = *more != 0;
        uint32_t count = *size;
        const bool ok = stream->Read(buffer, count, hasMore);
        *size = ok ? count : 0;
        *more = hasMore ? 1 : 0;
        return ok ? 1 : 0;
    } catch (...) {
        *size = 0;
        return 0;
    }
}

void CloseStream(void* context) noexcept {
    delete static_cast<ResponseStream*>(context);
}

void WriteHeaders(HostResponse& block, const HeaderMap& headers) noexcept {
    if (headers.empty()) {
        return;
    }
    auto** texts = static_cast<const char**>(CountedAllocate(2 * headers.size() * sizeof(const char*)));
    if (texts == nullptr) {
        return;
    }
    uint32_t count = 0;
    for (const auto& [name, value] : headers) {
        char* const nameCopy = CopyText(name);
        char* const valueCopy = CopyText(value);
        if (nameCopy == nullptr || valueCopy == nullptr) {
            CountedRelease(nameCopy);
            CountedRelease(valueCopy);
            continue;
        }
        texts[std::size_t{2} * count] = nameCopy;
        texts[std::size_t{2} * count + 1] = valueCopy;
        ++count;
    }
    block.headers = texts;
    block.headerCount = count;
}

}  // namespace

void WriteError(HostResponse& block, std::string_view message, uint32_t statusCode) noexcept {
    block.release = &ReleaseEndpointResponse;
    if (block.errorOwned != 0) {
        CountedRelease(const_cast<char*>(block.error));  // allocated writable here; const for readers
    }
    char* const copy = CopyText(message);
    block.error = copy != nullptr ? copy : kOutOfMemoryText;
    block.errorOwned = copy != nullptr ? 1 : 0;
    block.status = statusCode;
    if (block.text == nullptr) {
        block.text = kEmptyText;
    }
}

void WriteResponse(HostResponse& block, EndpointResponse& response, const TypeRegistry* registry) noexcept {
    block.release = &ReleaseEndpointResponse;
    if (!response.result.Ok()) {
        WriteError(block, response.result.Message(), response.statusCode);
    } else {
        block.body = ToHostValue(response.result.Value(), registry);
        block.status = response.statusCode;
    }
    block.flag = response.flag;
    block.mode = response.mode >= 1 && response.mode <= 3 ? response.mode : 0;

    char* const text = response.text.empty() ? nullptr : CopyText(response.text);
    block.text = text != nullptr ? text : kEmptyText;

    WriteHeaders(block, response.headers);

    if (response.stream != nullptr) {
        block.expectedSize = response.stream->TotalSize();
        block.read = &ReadStream;
        block.close = &CloseStream;
        block.streamContext = response.stream.release();
    }
}

void ReleaseEndpointResponse(HostResponse* block) noexcept {
    if (block == nullptr) {
        return;
    }
    ReleaseHostValue(block->body);
    if (block->errorOwned != 0) {
        CountedRelease(const_cast<char*>(block->error));
    }
    const char* const text = block->text;
    if (text != nullptr && text[0] != '\0') {
        CountedRelease(const_cast<char*>(text));
    }
    const char** const headers = block->headers;
    if (headers != nullptr) {
        const uint32_t count = block->headerCount;
        for (std::size_t i = 0; i < std::size_t{2} * count; ++i) {
            CountedRelease(const_cast<char*>(headers[i]));
        }
        CountedRelease(static_cast<void*>(headers));
    }
    std::memset(static_cast<void*>(block), 0, sizeof(HostResponse));
}

}  // namespace Brix::Rest
