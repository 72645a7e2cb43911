// context_arena.h - the variable-size storage of one allocation context, freed with the context.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace Brix {

// ContextArena hands out the variable-size blocks of a tree: element arrays, member tables, member
// values, blob bytes and string texts. Blocks are carved from chunks taken from the general heap,
// first small and doubling up to kMaxChunkSize, so a small tree costs one small chunk and a large
// document a handful; a freed block goes on the free list of its size class and is handed out again
// for the next block of that class. Every chunk goes back to the heap when the arena dies, whatever
// is still in use: the arena belongs to a context, which dies after the last of its values.
//
// Size classes: multiples of 8 bytes up to 256, then powers of two up to kMaxBlockSize. A larger
// block comes from the heap on its own, linked into the arena's list of large blocks, and goes back
// on Free or when the arena dies. Free takes the size the block was allocated with.
//
// An arena is not thread-safe: it belongs to one allocation context, used by one thread at a time.
class ContextArena {
public:
    static constexpr std::size_t kAlignment = 8;
    static constexpr std::size_t kMaxBlockSize = 16384;
    static constexpr std::size_t kFirstChunkSize = 1024;
    static constexpr std::size_t kMaxChunkSize = 65536;

    ContextArena() = default;
    ~ContextArena();
    ContextArena(const ContextArena&) = delete;
    ContextArena& operator=(const ContextArena&) = delete;

    // Allocate returns an uninitialised block of at least size bytes (size > 0), aligned to 8;
    // throws std::bad_alloc when the heap has no chunk to give.
    void* Allocate(std::size_t size);
    // Free takes back a block of this arena allocated with the same size.
    void Free(void* block, std::size_t size) noexcept;
    // Capacity is the usable size of a block allocated with size: callers that grow arrays use it.
    static std::size_t Capacity(std::size_t size) noexcept;

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    struct Chunk;
    struct LargeBlock;

    static constexpr std::size_t kSmallClasses = 256 / 8;
    static constexpr std::size_t kClassCount = kSmallClasses + 6;  // 512, 1024, ..., 16384

    static std::size_t ClassOf(std::size_t size) noexcept;
    void* Carve(std::size_t blockSize);

    std::array<FreeBlock*, kClassCount> freeLists{};
    Chunk* chunks = nullptr;
    LargeBlock* largeBlocks = nullptr;
    std::byte* cursor = nullptr;
    std::byte* limit = nullptr;
    std::size_t nextChunkSize = kFirstChunkSize;
};

}  // namespace Brix
