#pragma once

#include "PictureExport.h"

// Kernel blocks: every block that travels with an image or a data object is
// allocated and freed here, so one module always owns the heap it came from.
//
// A kernel block carries its requested size as a 32-bit word just in front of
// the address the caller receives; CPLMemoryData reads it there.

// A block of `size` bytes, zero-filled when `zero` is true. Null when the heap
// is exhausted, when `size` is negative or when size plus the size word would
// not fit in 32 bits.
PICTURE_API void* PL_Malloc(int size, bool zero);

// Frees a block from PL_Malloc; null is ignored.
PICTURE_API void PL_Free(void* block);

// The size word of a kernel block (what PL_Malloc was asked for).
PICTURE_API unsigned PL_BlockSize(const void* block);
