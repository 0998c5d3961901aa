#include "NotationVocabulary.h"

#include <array>
#include <optional>

namespace yomite {
namespace {

struct EmphasisWord {
    std::wstring_view word;
    EmphasisKind kind;
};

// In the order of EmphasisKind.
constexpr std::array<EmphasisWord, EMPHASIS_KIND_COUNT> EMPHASIS_WORDS = {{
    {L"傍点", EmphasisKind::Sesame},
    {L"白ゴマ傍点", EmphasisKind::WhiteSesame},
    {L"丸傍点", EmphasisKind::BlackCircle},
    {L"白丸傍点", EmphasisKind::WhiteCircle},
    {L"黒三角傍点", EmphasisKind::BlackTriangle},
    {L"白三角傍点", EmphasisKind::WhiteTriangle},
    {L"二重丸傍点", EmphasisKind::DoubleCircle},
    {L"蛇の目傍点", EmphasisKind::Bullseye},
    {L"ばつ傍点", EmphasisKind::Saltire},
    {L"傍線", EmphasisKind::SolidLine},
    {L"二重傍線", EmphasisKind::DoubleLine},
    {L"鎖線", EmphasisKind::ChainLine},
    {L"破線", EmphasisKind::DashedLine},
    {L"波線", EmphasisKind::WavyLine},
}};

constexpr std::wstring_view LEFT_SIDE = L"左に";

struct SmallWord {
    std::wstring_view word;
    SmallKind kind;
};

// In the order of SmallKind; "小さな文字" stands for every "N段階小さな文字".
constexpr std::array<SmallWord, 5> SMALL_WORDS = {{
    {L"行右小書き", SmallKind::RightSmall},
    {L"行左小書き", SmallKind::LeftSmall},
    {L"上付き小文字", SmallKind::Superscript},
    {L"下付き小文字", SmallKind::Subscript},
    {L"小さな文字", SmallKind::Smaller},
}};

constexpr std::wstring_view STEPS_SMALLER = L"段階小さな文字";
constexpr std::array<std::wstring_view, HEADING_LEVELS> HEADING_WORDS = {L"大見出し", L"中見出し",
                                                                         L"小見出し"};
// 同行 and 窓 headings are shown as ordinary ones.
constexpr std::array<std::wstring_view, 2> HEADING_STYLES = {L"同行", L"窓"};
constexpr std::array<std::wstring_view, 4> PAGE_BREAKS = {L"改ページ", L"改丁", L"改見開き",
                                                          L"改段"};

constexpr std::wstring_view BLOCK_START = L"ここから";
constexpr std::wstring_view BLOCK_END = L"ここで";
constexpr std::wstring_view END_WORD = L"終わり";
constexpr std::wstring_view INDENT_WORD = L"字下げ";
constexpr std::wstring_view FROM_TOP = L"天から";
constexpr std::wstring_view WRAP_INDENT = L"、折り返して";
constexpr std::wstring_view NO_FIRST_INDENT = L"改行天付き";
constexpr std::wstring_view FLUSH_END = L"地付き";
constexpr std::wstring_view FROM_END = L"地から";
constexpr std::wstring_view RAISE_WORD = L"字上げ";
constexpr std::wstring_view ILLUSTRATION_END = L"）入る";
constexpr wchar_t QUOTE_OPEN = L'「';
constexpr wchar_t QUOTE_CLOSE = L'」';
constexpr wchar_t PAREN_OPEN = L'（';
constexpr std::wstring_view SIZE_PREFIX = L"、横";

// Indents and raises are counted in full-width characters; larger counts
// than any screen holds are kept to this.
constexpr int MAX_CHARACTERS = 1000;

bool consume(std::wstring_view& text, std::wstring_view prefix) {
    if (!text.starts_with(prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

bool consumeSuffix(std::wstring_view& text, std::wstring_view suffix) {
    if (!text.ends_with(suffix))
        return false;
    text.remove_suffix(suffix.size());
    return true;
}

int digitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'０' && c <= L'９')
        return c - L'０';
    return -1;
}

// A count of characters in half- or full-width digits at the start of `text`.
std::optional<int> consumeCount(std::wstring_view& text) {
    int value = 0;
    size_t digits = 0;
    while (digits < text.size() && digitValue(text[digits]) >= 0) {
        value = std::min(value * 10 + digitValue(text[digits]), MAX_CHARACTERS);
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    text.remove_prefix(digits);
    return value;
}

// "N字下げ" exactly: N characters in columns.
std::optional<int> indentColumns(std::wstring_view text) {
    std::optional<int> count = consumeCount(text);
    if (!count || text != INDENT_WORD)
        return std::nullopt;
    return 2 * *count;
}

std::optional<EmphasisKind> emphasisKind(std::wstring_view word) {
    for (const EmphasisWord& entry : EMPHASIS_WORDS)
        if (entry.word == word)
            return entry.kind;
    return std::nullopt;
}

std::optional<SpanFeature> emphasisFeature(std::wstring_view word) {
    const Side side = consume(word, LEFT_SIDE) ? Side::Under : Side::Over;
    std::optional<EmphasisKind> kind = emphasisKind(word);
    if (!kind)
        return std::nullopt;
    SpanFeature feature;
    feature.type = SpanFeature::Type::Emphasis;
    feature.emphasis = *kind;
    feature.side = side;
    return feature;
}

// Headings, 縦中横 and small text: the words that follow "は" in a forward
// reference and stand alone in the block forms. A closing form names small
// text without its number of steps.
std::optional<SpanFeature> namedFeature(std::wstring_view word, bool closing) {
    SpanFeature feature;
    for (std::wstring_view style : HEADING_STYLES)
        if (consume(word, style))
            break;
    for (int level = 0; level < HEADING_LEVELS; ++level) {
        if (word == HEADING_WORDS[level]) {
            feature.type = SpanFeature::Type::Heading;
            feature.heading = level + 1;
            return feature;
        }
    }
    if (word == L"縦中横") {
        feature.type = SpanFeature::Type::Tcy;
        return feature;
    }
    feature.type = SpanFeature::Type::Small;
    std::wstring_view steps = word;
    if (!closing && consumeCount(steps) && steps == STEPS_SMALLER) {
        feature.small = SmallKind::Smaller;
        return feature;
    }
    for (const SmallWord& entry : SMALL_WORDS) {
        if (entry.word == word && (closing || entry.kind != SmallKind::Smaller)) {
            feature.small = entry.kind;
            return feature;
        }
    }
    return std::nullopt;
}

std::optional<SpanFeature> spanFeature(std::wstring_view word, bool closing) {
    if (std::optional<SpanFeature> feature = emphasisFeature(word))
        return feature;
    return namedFeature(word, closing);
}

// 「X」に傍点, 「X」の左に傍線, 「X」は中見出し... The target ends at the last
// "」", so a target may itself hold quotes.
Annotation forwardReference(std::wstring_view text) {
    Annotation result;
    const size_t close = text.rfind(QUOTE_CLOSE);
    if (close == std::wstring_view::npos || close == 0)
        return result;
    std::wstring_view target = text.substr(1, close - 1);
    std::wstring_view rest = text.substr(close + 1);
    std::optional<SpanFeature> feature;
    if (rest.starts_with(L"の左に")) {
        rest.remove_prefix(1);
        feature = emphasisFeature(rest);
    } else if (consume(rest, L"に")) {
        feature = emphasisFeature(rest);
        if (feature && feature->side == Side::Under)
            feature.reset(); // "に左に…" is no form of the notation
    } else if (consume(rest, L"は")) {
        feature = namedFeature(rest, false);
    }
    if (!feature || target.empty())
        return result;
    result.type = Annotation::Type::Forward;
    result.target = target;
    result.feature = *feature;
    return result;
}

Annotation typed(Annotation::Type type, int first = 0, int rest = 0) {
    Annotation result;
    result.type = type;
    result.first = first;
    result.rest = rest;
    return result;
}

// ここからN字下げ, ここからN字下げ、折り返してM字下げ, ここから改行天付き、折り返してM字下げ.
std::optional<Annotation> indentBlock(std::wstring_view text) {
    std::wstring_view first = text;
    std::wstring_view wrapped;
    const size_t comma = text.find(WRAP_INDENT);
    if (comma != std::wstring_view::npos) {
        first = text.substr(0, comma);
        wrapped = text.substr(comma + WRAP_INDENT.size());
    }
    std::optional<int> firstColumns =
        first == NO_FIRST_INDENT ? std::optional<int>(0) : indentColumns(first);
    if (!firstColumns)
        return std::nullopt;
    std::optional<int> restColumns = wrapped.empty() ? firstColumns : indentColumns(wrapped);
    if (!restColumns || (comma != std::wstring_view::npos && wrapped.empty()))
        return std::nullopt;
    return typed(Annotation::Type::IndentBlock, *firstColumns, *restColumns);
}

// 地付き (0 columns after the text) or 地からN字上げ (2N).
std::optional<int> endAlignment(std::wstring_view text) {
    if (text == FLUSH_END)
        return 0;
    if (!consume(text, FROM_END))
        return std::nullopt;
    std::optional<int> count = consumeCount(text);
    if (!count || text != RAISE_WORD)
        return std::nullopt;
    return 2 * *count;
}

// caption（file[、横W×縦H]）入る, the file in the last parentheses.
std::optional<Annotation> illustration(std::wstring_view text) {
    if (!consumeSuffix(text, ILLUSTRATION_END))
        return std::nullopt;
    const size_t open = text.rfind(PAREN_OPEN);
    if (open == std::wstring_view::npos)
        return std::nullopt;
    std::wstring_view file = text.substr(open + 1);
    file.remove_suffix(sizeSuffixLength(file));
    if (file.empty())
        return std::nullopt;
    Annotation result = typed(Annotation::Type::Illustration);
    result.file = file;
    result.caption = text.substr(0, open);
    return result;
}

} // namespace

size_t sizeSuffixLength(std::wstring_view file) {
    const size_t at = file.rfind(SIZE_PREFIX);
    if (at == std::wstring_view::npos)
        return 0;
    std::wstring_view size = file.substr(at + SIZE_PREFIX.size());
    std::optional<int> width = consumeCount(size);
    if (!width || !consume(size, L"×") || !consume(size, L"縦") || !consumeCount(size) ||
        !size.empty())
        return 0;
    return file.size() - at;
}

Annotation recognizeAnnotation(std::wstring_view text) {
    // Before the forward references: a caption may begin with a quote.
    if (std::optional<Annotation> picture = illustration(text))
        return *picture;
    if (!text.empty() && text.front() == QUOTE_OPEN)
        return forwardReference(text);
    for (std::wstring_view word : PAGE_BREAKS)
        if (text == word)
            return typed(Annotation::Type::PageBreak);

    std::wstring_view body = text;
    if (consume(body, BLOCK_START)) {
        if (std::optional<Annotation> block = indentBlock(body))
            return *block;
        if (std::optional<int> after = endAlignment(body))
            return typed(Annotation::Type::AlignEndBlock, *after);
        if (std::optional<SpanFeature> feature = spanFeature(body, false)) {
            Annotation result = typed(Annotation::Type::Open);
            result.feature = *feature;
            return result;
        }
        return {};
    }
    if (consume(body, BLOCK_END)) {
        if (body == L"字下げ終わり")
            return typed(Annotation::Type::IndentEnd);
        if (body == L"地付き終わり" || body == L"字上げ終わり")
            return typed(Annotation::Type::AlignEndBlockEnd);
    }
    if (consumeSuffix(body, END_WORD)) {
        if (std::optional<SpanFeature> feature = spanFeature(body, true)) {
            Annotation result = typed(Annotation::Type::Close);
            result.feature = *feature;
            return result;
        }
        return {};
    }

    body = text;
    consume(body, FROM_TOP);
    if (std::optional<int> columns = indentColumns(body))
        return typed(Annotation::Type::Indent, *columns, *columns);
    if (std::optional<int> after = endAlignment(text))
        return typed(Annotation::Type::AlignEnd, *after);
    if (std::optional<SpanFeature> feature = spanFeature(text, false)) {
        Annotation result = typed(Annotation::Type::Open);
        result.feature = *feature;
        return result;
    }
    return {};
}

std::wstring_view emphasisWord(EmphasisKind kind, Side side) {
    // Both sides from one table: "左に" is part of the word for the left side.
    static const std::array<std::wstring, EMPHASIS_KIND_COUNT> LEFT = [] {
        std::array<std::wstring, EMPHASIS_KIND_COUNT> words;
        for (size_t i = 0; i < words.size(); ++i)
            words[i] = std::wstring(LEFT_SIDE) + std::wstring(EMPHASIS_WORDS[i].word);
        return words;
    }();
    const size_t index = static_cast<size_t>(kind);
    return side == Side::Over ? EMPHASIS_WORDS[index].word : std::wstring_view(LEFT[index]);
}

std::wstring_view smallWord(SmallKind kind) {
    return SMALL_WORDS[static_cast<size_t>(kind)].word;
}

} // namespace yomite
