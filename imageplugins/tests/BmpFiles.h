#pragma once

// BMP files built byte by byte for the import tests.

#include <cstdint>
#include <functional>
#include <string>

namespace lumo::test {

inline void putLe(std::string& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A valid 24-bit bottom-up file; byte (x, fileRow, channel) of the pixel data
// is pixelByte(x, fileRow, channel), fill bytes are 0xAA so that a decoder
// copying them shows.
inline std::string bmpFile(int width, int height,
                           const std::function<unsigned char(int, int, int)>& pixelByte) {
    std::size_t stride = (3 * static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    std::string bytes(54 + stride * static_cast<std::size_t>(height), '\xAA');
    std::fill(bytes.begin(), bytes.begin() + 54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLe(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
    putLe(bytes, 10, 54, 4);
    putLe(bytes, 14, 40, 4);
    putLe(bytes, 18, static_cast<std::uint32_t>(width), 4);
    putLe(bytes, 22, static_cast<std::uint32_t>(height), 4);
    putLe(bytes, 26, 1, 2);
    putLe(bytes, 28, 24, 2);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                bytes[54 + static_cast<std::size_t>(row) * stride +
                      3 * static_cast<std::size_t>(x) + static_cast<std::size_t>(c)] =
                    static_cast<char>(pixelByte(x, row, c));
    return bytes;
}

// A recognisable value for every pixel byte of a small file.
inline unsigned char patternByte(int x, int fileRow, int channel) {
    return static_cast<unsigned char>(1 + x * 16 + fileRow * 4 + channel);
}

} // namespace lumo::test
