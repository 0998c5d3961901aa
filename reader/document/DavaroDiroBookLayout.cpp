// The layout of the whole book: source lines cut into display lines, grouped
// into pages.
#include "DavaroDiroBook.h"

#include "LineScan.h"
#include "ReaderSettings.h"

#include <algorithm>
#include <climits>
#include <cwchar>

bool CDavaroDiroBook::layout(int columnsPerLine, int linesPerPage) {
    if (!beginLayout(columnsPerLine, linesPerPage))
        return false;
    completeLayout();
    return true;
}

bool CDavaroDiroBook::beginLayout(int columnsPerLine, int linesPerPage) {
    // A negative page height would make the whole book one page; refuse it
    // like zero.
    if (columnsPerLine <= 1 || linesPerPage <= 0)
        return false;
    m_pageStarts.clear();
    m_lineStarts.clear();
    m_lineStates.clear();
    m_notationCache = {};
    m_progress = {};
    if (m_sourceLines.size() < 3)
        return false;

    m_linesPerPage = linesPerPage;
    m_columnsPerLine = columnsPerLine;
    m_pageStarts.push_back(0);
    for (int32_t j = 0; j <= 3; ++j)
        m_lineStarts.push_back({j, 0});
    m_pageStarts.push_back(3);

    m_progress.notation = m_aozoraNotation != 0;
    m_progress.complete = false;
    if (m_progress.notation) {
        m_lineStates.reserve(m_sourceLines.size());
        // The title lines are rows as they are; their notation still opens blocks.
        for (int32_t j = 0; j < 3; ++j) {
            m_lineStates.push_back(m_progress.state);
            yomite::parseNotatedLine(m_sourceLines[j], m_progress.state);
        }
    }
    m_currentIndex = 0;
    return true;
}

bool CDavaroDiroBook::continueLayout(int sourceLines) {
    if (m_progress.complete)
        return true;
    const int32_t lineCount = static_cast<int32_t>(m_sourceLines.size());
    const int32_t until = static_cast<int32_t>(
        std::min<int64_t>(lineCount, int64_t{m_progress.nextLine} + std::max(sourceLines, 1)));
    if (m_progress.notation)
        layoutNotatedLines(until);
    else
        layoutLines(until);
    if (m_progress.nextLine < lineCount)
        return false;
    // The unfinished last page ends one entry before the terminating entry,
    // so the line after a final line feed belongs to no page.
    if (m_progress.count > 0)
        m_pageStarts.push_back(static_cast<int32_t>(m_lineStarts.size()) - 2);
    m_progress.complete = true;
    return true;
}

void CDavaroDiroBook::completeLayout() {
    continueLayout(INT32_MAX);
}

// In full notation a source line of nothing but annotations moves the end of
// the row before it, so the last entry of m_lineStarts may still change until
// a later line adds a row; every entry before it is final.
void CDavaroDiroBook::layoutUntilLineStarts(int count) {
    while (!m_progress.complete && static_cast<int64_t>(m_lineStarts.size()) <= count)
        continueLayout(1);
}

void CDavaroDiroBook::layoutUntilPages(int count) {
    auto laidOut = [&] {
        if (count <= 0)
            return true;
        if (getPageCount() < count)
            return false;
        // The last page's last row must have its final end too.
        return static_cast<int64_t>(m_lineStarts.size()) > int64_t{m_pageStarts[count]} + 1;
    };
    while (!m_progress.complete && !laidOut())
        continueLayout(1);
}

void CDavaroDiroBook::layoutUntilPosition(SourcePosition position) {
    // A stored place may be anything up to INT32_MAX: count in 64 bits.
    if (!m_progress.complete && m_progress.nextLine <= position.line)
        continueLayout(static_cast<int>(
            std::min<int64_t>(INT_MAX, int64_t{position.line} + 1 - m_progress.nextLine)));
}

void CDavaroDiroBook::addRow(SourcePosition next) {
    m_lineStarts.push_back(next);
    if (++m_progress.count == m_linesPerPage) {
        m_pageStarts.push_back(static_cast<int32_t>(m_lineStarts.size()) - 1);
        m_progress.count = 0;
    }
}

void CDavaroDiroBook::startPage() {
    // A page that has just begun is not begun again.
    if (m_progress.count == 0)
        return;
    m_pageStarts.push_back(static_cast<int32_t>(m_lineStarts.size()) - 1);
    m_progress.count = 0;
}

void CDavaroDiroBook::layoutLines(int32_t until) {
    for (int32_t j = m_progress.nextLine; j < until; ++j) {
        const std::wstring& line = m_sourceLines[j];
        const wchar_t* begin = line.data();
        const wchar_t* end = begin + line.size();
        const wchar_t* pos = begin;
        LineScan scan{begin, end};
        do {
            findLineBreak(m_columnsPerLine, pos, end, pos, scan);
            addRow(pos == end ? SourcePosition{j + 1, 0}
                              : SourcePosition{j, static_cast<int32_t>(pos - begin)});
        } while (pos != end);
    }
    m_progress.nextLine = until;
}

void CDavaroDiroBook::layoutNotatedLines(int32_t until) {
    yomite::NotationState& state = m_progress.state;
    for (int32_t j = m_progress.nextLine; j < until; ++j) {
        m_lineStates.push_back(state);
        const std::wstring& line = m_sourceLines[j];
        const wchar_t* begin = line.data();
        const wchar_t* end = begin + line.size();
        // A line whose notation does not shape its rows breaks as in the
        // basic notation, in the room its open blocks leave; most lines of a
        // book are such lines.
        const bool pageBreak = state.pageBreakPending;
        if (!std::wmemchr(begin, yomite::ANNOTATION_OPEN, line.size()) ||
            !yomite::shapesRows(line, state)) {
            state.pageBreakPending = false;
            if (pageBreak)
                startPage();
            LineScan scan{begin, end};
            const wchar_t* pos = begin;
            do {
                const int room = yomite::rowSpace(state, pos == begin, m_columnsPerLine).available;
                findLineBreak(room, pos, end, pos, scan);
                addRow(pos == end ? SourcePosition{j + 1, 0}
                                  : SourcePosition{j, static_cast<int32_t>(pos - begin)});
            } while (pos != end);
            continue;
        }
        const yomite::NotatedSourceLine notated = yomite::parseNotatedLine(line, state);
        if (notated.annotationOnly) {
            // No row: the row before ends where the next line starts.
            m_lineStarts.back() = {j + 1, 0};
            continue;
        }
        LineScan scan{begin, end, &notated};
        for (size_t s = 0; s < notated.segments.size(); ++s) {
            const yomite::NotatedSegment& segment = notated.segments[s];
            const wchar_t* segmentEnd =
                s + 1 < notated.segments.size() ? begin + notated.segments[s + 1].rawBegin : end;
            const wchar_t* pos = begin + segment.rawBegin;
            if (segment.pageBreakBefore)
                startPage();
            do {
                const int room =
                    yomite::rowSpace(notated, static_cast<int32_t>(pos - begin), m_columnsPerLine)
                        .available;
                findLineBreak(room, pos, segmentEnd, pos, scan);
                addRow(pos == end ? SourcePosition{j + 1, 0}
                                  : SourcePosition{j, static_cast<int32_t>(pos - begin)});
            } while (pos != segmentEnd);
        }
    }
    m_progress.nextLine = until;
}
