// Any bytes as a book: decoded and laid out with settings taken from the first
// bytes, in either notation. The layout must terminate and its tables must
// tile the book; in full notation only lines with nothing to show may have no
// row, and every row's notation stays within the row.
#include "reader/document/DavaroDiroBook.h"
#include "reader/document/NotationParser.h"
#include "reader/document/ReaderSettings.h"
#include "reader/document/SourceText.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int columns = data[0] % 40;
    const int linesPerPage = data[1] % 20;
    m_lineBoundary = data[2] & 1;
    m_wordWrap = (data[2] >> 1) & 1;
    m_scrollRange = (data[2] >> 2) & 3;
    m_aozoraNotation = (data[2] >> 4) & 1;

    CDavaroDiroBook book;
    yomite::appendSourceLines(std::string_view(reinterpret_cast<const char*>(data) + 3, size - 3),
                              book.m_sourceLines);
    const bool ok = book.layout(columns, linesPerPage);
    if (ok != (columns >= 2 && linesPerPage > 0 && book.m_sourceLines.size() >= 3))
        std::abort();
    if (!ok)
        return 0;

    const auto& starts = book.getLineStarts();
    for (size_t k = 1; k < starts.size(); ++k) {
        if (!(starts[k - 1] < starts[k]))
            std::abort();
    }
    std::vector<std::wstring> rebuilt(book.m_sourceLines.size());
    for (int k = 0; k + 1 < book.getLineStartCount(); ++k)
        rebuilt[starts[k].line] += book.getDisplayLineText(k);
    yomite::NotationState state;
    for (size_t j = 0; j < rebuilt.size(); ++j) {
        const bool annotationOnly =
            m_aozoraNotation &&
            yomite::parseNotatedLine(book.m_sourceLines[j], state).annotationOnly;
        if (rebuilt[j] != book.m_sourceLines[j] && !(annotationOnly && rebuilt[j].empty()))
            std::abort();
    }
    if (m_aozoraNotation) {
        for (int k = 0; k + 1 < book.getLineStartCount(); ++k) {
            const yomite::DisplayLineNotation row = book.getDisplayLineNotation(k);
            if (row.indent < 0 || row.indent > std::max(columns, 2))
                std::abort();
        }
    }
    const auto& pages = book.getPageStarts();
    for (size_t p = 1; p < pages.size(); ++p) {
        if (pages[p] < pages[p - 1] || pages[p] >= book.getLineStartCount())
            std::abort();
    }
    for (int index = -1; index <= book.getLineStartCount(); ++index) {
        SourcePosition position = book.positionOf(index);
        int back = book.indexOf(position);
        if (back < 0)
            std::abort();
    }
    return 0;
}
