#include "DavaroDiroBook.h"

#include "BookArchive.h"
#include "LineBreakRules.h"
#include "ReaderSettings.h"
#include "SourceText.h"

#include "platform/core/CharClass.h"

#include <algorithm>
#include <cwchar>
#include <utility>

// One source line as the line breaker sees it. In the basic notation the
// five notation marks are read from the text itself, and the last ">" of the
// line is looked up once per line: a line full of "<" must not cost a backward
// search per character. In full notation the parsed line says what each
// character is.
struct CDavaroDiroBook::LineScan {
    const wchar_t* lineBegin;
    const wchar_t* lineEnd;
    const yomite::NotatedSourceLine* notation = nullptr;
    const wchar_t* lastClose = nullptr;
    bool searched = false;

    // The last ">" of the line if it lies after `p`, else null.
    const wchar_t* closeAfter(const wchar_t* p) {
        if (!searched) {
            for (const wchar_t* q = lineEnd; q != lineBegin;) {
                if (*--q == L'>') {
                    lastClose = q;
                    break;
                }
            }
            searched = true;
        }
        return lastClose && lastClose > p ? lastClose : nullptr;
    }

    yomite::BreakRole roleAt(const wchar_t* p) const {
        if (notation)
            return notation->roles[p - lineBegin];
        switch (*p) {
        case yomite::RUBY_BASE_MARK:
            return yomite::BreakRole::BaseMark;
        case yomite::ANNOTATION_OPEN:
            return yomite::BreakRole::AnnotationOpen;
        case yomite::RUBY_OPEN:
            return yomite::BreakRole::RubyOpen;
        case yomite::ANNOTATION_CLOSE:
            return yomite::BreakRole::AnnotationClose;
        case yomite::RUBY_CLOSE:
            return yomite::BreakRole::RubyClose;
        default:
            return yomite::BreakRole::Text;
        }
    }

    // The character the rules look at: a gaiji mark counts as its character.
    wchar_t characterAt(const wchar_t* p) const {
        return notation ? notation->effective[p - lineBegin] : *p;
    }

    // Whether the character continues a kanji run towards a ruby; in full
    // notation an annotation inside the run does not end it.
    bool continuesKanjiRun(const wchar_t* p) const {
        const yomite::BreakRole role = roleAt(p);
        if (role == yomite::BreakRole::Text)
            return yomite::isKanji(characterAt(p));
        return notation &&
               (role == yomite::BreakRole::AnnotationOpen || role == yomite::BreakRole::Hidden ||
                role == yomite::BreakRole::AnnotationClose);
    }

    const yomite::BreakItem& itemAt(const wchar_t* p) const {
        const int32_t at = static_cast<int32_t>(p - lineBegin);
        const auto& items = notation->items;
        return *std::lower_bound(
            items.begin(), items.end(), at,
            [](const yomite::BreakItem& item, int32_t offset) { return item.begin < offset; });
    }
};

CDavaroDiroBook::CDavaroDiroBook() {
    clearContents();
}

CDavaroDiroBook::~CDavaroDiroBook() = default;

void CDavaroDiroBook::clearContents() {
    m_sourceLines.clear();
    m_archiveBookName.clear();
    m_lineStates.clear();
    m_notationCache = {};
    m_pageStarts.clear();
    m_linesPerPage = 0;
    m_columnsPerLine = 0;
    m_currentIndex = 0;
}

bool CDavaroDiroBook::loadFile(const wchar_t* path) {
    if (!path)
        return true;
    if (yomite::isArchivePath(path))
        return yomite::readArchiveBook(path, m_sourceLines, m_archiveBookName);
    m_archiveBookName.clear();
    return yomite::readSourceLines(path, m_sourceLines) == yomite::ReadResult::Read;
}

bool CDavaroDiroBook::parseLine(const std::wstring& rawLine, std::wstring& visibleText,
                                std::vector<RubySpan>& rubySpans, InlineTag& tag) {
    return yomite::parseLine(rawLine, visibleText, rubySpans, tag);
}

bool CDavaroDiroBook::parseInlineTag(std::wstring& text, InlineTag& tag) {
    return yomite::parseInlineTag(text, tag);
}

bool CDavaroDiroBook::finishInlineTag(InlineTag& tag) {
    return yomite::finishInlineTag(tag);
}

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

bool CDavaroDiroBook::findLineBreak(int columnsPerLine, const wchar_t* segmentBegin,
                                    const wchar_t* lineEnd, const wchar_t*& pos) const {
    LineScan scan{segmentBegin, lineEnd};
    findLineBreak(columnsPerLine, segmentBegin, lineEnd, pos, scan);
    return true;
}

void CDavaroDiroBook::findLineBreak(int columnsPerLine, const wchar_t* segmentBegin,
                                    const wchar_t* lineEnd, const wchar_t*& pos,
                                    LineScan& scan) const {
    const wchar_t* const B = segmentBegin;
    const wchar_t* const E = lineEnd;
    const wchar_t* P = segmentBegin;
    const wchar_t* G = nullptr; // start of a ruby group ("｜")
    const wchar_t* K = nullptr; // start of a run of kanji
    const wchar_t* L = nullptr; // start of a Latin word
    const wchar_t* D = nullptr; // start of a number
    bool rubyOpen = false;
    bool annotationOpen = false;
    int used = 0;

    for (; P != E; ++P) {
        const wchar_t c = scan.characterAt(P);
        const yomite::BreakRole role = scan.roleAt(P);
        switch (role) {
        case yomite::BreakRole::BaseMark:
            G = P;
            continue;
        case yomite::BreakRole::AnnotationOpen:
            annotationOpen = true;
            continue;
        case yomite::BreakRole::RubyOpen:
            rubyOpen = true;
            continue;
        case yomite::BreakRole::AnnotationClose:
            annotationOpen = false;
            continue;
        case yomite::BreakRole::RubyClose:
            rubyOpen = false;
            G = nullptr;
            continue;
        case yomite::BreakRole::Hidden:
            continue;
        case yomite::BreakRole::Text:
        case yomite::BreakRole::Item:
            break;
        }

        // Runs are followed through ruby text and annotations too.
        if (yomite::isKanji(c)) {
            if (!K)
                K = P;
        } else {
            K = nullptr;
        }
        const bool halfWidth = static_cast<unsigned>(c) < 256;
        if (halfWidth && lumo::isLetter(c)) {
            if (!L)
                L = P;
        } else if (halfWidth && !lumo::isLetterOrDigit(c)) {
            L = nullptr;
        }
        if (lumo::isDigit(c)) {
            if (!D)
                D = P;
        } else if (c != L'.') {
            D = nullptr;
        }

        if (rubyOpen || annotationOpen)
            continue;

        int width = yomite::columnWidth(c);
        bool isTag = false;
        if (role == yomite::BreakRole::Item) {
            const yomite::BreakItem& item = scan.itemAt(P);
            width = item.width;
            P = scan.lineBegin + item.last;
            isTag = true;
        } else if (c == L'<' && !scan.notation) {
            const wchar_t* close = scan.closeAfter(P);
            std::wstring_view block(P, close ? static_cast<size_t>(close - P + 1) : 0);
            InlineTag scratch;
            if (close && yomite::startsKnownTag(block) &&
                yomite::parseInlineTagView(block, scratch)) {
                width = yomite::columnWidth(scratch.displayText);
                P = close;
                isTag = true;
            }
        }
        used += width;
        if (used > columnsPerLine) {
            if (isTag) {
                // A tag is never moved to the next line, even when it overflows.
                pos = P + 1;
                return;
            }
            break;
        }
    }
    if (P == E) {
        pos = E;
        return;
    }

    // P is the item that overflows. Move the break so that a ruby group, a
    // kanji run carrying ruby, a forbidden character, a word or a number is
    // not split; every move stays after B.
    if (G && G != B) {
        P = G;
    } else if (K && K != B) {
        const wchar_t* q = P;
        while (q != E && scan.continuesKanjiRun(q))
            ++q;
        if (q != E && scan.roleAt(q) == yomite::BreakRole::RubyOpen)
            P = K;
    }

    if (m_lineBoundary) {
        if (P != E && yomite::isLineStartForbidden(*P))
            ++P;
        else if (P - B > 1 && yomite::isLineEndForbidden(P[-1]))
            --P;
    }

    if (m_wordWrap) {
        if (P != E && L && L != B) {
            if (P + 1 != E && static_cast<unsigned>(P[1]) <= 0x100 && lumo::isLetterOrDigit(P[1]))
                P = L;
            else
                ++P;
        } else if (P != E && D && D != B) {
            if (P + 1 == E)
                ++P;
            else if (lumo::isDigit(P[1]) || P[1] == L'.')
                P = D;
            else
                ++P;
        }
    }

    // Only a column count below 2 can leave the break at B; still advance, so
    // that no caller loops forever.
    if (P == B)
        ++P;
    pos = P;
}

std::wstring CDavaroDiroBook::getDisplayLineText(int index) const {
    if (index < 0 || static_cast<size_t>(index) + 1 >= m_lineStarts.size())
        return {};
    const SourcePosition a = m_lineStarts[index];
    const SourcePosition b = m_lineStarts[index + 1];
    // The tables may be stale after clearContents(): never trust them blindly.
    if (a.line < 0 || static_cast<size_t>(a.line) >= m_sourceLines.size())
        return {};
    const std::wstring& line = m_sourceLines[a.line];
    if (a.offset < 0 || static_cast<size_t>(a.offset) > line.size())
        return {};
    if (b.line == a.line) {
        if (b.offset < a.offset)
            return {};
        return line.substr(a.offset, static_cast<size_t>(b.offset - a.offset));
    }
    // In full notation lines with nothing to show have no row: the next row
    // may start several lines later.
    if (b.line > a.line && b.offset == 0)
        return line.substr(a.offset);
    return {};
}

SourcePosition CDavaroDiroBook::positionOf(int index) const {
    if (index < 0)
        return {};
    size_t lineIndex;
    if (m_scrollRange == 0) {
        lineIndex = static_cast<size_t>(index);
    } else if (m_scrollRange == 1) {
        if (static_cast<size_t>(index) >= m_pageStarts.size())
            return {};
        if (m_pageStarts[index] < 0)
            return {};
        lineIndex = static_cast<size_t>(m_pageStarts[index]);
    } else {
        return {};
    }
    if (lineIndex >= m_lineStarts.size())
        return {};
    return m_lineStarts[lineIndex];
}

int CDavaroDiroBook::indexOf(int line, int offset) const {
    const SourcePosition position{line, offset};
    const int displayLine =
        static_cast<int>(std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position) -
                         m_lineStarts.begin()) -
        1;
    int result = 0;
    if (m_scrollRange == 0) {
        result = displayLine;
    } else if (m_scrollRange == 1) {
        result = static_cast<int>(
                     std::upper_bound(m_pageStarts.begin(), m_pageStarts.end(), displayLine) -
                     m_pageStarts.begin()) -
                 1;
    }
    return std::max(result, 0);
}

int CDavaroDiroBook::getPageStart(int page) const {
    if (page < 0 || page > getPageCount())
        return -1;
    return m_pageStarts[page];
}

const yomite::NotatedSourceLine& CDavaroDiroBook::notatedSourceLine(int line) const {
    if (m_notationCache.line != line) {
        yomite::NotationState state = m_lineStates[line];
        m_notationCache.parsed = yomite::parseNotatedLine(m_sourceLines[line], state);
        m_notationCache.line = line;
    }
    return m_notationCache.parsed;
}

yomite::DisplayLineNotation CDavaroDiroBook::getDisplayLineNotation(int index) const {
    if (index < 0 || static_cast<size_t>(index) + 1 >= m_lineStarts.size() ||
        m_lineStates.size() != m_sourceLines.size())
        return {};
    const SourcePosition a = m_lineStarts[index];
    const SourcePosition b = m_lineStarts[index + 1];
    if (a.line < 0 || static_cast<size_t>(a.line) >= m_sourceLines.size())
        return {};
    const int32_t size = static_cast<int32_t>(m_sourceLines[a.line].size());
    const int32_t end = b.line == a.line ? b.offset : size;
    if (a.offset < 0 || a.offset > end || end > size)
        return {};
    return yomite::notatedDisplayLine(notatedSourceLine(a.line), a.offset, end, m_columnsPerLine);
}
