// heap_block_counter.cpp - the malloc family of the benchmark executable: glibc's, counted.
//
// With glibc, a program that defines malloc and its siblings replaces them for every module of the
// process, the shared libraries included: the dynamic linker binds their calls to the executable's
// definitions. These definitions add one to a counter and hand the call to glibc's own allocator
// through its __libc_ entry points, so every block still comes from, and goes back to, the one glibc
// heap (free, malloc_usable_size and the rest stay glibc's). The cost is one relaxed atomic addition
// per block, paid alike by the project's code and its peers.
#include "bench/heap_block_counter.h"

#include <atomic>

#if defined(__GLIBC__)
#include <stdlib.h>  // NOLINT(modernize-deprecated-headers): the C declarations these definitions match
#include <cerrno>
#include <cstddef>
#endif

namespace {

std::atomic<uint64_t> blocksTaken{0};

}  // namespace

namespace Brix::Bench {

uint64_t HeapBlocksTaken() noexcept {
    return blocksTaken.load(std::memory_order_relaxed);
}

bool HeapBlocksCounted() noexcept {
#if defined(__GLIBC__)
    return true;
#else
    return false;
#endif
}

}  // namespace Brix::Bench

#if defined(__GLIBC__)

// The C library's names, not the project's.
// NOLINTBEGIN(readability-identifier-naming)

// glibc's allocator under its own names (exported by every glibc since 2.2.5).
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {

void CountBlock() noexcept {
    blocksTaken.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

#define HUX_BENCH_EXPORTED __attribute__((visibility("default")))

extern "C" HUX_BENCH_EXPORTED void* malloc(std::size_t size) noexcept {
    CountBlock();
    return __libc_malloc(size);
}

extern "C" HUX_BENCH_EXPORTED void* calloc(std::size_t count, std::size_t size) noexcept {
    CountBlock();
    return __libc_calloc(count, size);
}

extern "C" HUX_BENCH_EXPORTED void* realloc(void* block, std::size_t size) noexcept {
    CountBlock();
    return __libc_realloc(block, size);
}

extern "C" HUX_BENCH_EXPORTED void* memalign(std::size_t alignment, std::size_t size) noexcept {
    CountBlock();
    return __libc_memalign(alignment, size);
}

extern "C" HUX_BENCH_EXPORTED void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    CountBlock();
    return __libc_memalign(alignment, size);
}

extern "C" HUX_BENCH_EXPORTED int posix_memalign(void** block, std::size_t alignment,
                                                 std::size_t size) noexcept {
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    CountBlock();
    void* taken = __libc_memalign(alignment, size);
    if (taken == nullptr) {
        return ENOMEM;
    }
    *block = taken;
    return 0;
}

// NOLINTEND(readability-identifier-naming)

#endif
