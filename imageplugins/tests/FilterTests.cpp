#include "StagedPlugins.h"
#include "picture/PLMemory.h"

#include <algorithm>
#include <cmath>

namespace lumo::test {
namespace {

constexpr const char* kScaler = "scaler.fplg";
constexpr const char* kMixer = "mixer.fplg";

// Expectations computed pixel by pixel through the bounds-checked accessors,
// exactly as the resampling methods are defined. The plug-in works on rows
// directly and must give the same bytes.
struct Reference {
    BMP_BGR last{0, 0, 0};
    BMP_BGR read(CPLImage& image, long long x, long long y) {
        BMP_BGR p;
        if (x <= 0x7FFFFFFF && y <= 0x7FFFFFFF &&
            image.GetImagePixel(static_cast<int>(x), static_cast<int>(y), p))
            last = p;
        return last;
    }

    void nearest(CPLImage& s, CPLImage& d) {
        auto [ws, hs] = sizeOf(s);
        auto [wd, hd] = sizeOf(d);
        double r = static_cast<double>(ws) / wd;
        for (int i = 0; i < hd; ++i)
            for (int j = 0; j < wd; ++j)
                d.SetImagePixel(j, i, read(s, static_cast<int>(j * r), static_cast<int>(i * r)));
    }

    void box(CPLImage& s, CPLImage& d) {
        auto [ws, hs] = sizeOf(s);
        auto [wd, hd] = sizeOf(d);
        auto f = static_cast<std::uint32_t>(static_cast<double>(ws) / wd * 65536.0);
        std::uint32_t k = f >> 8;
        for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(hd); ++i) {
            std::uint32_t y0 = (i * 256 * k) >> 16, y1 = ((i + 1) * 256 * k) >> 16;
            for (std::uint32_t j = 0; j < static_cast<std::uint32_t>(wd); ++j) {
                std::uint32_t x0 = (j * 256 * k) >> 16, x1 = ((j + 1) * 256 * k) >> 16;
                unsigned sum[3] = {0, 0, 0};
                for (std::uint32_t y = y0; y <= y1; ++y)
                    for (std::uint32_t x = x0; x <= x1; ++x) {
                        BMP_BGR p = read(s, x, y);
                        sum[0] += p.blue;
                        sum[1] += p.green;
                        sum[2] += p.red;
                    }
                unsigned n = (x1 - x0 + 1) * (y1 - y0 + 1);
                d.SetImagePixel(static_cast<int>(j), static_cast<int>(i),
                                pixel(sum[0] / n, sum[1] / n, sum[2] / n));
            }
        }
    }

    void bilinear(CPLImage& s, CPLImage& d) {
        auto [ws, hs] = sizeOf(s);
        auto [wd, hd] = sizeOf(d);
        double rx = static_cast<double>(ws) / wd, ry = static_cast<double>(hs) / hd;
        std::vector<BMP_BGR> first(static_cast<std::size_t>(ws)),
            second(static_cast<std::size_t>(ws));
        int remembered = -1;
        for (int i = 0; i < hd; ++i) {
            double sy = i * ry;
            int t = static_cast<int>(sy);
            double fy = sy - t;
            if (t != remembered) {
                BMP_BGR* a = first.data();
                BMP_BGR* b = second.data();
                s.GetImageLine(t, &a);
                if (!s.GetImageLine(t + 1, &b))
                    s.GetImageLine(t, &b);
                remembered = t;
            }
            for (int j = 0; j < wd; ++j) {
                double sx = j * rx;
                int g = static_cast<int>(sx);
                double fx = sx - g;
                int g1 = g + 1 == ws ? g : g + 1;
                auto channel = [&](int c) {
                    auto at = [c](const BMP_BGR& p) {
                        return c == 0 ? p.blue : c == 1 ? p.green : p.red;
                    };
                    int top = static_cast<int>(at(first[g]) * (1 - fx) + at(first[g1]) * fx);
                    int bottom = static_cast<int>(at(second[g]) * (1 - fx) + at(second[g1]) * fx);
                    return static_cast<int>(top * (1 - fy) + bottom * fy);
                };
                d.SetImagePixel(j, i, pixel(channel(0), channel(1), channel(2)));
            }
        }
    }
};

struct Scaler {
    PFN_do_filter filter = stagedFunction<PFN_do_filter>(kScaler, "do_filter");
    int run(CPLImage* s, CPLImage* d, RESIZE_OPTION o) { return filter(s, d, &o); }
};

constexpr std::uint32_t box(unsigned w, unsigned h) {
    return (w & 0xFFFF) | (h << 16);
}

TEST(ScalerFilter, TargetSizesTruncateAndFitInsideTheBox) {
    const struct {
        int w, h;
        RESIZE_OPTION option;
        int tw, th;
    } rows[] = {
        {101, 51, {0, 50, 1}, 50, 25},
        {200, 100, {1, box(100, 100), 1}, 100, 50},
        {100, 200, {1, box(100, 100), 1}, 50, 100},
        {50, 50, {1, box(100, 100), 0}, 100, 100},
        {4, 2, {0, 250, 1}, 10, 5},
        {33, 17, {0, 3, 0}, 0, 0},
        {7, 3, {1, box(10, 30), 1}, 10, 4},
        {3, 7, {0, 100, 1}, 3, 7},
    };
    Scaler scaler;
    for (const auto& row : rows) {
        ImagePtr source = noiseImage(row.w, row.h);
        ImagePtr target = namedImage();
        EXPECT_EQ(scaler.run(source.get(), target.get(), row.option), 1);
        EXPECT_EQ(sizeOf(*target), std::make_pair(row.tw, row.th)) << row.w << "x" << row.h;
    }
}

TEST(ScalerFilter, RejectedOptionsAndNullArgumentsLeaveTheDestinationAlone) {
    const RESIZE_OPTION rejected[] = {{0, 0, 1}, {1, 0, 1}, {2, 50, 1}, {-1, 50, 0}};
    Scaler scaler;
    ImagePtr source = noiseImage(6, 4);
    ImagePtr target = noiseImage(3, 3, 9);
    std::vector<unsigned char> before = pixelBytes(*target);
    for (const auto& option : rejected) {
        EXPECT_EQ(scaler.run(source.get(), target.get(), option), 0);
        EXPECT_EQ(pixelBytes(*target), before);
    }
    RESIZE_OPTION ok{0, 50, 1};
    EXPECT_EQ(scaler.filter(nullptr, target.get(), &ok), 0);
    EXPECT_EQ(scaler.filter(source.get(), nullptr, &ok), 0);
    EXPECT_EQ(scaler.filter(source.get(), target.get(), nullptr), 0);
    EXPECT_EQ(pixelBytes(*target), before);
}

TEST(ScalerFilter, HundredPercentSmoothAveragesTheTwoByTwoBox) {
    ImagePtr source = namedImage(2, 2);
    const BMP_BGR p00 = pixel(0, 100, 200), p10 = pixel(40, 8, 0), p01 = pixel(80, 4, 255),
                  p11 = pixel(120, 0, 1);
    source->SetImagePixel(0, 0, p00);
    source->SetImagePixel(1, 0, p10);
    source->SetImagePixel(0, 1, p01);
    source->SetImagePixel(1, 1, p11);
    ImagePtr target = namedImage();
    ASSERT_EQ(Scaler().run(source.get(), target.get(), {0, 100, 1}), 1);
    auto mean = [](std::initializer_list<BMP_BGR> ps) {
        int b = 0, g = 0, r = 0;
        for (auto p : ps) {
            b += p.blue;
            g += p.green;
            r += p.red;
        }
        int n = static_cast<int>(ps.size());
        return pixel(b / n, g / n, r / n);
    };
    EXPECT_EQ(pixelAt(*target, 0, 0), mean({p00, p10, p01, p11}));
    // Reads past the right or bottom edge repeat the previous read.
    EXPECT_EQ(pixelAt(*target, 1, 0), mean({p10, p10, p11, p11}));
    EXPECT_EQ(pixelAt(*target, 0, 1), mean({p01, p11, p11, p11}));
    EXPECT_EQ(pixelAt(*target, 1, 1), p11);
}

TEST(ScalerFilter, HundredPercentNearestCopiesExactly) {
    ImagePtr source = noiseImage(7, 5);
    ImagePtr target = namedImage();
    ASSERT_EQ(Scaler().run(source.get(), target.get(), {0, 100, 0}), 1);
    EXPECT_EQ(pixelBytes(*target), pixelBytes(*source));
}

TEST(ScalerFilter, EveryMethodMatchesThePixelByPixelDefinition) {
    enum Method { Nearest, Box, Bilinear };
    const struct {
        int w, h;
        RESIZE_OPTION option;
        Method method;
    } rows[] = {
        {101, 51, {0, 50, 1}, Box},
        {37, 23, {0, 20, 1}, Box},
        {37, 23, {0, 33, 1}, Box},
        {7, 5, {0, 100, 1}, Box},
        {40, 30, {0, 70, 1}, Box},
        {3, 100, {0, 50, 1}, Box},
        {100, 3, {0, 50, 1}, Box},
        {23, 41, {1, box(10, 10), 1}, Box},
        {13, 9, {0, 250, 1}, Bilinear},
        {9, 13, {0, 500, 1}, Bilinear},
        {1, 1, {0, 300, 1}, Bilinear},
        {10, 10, {0, 123, 1}, Bilinear},
        {5, 8, {1, box(60, 60), 1}, Bilinear},
        {20, 12, {0, 50, 0}, Nearest},
        {11, 7, {0, 150, 0}, Nearest},
        {3, 100, {0, 50, 0}, Nearest},
        {9, 9, {0, 333, 0}, Nearest},
    };
    Scaler scaler;
    for (const auto& row : rows) {
        ImagePtr source = noiseImage(row.w, row.h, static_cast<unsigned>(row.w * 131 + row.h));
        ImagePtr actual = namedImage();
        ASSERT_EQ(scaler.run(source.get(), actual.get(), row.option), 1);
        auto [tw, th] = sizeOf(*actual);
        ASSERT_GT(tw * th, 0);
        ImagePtr expected = namedImage(tw, th);
        Reference reference;
        if (row.method == Nearest)
            reference.nearest(*source, *expected);
        else if (row.method == Box)
            reference.box(*source, *expected);
        else
            reference.bilinear(*source, *expected);
        EXPECT_EQ(pixelBytes(*actual), pixelBytes(*expected))
            << row.w << "x" << row.h << " -> " << tw << "x" << th << " method " << row.method;
    }
}

TEST(ScalerFilter, DefaultOptionEnlargesBilinearWithoutConfiguring) {
    auto size = stagedFunction<PFN_GetOptionSize>(kScaler, "GetOptionSize");
    auto defaults = stagedFunction<PFN_GetDefaultOption>(kScaler, "GetDefaultOption");
    ASSERT_EQ(size(), 12);
    RESIZE_OPTION option{9, 9, 9};
    ASSERT_EQ(defaults(&option), 1);
    EXPECT_EQ(defaults(nullptr), 0);
    ImagePtr source = noiseImage(6, 4);
    ImagePtr actual = namedImage();
    ASSERT_EQ(Scaler().filter(source.get(), actual.get(), &option), 1);
    ASSERT_EQ(sizeOf(*actual), std::make_pair(15, 10));
    ImagePtr expected = namedImage(15, 10);
    Reference().bilinear(*source, *expected);
    EXPECT_EQ(pixelBytes(*actual), pixelBytes(*expected));
}

TEST(ScalerFilter, ScalingAnImageIntoItselfGivesBlack) {
    ImagePtr image = noiseImage(8, 6);
    ASSERT_EQ(Scaler().run(image.get(), image.get(), {0, 50, 1}), 1);
    ASSERT_EQ(sizeOf(*image), std::make_pair(4, 3));
    for (unsigned char byte : pixelBytes(*image))
        EXPECT_EQ(byte, 0);
}

TEST(ScalerFilter, SourceWithoutPixelsLeavesAFilledDestinationAsItIs) {
    ImagePtr empty = namedImage();
    ImagePtr target = noiseImage(3, 3);
    std::vector<unsigned char> before = pixelBytes(*target);
    EXPECT_EQ(Scaler().run(empty.get(), target.get(), {0, 50, 1}), 1);
    EXPECT_EQ(pixelBytes(*target), before);
}

TEST(FilterInfo, BothFiltersDescribeThemselves) {
    const struct {
        const char* file;
        const wchar_t* name;
        int optionSize;
    } rows[] = {{kScaler, L"Picture Resize", 12}, {kMixer, L"Picture Alphablend", 8}};
    for (const auto& row : rows) {
        auto info = stagedFunction<PFN_GetPluginInfo>(row.file, "GetPluginInfo");
        FILTER_INFO filled{};
        ASSERT_EQ(info(&filled), 1);
        EXPECT_EQ(info(nullptr), 0);
        EXPECT_EQ(filled.first, 1);
        EXPECT_EQ(filled.second, 0);
        EXPECT_STREQ(filled.name, row.name);
        EXPECT_GT(std::wcslen(filled.author), 0u);
        EXPECT_EQ(std::vector<int>(filled.flags, filled.flags + 4), (std::vector<int>{1, 1, 0, 1}));
        EXPECT_EQ(stagedFunction<PFN_GetOptionSize>(row.file, "GetOptionSize")(), row.optionSize);
    }
}

// The blend value of one channel, straight from the definition.
int blended(int input, int alpha, int component) {
    return std::clamp((input * alpha + component * (256 - alpha) + 128) / 256, 0, 255);
}

struct Mixer {
    PFN_do_filter filter = stagedFunction<PFN_do_filter>(kMixer, "do_filter");
    int run(CPLImage* s, CPLImage* d, ALPHABLEND_OPTION o) { return filter(s, d, &o); }
};

// 37 pixels a row: one whole 32-pixel block and a tail; every byte value occurs.
ImagePtr everyValueImage() {
    ImagePtr image = namedImage(37, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 37; ++x) {
            int v = y * 111 + x * 3;
            image->SetImagePixel(x, y, pixel(v % 256, (v + 1) % 256, (v + 2) % 256));
        }
    return image;
}

TEST(MixerFilter, BlendsEveryChannelAsDefinedInPlace) {
    const ALPHABLEND_OPTION rows[] = {
        {0, 256},
        {RGB(255, 255, 255), 128},
        {0, 128},
        {RGB(255, 0, 0), 0},
        {RGB(10, 200, 77), 200},
        {RGB(1, 2, 3), 1},
        {RGB(255, 128, 0), 300},
        {RGB(0, 255, 90), -50},
        {0xFF000000u | RGB(9, 9, 9), 64},
    };
    Mixer mixer;
    for (const auto& option : rows) {
        ImagePtr image = everyValueImage();
        ImagePtr original = everyValueImage();
        ASSERT_EQ(mixer.run(image.get(), image.get(), option), 1);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 37; ++x) {
                BMP_BGR in = pixelAt(*original, x, y);
                BMP_BGR expect = pixel(blended(in.blue, option.alpha, GetBValue(option.colour)),
                                       blended(in.green, option.alpha, GetGValue(option.colour)),
                                       blended(in.red, option.alpha, GetRValue(option.colour)));
                ASSERT_EQ(pixelAt(*image, x, y), expect)
                    << "colour " << std::hex << option.colour << std::dec << " alpha "
                    << option.alpha << " at " << x << "," << y;
            }
        std::vector<unsigned char> bytes = pixelBytes(*image);
        for (int y = 0; y < 7; ++y)
            EXPECT_EQ(bytes[static_cast<std::size_t>(y) * 112 + 111], 0) << "fill byte untouched";
    }
}

TEST(MixerFilter, KnownValuesForWhiteBlackAndPlainColour) {
    const struct {
        COLORREF colour;
        int alpha;
        int input;
        BMP_BGR output;
    } rows[] = {
        {RGB(255, 255, 255), 128, 0, pixel(128, 128, 128)},
        {RGB(255, 255, 255), 128, 255, pixel(255, 255, 255)},
        {RGB(0, 0, 0), 128, 255, pixel(128, 128, 128)},
        {RGB(0, 0, 0), 128, 1, pixel(1, 1, 1)},
        {255, 0, 77, pixel(0, 0, 255)},
        {0, 256, 77, pixel(77, 77, 77)},
    };
    Mixer mixer;
    for (const auto& row : rows) {
        ImagePtr image = namedImage(1, 1);
        image->SetImagePixel(0, 0, pixel(row.input, row.input, row.input));
        mixer.run(image.get(), image.get(), {row.colour, row.alpha});
        EXPECT_EQ(pixelAt(*image, 0, 0), row.output) << row.input << " alpha " << row.alpha;
    }
}

TEST(MixerFilter, SeparateDestinationTakesSizeAndBlendSourceStays) {
    Mixer mixer;
    ImagePtr source = everyValueImage();
    std::vector<unsigned char> before = pixelBytes(*source);
    ImagePtr target = namedImage(2, 2);
    ASSERT_EQ(mixer.run(source.get(), target.get(), {RGB(255, 255, 255), 128}), 1);
    EXPECT_EQ(pixelBytes(*source), before);
    ASSERT_EQ(sizeOf(*target), std::make_pair(37, 7));
    BMP_BGR in = pixelAt(*source, 5, 3);
    EXPECT_EQ(pixelAt(*target, 5, 3), pixel(blended(in.blue, 128, 255), blended(in.green, 128, 255),
                                            blended(in.red, 128, 255)));

    ALPHABLEND_OPTION option{0, 128};
    EXPECT_EQ(mixer.filter(nullptr, target.get(), &option), 0);
    EXPECT_EQ(mixer.filter(source.get(), nullptr, &option), 0);
    EXPECT_EQ(mixer.filter(source.get(), target.get(), nullptr), 0);
    EXPECT_EQ(pixelBytes(*source), before);

    auto defaults = stagedFunction<PFN_GetDefaultOption>(kMixer, "GetDefaultOption");
    ALPHABLEND_OPTION fresh{123, 5};
    ASSERT_EQ(defaults(&fresh), 1);
    EXPECT_EQ(fresh.colour, 0u);
    EXPECT_EQ(fresh.alpha, 256);
    EXPECT_EQ(stagedFunction<PFN_Configure>(kMixer, "Configure")(nullptr, &fresh), 0)
        << "nothing to configure";
}

} // namespace
} // namespace lumo::test
