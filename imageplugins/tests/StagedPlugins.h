#pragma once

// Test helpers: the real plug-ins, loaded from the staged tree by file name
// and looked up by function name as the reader does, and small images.

#include "imageplugins/ImagePlugin.h"
#include "picture/PLImage.h"
#include "platform/core/Module.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

// Pixels compare and print by value (found by argument lookup: global scope).
inline bool operator==(BMP_BGR a, BMP_BGR b) {
    return a.blue == b.blue && a.green == b.green && a.red == b.red;
}
inline void PrintTo(BMP_BGR p, std::ostream* out) {
    *out << "(b " << int(p.blue) << ", g " << int(p.green) << ", r " << int(p.red) << ")";
}

namespace lumo::test {

inline std::wstring stagedPath(const char* fileName) {
    return (std::filesystem::path(LUMO_STAGE_DIR) / fileName).wstring();
}

// A staged plug-in's export; fails the test when the file or function is missing.
template <class Function> Function stagedFunction(const char* fileName, const char* name) {
    HMODULE module = LoadLibrary(stagedPath(fileName).c_str());
    EXPECT_NE(module, nullptr) << fileName;
    auto function = reinterpret_cast<Function>(GetProcAddress(module, name));
    EXPECT_NE(function, nullptr) << fileName << ": " << name;
    return function;
}

struct ImageDeleter {
    void operator()(CPLImage* image) const { CPLImage::Destroy(image); }
};
using ImagePtr = std::unique_ptr<CPLImage, ImageDeleter>;

// A named image, as the reader passes it; with pixels when a size is given.
inline ImagePtr namedImage(int width = 0, int height = 0) {
    ImagePtr image(CPLImage::Create());
    if (width > 0)
        image->CreateImage(L"image", width, height);
    else
        image->CreateImage(L"image");
    return image;
}

inline BMP_BGR pixel(int b, int g, int r) {
    return BMP_BGR{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r)};
}

inline BMP_BGR pixelAt(CPLImage& image, int x, int y) {
    BMP_BGR p{};
    EXPECT_TRUE(image.GetImagePixel(x, y, p)) << x << "," << y;
    return p;
}

inline std::pair<int, int> sizeOf(CPLImage& image) {
    int w = 0, h = 0;
    image.GetImageSize(w, h);
    return {w, h};
}

// Pseudo-random pixels with a fixed seed: every channel value occurs.
inline ImagePtr noiseImage(int width, int height, unsigned seed = 1) {
    ImagePtr image = namedImage(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetImagePixel(x, y, pixel(random() & 0xFF, random() & 0xFF, random() & 0xFF));
    return image;
}

// The whole pixel block, fill bytes included.
inline std::vector<unsigned char> pixelBytes(CPLImage& image) {
    auto [w, h] = sizeOf(image);
    auto* bits = reinterpret_cast<const unsigned char*>(image.GetBitmapBits());
    if (!bits)
        return {};
    return std::vector<unsigned char>(bits,
                                      bits + static_cast<std::size_t>(image.GetLineSize()) * h);
}

} // namespace lumo::test
