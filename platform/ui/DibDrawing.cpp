// Copying caller-held DIB rows to a DC, 1:1 or scaled.

#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Raster.h"

using lumo::DeviceContext;

namespace {

// A top-down view of DIB rows handed in by the caller (no copy).
bool dibSource(const void* bits, const BITMAPINFO* info, QImage& image, bool& bottomUp) {
    if (!bits || !info)
        return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != BI_RGB || width <= 0 ||
        height <= 0)
        return false;
    const int stride = ((width * h.biBitCount / 8) + 3) & ~3;
    image = QImage(static_cast<const uchar*>(bits), width, height, stride,
                   h.biBitCount == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    bottomUp = h.biHeight > 0;
    return true;
}

} // namespace

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                      UINT StartScan, UINT cLines, const void* lpvBits, const BITMAPINFO* lpbmi,
                      UINT) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    QImage source;
    bool bottomUp = false;
    if (!dc || !dibSource(lpvBits, lpbmi, source, bottomUp))
        return 0;
    // Only whole-image transfers are supported (StartScan 0, all lines).
    if (StartScan != 0 || cLines < static_cast<UINT>(source.height()))
        return 0;
    lumo::DrawTarget t = lumo::drawTarget(dc);
    if (!t.valid())
        return 0;
    // ySrc counts from the bottom row in a bottom-up DIB.
    const int top = bottomUp ? source.height() - ySrc - static_cast<int>(h) : ySrc;
    lumo::blitToTarget(t, xDest, yDest, source, bottomUp,
                       QRect(xSrc, top, static_cast<int>(w), static_cast<int>(h)),
                       lumo::RasterOp::Copy);
    lumo::presentIfWindow(dc);
    return static_cast<int>(cLines);
}
