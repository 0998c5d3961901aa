#include "Resample.h"

#include "picture/PLImage.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace lumo::imaging {

namespace {

// Both sizes, or false when either image has no pixels.
bool sizes(CPLImage& source, CPLImage& destination, int& ws, int& hs, int& wd, int& hd) {
    return source.GetImageSize(ws, hs) && destination.GetImageSize(wd, hd);
}

std::uint32_t truncToUnsigned32(double value) {
    if (!(value > 0))
        return 0;
    if (value >= 4294967295.0)
        return UINT32_MAX;
    return static_cast<std::uint32_t>(value);
}

} // namespace

int truncToInt(double value) {
    if (!(value > -2147483648.0)) // NaN and very negative values
        return value != value ? 0 : INT_MIN;
    if (value >= 2147483647.0)
        return INT_MAX;
    return static_cast<int>(value);
}

void resampleNearest(CPLImage& source, CPLImage& destination) {
    int ws, hs, wd, hd;
    if (!sizes(source, destination, ws, hs, wd, hd))
        return;
    double r = static_cast<double>(ws) / wd;
    std::vector<int> columns(static_cast<std::size_t>(wd));
    for (int j = 0; j < wd; ++j)
        columns[static_cast<std::size_t>(j)] = truncToInt(j * r);
    BMP_BGR last{0, 0, 0};
    for (int i = 0; i < hd; ++i) {
        int y = truncToInt(i * r);
        BMP_BGR* out = destination.GetLinePtr(static_cast<unsigned>(i));
        if (y < 0 || y >= hs) {
            for (int j = 0; j < wd; ++j)
                out[j] = last;
            continue;
        }
        const BMP_BGR* in = source.GetLinePtr(static_cast<unsigned>(y));
        for (int j = 0; j < wd; ++j) {
            int x = columns[static_cast<std::size_t>(j)];
            if (x >= 0 && x < ws)
                last = in[x];
            out[j] = last;
        }
    }
}

namespace {

// One box read pixel by pixel, with the failed-read rule.
BMP_BGR averageBoxExactly(CPLImage& source, int ws, int hs, std::uint32_t x0, std::uint32_t x1,
                          std::uint32_t y0, std::uint32_t y1, BMP_BGR& last) {
    std::uint64_t blue = 0, green = 0, red = 0;
    for (std::uint64_t y = y0; y <= y1; ++y) {
        for (std::uint64_t x = x0; x <= x1; ++x) {
            if (x < static_cast<std::uint64_t>(ws) && y < static_cast<std::uint64_t>(hs))
                last = source.GetLinePtr(static_cast<unsigned>(y))[x];
            blue += last.blue;
            green += last.green;
            red += last.red;
        }
    }
    // Edges that wrapped past each other (sources beyond 65536 pixels) give an
    // empty box: black rather than a division by zero.
    std::int64_t count = (std::int64_t{x1} - x0 + 1) * (std::int64_t{y1} - y0 + 1);
    if (count <= 0)
        return BMP_BGR{0, 0, 0};
    auto n = static_cast<std::uint64_t>(count);
    return BMP_BGR{static_cast<BYTE>(blue / n), static_cast<BYTE>(green / n),
                   static_cast<BYTE>(red / n)};
}

} // namespace

void resampleBoxAverage(CPLImage& source, CPLImage& destination) {
    int ws, hs, wd, hd;
    if (!sizes(source, destination, ws, hs, wd, hd))
        return;
    // 16.16 fixed point; the width ratio serves both axes. The products wrap
    // in 32 bits, as the method defines them.
    std::uint32_t f = truncToUnsigned32(static_cast<double>(ws) / wd * 65536.0);
    std::uint32_t k = f >> 8;
    auto edge = [k](std::uint32_t n) { return (n * 256u * k) >> 16; };

    std::vector<std::uint32_t> xs0(static_cast<std::size_t>(wd)), xs1(static_cast<std::size_t>(wd));
    for (int j = 0; j < wd; ++j) {
        xs0[static_cast<std::size_t>(j)] = edge(static_cast<std::uint32_t>(j));
        xs1[static_cast<std::size_t>(j)] = edge(static_cast<std::uint32_t>(j) + 1);
    }
    // Column sums of the box rows: every box inside the source is the sum of
    // its columns' sums, which is exact.
    std::vector<std::uint32_t> columnSums(3 * static_cast<std::size_t>(ws));
    BMP_BGR last{0, 0, 0};
    for (int i = 0; i < hd; ++i) {
        std::uint32_t y0 = edge(static_cast<std::uint32_t>(i));
        std::uint32_t y1 = edge(static_cast<std::uint32_t>(i) + 1);
        BMP_BGR* out = destination.GetLinePtr(static_cast<unsigned>(i));
        bool rowsInside = y0 <= y1 && y1 < static_cast<std::uint32_t>(hs);
        if (rowsInside) {
            std::fill(columnSums.begin(), columnSums.end(), 0u);
            for (std::uint32_t y = y0; y <= y1; ++y) {
                auto* in = reinterpret_cast<const BYTE*>(source.GetLinePtr(y));
                std::uint32_t* sums = columnSums.data();
                for (std::size_t c = 0, n = columnSums.size(); c < n; ++c)
                    sums[c] += in[c];
            }
        }
        for (int j = 0; j < wd; ++j) {
            std::uint32_t x0 = xs0[static_cast<std::size_t>(j)];
            std::uint32_t x1 = xs1[static_cast<std::size_t>(j)];
            if (!rowsInside || x0 > x1 || x1 >= static_cast<std::uint32_t>(ws)) {
                out[j] = averageBoxExactly(source, ws, hs, x0, x1, y0, y1, last);
                continue;
            }
            std::uint64_t blue = 0, green = 0, red = 0;
            for (std::uint32_t x = x0; x <= x1; ++x) {
                const std::uint32_t* s = columnSums.data() + 3 * static_cast<std::size_t>(x);
                blue += s[0];
                green += s[1];
                red += s[2];
            }
            std::uint64_t count = (std::uint64_t{x1} - x0 + 1) * (std::uint64_t{y1} - y0 + 1);
            out[j] = BMP_BGR{static_cast<BYTE>(blue / count), static_cast<BYTE>(green / count),
                             static_cast<BYTE>(red / count)};
            last = source.GetLinePtr(y1)[x1];
        }
    }
}

namespace {

// One destination row from the two interpolated source rows; wide vectors
// where the processor has them, the same arithmetic either way.
__attribute__((target_clones("avx2", "default"))) void
blendRows(const double* upper, const double* lower, double weightUpper, double weightLower,
          BYTE* out, std::size_t bytes) {
    for (std::size_t n = 0; n < bytes; ++n)
        out[n] =
            static_cast<BYTE>(static_cast<int>(upper[n] * weightUpper + lower[n] * weightLower));
}

} // namespace

void resampleBilinear(CPLImage& source, CPLImage& destination) {
    int ws, hs, wd, hd;
    if (!sizes(source, destination, ws, hs, wd, hd))
        return;
    double rx = static_cast<double>(ws) / wd;
    double ry = static_cast<double>(hs) / hd;
    std::size_t rowBytes = 3 * static_cast<std::size_t>(wd);

    // Per destination column: the left source pixel, its right neighbour
    // (itself at the last column) and the two weights.
    std::vector<int> left(static_cast<std::size_t>(wd)), right(static_cast<std::size_t>(wd));
    std::vector<double> weightLeft(static_cast<std::size_t>(wd)),
        weightRight(static_cast<std::size_t>(wd));
    for (int j = 0; j < wd; ++j) {
        double sx = j * rx;
        int g = truncToInt(sx);
        double fx = sx - g;
        if (g > ws - 1)
            g = ws - 1;
        std::size_t n = static_cast<std::size_t>(j);
        left[n] = g;
        right[n] = g + 1 < ws ? g + 1 : g;
        weightLeft[n] = 1 - fx;
        weightRight[n] = fx;
    }

    // The two source rows interpolated across, as whole-number values kept in
    // doubles; they change only when the source row pair does. Before any row
    // is read they are black.
    std::vector<double> upper(rowBytes, 0.0), lower(rowBytes, 0.0);
    auto interpolateRow = [&](const BYTE* in, std::vector<double>& into) {
        for (int j = 0; j < wd; ++j) {
            std::size_t n = static_cast<std::size_t>(j);
            const BYTE* a = in + 3 * static_cast<std::size_t>(left[n]);
            const BYTE* b = in + 3 * static_cast<std::size_t>(right[n]);
            double wl = weightLeft[n], wr = weightRight[n];
            for (int c = 0; c < 3; ++c)
                into[3 * n + static_cast<std::size_t>(c)] = static_cast<int>(a[c] * wl + b[c] * wr);
        }
    };

    int remembered = -1;
    for (int i = 0; i < hd; ++i) {
        double sy = i * ry;
        int t = truncToInt(sy);
        double fy = sy - t;
        if (t != remembered) {
            if (t >= 0 && t < hs) {
                auto rowAt = [&](int y) {
                    return reinterpret_cast<const BYTE*>(
                        source.GetLinePtr(static_cast<unsigned>(y)));
                };
                const BYTE* second = rowAt(t + 1 < hs ? t + 1 : t);
                // Moving down one source row: the old lower row is the new upper.
                if (t == remembered + 1 && remembered >= 0 && remembered + 1 < hs)
                    std::swap(upper, lower);
                else
                    interpolateRow(rowAt(t), upper);
                interpolateRow(second, lower);
            }
            remembered = t;
        }
        blendRows(upper.data(), lower.data(), 1 - fy, fy,
                  reinterpret_cast<BYTE*>(destination.GetLinePtr(static_cast<unsigned>(i))),
                  rowBytes);
    }
}

} // namespace lumo::imaging
