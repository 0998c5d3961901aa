// The export plug-in for 24-bit BMP files and in-memory DIBs. A kernel image
// already is a bottom-up 24-bit DIB, so all three exports copy its header and
// rows as they are.

#include "imageplugins/ImagePlugin.h"
#include "picture/PLImage.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"
#include "platform/core/Utf8.h"

#include <cstdio>
#include <cstring>

namespace {

void putLe16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
void putLe32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Pixel block bytes of an image described by its own header (0 without pixels).
std::size_t pixelBytes(CPLImage* image) {
    int width = 0;
    int height = 0;
    if (!image->GetImageSize(width, height))
        return 0;
    return static_cast<std::size_t>(CPLImage::lineSizeFor(width)) *
           static_cast<std::size_t>(height);
}

// A kernel block attached to `target`; null when memory is exhausted.
void* attachNewBlock(CPLMemoryData* target, std::size_t bytes) {
    void* block = PL_Malloc(static_cast<int>(bytes), false);
    if (block)
        target->attach(block, CPLMemoryData::MEMORY_KERNEL);
    return block;
}

} // namespace

IMAGEPLUGIN_EXPORT int write_image(CPLImage* image, const wchar_t* path) {
    if (!image || !path)
        return 0;
    std::FILE* file = std::fopen(lumo::toFsPath(path).c_str(), "wb");
    if (!file)
        return 0;
    unsigned char fileHeader[14] = {};
    putLe16(fileHeader, 0x4D42);
    putLe32(fileHeader + 10, 54);
    std::fwrite(fileHeader, 1, sizeof fileHeader, file);
    std::fwrite(image->GetBitmapInfoHeader(), 1, sizeof(BITMAPINFOHEADER), file);
    if (std::size_t bytes = pixelBytes(image))
        std::fwrite(image->GetBitmapBits(), 1, bytes, file);
    std::fclose(file);
    return 1;
}

IMAGEPLUGIN_EXPORT int make_memory_image(CPLImage* image, CPLMemoryData* header,
                                         CPLMemoryData* bits) {
    if (!image || !header || !bits)
        return 0;
    void* headerBlock = attachNewBlock(header, sizeof(BITMAPINFOHEADER));
    if (!headerBlock)
        return 0;
    std::memcpy(headerBlock, image->GetBitmapInfoHeader(), sizeof(BITMAPINFOHEADER));
    std::size_t bytes = pixelBytes(image);
    void* pixelBlock = attachNewBlock(bits, bytes);
    if (!pixelBlock)
        return 0;
    if (bytes)
        std::memcpy(pixelBlock, image->GetBitmapBits(), bytes);
    return 1;
}

IMAGEPLUGIN_EXPORT int make_memory_image_rect(CPLImage* image, int x, int y, int width, int height,
                                              CPLMemoryData* header, CPLMemoryData* bits) {
    if (!image || !header || !bits)
        return 0;
    int imageWidth = 0;
    int imageHeight = 0;
    image->GetImageSize(imageWidth, imageHeight);
    if (imageWidth <= 0 || imageHeight <= 0 || x < 0 || y < 0 || width < 0 || height < 0)
        return 0;
    if (std::int64_t{x} + width > imageWidth || std::int64_t{y} + height > imageHeight)
        return 0;
    auto* info = static_cast<BITMAPINFOHEADER*>(attachNewBlock(header, sizeof(BITMAPINFOHEADER)));
    if (!info)
        return 0;
    *info = *image->GetBitmapInfoHeader();
    info->biWidth = width;
    info->biHeight = height;
    std::size_t stride = static_cast<std::size_t>(CPLImage::lineSizeFor(width));
    auto* block = static_cast<unsigned char*>(
        attachNewBlock(bits, stride * static_cast<std::size_t>(height)));
    if (!block)
        return 0;
    for (int i = 0; i < height; ++i) {
        unsigned char* target = block + static_cast<std::size_t>(height - 1 - i) * stride;
        std::memcpy(target, image->GetLinePtr(static_cast<unsigned>(y + i)) + x,
                    3 * static_cast<std::size_t>(width));
        // The fill bytes are ours to choose: zero, as in every kernel image.
        std::memset(target + 3 * static_cast<std::size_t>(width), 0,
                    stride - 3 * static_cast<std::size_t>(width));
    }
    return 1;
}
