#pragma once

#include "DavaroDiroBook.h"

#include <algorithm>

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
