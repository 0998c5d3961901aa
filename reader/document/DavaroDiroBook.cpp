#include "DavaroDiroBook.h"

#include "BookArchive.h"
#include "ReaderSettings.h"
#include "SourceText.h"

#include <algorithm>

CDavaroDiroBook::CDavaroDiroBook() {
    clearContents();
}

CDavaroDiroBook::~CDavaroDiroBook() = default;

void CDavaroDiroBook::clearContents() {
    m_sourceLines.clear();
    m_archiveBookName.clear();
    m_lineStates.clear();
    m_notationCache = {};
    m_progress = {};
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
    if (index < 0 || static_cast<size_t>(index) + 1 >= m_lineStarts.size())
        return {};
    const SourcePosition a = m_lineStarts[index];
    const SourcePosition b = m_lineStarts[index + 1];
    // The states reach as far as the layout has come; stale tables have none.
    if (a.line < 0 || static_cast<size_t>(a.line) >= m_sourceLines.size() ||
        static_cast<size_t>(a.line) >= m_lineStates.size())
        return {};
    const int32_t size = static_cast<int32_t>(m_sourceLines[a.line].size());
    const int32_t end = b.line == a.line ? b.offset : size;
    if (a.offset < 0 || a.offset > end || end > size)
        return {};
    return yomite::notatedDisplayLine(notatedSourceLine(a.line), a.offset, end, m_columnsPerLine);
}
