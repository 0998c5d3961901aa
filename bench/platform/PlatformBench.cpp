// Drawing benchmarks of the platform layer, each paired with a plain QPainter
// doing the same on QImages in the same run; the ratios are printed at the end.

#include "bench/support/RatioReporter.h"

#include "platform/testsupport/TestHooks.h"
#include "platform/ui/DC.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 480;
const wchar_t* const ROW =
    L"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじ";

struct Canvas {
    CDC dc;
    CBitmap bitmap;
    CBitmap* previous = nullptr;
    explicit Canvas(COLORREF fill) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, WIDTH, HEIGHT);
        previous = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, WIDTH, HEIGHT, fill);
    }
    ~Canvas() { dc.SelectObject(previous); }
};

void BM_BitBltCopy(benchmark::State& state) {
    Canvas source(RGB(10, 20, 30)), target(RGB(255, 255, 255));
    for (auto _ : state)
        target.dc.BitBlt(0, 0, WIDTH, HEIGHT, &source.dc, 0, 0, SRCCOPY);
    state.SetBytesProcessed(state.iterations() * WIDTH * HEIGHT * 4);
}
BENCHMARK(BM_BitBltCopy);

void BM_BitBltAnd(benchmark::State& state) {
    Canvas source(RGB(10, 20, 30)), target(RGB(255, 255, 255));
    for (auto _ : state)
        target.dc.BitBlt(0, 0, WIDTH, HEIGHT, &source.dc, 0, 0, SRCAND);
    state.SetBytesProcessed(state.iterations() * WIDTH * HEIGHT * 4);
}
BENCHMARK(BM_BitBltAnd);

void BM_QPainterCopy(benchmark::State& state) {
    QImage source(WIDTH, HEIGHT, QImage::Format_RGB32), target(WIDTH, HEIGHT, QImage::Format_RGB32);
    source.fill(qRgb(10, 20, 30));
    target.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, source);
    }
    state.SetBytesProcessed(state.iterations() * WIDTH * HEIGHT * 4);
}
BENCHMARK(BM_QPainterCopy);

void BM_QPainterAnd(benchmark::State& state) {
    QImage source(WIDTH, HEIGHT, QImage::Format_RGB32), target(WIDTH, HEIGHT, QImage::Format_RGB32);
    source.fill(qRgb(10, 20, 30));
    target.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(0, 0, source);
    }
    state.SetBytesProcessed(state.iterations() * WIDTH * HEIGHT * 4);
}
BENCHMARK(BM_QPainterAnd);

void BM_TextRow(benchmark::State& state) {
    Canvas target(RGB(255, 255, 255));
    LOGFONT lf{};
    lf.lfHeight = -20;
    lf.lfWeight = FW_NORMAL;
    std::wcscpy(lf.lfFaceName, L"ＭＳ 明朝");
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* old = target.dc.SelectObject(&font);
    target.dc.SetBkMode(TRANSPARENT);
    const int length = static_cast<int>(std::wcslen(ROW));
    for (auto _ : state) {
        CRect r(0, 100, WIDTH, 124);
        target.dc.DrawText(ROW, length, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    target.dc.SelectObject(old);
}
BENCHMARK(BM_TextRow);

void BM_QPainterTextRow(benchmark::State& state) {
    QImage target(WIDTH, HEIGHT, QImage::Format_RGB32);
    target.fill(Qt::white);
    QFont font(QStringLiteral("IPAMincho"));
    font.setPixelSize(20);
    const QString row = QString::fromWCharArray(ROW);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(0, 100 + 17), row);
    }
}
BENCHMARK(BM_QPainterTextRow);

} // namespace

int main(int argc, char** argv) {
    lumo::test::pumpMessages(); // the Qt application, for fonts
    benchmark::Initialize(&argc, argv);
    lumo::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio("BitBlt 800x480 SRCCOPY", "BM_BitBltCopy", "BM_QPainterCopy", "<= 1.3x");
    reporter.printRatio("BitBlt 800x480 SRCAND", "BM_BitBltAnd", "BM_QPainterAnd", "<= 1.3x");
    reporter.printRatio("one 40-character Japanese row", "BM_TextRow", "BM_QPainterTextRow",
                        "<= 1.3x");
    benchmark::Shutdown();
    return 0;
}
