#include "picture/PLImage.h"
#include "picture/PLMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct ImageDeleter {
    void operator()(CPLImage* image) const { CPLImage::Destroy(image); }
};
using ImagePtr = std::unique_ptr<CPLImage, ImageDeleter>;

ImagePtr newImage(int width = 0, int height = 0) {
    ImagePtr image(CPLImage::Create());
    if (width > 0)
        image->CreateImage(L"image", width, height);
    return image;
}

const unsigned char* bytesOf(CPLImage& image) {
    return reinterpret_cast<const unsigned char*>(image.GetBitmapBits());
}

BMP_BGR px(int b, int g, int r) {
    return BMP_BGR{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r)};
}

bool samePixel(BMP_BGR a, BMP_BGR b) {
    return a.blue == b.blue && a.green == b.green && a.red == b.red;
}

// Every pixel distinct, so a misplaced row or column shows.
void paintDistinct(CPLImage& image) {
    int w, h;
    image.GetImageSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetImagePixel(x, y, px(x, y, x + 16 * y + 1));
}

TEST(PLMalloc, KeepsTheRequestedSizeInTheWordInFront) {
    for (int size : {0, 1, 54, 4096}) {
        void* block = PL_Malloc(size, true);
        ASSERT_NE(block, nullptr) << size;
        std::uint32_t word;
        std::memcpy(&word, static_cast<char*>(block) - 4, 4);
        EXPECT_EQ(word, static_cast<std::uint32_t>(size));
        EXPECT_EQ(PL_BlockSize(block), static_cast<unsigned>(size));
        auto* bytes = static_cast<const unsigned char*>(block);
        EXPECT_EQ(std::count(bytes, bytes + size, 0), size) << "zero-filled on request";
        PL_Free(block);
    }
}

TEST(PLMalloc, RefusesNegativeAndOverflowingSizes) {
    EXPECT_EQ(PL_Malloc(-1, false), nullptr);
    EXPECT_EQ(PL_Malloc(INT_MIN, true), nullptr);
    EXPECT_EQ(PL_Malloc(INT_MAX, false), nullptr) << "size plus its word would not fit 32 bits";
    PL_Free(nullptr);
}

TEST(CPLImage, StrideRoundsThreeBytesAPixelUpToFour) {
    const struct {
        int width;
        int stride;
    } rows[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {101, 304}};
    for (auto row : rows) {
        ImagePtr image = newImage(row.width, 1);
        EXPECT_EQ(image->GetLineSize(), row.stride) << row.width;
    }
}

TEST(CPLImage, FilledImageHasTheDibHeaderAndBlackPixels) {
    ImagePtr image = newImage(3, 2);
    const BITMAPINFOHEADER& h = *image->GetBitmapInfoHeader();
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 3);
    EXPECT_EQ(h.biHeight, 2);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression + h.biSizeImage + h.biClrUsed + h.biClrImportant, 0u);
    EXPECT_EQ(PL_BlockSize(image->GetBitmapBits()), 24u) << "stride 12 x 2 rows";
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(bytesOf(*image)[i], 0) << i;
    wchar_t name[8] = {};
    EXPECT_TRUE(image->GetObjectName(name, 8));
    EXPECT_STREQ(name, L"image");
}

TEST(CPLImage, RowsAreStoredBottomUpAndFillBytesStayZero) {
    ImagePtr image = newImage(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_TRUE(image->SetImagePixel(x, y, px(0xFF, 0xFF, 0xFF)));
    ASSERT_TRUE(image->SetImagePixel(0, 0, px(1, 2, 3)));
    ASSERT_TRUE(image->SetImagePixel(0, 1, px(4, 5, 6)));
    const unsigned char* b = bytesOf(*image);
    EXPECT_EQ(b[12], 1) << "top-left pixel lies in the last row in memory";
    EXPECT_EQ(b[13], 2);
    EXPECT_EQ(b[14], 3);
    EXPECT_EQ(b[0], 4) << "pixel (0, 1) is the first in memory";
    for (int fill : {9, 10, 11, 21, 22, 23})
        EXPECT_EQ(b[fill], 0) << "fill byte " << fill;
    EXPECT_EQ(reinterpret_cast<unsigned char*>(image->GetLinePtr(0)), b + 12);
    EXPECT_EQ(reinterpret_cast<unsigned char*>(image->GetLinePtr(1)), b);
}

TEST(CPLImage, PixelAccessChecksEveryBound) {
    ImagePtr image = newImage(3, 2);
    BMP_BGR p{};
    const struct {
        int x, y;
        bool ok;
    } rows[] = {{0, 0, true},   {2, 1, true},  {-1, 0, false},
                {0, -1, false}, {3, 0, false}, {0, 2, false}};
    for (auto row : rows) {
        EXPECT_EQ(image->SetImagePixel(row.x, row.y, px(9, 9, 9)), row.ok) << row.x << "," << row.y;
        EXPECT_EQ(image->GetImagePixel(row.x, row.y, p), row.ok) << row.x << "," << row.y;
    }
    ImagePtr empty = newImage();
    EXPECT_FALSE(empty->GetImagePixel(0, 0, p));
    EXPECT_FALSE(empty->SetImagePixel(0, 0, p));
    for (int fill : {9, 10, 11, 21, 22, 23})
        EXPECT_EQ(bytesOf(*image)[fill], 0);
}

TEST(CPLImage, LinesCopyPixelBytesOnlyAndCheckTheRow) {
    ImagePtr image = newImage(3, 2);
    BMP_BGR line[3] = {px(1, 2, 3), px(4, 5, 6), px(7, 8, 9)};
    EXPECT_FALSE(image->SetImageLine(2, line)) << "y = height";
    EXPECT_FALSE(image->SetImageLine(-1, line));
    EXPECT_FALSE(image->SetImageLine(0, nullptr));
    ASSERT_TRUE(image->SetImageLine(1, line)) << "bottom row, first in memory";
    EXPECT_EQ(bytesOf(*image)[0], 1);
    EXPECT_EQ(bytesOf(*image)[8], 9);
    EXPECT_EQ(bytesOf(*image)[9], 0) << "fill byte untouched";

    BMP_BGR* copy = nullptr;
    EXPECT_FALSE(image->GetImageLine(2, &copy));
    EXPECT_EQ(copy, nullptr) << "nothing allocated on failure";
    ASSERT_TRUE(image->GetImageLine(1, &copy));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(PL_BlockSize(copy), 9u) << "3 x width, a kernel block";
    EXPECT_EQ(std::memcmp(copy, line, 9), 0);
    BMP_BGR* same = copy;
    ASSERT_TRUE(image->GetImageLine(0, &copy));
    EXPECT_EQ(copy, same) << "a given buffer is reused";
    EXPECT_TRUE(samePixel(copy[0], px(0, 0, 0)));
    PL_Free(copy);
}

TEST(CPLImage, StateRulesForNamingAndSizing) {
    ImagePtr image = newImage();
    EXPECT_FALSE(image->RenewalImage(4, 4)) << "an unnamed image cannot be renewed";
    EXPECT_FALSE(image->CreateImage(nullptr));
    ASSERT_TRUE(image->CreateImage(L"image"));
    EXPECT_FALSE(image->HasObject());
    EXPECT_FALSE(image->RenewalImage(0, 4));
    EXPECT_FALSE(image->RenewalImage(4, -1));
    ASSERT_TRUE(image->RenewalImage(4, 4));
    int w = 0, h = 0;
    EXPECT_TRUE(image->GetImageSize(w, h));
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 4);
    EXPECT_FALSE(image->CreateImage(L"other")) << "a filled image is only resized by renewal";
    EXPECT_FALSE(image->CreateImage(L"other", 2, 2));
    image->SetImagePixel(1, 1, px(5, 5, 5));
    ASSERT_TRUE(image->RenewalImage(2, 3));
    BMP_BGR p;
    image->GetImagePixel(1, 1, p);
    EXPECT_TRUE(samePixel(p, px(0, 0, 0))) << "renewal gives fresh black pixels";
    wchar_t name[16];
    image->GetObjectName(name, 16);
    EXPECT_STREQ(name, L"image") << "and keeps the name";

    image->DestroyImage();
    EXPECT_FALSE(image->HasObject());
    EXPECT_FALSE(image->GetImageSize(w, h));
    EXPECT_EQ(w + h, 0);
    image->GetObjectName(name, 16);
    EXPECT_STREQ(name, L"") << "destroying the pixels empties the name";
    BITMAPINFOHEADER zero{};
    EXPECT_EQ(std::memcmp(image->GetBitmapInfoHeader(), &zero, sizeof zero), 0);
}

TEST(CPLImage, LongNamesAreCutAndNameCopiesAreBounded) {
    std::wstring longName(300, L'n');
    ImagePtr image = newImage();
    ASSERT_TRUE(image->CreateImage(longName.c_str()));
    std::vector<wchar_t> buffer(300, L'x');
    image->GetObjectName(buffer.data(), 300);
    EXPECT_EQ(std::wstring(buffer.data()).size(), 259u);

    ImagePtr shortName = newImage(1, 1);
    wchar_t small[3] = {L'x', L'x', L'x'};
    EXPECT_TRUE(shortName->GetObjectName(small, 3));
    EXPECT_EQ(std::wstring(small, 3), L"ima") << "no terminator when the name fills the buffer";
    EXPECT_FALSE(shortName->GetObjectName(nullptr, 3));
    EXPECT_FALSE(shortName->GetObjectName(small, -1));
}

TEST(CPLImage, ImpossibleSizesFailTheAllocationCleanly) {
    const struct {
        int width, height;
    } rows[] = {{2000000000, 2000000000}, {INT_MAX, INT_MAX}, {INT_MAX, 1}, {1, INT_MAX},
                {30000, 30000},           {715827882, 2}};
    for (auto row : rows) {
        ImagePtr image = newImage();
        image->CreateImage(L"image");
        EXPECT_TRUE(image->RenewalImage(row.width, row.height)) << "reported as exhausted memory";
        EXPECT_FALSE(image->HasObject()) << row.width << " x " << row.height;
        wchar_t name[8];
        image->GetObjectName(name, 8);
        EXPECT_STREQ(name, L"image") << "the name stays, so the image can be renewed again";
        EXPECT_TRUE(image->RenewalImage(2, 2));
        EXPECT_TRUE(image->HasObject());
    }
}

TEST(CPLImage, GetBlockChecksTheRectangleAndCopiesIt) {
    ImagePtr source = newImage(4, 3);
    paintDistinct(*source);
    ImagePtr block = newImage();
    block->CreateImage(L"image");
    const struct {
        int x, y, w, h;
        bool ok;
    } rows[] = {{1, 1, 3, 2, true},       {0, 0, 4, 3, true},   {2, 1, 3, 2, false},
                {0, 2, 1, 2, false},      {-1, 0, 1, 1, false}, {0, -1, 1, 1, false},
                {0, 0, 0, 1, false},      {0, 0, 1, 0, false},  {INT_MAX, 0, 1, 1, false},
                {1, 0, INT_MAX, 1, false}};
    for (auto row : rows) {
        EXPECT_EQ(source->GetBlock(row.x, row.y, row.w, row.h, block.get()), row.ok)
            << row.x << "," << row.y << " " << row.w << "x" << row.h;
        if (!row.ok)
            continue;
        int w, h;
        block->GetImageSize(w, h);
        EXPECT_EQ(w, row.w);
        EXPECT_EQ(h, row.h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                BMP_BGR a, b;
                source->GetImagePixel(row.x + x, row.y + y, a);
                block->GetImagePixel(x, y, b);
                EXPECT_TRUE(samePixel(a, b)) << x << "," << y;
            }
    }
    EXPECT_FALSE(source->GetBlock(0, 0, 1, 1, source.get())) << "not onto itself";
    EXPECT_FALSE(source->GetBlock(0, 0, 1, 1, nullptr));
    ImagePtr unnamed = newImage();
    EXPECT_FALSE(source->GetBlock(0, 0, 1, 1, unnamed.get()));
}

TEST(CPLImage, CopyAndCloneDuplicatePixelsIndependently) {
    ImagePtr source = newImage(5, 3);
    paintDistinct(*source);
    ImagePtr copy = newImage(1, 1);
    EXPECT_TRUE(source->Copy(*copy));
    ASSERT_EQ(std::memcmp(bytesOf(*copy), bytesOf(*source), 16 * 3), 0);

    std::unique_ptr<CPLImage, ImageDeleter> clone(source->Clone(L"ignored"));
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone->GetBitmapBits(), source->GetBitmapBits());
    EXPECT_EQ(std::memcmp(bytesOf(*clone), bytesOf(*source), 48), 0);
    wchar_t name[16];
    clone->GetObjectName(name, 16);
    EXPECT_STREQ(name, L"image") << "a clone carries the original's name";
    EXPECT_EQ(source->Clone(nullptr), nullptr);
    ImagePtr empty = newImage();
    EXPECT_EQ(empty->Clone(L"x"), nullptr);

    ImagePtr unnamed = newImage();
    EXPECT_TRUE(source->Copy(*unnamed)) << "always true";
    EXPECT_FALSE(unnamed->HasObject()) << "an unnamed destination receives nothing";
}

TEST(CPLImage, CopyConstructionNeverSharesPixels) {
    ImagePtr source = newImage(2, 2);
    paintDistinct(*source);
    CPLImage copy(*source);
    EXPECT_NE(copy.GetBitmapBits(), source->GetBitmapBits());
    EXPECT_EQ(std::memcmp(copy.GetBitmapBits(), source->GetBitmapBits(), 16), 0);
    CPLImage assigned;
    assigned = copy;
    assigned = assigned;
    EXPECT_EQ(std::memcmp(assigned.GetBitmapBits(), source->GetBitmapBits(), 16), 0);
}

TEST(CPLImage, EachPixelVisitsTopRowFirstAndKeepsFillBytes) {
    ImagePtr image = newImage(3, 2);
    paintDistinct(*image);
    std::vector<unsigned char> before(bytesOf(*image), bytesOf(*image) + 24);
    image->EachPixel([](BMP_BGR p, int, int) { return p; });
    EXPECT_EQ(std::vector<unsigned char>(bytesOf(*image), bytesOf(*image) + 24), before);

    static std::vector<std::pair<int, int>> visits;
    visits.clear();
    image->EachPixel([](BMP_BGR, int x, int y) {
        visits.emplace_back(x, y);
        return BMP_BGR{static_cast<BYTE>(x), static_cast<BYTE>(y), 0xEE};
    });
    std::vector<std::pair<int, int>> expected{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
    EXPECT_EQ(visits, expected);
    BMP_BGR p;
    image->GetImagePixel(2, 1, p);
    EXPECT_TRUE(samePixel(p, px(2, 1, 0xEE)));
    EXPECT_EQ(bytesOf(*image)[9], 0);
    EXPECT_EQ(bytesOf(*image)[23], 0);
}

} // namespace
