#include "VerticalColumn.h"

#include "reader/document/AozoraNotation.h"

#include <algorithm>

namespace yomite {
namespace {

constexpr wchar_t ELLIPSIS = 0x2026;
// A cell of a full-width character: two half-width units.
constexpr int CELL = 2;
// Half-width digits up to this many stand side by side in one cell.
constexpr size_t DIGITS_ACROSS = 2;

bool isHalfWidth(wchar_t c) {
    return columnWidth(c) == 1;
}

bool allDigits(std::wstring_view run) {
    return std::all_of(run.begin(), run.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

} // namespace

ColumnLayout::ColumnLayout(std::wstring text, int limit, std::vector<CharacterSpan> across)
    : m_text(std::move(text)) {
    std::sort(across.begin(), across.end(),
              [](const CharacterSpan& a, const CharacterSpan& b) { return a.first < b.first; });
    setPieces(across);
    if (length() <= limit)
        return;
    const size_t cut = cutFor(limit - CELL);
    m_text.resize(cut);
    m_text += ELLIPSIS;
    for (CharacterSpan& span : across)
        span.length = std::min(span.length, static_cast<int>(cut) - span.first);
    setPieces(across);
}

void ColumnLayout::setPieces(const std::vector<CharacterSpan>& across) {
    m_pieces.clear();
    const int size = static_cast<int>(m_text.size());
    auto nextSpan = across.begin();
    int unit = 0;
    int top = 0;
    for (int i = 0; i < size;) {
        while (nextSpan != across.end() && (nextSpan->first < i || nextSpan->length <= 0))
            ++nextSpan;
        ColumnPiece piece;
        piece.first = i;
        if (nextSpan != across.end() && nextSpan->first == i) {
            piece.length = std::min(nextSpan->length, size - i);
            piece.stance = lumo::Stance::Across;
            piece.height = CELL;
        } else if (isHalfWidth(m_text[i])) {
            const int spanStart = nextSpan != across.end() ? nextSpan->first : size;
            int end = i;
            while (end < size && end < spanStart && isHalfWidth(m_text[end]))
                ++end;
            piece.length = end - i;
            const std::wstring_view run(m_text.data() + i, piece.length);
            const bool standing = run.size() <= DIGITS_ACROSS && allDigits(run);
            piece.stance = standing ? lumo::Stance::Across : lumo::Stance::Turned;
            piece.height = standing ? CELL : piece.length;
        } else {
            piece.length = 1;
            piece.stance = lumo::Stance::Stacked;
            piece.height = CELL;
        }
        piece.units = columnWidth(std::wstring_view(m_text.data() + i, piece.length));
        piece.unit = unit;
        piece.top = top;
        unit += piece.units;
        top += piece.height;
        i += piece.length;
        m_pieces.push_back(piece);
    }
}

size_t ColumnLayout::cutFor(int room) const {
    for (const ColumnPiece& piece : m_pieces) {
        if (piece.top + piece.height <= room)
            continue;
        // Each letter of a lying run is one unit tall.
        if (piece.stance == lumo::Stance::Turned && room > piece.top)
            return piece.first + (room - piece.top);
        return piece.first;
    }
    return m_text.size();
}

int ColumnLayout::length() const {
    return m_pieces.empty() ? 0 : m_pieces.back().top + m_pieces.back().height;
}

int ColumnLayout::drawnAt(int unit) const {
    if (unit <= 0 || m_pieces.empty())
        return unit;
    for (const ColumnPiece& piece : m_pieces)
        if (unit < piece.unit + piece.units)
            return piece.top + (unit - piece.unit) * piece.height / piece.units;
    const ColumnPiece& last = m_pieces.back();
    return length() + unit - (last.unit + last.units);
}

} // namespace yomite
