// Reader document model benchmarks. Uses the longest book of the shared corpus
// when it is there (LUMO_BENCH_BOOK overrides the path), otherwise a generated
// book of the same size. Prints each pair's ratio and the peak heap use of
// loading and laying out the book.
#include "bench/support/HeapCounter.h"
#include "bench/support/RatioReporter.h"

#include "reader/document/DavaroDiroBook.h"
#include "reader/document/ReaderSettings.h"

#include "platform/core/CodePage.h"
#include "platform/core/FileIO.h"
#include "platform/core/Utf8.h"

#include <benchmark/benchmark.h>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr int COLUMNS = 36;
constexpr int LINES = 14;

// A book in the style of the corpus: kanji with ruby, kana, punctuation that
// hangs or may not end a line, annotations and some Latin words and numbers.
std::string generatedBook(size_t targetBytes) {
    std::mt19937 random(42);
    const std::wstring kana = L"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむ"
                              L"めもやゆよらりるれろわをんっゃゅょ";
    const std::wstring kanji = L"吾輩猫名前生何見当薄暗所泣記憶人間始時書生種族中一番獰悪";
    std::string bytes;
    while (bytes.size() < targetBytes) {
        std::wstring line = L"　";
        const int sentences = 1 + random() % 6;
        for (int s = 0; s < sentences; ++s) {
            const int words = 3 + random() % 12;
            for (int w = 0; w < words; ++w) {
                switch (random() % 10) {
                case 0:
                    line += kanji[random() % kanji.size()];
                    line += kanji[random() % kanji.size()];
                    line += L"《";
                    line += kana[random() % kana.size()];
                    line += kana[random() % kana.size()];
                    line += L"》";
                    break;
                case 1:
                    line += L"「";
                    break;
                case 2:
                    line += L"、";
                    break;
                case 3:
                    line += L" Latin words 12.5 ";
                    break;
                case 4:
                    line +=
                        L"［＃「" + std::wstring(1, kanji[random() % kanji.size()]) + L"」に傍点］";
                    break;
                default:
                    for (int k = 0; k < 3; ++k) {
                        const std::wstring& pool = random() % 3 ? kana : kanji;
                        line += pool[random() % pool.size()];
                    }
                }
            }
            line += random() % 4 ? L"。" : L"」";
        }
        line += L"\r\n";
        bytes += lumo::encodeMultiByte(932, line);
    }
    return lumo::encodeMultiByte(932, L"吾輩は猫である\r\n夏目漱石\r\n\r\n") + bytes;
}

struct Book {
    std::wstring path;
    std::string bytes;
    std::string origin;
};

const Book& book() {
    static const Book loaded = [] {
        Book b;
        const char* override = std::getenv("LUMO_BENCH_BOOK");
        std::string path =
            override ? override : std::string(LUMO_CORPUS_DIR) + "/wagahaiwa_nekodearu.txt";
        if (std::filesystem::exists(path)) {
            b.path = lumo::fromUtf8(path);
            b.origin = path;
        } else {
            auto file = std::filesystem::temp_directory_path() / "lumo-bench-book.txt";
            std::string generated = generatedBook(750 * 1024);
            std::ofstream(file, std::ios::binary)
                .write(generated.data(), static_cast<std::streamsize>(generated.size()));
            b.path = lumo::fromFsPath(file);
            b.origin = "generated book";
        }
        b.bytes = lumo::readFileBytes(b.path).value_or(std::string());
        return b;
    }();
    return loaded;
}

// Baseline: read the file and convert it whole with one iconv call.
void BM_IconvWholeFile(benchmark::State& state) {
    iconv_t cd = iconv_open("WCHAR_T", "CP932");
    std::wstring out;
    for (auto _ : state) {
        std::string bytes = lumo::readFileBytes(book().path).value_or(std::string());
        out.resize(bytes.size() + 1);
        char* in = bytes.data();
        size_t inLeft = bytes.size();
        char* outPtr = reinterpret_cast<char*>(out.data());
        size_t outLeft = out.size() * sizeof(wchar_t);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
            state.SkipWithError("iconv stopped at an invalid byte");
        benchmark::DoNotOptimize(out.data());
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * book().bytes.size()));
}

void BM_LoadBook(benchmark::State& state) {
    for (auto _ : state) {
        CDavaroDiroBook b;
        if (!b.loadFile(book().path.c_str()))
            state.SkipWithError("cannot open the book");
        benchmark::DoNotOptimize(b.m_sourceLines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * book().bytes.size()));
}

// Baseline: every line-break opportunity of the same text with ICU.
void BM_IcuLineBreaks(benchmark::State& state) {
    CDavaroDiroBook b;
    b.loadFile(book().path.c_str());
    icu::UnicodeString text;
    for (const std::wstring& line : b.m_sourceLines) {
        for (wchar_t c : line)
            text.append(static_cast<UChar32>(c));
        text.append(static_cast<UChar>(u'\n'));
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createLineInstance(icu::Locale::getJapan(), status));
    if (U_FAILURE(status)) {
        state.SkipWithError("no ICU line break iterator");
        return;
    }
    int64_t opportunities = 0;
    for (auto _ : state) {
        breaks->setText(text);
        opportunities = 0;
        for (int32_t p = breaks->first(); p != icu::BreakIterator::DONE; p = breaks->next())
            ++opportunities;
        benchmark::DoNotOptimize(opportunities);
    }
    state.counters["opportunities"] = static_cast<double>(opportunities);
}

void BM_Layout(benchmark::State& state) {
    m_lineBoundary = static_cast<int>(state.range(0));
    m_wordWrap = static_cast<int>(state.range(0));
    CDavaroDiroBook b;
    b.loadFile(book().path.c_str());
    for (auto _ : state) {
        if (!b.layout(COLUMNS, LINES))
            state.SkipWithError("layout refused the book");
    }
    state.counters["displayLines"] = b.getLineStartCount() - 1;
    state.counters["pages"] = b.getPageCount();
    m_lineBoundary = m_wordWrap = 1;
}

// The same layout in the basic notation (0) and in full notation (1), which
// parses every source line and keeps the notation's state per line.
void BM_LayoutNotation(benchmark::State& state) {
    m_aozoraNotation = static_cast<int>(state.range(0));
    CDavaroDiroBook b;
    b.loadFile(book().path.c_str());
    for (auto _ : state) {
        if (!b.layout(COLUMNS, LINES))
            state.SkipWithError("layout refused the book");
    }
    state.counters["displayLines"] = b.getLineStartCount() - 1;
    m_aozoraNotation = 0;
}

// Peak heap while loading and laying the book out once, and what stays.
void BM_LoadAndLayoutMemory(benchmark::State& state) {
    size_t peak = 0, kept = 0, tables = 0;
    for (auto _ : state) {
        const size_t before = lumo::bench::resetHeapPeak();
        {
            CDavaroDiroBook b;
            b.loadFile(book().path.c_str());
            b.layout(COLUMNS, LINES);
            kept = lumo::bench::heapInUse() - before;
            tables = b.m_lineStarts.size() * sizeof(SourcePosition) +
                     b.m_pageStarts.size() * sizeof(int32_t);
        }
        peak = lumo::bench::heapPeak() - before;
    }
    state.counters["peakBytes"] = static_cast<double>(peak);
    state.counters["keptBytes"] = static_cast<double>(kept);
    state.counters["tableBytes"] = static_cast<double>(tables);
}

BENCHMARK(BM_IconvWholeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuLineBreaks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutNotation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndLayoutMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Records each benchmark's time per iteration so the ratios can be printed.

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("book: %s (%zu bytes)\n", book().origin.c_str(), book().bytes.size());
    lumo::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("load and decode", "BM_LoadBook", "BM_IconvWholeFile", "<= 1.5x");
    reporter.printRatio("layout 36x14, rules on", "BM_Layout/1", "BM_IcuLineBreaks", "<= 1.0x");
    reporter.printRatio("layout 36x14, rules off", "BM_Layout/0", "BM_IcuLineBreaks", "<= 1.0x");
    reporter.printRatio("layout in full notation", "BM_LayoutNotation/1", "BM_LayoutNotation/0",
                        "<= 1.3x");
    benchmark::Shutdown();
    return 0;
}
