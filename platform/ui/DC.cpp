#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WindowState.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_set>
#include <utility>

namespace lumo {
namespace {

std::unordered_set<GdiObject*>& liveObjects() {
    static std::unordered_set<GdiObject*> objects;
    return objects;
}

std::unordered_set<DeviceContext*>& liveContexts() {
    static std::unordered_set<DeviceContext*> contexts;
    return contexts;
}

HGDIOBJ handleOf(GdiObject* object) {
    return reinterpret_cast<HGDIOBJ>(object);
}
HDC handleOf(DeviceContext* dc) {
    return reinterpret_cast<HDC>(dc);
}

GdiObject* newObject(GdiKind kind) {
    auto* object = new GdiObject;
    object->kind = kind;
    liveObjects().insert(object);
    return object;
}

constexpr int LOGICAL_DPI = 96;
constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 480;
constexpr int MAX_BITMAP_SIDE = 16384;

QColor qcolor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

std::uint32_t rgb32(COLORREF c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

COLORREF colorref(std::uint32_t px) {
    return RGB(static_cast<BYTE>(px >> 16), static_cast<BYTE>(px >> 8), static_cast<BYTE>(px));
}

// ---- fonts ----------------------------------------------------------------

QString familyFor(const std::wstring& face) {
    if (face == L"ＭＳ 明朝" || face == L"ＭＳ Ｐ明朝" || face == L"MS Mincho" ||
        face == L"IPAMincho")
        return QStringLiteral("IPAMincho");
    return QStringLiteral("IPAGothic");
}

// The device's fonts have no internal leading: their cell is exactly the em
// square. The cell keeps that size here, with IPA's ascent as the baseline.
void setFontMetrics(GdiObject* object) {
    QFontMetrics metrics(object->font);
    const int em = object->font.pixelSize();
    object->ascent = std::min(metrics.ascent(), em);
    object->descent = em - object->ascent;
    object->averageWidth = metrics.horizontalAdvance(QLatin1Char('x'));
    object->maxWidth = metrics.maxWidth();
}

GdiObject* stockObject(int index) {
    static GdiObject* objects[20] = {};
    if (index < 0 || index >= 20)
        return nullptr;
    if (objects[index])
        return objects[index];
    GdiObject* object = nullptr;
    switch (index) {
    case WHITE_BRUSH:
    case LTGRAY_BRUSH:
    case GRAY_BRUSH:
    case DKGRAY_BRUSH:
    case BLACK_BRUSH: {
        static const COLORREF colors[] = {RGB(255, 255, 255), RGB(192, 192, 192),
                                          RGB(128, 128, 128), RGB(64, 64, 64), RGB(0, 0, 0)};
        object = newObject(GdiKind::Brush);
        object->color = colors[index];
        break;
    }
    case NULL_BRUSH:
        object = newObject(GdiKind::Brush);
        object->nullBrush = true;
        break;
    case WHITE_PEN:
    case BLACK_PEN:
        object = newObject(GdiKind::Pen);
        object->color = index == WHITE_PEN ? RGB(255, 255, 255) : RGB(0, 0, 0);
        break;
    case NULL_PEN:
        object = newObject(GdiKind::Pen);
        object->penStyle = PS_NULL;
        break;
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: {
        object = newObject(GdiKind::Font);
        object->logFont.lfHeight = -12;
        object->logFont.lfWeight = FW_NORMAL;
        std::wcscpy(object->logFont.lfFaceName, L"ＭＳ ゴシック");
        object->font = qtFontFor(object->logFont);
        setFontMetrics(object);
        break;
    }
    default:
        return nullptr;
    }
    object->stock = true;
    objects[index] = object;
    return object;
}

// A 1 x 1 bitmap every memory DC starts with.
GdiObject* defaultBitmap() {
    static GdiObject* object = [] {
        GdiObject* o = newObject(GdiKind::Bitmap);
        o->image = QImage(1, 1, QImage::Format_RGB32);
        o->image.fill(Qt::black);
        o->stock = true;
        return o;
    }();
    return object;
}

DeviceContext* newContext() {
    auto* dc = new DeviceContext;
    dc->font = stockObject(SYSTEM_FONT);
    dc->pen = stockObject(BLACK_PEN);
    dc->brush = stockObject(WHITE_BRUSH);
    liveContexts().insert(dc);
    return dc;
}

void deleteContext(DeviceContext* dc) {
    if (!liveContexts().erase(dc))
        return;
    if (dc->owner)
        dc->owner->m_hDC = nullptr;
    if (dc->temporary)
        dc->temporary->m_hDC = nullptr;
    delete dc;
}

// ---- pixel access -----------------------------------------------------------

// Row y (top-down logical row) of an image stored top-down or bottom-up.
inline unsigned char* rowOf(QImage& image, bool bottomUp, int y) {
    return image.scanLine(bottomUp ? image.height() - 1 - y : y);
}

inline const unsigned char* constRowOf(const QImage& image, bool bottomUp, int y) {
    return image.constScanLine(bottomUp ? image.height() - 1 - y : y);
}

inline bool is24(const QImage& image) {
    return image.format() == QImage::Format_BGR888;
}

inline std::uint32_t readPixel(const unsigned char* row, bool bgr24, int x) {
    if (bgr24) {
        const unsigned char* p = row + 3 * x;
        return 0xFF000000u | (static_cast<std::uint32_t>(p[2]) << 16) |
               (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
    }
    return reinterpret_cast<const std::uint32_t*>(row)[x] | 0xFF000000u;
}

inline void writePixel(unsigned char* row, bool bgr24, int x, std::uint32_t px) {
    if (bgr24) {
        unsigned char* p = row + 3 * x;
        p[0] = static_cast<unsigned char>(px);
        p[1] = static_cast<unsigned char>(px >> 8);
        p[2] = static_cast<unsigned char>(px >> 16);
        return;
    }
    reinterpret_cast<std::uint32_t*>(row)[x] = px | 0xFF000000u;
}

enum class RasterOp { Copy, And, Paint, Invert };

bool rasterOpOf(DWORD rop, RasterOp& op) {
    switch (rop) {
    case SRCCOPY:
        op = RasterOp::Copy;
        return true;
    case SRCAND:
        op = RasterOp::And;
        return true;
    case SRCPAINT:
        op = RasterOp::Paint;
        return true;
    case SRCINVERT:
        op = RasterOp::Invert;
        return true;
    default:
        return false;
    }
}

inline std::uint32_t combine(RasterOp op, std::uint32_t d, std::uint32_t s) {
    switch (op) {
    case RasterOp::Copy:
        return s;
    case RasterOp::And:
        return d & s;
    case RasterOp::Paint:
        return d | s;
    case RasterOp::Invert:
        return (d ^ s) | 0xFF000000u;
    }
    return s;
}

// Copies a w x h block between images with a raster operation. Source and
// destination points are top-down image coordinates; both blocks lie inside
// their images.
void blitBlock(QImage& dst, bool dstBottomUp, int dx, int dy, const QImage& src, bool srcBottomUp,
               int sx, int sy, int w, int h, RasterOp op) {
    const bool dst24 = is24(dst);
    const bool src24 = is24(src);
    for (int row = 0; row < h; ++row) {
        unsigned char* d = rowOf(dst, dstBottomUp, dy + row);
        const unsigned char* s = constRowOf(src, srcBottomUp, sy + row);
        if (!dst24 && !src24) {
            auto* dp = reinterpret_cast<std::uint32_t*>(d) + dx;
            const auto* sp = reinterpret_cast<const std::uint32_t*>(s) + sx;
            switch (op) {
            case RasterOp::Copy:
                std::memcpy(dp, sp, static_cast<size_t>(w) * 4);
                break;
            case RasterOp::And:
                for (int i = 0; i < w; ++i)
                    dp[i] &= sp[i];
                break;
            case RasterOp::Paint:
                for (int i = 0; i < w; ++i)
                    dp[i] |= sp[i];
                break;
            case RasterOp::Invert:
                for (int i = 0; i < w; ++i)
                    dp[i] = (dp[i] ^ sp[i]) | 0xFF000000u;
                break;
            }
            continue;
        }
        if (dst24 && src24 && op == RasterOp::Copy) {
            std::memcpy(d + 3 * dx, s + 3 * sx, static_cast<size_t>(w) * 3);
            continue;
        }
        for (int i = 0; i < w; ++i) {
            const std::uint32_t sp = readPixel(s, src24, sx + i);
            const std::uint32_t dp = op == RasterOp::Copy ? 0 : readPixel(d, dst24, dx + i);
            writePixel(d, dst24, dx + i, combine(op, dp, sp));
        }
    }
}

// Blits src (whole image region srcRect, top-down coordinates) to the target at
// logical (x, y), clipped to the target's clip region.
void blitToTarget(DrawTarget& t, int x, int y, const QImage& src, bool srcBottomUp, QRect srcRect,
                  RasterOp op) {
    QRect dstRect(t.origin.x() + x, t.origin.y() + y, srcRect.width(), srcRect.height());
    // Keep the source inside its image, moving the destination with it.
    const QRect srcBounds(0, 0, src.width(), src.height());
    const QRect clippedSrc = srcRect & srcBounds;
    if (clippedSrc.isEmpty())
        return;
    dstRect.adjust(clippedSrc.left() - srcRect.left(), clippedSrc.top() - srcRect.top(),
                   clippedSrc.right() - srcRect.right(), clippedSrc.bottom() - srcRect.bottom());
    const QPoint shift = clippedSrc.topLeft() - dstRect.topLeft();
    const QRegion area = t.clip & dstRect & QRect(0, 0, t.image->width(), t.image->height());
    for (const QRect& r : area)
        blitBlock(*t.image, t.bottomUp, r.left(), r.top(), src, srcBottomUp, r.left() + shift.x(),
                  r.top() + shift.y(), r.width(), r.height(), op);
}

// A painter on the target with its clip and origin. Bottom-up pixel stores
// are painted through a top-down scratch copy of the clip area, written back
// row by row when the painter ends, so text is never drawn mirrored.
class TargetPainter {
public:
    explicit TargetPainter(DrawTarget& t) : m_target(t) {
        if (!t.bottomUp) {
            m_painter.begin(t.image);
            // A clip covering the whole image costs time and changes nothing.
            const QRect whole(0, 0, t.image->width(), t.image->height());
            const bool coversAll = t.clip.rectCount() == 1 && t.clip.boundingRect().contains(whole);
            if (!coversAll && t.clip.rectCount() == 1)
                m_painter.setClipRect(t.clip.boundingRect());
            else if (!coversAll)
                m_painter.setClipRegion(t.clip);
            m_painter.translate(t.origin);
            return;
        }
        m_area = t.clip.boundingRect() & QRect(0, 0, t.image->width(), t.image->height());
        m_scratch =
            QImage(std::max(m_area.width(), 1), std::max(m_area.height(), 1), QImage::Format_RGB32);
        if (!m_area.isEmpty())
            blitBlock(m_scratch, false, 0, 0, *t.image, true, m_area.left(), m_area.top(),
                      m_area.width(), m_area.height(), RasterOp::Copy);
        m_painter.begin(&m_scratch);
        m_painter.setClipRegion(t.clip.translated(-m_area.topLeft()));
        m_painter.translate(t.origin - m_area.topLeft());
    }
    ~TargetPainter() { finish(); }
    void finish() {
        if (!m_painter.isActive())
            return;
        m_painter.end();
        if (!m_target.bottomUp || m_area.isEmpty())
            return;
        // Only the clip area may change.
        for (const QRect& r : m_target.clip& m_area)
            blitBlock(*m_target.image, true, r.left(), r.top(), m_scratch, false,
                      r.left() - m_area.left(), r.top() - m_area.top(), r.width(), r.height(),
                      RasterOp::Copy);
    }
    QPainter* operator->() { return &m_painter; }

private:
    DrawTarget& m_target;
    QPainter m_painter;
    QRect m_area;
    QImage m_scratch;
};

void fillLogical(DeviceContext* dc, const QRect& rect, COLORREF color) {
    DrawTarget t = drawTarget(dc);
    if (!t.valid() || rect.isEmpty())
        return;
    // Solid fills go straight to the pixels (exact and cheap).
    const QRect device = rect.translated(t.origin);
    const QRegion area = t.clip & device & QRect(0, 0, t.image->width(), t.image->height());
    const std::uint32_t px = rgb32(color);
    const bool bgr = is24(*t.image);
    for (const QRect& r : area)
        for (int y = r.top(); y <= r.bottom(); ++y) {
            unsigned char* row = rowOf(*t.image, t.bottomUp, y);
            if (!bgr) {
                std::fill_n(reinterpret_cast<std::uint32_t*>(row) + r.left(), r.width(), px);
                continue;
            }
            for (int x = r.left(); x <= r.right(); ++x)
                writePixel(row, true, x, px);
        }
}

void presentIfWindow(DeviceContext* dc) {
    if (CWnd* wnd = CWnd::FromHandle(dc->window))
        wnd->state()->presentFrame();
}

// Removes '&' prefixes: "&&" is a literal ampersand.
QString stripPrefixes(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        out += text[i];
    }
    return out;
}

QString toQString(LPCWSTR text, int count) {
    if (!text)
        return {};
    if (count < 0)
        count = static_cast<int>(std::wcslen(text));
    return QString::fromWCharArray(text, count);
}

std::vector<QString> wrapLines(const QString& text, const QFontMetrics& metrics, int width,
                               bool singleLine, bool wordBreak) {
    std::vector<QString> lines;
    if (singleLine && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return {text};
    const QStringList paragraphs =
        singleLine ? QStringList{QString(text)
                                     .remove(QLatin1Char('\r'))
                                     .replace(QLatin1Char('\n'), QLatin1Char(' '))}
                   : QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        if (!wordBreak || singleLine || width <= 0) {
            lines.push_back(paragraph);
            continue;
        }
        QString rest = paragraph;
        while (!rest.isEmpty()) {
            int fit = 0;
            while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= width)
                ++fit;
            if (fit >= rest.size()) {
                lines.push_back(rest);
                break;
            }
            int cut = std::max(fit, 1);
            const int space = rest.left(fit + 1).lastIndexOf(QLatin1Char(' '));
            if (space > 0)
                cut = space;
            lines.push_back(rest.left(cut));
            rest = rest.mid(cut);
            if (rest.startsWith(QLatin1Char(' ')))
                rest = rest.mid(1);
        }
        if (paragraph.isEmpty())
            continue;
    }
    if (lines.empty())
        lines.push_back(QString());
    return lines;
}

} // namespace

GdiObject* gdiObject(HGDIOBJ handle) {
    auto* object = reinterpret_cast<GdiObject*>(handle);
    return object && liveObjects().count(object) ? object : nullptr;
}

DeviceContext* deviceContext(HDC handle) {
    auto* dc = reinterpret_cast<DeviceContext*>(handle);
    return dc && liveContexts().count(dc) ? dc : nullptr;
}

DrawTarget drawTarget(DeviceContext* dc) {
    DrawTarget t;
    if (!dc)
        return t;
    if (dc->window) {
        CWnd* wnd = CWnd::FromHandle(dc->window);
        if (!wnd)
            return t;
        WindowState* s = wnd->state();
        t.image = &s->topLevel()->state()->frame;
        t.origin = s->frameOffset();
        t.clip = s->frameClip();
        if (dc->paint)
            t.clip &= dc->paintClip.translated(t.origin);
        return t;
    }
    GdiObject* bitmap = dc->bitmap ? dc->bitmap : defaultBitmap();
    t.image = &bitmap->image;
    t.bottomUp = bitmap->bottomUp;
    t.clip = QRegion(0, 0, t.image->width(), t.image->height());
    return t;
}

QFont qtFontFor(const LOGFONT& logFont, int* emPixels) {
    const std::wstring face(logFont.lfFaceName, wcsnlen(logFont.lfFaceName, 32));
    const QString family = familyFor(face);
    // The cell height (positive) and the character height (negative) are the
    // same on the device's fonts, which have no internal leading.
    int em = 12;
    if (logFont.lfHeight != 0)
        em = logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
    em = std::min(em, 4096);
    // An even em keeps a half-width character exactly half a full-width one.
    em = std::max(2, em - (em % 2));
    QFont font(family);
    font.setPixelSize(em);
    font.setWeight(logFont.lfWeight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (emPixels)
        *emPixels = em;
    return font;
}

} // namespace lumo

using lumo::DeviceContext;
using lumo::GdiKind;
using lumo::GdiObject;

// ---- system colours and stock objects ---------------------------------------

COLORREF GetSysColor(int nIndex) {
    switch (nIndex & ~SYS_COLOR_INDEX_FLAG) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_MENUTEXT:
    case COLOR_BTNTEXT:
    case COLOR_WINDOWFRAME:
    case COLOR_3DDKSHADOW:
        return RGB(0, 0, 0);
    case COLOR_MENU:
    case COLOR_BTNFACE:
    case COLOR_SCROLLBAR:
        return RGB(192, 192, 192);
    case COLOR_BTNSHADOW:
    case COLOR_GRAYTEXT:
        return RGB(128, 128, 128);
    case COLOR_BTNHIGHLIGHT:
    case COLOR_HIGHLIGHTTEXT:
        return RGB(255, 255, 255);
    case COLOR_3DLIGHT:
        return RGB(223, 223, 223);
    case COLOR_HIGHLIGHT:
    case COLOR_ACTIVECAPTION:
        return RGB(0, 0, 128);
    case COLOR_BACKGROUND:
        return RGB(0, 128, 128);
    default:
        return RGB(0, 0, 0);
    }
}

HBRUSH GetSysColorBrush(int nIndex) {
    static GdiObject* brushes[32] = {};
    const int index = nIndex & ~SYS_COLOR_INDEX_FLAG;
    if (index < 0 || index >= 32)
        return nullptr;
    if (!brushes[index]) {
        brushes[index] = lumo::newObject(GdiKind::Brush);
        brushes[index]->color = GetSysColor(index);
        brushes[index]->stock = true;
    }
    return lumo::handleOf(brushes[index]);
}

HGDIOBJ GetStockObject(int fnObject) {
    return lumo::handleOf(lumo::stockObject(fnObject));
}

// ---- object creation ----------------------------------------------------------

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiObject* object = lumo::newObject(GdiKind::Brush);
    object->color = color;
    return lumo::handleOf(object);
}

HPEN CreatePen(int iStyle, int cWidth, COLORREF color) {
    GdiObject* object = lumo::newObject(GdiKind::Pen);
    object->penStyle = iStyle;
    object->penWidth = std::max(cWidth, 1);
    object->color = color;
    return lumo::handleOf(object);
}

HFONT CreateFontIndirect(const LOGFONT* lplf) {
    if (!lplf)
        return nullptr;
    GdiObject* object = lumo::newObject(GdiKind::Font);
    object->logFont = *lplf;
    object->font = lumo::qtFontFor(*lplf);
    lumo::setFontMetrics(object);
    return lumo::handleOf(object);
}

HBITMAP CreateCompatibleBitmap(HDC, int cx, int cy) {
    if (cx > lumo::MAX_BITMAP_SIDE || cy > lumo::MAX_BITMAP_SIDE)
        return nullptr;
    GdiObject* object = lumo::newObject(GdiKind::Bitmap);
    object->image = QImage(std::max(cx, 1), std::max(cy, 1), QImage::Format_RGB32);
    if (object->image.isNull()) {
        DeleteObject(lumo::handleOf(object));
        return nullptr;
    }
    object->image.fill(Qt::black);
    return lumo::handleOf(object);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* pbmi, UINT, void** ppvBits, HANDLE, DWORD) {
    if (ppvBits)
        *ppvBits = nullptr;
    if (!pbmi)
        return nullptr;
    const BITMAPINFOHEADER& h = pbmi->bmiHeader;
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != BI_RGB || width <= 0 ||
        height <= 0 || width > lumo::MAX_BITMAP_SIDE || height > lumo::MAX_BITMAP_SIDE)
        return nullptr;
    const int stride = ((width * h.biBitCount / 8) + 3) & ~3;
    GdiObject* object = lumo::newObject(GdiKind::Bitmap);
    object->bits.reset(new (std::nothrow) unsigned char[static_cast<size_t>(stride) * height]());
    if (!object->bits) {
        DeleteObject(lumo::handleOf(object));
        return nullptr;
    }
    object->dib = true;
    object->bitCount = h.biBitCount;
    object->bottomUp = h.biHeight > 0;
    object->image = QImage(object->bits.get(), width, height, stride,
                           h.biBitCount == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    if (ppvBits)
        *ppvBits = object->bits.get();
    return lumo::handleOf(object);
}

BOOL DeleteObject(HGDIOBJ ho) {
    GdiObject* object = lumo::gdiObject(ho);
    if (!object || object->stock)
        return FALSE;
    // An object still selected into a DC stays, as on the original platform.
    for (DeviceContext* dc : lumo::liveContexts())
        if (dc->bitmap == object || dc->font == object || dc->pen == object || dc->brush == object)
            return FALSE;
    lumo::liveObjects().erase(object);
    if (object->owner)
        object->owner->m_hObject = nullptr;
    if (object->temporary)
        object->temporary->m_hObject = nullptr;
    delete object;
    return TRUE;
}

int GetObject(HGDIOBJ h, int c, void* pv) {
    GdiObject* object = lumo::gdiObject(h);
    if (!object)
        return 0;
    if (object->kind == GdiKind::Bitmap) {
        if (!pv)
            return sizeof(BITMAP);
        if (c < static_cast<int>(sizeof(BITMAP)))
            return 0;
        BITMAP bm{};
        bm.bmWidth = object->image.width();
        bm.bmHeight = object->image.height();
        bm.bmWidthBytes = static_cast<LONG>(object->image.bytesPerLine());
        bm.bmPlanes = 1;
        bm.bmBitsPixel = static_cast<WORD>(object->dib ? object->bitCount : 32);
        bm.bmBits = object->dib ? object->bits.get() : nullptr;
        std::memcpy(pv, &bm, sizeof bm);
        return sizeof(BITMAP);
    }
    if (object->kind == GdiKind::Font) {
        if (!pv)
            return sizeof(LOGFONT);
        if (c < static_cast<int>(sizeof(LOGFONT)))
            return 0;
        std::memcpy(pv, &object->logFont, sizeof(LOGFONT));
        return sizeof(LOGFONT);
    }
    return 0;
}

// ---- DCs ------------------------------------------------------------------------

HDC GetDC(HWND hWnd) {
    if (!CWnd::FromHandle(hWnd))
        return nullptr;
    DeviceContext* dc = lumo::newContext();
    dc->window = hWnd;
    return lumo::handleOf(dc);
}

int ReleaseDC(HWND, HDC hDC) {
    DeviceContext* dc = lumo::deviceContext(hDC);
    if (!dc || !dc->window)
        return 0;
    if (CWnd* wnd = CWnd::FromHandle(dc->window))
        wnd->state()->presentFrameNow();
    lumo::deleteContext(dc);
    return 1;
}

HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint) {
    CWnd* wnd = CWnd::FromHandle(hWnd);
    if (!wnd)
        return nullptr;
    lumo::WindowState* s = wnd->state();
    DeviceContext* dc = lumo::newContext();
    dc->window = hWnd;
    dc->paint = true;
    dc->paintClip = s->update;
    const bool erase = s->erase;
    s->update = QRegion();
    s->erase = false;
    BOOL erased = TRUE;
    if (erase)
        erased =
            wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(lumo::handleOf(dc)), 0) != 0;
    if (lpPaint) {
        const QRect r = dc->paintClip.boundingRect();
        lpPaint->hdc = lumo::handleOf(dc);
        lpPaint->fErase = erased ? FALSE : TRUE;
        lpPaint->rcPaint = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    return lumo::handleOf(dc);
}

BOOL EndPaint(HWND, const PAINTSTRUCT* lpPaint) {
    if (!lpPaint)
        return FALSE;
    DeviceContext* dc = lumo::deviceContext(lpPaint->hdc);
    if (!dc)
        return FALSE;
    lumo::presentIfWindow(dc);
    lumo::deleteContext(dc);
    return TRUE;
}

HDC CreateCompatibleDC(HDC) {
    DeviceContext* dc = lumo::newContext();
    dc->bitmap = lumo::defaultBitmap();
    return lumo::handleOf(dc);
}

BOOL DeleteDC(HDC hdc) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc)
        return FALSE;
    lumo::deleteContext(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    GdiObject* object = lumo::gdiObject(h);
    if (!dc || !object)
        return nullptr;
    GdiObject** slot = nullptr;
    switch (object->kind) {
    case GdiKind::Pen:
        slot = &dc->pen;
        break;
    case GdiKind::Brush:
        slot = &dc->brush;
        break;
    case GdiKind::Font:
        slot = &dc->font;
        break;
    case GdiKind::Bitmap:
        if (dc->window)
            return nullptr; // only memory DCs hold bitmaps
        slot = &dc->bitmap;
        break;
    }
    GdiObject* previous = *slot;
    *slot = object;
    return lumo::handleOf(previous);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc)
        return 0xFFFFFFFF;
    return std::exchange(dc->textColor, color);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc)
        return 0xFFFFFFFF;
    return std::exchange(dc->bkColor, color);
}

int SetBkMode(HDC hdc, int mode) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    return std::exchange(dc->bkMode, mode);
}

int GetDeviceCaps(HDC, int index) {
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return lumo::LOGICAL_DPI;
    case HORZRES:
        return lumo::SCREEN_WIDTH;
    case VERTRES:
        return lumo::SCREEN_HEIGHT;
    case BITSPIXEL:
        return 24;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    CDC* dc = CDC::FromHandle(hdc);
    return dc ? dc->BitBlt(x, y, cx, cy, CDC::FromHandle(hdcSrc), x1, y1, rop) : FALSE;
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    DeviceContext* dc = lumo::deviceContext(hDC);
    GdiObject* brush = lumo::gdiObject(hbr);
    if (!dc || !lprc || !brush || brush->kind != GdiKind::Brush)
        return 0;
    if (!brush->nullBrush)
        lumo::fillLogical(
            dc, QRect(lprc->left, lprc->top, lprc->right - lprc->left, lprc->bottom - lprc->top),
            brush->color);
    return 1;
}

int DrawText(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    CDC* dc = CDC::FromHandle(hdc);
    return dc ? dc->DrawText(lpchText, cchText, lprc, format) : 0;
}

BOOL DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags) {
    CDC* dc = CDC::FromHandle(hdc);
    return dc ? dc->DrawEdge(qrc, edge, grfFlags) : FALSE;
}

BOOL GetTextExtentPoint32(HDC hdc, LPCWSTR lpString, int c, SIZE* psizl) {
    CDC* dc = CDC::FromHandle(hdc);
    if (!dc || !psizl)
        return FALSE;
    *psizl = dc->GetTextExtent(lpString, c);
    return TRUE;
}

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

int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                  int SrcWidth, int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi, UINT,
                  DWORD rop) {
    DeviceContext* dc = lumo::deviceContext(hdc);
    QImage source;
    bool bottomUp = false;
    lumo::RasterOp op;
    if (!dc || !dibSource(lpBits, lpbmi, source, bottomUp) || !lumo::rasterOpOf(rop, op) ||
        DestWidth <= 0 || DestHeight <= 0 || SrcWidth <= 0 || SrcHeight <= 0 ||
        DestWidth > lumo::MAX_BITMAP_SIDE || DestHeight > lumo::MAX_BITMAP_SIDE ||
        SrcWidth > lumo::MAX_BITMAP_SIDE || SrcHeight > lumo::MAX_BITMAP_SIDE)
        return 0;
    const int top = bottomUp ? source.height() - ySrc - SrcHeight : ySrc;
    QImage part = (bottomUp ? source.mirrored(false, true) : source.copy())
                      .copy(xSrc, top, SrcWidth, SrcHeight)
                      .convertToFormat(QImage::Format_RGB32);
    if (part.width() != DestWidth || part.height() != DestHeight)
        part = part.scaled(DestWidth, DestHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    lumo::DrawTarget t = lumo::drawTarget(dc);
    if (!t.valid())
        return 0;
    lumo::blitToTarget(t, xDest, yDest, part, false, QRect(0, 0, DestWidth, DestHeight), op);
    lumo::presentIfWindow(dc);
    return SrcHeight;
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    CDC* dc = CDC::FromHandle(hDC);
    return dc ? dc->DrawIcon(X, Y, hIcon) : FALSE;
}

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT, HBRUSH,
                UINT) {
    auto* icon = reinterpret_cast<const lumo::IconImage*>(hIcon);
    DeviceContext* dc = lumo::deviceContext(hdc);
    if (!dc || !icon)
        return FALSE;
    if ((cxWidth == 0 || cxWidth == icon->width) && (cyWidth == 0 || cyWidth == icon->height))
        return DrawIcon(hdc, xLeft, yTop, hIcon);
    if (icon->width <= 0 || icon->height <= 0 ||
        icon->pixels.size() < static_cast<size_t>(icon->width) * icon->height)
        return FALSE;
    const QImage image(reinterpret_cast<const uchar*>(icon->pixels.data()), icon->width,
                       icon->height, icon->width * 4, QImage::Format_ARGB32);
    lumo::DrawTarget t = lumo::drawTarget(dc);
    if (!t.valid())
        return FALSE;
    {
        lumo::TargetPainter p(t);
        p->drawImage(
            QRect(xLeft, yTop, cxWidth ? cxWidth : icon->width, cyWidth ? cyWidth : icon->height),
            image);
    }
    lumo::presentIfWindow(dc);
    return TRUE;
}

BOOL DestroyIcon(HICON hIcon) {
    return hIcon ? TRUE : FALSE;
}

HANDLE LoadImage(HINSTANCE hInst, LPCWSTR name, UINT type, int, int, UINT) {
    if (type != IMAGE_ICON)
        return nullptr;
    return reinterpret_cast<HANDLE>(LoadIcon(hInst, name));
}

// ---- wrappers ----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

CGdiObject::~CGdiObject() {
    GdiObject* object = lumo::gdiObject(m_hObject);
    if (!object)
        return;
    if (object->temporary.get() == this)
        return;
    if (object->owner == this)
        object->owner = nullptr;
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    GdiObject* object = lumo::gdiObject(hObject);
    if (!object)
        return nullptr;
    if (object->owner)
        return object->owner;
    if (!object->temporary) {
        switch (object->kind) {
        case GdiKind::Pen:
            object->temporary = std::make_unique<CPen>();
            break;
        case GdiKind::Brush:
            object->temporary = std::make_unique<CBrush>();
            break;
        case GdiKind::Font:
            object->temporary = std::make_unique<CFont>();
            break;
        case GdiKind::Bitmap:
            object->temporary = std::make_unique<CBitmap>();
            break;
        }
        object->temporary->m_hObject = hObject;
    }
    return object->temporary.get();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    GdiObject* object = lumo::gdiObject(hObject);
    if (m_hObject || !object)
        return FALSE;
    m_hObject = hObject;
    if (!object->owner && !object->stock)
        object->owner = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    if (GdiObject* object = lumo::gdiObject(m_hObject))
        if (object->owner == this)
            object->owner = nullptr;
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    GdiObject* object = lumo::gdiObject(m_hObject);
    if (object && object->stock) {
        m_hObject = nullptr;
        return TRUE;
    }
    HGDIOBJ handle = Detach();
    return ::DeleteObject(handle);
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
    return Attach(::GetStockObject(nIndex));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    return Attach(::CreateSolidBrush(crColor));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return Attach(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC*) {
    LOGFONT lf{};
    lf.lfHeight = -MulDiv(nPointSize, lumo::LOGICAL_DPI, 720);
    lf.lfWeight = FW_NORMAL;
    if (lpszFaceName)
        std::wcsncpy(lf.lfFaceName, lpszFaceName, 31);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const {
    return ::GetObject(m_hObject, sizeof(LOGFONT), pLogFont);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) {
    GdiObject* object = lumo::gdiObject(hBitmap);
    if (!object || object->kind != GdiKind::Bitmap)
        return nullptr;
    return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const {
    return ::GetObject(m_hObject, sizeof(BITMAP), pBitMap);
}

CDC::~CDC() {
    DeviceContext* dc = lumo::deviceContext(m_hDC);
    if (!dc)
        return;
    if (dc->temporary.get() == this)
        return;
    if (dc->owner == this)
        dc->owner = nullptr;
    if (m_owned)
        ::DeleteDC(m_hDC);
    m_hDC = nullptr;
}

CDC* CDC::FromHandle(HDC hDC) {
    DeviceContext* dc = lumo::deviceContext(hDC);
    if (!dc)
        return nullptr;
    if (dc->owner)
        return dc->owner;
    if (!dc->temporary) {
        dc->temporary = std::make_unique<CDC>();
        dc->temporary->m_hDC = hDC;
    }
    return dc->temporary.get();
}

BOOL CDC::Attach(HDC hDC) {
    DeviceContext* dc = lumo::deviceContext(hDC);
    if (m_hDC || !dc)
        return FALSE;
    m_hDC = hDC;
    if (!dc->owner)
        dc->owner = this;
    return TRUE;
}

HDC CDC::Detach() {
    if (DeviceContext* dc = lumo::deviceContext(m_hDC))
        if (dc->owner == this)
            dc->owner = nullptr;
    m_owned = false;
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (!Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)))
        return FALSE;
    m_owned = true;
    return TRUE;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    const HDC hdc = Detach();
    return ::DeleteDC(hdc);
}

lumo::DeviceContext* CDC::context() const {
    return lumo::deviceContext(m_hDC);
}

CPen* CDC::SelectObject(CPen* pPen) {
    return static_cast<CPen*>(
        CGdiObject::FromHandle(::SelectObject(m_hDC, pPen ? pPen->m_hObject : nullptr)));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
    return static_cast<CBrush*>(
        CGdiObject::FromHandle(::SelectObject(m_hDC, pBrush ? pBrush->m_hObject : nullptr)));
}
CFont* CDC::SelectObject(CFont* pFont) {
    return static_cast<CFont*>(
        CGdiObject::FromHandle(::SelectObject(m_hDC, pFont ? pFont->m_hObject : nullptr)));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return static_cast<CBitmap*>(
        CGdiObject::FromHandle(::SelectObject(m_hDC, pBitmap ? pBitmap->m_hObject : nullptr)));
}
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject ? pObject->m_hObject : nullptr));
}
CGdiObject* CDC::SelectStockObject(int nIndex) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

CFont* CDC::GetCurrentFont() const {
    DeviceContext* dc = context();
    return dc ? static_cast<CFont*>(CGdiObject::FromHandle(lumo::handleOf(dc->font))) : nullptr;
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return ::SetTextColor(m_hDC, crColor);
}
COLORREF CDC::GetTextColor() const {
    return context() ? context()->textColor : 0;
}
COLORREF CDC::SetBkColor(COLORREF crColor) {
    return ::SetBkColor(m_hDC, crColor);
}
COLORREF CDC::GetBkColor() const {
    return context() ? context()->bkColor : 0;
}
int CDC::SetBkMode(int nBkMode) {
    return ::SetBkMode(m_hDC, nBkMode);
}
int CDC::GetBkMode() const {
    return context() ? context()->bkMode : 0;
}
int CDC::GetDeviceCaps(int nIndex) const {
    return ::GetDeviceCaps(m_hDC, nIndex);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    if (lpRect)
        FillSolidRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                      lpRect->bottom - lpRect->top, clr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    if (DeviceContext* dc = context()) {
        lumo::fillLogical(dc, QRect(x, y, cx, cy), clr);
        // The original sets the background colour as a side effect.
        dc->bkColor = clr;
    }
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    ::FillRect(m_hDC, lpRect, pBrush ? pBrush->m_hObject : nullptr);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    DeviceContext* dc = context();
    if (!dc)
        return FALSE;
    const CRect r(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    if (dc->brush && !dc->brush->nullBrush)
        lumo::fillLogical(dc, QRect(r.left + 1, r.top + 1, r.Width() - 2, r.Height() - 2),
                          dc->brush->color);
    if (dc->pen && dc->pen->penStyle != PS_NULL) {
        const int w = dc->pen->penWidth;
        const COLORREF c = dc->pen->color;
        lumo::fillLogical(dc, QRect(r.left, r.top, r.Width(), w), c);
        lumo::fillLogical(dc, QRect(r.left, r.bottom - w, r.Width(), w), c);
        lumo::fillLogical(dc, QRect(r.left, r.top, w, r.Height()), c);
        lumo::fillLogical(dc, QRect(r.right - w, r.top, w, r.Height()), c);
    }
    return TRUE;
}

BOOL CDC::Rectangle(LPCRECT lpRect) {
    return lpRect ? Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom) : FALSE;
}

CPoint CDC::MoveTo(int x, int y) {
    DeviceContext* dc = context();
    if (!dc)
        return CPoint();
    const CPoint previous(dc->current);
    dc->current = POINT{x, y};
    return previous;
}

BOOL CDC::LineTo(int x, int y) {
    DeviceContext* dc = context();
    if (!dc)
        return FALSE;
    const POINT from = dc->current;
    dc->current = POINT{x, y};
    if (!dc->pen || dc->pen->penStyle == PS_NULL || (from.x == x && from.y == y))
        return TRUE;
    const int w = dc->pen->penWidth;
    const COLORREF c = dc->pen->color;
    // The end point is not drawn, as on the original platform.
    if (from.y == y) {
        const int left = std::min(from.x, x == from.x ? x : (x > from.x ? x - 1 : x + 1));
        const int right = std::max(from.x, x > from.x ? x - 1 : x + 1);
        lumo::fillLogical(dc, QRect(left, y - (w - 1) / 2, right - left + 1, w), c);
    } else if (from.x == x) {
        const int top = std::min(from.y, y > from.y ? y - 1 : y + 1);
        const int bottom = std::max(from.y, y > from.y ? y - 1 : y + 1);
        lumo::fillLogical(dc, QRect(x - (w - 1) / 2, top, w, bottom - top + 1), c);
    } else {
        lumo::DrawTarget t = lumo::drawTarget(dc);
        if (!t.valid())
            return FALSE;
        lumo::TargetPainter p(t);
        p->setPen(QPen(lumo::qcolor(c), w <= 1 ? 0 : w));
        p->drawLine(QPoint(from.x, from.y), QPoint(x, y));
    }
    lumo::presentIfWindow(dc);
    return TRUE;
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    DeviceContext* dc = context();
    if (!dc)
        return FALSE;
    const QRect rect(x, y, nWidth, nHeight);
    switch (dwRop) {
    case BLACKNESS:
        lumo::fillLogical(dc, rect, RGB(0, 0, 0));
        return TRUE;
    case WHITENESS:
        lumo::fillLogical(dc, rect, RGB(255, 255, 255));
        return TRUE;
    case PATCOPY:
        if (dc->brush && !dc->brush->nullBrush)
            lumo::fillLogical(dc, rect, dc->brush->color);
        return TRUE;
    case DSTINVERT: {
        lumo::DrawTarget t = lumo::drawTarget(dc);
        if (!t.valid())
            return FALSE;
        const QRegion area =
            t.clip & rect.translated(t.origin) & QRect(0, 0, t.image->width(), t.image->height());
        const bool bgr = lumo::is24(*t.image);
        for (const QRect& r : area)
            for (int yy = r.top(); yy <= r.bottom(); ++yy) {
                unsigned char* row = lumo::rowOf(*t.image, t.bottomUp, yy);
                for (int xx = r.left(); xx <= r.right(); ++xx)
                    lumo::writePixel(row, bgr, xx, ~lumo::readPixel(row, bgr, xx));
            }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) {
    DeviceContext* dc = context();
    if (!dc || !lpRect)
        return FALSE;
    CRect r(*lpRect);
    auto frame = [&](COLORREF topLeft, COLORREF bottomRight) {
        // Top and left first; bottom and right own the far corners.
        if (nFlags & BF_TOP)
            lumo::fillLogical(dc, QRect(r.left, r.top, r.Width(), 1), topLeft);
        if (nFlags & BF_LEFT)
            lumo::fillLogical(dc, QRect(r.left, r.top, 1, r.Height()), topLeft);
        if (nFlags & BF_BOTTOM)
            lumo::fillLogical(dc, QRect(r.left, r.bottom - 1, r.Width(), 1), bottomRight);
        if (nFlags & BF_RIGHT)
            lumo::fillLogical(dc, QRect(r.right - 1, r.top, 1, r.Height()), bottomRight);
        if (nFlags & BF_LEFT)
            ++r.left;
        if (nFlags & BF_TOP)
            ++r.top;
        if (nFlags & BF_RIGHT)
            --r.right;
        if (nFlags & BF_BOTTOM)
            --r.bottom;
    };
    if (nEdge & BDR_RAISEDOUTER)
        frame(GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    else if (nEdge & BDR_SUNKENOUTER)
        frame(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    if (nEdge & BDR_RAISEDINNER)
        frame(GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    else if (nEdge & BDR_SUNKENINNER)
        frame(GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    if ((nFlags & BF_MIDDLE) && !r.IsRectEmpty())
        lumo::fillLogical(dc, QRect(r.left, r.top, r.Width(), r.Height()),
                          GetSysColor(COLOR_BTNFACE));
    if (nFlags & BF_ADJUST)
        *lpRect = r;
    lumo::presentIfWindow(dc);
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) {
    DeviceContext* dc = context();
    if (!dc)
        return static_cast<COLORREF>(-1);
    lumo::fillLogical(dc, QRect(x, y, 1, 1), crColor);
    return crColor;
}

COLORREF CDC::GetPixel(int x, int y) const {
    lumo::DrawTarget t = lumo::drawTarget(context());
    if (!t.valid())
        return static_cast<COLORREF>(-1);
    const QPoint p = QPoint(x, y) + t.origin;
    if (!QRect(0, 0, t.image->width(), t.image->height()).contains(p))
        return static_cast<COLORREF>(-1);
    return lumo::colorref(lumo::readPixel(lumo::constRowOf(*t.image, t.bottomUp, p.y()),
                                          lumo::is24(*t.image), p.x()));
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    DeviceContext* dc = context();
    if (!dc)
        return FALSE;
    lumo::RasterOp op;
    if (!lumo::rasterOpOf(dwRop, op))
        return PatBlt(x, y, nWidth, nHeight, dwRop);
    DeviceContext* src = pSrcDC ? pSrcDC->context() : nullptr;
    lumo::DrawTarget from = lumo::drawTarget(src);
    lumo::DrawTarget to = lumo::drawTarget(dc);
    if (!from.valid() || !to.valid() || nWidth <= 0 || nHeight <= 0)
        return FALSE;
    const QRect srcRect(from.origin.x() + xSrc, from.origin.y() + ySrc, nWidth, nHeight);
    if (from.image == to.image) {
        // Overlapping copies within one image read from a snapshot.
        const QImage snapshot = from.image->copy();
        lumo::blitToTarget(to, x, y, snapshot, from.bottomUp, srcRect, op);
    } else {
        lumo::blitToTarget(to, x, y, *from.image, from.bottomUp, srcRect, op);
    }
    lumo::presentIfWindow(dc);
    return TRUE;
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop) {
    if (nWidth == nSrcWidth && nHeight == nSrcHeight)
        return BitBlt(x, y, nWidth, nHeight, pSrcDC, xSrc, ySrc, dwRop);
    DeviceContext* dc = context();
    lumo::RasterOp op;
    if (!dc || !pSrcDC || !lumo::rasterOpOf(dwRop, op) || nWidth <= 0 || nHeight <= 0 ||
        nSrcWidth <= 0 || nSrcHeight <= 0 || nWidth > lumo::MAX_BITMAP_SIDE ||
        nHeight > lumo::MAX_BITMAP_SIDE)
        return FALSE;
    lumo::DrawTarget from = lumo::drawTarget(pSrcDC->context());
    lumo::DrawTarget to = lumo::drawTarget(dc);
    if (!from.valid() || !to.valid())
        return FALSE;
    QImage top = from.bottomUp ? from.image->mirrored(false, true) : from.image->copy();
    QImage part = top.copy(from.origin.x() + xSrc, from.origin.y() + ySrc, nSrcWidth, nSrcHeight)
                      .convertToFormat(QImage::Format_RGB32)
                      .scaled(nWidth, nHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    lumo::blitToTarget(to, x, y, part, false, QRect(0, 0, nWidth, nHeight), op);
    lumo::presentIfWindow(dc);
    return TRUE;
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}

int CDC::DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    DeviceContext* dc = context();
    if (!dc || !lpRect || !lpszString)
        return 0;
    QString text = lumo::toQString(lpszString, nCount);
    if (!(nFormat & DT_NOPREFIX))
        text = lumo::stripPrefixes(text);
    const QFont& font = dc->font->font;
    QFontMetrics metrics(font);
    const int ascent = dc->font->ascent;
    const int lineHeight = dc->font->ascent + dc->font->descent;
    const CRect box(*lpRect);
    const std::vector<QString> lines = lumo::wrapLines(
        text, metrics, box.Width(), (nFormat & DT_SINGLELINE) != 0, (nFormat & DT_WORDBREAK) != 0);
    const int totalHeight = lineHeight * static_cast<int>(lines.size());
    if (nFormat & DT_CALCRECT) {
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        lpRect->right = lpRect->left + widest;
        lpRect->bottom = lpRect->top + totalHeight;
        return totalHeight;
    }
    lumo::DrawTarget t = lumo::drawTarget(dc);
    if (!t.valid())
        return 0;
    if (!(nFormat & DT_NOCLIP))
        t.clip &= QRect(box.left, box.top, box.Width(), box.Height()).translated(t.origin);
    int y = box.top;
    if (nFormat & DT_SINGLELINE) {
        if (nFormat & DT_VCENTER)
            y = box.top + (box.Height() - lineHeight) / 2;
        else if (nFormat & DT_BOTTOM)
            y = box.bottom - lineHeight;
    }
    lumo::TargetPainter p(t);
    p->setFont(font);
    p->setPen(lumo::qcolor(dc->textColor));
    const bool needWidth = (nFormat & (DT_CENTER | DT_RIGHT)) || dc->bkMode == OPAQUE;
    for (const QString& line : lines) {
        const int width = needWidth ? metrics.horizontalAdvance(line) : 0;
        int x = box.left;
        if (nFormat & DT_CENTER)
            x = box.left + (box.Width() - width) / 2;
        else if (nFormat & DT_RIGHT)
            x = box.right - width;
        if (dc->bkMode == OPAQUE)
            p->fillRect(QRect(x, y, width, lineHeight), lumo::qcolor(dc->bkColor));
        p->drawText(QPoint(x, y + ascent), line);
        y += lineHeight;
    }
    p.finish();
    lumo::presentIfWindow(dc);
    return totalHeight;
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    return TextOut(x, y, str.GetString(), str.GetLength());
}

BOOL CDC::TextOut(int x, int y, LPCWSTR lpszString, int nCount) {
    return ExtTextOut(x, y, 0, nullptr, lpszString, static_cast<UINT>(std::max(nCount, 0)),
                      nullptr);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCWSTR lpszString, UINT nCount,
                     const int* lpDxWidths) {
    constexpr UINT ETO_OPAQUE = 0x0002;
    constexpr UINT ETO_CLIPPED = 0x0004;
    DeviceContext* dc = context();
    if (!dc)
        return FALSE;
    lumo::DrawTarget t = lumo::drawTarget(dc);
    if (!t.valid())
        return FALSE;
    if (lpRect && (nOptions & ETO_OPAQUE))
        lumo::fillLogical(dc,
                          QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                                lpRect->bottom - lpRect->top),
                          dc->bkColor);
    if (lpRect && (nOptions & ETO_CLIPPED))
        t.clip &= QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                        lpRect->bottom - lpRect->top)
                      .translated(t.origin);
    const QString text = lumo::toQString(lpszString, static_cast<int>(nCount));
    QFontMetrics metrics(dc->font->font);
    const int lineHeight = dc->font->ascent + dc->font->descent;
    lumo::TargetPainter p(t);
    p->setFont(dc->font->font);
    p->setPen(lumo::qcolor(dc->textColor));
    if (!lpDxWidths) {
        if (dc->bkMode == OPAQUE && !(nOptions & ETO_OPAQUE))
            p->fillRect(QRect(x, y, metrics.horizontalAdvance(text), lineHeight),
                        lumo::qcolor(dc->bkColor));
        p->drawText(QPoint(x, y + dc->font->ascent), text);
    } else {
        int cx = x;
        for (int i = 0; i < text.size(); ++i) {
            if (dc->bkMode == OPAQUE && !(nOptions & ETO_OPAQUE))
                p->fillRect(QRect(cx, y, lpDxWidths[i], lineHeight), lumo::qcolor(dc->bkColor));
            p->drawText(QPoint(cx, y + dc->font->ascent), QString(text[i]));
            cx += lpDxWidths[i];
        }
    }
    p.finish();
    lumo::presentIfWindow(dc);
    return TRUE;
}

CSize CDC::GetTextExtent(const CString& str) const {
    return GetTextExtent(str.GetString(), str.GetLength());
}

CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const {
    DeviceContext* dc = context();
    if (!dc || !lpszString)
        return CSize();
    QFontMetrics metrics(dc->font->font);
    return CSize(metrics.horizontalAdvance(lumo::toQString(lpszString, nCount)),
                 dc->font->ascent + dc->font->descent);
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* lpMetrics) const {
    DeviceContext* dc = context();
    if (!dc || !lpMetrics)
        return FALSE;
    *lpMetrics = TEXTMETRIC{};
    lpMetrics->tmAscent = dc->font->ascent;
    lpMetrics->tmDescent = dc->font->descent;
    lpMetrics->tmHeight = dc->font->ascent + dc->font->descent;
    lpMetrics->tmAveCharWidth = dc->font->averageWidth;
    lpMetrics->tmMaxCharWidth = dc->font->maxWidth;
    lpMetrics->tmWeight = dc->font->logFont.lfWeight;
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    DeviceContext* dc = context();
    auto* icon = reinterpret_cast<const lumo::IconImage*>(hIcon);
    if (!dc || !icon || icon->width <= 0 || icon->height <= 0 ||
        icon->pixels.size() < static_cast<size_t>(icon->width) * icon->height)
        return FALSE;
    const QImage image(reinterpret_cast<const uchar*>(icon->pixels.data()), icon->width,
                       icon->height, icon->width * 4, QImage::Format_ARGB32);
    lumo::DrawTarget t = lumo::drawTarget(dc);
    if (!t.valid())
        return FALSE;
    {
        lumo::TargetPainter p(t);
        p->drawImage(QPoint(x, y), image);
    }
    lumo::presentIfWindow(dc);
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    const HDC hdc = ::BeginPaint(m_hWnd, &m_ps);
    if (hdc)
        Attach(hdc);
}

CPaintDC::~CPaintDC() {
    if (m_hDC) {
        Detach();
        ::EndPaint(m_hWnd, &m_ps);
    }
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    const HDC hdc = ::GetDC(m_hWnd);
    if (hdc)
        Attach(hdc);
}

CClientDC::~CClientDC() {
    if (m_hDC) {
        const HDC hdc = Detach();
        ::ReleaseDC(m_hWnd, hdc);
    }
}
