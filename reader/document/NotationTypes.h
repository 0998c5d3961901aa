#pragma once

#include "AozoraNotation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the full notation (m_aozoraNotation 1) says about one display line, as
// plain data: the painters draw it, the layout tool prints it. Columns are
// those of the line's visible text (half-width units, as everywhere).
namespace yomite {

// Marks beside each character (傍点 and its shapes) and lines along the text
// (傍線 and its styles). The first nine are marks, the rest lines.
enum class EmphasisKind : uint8_t {
    Sesame,        // 傍点
    WhiteSesame,   // 白ゴマ傍点
    BlackCircle,   // 丸傍点
    WhiteCircle,   // 白丸傍点
    BlackTriangle, // 黒三角傍点
    WhiteTriangle, // 白三角傍点
    DoubleCircle,  // 二重丸傍点
    Bullseye,      // 蛇の目傍点
    Saltire,       // ばつ傍点
    SolidLine,     // 傍線
    DoubleLine,    // 二重傍線
    ChainLine,     // 鎖線
    DashedLine,    // 破線
    WavyLine,      // 波線
};
constexpr int EMPHASIS_KIND_COUNT = 14;

inline bool isEmphasisLine(EmphasisKind kind) {
    return kind >= EmphasisKind::SolidLine;
}

// The side the notation names: the right of vertical text, drawn over
// horizontal text; 左に… is the left, drawn under it.
enum class Side : uint8_t { Over, Under };

enum class SmallKind : uint8_t {
    RightSmall,  // 行右小書き: raised in horizontal writing
    LeftSmall,   // 行左小書き: lowered
    Superscript, // 上付き小文字
    Subscript,   // 下付き小文字
    Smaller,     // N段階小さな文字: smaller on the base line
};

struct EmphasisSpan {
    int start = 0;
    int end = 0;
    EmphasisKind kind = EmphasisKind::Sesame;
    Side side = Side::Over;
    friend bool operator==(const EmphasisSpan&, const EmphasisSpan&) = default;
};

struct ColumnSpan {
    int start = 0;
    int end = 0;
    friend bool operator==(const ColumnSpan&, const ColumnSpan&) = default;
};

struct SmallSpan {
    int start = 0;
    int end = 0;
    SmallKind kind = SmallKind::Smaller;
    friend bool operator==(const SmallSpan&, const SmallSpan&) = default;
};

// Heading levels as the notation numbers them: 0 none, 1 大, 2 中, 3 小.
constexpr int HEADING_LEVELS = 3;

// One display line in full notation.
struct DisplayLineNotation {
    std::wstring visible; // gaiji resolved, illustrations as their caption label
    std::vector<RubySpan> ruby;
    InlineTag tag;
    int indent = 0;              // columns left empty before the text
    std::optional<int> alignEnd; // columns left empty after the text when end-aligned
    int heading = 0;
    std::vector<EmphasisSpan> emphasis;
    std::vector<ColumnSpan> tcy; // 縦中横: drawn only in vertical writing
    std::vector<SmallSpan> small;
    bool pageBreakBefore = false;
};

// The annotation's own words: "傍点", "左に傍線", "下付き小文字"...
std::wstring_view emphasisWord(EmphasisKind kind, Side side);
std::wstring_view smallWord(SmallKind kind);

} // namespace yomite
