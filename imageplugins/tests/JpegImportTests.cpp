#include "CodecFiles.h"
#include "StagedPlugins.h"
#include "picture/PLData.h"
#include "picture/PLFileData.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"
#include "tests/support/TempDir.h"

#include <cstdlib>

namespace lumo::test {
namespace {

constexpr const char* kPlugin = "jpg_import_wince.iplg";
constexpr int W = 37, H = 21; // not whole 8 x 8 or 16 x 16 blocks

struct JpegImport {
    PFN_read_image read = stagedFunction<PFN_read_image>(kPlugin, "read_image");
    PFN_is_supported_image supported =
        stagedFunction<PFN_is_supported_image>(kPlugin, "is_supported_image");
    PFN_get_image_info info = stagedFunction<PFN_get_image_info>(kPlugin, "get_image_info");
};

// Smooth colours, which survive quality-100 compression closely.
int red(int x, int y) {
    return 40 + x * 4 + y;
}
int green(int x, int y) {
    return 200 - y * 6;
}
int blue(int x, int y) {
    return 90 + (x + y) * 2;
}

std::vector<std::uint8_t> source(JpegKind kind) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            auto r = static_cast<std::uint8_t>(red(x, y)),
                 g = static_cast<std::uint8_t>(green(x, y)),
                 b = static_cast<std::uint8_t>(blue(x, y));
            if (kind == JpegKind::Grey)
                pixels.push_back(r);
            else if (kind == JpegKind::Colour)
                pixels.insert(pixels.end(), {r, g, b});
            else // inverted ink as Adobe stores it: no black, inks 255 - light
                pixels.insert(pixels.end(), {r, g, b, 255});
        }
    return pixels;
}

BMP_BGR original(JpegKind kind, int x, int y) {
    if (kind == JpegKind::Grey)
        return pixel(red(x, y), red(x, y), red(x, y));
    return pixel(blue(x, y), green(x, y), red(x, y));
}

int distance(BMP_BGR a, BMP_BGR b) {
    return std::max(
        {std::abs(a.blue - b.blue), std::abs(a.green - b.green), std::abs(a.red - b.red)});
}

TEST(JpegImport, ColourGreyProgressiveAndInkPicturesDecode) {
    const struct {
        const char* what;
        JpegKind kind;
        bool progressive;
        int bits;
    } rows[] = {
        {"baseline colour", JpegKind::Colour, false, 24},
        {"progressive colour", JpegKind::Colour, true, 24},
        {"grey", JpegKind::Grey, false, 8},
        {"progressive grey", JpegKind::Grey, true, 8},
        {"Adobe ink", JpegKind::InvertedCmyk, false, 32},
    };
    JpegImport jpeg;
    TempDir dir;
    for (const auto& row : rows) {
        std::filesystem::path file = dir / "case.jpg";
        ASSERT_TRUE(writeJpeg(file, W, H, row.kind, row.progressive, source(row.kind))) << row.what;
        CPLData data(L"file", CPLFileData::create(file.wstring().c_str()));
        EXPECT_EQ(jpeg.supported(&data), 1) << row.what;
        int w = 0, h = 0, bits = 0;
        EXPECT_EQ(jpeg.info(&data, &w, &h, &bits), 1) << row.what;
        EXPECT_EQ(std::make_pair(w, h), std::make_pair(W, H)) << row.what;
        EXPECT_EQ(bits, row.bits) << row.what;

        ImagePtr image = namedImage();
        ASSERT_EQ(jpeg.read(file.wstring().c_str(), image.get()), 1) << row.what;
        ASSERT_EQ(sizeOf(*image), std::make_pair(W, H)) << row.what;
        int worst = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                worst = std::max(worst, distance(pixelAt(*image, x, y), original(row.kind, x, y)));
        EXPECT_LE(worst, 6) << row.what << ": the picture written, within compression error";

        if (row.kind == JpegKind::InvertedCmyk)
            continue;
        // Colour and grey pictures are exactly what the library's own decode gives.
        int rw = 0, rh = 0;
        std::vector<std::uint8_t> reference = decodeJpegRgb(file, rw, rh);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const std::uint8_t* p =
                    reference.data() + (static_cast<std::size_t>(y) * W + x) * 3;
                ASSERT_EQ(pixelAt(*image, x, y), pixel(p[2], p[1], p[0]))
                    << row.what << " at " << x << "," << y;
            }
        EXPECT_EQ(pixelBytes(*image)[3 * W], 0) << "fill byte";
    }
}

TEST(JpegImport, TruncatedAndForeignFilesOpenButGiveNoPixels) {
    JpegImport jpeg;
    TempDir dir;
    std::string files[2];
    for (bool progressive : {false, true}) {
        ASSERT_TRUE(writeJpeg(dir / "whole.jpg", W, H, JpegKind::Colour, progressive,
                              source(JpegKind::Colour)));
        files[progressive] = dir.read("whole.jpg");
    }
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"half.jpg", files[0].substr(0, files[0].size() / 2)},
        {"half-progressive.jpg", files[1].substr(0, files[1].size() / 2)},
        {"no-end-marker.jpg", files[0].substr(0, files[0].size() - 2)},
        {"headers-only.jpg", files[0].substr(0, 200)},
        {"start-only.jpg", "\xFF\xD8"},
        {"empty.jpg", ""},
        {"png.jpg", "\x89PNG\r\n\x1A\n"},
    };
    for (const auto& c : cases) {
        dir.write(c.name, c.bytes);
        ImagePtr image = namedImage();
        EXPECT_EQ(jpeg.read((dir / c.name).wstring().c_str(), image.get()), 1) << c.name;
        EXPECT_FALSE(image->HasObject()) << c.name;
        EXPECT_TRUE(image->RenewalImage(1, 1)) << c.name << ": still named";
    }
    ImagePtr image = namedImage();
    EXPECT_EQ(jpeg.read(nullptr, image.get()), 0);
    EXPECT_EQ(jpeg.read((dir / "absent.jpg").wstring().c_str(), image.get()), 0);
}

TEST(JpegImport, StreamsWithEndlessScansAreRefused) {
    JpegImport jpeg;
    TempDir dir;
    ASSERT_TRUE(writeJpeg(dir / "p.jpg", W, H, JpegKind::Colour, true, source(JpegKind::Colour)));
    std::string bytes = dir.read("p.jpg");
    std::size_t lastScan = bytes.rfind("\xFF\xDA");
    std::size_t end = bytes.rfind("\xFF\xD9");
    ASSERT_LT(lastScan, end);
    std::string scan = bytes.substr(lastScan, end - lastScan);
    const struct {
        int copies;
        bool decodes;
    } rows[] = {{20, true}, {600, false}};
    for (const auto& row : rows) {
        std::string many = bytes.substr(0, end);
        for (int i = 0; i < row.copies; ++i)
            many += scan;
        dir.write("many.jpg", many + "\xFF\xD9");
        ImagePtr image = namedImage();
        EXPECT_EQ(jpeg.read((dir / "many.jpg").wstring().c_str(), image.get()), 1);
        EXPECT_EQ(image->HasObject(), row.decodes) << row.copies << " extra scans";
    }
}

TEST(JpegImport, HeaderTestsWalkTheMarkers) {
    JpegImport jpeg;
    TempDir dir;
    ASSERT_TRUE(
        writeJpeg(dir / "good.jpg", W, H, JpegKind::Colour, false, source(JpegKind::Colour)));
    std::string good = dir.read("good.jpg");
    std::size_t frame = good.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    auto with = [&](std::size_t at, std::string bytes) {
        return std::string(good).replace(at, bytes.size(), bytes);
    };
    const struct {
        const char* what;
        std::string bytes;
        int result;
        bool decodes; // libjpeg is more lenient than the header test
    } rows[] = {
        {"valid", good, 1, true},
        {"frame after a long application block",
         good.substr(0, 2) + "\xFF\xE1\x10\x02" + std::string(0x1000, 'x') + good.substr(2), 1,
         true},
        {"12-bit samples", with(frame + 4, "\x0C"), 0, false},
        {"two components", with(frame + 9, "\x02"), 0, false},
        {"wider than 16384", with(frame + 7, "\x40\x01"), 0, false},
        {"zero height", with(frame + 5, std::string(2, '\0')), 0, false},
        {"no start marker", good.substr(2), 0, false},
        {"cut before the frame", good.substr(0, frame), 0, false},
        {"a marker length below 2",
         good.substr(0, 2) + std::string("\xFF\xE0\x00\x01", 4) + good.substr(2), 0, true},
    };
    for (const auto& row : rows) {
        dir.write("case.jpg", row.bytes);
        CPLData file(L"file", CPLFileData::create((dir / "case.jpg").wstring().c_str()));
        EXPECT_EQ(jpeg.supported(&file), row.result) << row.what;
        void* block = PL_Malloc(static_cast<int>(row.bytes.size()), false);
        std::memcpy(block, row.bytes.data(), row.bytes.size());
        CPLData memory(L"memory", CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL));
        int w = 0, h = 0, bits = 0;
        EXPECT_EQ(jpeg.info(&memory, &w, &h, &bits), row.result) << row.what;
        ImagePtr image = namedImage();
        EXPECT_EQ(jpeg.read((dir / "case.jpg").wstring().c_str(), image.get()), 1);
        EXPECT_EQ(image->HasObject(), row.decodes) << row.what;
    }
}

TEST(JpegImport, LoadsUnderEveryExtensionName) {
    auto read = stagedFunction<PFN_read_image>(kPlugin, "read_image");
    for (const char* name :
         {"jpeg_import_wince.iplg", "JPG_import_wince.iplg", "JPEG_import_wince.iplg"})
        EXPECT_EQ(stagedFunction<PFN_read_image>(name, "read_image"), read) << name;
    std::wstring description, patterns;
    EXPECT_EQ(stagedFunction<PFN_get_supported_file_list>(kPlugin, "get_supported_file_list")(
                  &description, &patterns),
              1);
    EXPECT_EQ(description, L"JPEG File");
    EXPECT_EQ(patterns, L"*.JPG");
    EXPECT_FALSE(stagedFunction<PFN_get_copyright_info>(kPlugin, "get_copyright_info")().empty());
}

} // namespace
} // namespace lumo::test
