// Replaced global operators new and delete that keep count of the live heap bytes.
#include "bench/HeapCounter.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> g_liveBytes{0};
std::atomic<size_t> g_peakBytes{0};

// Stored just before every block handed out, so delete finds the size and the malloc'd address
// whatever form of delete is called (unsized deletes do not pass the size).
struct BlockHeader {
    void* base;
    size_t size;
};

void RaisePeak(size_t live) {
    size_t peak = g_peakBytes.load(std::memory_order_relaxed);
    while (live > peak &&
           !g_peakBytes.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
    }
}

void* Allocate(size_t size, size_t alignment) noexcept {
    if (alignment < alignof(std::max_align_t)) {
        alignment = alignof(std::max_align_t);
    }
    // Room for the header and for moving the block up to the alignment.
    const size_t total = size + sizeof(BlockHeader) + alignment;
    if (total < size) {
        return nullptr;
    }
    void* base = std::malloc(total);
    if (base == nullptr) {
        return nullptr;
    }
    const auto first = reinterpret_cast<uintptr_t>(base) + sizeof(BlockHeader);
    const uintptr_t aligned = (first + alignment - 1) & ~(uintptr_t{alignment} - 1);
    auto* header = reinterpret_cast<BlockHeader*>(aligned) - 1;
    header->base = base;
    header->size = size;
    RaisePeak(g_liveBytes.fetch_add(size, std::memory_order_relaxed) + size);
    return reinterpret_cast<void*>(aligned);
}

void Release(void* block) noexcept {
    if (block == nullptr) {
        return;
    }
    const BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    g_liveBytes.fetch_sub(header->size, std::memory_order_relaxed);
    std::free(header->base);
}

void* AllocateOrThrow(size_t size, size_t alignment) {
    // operator new(0) must still return a distinct block.
    void* block = Allocate(size == 0 ? 1 : size, alignment);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

}  // namespace

namespace heap_counter {

size_t LiveBytes() {
    return g_liveBytes.load(std::memory_order_relaxed);
}
size_t PeakBytes() {
    return g_peakBytes.load(std::memory_order_relaxed);
}
void ResetPeak() {
    g_peakBytes.store(LiveBytes(), std::memory_order_relaxed);
}

}  // namespace heap_counter

size_t HeapWatch::PeakExtra() const {
    const size_t peak = heap_counter::PeakBytes();
    return peak > m_nStart ? peak - m_nStart : 0;
}

size_t HeapWatch::RetainedExtra() const {
    const size_t live = heap_counter::LiveBytes();
    return live > m_nStart ? live - m_nStart : 0;
}

// ---- the replaced operators: plain, array, nothrow, aligned, sized ----

void* operator new(size_t size) {
    return AllocateOrThrow(size, 0);
}
void* operator new[](size_t size) {
    return AllocateOrThrow(size, 0);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size == 0 ? 1 : size, 0);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size == 0 ? 1 : size, 0);
}
void* operator new(size_t size, std::align_val_t alignment) {
    return AllocateOrThrow(size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment) {
    return AllocateOrThrow(size, static_cast<size_t>(alignment));
}
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return Allocate(size == 0 ? 1 : size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return Allocate(size == 0 ? 1 : size, static_cast<size_t>(alignment));
}

void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete[](void* block) noexcept {
    Release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    Release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    Release(block);
}
void operator delete(void* block, size_t) noexcept {
    Release(block);
}
void operator delete[](void* block, size_t) noexcept {
    Release(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    Release(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    Release(block);
}
void operator delete(void* block, size_t, std::align_val_t) noexcept {
    Release(block);
}
void operator delete[](void* block, size_t, std::align_val_t) noexcept {
    Release(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    Release(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    Release(block);
}
