// Picture kernel and image plug-in benchmarks. Every figure is set against a
// baseline measured in the same run: plain fread/fwrite of the same bytes,
// memcpy of the same buffer, and Pillow doing the same resampling on the same
// image. The plug-ins are the staged ones, loaded by name as the reader does.

#include "imageplugins/ImagePlugin.h"
#include "picture/PLImage.h"
#include "platform/core/Module.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
// jpeglib.h needs size_t and FILE first.
#include <jpeglib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

template <class Function> Function plugin(const char* file, const char* name) {
    HMODULE module = LoadLibrary((std::filesystem::path(LUMO_STAGE_DIR) / file).wstring().c_str());
    auto function = reinterpret_cast<Function>(GetProcAddress(module, name));
    if (!function) {
        std::fprintf(stderr, "missing %s in %s\n", name, file);
        std::exit(1);
    }
    return function;
}

struct Plugins {
    PFN_read_image read = plugin<PFN_read_image>("bmp_import_wince.iplg", "read_image");
    PFN_write_image write = plugin<PFN_write_image>("dibsave.eplg", "write_image");
    PFN_do_filter scale = plugin<PFN_do_filter>("scaler.fplg", "do_filter");
    PFN_do_filter blend = plugin<PFN_do_filter>("mixer.fplg", "do_filter");
    PFN_read_image readPng = plugin<PFN_read_image>("png_import_wince.iplg", "read_image");
    PFN_read_image readJpeg = plugin<PFN_read_image>("jpg_import_wince.iplg", "read_image");
};
Plugins& plugins() {
    static Plugins p;
    return p;
}

struct ImageDeleter {
    void operator()(CPLImage* image) const { CPLImage::Destroy(image); }
};
using ImagePtr = std::unique_ptr<CPLImage, ImageDeleter>;

ImagePtr named() {
    ImagePtr image(CPLImage::Create());
    image->CreateImage(L"image");
    return image;
}

// A photo-like picture: smooth gradients with some grain.
ImagePtr photo(int width, int height) {
    ImagePtr image(CPLImage::Create());
    image->CreateImage(L"image", width, height);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<unsigned char*>(image->GetLinePtr(static_cast<unsigned>(y)));
        for (int x = 0; x < width; ++x) {
            int grain = static_cast<int>(random() % 24);
            row[3 * x] = static_cast<unsigned char>((x * 255 / width + grain) & 0xFF);
            row[3 * x + 1] = static_cast<unsigned char>((y * 255 / height + grain) & 0xFF);
            row[3 * x + 2] =
                static_cast<unsigned char>(((x + y) * 127 / (width + height) + 64 + grain) & 0xFF);
        }
    }
    return image;
}

struct Picture {
    int width, height;
    std::filesystem::path file;
    ImagePtr image;
};

std::filesystem::path workDir() {
    static std::filesystem::path dir = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "lumo-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return std::filesystem::path(pattern);
    }();
    return dir;
}

Picture& picture(int index) {
    static std::map<int, Picture> pictures;
    auto found = pictures.find(index);
    if (found != pictures.end())
        return found->second;
    int w = index == 0 ? 800 : 4000, h = index == 0 ? 480 : 3000;
    Picture p{w, h, workDir() / ("picture" + std::to_string(w) + ".bmp"), photo(w, h)};
    plugins().write(p.image.get(), p.file.wstring().c_str());
    return pictures.emplace(index, std::move(p)).first->second;
}

std::string label(int index) {
    return index == 0 ? "800x480" : "4000x3000";
}

void ReadImage(benchmark::State& state) {
    Picture& p = picture(static_cast<int>(state.range(0)));
    std::wstring path = p.file.wstring();
    for (auto _ : state) {
        ImagePtr image = named();
        plugins().read(path.c_str(), image.get());
        benchmark::DoNotOptimize(image->GetBitmapBits());
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

void FreadBaseline(benchmark::State& state) {
    Picture& p = picture(static_cast<int>(state.range(0)));
    std::string path = p.file.string();
    std::size_t size = std::filesystem::file_size(p.file);
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[size]);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::size_t got = std::fread(buffer.get(), 1, size, f);
        std::fclose(f);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(buffer.get());
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

void WriteImage(benchmark::State& state) {
    Picture& p = picture(static_cast<int>(state.range(0)));
    std::wstring path = (workDir() / "written.bmp").wstring();
    for (auto _ : state)
        plugins().write(p.image.get(), path.c_str());
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

void FwriteBaseline(benchmark::State& state) {
    Picture& p = picture(static_cast<int>(state.range(0)));
    std::string path = (workDir() / "written-plain.bmp").string();
    std::size_t bytes =
        static_cast<std::size_t>(p.image->GetLineSize()) * static_cast<std::size_t>(p.height);
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        unsigned char headers[54] = {'B', 'M'};
        std::fwrite(headers, 1, 54, f);
        std::fwrite(p.image->GetBitmapBits(), 1, bytes, f);
        std::fclose(f);
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

void BlendInPlace(benchmark::State& state) {
    Picture& p = picture(static_cast<int>(state.range(0)));
    ImagePtr image(p.image->Clone(L"image"));
    ALPHABLEND_OPTION option{RGB(255, 255, 255), 200};
    for (auto _ : state) {
        plugins().blend(image.get(), image.get(), &option);
        benchmark::ClobberMemory();
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

void MemcpyBaseline(benchmark::State& state) {
    Picture& p = picture(static_cast<int>(state.range(0)));
    std::size_t bytes =
        static_cast<std::size_t>(p.image->GetLineSize()) * static_cast<std::size_t>(p.height);
    std::vector<unsigned char> target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), p.image->GetBitmapBits(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

// The reader's illustration backdrop: 20 % smooth, half-darkened, 500 % smooth.
void Backdrop(benchmark::State& state) {
    Picture& p = picture(static_cast<int>(state.range(0)));
    RESIZE_OPTION reduce{0, 20, 1}, enlarge{0, 500, 1};
    ALPHABLEND_OPTION darken{0, 128};
    for (auto _ : state) {
        ImagePtr a = named(), b = named();
        plugins().scale(p.image.get(), b.get(), &reduce);
        plugins().blend(b.get(), b.get(), &darken);
        plugins().scale(b.get(), a.get(), &enlarge);
        benchmark::DoNotOptimize(a->GetBitmapBits());
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

void Enlarge200(benchmark::State& state) {
    Picture& p = picture(static_cast<int>(state.range(0)));
    RESIZE_OPTION option{0, 200, 1};
    for (auto _ : state) {
        ImagePtr target = named();
        plugins().scale(p.image.get(), target.get(), &option);
        benchmark::DoNotOptimize(target->GetBitmapBits());
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

// The same photo as PNG and as JPEG (quality 90), written by the libraries.
std::filesystem::path codecFile(int index, bool png) {
    Picture& p = picture(index);
    std::filesystem::path file =
        workDir() / ("picture" + std::to_string(p.width) + (png ? ".png" : ".jpg"));
    if (std::filesystem::exists(file))
        return file;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(p.width) * p.height * 3);
    for (int y = 0; y < p.height; ++y) {
        auto* row = reinterpret_cast<unsigned char*>(p.image->GetLinePtr(static_cast<unsigned>(y)));
        for (int x = 0; x < p.width; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[(static_cast<std::size_t>(y) * p.width + x) * 3 + c] = row[3 * x + 2 - c];
    }
    if (png) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(p.width);
        image.height = static_cast<png_uint_32>(p.height);
        image.format = PNG_FORMAT_RGB;
        png_image_write_to_file(&image, file.c_str(), 0, rgb.data(), 0, nullptr);
        return file;
    }
    std::FILE* out = std::fopen(file.c_str(), "wb");
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(p.width);
    info.image_height = static_cast<JDIMENSION>(p.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = rgb.data() + static_cast<std::size_t>(info.next_scanline) * p.width * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
    return file;
}

void PngReadImage(benchmark::State& state) {
    std::wstring path = codecFile(static_cast<int>(state.range(0)), true).wstring();
    for (auto _ : state) {
        ImagePtr image = named();
        plugins().readPng(path.c_str(), image.get());
        benchmark::DoNotOptimize(image->GetBitmapBits());
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

// libpng's own simplified decode of the whole file into 8-bit BGR.
void PngLibraryDecode(benchmark::State& state) {
    std::string path = codecFile(static_cast<int>(state.range(0)), true).string();
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        png_image_begin_read_from_file(&image, path.c_str());
        image.format = PNG_FORMAT_BGR;
        std::unique_ptr<unsigned char[]> pixels(new unsigned char[PNG_IMAGE_SIZE(image)]);
        png_image_finish_read(&image, nullptr, pixels.get(), 0, nullptr);
        benchmark::DoNotOptimize(pixels.get());
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

void JpegReadImage(benchmark::State& state) {
    std::wstring path = codecFile(static_cast<int>(state.range(0)), false).wstring();
    for (auto _ : state) {
        ImagePtr image = named();
        plugins().readJpeg(path.c_str(), image.get());
        benchmark::DoNotOptimize(image->GetBitmapBits());
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

// The library's example decode: stdio source, RGB scanlines into one buffer.
void JpegLibraryDecode(benchmark::State& state) {
    std::string path = codecFile(static_cast<int>(state.range(0)), false).string();
    for (auto _ : state) {
        std::FILE* in = std::fopen(path.c_str(), "rb");
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_stdio_src(&info, in);
        jpeg_read_header(&info, TRUE);
        jpeg_start_decompress(&info);
        std::size_t stride = static_cast<std::size_t>(info.output_width) * info.output_components;
        std::unique_ptr<unsigned char[]> pixels(new unsigned char[stride * info.output_height]);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.get() + stride * info.output_scanline;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        std::fclose(in);
        benchmark::DoNotOptimize(pixels.get());
    }
    state.SetLabel(label(static_cast<int>(state.range(0))));
}

#define PICTURE_BENCHMARK(name) BENCHMARK(name)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
PICTURE_BENCHMARK(ReadImage);
PICTURE_BENCHMARK(FreadBaseline);
PICTURE_BENCHMARK(WriteImage);
PICTURE_BENCHMARK(FwriteBaseline);
PICTURE_BENCHMARK(BlendInPlace);
PICTURE_BENCHMARK(MemcpyBaseline);
PICTURE_BENCHMARK(Backdrop);
PICTURE_BENCHMARK(Enlarge200);
PICTURE_BENCHMARK(PngReadImage);
PICTURE_BENCHMARK(PngLibraryDecode);
PICTURE_BENCHMARK(JpegReadImage);
PICTURE_BENCHMARK(JpegLibraryDecode);

// Keeps every run's time per iteration (ms) to print the ratios at the end.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

// Pillow's best times (ms) for the same work on the same file.
std::map<std::string, double> pillowTimes(const std::filesystem::path& file) {
    std::map<std::string, double> result;
    // The system interpreter carries the distribution's Pillow.
    std::string python =
        std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    std::string command = python + " '" PILLOW_SCRIPT "' '" + file.string() + "' 5 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char name[64];
    double ms;
    while (std::fscanf(pipe, "%63s %lf", name, &ms) == 2)
        result[name] = ms;
    pclose(pipe);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    std::printf("\nRatios (plug-in time / baseline time; below 1 is faster):\n");
    for (int index : {0, 1}) {
        std::string arg = "/" + std::to_string(index);
        auto ratio = [&](const char* name, const char* base) {
            auto a = t.find(name + arg), b = t.find(base + arg);
            if (a == t.end() || b == t.end())
                return;
            std::printf("  %-10s %-12s vs %-14s %8.3f ms / %8.3f ms = %5.2f\n",
                        label(index).c_str(), name, base, a->second, b->second,
                        a->second / b->second);
        };
        ratio("ReadImage", "FreadBaseline");
        ratio("WriteImage", "FwriteBaseline");
        ratio("BlendInPlace", "MemcpyBaseline");
        ratio("PngReadImage", "PngLibraryDecode");
        ratio("JpegReadImage", "JpegLibraryDecode");
        if (t.count("Backdrop" + arg) || t.count("Enlarge200" + arg)) {
            auto pillow = pillowTimes(picture(index).file);
            if (pillow.empty()) {
                std::printf("  %-10s Pillow not available (python3-pil)\n", label(index).c_str());
                continue;
            }
            const std::pair<const char*, const char*> pairs[] = {{"Backdrop", "backdrop"},
                                                                 {"Enlarge200", "enlarge200"}};
            for (auto [ours, theirs] : pairs) {
                auto a = t.find(ours + arg);
                if (a == t.end() || !pillow.count(theirs))
                    continue;
                std::printf("  %-10s %-12s vs Pillow %-7s %8.3f ms / %8.3f ms = %5.2f\n",
                            label(index).c_str(), ours, theirs, a->second, pillow[theirs],
                            a->second / pillow[theirs]);
            }
        }
    }
    std::filesystem::remove_all(workDir());
    benchmark::Shutdown();
    return 0;
}
