#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The inline notation of Aozora Bunko texts, parsed one display line at a time.
// Nothing here keeps state between calls: the book stores raw lines and every
// row is parsed again whenever it is drawn, measured or hit-tested.
//
// Columns count half-width units: a character below U+0100 is 1 column, any
// other 2. Notation marks, ruby text and annotations take no columns; an inline
// tag takes the width of its label.

// One ruby annotation of a display line, in the order of its closing mark.
// Columns may be negative (a ruby at the very start of a line, a stray closing
// mark); the drawing code decides what to do with such a span.
struct RubySpan {
    int baseStart = -1;
    int baseEnd = -1;
    std::wstring rubyText;
};

// The illustration or link of a display line. A later tag of the same line
// replaces columns, name, inner text and label; attributes accumulate, a name
// already present keeping its first value.
struct InlineTag {
    int startColumn = -1;
    int endColumn = -1;
    std::wstring tagName;
    std::map<std::wstring, std::wstring> attributes;
    std::wstring innerText;
    std::wstring displayText;
    bool hasDisplayText = false;
};

namespace yomite {

constexpr wchar_t RUBY_BASE_MARK = 0xFF5C;   // ｜
constexpr wchar_t RUBY_OPEN = 0x300A;        // 《
constexpr wchar_t RUBY_CLOSE = 0x300B;       // 》
constexpr wchar_t ANNOTATION_OPEN = 0xFF3B;  // ［
constexpr wchar_t ANNOTATION_CLOSE = 0xFF3D; // ］

inline int columnWidth(wchar_t c) {
    return static_cast<unsigned>(c) < 256 ? 1 : 2;
}
int columnWidth(std::wstring_view text);

// 々 and the CJK unified and compatibility ideographs.
inline bool isKanji(wchar_t c) {
    return c == 0x3005 || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
}

// Parses one raw display line: appends the visible text and the ruby spans and
// fills `tag` (pass a fresh InlineTag). Malformed notation degrades to plain
// text; an unterminated 《 hides the rest of the line. Always true.
bool parseLine(const std::wstring& rawLine, std::wstring& visibleText,
               std::vector<RubySpan>& rubySpans, InlineTag& tag);

// Recognises one tag block that starts at text[0] ("<img ...>", "<a ...>text</a>")
// or an illustration annotation "［＃挿絵（file）入る］", which is first rewritten
// in place into an img tag. False when the text is no recognised tag block:
// `tag` is then untouched (the rewrite may already have happened).
bool parseInlineTag(std::wstring& text, InlineTag& tag);

// The same recognition on a view that needs no rewrite; used while scanning so
// that rejecting a stray "<" costs nothing.
bool parseInlineTagView(std::wstring_view text, InlineTag& tag);

// Whether text[0..] begins a tag of the known vocabulary right after its "<".
bool startsKnownTag(std::wstring_view text);

// Computes the label drawn for a parsed tag. Always true.
bool finishInlineTag(InlineTag& tag);

} // namespace yomite
