// read_memory_image of every import plug-in: a picture file held in a memory
// block decodes exactly as the file itself does, good or bad.
#include "BmpFiles.h"
#include "CodecFiles.h"
#include "StagedPlugins.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"
#include "tests/support/TempDir.h"

#include <cstring>

namespace lumo::test {
namespace {

// A kernel block holding `bytes`, as the reader hands a picture over.
struct MemoryBlock {
    explicit MemoryBlock(const std::string& bytes) {
        void* block = PL_Malloc(static_cast<int>(bytes.size()), false);
        if (!bytes.empty())
            std::memcpy(block, bytes.data(), bytes.size());
        data = CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL);
    }
    ~MemoryBlock() { CPLMemoryData::destroy(data); }
    CPLMemoryData* data;
};

struct Importer {
    const char* plugin;
    PFN_read_image read;
    PFN_read_memory_image readMemory;
};

Importer importer(const char* plugin) {
    return {plugin, stagedFunction<PFN_read_image>(plugin, "read_image"),
            stagedFunction<PFN_read_memory_image>(plugin, "read_memory_image")};
}

TEST(MemoryImport, EveryImporterDecodesABlockAsItDecodesTheFile) {
    TempDir dir;
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 37 * 21; ++i)
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(3 * i),
                               static_cast<std::uint8_t>(200 - i)});
    ASSERT_TRUE(writeJpeg(dir / "p.jpg", 37, 21, JpegKind::Colour, true, rgb));
    PngLayout layout{13, 7, 6, 8, true};
    for (int y = 0; y < 7; ++y) {
        layout.rows.emplace_back();
        for (int x = 0; x < 13; ++x)
            layout.rows.back().insert(
                layout.rows.back().end(),
                {std::uint16_t(x * 19), std::uint16_t(y * 30), 7, std::uint16_t(x * y * 3)});
    }
    ASSERT_TRUE(writePng(dir / "p.png", layout));
    const std::string bmp = bmpFile(5, 3, patternByte);
    const std::string jpeg = dir.read("p.jpg");
    const std::string png = dir.read("p.png");

    const struct {
        const char* plugin;
        const char* what;
        std::string bytes;
        bool decodes;
    } cases[] = {
        {"bmp_import_wince.iplg", "bmp", bmp, true},
        {"bmp_import_wince.iplg", "bmp without its last row", bmp.substr(0, bmp.size() - 16), true},
        {"bmp_import_wince.iplg", "bmp header cut", bmp.substr(0, 40), false},
        {"png_import_wince.iplg", "interlaced png with alpha", png, true},
        {"png_import_wince.iplg", "png cut in half", png.substr(0, png.size() / 2), false},
        {"png_import_wince.iplg", "jpeg given to png", jpeg, false},
        {"jpg_import_wince.iplg", "progressive jpeg", jpeg, true},
        {"jpg_import_wince.iplg", "jpeg cut in half", jpeg.substr(0, jpeg.size() / 2), false},
        {"jpg_import_wince.iplg", "two bytes", "\xFF\xD8", false},
    };
    for (const auto& c : cases) {
        const Importer import = importer(c.plugin);
        dir.write("case", c.bytes);
        ImagePtr fromFile = namedImage();
        ASSERT_EQ(import.read((dir / "case").wstring().c_str(), fromFile.get()), 1) << c.what;
        ImagePtr fromMemory = namedImage();
        MemoryBlock block(c.bytes);
        ASSERT_EQ(import.readMemory(block.data, fromMemory.get()), 1) << c.what;
        EXPECT_EQ(fromMemory->HasObject(), c.decodes) << c.what;
        EXPECT_EQ(sizeOf(*fromMemory), sizeOf(*fromFile)) << c.what;
        EXPECT_EQ(pixelBytes(*fromMemory), pixelBytes(*fromFile)) << c.what;
    }
}

TEST(MemoryImport, AMissingOrEmptyBlockIsRefused) {
    for (const char* plugin :
         {"bmp_import_wince.iplg", "png_import_wince.iplg", "jpg_import_wince.iplg"}) {
        const Importer import = importer(plugin);
        ImagePtr image = namedImage();
        EXPECT_EQ(import.readMemory(nullptr, image.get()), 0) << plugin;
        MemoryBlock empty("");
        EXPECT_EQ(import.readMemory(empty.data, image.get()), 0) << plugin;
        CPLMemoryData* none = CPLMemoryData::create();
        EXPECT_EQ(import.readMemory(none, image.get()), 0) << plugin;
        CPLMemoryData::destroy(none);
        EXPECT_FALSE(image->HasObject()) << plugin;
        // A block and no image: the block is there, nothing to fill.
        MemoryBlock some("BM");
        EXPECT_EQ(import.readMemory(some.data, nullptr), 1) << plugin;
    }
}

} // namespace
} // namespace lumo::test
