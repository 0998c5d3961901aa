// Where one display line of a source line ends: the line-breaking rules.
#include "DavaroDiroBook.h"

#include "LineBreakRules.h"
#include "LineScan.h"
#include "ReaderSettings.h"

#include "platform/core/CharClass.h"

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
