#pragma once

// Pens, brushes, fonts and bitmaps: the objects a device context (DC.h)
// draws with, their handles and the wrappers that own them.

#include "platform/ui/Geometry.h"
#include "platform/ui/RuntimeClass.h"

class CDC;

// Logical font record; lfHeight < 0 is the character (em) height in pixels,
// lfHeight > 0 the cell height, which on the device's fonts is the same (they
// have no internal leading), so both give that em size and a cell of exactly
// that height. The faces "ＭＳ ゴシック" and "ＭＳ 明朝" are drawn with IPAGothic
// and IPAMincho; other faces fall back to IPAGothic. The pixel size is
// rounded down to even, so a half-width character is exactly half a
// full-width one.
struct LOGFONT {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[32];
};
using LPLOGFONT = LOGFONT*;

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};

constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE SHIFTJIS_CHARSET = 128;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

// System colours (the index may carry SYS_COLOR_INDEX_FLAG).
constexpr int SYS_COLOR_INDEX_FLAG = 0x40000000;
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;

constexpr UINT DIB_RGB_COLORS = 0;

PLATFORMUI_API COLORREF GetSysColor(int nIndex);
PLATFORMUI_API HGDIOBJ GetStockObject(int fnObject);

// A font or bitmap. The wrapper deletes the object it holds
// (stock objects are never deleted).
class PLATFORMUI_API CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    HGDIOBJ m_hObject = nullptr;
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    static CGdiObject* FromHandle(HGDIOBJ hObject);
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
};

class PLATFORMUI_API CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
};

class PLATFORMUI_API CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* FromHandle(HBITMAP hBitmap);
    // A bitmap that DCs like pDC can draw into, cleared to black.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    operator HBITMAP() const { return m_hObject; }
};

// Free functions over object handles.
PLATFORMUI_API BOOL DeleteObject(HGDIOBJ ho);
PLATFORMUI_API HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);
// A 24-bit (or 32-bit) DIB section. *ppvBits receives the pixel store in the
// DIB layout (rows padded to 4 bytes, bottom-up for a positive biHeight);
// drawing through a DC and writes through the pointer see the same pixels.
// Null for other bit counts, a zero or oversized area, or a null header.
PLATFORMUI_API HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits,
                                        HANDLE hSection, DWORD offset);
PLATFORMUI_API int GetObject(HGDIOBJ h, int c, void* pv);
PLATFORMUI_API HFONT CreateFontIndirect(const LOGFONT* lplf);
