#include "platform/ui/FontMapping.h"

#include "platform/ui/GdiState.h"

#include <QFontMetrics>

#include <algorithm>
#include <cwchar>

namespace lumo {
namespace {

QString familyFor(const std::wstring& face) {
    if (face == L"ＭＳ 明朝" || face == L"ＭＳ Ｐ明朝" || face == L"MS Mincho" ||
        face == L"IPAMincho")
        return QStringLiteral("IPAMincho");
    return QStringLiteral("IPAGothic");
}

} // namespace

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
