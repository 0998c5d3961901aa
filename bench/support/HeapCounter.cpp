#include "HeapCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> g_heapInUse{0};
std::atomic<size_t> g_heapPeak{0};

// Each block carries its size in a header as wide as the strictest alignment.
constexpr size_t HEADER = 16;

void* countedAlloc(size_t size) {
    void* block = std::malloc(size + HEADER);
    if (!block)
        throw std::bad_alloc();
    *static_cast<size_t*>(block) = size;
    const size_t now = g_heapInUse += size;
    size_t peak = g_heapPeak.load();
    while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(block) + HEADER;
}

void countedFree(void* pointer) {
    if (!pointer)
        return;
    void* block = static_cast<char*>(pointer) - HEADER;
    g_heapInUse -= *static_cast<size_t*>(block);
    std::free(block);
}

} // namespace

namespace lumo::bench {

size_t heapInUse() {
    return g_heapInUse.load();
}

size_t heapPeak() {
    return g_heapPeak.load();
}

size_t resetHeapPeak() {
    const size_t now = g_heapInUse.load();
    g_heapPeak = now;
    return now;
}

} // namespace lumo::bench

void* operator new(size_t size) {
    return countedAlloc(size);
}
void* operator new[](size_t size) {
    return countedAlloc(size);
}
void operator delete(void* p) noexcept {
    countedFree(p);
}
void operator delete[](void* p) noexcept {
    countedFree(p);
}
void operator delete(void* p, size_t) noexcept {
    countedFree(p);
}
void operator delete[](void* p, size_t) noexcept {
    countedFree(p);
}
