// counting_rapidjson_allocator.h - a RapidJSON base allocator that allocates through the counting wrappers.
#pragma once

#include <rapidjson/allocators.h>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>

#include <cstddef>

#include "host_values/allocation_stats.h"

namespace Brix::Bench {

// CountingRapidJsonAllocator is RapidJSON's CrtAllocator on the plugin's counting wrappers, so that
// the memory of the peer DOM shows in the same counters as the plugin's own.
class CountingRapidJsonAllocator {
public:
    static const bool kNeedFree = true;  // NOLINT(readability-identifier-naming): RapidJSON's name

    void* Malloc(std::size_t size) { return size != 0 ? CountedAllocate(size) : nullptr; }
    void* Realloc(void* block, std::size_t /*oldSize*/, std::size_t newSize) {
        if (newSize == 0) {
            CountedRelease(block);
            return nullptr;
        }
        return CountedResize(block, newSize);
    }
    static void Free(void* block) { CountedRelease(block); }
};

// PeerDocument is the RapidJSON DOM the JSON benchmarks compare with: its nodes and strings come from
// a memory pool on the counting allocator. The parser's own stack stays on CrtAllocator, as the
// plugin's reader keeps it, so neither side counts its parse stack.
using PeerDocument =
    rapidjson::GenericDocument<rapidjson::UTF8<>, rapidjson::MemoryPoolAllocator<CountingRapidJsonAllocator>,
                               rapidjson::CrtAllocator>;

// kPeerParseFlags are the flags the peer DOM parses with: RapidJSON's strict defaults plus the two
// guarantees the plugin's reader gives, strings checked to be valid UTF-8 and numbers read exactly
// (without the full-precision flag a long decimal can land one step off the nearest double).
constexpr unsigned kPeerParseFlags = rapidjson::kParseDefaultFlags | rapidjson::kParseValidateEncodingFlag |
                                     rapidjson::kParseFullPrecisionFlag;

// PeerStringBuffer is the output buffer of the peer writer, on the counting allocator.
using PeerStringBuffer = rapidjson::GenericStringBuffer<rapidjson::UTF8<>, CountingRapidJsonAllocator>;

}  // namespace Brix::Bench
