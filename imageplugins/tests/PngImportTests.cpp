#include "CodecFiles.h"
#include "StagedPlugins.h"
#include "picture/PLData.h"
#include "picture/PLFileData.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"
#include "tests/support/TempDir.h"

#include <functional>

namespace lumo::test {
namespace {

constexpr const char* kPlugin = "png_import_wince.iplg";
constexpr int W = 13, H = 7; // odd sizes: partial bytes at low depths, every interlace pass

struct PngImport {
    PFN_read_image read = stagedFunction<PFN_read_image>(kPlugin, "read_image");
    PFN_is_supported_image supported =
        stagedFunction<PFN_is_supported_image>(kPlugin, "is_supported_image");
    PFN_get_image_info info = stagedFunction<PFN_get_image_info>(kPlugin, "get_image_info");
};

// A pixel over white, rounded: what an 8-bit alpha composite must give.
int overWhite(int value, int alpha) {
    return (value * alpha + 255 * (255 - alpha) + 127) / 255;
}

BMP_BGR grey(int v) {
    return pixel(v, v, v);
}

struct Case {
    std::string name;
    PngLayout layout;
    std::function<BMP_BGR(int, int)> expected;
};

// Builds the rows of a layout from per-pixel samples.
PngLayout specOf(int colourType, int depth, bool interlaced,
                 const std::function<std::vector<std::uint16_t>(int, int)>& samples) {
    PngLayout layout;
    layout.width = W;
    layout.height = H;
    layout.colourType = colourType;
    layout.depth = depth;
    layout.interlaced = interlaced;
    for (int y = 0; y < H; ++y) {
        std::vector<std::uint16_t> row;
        for (int x = 0; x < W; ++x)
            for (std::uint16_t s : samples(x, y))
                row.push_back(s);
        layout.rows.push_back(row);
    }
    return layout;
}

int red(int x, int y) {
    return (x * 19 + y) % 256;
}
int green(int x, int y) {
    return (y * 37 + 5) % 256;
}
int blue(int x, int y) {
    return (x * y * 11) % 256;
}
int alpha(int x, int y) {
    return (x * 17 + y * 29) % 256;
}
std::uint16_t wide(int v) {
    return static_cast<std::uint16_t>(v * 257);
}
BMP_BGR paletteColour(int i) {
    return pixel(i * 73 % 256, 255 - i * 11 % 256, i * 37 % 256);
}

std::vector<Case> cases() {
    std::vector<Case> all;
    for (int depth : {1, 2, 4, 8}) {
        int top = (1 << depth) - 1;
        all.push_back(
            {"grey " + std::to_string(depth),
             specOf(0, depth, false,
                    [=](int x, int y) {
                        return std::vector<std::uint16_t>{
                            static_cast<std::uint16_t>((x * 5 + y * 3) % (top + 1))};
                    }),
             [=](int x, int y) { return grey((x * 5 + y * 3) % (top + 1) * 255 / top); }});
    }
    all.push_back({"grey 16",
                   specOf(0, 16, false,
                          [](int x, int y) { return std::vector<std::uint16_t>{wide(red(x, y))}; }),
                   [](int x, int y) { return grey(red(x, y)); }});
    Case keyed{"grey with transparent key",
               specOf(0, 8, false,
                      [](int x, int y) {
                          return std::vector<std::uint16_t>{
                              static_cast<std::uint16_t>((x + y) % 3 == 0 ? 0x40 : red(x, y) | 1)};
                      }),
               [](int x, int y) { return (x + y) % 3 == 0 ? grey(255) : grey(red(x, y) | 1); }};
    keyed.layout.greyKey = 0x40;
    all.push_back(keyed);
    all.push_back({"grey alpha 8",
                   specOf(4, 8, false,
                          [](int x, int y) {
                              return std::vector<std::uint16_t>{
                                  static_cast<std::uint16_t>(red(x, y)),
                                  static_cast<std::uint16_t>(alpha(x, y))};
                          }),
                   [](int x, int y) { return grey(overWhite(red(x, y), alpha(x, y))); }});
    all.push_back(
        {"grey alpha 16",
         specOf(4, 16, false,
                [](int x, int y) {
                    return std::vector<std::uint16_t>{wide(red(x, y)), wide((x + y) % 2 ? 255 : 0)};
                }),
         [](int x, int y) { return (x + y) % 2 ? grey(red(x, y)) : grey(255); }});
    for (bool interlaced : {false, true})
        all.push_back({interlaced ? "rgb 8 interlaced" : "rgb 8",
                       specOf(2, 8, interlaced,
                              [](int x, int y) {
                                  return std::vector<std::uint16_t>{
                                      static_cast<std::uint16_t>(red(x, y)),
                                      static_cast<std::uint16_t>(green(x, y)),
                                      static_cast<std::uint16_t>(blue(x, y))};
                              }),
                       [](int x, int y) { return pixel(blue(x, y), green(x, y), red(x, y)); }});
    all.push_back({"rgb 16",
                   specOf(2, 16, false,
                          [](int x, int y) {
                              return std::vector<std::uint16_t>{wide(red(x, y)), wide(green(x, y)),
                                                                wide(blue(x, y))};
                          }),
                   [](int x, int y) { return pixel(blue(x, y), green(x, y), red(x, y)); }});
    for (bool interlaced : {false, true})
        all.push_back({interlaced ? "rgba 8 interlaced" : "rgba 8",
                       specOf(6, 8, interlaced,
                              [](int x, int y) {
                                  return std::vector<std::uint16_t>{
                                      static_cast<std::uint16_t>(red(x, y)),
                                      static_cast<std::uint16_t>(green(x, y)),
                                      static_cast<std::uint16_t>(blue(x, y)),
                                      static_cast<std::uint16_t>(alpha(x, y))};
                              }),
                       [](int x, int y) {
                           int a = alpha(x, y);
                           return pixel(overWhite(blue(x, y), a), overWhite(green(x, y), a),
                                        overWhite(red(x, y), a));
                       }});
    all.push_back({"rgba 16",
                   specOf(6, 16, false,
                          [](int x, int y) {
                              return std::vector<std::uint16_t>{wide(red(x, y)), wide(green(x, y)),
                                                                wide(blue(x, y)),
                                                                wide(x % 3 ? 255 : 0)};
                          }),
                   [](int x, int y) {
                       return x % 3 ? pixel(blue(x, y), green(x, y), red(x, y)) : grey(255);
                   }});
    for (int depth : {1, 2, 4, 8}) {
        int count = 1 << depth;
        for (bool interlaced : {false, true}) {
            if (interlaced && depth != 4)
                continue;
            Case c{"palette " + std::to_string(depth) + (interlaced ? " interlaced" : ""),
                   specOf(3, depth, interlaced,
                          [=](int x, int y) {
                              return std::vector<std::uint16_t>{
                                  static_cast<std::uint16_t>((x * 3 + y) % count)};
                          }),
                   [=](int x, int y) { return paletteColour((x * 3 + y) % count); }};
            for (int i = 0; i < count; ++i) {
                BMP_BGR p = paletteColour(i);
                c.layout.palette.insert(c.layout.palette.end(), {p.red, p.green, p.blue});
            }
            all.push_back(c);
        }
    }
    Case translucent{
        "palette with alpha",
        specOf(3, 8, false,
               [](int x, int y) {
                   return std::vector<std::uint16_t>{static_cast<std::uint16_t>((x * 3 + y) % 40)};
               }),
        [](int x, int y) {
            int i = (x * 3 + y) % 40;
            BMP_BGR p = paletteColour(i);
            int a = i < 20 ? i * 13 : 255; // entries past the alpha table are opaque
            return pixel(overWhite(p.blue, a), overWhite(p.green, a), overWhite(p.red, a));
        }};
    for (int i = 0; i < 40; ++i) {
        BMP_BGR p = paletteColour(i);
        translucent.layout.palette.insert(translucent.layout.palette.end(),
                                          {p.red, p.green, p.blue});
    }
    for (int i = 0; i < 20; ++i)
        translucent.layout.paletteAlpha.push_back(static_cast<std::uint8_t>(i * 13));
    all.push_back(translucent);
    return all;
}

TEST(PngImport, EveryColourTypeAndDepthDecodesToItsPixels) {
    PngImport png;
    TempDir dir;
    for (const Case& c : cases()) {
        std::filesystem::path file = dir / "case.png";
        ASSERT_TRUE(writePng(file, c.layout)) << c.name;
        ImagePtr image = namedImage();
        ASSERT_EQ(png.read(file.wstring().c_str(), image.get()), 1) << c.name;
        ASSERT_EQ(sizeOf(*image), std::make_pair(W, H)) << c.name;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                ASSERT_EQ(pixelAt(*image, x, y), c.expected(x, y))
                    << c.name << " at " << x << "," << y;
        std::vector<unsigned char> bytes = pixelBytes(*image);
        EXPECT_EQ(bytes[39], 0) << c.name << ": the fill byte stays zero";
    }
}

TEST(PngImport, HeaderTestsForFilesAndMemoryBlocks) {
    PngImport png;
    TempDir dir;
    PngLayout rgba = specOf(6, 16, false, [](int, int) {
        return std::vector<std::uint16_t>{1, 2, 3, 4};
    });
    ASSERT_TRUE(writePng(dir / "good.png", rgba));
    std::string good = dir.read("good.png");
    auto with = [&](std::size_t at, char value) {
        std::string bytes = good;
        bytes[at] = value;
        return bytes;
    };
    const struct {
        const char* what;
        std::string bytes;
        int result;
    } rows[] = {
        {"valid", good, 1},
        {"signature", with(1, 'Q'), 0},
        {"cut in the header", good.substr(0, 30), 0},
        {"bit depth 3", with(24, 3), 0},
        {"colour type 5", with(25, 5), 0},
        {"palette of 16 bits", with(25, 3), 0},
        {"unknown interlace", with(28, 2), 0},
        {"zero height", good.substr(0, 20) + std::string(4, '\0') + good.substr(24), 0},
        {"wider than 16384",
         good.substr(0, 16) + std::string("\x00\x00\x40\x01", 4) + good.substr(20), 0},
        {"a BMP file", "BM" + std::string(60, '\0'), 0},
    };
    for (const auto& row : rows) {
        dir.write("case.png", row.bytes);
        CPLData file(L"file", CPLFileData::create((dir / "case.png").wstring().c_str()));
        EXPECT_EQ(png.supported(&file), row.result) << row.what;
        void* block = PL_Malloc(static_cast<int>(row.bytes.size()), false);
        std::memcpy(block, row.bytes.data(), row.bytes.size());
        CPLData memory(L"memory", CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL));
        EXPECT_EQ(png.supported(&memory), row.result) << row.what;
        int w = 0, h = 0, bits = 0;
        EXPECT_EQ(png.info(&memory, &w, &h, &bits), row.result) << row.what;
        if (row.result) {
            EXPECT_EQ(w, W);
            EXPECT_EQ(h, H);
            EXPECT_EQ(bits, 64) << "16 bits for each of four channels";
        }
    }
    EXPECT_EQ(png.supported(nullptr), 0);
    int w, h, b;
    EXPECT_EQ(png.info(nullptr, &w, &h, &b), 0);
}

TEST(PngImport, BrokenFilesOpenButGiveNoPixels) {
    PngImport png;
    TempDir dir;
    // Noise does not compress, so half the file is half the picture data.
    PngLayout noise = specOf(2, 8, false, [](int x, int y) {
        unsigned v = static_cast<unsigned>(x * 2654435761u ^ y * 40503u);
        return std::vector<std::uint16_t>{static_cast<std::uint16_t>(v & 0xFF),
                                          static_cast<std::uint16_t>(v >> 8 & 0xFF),
                                          static_cast<std::uint16_t>(v >> 16 & 0xFF)};
    });
    ASSERT_TRUE(writePng(dir / "noise.png", noise));
    std::string bytes = dir.read("noise.png");
    std::string badCrc = bytes;
    badCrc[bytes.size() - 20] ^= 0x55; // inside the picture data
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"half.png", bytes.substr(0, bytes.size() / 2)},
        {"no-end.png", bytes.substr(0, bytes.size() - 12)},
        {"header-only.png", bytes.substr(0, 33)},
        {"bad-data.png", badCrc},
        {"empty.png", ""},
        {"text.png", "just some text that is not a picture"},
    };
    for (const auto& f : files) {
        dir.write(f.name, f.bytes);
        ImagePtr image = namedImage();
        EXPECT_EQ(png.read((dir / f.name).wstring().c_str(), image.get()), 1) << f.name;
        EXPECT_FALSE(image->HasObject()) << f.name;
        EXPECT_TRUE(image->RenewalImage(1, 1)) << f.name << ": still named, so usable again";
    }
    ImagePtr image = namedImage();
    EXPECT_EQ(png.read(nullptr, image.get()), 0);
    EXPECT_EQ(png.read(L"", image.get()), 0);
    EXPECT_EQ(png.read((dir / "absent.png").wstring().c_str(), image.get()), 0);
    ImagePtr unnamed(CPLImage::Create());
    EXPECT_EQ(png.read((dir / "noise.png").wstring().c_str(), unnamed.get()), 1);
    EXPECT_FALSE(unnamed->HasObject());
}

TEST(PngImport, RefusesPicturesAboveTheSizeLimits) {
    PngImport png;
    TempDir dir;
    const struct {
        int width, height;
        bool accepted;
    } rows[] = {{16385, 1, false}, {1, 16385, false}, {16384, 11000, false}, {16384, 2, true}};
    for (const auto& row : rows) {
        PngLayout layout;
        layout.width = row.width;
        layout.height = row.height;
        layout.colourType = 0;
        layout.depth = 1;
        layout.rows.assign(static_cast<std::size_t>(row.height),
                           std::vector<std::uint16_t>(static_cast<std::size_t>(row.width), 1));
        ASSERT_TRUE(writePng(dir / "big.png", layout));
        std::wstring path = (dir / "big.png").wstring();
        CPLData file(L"file", CPLFileData::create(path.c_str()));
        EXPECT_EQ(png.supported(&file), row.accepted ? 1 : 0) << row.width << "x" << row.height;
        ImagePtr image = namedImage();
        EXPECT_EQ(png.read(path.c_str(), image.get()), 1);
        EXPECT_EQ(image->HasObject(), row.accepted) << row.width << "x" << row.height;
        if (row.accepted) {
            EXPECT_EQ(pixelAt(*image, row.width - 1, row.height - 1), grey(255));
        }
    }
}

TEST(PngImport, SharedImportFunctionsAndNames) {
    auto list = stagedFunction<PFN_get_supported_file_list>(kPlugin, "get_supported_file_list");
    std::wstring description, patterns;
    EXPECT_EQ(list(&description, &patterns), 1);
    EXPECT_EQ(description, L"PNG File");
    EXPECT_EQ(patterns, L"*.PNG");
    EXPECT_FALSE(stagedFunction<PFN_get_copyright_info>(kPlugin, "get_copyright_info")().empty());
    EXPECT_EQ(stagedFunction<PFN_read_image>("PNG_import_wince.iplg", "read_image"),
              stagedFunction<PFN_read_image>(kPlugin, "read_image"));

    TempDir dir;
    dir.write("x.png", "whatever bytes");
    CPLMemoryData* data = CPLMemoryData::create();
    ASSERT_EQ(stagedFunction<PFN_get_bmp_data>(kPlugin, "get_bmp_data")(
                  (dir / "x.png").wstring().c_str(), data),
              1);
    EXPECT_EQ(data->get_size(), 14u);
    CPLMemoryData::destroy(data);

    BITMAPINFOHEADER header{40, 1, 2, 1, 24, 0, 0, 0, 0, 0, 0};
    unsigned char bits[8] = {1, 2, 3, 0, 4, 5, 6, 0};
    ImagePtr image = namedImage();
    ASSERT_EQ(stagedFunction<PFN_attach_memory_image>(kPlugin, "attach_memory_image")(&header, bits,
                                                                                      image.get()),
              1);
    EXPECT_EQ(pixelAt(*image, 0, 0), pixel(4, 5, 6));
}

} // namespace
} // namespace lumo::test
