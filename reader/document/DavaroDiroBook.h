#pragma once

#include "AozoraNotation.h"
#include "NotationParser.h"

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

// A place in the book: a source line and a character offset in it. Reading
// positions are stored and compared in this form, so they survive any change
// of font, window size or line-breaking settings.
struct SourcePosition {
    int32_t line = 0;
    int32_t offset = 0;
    friend auto operator<=>(const SourcePosition&, const SourcePosition&) = default;
};

struct LayoutMetrics {
    int linesPerPage = 0;
    int columnsPerLine = 0;
};

// The reader's book without the framework: the decoded source lines, the
// layout tables over them and the current reading position. The framework's
// document class adds itself on top of this; the layout tool uses it alone.
//
// Layout reads the module-wide settings m_lineBoundary, m_wordWrap,
// m_scrollRange and m_aozoraNotation at the time of each call. In full
// notation (m_aozoraNotation 1) indented rows hold fewer columns, headings and
// end-aligned text start rows of their own, a page break starts a new page,
// and a source line with nothing but annotations has no row.
class CDavaroDiroBook {
public:
    CDavaroDiroBook();
    virtual ~CDavaroDiroBook();

    // Empties the source lines and page starts and zeroes metrics and position.
    // The line starts stay until the next layout; every query copes with them.
    void clearContents();

    // Reads a book file for reading only and appends its lines; a ".zip" path
    // is an archive whose book is read (see BookArchive.h). A null path is
    // accepted and loads nothing. False, changing nothing, when the file
    // cannot be opened or the archive holds no book that can be read.
    bool loadFile(const wchar_t* path);
    // The archive entry the book was read from; empty for a plain file.
    const std::wstring& getArchiveBookName() const { return m_archiveBookName; }

    // The notation parser of one display line (see AozoraNotation.h).
    static bool parseLine(const std::wstring& rawLine, std::wstring& visibleText,
                          std::vector<RubySpan>& rubySpans, InlineTag& tag);
    static bool parseInlineTag(std::wstring& text, InlineTag& tag);
    static bool finishInlineTag(InlineTag& tag);

    // Cuts the book into display lines of at most `columnsPerLine` columns
    // (plus one hanging character) and groups them into pages. The first three
    // source lines always form page 0, one display line each. False for fewer
    // than 2 columns, no lines per page or fewer than 3 source lines. Resets
    // the position to 0.
    bool layout(int columnsPerLine, int linesPerPage);

    // The same layout in steps, so that a screen can be shown before the
    // whole book is laid out. beginLayout refuses what layout refuses and
    // otherwise lays out the title page only; continueLayout lays out up to
    // `sourceLines` more source lines and answers whether the book is done;
    // the tables grow as layout would build them, and once complete they are
    // exactly layout's. The layoutUntil... calls lay out only as far as a
    // query needs to answer as it would after the whole layout: the first
    // `count` entries of the line starts, the first `count` pages, or every
    // display line up to `position` (for indexOf). Settings are those at
    // beginLayout for the notation and at each step for the line breaking.
    bool beginLayout(int columnsPerLine, int linesPerPage);
    bool continueLayout(int sourceLines);
    void completeLayout();
    bool isLayoutComplete() const { return m_progress.complete; }
    void layoutUntilLineStarts(int count);
    void layoutUntilPages(int count);
    void layoutUntilPosition(SourcePosition position);

    // Measures one display line of a source line starting at `segmentBegin`;
    // `pos` enters equal to it and leaves at the start of the next display
    // line, always at least one character further while the line has text.
    bool findLineBreak(int columnsPerLine, const wchar_t* segmentBegin, const wchar_t* lineEnd,
                       const wchar_t*& pos) const;

    // Raw source text of display line `index`; empty when there is none.
    std::wstring getDisplayLineText(int index) const;
    // Whether the last layout followed the full notation.
    bool hasNotation() const { return !m_lineStates.empty(); }
    // Display line `index` in full notation; an empty record when the last
    // layout was not made in full notation or there is no such line.
    yomite::DisplayLineNotation getDisplayLineNotation(int index) const;
    // Source position of a display-line index (m_scrollRange 0) or a page
    // index (1); {0, 0} when out of range or for any other setting.
    SourcePosition positionOf(int index) const;
    // Display-line or page index holding a source position; never negative.
    int indexOf(int line, int offset) const;
    int indexOf(SourcePosition position) const { return indexOf(position.line, position.offset); }
    // m_pageStarts[page] (the end marker included), -1 when out of range.
    int getPageStart(int page) const;
    int getLineStartCount() const { return static_cast<int>(m_lineStarts.size()); }
    int getPageCount() const { return static_cast<int>(m_pageStarts.size()) - 1; }
    LayoutMetrics getLayoutMetrics() const { return {m_linesPerPage, m_columnsPerLine}; }

    int getCurrentIndex() const { return m_currentIndex; }
    void setCurrentIndex(int index) { m_currentIndex = index; }

    const std::vector<std::wstring>& getSourceLines() const { return m_sourceLines; }
    const std::vector<SourcePosition>& getLineStarts() const { return m_lineStarts; }
    const std::vector<int32_t>& getPageStarts() const { return m_pageStarts; }

    int32_t m_currentIndex = 0;
    int32_t m_linesPerPage = 0;
    int32_t m_columnsPerLine = 0;
    std::vector<std::wstring> m_sourceLines;
    std::vector<SourcePosition> m_lineStarts;
    std::vector<int32_t> m_pageStarts;
    // Full notation only: what the notation leaves open at each source line's start.
    std::vector<yomite::NotationState> m_lineStates;

private:
    std::wstring m_archiveBookName;

    struct LineScan;
    // The last source line parsed for drawing: a page's rows mostly share them.
    struct NotationCache {
        int line = -1;
        yomite::NotatedSourceLine parsed;
    };
    // How far the layout has come.
    struct LayoutProgress {
        int32_t nextLine = 3;        // the next source line to lay out
        int count = 0;               // rows on the page being filled
        yomite::NotationState state; // what the notation leaves open at nextLine
        bool notation = false;       // full notation, as when the layout began
        bool complete = true;        // nothing left to lay out
    };
    void addRow(SourcePosition next);
    void startPage();
    // Lay source lines out from m_progress.nextLine up to, not including, `until`.
    void layoutLines(int32_t until);
    void layoutNotatedLines(int32_t until);
    const yomite::NotatedSourceLine& notatedSourceLine(int line) const;
    void findLineBreak(int columnsPerLine, const wchar_t* segmentBegin, const wchar_t* lineEnd,
                       const wchar_t*& pos, LineScan& scan) const;

    mutable NotationCache m_notationCache;
    LayoutProgress m_progress;
};
