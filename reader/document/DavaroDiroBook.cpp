#include "DavaroDiroBook.h"

#include "BookArchive.h"
#include "LineBreakRules.h"
#include "ReaderSettings.h"
#include "SourceText.h"

#include "platform/core/CharClass.h"

#include <algorithm>

// Where the last ">" of a source line is, looked up once per line: a line full
// of "<" must not cost a backward search per character.
struct CDavaroDiroBook::LineScan {
    const wchar_t* lineBegin;
    const wchar_t* lineEnd;
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
};

CDavaroDiroBook::CDavaroDiroBook() {
    clearContents();
}

CDavaroDiroBook::~CDavaroDiroBook() = default;

void CDavaroDiroBook::clearContents() {
    m_sourceLines.clear();
    m_archiveBookName.clear();
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
    if (m_sourceLines.size() < 3)
        return false;

    m_linesPerPage = linesPerPage;
    m_columnsPerLine = columnsPerLine;
    m_pageStarts.push_back(0);
    for (int32_t j = 0; j <= 3; ++j)
        m_lineStarts.push_back({j, 0});
    m_pageStarts.push_back(3);

    int count = 0;
    const int32_t lineCount = static_cast<int32_t>(m_sourceLines.size());
    for (int32_t j = 3; j < lineCount; ++j) {
        const std::wstring& line = m_sourceLines[j];
        const wchar_t* begin = line.data();
        const wchar_t* end = begin + line.size();
        const wchar_t* pos = begin;
        LineScan scan{begin, end};
        do {
            findLineBreak(columnsPerLine, pos, end, pos, scan);
            if (pos == end)
                m_lineStarts.push_back({j + 1, 0});
            else
                m_lineStarts.push_back({j, static_cast<int32_t>(pos - begin)});
            if (++count == linesPerPage) {
                m_pageStarts.push_back(static_cast<int32_t>(m_lineStarts.size()) - 1);
                count = 0;
            }
        } while (pos != end);
    }
    // The unfinished last page ends one entry before the terminating entry,
    // so the line after a final line feed belongs to no page.
    if (count > 0)
        m_pageStarts.push_back(static_cast<int32_t>(m_lineStarts.size()) - 2);

    m_currentIndex = 0;
    return true;
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
        const wchar_t c = *P;
        switch (c) {
        case yomite::RUBY_BASE_MARK:
            G = P;
            continue;
        case yomite::ANNOTATION_OPEN:
            annotationOpen = true;
            continue;
        case yomite::RUBY_OPEN:
            rubyOpen = true;
            continue;
        case yomite::ANNOTATION_CLOSE:
            annotationOpen = false;
            continue;
        case yomite::RUBY_CLOSE:
            rubyOpen = false;
            G = nullptr;
            continue;
        default:
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
        if (c == L'<') {
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
        while (q != E && yomite::isKanji(*q))
            ++q;
        if (q != E && *q == yomite::RUBY_OPEN)
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
    if (b.line == a.line + 1 && b.offset == 0)
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
