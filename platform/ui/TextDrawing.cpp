// Text: drawing, measuring and metrics through a DC.

#include "platform/ui/DC.h"

#include "platform/ui/GdiState.h"
#include "platform/ui/Raster.h"

#include <QFontMetrics>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace lumo {
namespace {

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
} // namespace lumo

using lumo::DeviceContext;

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
