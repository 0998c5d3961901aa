// yomite-layout: loads a book exactly as the reader does, lays it out and
// prints the tables as one JSON object on standard output.
//
//   yomite-layout --columns C --lines L [--line-boundary 0|1] [--word-wrap 0|1]
//                 [--scroll-range N] [--notation 0|1] [--parse FIRST:COUNT] FILE
#include "JsonWriter.h"
#include "NotationJson.h"

#include "reader/document/DavaroDiroBook.h"
#include "reader/document/ReaderSettings.h"

#include "platform/core/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using yomite::JsonWriter;

constexpr const char* USAGE =
    "usage: yomite-layout --columns C --lines L [--line-boundary 0|1] [--word-wrap 0|1]\n"
    "                     [--scroll-range N] [--notation 0|1] [--parse FIRST:COUNT] FILE\n";

std::optional<int> parseInt(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

struct Options {
    int columns = 0;
    int lines = 0;
    int lineBoundary = 1;
    int wordWrap = 1;
    int scrollRange = 0;
    int notation = 0;
    bool parse = false;
    int parseFirst = 0;
    int parseCount = 0;
    std::string file;
};

// Fills `options`; prints what is wrong and returns false otherwise.
bool parseArguments(int argc, char** argv, Options& options) {
    bool haveColumns = false;
    bool haveLines = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        auto value = [&]() -> std::optional<std::string_view> {
            if (i + 1 >= argc)
                return std::nullopt;
            return std::string_view(argv[++i]);
        };
        auto intValue = [&](int& target) {
            std::optional<std::string_view> text = value();
            std::optional<int> number = text ? parseInt(*text) : std::nullopt;
            if (!number) {
                std::fprintf(stderr, "yomite-layout: %.*s needs a whole number\n",
                             static_cast<int>(arg.size()), arg.data());
                return false;
            }
            target = *number;
            return true;
        };
        if (arg == "--columns") {
            if (!intValue(options.columns))
                return false;
            haveColumns = true;
        } else if (arg == "--lines") {
            if (!intValue(options.lines))
                return false;
            haveLines = true;
        } else if (arg == "--line-boundary") {
            if (!intValue(options.lineBoundary))
                return false;
        } else if (arg == "--word-wrap") {
            if (!intValue(options.wordWrap))
                return false;
        } else if (arg == "--scroll-range") {
            if (!intValue(options.scrollRange))
                return false;
        } else if (arg == "--notation") {
            if (!intValue(options.notation))
                return false;
        } else if (arg == "--parse") {
            std::optional<std::string_view> text = value();
            size_t colon = text ? text->find(':') : std::string_view::npos;
            std::optional<int> first =
                colon != std::string_view::npos ? parseInt(text->substr(0, colon)) : std::nullopt;
            std::optional<int> count =
                colon != std::string_view::npos ? parseInt(text->substr(colon + 1)) : std::nullopt;
            if (!first || !count || *count < 0) {
                std::fputs("yomite-layout: --parse needs FIRST:COUNT\n", stderr);
                return false;
            }
            options.parse = true;
            options.parseFirst = *first;
            options.parseCount = *count;
        } else if (arg.starts_with("--") && arg.size() > 2) {
            std::fprintf(stderr, "yomite-layout: unknown option %s\n", argv[i]);
            return false;
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            std::fputs("yomite-layout: only one FILE may be given\n", stderr);
            return false;
        }
    }
    if (!haveColumns || !haveLines || options.file.empty()) {
        std::fputs("yomite-layout: --columns, --lines and FILE are required\n", stderr);
        return false;
    }
    return true;
}

// The fields both notations give: index, raw, visible, ruby and tag.
void writeLineFields(JsonWriter& json, int index, const std::wstring& raw,
                     const std::wstring& visible, const std::vector<RubySpan>& spans,
                     const InlineTag& tag) {
    json.raw("{");
    json.key("index");
    json.number(index);
    json.raw(",");
    json.key("raw");
    json.string(raw);
    json.raw(",");
    json.key("visible");
    json.string(visible);
    json.raw(",");
    json.key("ruby");
    json.raw("[");
    for (size_t i = 0; i < spans.size(); ++i) {
        json.raw(i ? ",[" : "[");
        json.number(spans[i].baseStart);
        json.raw(",");
        json.number(spans[i].baseEnd);
        json.raw(",");
        json.string(spans[i].rubyText);
        json.raw("]");
    }
    json.raw("],");
    json.key("tag");
    json.raw("{");
    json.key("startColumn");
    json.number(tag.startColumn);
    json.raw(",");
    json.key("endColumn");
    json.number(tag.endColumn);
    json.raw(",");
    json.key("tagName");
    json.string(tag.tagName);
    json.raw(",");
    json.key("attributes");
    json.raw("{");
    bool first = true;
    for (const auto& [name, value] : tag.attributes) {
        if (!first)
            json.raw(",");
        first = false;
        json.string(name);
        json.raw(":");
        json.string(value);
    }
    json.raw("},");
    json.key("innerText");
    json.string(tag.innerText);
    json.raw(",");
    json.key("displayText");
    json.string(tag.displayText);
    json.raw(",");
    json.key("hasDisplayText");
    json.boolean(tag.hasDisplayText);
    json.raw("}");
}

void writeParsedLine(JsonWriter& json, const CDavaroDiroBook& book, int index) {
    const std::wstring raw = book.getDisplayLineText(index);
    if (book.hasNotation()) {
        const yomite::DisplayLineNotation line = book.getDisplayLineNotation(index);
        writeLineFields(json, index, raw, line.visible, line.ruby, line.tag);
        yomite::writeNotationFields(json, line);
    } else {
        std::wstring visible;
        std::vector<RubySpan> spans;
        InlineTag tag;
        CDavaroDiroBook::parseLine(raw, visible, spans, tag);
        writeLineFields(json, index, raw, visible, spans, tag);
    }
    json.raw("}");
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (!parseArguments(argc, argv, options)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    m_lineBoundary = options.lineBoundary;
    m_wordWrap = options.wordWrap;
    m_scrollRange = options.scrollRange;
    m_aozoraNotation = options.notation;

    CDavaroDiroBook book;
    std::wstring path = lumo::fromUtf8(options.file);
    errno = 0;
    if (!book.loadFile(path.c_str())) {
        std::fprintf(stderr, "yomite-layout: cannot open %s: %s\n", options.file.c_str(),
                     errno ? std::strerror(errno) : "not a readable file");
        return 1;
    }
    bool layoutOk = book.layout(options.columns, options.lines);

    JsonWriter json;
    json.raw("{");
    json.key("sourceLines");
    json.number(static_cast<long long>(book.getSourceLines().size()));
    json.raw(",");
    json.key("lineStarts");
    json.raw("[");
    const auto& lineStarts = book.getLineStarts();
    for (size_t i = 0; i < lineStarts.size(); ++i) {
        json.raw(i ? ",[" : "[");
        json.number(lineStarts[i].line);
        json.raw(",");
        json.number(lineStarts[i].offset);
        json.raw("]");
    }
    json.raw("],");
    json.key("pageStarts");
    json.raw("[");
    const auto& pageStarts = book.getPageStarts();
    for (size_t i = 0; i < pageStarts.size(); ++i) {
        if (i)
            json.raw(",");
        json.number(pageStarts[i]);
    }
    json.raw("],");
    json.key("pageCount");
    json.number(book.getPageCount());
    json.raw(",");
    json.key("layoutOk");
    json.boolean(layoutOk);
    if (options.parse) {
        json.raw(",");
        json.key("parsed");
        json.raw("[");
        const long long displayLines = book.getLineStartCount() - 1;
        const long long first = std::max(0LL, static_cast<long long>(options.parseFirst));
        const long long last =
            std::min(displayLines, static_cast<long long>(options.parseFirst) + options.parseCount);
        for (long long index = first; index < last; ++index) {
            if (index != first)
                json.raw(",");
            writeParsedLine(json, book, static_cast<int>(index));
        }
        json.raw("]");
    }
    json.raw("}\n");
    const std::string& out = json.text();
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::fputs("yomite-layout: cannot write the result\n", stderr);
        return 1;
    }
    return 0;
}
