#pragma once

// A picture decoded from a memory block must be the picture decoded from the
// file with the same bytes.

#include "imageplugins/ImagePlugin.h"
#include "picture/PLImage.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

IMAGEPLUGIN_EXPORT int read_memory_image(CPLMemoryData* data, CPLImage* image);

namespace lumo::fuzz {

inline std::size_t pixelBlockBytes(CPLImage* image) {
    int w = 0, h = 0;
    if (!image->GetImageSize(w, h))
        return 0;
    return static_cast<std::size_t>(image->GetLineSize()) * static_cast<std::size_t>(h);
}

// Traps when decoding `data` from memory differs from `fromFile`. Pictures of
// more than `maxBytes` pixel bytes are left alone (they cost time only).
inline void checkMemoryDecode(const std::uint8_t* data, std::size_t size, CPLImage* fromFile,
                              std::size_t maxBytes) {
    if (pixelBlockBytes(fromFile) > maxBytes)
        return;
    void* block = PL_Malloc(static_cast<int>(size), false);
    if (size)
        std::memcpy(block, data, size);
    CPLMemoryData* memory = CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL);
    CPLImage* image = CPLImage::Create();
    image->CreateImage(L"image");
    if (read_memory_image(memory, image) != (size > 0 ? 1 : 0))
        __builtin_trap();
    const std::size_t bytes = pixelBlockBytes(image);
    if (bytes != pixelBlockBytes(fromFile) ||
        (bytes && std::memcmp(image->GetBitmapBits(), fromFile->GetBitmapBits(), bytes) != 0))
        __builtin_trap();
    CPLImage::Destroy(image);
    CPLMemoryData::destroy(memory);
}

} // namespace lumo::fuzz
