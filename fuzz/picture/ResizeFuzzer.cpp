#include "imageplugins/ImagePlugin.h"
#include "picture/PLImage.h"

#include <algorithm>
#include <cstring>

IMAGEPLUGIN_EXPORT int do_filter(CPLImage* source, CPLImage* destination, const void* option);

// Input: source width and height (one byte each, 1..256), a resize option
// (12 bytes), then pixel bytes. The destination starts either unnamed, empty
// or filled at a size taken from the input.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 16)
        return 0;
    int width = data[0] + 1;
    int height = data[1] + 1;
    RESIZE_OPTION option;
    std::memcpy(&option, data + 2, sizeof option);
    // Keep targets within about a megapixel so a run explores shapes, not memory.
    if (option.mode == RESIZE_MODE_PERCENT)
        option.value %= 401;
    else if (option.mode == RESIZE_MODE_BOX)
        option.value = (option.value & 0x3FF) | (((option.value >> 16) & 0x3FF) << 16);
    int destinationKind = data[14] % 3;
    int destinationSide = data[15] % 8 + 1;
    data += 16;
    size -= 16;

    CPLImage* source = CPLImage::Create();
    source->CreateImage(L"image", width, height);
    for (int y = 0; y < height && size; ++y) {
        std::size_t n = std::min<std::size_t>(size, 3 * static_cast<std::size_t>(width));
        std::memcpy(source->GetLinePtr(static_cast<unsigned>(y)), data, n);
        data += n;
        size -= n;
    }
    CPLImage* destination = CPLImage::Create();
    if (destinationKind == 1)
        destination->CreateImage(L"image");
    else if (destinationKind == 2)
        destination->CreateImage(L"image", destinationSide, destinationSide + 1);
    do_filter(source, destination, &option);
    do_filter(source, source, &option);
    CPLImage::Destroy(destination);
    CPLImage::Destroy(source);
    return 0;
}
