// counting_operators.cpp - the plugin library's global operator new and delete, routed through the
// counting wrappers so that every C++ allocation of the plugin shows in its memory statistics.
//
// This file is linked into the shared plugin library only, never into hux_core: the unit tests and
// any other program that links hux_core keep the standard operators.
//
// Scope. The replacements are ordinary global definitions, but they never leave the plugin library:
// the library is built with hidden visibility, and its linker version script exports the entry
// function alone and makes every other symbol local. The linker therefore binds the plugin's own
// calls of operator new and delete to these definitions, while the host, the C++ runtime library and
// every other module keep resolving theirs elsewhere. The host's allocations are never counted or
// redirected, and the plugin never frees a host block through these operators.
//
// One seam remains: code compiled into the C++ runtime library itself (not inlined into the plugin)
// uses the runtime's operators. A block such code allocates and the plugin frees (the text returned by
// std::ostringstream::str, for one) is counted as a release without an allocation; both sides sit on
// malloc, so memory stays sound, but the sanitizer build reports the mismatch. The library uses no
// such facility today; `nm -D --undefined-only` on the plugin library lists what it takes from the
// runtime.
//
// Every form is replaced: plain and array, nothrow, sized, aligned and their combinations. The aligned
// forms allocate through the platform's aligned heap functions and are counted by usable size like the
// others; they release through CountedReleaseAligned, the others through CountedRelease (on Windows the
// two kinds of block come from different function families and must not be mixed).
#include <cstddef>
#include <new>

#include "host_values/allocation_stats.h"

namespace {

// Allocate follows the standard contract of operator new: retry through the installed new-handler
// until the allocation succeeds; with no handler, throw std::bad_alloc, or answer null when the caller
// asked for the nothrow form.
void* Allocate(std::size_t size, std::size_t alignment, bool mayThrow) {
    for (;;) {
        void* block =
            alignment == 0 ? Brix::CountedAllocate(size) : Brix::CountedAllocateAligned(size, alignment);
        if (block != nullptr) {
            return block;
        }
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) {
            if (mayThrow) {
                throw std::bad_alloc();
            }
            return nullptr;
        }
        if (mayThrow) {
            handler();
        } else {
            try {
                handler();
            } catch (...) {
                return nullptr;
            }
        }
    }
}

std::size_t AlignmentOf(std::align_val_t alignment) {
    return static_cast<std::size_t>(alignment);
}

}  // namespace

// ---- allocation ---------------------------------------------------------------------------------

void* operator new(std::size_t size) {
    return Allocate(size, 0, true);
}
void* operator new[](std::size_t size) {
    return Allocate(size, 0, true);
}

void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    return Allocate(size, 0, false);
}
void* operator new[](std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    return Allocate(size, 0, false);
}

void* operator new(std::size_t size, std::align_val_t alignment) {
    return Allocate(size, AlignmentOf(alignment), true);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return Allocate(size, AlignmentOf(alignment), true);
}

void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t& /*tag*/) noexcept {
    return Allocate(size, AlignmentOf(alignment), false);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t& /*tag*/) noexcept {
    return Allocate(size, AlignmentOf(alignment), false);
}

// ---- release ------------------------------------------------------------------------------------

void operator delete(void* block) noexcept {
    Brix::CountedRelease(block);
}
void operator delete[](void* block) noexcept {
    Brix::CountedRelease(block);
}

void operator delete(void* block, const std::nothrow_t& /*tag*/) noexcept {
    Brix::CountedRelease(block);
}
void operator delete[](void* block, const std::nothrow_t& /*tag*/) noexcept {
    Brix::CountedRelease(block);
}

void operator delete(void* block, std::size_t /*size*/) noexcept {
    Brix::CountedRelease(block);
}
void operator delete[](void* block, std::size_t /*size*/) noexcept {
    Brix::CountedRelease(block);
}

void operator delete(void* block, std::align_val_t alignment) noexcept {
    Brix::CountedReleaseAligned(block, AlignmentOf(alignment));
}
void operator delete[](void* block, std::align_val_t alignment) noexcept {
    Brix::CountedReleaseAligned(block, AlignmentOf(alignment));
}

void operator delete(void* block, std::align_val_t alignment, const std::nothrow_t& /*tag*/) noexcept {
    Brix::CountedReleaseAligned(block, AlignmentOf(alignment));
}
void operator delete[](void* block, std::align_val_t alignment, const std::nothrow_t& /*tag*/) noexcept {
    Brix::CountedReleaseAligned(block, AlignmentOf(alignment));
}

void operator delete(void* block, std::size_t /*size*/, std::align_val_t alignment) noexcept {
    Brix::CountedReleaseAligned(block, AlignmentOf(alignment));
}
void operator delete[](void* block, std::size_t /*size*/, std::align_val_t alignment) noexcept {
    Brix::CountedReleaseAligned(block, AlignmentOf(alignment));
}
