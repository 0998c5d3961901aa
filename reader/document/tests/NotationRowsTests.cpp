// The full notation of whole books, row by row: each family in its one-line,
// forward-reference and block forms, blocks across lines, nested blocks,
// references to text that is not there, unclosed blocks, and what vanishes.
#include "BookFixture.h"

#include "platform/core/Utf8.h"

#include <optional>
#include <sstream>

namespace {

using yomite::ColumnSpan;
using yomite::EmphasisKind;
using yomite::EmphasisSpan;
using yomite::Side;
using yomite::SmallKind;
using yomite::SmallSpan;

// What a test says about one row; compared whole.
struct Row {
    std::wstring visible;
    int indent = 0;
    std::optional<int> alignEnd;
    int heading = 0;
    std::vector<EmphasisSpan> emphasis = {};
    std::vector<ColumnSpan> tcy = {};
    std::vector<SmallSpan> small = {};
    bool pageBreakBefore = false;
    std::vector<std::tuple<int, int, std::wstring>> ruby = {};
    std::wstring tag = {}; // "label@start src", when the row shows a tag

    Row in(int columns) const {
        return with([&](Row& r) { r.indent = columns; });
    }
    Row end(int columns) const {
        return with([&](Row& r) { r.alignEnd = columns; });
    }
    Row head(int level) const {
        return with([&](Row& r) { r.heading = level; });
    }
    Row em(int s, int e, EmphasisKind k = EmphasisKind::Sesame, Side side = Side::Over) const {
        return with([&](Row& r) { r.emphasis.push_back({s, e, k, side}); });
    }
    Row vertical(int s, int e) const {
        return with([&](Row& r) { r.tcy.push_back({s, e}); });
    }
    Row smaller(int s, int e, SmallKind k) const {
        return with([&](Row& r) { r.small.push_back({s, e, k}); });
    }
    Row page() const {
        return with([](Row& r) { r.pageBreakBefore = true; });
    }
    Row reading(int s, int e, std::wstring text) const {
        return with([&](Row& r) { r.ruby.emplace_back(s, e, text); });
    }
    Row shows(std::wstring label) const {
        return with([&](Row& r) { r.tag = label; });
    }

    template <typename F> Row with(F f) const {
        Row r = *this;
        f(r);
        return r;
    }
    friend bool operator==(const Row&, const Row&) = default;
};

Row row(std::wstring visible) {
    Row r;
    r.visible = std::move(visible);
    return r;
}

void PrintTo(const Row& r, std::ostream* os) {
    *os << "\"" << lumo::toUtf8(r.visible) << "\" in " << r.indent << " end "
        << (r.alignEnd ? std::to_string(*r.alignEnd) : "-") << " heading " << r.heading;
    for (const EmphasisSpan& e : r.emphasis)
        *os << " em[" << e.start << "," << e.end << ","
            << lumo::toUtf8(emphasisWord(e.kind, e.side)) << "]";
    for (const ColumnSpan& t : r.tcy)
        *os << " tcy[" << t.start << "," << t.end << "]";
    for (const SmallSpan& s : r.small)
        *os << " small[" << s.start << "," << s.end << "," << lumo::toUtf8(smallWord(s.kind))
            << "]";
    for (const auto& [s, e, text] : r.ruby)
        *os << " ruby[" << s << "," << e << "," << lumo::toUtf8(text) << "]";
    if (r.pageBreakBefore)
        *os << " page";
    if (!r.tag.empty())
        *os << " tag " << lumo::toUtf8(r.tag);
}

Row observed(const yomite::DisplayLineNotation& line) {
    Row r{line.visible,  line.indent, line.alignEnd, line.heading,
          line.emphasis, line.tcy,    line.small,    line.pageBreakBefore};
    for (const RubySpan& span : line.ruby)
        r.ruby.emplace_back(span.baseStart, span.baseEnd, span.rubyText);
    if (line.tag.hasDisplayText) {
        const auto src = line.tag.attributes.find(L"src");
        r.tag = line.tag.displayText + L"@" + std::to_wstring(line.tag.startColumn) + L" " +
                (src == line.tag.attributes.end() ? line.tag.tagName : src->second);
    }
    return r;
}

struct RowsCase {
    const char* name;
    std::vector<std::wstring> body;
    std::vector<Row> rows;
    int columns = 40;
};

void PrintTo(const RowsCase& c, std::ostream* os) {
    *os << c.name;
}

class NotationRows : public BookTest, public ::testing::WithParamInterface<RowsCase> {
protected:
    void SetUp() override {
        BookTest::SetUp();
        m_aozoraNotation = 1;
    }
};

TEST_P(NotationRows, ShowEachRowAsTheNotationSays) {
    const RowsCase& c = GetParam();
    CDavaroDiroBook book = bookWithBody(c.body);
    ASSERT_TRUE(book.layout(c.columns, 100));
    ASSERT_TRUE(book.hasNotation());
    std::vector<Row> rows;
    for (int k = 3; k + 1 < book.getLineStartCount(); ++k)
        rows.push_back(observed(book.getDisplayLineNotation(k)));
    EXPECT_EQ(rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Gaiji, NotationRows,
    ::testing::Values(
        RowsCase{"plane1", {L"※［＃「てへん＋劣」、第3水準1-84-77］です"}, {row(L"挘です")}},
        RowsCase{"plane2", {L"※［＃「言＋墟のつくり」、第4水準2-88-74］"}, {row(L"譃")}},
        RowsCase{"bare_code", {L"名※［＃二の字点、1-2-22］"}, {row(L"名〻")}},
        RowsCase{"unicode", {L"※［＃「口＋世」、U+546D、ページ数-行数］"}, {row(L"呭")}},
        RowsCase{"no_code_keeps_its_mark", {L"※［＃「土へん＋竒」、ページ数-行数］"}, {row(L"※")}},
        RowsCase{"rejected_code_keeps_its_mark", {L"※［＃「？」、第4水準2-2-2］"}, {row(L"※")}},
        RowsCase{"note_without_mark_vanishes", {L"［＃「口＋世」、U+546D］あ"}, {row(L"あ")}},
        RowsCase{"continues_a_kanji_run_under_ruby",
                 {L"乾屎※［＃「木＋厥」、第3水準1-86-15］《かんしけつ》"},
                 {row(L"乾屎橛").reading(0, 6, L"かんしけつ")}},
        RowsCase{"inside_ruby_text",
                 {L"漢《※［＃「口＋世」、U+546D］》"},
                 {row(L"漢").reading(0, 2, L"呭")}}));

INSTANTIATE_TEST_SUITE_P(
    Emphasis, NotationRows,
    ::testing::Values(
        RowsCase{"forward",
                 {L"腹がへっても［＃「腹がへっても」に傍点］、ひもじゅうない［＃「ひもじゅうな"
                  L"い」に傍点］と"},
                 {row(L"腹がへっても、ひもじゅうないと").em(0, 12).em(14, 28)}},
        RowsCase{"forward_takes_the_nearest",
                 {L"青空と青空［＃「青空」に白ゴマ傍点］"},
                 {row(L"青空と青空").em(6, 10, EmphasisKind::WhiteSesame)}},
        RowsCase{"forward_to_text_not_on_the_line",
                 {L"文庫", L"青空［＃「文庫」に傍点］"},
                 {row(L"文庫"), row(L"青空")}},
        RowsCase{"forward_to_text_after_it", {L"［＃「文庫」に傍点］文庫"}, {row(L"文庫")}},
        RowsCase{"forward_with_gaiji",
                 {L"香一※［＃「火＋（麈－鹿）」、第3水準1-87-40］［＃「香一※［＃「火＋（麈－鹿）」"
                  L"、第3水準1-87-40］」に丸傍点］"},
                 {row(L"香一炷").em(0, 6, EmphasisKind::BlackCircle)}},
        RowsCase{"forward_left_line",
                 {L"責［＃「責」の左に傍線］空"},
                 {row(L"責空").em(0, 2, EmphasisKind::SolidLine, Side::Under)}},
        RowsCase{"block_on_one_line",
                 {L"［＃傍点］青空文庫［＃傍点終わり］。"},
                 {row(L"青空文庫。").em(0, 8)}},
        RowsCase{"block_across_lines",
                 {L"［＃白丸傍点］青空", L"文庫［＃白丸傍点終わり］です"},
                 {row(L"青空").em(0, 4, EmphasisKind::WhiteCircle),
                  row(L"文庫です").em(0, 4, EmphasisKind::WhiteCircle)}},
        RowsCase{"nested_blocks_each_end_their_own",
                 {L"［＃傍点］青［＃左に波線］空［＃左に波線終わり］文［＃傍点終わり］庫"},
                 {row(L"青空文庫")
                      .em(2, 4, EmphasisKind::WavyLine, Side::Under)
                      .em(0, 6, EmphasisKind::Sesame)}},
        RowsCase{"end_of_a_block_not_open", {L"青［＃傍点終わり］空"}, {row(L"青空")}},
        RowsCase{"unclosed_block_runs_to_the_end_of_the_book",
                 {L"前［＃ばつ傍点］青空", L"文庫"},
                 {row(L"前青空").em(2, 6, EmphasisKind::Saltire),
                  row(L"文庫").em(0, 4, EmphasisKind::Saltire)}},
        RowsCase{"marks_and_lines_together",
                 {L"このプロジェクトを、青空［＃「青空」に傍点］文庫［＃「青空文庫」に二重傍線］"},
                 {row(L"このプロジェクトを、青空文庫")
                      .em(20, 24)
                      .em(20, 28, EmphasisKind::DoubleLine)}}));

INSTANTIATE_TEST_SUITE_P(
    Indentation, NotationRows,
    ::testing::Values(RowsCase{"one_line", {L"［＃３字下げ］本文"}, {row(L"本文").in(6)}},
                      RowsCase{"block",
                               {L"［＃ここから２字下げ］", L"一行目", L"二行目",
                                L"［＃ここで字下げ終わり］", L"戻る"},
                               {row(L"一行目").in(4), row(L"二行目").in(4), row(L"戻る")}},
                      RowsCase{"block_with_wrapped_rows",
                               {L"［＃ここから１字下げ、折り返して３字下げ］", L"一二三四五六七八"},
                               {row(L"一二三四").in(2), row(L"五六").in(6), row(L"七八").in(6)},
                               10},
                      RowsCase{"block_hanging_from_the_top",
                               {L"［＃ここから改行天付き、折り返して１字下げ］", L"一二三四五六"},
                               {row(L"一二三四五").in(0), row(L"六").in(2)},
                               10},
                      RowsCase{"one_line_over_a_block",
                               {L"［＃ここから２字下げ］", L"［＃５字下げ］中", L"後"},
                               {row(L"中").in(10), row(L"後").in(4)}},
                      RowsCase{"a_new_block_replaces_the_open_one",
                               {L"［＃ここから２字下げ］", L"［＃ここから４字下げ］", L"中",
                                L"［＃ここで字下げ終わり］", L"外"},
                               {row(L"中").in(8), row(L"外")}},
                      RowsCase{"block_started_after_text",
                               {L"前［＃ここから２字下げ］", L"後"},
                               {row(L"前"), row(L"後").in(4)}},
                      RowsCase{"wider_than_the_row",
                               {L"［＃２０字下げ］あいう"},
                               {row(L"あ").in(8), row(L"い").in(8), row(L"う").in(8)},
                               10},
                      RowsCase{"unclosed_block_at_the_end_of_the_book",
                               {L"［＃ここから１字下げ］", L"最後"},
                               {row(L"最後").in(2)}}));

INSTANTIATE_TEST_SUITE_P(
    EndAlignment, NotationRows,
    ::testing::Values(
        RowsCase{"flush", {L"［＃地付き］（終）"}, {row(L"（終）").in(14).end(0)}, 20},
        RowsCase{"raised", {L"［＃地から２字上げ］終"}, {row(L"終").in(14).end(4)}, 20},
        RowsCase{"after_text_starts_its_own_row",
                 {L"本文。［＃地付き］（終）"},
                 {row(L"本文。"), row(L"（終）").in(14).end(0)},
                 20},
        RowsCase{
            "block",
            {L"［＃ここから地から１字上げ］", L"一", L"二二", L"［＃ここで字上げ終わり］", L"三"},
            {row(L"一").in(16).end(2), row(L"二二").in(14).end(2), row(L"三")},
            20},
        RowsCase{"long_text_wraps_then_aligns",
                 {L"［＃地付き］一二三四五六"},
                 {row(L"一二三四五").in(0).end(0), row(L"六").in(8).end(0)},
                 10},
        RowsCase{"inside_an_indent",
                 {L"［＃ここから２字下げ］", L"［＃地付き］名"},
                 {row(L"名").in(18).end(0)},
                 20}));

INSTANTIATE_TEST_SUITE_P(
    Headings, NotationRows,
    ::testing::Values(
        RowsCase{"forward_whole_line",
                 {L"［＃３字下げ］第一章［＃「第一章」は中見出し］"},
                 {row(L"第一章").in(6).head(2)}},
        RowsCase{"same_row_heading_gets_its_own_row",
                 {L"序。見出し［＃「見出し」は同行小見出し］　本文"},
                 {row(L"序。"), row(L"見出し").head(3), row(L"　本文")}},
        RowsCase{"window_heading_with_ruby",
                 {L"龍王岬《りゅうおうみさき》［＃「龍王岬」は窓中見出し］　峨々"},
                 {row(L"龍王岬").head(2).reading(0, 6, L"りゅうおうみさき"), row(L"　峨々")}},
        RowsCase{
            "inline_block", {L"［＃大見出し］表題［＃大見出し終わり］"}, {row(L"表題").head(1)}},
        RowsCase{"block_across_lines",
                 {L"［＃ここから中見出し］", L"一", L"二", L"［＃ここで中見出し終わり］", L"三"},
                 {row(L"一").head(2), row(L"二").head(2), row(L"三")}},
        RowsCase{"nested_in_an_indent_each_ended_by_its_own",
                 {L"［＃ここから３字下げ］", L"［＃ここから中見出し］", L"見",
                  L"［＃ここで中見出し終わり］", L"本", L"［＃ここで字下げ終わり］", L"外"},
                 {row(L"見").in(6).head(2), row(L"本").in(6), row(L"外")}},
        RowsCase{"the_end_of_another_level_does_not_end_it",
                 {L"［＃ここから大見出し］", L"一", L"［＃ここで中見出し終わり］", L"二",
                  L"［＃ここで大見出し終わり］", L"三"},
                 {row(L"一").head(1), row(L"二").head(1), row(L"三")}},
        RowsCase{"gaiji_heading",
                 {L"［＃中見出し］※［＃ローマ数字1、1-13-21］［＃中見出し終わり］"},
                 {row(L"Ⅰ").head(2)}},
        RowsCase{"long_heading_wraps",
                 {L"一二三四五六［＃「一二三四五六」は大見出し］"},
                 {row(L"一二三四五").head(1), row(L"六").head(1)},
                 10}));

INSTANTIATE_TEST_SUITE_P(
    PageBreaks, NotationRows,
    ::testing::Values(
        RowsCase{"own_line", {L"前", L"［＃改ページ］", L"後"}, {row(L"前"), row(L"後").page()}},
        RowsCase{"before_text", {L"前", L"［＃改丁］後"}, {row(L"前"), row(L"後").page()}},
        RowsCase{"after_text", {L"前［＃改見開き］", L"後"}, {row(L"前"), row(L"後").page()}},
        RowsCase{"inside_a_line", {L"前［＃改段］後"}, {row(L"前"), row(L"後").page()}},
        RowsCase{"two_make_a_blank_page",
                 {L"［＃改ページ］", L"", L"［＃改ページ］", L"後"},
                 {row(L"").page(), row(L"後").page()}}));

INSTANTIATE_TEST_SUITE_P(
    VerticalAndSmall, NotationRows,
    ::testing::Values(
        RowsCase{"tcy_forward", {L"Ｂ29［＃「29」は縦中横］の"}, {row(L"Ｂ29の").vertical(2, 4)}},
        RowsCase{"tcy_block",
                 {L"［＃縦中横］（※［＃ローマ数字1、1-13-21］）［＃縦中横終わり］"},
                 {row(L"（Ⅰ）").vertical(0, 6)}},
        RowsCase{"subscript",
                 {L"H2［＃「2」は下付き小文字］O"},
                 {row(L"H2O").smaller(1, 2, SmallKind::Subscript)}},
        RowsCase{"superscript_of_the_nearer_digit",
                 {L"22［＃「2」は上付き小文字］"},
                 {row(L"22").smaller(1, 2, SmallKind::Superscript)}},
        RowsCase{"right_small_block",
                 {L"注［＃行右小書き］１［＃行右小書き終わり］"},
                 {row(L"注１").smaller(2, 4, SmallKind::RightSmall)}},
        RowsCase{"left_small_forward",
                 {L"（５）［＃「（５）」は行左小書き］"},
                 {row(L"（５）").smaller(0, 6, SmallKind::LeftSmall)}},
        RowsCase{"smaller_block",
                 {L"［＃ここから１段階小さな文字］", L"小", L"［＃ここで小さな文字終わり］", L"大"},
                 {row(L"小").smaller(0, 2, SmallKind::Smaller), row(L"大")}}));

INSTANTIATE_TEST_SUITE_P(
    Illustrations, NotationRows,
    ::testing::Values(
        RowsCase{
            "plain", {L"［＃挿絵（fig1.png）入る］"}, {row(L"[挿絵]").shows(L"[挿絵]@0 fig1.png")}},
        RowsCase{"photo_with_size",
                 {L"［＃写真（photo.jpg、横320×縦240）入る］"},
                 {row(L"[写真]").shows(L"[写真]@0 photo.jpg")}},
        RowsCase{"quoted_caption",
                 {L"［＃「第一図」のキャプション付きの図（f.png、横12×縦34）入る］"},
                 {row(L"[第一図]").shows(L"[第一図]@0 f.png")}},
        RowsCase{"no_caption", {L"［＃（x.png）入る］"}, {row(L"[挿絵]").shows(L"[挿絵]@0 x.png")}},
        RowsCase{"inside_text",
                 {L"図は［＃コンドル博士の図（c.png）入る］右"},
                 {row(L"図は[コンドル博士の図]右").shows(L"[コンドル博士の図]@4 c.png")}},
        RowsCase{
            "link_tag", {L"<a href=\"x\">リンク</a>"}, {row(L"リンク").shows(L"リンク@0 a")}}));

INSTANTIATE_TEST_SUITE_P(
    Vanishing, NotationRows,
    ::testing::Values(
        RowsCase{"as_is_note", {L"吹喋［＃「喋」に「ママ」の注記］"}, {row(L"吹喋")}},
        RowsCase{"original_text", {L"紋附［＃「紋附」は底本では「絞附」］"}, {row(L"紋附")}},
        RowsCase{"bold_block", {L"［＃太字］強［＃太字終わり］"}, {row(L"強")}},
        RowsCase{"bracket_without_sign", {L"前［二十歳］後"}, {row(L"前後")}},
        RowsCase{"unclosed_annotation_hides_the_rest", {L"前［＃注記"}, {row(L"前")}},
        RowsCase{"ruby_as_before",
                 {L"漢字《かんじ》と｜本《ほん》"},
                 {row(L"漢字と本").reading(0, 4, L"かんじ").reading(6, 8, L"ほん")}},
        RowsCase{"line_of_unknown_annotations_has_no_row",
                 {L"前", L"［＃ページの左右中央］", L"後"},
                 {row(L"前"), row(L"後")}}));

} // namespace
