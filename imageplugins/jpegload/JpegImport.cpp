// The import plug-in for JPEG files, decoding with libjpeg-turbo: colour and
// grey pictures straight into 24-bit rows, CMYK and YCCK converted from ink.
// EXIF orientation is not applied.

#include "imageplugins/ImagePlugin.h"
#include "imageplugins/ImportSupport.h"
#include "picture/PLData.h"
#include "picture/PLImage.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE first.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <vector>

using namespace lumo::imaging;

namespace {

// Enough of the stream to find the frame header behind EXIF thumbnails and
// colour profiles.
constexpr int kProbeBytes = 256 * 1024;
// libjpeg's working memory (progressive pictures keep all coefficients).
constexpr long kMaxDecoderMemory = 1024L << 20;

struct JpegHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitCount = 0;
};

// Walks the markers up to the first start-of-frame. False when the data do not
// start a JPEG stream, no frame header is found in them, or the picture is
// one we will not decode.
bool parseHeader(const unsigned char* bytes, std::size_t size, JpegHeader& header) {
    if (!bytes || size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return false;
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (bytes[at] != 0xFF)
            return false;
        unsigned marker = bytes[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        std::size_t length = (static_cast<std::size_t>(bytes[at + 2]) << 8) | bytes[at + 3];
        if (length < 2)
            return false;
        bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 10 > size || length < 8)
                return false;
            int precision = bytes[at + 4];
            std::uint32_t height = (static_cast<std::uint32_t>(bytes[at + 5]) << 8) | bytes[at + 6];
            std::uint32_t width = (static_cast<std::uint32_t>(bytes[at + 7]) << 8) | bytes[at + 8];
            int components = bytes[at + 9];
            if (precision != 8 || (components != 1 && components != 3 && components != 4))
                return false;
            if (!isAcceptableDecodeSize(width, height))
                return false;
            header = JpegHeader{width, height, 8 * components};
            return true;
        }
        if (marker == 0xD9 || marker == 0xDA) // end of image or scan before any frame
            return false;
        at += 2 + length;
    }
    return false;
}

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool truncated;
};

void failDecode(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings are silent, but a stream that ends early is not a picture.
void noteWarning(j_common_ptr info, int level) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && errors->base.msg_code == JWRN_JPEG_EOF)
        errors->truncated = true;
}

// A progressive stream may hold any number of scans, each a pass over the
// whole picture; real files have a dozen, so many more is an attack.
constexpr int kMaxScans = 500;

void limitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans)
        failDecode(info);
}

// From ink to light; Adobe's files store the ink inverted.
void inkToBgr(const JSAMPLE* cmyk, BMP_BGR* out, std::uint32_t width, bool inverted) {
    for (std::uint32_t x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x].red = static_cast<BYTE>((c * k + 127) / 255);
        out[x].green = static_cast<BYTE>((m * k + 127) / 255);
        out[x].blue = static_cast<BYTE>((y * k + 127) / 255);
    }
}

// One decode; every libjpeg call that can fail runs behind the setjmp of the
// function making it, with no C++ object created in between.
class JpegDecoder {
public:
    explicit JpegDecoder(std::FILE* file) {
        m_info.err = jpeg_std_error(&m_errors.base);
        m_errors.base.error_exit = failDecode;
        m_errors.base.emit_message = noteWarning;
        m_errors.truncated = false;
        if (setjmp(m_errors.jump))
            return;
        jpeg_create_decompress(&m_info);
        m_created = true;
        m_info.mem->max_memory_to_use = kMaxDecoderMemory;
        m_progress.progress_monitor = limitScans;
        m_info.progress = &m_progress;
        jpeg_stdio_src(&m_info, file);
    }
    ~JpegDecoder() {
        if (m_created)
            jpeg_destroy_decompress(&m_info);
    }
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    bool start(std::uint32_t& width, std::uint32_t& height) {
        if (!m_created)
            return false;
        if (setjmp(m_errors.jump))
            return false;
        jpeg_read_header(&m_info, TRUE);
        m_ink = m_info.jpeg_color_space == JCS_CMYK || m_info.jpeg_color_space == JCS_YCCK;
        m_info.out_color_space = m_ink ? JCS_CMYK : JCS_EXT_BGR;
        jpeg_calc_output_dimensions(&m_info);
        width = m_info.output_width;
        height = m_info.output_height;
        if (!isAcceptableDecodeSize(width, height))
            return false;
        jpeg_start_decompress(&m_info);
        return m_info.output_components == (m_ink ? 4 : 3);
    }

    // Decodes into the rows; `ink` is a buffer of 4 * width bytes.
    bool readRows(CPLImage* image, JSAMPLE* ink) {
        if (setjmp(m_errors.jump))
            return false;
        bool inverted = m_info.saw_Adobe_marker;
        while (m_info.output_scanline < m_info.output_height) {
            JDIMENSION y = m_info.output_scanline;
            auto* row = image->GetLinePtr(y);
            JSAMPROW target = m_ink ? ink : reinterpret_cast<JSAMPROW>(row);
            if (jpeg_read_scanlines(&m_info, &target, 1) != 1)
                return false;
            if (m_ink)
                inkToBgr(ink, row, m_info.output_width, inverted);
        }
        jpeg_finish_decompress(&m_info);
        return !m_errors.truncated;
    }

    bool ink() const { return m_ink; }

private:
    jpeg_decompress_struct m_info{};
    ErrorManager m_errors{};
    jpeg_progress_mgr m_progress{};
    bool m_created = false;
    bool m_ink = false;
};

void dropPixels(CPLImage* image) {
    wchar_t name[260];
    image->GetObjectName(name, 260);
    name[259] = 0;
    image->DestroyImage();
    image->CreateImage(name);
}

void decode(std::FILE* file, CPLImage* image) {
    JpegDecoder decoder(file);
    std::uint32_t width = 0, height = 0;
    int w = 0, h = 0;
    if (!decoder.start(width, height) ||
        !image->RenewalImage(static_cast<int>(width), static_cast<int>(height)) ||
        !image->GetImageSize(w, h))
        return;
    std::vector<JSAMPLE> ink(decoder.ink() ? 4 * static_cast<std::size_t>(width) : 0);
    if (!decoder.readRows(image, ink.data()))
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
    LeadingBytes lead(data, kProbeBytes);
    JpegHeader header;
    return parseHeader(lead.bytes(), lead.size(), header) ? 1 : 0;
}

IMAGEPLUGIN_EXPORT int get_image_info(CPLData* data, int* width, int* height, int* bit_count) {
    LeadingBytes lead(data, kProbeBytes);
    JpegHeader header;
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
    *description = L"JPEG File";
    *patterns = L"*.JPG";
    return 1;
}

IMAGEPLUGIN_EXPORT std::wstring get_copyright_info() {
    return L"JPEG import plug-in, LumoCore picture team; decoding by libjpeg-turbo (IJG code)";
}
