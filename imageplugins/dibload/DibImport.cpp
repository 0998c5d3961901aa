// The import plug-in for uncompressed 24-bit bottom-up BMP files. Their pixel
// rows are byte for byte the rows of a kernel image, so decoding is a copy.

#include "imageplugins/ImagePlugin.h"
#include "imageplugins/ImportSupport.h"
#include "picture/PLData.h"
#include "picture/PLFileData.h"
#include "picture/PLImage.h"
#include "picture/PLMemoryData.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace lumo::imaging;

namespace {

constexpr int kHeaderBytes = 54; // file header + information header

// Fills the image rows from the pixel data at `offset`. The file's rows are the
// image's rows in memory order; fill bytes stay zero and rows that lie past the
// end of the file stay black.
void readRows(std::FILE* file, std::uint32_t offset, CPLImage* image, int width, int height) {
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0)
        return;
    auto* bits = reinterpret_cast<unsigned char*>(image->GetBitmapBits());
    std::size_t stride = static_cast<std::size_t>(image->GetLineSize());
    std::size_t got = std::fread(bits, 1, stride * static_cast<std::size_t>(height), file);
    std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    if (stride == rowBytes)
        return;
    for (std::size_t row = 0; row * stride + rowBytes < got; ++row) {
        std::size_t fillEnd = std::min(got, (row + 1) * stride);
        std::memset(bits + row * stride + rowBytes, 0, fillEnd - (row * stride + rowBytes));
    }
}

// Every file is decoded as the 24-bit variant; a header cut short or a size
// the image cannot take leaves the image as it was.
void decode(std::FILE* file, CPLImage* image) {
    unsigned char header[kHeaderBytes];
    if (std::fread(header, 1, kHeaderBytes, file) != kHeaderBytes)
        return;
    std::uint32_t offset = readLe32(header + 10);
    auto width = static_cast<std::int32_t>(readLe32(header + 18));
    auto height = static_cast<std::int32_t>(readLe32(header + 22));
    if (!image->RenewalImage(width, height))
        return;
    int realWidth = 0;
    int realHeight = 0;
    // Too large for memory: the image stays named without pixels.
    if (!image->GetImageSize(realWidth, realHeight))
        return;
    readRows(file, offset, image, realWidth, realHeight);
}

} // namespace

IMAGEPLUGIN_EXPORT int read_image(const wchar_t* path, CPLImage* image) {
    return decodePictureFile(path, image, decode);
}

IMAGEPLUGIN_EXPORT int read_memory_image(CPLMemoryData* data, CPLImage* image) {
    return decodePictureMemory(data, image, decode);
}

IMAGEPLUGIN_EXPORT int is_supported_image(CPLData* data) {
    LeadingBytes lead(data, kHeaderBytes);
    if (!lead.bytes() || lead.size() < kHeaderBytes)
        return 0;
    const unsigned char* h = lead.bytes();
    bool ok = readLe16(h) == 0x4D42 && readLe16(h + 6) == 0 && readLe16(h + 8) == 0 &&
              readLe32(h + 10) != 0 && readLe32(h + 14) == 40 && readLe32(h + 18) != 0 &&
              readLe32(h + 22) != 0 && readLe16(h + 26) == 1 && readLe16(h + 28) == 24 &&
              readLe32(h + 30) == 0 && readLe32(h + 46) <= (1u << 24);
    return ok ? 1 : 0;
}

IMAGEPLUGIN_EXPORT int get_image_info(CPLData* data, int* width, int* height, int* bit_count) {
    if (!data || !data->is_file())
        return 0;
    LeadingBytes lead(data, kHeaderBytes);
    if (!lead.bytes() || lead.size() < kHeaderBytes)
        return 0;
    const unsigned char* h = lead.bytes();
    int w = static_cast<std::int32_t>(readLe32(h + 18));
    int hgt = static_cast<std::int32_t>(readLe32(h + 22));
    int bits = readLe16(h + 28);
    if (width)
        *width = w;
    if (height)
        *height = hgt;
    if (bit_count)
        *bit_count = bits;
    return w > 0 && hgt > 0 && bits == 24 ? 1 : 0;
}

IMAGEPLUGIN_EXPORT int get_bmp_data(const wchar_t* path, CPLMemoryData* data) {
    return readWholeFile(path, data) ? 1 : 0;
}

IMAGEPLUGIN_EXPORT int attach_memory_image(const BITMAPINFOHEADER* header, const void* bits,
                                           CPLImage* image) {
    return adoptMemoryImage(header, bits, image) ? 1 : 0;
}

IMAGEPLUGIN_EXPORT int get_supported_file_list(std::wstring* description, std::wstring* patterns) {
    if (!description || !patterns)
        return 0;
    *description = L"BMP File";
    *patterns = L"*.BMP";
    return 1;
}

IMAGEPLUGIN_EXPORT std::wstring get_copyright_info() {
    return L"BMP import plug-in, LumoCore picture team";
}
