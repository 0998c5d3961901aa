#include "FuzzFile.h"
#include "MemoryDecode.h"
#include "imageplugins/ImagePlugin.h"
#include "picture/PLData.h"
#include "picture/PLFileData.h"
#include "picture/PLImage.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"

#include <cstring>

IMAGEPLUGIN_EXPORT int read_image(const wchar_t* path, CPLImage* image);
IMAGEPLUGIN_EXPORT int is_supported_image(CPLData* data);
IMAGEPLUGIN_EXPORT int get_image_info(CPLData* data, int* width, int* height, int* bit_count);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The same bytes as a memory block of exactly their size...
    void* block = PL_Malloc(static_cast<int>(size), false);
    if (size)
        std::memcpy(block, data, size);
    {
        CPLData memory(L"memory", CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL));
        is_supported_image(&memory);
    }
    // ...and as a file.
    const std::wstring& path = lumo::fuzz::inputAsFile(data, size);
    {
        CPLData file(L"file", CPLFileData::create(path.c_str()));
        is_supported_image(&file);
        int width, height, bits;
        get_image_info(&file, &width, &height, &bits);
    }
    CPLImage* image = CPLImage::Create();
    image->CreateImage(L"image");
    if (read_image(path.c_str(), image) != 1)
        __builtin_trap();
    if (image->HasObject()) {
        // Touch every byte the image claims to own: reads past the block show.
        int w = 0, h = 0;
        image->GetImageSize(w, h);
        volatile unsigned char sink = 0;
        auto* bits = reinterpret_cast<unsigned char*>(image->GetBitmapBits());
        std::size_t bytes =
            static_cast<std::size_t>(image->GetLineSize()) * static_cast<std::size_t>(h);
        if (bytes <= (1u << 20))
            for (std::size_t i = 0; i < bytes; ++i)
                sink = sink + bits[i];
    }
    lumo::fuzz::checkMemoryDecode(data, size, image, 1u << 20);
    CPLImage::Destroy(image);
    return 0;
}
