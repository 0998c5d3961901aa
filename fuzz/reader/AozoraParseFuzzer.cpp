// Any line of text through the notation parser and the tag parser: no crash,
// no hang, and the columns it reports agree with the text it produced.
#include "reader/document/AozoraNotation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Pairs of bytes are UTF-16 code units, so every notation mark is reachable.
    std::wstring line;
    for (size_t i = 0; i + 1 < size; i += 2)
        line += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));

    std::wstring visible;
    std::vector<RubySpan> spans;
    InlineTag tag;
    if (!yomite::parseLine(line, visible, spans, tag))
        std::abort();
    if (tag.startColumn != -1 &&
        (tag.endColumn < tag.startColumn || tag.endColumn > yomite::columnWidth(visible)))
        std::abort();
    for (const RubySpan& span : spans) {
        if (span.rubyText.size() > line.size())
            std::abort();
    }

    std::wstring text = line;
    InlineTag second;
    if (yomite::parseInlineTag(text, second) && second.hasDisplayText == second.displayText.empty())
        std::abort();
    return 0;
}
