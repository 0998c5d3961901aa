#pragma once

// Drawing: device contexts over a window's frame buffer or a memory bitmap,
// with stock pens and brushes, fonts, compatible bitmaps and 24-bit DIB
// sections.
//
// A window DC draws into its top-level window's frame buffer, offset to the
// window and clipped to it (and, for a paint DC, to the invalid part). A memory
// DC draws into the bitmap selected into it. Every call works on the pixels at
// once; nothing is batched.

#include "platform/core/CString.h"
#include "platform/ui/GdiObject.h"

class CWnd;
namespace lumo {
struct DeviceContext;
struct VerticalPiece;
} // namespace lumo

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};

// Raster operations of BitBlt.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
constexpr DWORD DSTINVERT = 0x00550009;

// DrawText formats.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// DrawEdge.
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE = 0x0800;
constexpr UINT BF_ADJUST = 0x2000;

// GetDeviceCaps.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// A device context. The wrapper deletes a DC it created (CreateCompatibleDC)
// and releases window DCs it obtained.
class PLATFORMUI_API CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    HDC m_hDC = nullptr;

    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    static CDC* FromHandle(HDC hDC);
    BOOL Attach(HDC hDC);
    HDC Detach();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // A memory DC; draws nothing visible until a bitmap is selected.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Selection: each returns the object of the same kind that was selected.
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectStockObject(int nIndex);

    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    int SetBkMode(int nBkMode);
    int GetDeviceCaps(int nIndex) const;

    // Fills and lines.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    COLORREF GetPixel(int x, int y) const;

    // Bit-block transfers: SRCCOPY, SRCAND, SRCPAINT, SRCINVERT.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    // Copies the source rectangle onto the parallelogram whose upper-left,
    // upper-right and lower-left corners are lpPoint[0..2] (pixel-corner
    // coordinates). Only the rectangle turned by a multiple of 90 degrees at
    // its own size is offered (a turned screen); any other shape is refused.
    // No mask: every pixel is copied.
    BOOL PlgBlt(const POINT* lpPoint, CDC* pSrcDC, int xSrc, int ySrc, int nWidth, int nHeight);

    // Text.
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
    int DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    BOOL TextOut(int x, int y, const CString& str);
    BOOL TextOut(int x, int y, LPCWSTR lpszString, int nCount);
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCWSTR lpszString, UINT nCount,
                    const int* lpDxWidths);
    CSize GetTextExtent(const CString& str) const;
    CSize GetTextExtent(LPCWSTR lpszString, int nCount) const;
    BOOL GetTextMetrics(TEXTMETRIC* lpMetrics) const;
    // Vertical writing (VerticalText.h) with the selected font and text
    // colour; nothing behind the glyphs is filled, whatever the background
    // mode. FALSE without a surface to draw on.
    BOOL DrawVerticalText(const lumo::VerticalPiece* pieces, int count);

    BOOL DrawIcon(int x, int y, HICON hIcon);

    lumo::DeviceContext* context() const;

protected:
    bool m_owned = false; // created here: DeleteDC on destruction
};

// The DC of a WM_PAINT handler: BeginPaint on construction (which erases the
// background first when asked), EndPaint on destruction.
class PLATFORMUI_API CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd = nullptr;
};

// A DC on a window's client area for drawing outside WM_PAINT.
class PLATFORMUI_API CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};
using CWindowDC = CClientDC;

// Free functions over handles.
PLATFORMUI_API HDC GetDC(HWND hWnd);
PLATFORMUI_API int ReleaseDC(HWND hWnd, HDC hDC);
PLATFORMUI_API HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint);
PLATFORMUI_API BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
PLATFORMUI_API HDC CreateCompatibleDC(HDC hdc);
PLATFORMUI_API BOOL DeleteDC(HDC hdc);
PLATFORMUI_API HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
PLATFORMUI_API COLORREF SetTextColor(HDC hdc, COLORREF color);
PLATFORMUI_API COLORREF SetBkColor(HDC hdc, COLORREF color);
PLATFORMUI_API int SetBkMode(HDC hdc, int mode);
PLATFORMUI_API int GetDeviceCaps(HDC hdc, int index);
// Copies DIB rows to a DC, 1:1. Only 24- and 32-bit sources are supported;
// the number of scan lines copied, 0 on failure.
PLATFORMUI_API int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc,
                                     int ySrc, UINT StartScan, UINT cLines, const void* lpvBits,
                                     const BITMAPINFO* lpbmi, UINT ColorUse);
// Icons are module resources shared by every loader; destroying one is a no-op
// that reports success for a loaded icon.
PLATFORMUI_API BOOL DestroyIcon(HICON hIcon);
