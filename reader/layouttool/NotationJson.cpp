#include "NotationJson.h"

namespace yomite {
namespace {

template <typename Span, typename Kind>
void writeSpans(JsonWriter& json, const char* key, const std::vector<Span>& spans, Kind kind) {
    json.raw(",");
    json.key(key);
    json.raw("[");
    for (size_t i = 0; i < spans.size(); ++i) {
        json.raw(i ? ",[" : "[");
        json.number(spans[i].start);
        json.raw(",");
        json.number(spans[i].end);
        kind(spans[i]);
        json.raw("]");
    }
    json.raw("]");
}

} // namespace

void writeNotationFields(JsonWriter& json, const DisplayLineNotation& line) {
    json.raw(",");
    json.key("indent");
    json.number(line.indent);
    json.raw(",");
    json.key("alignEnd");
    if (line.alignEnd)
        json.number(*line.alignEnd);
    else
        json.raw("null");
    json.raw(",");
    json.key("heading");
    json.number(line.heading);
    writeSpans(json, "emphasis", line.emphasis, [&](const EmphasisSpan& span) {
        json.raw(",");
        json.string(emphasisWord(span.kind, span.side));
    });
    writeSpans(json, "tcy", line.tcy, [](const ColumnSpan&) {});
    writeSpans(json, "small", line.small, [&](const SmallSpan& span) {
        json.raw(",");
        json.string(smallWord(span.kind));
    });
    json.raw(",");
    json.key("pageBreakBefore");
    json.boolean(line.pageBreakBefore);
}

} // namespace yomite
