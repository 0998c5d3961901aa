#pragma once

// PNG and JPEG files written with the libraries themselves for the import
// tests, and the JPEG library's own decode as the reference.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lumo::test {

struct PngLayout {
    int width = 0;
    int height = 0;
    int colourType = 0; // PNG colour type 0, 2, 3, 4 or 6
    int depth = 8;
    bool interlaced = false;
    // Samples row by row, one value per channel (16-bit values for depth 16,
    // palette indices for type 3), packed by the writer.
    std::vector<std::vector<std::uint16_t>> rows{};
    std::vector<std::uint8_t> palette{}; // r, g, b triples
    std::vector<std::uint8_t> paletteAlpha{};
    int greyKey = -1; // transparent grey value (type 0)
};

// False when libpng refused the layout.
bool writePng(const std::filesystem::path& file, const PngLayout& layout);

enum class JpegKind { Colour, Grey, InvertedCmyk };

// Pixels are r, g, b per pixel (one grey byte for Grey, c, m, y, k for ink).
bool writeJpeg(const std::filesystem::path& file, int width, int height, JpegKind kind,
               bool progressive, const std::vector<std::uint8_t>& pixels);

// libjpeg's own decode to r, g, b triples, top row first.
std::vector<std::uint8_t> decodeJpegRgb(const std::filesystem::path& file, int& width, int& height);

} // namespace lumo::test
