#pragma once

#include "NotationTypes.h"

#include <string_view>

// Recognition of one annotation's text (what stands between "［＃" and "］") in
// full notation. Pure: no state, no settings; the parser applies the result.
namespace yomite {

// A feature that covers a stretch of text: emphasis, heading, 縦中横 or small
// text, with the details of its kind.
struct SpanFeature {
    enum class Type : uint8_t { Emphasis, Heading, Tcy, Small };
    Type type = Type::Emphasis;
    EmphasisKind emphasis = EmphasisKind::Sesame;
    Side side = Side::Over;
    int heading = 0;
    SmallKind small = SmallKind::Smaller;
    friend bool operator==(const SpanFeature&, const SpanFeature&) = default;
};

struct Annotation {
    enum class Type : uint8_t {
        Ignored,       // everything the reader does not show (ママ, 底本では…, 注記…)
        PageBreak,     // 改ページ, 改丁, 改見開き, 改段
        Indent,        // N字下げ: this source line
        IndentBlock,   // ここからN字下げ[、折り返してM字下げ]
        IndentEnd,     // ここで字下げ終わり
        AlignEnd,      // 地付き, 地からN字上げ: the rest of this source line
        AlignEndBlock, // ここから地付き, ここから地からN字上げ
        AlignEndBlockEnd, // ここで地付き終わり, ここで字上げ終わり
        Forward,          // 「X」に傍点, 「X」は中見出し...: `target` and `feature`
        Open,             // 傍点, ここから中見出し...: `feature`
        Close,            // 傍点終わり, ここで中見出し終わり...: `feature`
        Illustration,     // caption（file[、横W×縦H]）入る
    };
    Type type = Type::Ignored;
    int first =
        0;        // Indent/IndentBlock: columns of the first row; AlignEnd*: columns after the text
    int rest = 0; // IndentBlock: columns of the continuation rows
    SpanFeature feature;       // Forward, Open, Close
    std::wstring_view target;  // Forward: the quoted text, as written
    std::wstring_view caption; // Illustration: the label text
    std::wstring_view file;    // Illustration: the file name without the size
};

// `text` is the annotation without its "［＃" and "］". Views in the result
// point into `text`.
Annotation recognizeAnnotation(std::wstring_view text);

// The published size suffix "、横W×縦H" at the end of an illustration's file
// name, or 0 when there is none: the length to drop.
size_t sizeSuffixLength(std::wstring_view file);

} // namespace yomite
