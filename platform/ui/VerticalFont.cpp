#include "platform/ui/VerticalFont.h"

#include "platform/core/Log.h"

#include <QCoreApplication>

#include <hb.h>
#include <unicode/uchar.h>

#include <map>
#include <memory>

namespace lumo {
namespace {

using FontCache = std::map<QString, std::unique_ptr<VerticalFont>>;

// Raw fonts hold font engines, which must go before the application does.
FontCache& cache() {
    static FontCache* fonts = [] {
        auto* created = new FontCache;
        qAddPostRoutine([] { cache().clear(); });
        return created;
    }();
    return *fonts;
}

// HarfBuzz reads the font's tables from Qt's raw font, not from a file of
// its own choosing.
hb_blob_t* tableOf(hb_face_t*, hb_tag_t tag, void* rawFont) {
    const char name[5] = {static_cast<char>(tag >> 24), static_cast<char>(tag >> 16),
                          static_cast<char>(tag >> 8), static_cast<char>(tag), '\0'};
    auto* data = new QByteArray(static_cast<const QRawFont*>(rawFont)->fontTable(name));
    if (data->isEmpty()) {
        delete data;
        return nullptr;
    }
    return hb_blob_create(data->constData(), static_cast<unsigned>(data->size()),
                          HB_MEMORY_MODE_READONLY, data,
                          [](void* owned) { delete static_cast<QByteArray*>(owned); });
}

bool liesOnItsSide(char32_t c) {
    const int orientation =
        u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_VERTICAL_ORIENTATION);
    return orientation == U_VO_ROTATED || orientation == U_VO_TRANSFORMED_ROTATED;
}

} // namespace

VerticalFont& VerticalFont::of(const QFont& font) {
    std::unique_ptr<VerticalFont>& slot = cache()[font.key()];
    if (!slot)
        slot = std::make_unique<VerticalFont>(font);
    return *slot;
}

VerticalFont::VerticalFont(const QFont& font)
    : m_font(font), m_raw(QRawFont::fromFont(font, QFontDatabase::Japanese)) {
    if (!m_raw.isValid()) {
        log::warning("vertical writing: no raw font for \"" + font.family().toStdString() +
                     "\"; characters stand as in horizontal writing");
        return;
    }
    m_face = hb_face_create_for_tables(tableOf, &m_raw, nullptr);
    m_shaper = hb_font_create(m_face);
}

VerticalFont::~VerticalFont() {
    hb_font_destroy(m_shaper);
    hb_face_destroy(m_face);
}

VerticalFont::Glyph VerticalFont::plain(char32_t c) {
    const auto found = m_plain.find(c);
    if (found != m_plain.end())
        return found->second;
    Glyph glyph;
    if (m_raw.isValid()) {
        const QList<quint32> ids = m_raw.glyphIndexesForString(QString::fromUcs4(&c, 1));
        if (ids.size() == 1 && ids.front() != 0) {
            glyph.id = ids.front();
            glyph.advance = m_raw.advancesForGlyphIndexes(ids).front().x();
        }
    }
    m_plain.emplace(c, glyph);
    return glyph;
}

VerticalFont::Glyph VerticalFont::stacked(char32_t c) {
    const auto found = m_stacked.find(c);
    if (found != m_stacked.end())
        return found->second;
    Glyph glyph = plain(c);
    const quint32 alternate = glyph.id ? verticalAlternate(c, glyph.id) : 0;
    if (alternate)
        glyph.id = alternate;
    else
        glyph.turned = liesOnItsSide(c);
    m_stacked.emplace(c, glyph);
    return glyph;
}

quint32 VerticalFont::verticalAlternate(char32_t c, quint32 plainId) const {
    if (!m_shaper)
        return 0;
    static const hb_feature_t features[] = {
        {HB_TAG('v', 'e', 'r', 't'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('v', 'r', 't', '2'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    };
    hb_buffer_t* buffer = hb_buffer_create();
    const uint32_t codepoint = c;
    hb_buffer_add_utf32(buffer, &codepoint, 1, 0, 1);
    hb_buffer_guess_segment_properties(buffer);
    hb_buffer_set_direction(buffer, HB_DIRECTION_TTB);
    hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
    hb_shape(m_shaper, buffer, features, 2);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const quint32 shaped = count == 1 ? info[0].codepoint : 0;
    hb_buffer_destroy(buffer);
    return shaped != plainId ? shaped : 0;
}

} // namespace lumo
