// heap_block_counter.h - a count of every block taken from the C heap, by the project or by a peer.
#pragma once

#include <cstdint>

namespace Brix::Bench {

// HeapBlocksTaken is the number of blocks taken from the C heap so far by anything in the process:
// malloc, calloc, realloc and the aligned forms. The plugin's counting operator new sits on malloc, so
// its blocks are in it; so are the blocks of C libraries (libyaml, zlib, the MessagePack zone) that
// never pass through operator new. A realloc counts as one block, as the plugin's counters count it.
// The count needs the benchmark executable to stand in for the C library's malloc family, which it
// does with glibc only; elsewhere HeapBlocksCounted is false and the count stays 0.
uint64_t HeapBlocksTaken() noexcept;
bool HeapBlocksCounted() noexcept;

}  // namespace Brix::Bench
