#include "NotationParser.h"

#include "GaijiCode.h"
#include "NotationVocabulary.h"

#include "platform/core/CharClass.h"

#include <algorithm>
#include <array>
#include <optional>

namespace yomite {
namespace {

constexpr wchar_t GAIJI_MARK = L'※';
constexpr wchar_t ANNOTATION_SIGN = L'＃';
constexpr wchar_t TAG_OPEN = L'<';
constexpr wchar_t TAG_CLOSE = L'>';
constexpr std::wstring_view CAPTIONED = L"」のキャプション付きの";
constexpr std::wstring_view DEFAULT_CAPTION = L"挿絵";
constexpr int MIN_ROW_COLUMNS = 2;
constexpr size_t NONE = std::wstring_view::npos;

// The ］ that closes the ［ at `open`, counting nested pairs; NONE when the
// line ends first.
size_t matchingClose(std::wstring_view raw, size_t open) {
    int depth = 0;
    for (size_t i = open; i < raw.size(); ++i) {
        if (raw[i] == ANNOTATION_OPEN)
            ++depth;
        else if (raw[i] == ANNOTATION_CLOSE && --depth == 0)
            return i;
    }
    return NONE;
}

// The text of "［＃text］" at [open, close]; nothing without the "＃".
std::optional<std::wstring_view> noteOf(std::wstring_view raw, size_t open, size_t close) {
    if (close < open + 2 || raw[open + 1] != ANNOTATION_SIGN)
        return std::nullopt;
    return raw.substr(open + 2, close - open - 2);
}

struct Gaiji {
    wchar_t character;
    size_t close;
};

// "※［＃…code…］" starting at `mark`.
std::optional<Gaiji> gaijiAt(std::wstring_view raw, size_t mark) {
    if (mark + 1 >= raw.size() || raw[mark + 1] != ANNOTATION_OPEN)
        return std::nullopt;
    const size_t close = matchingClose(raw, mark + 1);
    if (close == NONE)
        return std::nullopt;
    std::optional<std::wstring_view> note = noteOf(raw, mark + 1, close);
    std::optional<wchar_t> character = note ? gaijiCharacter(*note) : std::nullopt;
    if (!character)
        return std::nullopt;
    return Gaiji{*character, close};
}

// "[caption]"; for 「X」のキャプション付きの図 the caption is X.
std::wstring captionLabel(std::wstring_view caption) {
    if (caption.starts_with(L'「')) {
        const size_t end = caption.find(CAPTIONED);
        if (end != NONE)
            caption = caption.substr(1, end - 1);
    }
    if (caption.empty())
        caption = DEFAULT_CAPTION;
    return L"[" + std::wstring(caption) + L"]";
}

bool isHalfWidthLetter(wchar_t c) {
    return static_cast<unsigned>(c) < 256 && lumo::isLetter(c);
}

int emphasisBit(EmphasisKind kind, Side side) {
    return 2 * static_cast<int>(kind) + static_cast<int>(side);
}

// Records in the state which feature is open; false when that changes
// nothing (a second opening, or the end of something not open).
bool markOpen(NotationState& state, const SpanFeature& f, bool open) {
    switch (f.type) {
    case SpanFeature::Type::Emphasis: {
        const uint32_t bit = 1u << emphasisBit(f.emphasis, f.side);
        const bool was = (state.emphasis & bit) != 0;
        state.emphasis = open ? state.emphasis | bit : state.emphasis & ~bit;
        return was != open;
    }
    case SpanFeature::Type::Heading: {
        const bool matches = open ? state.heading == 0 : state.heading == f.heading;
        if (matches)
            state.heading = open ? f.heading : 0;
        return matches;
    }
    case SpanFeature::Type::Tcy: {
        const bool changes = state.tcy != open;
        state.tcy = open;
        return changes;
    }
    case SpanFeature::Type::Small: {
        const int kind = static_cast<int>(f.small);
        const bool matches = open ? state.small < 0 : state.small == kind;
        if (matches)
            state.small = open ? kind : -1;
        return matches;
    }
    }
    return false;
}

// Whether an annotation changes nothing about rows: emphasis, 縦中横, small
// text and everything the reader does not show.
bool leavesRowsAlone(const Annotation& a) {
    switch (a.type) {
    case Annotation::Type::Ignored:
        return true;
    case Annotation::Type::Forward:
    case Annotation::Type::Open:
    case Annotation::Type::Close:
        return a.feature.type != SpanFeature::Type::Heading;
    default:
        return false;
    }
}

class LineParser {
public:
    LineParser(std::wstring_view raw, NotationState& state) : m_raw(raw), m_state(state) {
        m_line.effective.assign(raw);
        m_line.roles.assign(raw.size(), BreakRole::Text);
        m_line.visible.reserve(raw.size());
        m_line.visibleRaw.reserve(raw.size());
        m_line.visibleColumn.reserve(raw.size());
        m_firstPageBreak = state.pageBreakPending;
        state.pageBreakPending = false;
        // What the previous line left open starts at this line's first column.
        m_emphasisStart.fill(-1);
        for (int bit = 0; bit < 2 * EMPHASIS_KIND_COUNT; ++bit)
            if (state.emphasis & (1u << bit))
                m_emphasisStart[bit] = 0;
        m_headingStart = state.heading ? 0 : -1;
        m_tcyStart = state.tcy ? 0 : -1;
        m_smallStart = state.small >= 0 ? 0 : -1;
    }

    NotatedSourceLine run() {
        for (size_t i = 0; i < m_raw.size(); ++i) {
            const wchar_t c = m_raw[i];
            switch (c) {
            case RUBY_BASE_MARK:
                m_line.roles[i] = BreakRole::BaseMark;
                m_explicitStart = m_column;
                m_kanjiStart = m_latinStart = -1;
                continue;
            case RUBY_OPEN:
                i = ruby(i);
                continue;
            case RUBY_CLOSE:
                m_line.roles[i] = BreakRole::RubyClose; // a stray mark: nothing to show
                continue;
            case ANNOTATION_OPEN:
                i = annotation(i);
                continue;
            case ANNOTATION_CLOSE:
                m_line.roles[i] = BreakRole::AnnotationClose;
                continue;
            default:
                break;
            }
            if (c == GAIJI_MARK) {
                if (std::optional<Gaiji> gaiji = gaijiAt(m_raw, i)) {
                    m_line.effective[i] = gaiji->character;
                    hide(i + 1, gaiji->close);
                    text(i, gaiji->character);
                    i = gaiji->close;
                    continue;
                }
            }
            updateRuns(c);
            if (c == TAG_OPEN) {
                if (size_t last = tag(i); last != NONE) {
                    i = last;
                    continue;
                }
            }
            emit(c, static_cast<int32_t>(i));
        }
        finish();
        return std::move(m_line);
    }

private:
    void updateRuns(wchar_t c) {
        if (isKanji(c)) {
            if (m_kanjiStart == -1)
                m_kanjiStart = m_column;
        } else {
            m_kanjiStart = -1;
        }
        if (isHalfWidthLetter(c)) {
            if (m_latinStart == -1)
                m_latinStart = m_column;
        } else if (m_latinStart != -1 && !lumo::isLetter(c)) {
            m_latinStart = -1;
        }
    }

    void text(size_t at, wchar_t c) {
        updateRuns(c);
        emit(c, static_cast<int32_t>(at));
    }

    void emit(wchar_t c, int32_t at) {
        if (!m_sawVisible)
            firstVisible();
        m_line.visible += c;
        m_line.visibleRaw.push_back(at);
        m_line.visibleColumn.push_back(m_column);
        m_column += columnWidth(c);
    }

    void emitLabel(const std::wstring& label, int32_t at) {
        for (wchar_t c : label)
            emit(c, at);
    }

    // Block indent and alignment as they stand at the line's first visible
    // character, so a block started before it on the same line counts.
    void firstVisible() {
        m_sawVisible = true;
        m_blockIndentFirst = m_state.indentFirst;
        m_blockIndentRest = m_state.indentRest;
        if (!m_firstAlignSet)
            m_firstAlign = m_state.alignEnd;
    }

    // An annotation of the gaiji mark, or its remains after an unclosed ［.
    void hide(size_t open, size_t close) {
        m_line.roles[open] = BreakRole::AnnotationOpen;
        for (size_t k = open + 1; k < std::min(close, m_raw.size()); ++k)
            m_line.roles[k] = BreakRole::Hidden;
        if (close < m_raw.size())
            m_line.roles[close] = BreakRole::AnnotationClose;
    }

    size_t ruby(size_t open) {
        m_line.roles[open] = BreakRole::RubyOpen;
        int start = m_explicitStart;
        if (start == -1)
            start = m_kanjiStart >= 0   ? m_kanjiStart
                    : m_latinStart >= 0 ? m_latinStart
                                        : m_column - 2;
        m_explicitStart = -1;
        m_kanjiStart = m_latinStart = -1;
        const size_t close = m_raw.find(RUBY_CLOSE, open + 1);
        // An unterminated ruby hides the rest of the line.
        if (close == NONE)
            return m_raw.size();
        m_line.roles[close] = BreakRole::RubyClose;
        m_line.ruby.push_back(
            {start, m_column, notatedText(m_raw.substr(open + 1, close - open - 1))});
        m_line.rubyClose.push_back(static_cast<int32_t>(close));
        return close;
    }

    size_t annotation(size_t open) {
        m_sawAnnotation = true;
        m_kanjiStart = m_latinStart = -1;
        const size_t close = matchingClose(m_raw, open);
        hide(open, close);
        if (close == NONE)
            return m_raw.size();
        if (std::optional<std::wstring_view> note = noteOf(m_raw, open, close))
            apply(recognizeAnnotation(*note), open, close);
        return close;
    }

    // "<img ...>" and "<a ...>...</a>" as the basic notation knows them; the
    // last source position consumed, or NONE when `open` starts no tag.
    size_t tag(size_t open) {
        if (!m_lastCloseKnown) {
            m_lastClose = m_raw.rfind(TAG_CLOSE);
            m_lastCloseKnown = true;
        }
        InlineTag parsed;
        if (m_lastClose == NONE || m_lastClose <= open ||
            !parseInlineTagView(m_raw.substr(open, m_lastClose - open + 1), parsed))
            return NONE;
        placeItem(parsed, open, m_lastClose);
        return m_lastClose;
    }

    void placeItem(InlineTag& item, size_t open, size_t last) {
        item.startColumn = m_column;
        emitLabel(item.displayText, static_cast<int32_t>(open));
        item.endColumn = m_column;
        for (size_t k = open + 1; k <= last; ++k)
            m_line.roles[k] = BreakRole::Hidden;
        m_line.roles[open] = BreakRole::Item;
        m_line.items.push_back({static_cast<int32_t>(open), static_cast<int32_t>(last),
                                item.endColumn - item.startColumn});
        m_line.tags.emplace_back(static_cast<int32_t>(open), std::move(item));
    }

    void apply(const Annotation& a, size_t open, size_t close) {
        switch (a.type) {
        case Annotation::Type::Ignored:
            return;
        case Annotation::Type::PageBreak:
            if (!m_sawVisible)
                m_firstPageBreak = true;
            else
                m_breaks.push_back({m_column, true, false, -1});
            return;
        case Annotation::Type::Indent:
            m_lineIndent = a.first;
            return;
        case Annotation::Type::IndentBlock:
            m_state.indentFirst = a.first;
            m_state.indentRest = a.rest;
            return;
        case Annotation::Type::IndentEnd:
            m_state.indentFirst = m_state.indentRest = 0;
            return;
        case Annotation::Type::AlignEnd:
            if (!m_sawVisible) {
                m_firstAlign = a.first;
                m_firstAlignSet = true;
            } else {
                m_breaks.push_back({m_column, false, true, a.first});
            }
            return;
        case Annotation::Type::AlignEndBlock:
            m_state.alignEnd = a.first;
            return;
        case Annotation::Type::AlignEndBlockEnd:
            m_state.alignEnd = -1;
            return;
        case Annotation::Type::Forward:
            forward(a);
            return;
        case Annotation::Type::Open:
            openSpan(a.feature);
            return;
        case Annotation::Type::Close:
            closeSpan(a.feature);
            return;
        case Annotation::Type::Illustration: {
            InlineTag picture;
            picture.tagName = L"img";
            picture.attributes[L"src"] = std::wstring(a.file);
            picture.displayText = captionLabel(a.caption);
            picture.hasDisplayText = true;
            placeItem(picture, open, close);
            return;
        }
        }
    }

    // The nearest earlier occurrence of the target on this line.
    void forward(const Annotation& a) {
        const std::wstring target = notatedText(a.target);
        if (target.empty() || target.size() > m_line.visible.size())
            return;
        const size_t at = m_line.visible.rfind(target);
        if (at == NONE)
            return;
        const size_t after = at + target.size();
        const int end =
            after < m_line.visibleColumn.size() ? m_line.visibleColumn[after] : m_column;
        addSpan(a.feature, m_line.visibleColumn[at], end);
    }

    void addSpan(const SpanFeature& f, int start, int end) {
        if (end <= start)
            return;
        switch (f.type) {
        case SpanFeature::Type::Emphasis:
            m_line.emphasis.push_back({start, end, f.emphasis, f.side});
            return;
        case SpanFeature::Type::Heading:
            // A heading is rows of its own: the text around it starts new rows.
            m_line.headings.push_back({start, end, f.heading});
            m_breaks.push_back({start, false, false, -1});
            m_breaks.push_back({end, false, false, -1});
            return;
        case SpanFeature::Type::Tcy:
            m_line.tcy.push_back({start, end});
            return;
        case SpanFeature::Type::Small:
            m_line.small.push_back({start, end, f.small});
            return;
        }
    }

    // The column where an open feature started, or -1; `slot` is where it is kept.
    int* startSlot(const SpanFeature& f) {
        switch (f.type) {
        case SpanFeature::Type::Emphasis:
            return &m_emphasisStart[emphasisBit(f.emphasis, f.side)];
        case SpanFeature::Type::Heading:
            return &m_headingStart;
        case SpanFeature::Type::Tcy:
            return &m_tcyStart;
        case SpanFeature::Type::Small:
            return &m_smallStart;
        }
        return nullptr;
    }

    void openSpan(const SpanFeature& f) {
        if (markOpen(m_state, f, true))
            *startSlot(f) = m_column;
    }

    void closeSpan(const SpanFeature& f) {
        if (!markOpen(m_state, f, false))
            return;
        int* start = startSlot(f);
        addSpan(f, *start, m_column);
        *start = -1;
    }

    // Features still open run to the end of the line (and on in the state).
    void closeOpenSpansAtEnd() {
        SpanFeature f;
        f.type = SpanFeature::Type::Emphasis;
        for (int bit = 0; bit < 2 * EMPHASIS_KIND_COUNT; ++bit) {
            if (m_emphasisStart[bit] < 0)
                continue;
            f.emphasis = static_cast<EmphasisKind>(bit / 2);
            f.side = static_cast<Side>(bit % 2);
            addSpan(f, m_emphasisStart[bit], m_column);
        }
        if (m_headingStart >= 0) {
            f.type = SpanFeature::Type::Heading;
            f.heading = m_state.heading;
            addSpan(f, m_headingStart, m_column);
        }
        if (m_tcyStart >= 0) {
            f.type = SpanFeature::Type::Tcy;
            addSpan(f, m_tcyStart, m_column);
        }
        if (m_smallStart >= 0) {
            f.type = SpanFeature::Type::Small;
            f.small = static_cast<SmallKind>(m_state.small);
            addSpan(f, m_smallStart, m_column);
        }
    }

    // Where a row that starts at `column` begins in the source: at its first
    // visible character, or at the ｜ that marks it as a ruby base.
    int32_t rawAtColumn(int column) const {
        const auto& columns = m_line.visibleColumn;
        const size_t k = std::lower_bound(columns.begin(), columns.end(), column) - columns.begin();
        int32_t at = k < columns.size() ? m_line.visibleRaw[k] : static_cast<int32_t>(m_raw.size());
        while (at > 0 && m_raw[at - 1] == RUBY_BASE_MARK)
            --at;
        return at;
    }

    void buildSegments() {
        m_line.segments.push_back({0, 0, m_firstAlign, m_firstPageBreak});
        std::stable_sort(m_breaks.begin(), m_breaks.end(),
                         [](const Break& a, const Break& b) { return a.column < b.column; });
        for (const Break& b : m_breaks) {
            NotatedSegment& last = m_line.segments.back();
            if (b.column >= m_column) {
                if (b.page)
                    m_state.pageBreakPending = true;
                continue;
            }
            if (b.column > last.startColumn) {
                const int32_t at = rawAtColumn(b.column);
                if (at > last.rawBegin)
                    m_line.segments.push_back({at, b.column, last.alignEnd, false});
            }
            NotatedSegment& target = m_line.segments.back();
            target.pageBreakBefore = target.pageBreakBefore || b.page;
            if (b.align)
                target.alignEnd = b.alignEnd;
        }
    }

    void finish() {
        if (!m_sawVisible)
            firstVisible();
        m_line.width = m_column;
        m_line.indentFirst = m_lineIndent.value_or(m_blockIndentFirst);
        m_line.indentRest = m_lineIndent.value_or(m_blockIndentRest);
        closeOpenSpansAtEnd();
        m_line.annotationOnly = m_line.visible.empty() && m_sawAnnotation && m_line.ruby.empty();
        if (m_line.annotationOnly) {
            // The line has no row: its page break goes to the next one.
            m_state.pageBreakPending =
                m_firstPageBreak || std::any_of(m_breaks.begin(), m_breaks.end(),
                                                [](const Break& b) { return b.page; });
            m_line.segments.push_back({0, 0, m_firstAlign, false});
            return;
        }
        buildSegments();
    }

    struct Break {
        int column;
        bool page;
        bool align;
        int alignEnd;
    };

    std::wstring_view m_raw;
    NotationState& m_state;
    NotatedSourceLine m_line;
    int m_column = 0;
    int m_explicitStart = -1;
    int m_kanjiStart = -1;
    int m_latinStart = -1;
    bool m_sawVisible = false;
    bool m_sawAnnotation = false;
    std::optional<int> m_lineIndent;
    int m_blockIndentFirst = 0;
    int m_blockIndentRest = 0;
    int m_firstAlign = -1;
    bool m_firstAlignSet = false;
    bool m_firstPageBreak = false;
    std::vector<Break> m_breaks;
    std::array<int, 2 * EMPHASIS_KIND_COUNT> m_emphasisStart{};
    int m_headingStart = -1;
    int m_tcyStart = -1;
    int m_smallStart = -1;
    size_t m_lastClose = NONE;
    bool m_lastCloseKnown = false;
};

// The segment the row starting at `begin` belongs to.
const NotatedSegment& segmentAt(const NotatedSourceLine& line, int32_t begin) {
    auto after = std::upper_bound(
        line.segments.begin(), line.segments.end(), begin,
        [](int32_t offset, const NotatedSegment& s) { return offset < s.rawBegin; });
    return *(after - 1);
}

RowSpace spaceOf(int indent, int alignEnd, int columnsPerLine) {
    const int room = std::max(columnsPerLine, MIN_ROW_COLUMNS);
    RowSpace space;
    space.indent = std::clamp(indent, 0, room - MIN_ROW_COLUMNS);
    if (alignEnd >= 0)
        space.after = std::clamp(alignEnd, 0, room - MIN_ROW_COLUMNS - space.indent);
    space.available = room - space.indent - std::max(space.after, 0);
    return space;
}

template <typename Span>
void clipInto(const std::vector<Span>& spans, int from, int to, std::vector<Span>& out) {
    for (Span span : spans) {
        span.start = std::max(span.start, from) - from;
        span.end = std::min(span.end, to) - from;
        if (span.end > span.start)
            out.push_back(span);
    }
}

} // namespace

NotatedSourceLine parseNotatedLine(std::wstring_view raw, NotationState& state) {
    return LineParser(raw, state).run();
}

bool shapesRows(std::wstring_view raw, NotationState& state) {
    // A tag may hold annotations that the parser never applies.
    if (raw.find(TAG_OPEN) != NONE)
        return true;
    NotationState after = state;
    bool sawText = false;
    for (size_t i = 0; i < raw.size(); ++i) {
        const wchar_t c = raw[i];
        if (c == RUBY_OPEN) {
            // Ruby text holds no annotation the line would apply.
            // An unclosed ruby hides the rest of the line; a closed one is a row.
            const size_t close = raw.find(RUBY_CLOSE, i + 1);
            if (close == NONE)
                break;
            sawText = true;
            i = close;
            continue;
        }
        if (c != ANNOTATION_OPEN) {
            sawText = sawText || (c != RUBY_BASE_MARK && c != RUBY_CLOSE && c != ANNOTATION_CLOSE);
            continue;
        }
        const size_t close = matchingClose(raw, i);
        if (close == NONE)
            break;
        // A nested annotation or a gaiji note changes the line's widths.
        if (raw.substr(i + 1, close - i - 1).find(ANNOTATION_OPEN) != NONE ||
            (i > 0 && raw[i - 1] == GAIJI_MARK && gaijiAt(raw, i - 1)))
            return true;
        if (std::optional<std::wstring_view> note = noteOf(raw, i, close)) {
            const Annotation a = recognizeAnnotation(*note);
            if (!leavesRowsAlone(a))
                return true;
            if (a.type == Annotation::Type::Open || a.type == Annotation::Type::Close)
                markOpen(after, a.feature, a.type == Annotation::Type::Open);
        }
        i = close;
    }
    // A line of nothing but annotations has no row at all.
    if (!sawText)
        return true;
    after.pageBreakPending = false;
    state = after;
    return false;
}

std::wstring notatedText(std::wstring_view raw) {
    std::wstring text;
    for (size_t i = 0; i < raw.size(); ++i) {
        const wchar_t c = raw[i];
        if (c == GAIJI_MARK) {
            if (std::optional<Gaiji> gaiji = gaijiAt(raw, i)) {
                text += gaiji->character;
                i = gaiji->close;
                continue;
            }
        }
        if (c == ANNOTATION_OPEN || c == RUBY_OPEN) {
            const size_t close =
                c == ANNOTATION_OPEN ? matchingClose(raw, i) : raw.find(RUBY_CLOSE, i + 1);
            if (close == NONE)
                break;
            i = close;
            continue;
        }
        if (c != RUBY_BASE_MARK && c != RUBY_CLOSE && c != ANNOTATION_CLOSE)
            text += c;
    }
    return text;
}

RowSpace rowSpace(const NotatedSourceLine& line, int32_t begin, int columnsPerLine) {
    const bool firstRow = begin == 0;
    return spaceOf(firstRow ? line.indentFirst : line.indentRest, segmentAt(line, begin).alignEnd,
                   columnsPerLine);
}

RowSpace rowSpace(const NotationState& state, bool firstRow, int columnsPerLine) {
    return spaceOf(firstRow ? state.indentFirst : state.indentRest, state.alignEnd, columnsPerLine);
}

DisplayLineNotation notatedDisplayLine(const NotatedSourceLine& line, int32_t begin, int32_t end,
                                       int columnsPerLine) {
    DisplayLineNotation row;
    const auto& raws = line.visibleRaw;
    const size_t first = std::lower_bound(raws.begin(), raws.end(), begin) - raws.begin();
    const size_t last = std::lower_bound(raws.begin(), raws.end(), end) - raws.begin();
    const int from = first < raws.size() ? line.visibleColumn[first] : line.width;
    const int to = last < raws.size() ? line.visibleColumn[last] : line.width;
    row.visible = line.visible.substr(first, last - first);

    for (size_t i = 0; i < line.ruby.size(); ++i) {
        if (line.rubyClose[i] < begin || line.rubyClose[i] >= end)
            continue;
        const RubySpan& span = line.ruby[i];
        row.ruby.push_back({span.baseStart - from, span.baseEnd - from, span.rubyText});
    }
    // Several tags of one row combine as the basic parser combines them.
    for (const auto& [at, tag] : line.tags) {
        if (at < begin || at >= end)
            continue;
        row.tag.startColumn = tag.startColumn - from;
        row.tag.endColumn = tag.endColumn - from;
        row.tag.tagName = tag.tagName;
        row.tag.innerText = tag.innerText;
        row.tag.displayText = tag.displayText;
        row.tag.hasDisplayText = row.tag.hasDisplayText || tag.hasDisplayText;
        for (const auto& [name, value] : tag.attributes)
            row.tag.attributes.emplace(name, value);
    }
    clipInto(line.emphasis, from, to, row.emphasis);
    clipInto(line.tcy, from, to, row.tcy);
    clipInto(line.small, from, to, row.small);
    if (first < last) {
        for (const HeadingSpan& heading : line.headings)
            if (heading.start <= from && from < heading.end)
                row.heading = heading.level;
    }

    const RowSpace space = rowSpace(line, begin, columnsPerLine);
    row.indent = space.indent;
    if (space.after >= 0) {
        row.alignEnd = space.after;
        row.indent = std::max(space.indent, std::max(columnsPerLine, MIN_ROW_COLUMNS) -
                                                space.after - (to - from));
    }
    const NotatedSegment& segment = segmentAt(line, begin);
    row.pageBreakBefore = segment.rawBegin == begin && segment.pageBreakBefore;
    return row;
}

} // namespace yomite
