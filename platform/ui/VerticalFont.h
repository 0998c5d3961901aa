#pragma once

// Private: a font as vertical writing draws it. Glyphs are drawn by id from
// Qt's raw font; the vertical alternates come from shaping each character
// with HarfBuzz ("vert", "vrt2") over the tables of that same font, so the
// ids always belong to the font Qt draws.

#include <QFont>
#include <QRawFont>

#include <unordered_map>

struct hb_face_t;
struct hb_font_t;

namespace lumo {

class VerticalFont {
public:
    // How one character stands when stacked in a column.
    struct Glyph {
        quint32 id = 0;      // 0: the font lacks the character
        bool turned = false; // drawn 90 degrees clockwise
        qreal advance = 0;   // its horizontal advance: its height in the column
    };

    // The cached vertical font for a Qt font; lives until the application ends.
    static VerticalFont& of(const QFont& font);

    explicit VerticalFont(const QFont& font);
    ~VerticalFont();
    VerticalFont(const VerticalFont&) = delete;
    VerticalFont& operator=(const VerticalFont&) = delete;

    Glyph stacked(char32_t c);
    // The plain (horizontal) glyph of a character and its advance.
    Glyph plain(char32_t c);

    const QRawFont& raw() const { return m_raw; }
    const QFont& font() const { return m_font; }

private:
    quint32 verticalAlternate(char32_t c, quint32 plainId) const;

    QFont m_font;
    QRawFont m_raw;
    hb_face_t* m_face = nullptr;
    hb_font_t* m_shaper = nullptr;
    std::unordered_map<char32_t, Glyph> m_plain;
    std::unordered_map<char32_t, Glyph> m_stacked;
};

} // namespace lumo
