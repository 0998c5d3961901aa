// The alpha-blend filter "Picture Alphablend": blends every pixel with one
// solid colour, the image weighted by alpha (256 keeps it, 0 gives the colour).

#include "imageplugins/ImagePlugin.h"
#include "picture/PLImage.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

struct Tables {
    BYTE blue[256];
    BYTE green[256];
    BYTE red[256];
};

BYTE blendValue(int input, int alpha, int component) {
    int value = (input * alpha + component * (256 - alpha) + 128) / 256;
    return static_cast<BYTE>(std::clamp(value, 0, 255));
}

Tables buildTables(const ALPHABLEND_OPTION& option) {
    Tables t;
    int r = GetRValue(option.colour), g = GetGValue(option.colour), b = GetBValue(option.colour);
    for (int i = 0; i < 256; ++i) {
        t.red[i] = blendValue(i, option.alpha, r);
        t.green[i] = blendValue(i, option.alpha, g);
        t.blue[i] = blendValue(i, option.alpha, b);
    }
    return t;
}

void mapRowByTables(BYTE* row, int width, const Tables& t) {
    for (int x = 0; x < width; ++x, row += 3) {
        row[0] = t.blue[row[0]];
        row[1] = t.green[row[1]];
        row[2] = t.red[row[2]];
    }
}

// For alpha 0..256 every table entry is (i * alpha + bias) >> 8 with no
// clamping and no term above 16 bits, so a row is mapped with plain 16-bit
// arithmetic the compiler vectorises; the values are those of the tables.
// 96 bytes are 32 whole pixels, so one bias pattern fits every block.
__attribute__((target_clones("avx2", "default"))) void
mapRowArithmetic(BYTE* row, int width, int alpha, const std::uint16_t (&bias)[96],
                 const Tables& t) {
    std::size_t bytes = 3 * static_cast<std::size_t>(width);
    std::size_t blocks = bytes / 96;
    auto a = static_cast<std::uint16_t>(alpha);
    for (std::size_t n = 0; n < blocks; ++n, row += 96) {
        for (int c = 0; c < 96; ++c)
            row[c] = static_cast<BYTE>(static_cast<std::uint16_t>(row[c] * a + bias[c]) >> 8);
    }
    mapRowByTables(row, static_cast<int>((bytes % 96) / 3), t);
}

} // namespace

IMAGEPLUGIN_EXPORT int do_filter(CPLImage* source, CPLImage* destination, const void* option) {
    if (!source || !destination || !option)
        return 0;
    const auto& blend = *static_cast<const ALPHABLEND_OPTION*>(option);
    Tables tables = buildTables(blend);
    int width = 0;
    int height = 0;
    source->GetImageSize(width, height);
    if (destination != source) {
        destination->RenewalImage(width, height);
        int dw = 0, dh = 0;
        if (width > 0 && destination->GetImageSize(dw, dh) && dw == width && dh == height)
            std::memcpy(destination->GetBitmapBits(), source->GetBitmapBits(),
                        static_cast<std::size_t>(source->GetLineSize()) *
                            static_cast<std::size_t>(height));
    }
    int dw = 0, dh = 0;
    // Map only what the destination really holds: a renewal that ran out of
    // memory leaves it without pixels.
    if (!destination->GetImageSize(dw, dh))
        return 1;
    width = std::min(width, dw);
    height = std::min(height, dh);

    bool arithmetic = blend.alpha >= 0 && blend.alpha <= 256;
    std::uint16_t bias[96];
    if (arithmetic) {
        int components[3] = {GetBValue(blend.colour), GetGValue(blend.colour),
                             GetRValue(blend.colour)};
        for (int c = 0; c < 96; ++c)
            bias[c] = static_cast<std::uint16_t>(components[c % 3] * (256 - blend.alpha) + 128);
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<BYTE*>(destination->GetLinePtr(static_cast<unsigned>(y)));
        if (arithmetic)
            mapRowArithmetic(row, width, blend.alpha, bias, tables);
        else
            mapRowByTables(row, width, tables);
    }
    return 1;
}

IMAGEPLUGIN_EXPORT int GetPluginInfo(FILTER_INFO* info) {
    if (!info)
        return 0;
    *info = FILTER_INFO{};
    info->first = 1;
    info->second = 0;
    std::wcsncpy(info->name, L"Picture Alphablend", 255);
    std::wcsncpy(info->author, L"LumoCore picture team", 255);
    const BYTE flags[4] = {1, 1, 0, 1};
    std::copy(flags, flags + 4, info->flags);
    return 1;
}

IMAGEPLUGIN_EXPORT int GetOptionSize() {
    return sizeof(ALPHABLEND_OPTION);
}

IMAGEPLUGIN_EXPORT int GetDefaultOption(void* option) {
    if (!option)
        return 0;
    *static_cast<ALPHABLEND_OPTION*>(option) = ALPHABLEND_OPTION{0, 256};
    return 1;
}

// Nothing to configure.
IMAGEPLUGIN_EXPORT int Configure(void* parent, void* option) {
    return 0;
}
