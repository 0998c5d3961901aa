// Writing direction and turned screen, on the same source place of the
// benchmark book, each against its own baseline in the same run:
//
//   BM_PagePaint/1/0/0   a vertical full page against the horizontal one
//                        (/0/0/0), on the 800 x 454 view
//   BM_OneColumnStep     a one-column step against the vertical full page
//   BM_PagePaint/0/1/0   a full page turned onto the 800 x 454 view against
//                        the same 454 x 800 page on an upright view of that
//                        size (/0/0/1); /1/1/0 and /1/0/1 in vertical writing
//
// Directions are applied as the settings dialog applies them: fonts, layout
// and buffers rebuilt, the source place kept.
#include "BenchProgram.h"

#include "reader/view/ViewProbe.h"

#include "platform/testsupport/TestHooks.h"
#include "reader/document/ReaderSettings.h"

#include <benchmark/benchmark.h>

namespace {

// The source place all pages start at: the middle of the book.
SourcePosition middlePlace(CDavaroDiroDocument* document) {
    return {static_cast<int32_t>(document->m_sourceLines.size() / 2), 0};
}

constexpr int VIEW_WIDTH = 800;
constexpr int VIEW_HEIGHT = 454;
constexpr int COMMAND_BAR = 26;

// Opens the benchmark book with the directions, at the middle of the book,
// on an upright view as tall as a turned one when `tall`; false when it did
// not open.
bool openWith(int text, int display, bool tall = false) {
    BenchProgram& program = benchProgram();
    m_textDirection = text;
    m_displayDirection = display;
    if (tall)
        program.frame->MoveWindow(0, 0, VIEW_HEIGHT, VIEW_WIDTH + COMMAND_BAR);
    program.frame->openFile(program.book.wstring());
    lumo::test::pumpMessages();
    CDavaroDiroView* view = program.view();
    if (!view)
        return false;
    CDavaroDiroDocument* document = program.document();
    document->m_currentIndex = document->indexOf(middlePlace(document));
    return true;
}

void restore() {
    m_textDirection = 0;
    m_displayDirection = 0;
    benchProgram().frame->MoveWindow(0, 0, VIEW_WIDTH, VIEW_HEIGHT + COMMAND_BAR);
}

void BM_PagePaint(benchmark::State& state) {
    if (!openWith(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                  state.range(2) != 0)) {
        state.SkipWithError("the book did not open");
        return;
    }
    CDavaroDiroView* view = benchProgram().view();
    CClientDC dc(view);
    for (auto _ : state) {
        yomite::ViewProbe(view).forgetDrawnPage();
        view->OnDraw(&dc);
    }
    restore();
}
BENCHMARK(BM_PagePaint)
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({0, 1, 0})
    ->Args({1, 1, 0})
    ->Args({0, 0, 1})
    ->Args({1, 0, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_OneColumnStep(benchmark::State& state) {
    if (!openWith(1, 0)) {
        state.SkipWithError("the book did not open");
        return;
    }
    CDavaroDiroView* view = benchProgram().view();
    CDavaroDiroDocument* document = benchProgram().document();
    const int line = document->m_currentIndex;
    CClientDC dc(view);
    yomite::ViewProbe(view).forgetDrawnPage();
    view->OnDraw(&dc);
    bool forward = true;
    for (auto _ : state) {
        document->m_currentIndex = forward ? line + 1 : line;
        forward = !forward;
        view->OnDraw(&dc);
    }
    restore();
}
BENCHMARK(BM_OneColumnStep)->Unit(benchmark::kMicrosecond);

} // namespace
