#include "BmpFiles.h"
#include "StagedPlugins.h"
#include "picture/PLData.h"
#include "picture/PLFileData.h"
#include "picture/PLMemory.h"
#include "picture/PLMemoryData.h"
#include "tests/support/TempDir.h"

namespace lumo::test {
namespace {

constexpr const char* kPlugin = "dibsave.eplg";

std::uint32_t le(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

TEST(DibExport, WritesHeadersAndPaddedRows) {
    auto write = stagedFunction<PFN_write_image>(kPlugin, "write_image");
    TempDir dir;
    ImagePtr one = namedImage(1, 1);
    one->SetImagePixel(0, 0, pixel(1, 2, 3));
    ASSERT_EQ(write(one.get(), (dir / "one.bmp").wstring().c_str()), 1);
    std::string bytes = dir.read("one.bmp");
    ASSERT_EQ(bytes.size(), 58u) << "14 + 40 header bytes and one 4-byte row";
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(le(bytes, 2, 4), 0u) << "the size field is left 0";
    EXPECT_EQ(le(bytes, 6, 4), 0u);
    EXPECT_EQ(le(bytes, 10, 4), 54u);
    EXPECT_EQ(le(bytes, 14, 4), 40u);
    EXPECT_EQ(le(bytes, 18, 4), 1u);
    EXPECT_EQ(le(bytes, 22, 4), 1u);
    EXPECT_EQ(le(bytes, 28, 2), 24u);
    EXPECT_EQ(bytes.substr(54), std::string("\x01\x02\x03\x00", 4));

    ImagePtr empty = namedImage();
    ASSERT_EQ(write(empty.get(), (dir / "empty.bmp").wstring().c_str()), 1);
    std::string emptyBytes = dir.read("empty.bmp");
    ASSERT_EQ(emptyBytes.size(), 54u);
    EXPECT_EQ(emptyBytes.substr(14), std::string(40, '\0'));

    EXPECT_EQ(write(nullptr, (dir / "x.bmp").wstring().c_str()), 0);
    EXPECT_EQ(write(one.get(), nullptr), 0);
    EXPECT_EQ(write(one.get(), (dir / "no" / "dir.bmp").wstring().c_str()), 0);
}

TEST(DibExport, RoundTripThroughTheImportPlugin) {
    auto write = stagedFunction<PFN_write_image>(kPlugin, "write_image");
    auto read = stagedFunction<PFN_read_image>("bmp_import_wince.iplg", "read_image");
    auto supported =
        stagedFunction<PFN_is_supported_image>("bmp_import_wince.iplg", "is_supported_image");
    TempDir dir;
    for (auto [w, h] : {std::pair{2, 2}, std::pair{5, 3}, std::pair{1, 7}}) {
        ImagePtr original = noiseImage(w, h, static_cast<unsigned>(w * 10 + h));
        std::wstring path = (dir / "round.bmp").wstring();
        ASSERT_EQ(write(original.get(), path.c_str()), 1);
        CPLData data(L"file", CPLFileData::create(path.c_str()));
        EXPECT_EQ(supported(&data), 1) << w << "x" << h;
        ImagePtr back = namedImage();
        ASSERT_EQ(read(path.c_str(), back.get()), 1);
        EXPECT_EQ(pixelBytes(*back), pixelBytes(*original)) << w << "x" << h;
    }
}

TEST(DibExport, MakeMemoryImageCopiesHeaderAndWholeBlock) {
    auto make = stagedFunction<PFN_make_memory_image>(kPlugin, "make_memory_image");
    ImagePtr image = noiseImage(3, 2);
    CPLMemoryData* header = CPLMemoryData::create();
    CPLMemoryData* bits = CPLMemoryData::create();
    ASSERT_EQ(make(image.get(), header, bits), 1);
    EXPECT_EQ(header->get_size(), 40u);
    EXPECT_EQ(std::memcmp(header->get_ptr(), image->GetBitmapInfoHeader(), 40), 0);
    EXPECT_EQ(bits->get_type(), CPLMemoryData::MEMORY_KERNEL);
    ASSERT_EQ(bits->get_size(), 24u);
    EXPECT_EQ(std::memcmp(bits->get_ptr(), image->GetBitmapBits(), 24), 0);
    CPLMemoryData::destroy(header);
    CPLMemoryData::destroy(bits);

    ImagePtr empty = namedImage();
    header = CPLMemoryData::create();
    bits = CPLMemoryData::create();
    ASSERT_EQ(make(empty.get(), header, bits), 1);
    BITMAPINFOHEADER zero{};
    EXPECT_EQ(std::memcmp(header->get_ptr(), &zero, 40), 0);
    EXPECT_EQ(bits->get_size(), 0u);
    EXPECT_EQ(make(empty.get(), nullptr, bits), 0);
    CPLMemoryData::destroy(header);
    CPLMemoryData::destroy(bits);
}

TEST(DibExport, MakeMemoryImageRectCutsBottomUpRows) {
    auto rect = stagedFunction<PFN_make_memory_image_rect>(kPlugin, "make_memory_image_rect");
    ImagePtr image = noiseImage(4, 3, 7);
    const struct {
        int x, y, w, h;
        int result;
    } rows[] = {
        {1, 0, 1, 1, 1},  {0, 0, 4, 3, 1},  {1, 1, 3, 2, 1},          {2, 0, 2, 3, 1},
        {0, 0, 0, 0, 1},  {1, 0, 4, 1, 0},  {0, 1, 1, 3, 0},          {-1, 0, 1, 1, 0},
        {0, -1, 1, 1, 0}, {0, 0, -1, 1, 0}, {0x7FFFFFFF, 0, 2, 1, 0},
    };
    for (const auto& row : rows) {
        CPLMemoryData* header = CPLMemoryData::create();
        CPLMemoryData* bits = CPLMemoryData::create();
        EXPECT_EQ(rect(image.get(), row.x, row.y, row.w, row.h, header, bits), row.result)
            << row.x << "," << row.y << " " << row.w << "x" << row.h;
        if (row.result == 0) {
            EXPECT_EQ(header->get_ptr(), nullptr) << "nothing attached";
            EXPECT_EQ(bits->get_ptr(), nullptr);
        } else {
            auto* info = static_cast<BITMAPINFOHEADER*>(header->get_ptr());
            EXPECT_EQ(info->biWidth, row.w);
            EXPECT_EQ(info->biHeight, row.h);
            EXPECT_EQ(info->biBitCount, 24);
            std::size_t stride = (3 * static_cast<std::size_t>(row.w) + 3) & ~std::size_t{3};
            ASSERT_EQ(bits->get_size(), stride * static_cast<std::size_t>(row.h));
            auto* block = static_cast<const unsigned char*>(bits->get_ptr());
            for (int i = 0; i < row.h; ++i)
                for (int j = 0; j < row.w; ++j) {
                    const unsigned char* p =
                        block + static_cast<std::size_t>(row.h - 1 - i) * stride + 3 * j;
                    EXPECT_EQ(pixel(p[0], p[1], p[2]), pixelAt(*image, row.x + j, row.y + i));
                }
        }
        CPLMemoryData::destroy(header);
        CPLMemoryData::destroy(bits);
    }
    ImagePtr empty = namedImage();
    CPLMemoryData* header = CPLMemoryData::create();
    CPLMemoryData* bits = CPLMemoryData::create();
    EXPECT_EQ(rect(empty.get(), 0, 0, 0, 0, header, bits), 0) << "an image without pixels";
    CPLMemoryData::destroy(header);
    CPLMemoryData::destroy(bits);
}

} // namespace
} // namespace lumo::test
