#include "AozoraNotation.h"

#include "platform/core/CharClass.h"

#include <array>

namespace yomite {
namespace {

constexpr std::wstring_view ILLUSTRATION_PREFIX = L"［＃挿絵（";
constexpr std::wstring_view ILLUSTRATION_SUFFIX = L"）入る］";

// Tried in this order right after the "<"; the first that matches wins.
constexpr std::array<std::wstring_view, 6> TAG_VOCABULARY = {L"img>", L"img ", L"/img>",
                                                             L"a>",   L"a ",   L"/a>"};

bool isHalfWidthLetter(wchar_t c) {
    return static_cast<unsigned>(c) < 256 && lumo::isLetter(c);
}

// Appends a recognised tag's label to the visible text and records its columns.
void placeLabel(InlineTag& tag, std::wstring& visibleText, int& column) {
    visibleText += tag.displayText;
    tag.startColumn = column;
    column += columnWidth(tag.displayText);
    tag.endColumn = column;
}

} // namespace

int columnWidth(std::wstring_view text) {
    int width = 0;
    for (wchar_t c : text)
        width += columnWidth(c);
    return width;
}

bool startsKnownTag(std::wstring_view text) {
    if (text.empty() || text[0] != L'<')
        return false;
    std::wstring_view rest = text.substr(1);
    for (std::wstring_view entry : TAG_VOCABULARY) {
        if (rest.substr(0, entry.size()) == entry)
            return true;
    }
    return false;
}

bool parseInlineTagView(std::wstring_view text, InlineTag& tag) {
    // The vocabulary check comes first: it is the cheap way to reject a stray
    // "<", and it fails exactly when the full recognition would.
    if (!startsKnownTag(text))
        return false;
    size_t close = text.find(L'>');
    if (close == std::wstring_view::npos)
        return false;

    std::wstring_view innerText;
    size_t nextOpen = text.find(L'<', close + 1);
    if (nextOpen != std::wstring_view::npos) {
        if (text.find(L'>', nextOpen + 1) == std::wstring_view::npos)
            return false;
        innerText = text.substr(close + 1, nextOpen - close - 1);
    }

    std::wstring_view body = text.substr(1, close - 1);
    std::wstring_view tagName = body;
    std::vector<std::pair<std::wstring_view, std::wstring_view>> attributes;
    size_t space = body.find(L' ');
    if (space != std::wstring_view::npos) {
        tagName = body.substr(0, space);
        std::wstring_view rest = body.substr(space + 1);
        for (;;) {
            size_t equals = rest.find(L'=');
            if (equals == std::wstring_view::npos)
                break;
            std::wstring_view name = rest.substr(0, equals);
            size_t valueEnd = rest.find(L' ', equals + 1);
            std::wstring_view value = rest.substr(equals + 1, valueEnd == std::wstring_view::npos
                                                                  ? std::wstring_view::npos
                                                                  : valueEnd - equals - 1);
            if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
                value = value.substr(1, value.size() - 2);
            attributes.emplace_back(name, value);
            if (valueEnd == std::wstring_view::npos)
                break;
            rest = rest.substr(valueEnd + 1);
        }
    }

    tag.tagName.assign(tagName);
    tag.innerText.assign(innerText);
    for (const auto& [name, value] : attributes)
        tag.attributes.emplace(std::wstring(name), std::wstring(value));
    return finishInlineTag(tag);
}

bool parseInlineTag(std::wstring& text, InlineTag& tag) {
    if (text.size() > ILLUSTRATION_PREFIX.size() + ILLUSTRATION_SUFFIX.size() &&
        std::wstring_view(text).starts_with(ILLUSTRATION_PREFIX) &&
        std::wstring_view(text).ends_with(ILLUSTRATION_SUFFIX)) {
        std::wstring file =
            text.substr(ILLUSTRATION_PREFIX.size(),
                        text.size() - ILLUSTRATION_PREFIX.size() - ILLUSTRATION_SUFFIX.size());
        text = L"<img src=\"" + file + L"\">";
    }
    return parseInlineTagView(text, tag);
}

bool finishInlineTag(InlineTag& tag) {
    if (tag.tagName == L"img")
        tag.displayText = L"[挿絵:" + tag.attributes[L"src"] + L"]";
    else
        tag.displayText = tag.innerText;
    if (!tag.displayText.empty())
        tag.hasDisplayText = true;
    return true;
}

bool parseLine(const std::wstring& rawLine, std::wstring& visibleText,
               std::vector<RubySpan>& rubySpans, InlineTag& tag) {
    int column = 0;
    int explicitStart = -1;
    int kanjiStart = -1;
    int latinStart = -1;
    bool rubyOpen = false;
    int rubyEnd = -1;
    size_t rubyTextStart = 0;
    bool annotationOpen = false;
    std::wstring annotationBuffer;
    // Position of the line's last ">", found on the first "<" only.
    size_t lastClose = std::wstring::npos;
    bool lastCloseKnown = false;

    const size_t length = rawLine.size();
    for (size_t i = 0; i < length; ++i) {
        const wchar_t c = rawLine[i];
        switch (c) {
        case RUBY_BASE_MARK:
            explicitStart = column;
            kanjiStart = latinStart = -1;
            continue;
        case ANNOTATION_OPEN:
            annotationOpen = true;
            annotationBuffer.clear();
            kanjiStart = latinStart = -1;
            continue;
        case RUBY_OPEN:
            if (explicitStart == -1) {
                if (kanjiStart >= 0)
                    explicitStart = kanjiStart;
                else if (latinStart >= 0)
                    explicitStart = latinStart;
                else
                    explicitStart = column - 2;
            }
            rubyEnd = column;
            rubyTextStart = i + 1;
            rubyOpen = true;
            kanjiStart = latinStart = -1;
            continue;
        case ANNOTATION_CLOSE: {
            // A stray closing mark must not replay the previous annotation:
            // one illustration would be shown twice, and a run of marks would
            // repeat its label over and over.
            if (!annotationOpen)
                continue;
            std::wstring annotation;
            annotation.reserve(annotationBuffer.size() + 2);
            annotation += ANNOTATION_OPEN;
            annotation += annotationBuffer;
            annotation += ANNOTATION_CLOSE;
            if (parseInlineTag(annotation, tag))
                placeLabel(tag, visibleText, column);
            annotationOpen = false;
            continue;
        }
        case RUBY_CLOSE:
            rubySpans.push_back(
                {explicitStart, rubyEnd, rawLine.substr(rubyTextStart, i - rubyTextStart)});
            // After a stray closing mark the next one starts its text here:
            // otherwise every stray mark would copy the whole line so far, and
            // a line of them would need memory growing with its square.
            if (!rubyOpen)
                rubyTextStart = i + 1;
            explicitStart = rubyEnd = -1;
            rubyOpen = false;
            continue;
        default:
            break;
        }
        if (rubyOpen) {
            if (annotationOpen)
                annotationBuffer += c;
            continue;
        }
        if (annotationOpen) {
            annotationBuffer += c;
            continue;
        }

        if (isKanji(c)) {
            if (kanjiStart == -1)
                kanjiStart = column;
        } else {
            kanjiStart = -1;
        }
        if (isHalfWidthLetter(c)) {
            if (latinStart == -1)
                latinStart = column;
        } else if (!lumo::isLetter(c)) {
            latinStart = -1;
        }

        if (c == L'<') {
            if (!lastCloseKnown) {
                lastClose = rawLine.rfind(L'>');
                lastCloseKnown = true;
            }
            if (lastClose != std::wstring::npos && lastClose > i &&
                parseInlineTagView(std::wstring_view(rawLine).substr(i, lastClose - i + 1), tag)) {
                placeLabel(tag, visibleText, column);
                i = lastClose;
                continue;
            }
        }
        visibleText += c;
        column += columnWidth(c);
    }
    return true;
}

} // namespace yomite
