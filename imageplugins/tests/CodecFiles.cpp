#include "CodecFiles.h"

#include <png.h>

#include <cstdio>
// jpeglib.h needs size_t and FILE first.
#include <jpeglib.h>

namespace lumo::test {

namespace {

// Packs one row of samples at the layout's depth, big-endian for 16 bits.
std::vector<std::uint8_t> packRow(const PngLayout& layout,
                                  const std::vector<std::uint16_t>& samples) {
    std::vector<std::uint8_t> out;
    if (layout.depth == 16) {
        for (std::uint16_t s : samples) {
            out.push_back(static_cast<std::uint8_t>(s >> 8));
            out.push_back(static_cast<std::uint8_t>(s));
        }
        return out;
    }
    if (layout.depth == 8) {
        for (std::uint16_t s : samples)
            out.push_back(static_cast<std::uint8_t>(s));
        return out;
    }
    int perByte = 8 / layout.depth;
    out.assign((samples.size() + static_cast<std::size_t>(perByte) - 1) /
                   static_cast<std::size_t>(perByte),
               0);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        int shift =
            8 - layout.depth * (static_cast<int>(i % static_cast<std::size_t>(perByte)) + 1);
        out[i / static_cast<std::size_t>(perByte)] |=
            static_cast<std::uint8_t>(samples[i] << shift);
    }
    return out;
}

} // namespace

bool writePng(const std::filesystem::path& file, const PngLayout& layout) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<std::vector<std::uint8_t>> packed;
    for (const auto& row : layout.rows)
        packed.push_back(packRow(layout, row));
    std::vector<png_bytep> pointers;
    for (auto& row : packed)
        pointers.push_back(row.data());
    bool ok = false;
    if (!setjmp(png_jmpbuf(png))) {
        png_init_io(png, out);
        png_set_IHDR(png, info, static_cast<png_uint_32>(layout.width),
                     static_cast<png_uint_32>(layout.height), layout.depth, layout.colourType,
                     layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (!layout.palette.empty())
            png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(layout.palette.data()),
                         static_cast<int>(layout.palette.size() / 3));
        if (!layout.paletteAlpha.empty())
            png_set_tRNS(png, info, layout.paletteAlpha.data(),
                         static_cast<int>(layout.paletteAlpha.size()), nullptr);
        if (layout.greyKey >= 0) {
            png_color_16 key{};
            key.gray = static_cast<png_uint_16>(layout.greyKey);
            png_set_tRNS(png, info, nullptr, 0, &key);
        }
        png_set_rows(png, info, pointers.data());
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
    return ok;
}

bool writeJpeg(const std::filesystem::path& file, int width, int height, JpegKind kind,
               bool progressive, const std::vector<std::uint8_t>& pixels) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    int components = kind == JpegKind::Grey ? 1 : kind == JpegKind::Colour ? 3 : 4;
    info.input_components = components;
    info.in_color_space = kind == JpegKind::Grey     ? JCS_GRAYSCALE
                          : kind == JpegKind::Colour ? JCS_RGB
                                                     : JCS_CMYK;
    jpeg_set_defaults(&info);
    if (kind == JpegKind::InvertedCmyk)
        jpeg_set_colorspace(&info, JCS_YCCK); // writes the Adobe marker
    jpeg_set_quality(&info, 100, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(pixels.data()) + static_cast<std::size_t>(info.next_scanline) *
                                                      static_cast<std::size_t>(width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
    return true;
}

std::vector<std::uint8_t> decodeJpegRgb(const std::filesystem::path& file, int& width,
                                        int& height) {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in)
        return {};
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, in);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) *
                                     static_cast<std::size_t>(height) * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + static_cast<std::size_t>(info.output_scanline) *
                                           static_cast<std::size_t>(width) * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(in);
    return pixels;
}

} // namespace lumo::test
