#pragma once

// Pieces every import plug-in shares: the whole-file and memory-adoption
// exports behave the same whatever the format.

#include "platform/core/types.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

class CPLData;
class CPLImage;
class CPLMemoryData;

namespace lumo::imaging {

// Hands the whole file at `path` to `data` as a kernel block; false when the
// file cannot be read.
bool readWholeFile(const wchar_t* path, CPLMemoryData* data);

// Renews `image` from the header and copies stride * height bytes of 24-bit
// bottom-up rows from `bits`, never more. False when the image cannot take
// the size (no name, a side below 1, or no memory).
bool adoptMemoryImage(const BITMAPINFOHEADER* header, const void* bits, CPLImage* image);

// The leading bytes of a data holder, examined in place (memory) or read from
// the file into a block the holder releases. Empty when neither is available.
class LeadingBytes {
public:
    LeadingBytes(CPLData* data, int count);
    ~LeadingBytes();
    LeadingBytes(const LeadingBytes&) = delete;
    LeadingBytes& operator=(const LeadingBytes&) = delete;

    const unsigned char* bytes() const { return m_bytes; }
    std::size_t size() const { return m_size; }

private:
    CPLMemoryData* m_owned = nullptr;
    const unsigned char* m_bytes = nullptr;
    std::size_t m_size = 0;
};

// Pictures the format plug-ins refuse to decode (MAX_PICTURE_SIDE,
// MAX_PICTURE_PIXEL_BYTES).
bool isAcceptableDecodeSize(std::uint32_t width, std::uint32_t height);

// A format's decoder: fills `image` (named, never null) from the picture file
// read from `stream`, or leaves it without pixels.
using StreamDecoder = void (*)(std::FILE* stream, CPLImage* image);

// read_image and read_memory_image of every format: 0 for a missing path or
// block (or a file that cannot be opened); otherwise the decoder runs when
// there is an image, and the result is 1.
int decodePictureFile(const wchar_t* path, CPLImage* image, StreamDecoder decode);
int decodePictureMemory(CPLMemoryData* data, CPLImage* image, StreamDecoder decode);

inline std::uint16_t readLe16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t readLe32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace lumo::imaging
