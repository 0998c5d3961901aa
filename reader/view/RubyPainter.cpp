#include "RubyPainter.h"

namespace yomite {

void drawRubySpans(CDC* dc, const std::vector<RubySpan>& spans, const RubyFrame& frame,
                   UINT format) {
    const int tw = frame.baseWidth;
    const int rw = frame.rubyWidth;
    for (const RubySpan& span : spans) {
        const int start = span.baseStart;
        const int end = span.baseEnd;
        const int n = static_cast<int>(span.rubyText.size());
        const int baseW = tw * (end - start);
        const int rubyW = rw * columnWidth(span.rubyText);
        if (rubyW >= baseW) {
            int x = frame.origin + tw * start - (rubyW - baseW) / 2;
            if (x < frame.left)
                x = frame.left;
            if (x + rubyW > frame.right)
                x = frame.right - rubyW;
            RECT band{x, frame.top, x + rubyW, frame.top + frame.height};
            dc->DrawText(span.rubyText.c_str(), -1, &band, format);
        } else {
            const float gap = static_cast<float>(baseW - rubyW) / static_cast<float>(n + 1);
            float s = static_cast<float>(frame.origin + tw * start);
            for (int j = 0; j < n; ++j) {
                const int x = static_cast<int>(s + gap);
                RECT band{x, frame.top, x + rw, frame.top + frame.height};
                dc->DrawText(&span.rubyText[j], 1, &band, format);
                s = s + 2 * rw + gap;
            }
        }
    }
}

} // namespace yomite
