// One fuzz target per codec plug-in: the same source compiled against the
// PNG or the JPEG import plug-in.

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
    void* block = PL_Malloc(static_cast<int>(size), false);
    if (size)
        std::memcpy(block, data, size);
    int width = 0, height = 0, bits = 0;
    bool described = false;
    {
        CPLData memory(L"memory", CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL));
        is_supported_image(&memory);
        described = get_image_info(&memory, &width, &height, &bits) == 1;
    }
    const std::wstring& path = lumo::fuzz::inputAsFile(data, size);
    {
        CPLData file(L"file", CPLFileData::create(path.c_str()));
        is_supported_image(&file);
        get_image_info(&file, &width, &height, &bits);
    }
    // Pictures the plug-in accepts may reach 16384 x 16384; decoding those
    // explores nothing new and only costs time.
    if (described && static_cast<long long>(width) * height > 4'000'000)
        return 0;
    CPLImage* image = CPLImage::Create();
    image->CreateImage(L"image");
    if (read_image(path.c_str(), image) != 1)
        __builtin_trap();
    int w = 0, h = 0;
    if (image->GetImageSize(w, h)) {
        // Every row the image claims must be there, its fill bytes zero.
        int stride = image->GetLineSize();
        for (int y = 0; y < h; ++y) {
            auto* row =
                reinterpret_cast<unsigned char*>(image->GetLinePtr(static_cast<unsigned>(y)));
            for (int i = 3 * w; i < stride; ++i)
                if (row[i] != 0)
                    __builtin_trap();
        }
    }
    lumo::fuzz::checkMemoryDecode(data, size, image, 1u << 24);
    CPLImage::Destroy(image);
    return 0;
}
