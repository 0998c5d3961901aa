// Opening a book in the running program (in-process, offscreen), each figure
// against a baseline measured in the same run:
//
//   open to first page    against decoding the book alone, for the longest
//                         book of the shared corpus and a 35 MB book made by
//                         repeating it (goal <= 2x each)
//   open from a .zip      against opening the plain text (goal <= 1.3x)
//   decode from a .zip    against decoding the plain text (reported)
//   open and lay out      the long book whole, as every open did before the
//                         first page came first, against decoding (reported)
//   peak heap             of opening the 35 MB book, and of laying it out
//                         whole, against its file size (reported)
//
// The corpus is found beside the source tree (LUMO_BENCH_BOOK names another
// book); without it a generated book of the same kind stands in.
#include "bench/support/HeapCounter.h"
#include "bench/support/RatioReporter.h"
#include "tests/support/ZipFiles.h"

#include "reader/view/DavaroDiroView.h"

#include "host/LumoCoreApp.h"
#include "hostkit/LumoPluginManager.h"
#include "hostkit/MainFrame.h"
#include "platform/core/CodePage.h"
#include "platform/core/Module.h"
#include "platform/testsupport/TestHooks.h"
#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

extern "C" void LUMO_LoadPluginModule();
extern "C" void LUMO_UnloadPluginModule();

namespace {

namespace fs = std::filesystem;

constexpr size_t LARGE_BOOK_BYTES = 35u << 20;

struct Books {
    fs::path dir;
    fs::path corpus; // the long book
    fs::path large;  // the long book's body repeated to 35 MB
    fs::path zipped; // the long book in a .zip
    fs::path small;  // a page of text, opened in between
    std::string origin;
};

Books g_books;
CLumoCoreApp* g_app = nullptr;
CMainFrame* g_frame = nullptr;

std::string generatedBook() {
    std::string bytes = lumo::encodeMultiByte(932, L"吾輩は猫である\r\n夏目漱石\r\n\r\n");
    for (int i = 0; bytes.size() < 750 * 1024; ++i)
        bytes += lumo::encodeMultiByte(
            932,
            L"　吾輩《わがはい》は猫である。名前はまだ無い。どこで生れたかとんと見当《けんとう》"
            L"がつかぬ。" +
                std::to_wstring(i) +
                L"何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。"
                L"\r\n");
    return bytes;
}

void prepareBooks(Books& b) {
    b.dir = fs::temp_directory_path() / ("lumo-bench-opening-" + std::to_string(getpid()));
    fs::create_directories(b.dir / "plugins");
    std::string text;
    const char* given = std::getenv("LUMO_BENCH_BOOK");
    const fs::path corpus =
        given ? fs::path(given) : fs::path(LUMO_CORPUS_DIR) / "wagahaiwa_nekodearu.txt";
    if (fs::exists(corpus)) {
        text = lumo::test::readBytes(corpus);
        b.origin = corpus.string();
    } else {
        text = generatedBook();
        b.origin = "generated book";
    }
    b.corpus = b.dir / "book.txt";
    lumo::test::writeBytes(b.corpus, text);

    // The three title lines once, then the body again and again.
    size_t body = 0;
    for (int newlines = 0; newlines < 3 && body != std::string::npos;)
        body = text.find('\n', body) + 1, ++newlines;
    std::string large = text;
    while (large.size() < LARGE_BOOK_BYTES)
        large.append(text, body);
    b.large = b.dir / "large.txt";
    lumo::test::writeBytes(b.large, large);

    b.small = b.dir / "small.txt";
    lumo::test::writeBytes(b.small, lumo::encodeMultiByte(932, L"題\r\n者\r\n\r\n本文。\r\n"));

    b.zipped = b.dir / "book.zip";
    lumo::test::writeZip(b.zipped, {{"book/book.txt", text}});
}

void startProgram() {
    for (const char* plugin : {"bmp_import_wince.iplg", "scaler.fplg", "mixer.fplg"})
        fs::copy_file(fs::path(LUMO_STAGE_DIR) / plugin, g_books.dir / plugin,
                      fs::copy_options::overwrite_existing);
    setenv("XDG_CONFIG_HOME", (g_books.dir / "config").c_str(), 1);
    lumo::setProgramPathForTesting((g_books.dir / "LumoCore").wstring());
    CWinApp::SetCommandLineArguments({});
    // The application first: the reader registers its document type with it.
    g_app = new CLumoCoreApp;
    CLumoPluginManager::create();
    LUMO_LoadPluginModule();
    m_autoSaveAtExit = 0; // every open starts at the first page
    g_app->InitInstance();
    g_frame = dynamic_cast<CMainFrame*>(g_app->m_pMainWnd);
}

void stopProgram() {
    g_frame->DestroyWindow();
    lumo::test::pumpMessages();
    LUMO_UnloadPluginModule();
    CLumoPluginManager::destroy();
    delete g_app;
    std::error_code ignored;
    fs::remove_all(g_books.dir, ignored);
}

CDavaroDiroDocument* openDocument() {
    auto* view = dynamic_cast<CDavaroDiroView*>(g_frame->GetActiveView());
    return view ? view->GetDocument() : nullptr;
}

// Opens the book and runs the queue until the first page is painted; the
// rest of the layout (idle work) is left for after the clock stops.
void openToFirstPage(const fs::path& book) {
    lumo::test::holdIdleWork(true);
    g_frame->openFile(book.wstring());
    lumo::test::pumpMessages();
}

void finishOpening() {
    lumo::test::holdIdleWork(false);
    lumo::test::pumpMessages();
}

void BM_DecodeBook(benchmark::State& state, const fs::path* book) {
    for (auto _ : state) {
        auto decoded = std::make_unique<CDavaroDiroBook>();
        if (!decoded->loadFile(book->wstring().c_str()))
            state.SkipWithError("cannot read the book");
        benchmark::DoNotOptimize(decoded->m_sourceLines.data());
        // Opening puts the previous book away untimed; so does the baseline.
        state.PauseTiming();
        decoded.reset();
        state.ResumeTiming();
    }
}

void BM_OpenToFirstPage(benchmark::State& state, const fs::path* book) {
    for (auto _ : state) {
        // As when the program starts with the book: no large book to put away.
        state.PauseTiming();
        openToFirstPage(g_books.small);
        state.ResumeTiming();
        openToFirstPage(*book);
    }
    CDavaroDiroDocument* document = openDocument();
    if (!document || document->getLineStartCount() < 10)
        state.SkipWithError("the book did not open");
    finishOpening();
}
// The whole book laid out, as every open did before the first page came
// first: what the idle work takes off the way to the first page.
void BM_OpenAndLayOutWhole(benchmark::State& state, const fs::path* book) {
    for (auto _ : state) {
        state.PauseTiming();
        openToFirstPage(g_books.small);
        state.ResumeTiming();
        openToFirstPage(*book);
        finishOpening();
    }
    CDavaroDiroDocument* document = openDocument();
    if (!document || !document->isLayoutComplete())
        state.SkipWithError("the book was not laid out");
}

// Peak heap of opening the large book to its first page, and of laying it
// out whole, against the file's size.
void reportLargeBookMemory() {
    g_frame->openFile(g_books.corpus.wstring()); // drop any larger document first
    lumo::test::pumpMessages();
    const size_t before = lumo::bench::resetHeapPeak();
    openToFirstPage(g_books.large);
    const size_t firstPage = lumo::bench::heapPeak() - before;
    finishOpening();
    const size_t whole = lumo::bench::heapPeak() - before;
    const size_t kept = lumo::bench::heapInUse() - before;
    const double size = static_cast<double>(fs::file_size(g_books.large));
    std::printf("%-36s %.2fx of its file size (%.1f MB); laid out whole %.2fx, kept %.2fx\n",
                "peak heap, 35 MB book to first page", firstPage / size, size / 1e6, whole / size,
                kept / size);
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    lumo::test::pumpMessages();
    prepareBooks(g_books);
    startProgram();
    std::printf("book: %s (%ju bytes); large book %ju bytes\n", g_books.origin.c_str(),
                static_cast<std::uintmax_t>(fs::file_size(g_books.corpus)),
                static_cast<std::uintmax_t>(fs::file_size(g_books.large)));

    benchmark::RegisterBenchmark("BM_DecodeBook/long", BM_DecodeBook, &g_books.corpus)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DecodeBook/zip", BM_DecodeBook, &g_books.zipped)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_OpenToFirstPage/long", BM_OpenToFirstPage, &g_books.corpus)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_OpenToFirstPage/zip", BM_OpenToFirstPage, &g_books.zipped)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_OpenAndLayOutWhole/long", BM_OpenAndLayOutWhole,
                                 &g_books.corpus)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DecodeBook/35MB", BM_DecodeBook, &g_books.large)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_OpenToFirstPage/35MB", BM_OpenToFirstPage, &g_books.large)
        ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    lumo::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("open to first page, long book", "BM_OpenToFirstPage/long",
                        "BM_DecodeBook/long", "<= 2x");
    reporter.printRatio("open to first page, 35 MB book", "BM_OpenToFirstPage/35MB",
                        "BM_DecodeBook/35MB", "<= 2x");
    reporter.printRatio("open and lay out whole, long book", "BM_OpenAndLayOutWhole/long",
                        "BM_DecodeBook/long", "reported");
    reporter.printRatio("open from .zip", "BM_OpenToFirstPage/zip", "BM_OpenToFirstPage/long",
                        "<= 1.3x");
    reporter.printRatio("decode from .zip", "BM_DecodeBook/zip", "BM_DecodeBook/long", "reported");
    reportLargeBookMemory();
    benchmark::Shutdown();
    stopProgram();
    return 0;
}
