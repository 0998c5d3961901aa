// Reader view benchmarks at 800 x 480 with ruby on, on a page in the middle of
// the longest book of the shared corpus (LUMO_BENCH_BOOK overrides the path;
// without either a generated book of the same kind is used):
//
//   full page paint        against the same rows drawn with plain QPainter calls
//   one-line scroll step   against the full page paint
//   open to first page     against decoding the book alone
//   full notation page     a page of emphasis and headings against the same
//                          book in the basic notation
//   vertical, turned       see DirectionBench.cpp
//
// On a busy machine run with --benchmark_repetitions=5 (or more): each ratio
// then compares the fastest repetitions.
//
// The program runs in-process under the offscreen platform, with the reader
// registered as the loader would, so every figure includes the real framework.
#include "BenchProgram.h"

#include "bench/support/RatioReporter.h"

#include "reader/view/DavaroDiroView.h"
#include "reader/view/ViewProbe.h"

#include "host/LumoCoreApp.h"
#include "hostkit/LumoPluginManager.h"
#include "hostkit/MainFrame.h"
#include "platform/core/CodePage.h"
#include "platform/core/Module.h"
#include "platform/testsupport/TestHooks.h"
#include "reader/document/DavaroDiroDocument.h"
#include "reader/document/ReaderSettings.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

extern "C" void LUMO_LoadPluginModule();
extern "C" void LUMO_UnloadPluginModule();

namespace {

namespace fs = std::filesystem;

using Program = BenchProgram;

Program* g_program = nullptr;

fs::path chooseBook(const fs::path& dir) {
    if (const char* given = std::getenv("LUMO_BENCH_BOOK"))
        return given;
    const fs::path corpus = fs::path(LUMO_CORPUS_DIR) / "wagahaiwa_nekodearu.txt";
    if (fs::exists(corpus))
        return corpus;
    // A stand-in of similar size: ruby-rich paragraphs in Shift_JIS.
    std::string bytes;
    for (int i = 0; i < 6000; ++i) {
        std::wstring line =
            L"　吾輩《わがはい》は猫である。名前はまだ無い。どこで生れたかとんと見当《けんとう》が"
            L"つかぬ。" +
            std::to_wstring(i) +
            L"何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。";
        bytes += lumo::encodeMultiByte(932, line) + "\r\n";
    }
    const fs::path generated = dir / "generated.txt";
    std::ofstream(generated, std::ios::binary) << bytes;
    return generated;
}

void startProgram(Program& p) {
    p.dir = fs::temp_directory_path() / ("lumo-bench-view-" + std::to_string(getpid()));
    fs::create_directories(p.dir / "plugins");
    for (const char* plugin : {"bmp_import_wince.iplg", "scaler.fplg", "mixer.fplg"})
        fs::copy_file(fs::path(LUMO_STAGE_DIR) / plugin, p.dir / plugin,
                      fs::copy_options::overwrite_existing);
    setenv("XDG_CONFIG_HOME", (p.dir / "config").c_str(), 1);
    lumo::setProgramPathForTesting((p.dir / "LumoCore").wstring());
    CWinApp::SetCommandLineArguments({});
    CLumoPluginManager::create();
    LUMO_LoadPluginModule();
    m_autoSaveAtExit = 0; // every open starts at the first page
    p.app.InitInstance();
    p.frame = dynamic_cast<CMainFrame*>(p.app.m_pMainWnd);
    p.book = chooseBook(p.dir);
    p.frame->openFile(p.book.wstring());
    lumo::test::pumpMessages();
}

void stopProgram(Program& p) {
    p.frame->DestroyWindow();
    lumo::test::pumpMessages();
    LUMO_UnloadPluginModule();
    CLumoPluginManager::destroy();
    std::error_code ignored;
    fs::remove_all(p.dir, ignored);
}

int middleLine() {
    CDavaroDiroDocument* document = g_program->document();
    return document->getLineStartCount() / 2;
}

void BM_FullPagePaint(benchmark::State& state) {
    CDavaroDiroView* view = g_program->view();
    g_program->document()->m_currentIndex = middleLine();
    CClientDC dc(view);
    for (auto _ : state) {
        yomite::ViewProbe(view).forgetDrawnPage();
        view->OnDraw(&dc);
    }
}
BENCHMARK(BM_FullPagePaint)->Unit(benchmark::kMicrosecond);

void BM_OneLineStep(benchmark::State& state) {
    CDavaroDiroView* view = g_program->view();
    CDavaroDiroDocument* document = g_program->document();
    const int line = middleLine();
    document->m_currentIndex = line;
    CClientDC dc(view);
    yomite::ViewProbe(view).forgetDrawnPage();
    view->OnDraw(&dc);
    bool forward = true;
    for (auto _ : state) {
        document->m_currentIndex = forward ? line + 1 : line;
        forward = !forward;
        view->OnDraw(&dc);
    }
}
BENCHMARK(BM_OneLineStep)->Unit(benchmark::kMicrosecond);

// The same visible rows, parsed the same way, drawn with plain QPainter calls
// to the same pixels: background, body text with its second pass one pixel to
// the right (the bold look), and each ruby text over its base.
void BM_QPainterPage(benchmark::State& state) {
    CDavaroDiroDocument* document = g_program->document();
    const int top = middleLine();
    const int lines = document->getLayoutMetrics().linesPerPage;
    QImage image(800, 480, QImage::Format_RGB32);
    QFont body(QStringLiteral("IPAGothic"));
    body.setPixelSize(16);
    QFont ruby(QStringLiteral("IPAGothic"));
    ruby.setPixelSize(10);
    const int pitch = 16 + 10 + 2;
    const int ascentBody = QFontMetrics(body).ascent();
    const int ascentRuby = QFontMetrics(ruby).ascent();
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(0, 0, 752, 480, Qt::white);
        painter.setPen(Qt::black);
        for (int r = 0; r < lines; ++r) {
            std::wstring text;
            std::vector<RubySpan> spans;
            InlineTag tag;
            CDavaroDiroBook::parseLine(document->getDisplayLineText(top + r), text, spans, tag);
            painter.setFont(body);
            const QString row = QString::fromStdWString(text);
            painter.drawText(0, r * pitch + 10 + ascentBody, row);
            painter.drawText(1, r * pitch + 10 + ascentBody, row);
            painter.setFont(ruby);
            for (const RubySpan& span : spans)
                painter.drawText(span.baseStart * 8, r * pitch + ascentRuby,
                                 QString::fromStdWString(span.rubyText));
        }
    }
}
BENCHMARK(BM_QPainterPage)->Unit(benchmark::kMicrosecond);

void BM_OpenToFirstPage(benchmark::State& state) {
    for (auto _ : state) {
        g_program->frame->openFile(g_program->book.wstring());
        lumo::test::pumpMessages();
    }
    if (!g_program->view() || g_program->document()->getLineStartCount() < 10)
        state.SkipWithError("the book did not open");
}
BENCHMARK(BM_OpenToFirstPage)->Unit(benchmark::kMillisecond);

void BM_DecodeBook(benchmark::State& state) {
    for (auto _ : state) {
        CDavaroDiroBook book;
        benchmark::DoNotOptimize(book.loadFile(g_program->book.wstring().c_str()));
    }
}
BENCHMARK(BM_DecodeBook)->Unit(benchmark::kMillisecond);

// Not a goal of its own: the share of opening that the document's layout of
// the whole book takes, to read the open figure by.
void BM_LayoutOnly(benchmark::State& state) {
    CDavaroDiroBook book;
    book.loadFile(g_program->book.wstring().c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(book.layout(92, 16));
}
BENCHMARK(BM_LayoutOnly)->Unit(benchmark::kMillisecond);

// A page of headings and emphasis (marks, lines, ruby) painted in full
// notation (1) against the same book painted in the basic notation (0), where
// the same text shows without them.
fs::path notationBook(const fs::path& dir) {
    std::string bytes = lumo::encodeMultiByte(932, L"題\r\n作者\r\n\r\n");
    for (int i = 0; i < 200; ++i) {
        std::wstring line =
            i % 6 == 0
                ? L"［＃３字下げ］第" + std::to_wstring(i) + L"章　見出し［＃「見出し」は中見出し］"
                : L"　吾輩《わがはい》は猫である。［＃傍点］名前はまだ無い［＃傍点終わり］。"
                  L"どこで生れたかとんと見当《けんとう》がつかぬ［＃「つかぬ」に白ゴマ傍点］。"
                  L"何でも薄暗いじめじめした所で［＃「所で」に傍線］ニャーニャー泣いていた事"
                  L"［＃「泣いていた事」の左に波線］だけは記憶している。";
        bytes += lumo::encodeMultiByte(932, line) + "\r\n";
    }
    const fs::path book = dir / "notation.txt";
    std::ofstream(book, std::ios::binary) << bytes;
    return book;
}

void BM_NotationPagePaint(benchmark::State& state) {
    m_aozoraNotation = static_cast<int>(state.range(0));
    g_program->frame->openFile(notationBook(g_program->dir).wstring());
    lumo::test::pumpMessages();
    CDavaroDiroView* view = g_program->view();
    if (!view || g_program->document()->hasNotation() != (m_aozoraNotation != 0)) {
        state.SkipWithError("the notation book did not open as asked");
        return;
    }
    g_program->document()->m_currentIndex = 3;
    CClientDC dc(view);
    for (auto _ : state) {
        yomite::ViewProbe(view).forgetDrawnPage();
        view->OnDraw(&dc);
    }
    m_aozoraNotation = 0;
}
// Last: it leaves its own book open.
BENCHMARK(BM_NotationPagePaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BenchProgram& benchProgram() {
    return *g_program;
}

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    lumo::test::pumpMessages();
    Program program;
    g_program = &program;
    startProgram(program);
    std::printf("book: %s, %d display lines, %d per page\n", program.book.c_str(),
                program.document()->getLineStartCount(),
                program.document()->getLayoutMetrics().linesPerPage);

    benchmark::Initialize(&argc, argv);
    lumo::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("full page paint", "BM_FullPagePaint", "BM_QPainterPage", "<= 1.5x");
    reporter.printRatio("one-line step", "BM_OneLineStep", "BM_FullPagePaint", "<= 0.2x");
    reporter.printRatio("open to first page", "BM_OpenToFirstPage", "BM_DecodeBook", "<= 2x");
    reporter.printRatio("  of it: layout alone", "BM_LayoutOnly", "BM_DecodeBook", "none");
    reporter.printRatio("page with emphasis and headings", "BM_NotationPagePaint/1",
                        "BM_NotationPagePaint/0", "<= 1.3x");
    reporter.printRatio("vertical page", "BM_PagePaint/1/0/0", "BM_PagePaint/0/0/0", "<= 1.5x");
    reporter.printRatio("one-column step", "BM_OneColumnStep", "BM_PagePaint/1/0/0", "<= 0.2x");
    reporter.printRatio("turned page", "BM_PagePaint/0/1/0", "BM_PagePaint/0/0/1", "<= 1.2x");
    reporter.printRatio("turned vertical page", "BM_PagePaint/1/1/0", "BM_PagePaint/1/0/1",
                        "<= 1.2x");
    reporter.printRatio("  turned page against the wide view's", "BM_PagePaint/0/1/0",
                        "BM_PagePaint/0/0/0", "none");
    benchmark::Shutdown();
    stopProgram(program);
    return 0;
}
