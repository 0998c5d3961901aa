#pragma once

// The exports of image plug-ins. A client loads a plug-in by file name when it
// needs it and looks functions up by these plain names:
//
//   import (".iplg")  read_image, read_memory_image, is_supported_image,
//                     get_image_info, get_bmp_data, attach_memory_image,
//                     get_supported_file_list, get_copyright_info
//   export (".eplg")  write_image, make_memory_image, make_memory_image_rect
//   filter (".fplg")  do_filter, GetPluginInfo, GetOptionSize,
//                     GetDefaultOption, Configure
//
// Every function except get_copyright_info and GetOptionSize returns 1 for
// success and 0 for failure. The client creates, names and destroys every
// image; a plug-in only renews and fills it. Memory blocks handed back in a
// CPLMemoryData are kernel blocks owned by the client.

#include "platform/core/Export.h"
#include "platform/core/types.h"

#include <cstdint>
#include <string>

class CPLData;
class CPLImage;
class CPLMemoryData;

#define IMAGEPLUGIN_EXPORT LUMO_C_EXPORT

// Filled by a filter's GetPluginInfo.
struct FILTER_INFO {
    std::int32_t first;
    std::int32_t second;
    wchar_t name[256];
    wchar_t author[256];
    BYTE flags[4];
};

// Option block of the resize filter.
struct RESIZE_OPTION {
    std::int32_t mode;   // 0: by percentage; 1: fit into a box
    std::uint32_t value; // percentage, or box width (low 16 bits) and height (high 16 bits)
    std::int32_t smooth; // 0: nearest neighbour; else bilinear up, box average down
};
static_assert(sizeof(RESIZE_OPTION) == 12, "option blocks are exchanged by size");

// Option block of the alpha-blend filter.
struct ALPHABLEND_OPTION {
    COLORREF colour;    // red bits 0-7, green 8-15, blue 16-23
    std::int32_t alpha; // weight of the image: 256 keeps it, 0 gives the colour
};
static_assert(sizeof(ALPHABLEND_OPTION) == 8, "option blocks are exchanged by size");

// Pictures the import plug-ins refuse to decode: a side above this many
// pixels, or more 24-bit pixel bytes than this. A client need not hand them
// a picture file larger than the pixel limit either.
constexpr std::uint32_t MAX_PICTURE_SIDE = 16384;
constexpr std::uint64_t MAX_PICTURE_PIXEL_BYTES = 512ull << 20;

constexpr int RESIZE_MODE_PERCENT = 0;
constexpr int RESIZE_MODE_BOX = 1;

// Import plug-in. read_memory_image decodes a whole picture file held in a
// memory block (as get_bmp_data hands one over, or a picture read from an
// archive) exactly as read_image decodes the file: 1 when the block holds
// bytes, the image holding the picture when it decodes; 0 for a null or empty
// block.
using PFN_read_image = int (*)(const wchar_t* path, CPLImage* image);
using PFN_read_memory_image = int (*)(CPLMemoryData* data, CPLImage* image);
using PFN_is_supported_image = int (*)(CPLData* data);
using PFN_get_image_info = int (*)(CPLData* data, int* width, int* height, int* bit_count);
using PFN_get_bmp_data = int (*)(const wchar_t* path, CPLMemoryData* data);
using PFN_attach_memory_image = int (*)(const BITMAPINFOHEADER* header, const void* bits,
                                        CPLImage* image);
using PFN_get_supported_file_list = int (*)(std::wstring* description, std::wstring* patterns);
using PFN_get_copyright_info = std::wstring (*)();

// Export plug-in.
using PFN_write_image = int (*)(CPLImage* image, const wchar_t* path);
using PFN_make_memory_image = int (*)(CPLImage* image, CPLMemoryData* header, CPLMemoryData* bits);
using PFN_make_memory_image_rect = int (*)(CPLImage* image, int x, int y, int width, int height,
                                           CPLMemoryData* header, CPLMemoryData* bits);

// Filter plug-in. `parent` is the owner window's handle.
using PFN_do_filter = int (*)(CPLImage* source, CPLImage* destination, const void* option);
using PFN_GetPluginInfo = int (*)(FILTER_INFO* info);
using PFN_GetOptionSize = int (*)();
using PFN_GetDefaultOption = int (*)(void* option);
using PFN_Configure = int (*)(void* parent, void* option);

// get_copyright_info returns a C++ string across a plain-named export; client
// and plug-in share one standard library.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
