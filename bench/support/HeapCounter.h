#pragma once

#include <cstddef>

// Heap accounting for the benchmarks' memory figures. Linking HeapCounter.cpp
// replaces the global operator new and delete with counting ones.
namespace lumo::bench {

// Bytes the program holds on the heap now.
size_t heapInUse();
// The most held since the last resetHeapPeak().
size_t heapPeak();
// Starts a new peak from what is held now, and returns that.
size_t resetHeapPeak();

} // namespace lumo::bench
