// The import plug-in for PNG files, decoding with libpng: every colour type
// and bit depth becomes 24-bit pixels (grey and palettes expanded, 16 bits
// scaled to 8, transparency composited over white).

#include "imageplugins/ImagePlugin.h"
#include "imageplugins/ImportSupport.h"
#include "picture/PLData.h"
#include "picture/PLImage.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace lumo::imaging;

namespace {

constexpr int kHeaderBytes = 33; // signature, IHDR length, type, 13 data bytes, CRC
constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitCount = 0;
};

std::uint32_t readBe32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

// Signature and IHDR; false for anything libpng would refuse or that we will
// not decode (too large).
bool parseHeader(const unsigned char* bytes, std::size_t size, PngHeader& header) {
    if (!bytes || size < kHeaderBytes || std::memcmp(bytes, kSignature, 8) != 0)
        return false;
    if (readBe32(bytes + 8) != 13 || std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return false;
    std::uint32_t width = readBe32(bytes + 16);
    std::uint32_t height = readBe32(bytes + 20);
    int depth = bytes[24];
    int colourType = bytes[25];
    if (bytes[26] != 0 || bytes[27] != 0 || bytes[28] > 1)
        return false;
    int channels = 0;
    switch (colourType) {
    case 0:
        channels = (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16) ? 1 : 0;
        break;
    case 3:
        channels = (depth == 1 || depth == 2 || depth == 4 || depth == 8) ? 1 : 0;
        break;
    case 2:
        channels = (depth == 8 || depth == 16) ? 3 : 0;
        break;
    case 4:
        channels = (depth == 8 || depth == 16) ? 2 : 0;
        break;
    case 6:
        channels = (depth == 8 || depth == 16) ? 4 : 0;
        break;
    default:
        break;
    }
    if (channels == 0 || !isAcceptableDecodeSize(width, height))
        return false;
    header = PngHeader{width, height, depth * channels};
    return true;
}

void ignoreWarning(png_structp, png_const_charp) {}
void failDecode(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// One decode. Every libpng call that can fail runs behind its own setjmp,
// with no C++ object created in between.
class PngDecoder {
public:
    explicit PngDecoder(std::FILE* file) {
        m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failDecode, ignoreWarning);
        if (m_png)
            m_info = png_create_info_struct(m_png);
        if (m_info)
            png_init_io(m_png, file);
    }
    ~PngDecoder() { png_destroy_read_struct(&m_png, m_info ? &m_info : nullptr, nullptr); }
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;

    // Reads the header and sets up 8-bit BGR output; false when the file is
    // not a PNG we decode.
    bool start(std::uint32_t& width, std::uint32_t& height) {
        if (!m_info)
            return false;
        if (setjmp(png_jmpbuf(m_png)))
            return false;
        png_set_user_limits(m_png, 16384, 16384);
        png_read_info(m_png, m_info);
        width = png_get_image_width(m_png, m_info);
        height = png_get_image_height(m_png, m_info);
        if (!isAcceptableDecodeSize(width, height))
            return false;
        png_set_expand(m_png);
        png_set_scale_16(m_png);
        png_set_gray_to_rgb(m_png);
        png_color_16 white{};
        white.red = white.green = white.blue = 0xFF;
        white.gray = 0xFF;
        png_set_background(m_png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
        png_set_bgr(m_png);
        png_set_interlace_handling(m_png);
        png_read_update_info(m_png, m_info);
        return png_get_rowbytes(m_png, m_info) == 3 * static_cast<std::size_t>(width);
    }

    bool readRows(png_bytepp rows) {
        if (setjmp(png_jmpbuf(m_png)))
            return false;
        png_read_image(m_png, rows);
        png_read_end(m_png, nullptr);
        return true;
    }

private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

// Drops the pixels of a picture that did not decode, keeping the name so the
// image can be filled again.
void dropPixels(CPLImage* image) {
    wchar_t name[260];
    image->GetObjectName(name, 260);
    name[259] = 0;
    image->DestroyImage();
    image->CreateImage(name);
}

void decode(std::FILE* file, CPLImage* image) {
    PngDecoder decoder(file);
    std::uint32_t width = 0, height = 0;
    int w = 0, h = 0;
    if (!decoder.start(width, height) ||
        !image->RenewalImage(static_cast<int>(width), static_cast<int>(height)) ||
        !image->GetImageSize(w, h))
        return;
    std::vector<png_bytep> rows(height);
    for (std::uint32_t y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(image->GetLinePtr(y));
    if (!decoder.readRows(rows.data()))
        dropPixels(image);
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
    PngHeader header;
    return parseHeader(lead.bytes(), lead.size(), header) ? 1 : 0;
}

IMAGEPLUGIN_EXPORT int get_image_info(CPLData* data, int* width, int* height, int* bit_count) {
    LeadingBytes lead(data, kHeaderBytes);
    PngHeader header;
    if (!parseHeader(lead.bytes(), lead.size(), header))
        return 0;
    if (width)
        *width = static_cast<int>(header.width);
    if (height)
        *height = static_cast<int>(header.height);
    if (bit_count)
        *bit_count = header.bitCount;
    return 1;
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
    *description = L"PNG File";
    *patterns = L"*.PNG";
    return 1;
}

IMAGEPLUGIN_EXPORT std::wstring get_copyright_info() {
    return L"PNG import plug-in, LumoCore picture team; decoding by libpng";
}
