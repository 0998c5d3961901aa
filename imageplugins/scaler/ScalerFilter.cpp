// The resize filter "Picture Resize": scales an image by a percentage or into
// a box, with nearest-neighbour, bilinear (enlarging) or box-average
// (reducing) resampling.

#include "Resample.h"
#include "imageplugins/ImagePlugin.h"
#include "picture/PLImage.h"

#include <algorithm>
#include <cwchar>

using namespace lumo::imaging;

namespace {

// The target size for an option; false when the option is rejected.
bool targetSize(const RESIZE_OPTION& option, int width, int height, int& targetWidth,
                int& targetHeight) {
    if (option.value == 0)
        return false;
    targetWidth = 0;
    targetHeight = 0;
    if (option.mode == RESIZE_MODE_PERCENT) {
        if (width <= 0 || height <= 0)
            return true;
        double s = static_cast<double>(option.value) * 0.01;
        targetWidth = truncToInt(s * width);
        targetHeight = truncToInt(s * height);
        return true;
    }
    if (option.mode == RESIZE_MODE_BOX) {
        if (width <= 0 || height <= 0)
            return true;
        unsigned boxWidth = option.value & 0xFFFF;
        unsigned boxHeight = option.value >> 16;
        double sx = static_cast<double>(boxWidth) / width;
        double sy = static_cast<double>(boxHeight) / height;
        if (sx < sy) {
            targetWidth = static_cast<int>(boxWidth);
            targetHeight = truncToInt(sx * height);
        } else {
            targetHeight = static_cast<int>(boxHeight);
            targetWidth = truncToInt(sy * width);
        }
        return true;
    }
    return false;
}

} // namespace

IMAGEPLUGIN_EXPORT int do_filter(CPLImage* source, CPLImage* destination, const void* option) {
    if (!source || !destination || !option)
        return 0;
    const auto& resize = *static_cast<const RESIZE_OPTION*>(option);
    int width = 0;
    int height = 0;
    source->GetImageSize(width, height);
    int targetWidth = 0;
    int targetHeight = 0;
    if (!targetSize(resize, width, height, targetWidth, targetHeight))
        return 0;
    destination->RenewalImage(targetWidth, targetHeight);
    if (resize.smooth == 0)
        resampleNearest(*source, *destination);
    else if (width < targetWidth)
        resampleBilinear(*source, *destination);
    else
        resampleBoxAverage(*source, *destination);
    return 1;
}

IMAGEPLUGIN_EXPORT int GetPluginInfo(FILTER_INFO* info) {
    if (!info)
        return 0;
    *info = FILTER_INFO{};
    info->first = 1;
    info->second = 0;
    std::wcsncpy(info->name, L"Picture Resize", 255);
    std::wcsncpy(info->author, L"LumoCore picture team", 255);
    const BYTE flags[4] = {1, 1, 0, 1};
    std::copy(flags, flags + 4, info->flags);
    return 1;
}

IMAGEPLUGIN_EXPORT int GetOptionSize() {
    return sizeof(RESIZE_OPTION);
}

IMAGEPLUGIN_EXPORT int GetDefaultOption(void* option) {
    if (!option)
        return 0;
    *static_cast<RESIZE_OPTION*>(option) = RESIZE_OPTION{RESIZE_MODE_PERCENT, 250, 1};
    return 1;
}
