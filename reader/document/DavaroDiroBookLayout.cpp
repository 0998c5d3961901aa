// The layout of the whole book: source lines cut into display lines, grouped
// into pages.
#include "DavaroDiroBook.h"

#include "LineScan.h"
#include "ReaderSettings.h"

#include <cwchar>

bool CDavaroDiroBook::layout(int columnsPerLine, int linesPerPage) {
    // A negative page height would make the whole book one page; refuse it
    // like zero.
    if (columnsPerLine <= 1 || linesPerPage <= 0)
        return false;
    m_pageStarts.clear();
    m_lineStarts.clear();
    m_lineStates.clear();
    m_notationCache = {};
    if (m_sourceLines.size() < 3)
        return false;

    m_linesPerPage = linesPerPage;
    m_columnsPerLine = columnsPerLine;
    m_pageStarts.push_back(0);
    for (int32_t j = 0; j <= 3; ++j)
        m_lineStarts.push_back({j, 0});
    m_pageStarts.push_back(3);

    int count = 0;
    if (m_aozoraNotation)
        layoutNotatedLines(count);
    else
        layoutLines(count);
    // The unfinished last page ends one entry before the terminating entry,
    // so the line after a final line feed belongs to no page.
    if (count > 0)
        m_pageStarts.push_back(static_cast<int32_t>(m_lineStarts.size()) - 2);

    m_currentIndex = 0;
    return true;
}

void CDavaroDiroBook::addRow(SourcePosition next, int& count) {
    m_lineStarts.push_back(next);
    if (++count == m_linesPerPage) {
        m_pageStarts.push_back(static_cast<int32_t>(m_lineStarts.size()) - 1);
        count = 0;
    }
}

void CDavaroDiroBook::startPage(int& count) {
    // A page that has just begun is not begun again.
    if (count == 0)
        return;
    m_pageStarts.push_back(static_cast<int32_t>(m_lineStarts.size()) - 1);
    count = 0;
}

void CDavaroDiroBook::layoutLines(int& count) {
    const int32_t lineCount = static_cast<int32_t>(m_sourceLines.size());
    for (int32_t j = 3; j < lineCount; ++j) {
        const std::wstring& line = m_sourceLines[j];
        const wchar_t* begin = line.data();
        const wchar_t* end = begin + line.size();
        const wchar_t* pos = begin;
        LineScan scan{begin, end};
        do {
            findLineBreak(m_columnsPerLine, pos, end, pos, scan);
            addRow(pos == end ? SourcePosition{j + 1, 0}
                              : SourcePosition{j, static_cast<int32_t>(pos - begin)},
                   count);
        } while (pos != end);
    }
}

void CDavaroDiroBook::layoutNotatedLines(int& count) {
    const int32_t lineCount = static_cast<int32_t>(m_sourceLines.size());
    yomite::NotationState state;
    m_lineStates.reserve(m_sourceLines.size());
    // The title lines are rows as they are; their notation still opens blocks.
    for (int32_t j = 0; j < 3; ++j) {
        m_lineStates.push_back(state);
        yomite::parseNotatedLine(m_sourceLines[j], state);
    }
    for (int32_t j = 3; j < lineCount; ++j) {
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
                startPage(count);
            LineScan scan{begin, end};
            const wchar_t* pos = begin;
            do {
                const int room = yomite::rowSpace(state, pos == begin, m_columnsPerLine).available;
                findLineBreak(room, pos, end, pos, scan);
                addRow(pos == end ? SourcePosition{j + 1, 0}
                                  : SourcePosition{j, static_cast<int32_t>(pos - begin)},
                       count);
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
                startPage(count);
            do {
                const int room =
                    yomite::rowSpace(notated, static_cast<int32_t>(pos - begin), m_columnsPerLine)
                        .available;
                findLineBreak(room, pos, segmentEnd, pos, scan);
                addRow(pos == end ? SourcePosition{j + 1, 0}
                                  : SourcePosition{j, static_cast<int32_t>(pos - begin)},
                       count);
            } while (pos != segmentEnd);
        }
    }
}
