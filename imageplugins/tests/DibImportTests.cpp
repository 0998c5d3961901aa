#include "BmpFiles.h"
#include "StagedPlugins.h"
#include "picture/PLData.h"
#include "picture/PLFileData.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"
#include "tests/support/TempDir.h"

namespace lumo::test {
namespace {

constexpr const char* kPlugin = "bmp_import_wince.iplg";

struct DibImport {
    PFN_read_image read = stagedFunction<PFN_read_image>(kPlugin, "read_image");
    PFN_is_supported_image supported =
        stagedFunction<PFN_is_supported_image>(kPlugin, "is_supported_image");
    PFN_get_image_info info = stagedFunction<PFN_get_image_info>(kPlugin, "get_image_info");
    PFN_get_bmp_data data = stagedFunction<PFN_get_bmp_data>(kPlugin, "get_bmp_data");
    PFN_attach_memory_image attach =
        stagedFunction<PFN_attach_memory_image>(kPlugin, "attach_memory_image");
};

// is_supported_image on the bytes as a memory block.
int supportedInMemory(const DibImport& dib, const std::string& bytes) {
    void* block = PL_Malloc(static_cast<int>(bytes.size()), false);
    std::memcpy(block, bytes.data(), bytes.size());
    CPLData data(L"memory", CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL));
    return dib.supported(&data);
}

TEST(DibImport, HeaderTestsDecideSupportAndInfo) {
    const struct {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
        int width; // of the field
        int supported;
        int info;
    } rows[] = {
        {"valid file", 0, 'B', 1, 1, 1},
        {"top-down rows", 22, static_cast<std::uint32_t>(-2), 4, 1, 0},
        {"8-bit palette", 28, 8, 2, 0, 0},
        {"reserved 1 set", 6, 1, 2, 0, 1},
        {"reserved 2 set", 8, 1, 2, 0, 1},
        {"other signature", 0, 'X', 1, 0, 1},
        {"core header size", 14, 12, 4, 0, 1},
        {"two planes", 26, 2, 2, 0, 1},
        {"compressed", 30, 1, 4, 0, 1},
        {"no pixel offset", 10, 0, 4, 0, 1},
        {"zero width", 18, 0, 4, 0, 0},
        {"negative width", 18, static_cast<std::uint32_t>(-2), 4, 1, 0},
        {"colours used at the limit", 46, 1u << 24, 4, 1, 1},
        {"colours used above the limit", 46, (1u << 24) + 1, 4, 0, 1},
        {"colours used with the sign bit", 46, 0x80000000u, 4, 0, 1},
    };
    DibImport dib;
    TempDir dir;
    for (const auto& row : rows) {
        std::string bytes = bmpFile(2, 2, patternByte);
        putLe(bytes, row.offset, row.value, row.width);
        dir.write("case.bmp", bytes);
        std::wstring path = (dir / "case.bmp").wstring();
        CPLData file(L"file", CPLFileData::create(path.c_str()));
        EXPECT_EQ(dib.supported(&file), row.supported) << row.what << " (file)";
        EXPECT_EQ(supportedInMemory(dib, bytes), row.supported) << row.what << " (memory)";
        int w = -1, h = -1, bits = -1;
        EXPECT_EQ(dib.info(&file, &w, &h, &bits), row.info) << row.what;
        EXPECT_EQ(bits, row.offset == 28 ? 8 : 24) << row.what;
    }
}

TEST(DibImport, TestFunctionsRefuseWhatTheyCannotExamine) {
    DibImport dib;
    std::string bytes = bmpFile(2, 2, patternByte);
    EXPECT_EQ(supportedInMemory(dib, bytes.substr(0, 53)), 0) << "shorter than both headers";
    EXPECT_EQ(dib.supported(nullptr), 0);
    CPLData nothing(L"nothing");
    EXPECT_EQ(dib.supported(&nothing), 0);
    CPLData missing(L"file", CPLFileData::create(L"/nonexistent/picture.bmp"));
    EXPECT_EQ(dib.supported(&missing), 0);
    int w, h, b;
    EXPECT_EQ(dib.info(&missing, &w, &h, &b), 0);
    EXPECT_EQ(dib.info(nullptr, &w, &h, &b), 0);
    void* block = PL_Malloc(static_cast<int>(bytes.size()), false);
    std::memcpy(block, bytes.data(), bytes.size());
    CPLData memory(L"memory", CPLMemoryData::create(block, CPLMemoryData::MEMORY_KERNEL));
    EXPECT_EQ(dib.info(&memory, &w, &h, &b), 0) << "memory blocks are not examined";

    TempDir dir;
    dir.write("short.bmp", bytes.substr(0, 30));
    CPLData shortFile(L"file", CPLFileData::create((dir / "short.bmp").wstring().c_str()));
    EXPECT_EQ(dib.supported(&shortFile), 0);
    EXPECT_EQ(dib.info(&shortFile, &w, &h, &b), 0);
}

TEST(DibImport, ReadsRowsBottomUpAndLeavesFillBytesZero) {
    DibImport dib;
    TempDir dir;
    dir.write("two.bmp", bmpFile(2, 2, patternByte));
    ImagePtr image = namedImage();
    ASSERT_EQ(dib.read((dir / "two.bmp").wstring().c_str(), image.get()), 1);
    ASSERT_EQ(sizeOf(*image), std::make_pair(2, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            int fileRow = 1 - y; // the top image row is the file's last row
            EXPECT_EQ(pixelAt(*image, x, y),
                      pixel(patternByte(x, fileRow, 0), patternByte(x, fileRow, 1),
                            patternByte(x, fileRow, 2)))
                << x << "," << y;
        }
    std::vector<unsigned char> bytes = pixelBytes(*image);
    for (std::size_t fill : {6u, 7u, 14u, 15u})
        EXPECT_EQ(bytes[fill], 0) << "fill byte " << fill << " of the file is not copied";
}

TEST(DibImport, ReadResultsFollowTheContract) {
    DibImport dib;
    TempDir dir;
    dir.write("two.bmp", bmpFile(2, 2, patternByte));
    std::wstring path = (dir / "two.bmp").wstring();
    ImagePtr image = namedImage();
    EXPECT_EQ(dib.read(nullptr, image.get()), 0);
    EXPECT_EQ(dib.read(L"", image.get()), 0);
    EXPECT_EQ(dib.read((dir / "absent.bmp").wstring().c_str(), image.get()), 0);

    ImagePtr unnamed(CPLImage::Create());
    EXPECT_EQ(dib.read(path.c_str(), unnamed.get()), 1) << "opened, though not decoded";
    EXPECT_FALSE(unnamed->HasObject());

    std::string palette = bmpFile(2, 2, patternByte);
    putLe(palette, 28, 8, 2);
    dir.write("palette.bmp", palette);
    EXPECT_EQ(dib.read((dir / "palette.bmp").wstring().c_str(), image.get()), 1);
    EXPECT_TRUE(image->HasObject()) << "the bytes are decoded as 24-bit pixels all the same";
}

// Malformed files, each written by the test: none may crash or read out of
// bounds (a sanitizer build checks the latter), and each has a defined result.
TEST(DibImport, MalformedFilesNeverCrashAndDecodeSafely) {
    enum Expect { NoPixels, Pixels };
    std::string valid = bmpFile(4, 3, patternByte);
    auto with = [&](std::size_t at, std::uint32_t value) {
        std::string bytes = valid;
        putLe(bytes, at, value, 4);
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
        Expect expect;
        std::pair<int, int> size;
    } files[] = {
        {"empty.bmp", "", NoPixels, {0, 0}},
        {"ten-bytes.bmp", valid.substr(0, 10), NoPixels, {0, 0}},
        {"headers-only.bmp", valid.substr(0, 54), Pixels, {4, 3}},
        {"half-the-rows.bmp", valid.substr(0, 54 + 12 + 5), Pixels, {4, 3}},
        {"huge-claim.bmp",
         with(18, 2000000000).replace(22, 4, std::string("\x00\x94\x35\x77", 4)),
         NoPixels,
         {0, 0}},
        {"wide-claim.bmp", with(18, 0x7FFFFFFF), NoPixels, {0, 0}},
        {"tall-claim.bmp", with(22, 0x7FFFFFFF), NoPixels, {0, 0}},
        {"offset-past-end.bmp", with(10, 0xFFFFFF00u), Pixels, {4, 3}},
        {"negative-width.bmp", with(18, static_cast<std::uint32_t>(-4)), NoPixels, {0, 0}},
        {"zero-height.bmp", with(22, 0), NoPixels, {0, 0}},
    };
    DibImport dib;
    TempDir dir;
    for (const auto& file : files) {
        dir.write(file.name, file.bytes);
        std::wstring path = (dir / file.name).wstring();
        ImagePtr image = namedImage();
        EXPECT_EQ(dib.read(path.c_str(), image.get()), 1) << file.name;
        EXPECT_EQ(image->HasObject(), file.expect == Pixels) << file.name;
        EXPECT_EQ(sizeOf(*image), file.size) << file.name;
        CPLData data(L"file", CPLFileData::create(path.c_str()));
        dib.supported(&data);
        int w, h, b;
        dib.info(&data, &w, &h, &b);
    }

    // Rows past the end of a cut file read as black; the rows that are there
    // keep their bytes. Bottom file row first: image row 2 complete, row 1 cut.
    ImagePtr cut = namedImage();
    dib.read((dir / "half-the-rows.bmp").wstring().c_str(), cut.get());
    EXPECT_EQ(pixelAt(*cut, 3, 2),
              pixel(patternByte(3, 0, 0), patternByte(3, 0, 1), patternByte(3, 0, 2)));
    EXPECT_EQ(pixelAt(*cut, 0, 1),
              pixel(patternByte(0, 1, 0), patternByte(0, 1, 1), patternByte(0, 1, 2)));
    EXPECT_EQ(pixelAt(*cut, 1, 1), pixel(patternByte(1, 1, 0), patternByte(1, 1, 1), 0))
        << "cut mid-pixel";
    EXPECT_EQ(pixelAt(*cut, 2, 1), pixel(0, 0, 0));
    EXPECT_EQ(pixelAt(*cut, 3, 0), pixel(0, 0, 0));
    ImagePtr far = namedImage();
    dib.read((dir / "offset-past-end.bmp").wstring().c_str(), far.get());
    for (unsigned char byte : pixelBytes(*far))
        ASSERT_EQ(byte, 0) << "pixels from past the end of the file are black";
}

TEST(DibImport, AttachMemoryImageCopiesExactlyStrideTimesHeight) {
    DibImport dib;
    BITMAPINFOHEADER header{40, 3, 2, 1, 24, 0, 0, 0, 0, 0, 0};
    // Exactly 12 x 2 bytes: a read beyond them is out of bounds.
    std::vector<unsigned char> bits(24);
    for (std::size_t i = 0; i < bits.size(); ++i)
        bits[i] = static_cast<unsigned char>(i + 1);
    ImagePtr image = namedImage();
    ASSERT_EQ(dib.attach(&header, bits.data(), image.get()), 1);
    EXPECT_EQ(pixelBytes(*image), bits);
    EXPECT_EQ(pixelAt(*image, 0, 0), pixel(13, 14, 15)) << "bottom-up like the image";

    EXPECT_EQ(dib.attach(nullptr, bits.data(), image.get()), 0);
    EXPECT_EQ(dib.attach(&header, nullptr, image.get()), 0);
    ImagePtr unnamed(CPLImage::Create());
    EXPECT_EQ(dib.attach(&header, bits.data(), unnamed.get()), 0);
    BITMAPINFOHEADER huge = header;
    huge.biWidth = 2000000000;
    huge.biHeight = 2000000000;
    EXPECT_EQ(dib.attach(&huge, bits.data(), image.get()), 0) << "no pixels to fill";
    EXPECT_FALSE(image->HasObject());
}

TEST(DibImport, GetBmpDataHandsOverTheWholeFile) {
    DibImport dib;
    TempDir dir;
    dir.write("any.bin", "not even a picture");
    CPLMemoryData* data = CPLMemoryData::create();
    ASSERT_EQ(dib.data((dir / "any.bin").wstring().c_str(), data), 1);
    EXPECT_EQ(data->get_type(), CPLMemoryData::MEMORY_KERNEL);
    ASSERT_EQ(data->get_size(), 18u);
    EXPECT_EQ(std::string(static_cast<char*>(data->get_ptr()), 18), "not even a picture");
    CPLMemoryData::destroy(data);

    CPLMemoryData* none = CPLMemoryData::create();
    EXPECT_EQ(dib.data((dir / "absent.bin").wstring().c_str(), none), 0);
    EXPECT_EQ(none->get_ptr(), nullptr);
    CPLMemoryData::destroy(none);
}

TEST(DibImport, DescribesItselfAndLoadsUnderTheUpperCaseName) {
    auto list = stagedFunction<PFN_get_supported_file_list>(kPlugin, "get_supported_file_list");
    std::wstring description, patterns;
    EXPECT_EQ(list(&description, &patterns), 1);
    EXPECT_EQ(description, L"BMP File");
    EXPECT_EQ(patterns, L"*.BMP");
    auto copyright = stagedFunction<PFN_get_copyright_info>(kPlugin, "get_copyright_info");
    EXPECT_FALSE(copyright().empty());
    auto upper = stagedFunction<PFN_read_image>("BMP_import_wince.iplg", "read_image");
    EXPECT_EQ(upper, stagedFunction<PFN_read_image>(kPlugin, "read_image"));
}

} // namespace
} // namespace lumo::test
