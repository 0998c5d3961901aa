// The staged yomite-layout program, run as a user would run it.
#include "tests/support/TempDir.h"

#include "platform/core/CodePage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace {

struct ToolRun {
    int status;
    std::string out;
};

// Runs the tool with LUMO_CODEPAGE set to `codePage` (unset when empty).
ToolRun runTool(const std::string& arguments, const std::string& codePage = "") {
    const std::string environment =
        codePage.empty() ? "env -u LUMO_CODEPAGE " : "env " + codePage + " ";
    std::string command =
        environment + std::string(LUMO_STAGE_DIR) + "/yomite-layout " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ToolRun run{-1, {}};
    if (!pipe)
        return run;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class LayoutTool : public ::testing::Test {
protected:
    void SetUp() override {
        // 漢字《かんじ》あいうえお in Shift_JIS, after three header lines.
        m_dir.write("book.txt",
                    "t\r\na\r\n\r\n\x8A\xBF\x8E\x9A\x81\x73\x82\xA9\x82\xF1\x82\xB6\x81\x74"
                    "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\r\n");
        m_book = (m_dir / "book.txt").string();
    }
    lumo::test::TempDir m_dir;
    std::string m_book;
};

TEST_F(LayoutTool, PrintsTheTablesOfTheLayout) {
    ToolRun run = runTool("--columns 8 --lines 2 " + m_book);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "{\"sourceLines\":5,"
                       "\"lineStarts\":[[0,0],[1,0],[2,0],[3,0],[3,9],[4,0],[5,0]],"
                       "\"pageStarts\":[0,3,5,5],\"pageCount\":3,\"layoutOk\":true}\n");
}

TEST_F(LayoutTool, ParsesTheRequestedDisplayLines) {
    ToolRun run = runTool("--columns 8 --lines 2 --parse 3:1 " + m_book);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(
        run.out.find(
            "\"parsed\":[{\"index\":3,\"raw\":\"漢字《かんじ》あい\",\"visible\":\"漢字あい\","
            "\"ruby\":[[0,4,\"かんじ\"]],\"tag\":{\"startColumn\":-1,\"endColumn\":-1,"
            "\"tagName\":\"\",\"attributes\":{},\"innerText\":\"\",\"displayText\":\"\","
            "\"hasDisplayText\":false}}]}"),
        std::string::npos)
        << run.out;
}

TEST_F(LayoutTool, AUtf8CopyOfTheBookLaysOutTheSameUnlessTheCodePageIsSet) {
    // The same book re-encoded as UTF-8, with and without a byte-order mark.
    const std::string text = "t\r\na\r\n\r\n漢字《かんじ》あいうえお\r\n";
    m_dir.write("utf8.txt", text);
    m_dir.write("marked.txt", "\xEF\xBB\xBF" + text);
    const std::string arguments = "--columns 8 --lines 2 --parse 3:2 ";
    const ToolRun shiftJis = runTool(arguments + m_book);
    ASSERT_EQ(shiftJis.status, 0) << shiftJis.out;
    for (const char* name : {"utf8.txt", "marked.txt"})
        EXPECT_EQ(runTool(arguments + (m_dir / name).string()).out, shiftJis.out) << name;

    const ToolRun forced = runTool(arguments + (m_dir / "utf8.txt").string(), "LUMO_CODEPAGE=932");
    ASSERT_EQ(forced.status, 0) << forced.out;
    EXPECT_NE(forced.out, shiftJis.out) << "LUMO_CODEPAGE decides, as before";
}

TEST_F(LayoutTool, LineBreakingSettingsReachTheLayout) {
    m_dir.write("words.txt", "t\na\n\nabc defgh");
    ToolRun on = runTool("--columns 6 --lines 9 " + (m_dir / "words.txt").string());
    ToolRun off = runTool("--columns 6 --lines 9 --line-boundary 0 --word-wrap 0 " +
                          (m_dir / "words.txt").string());
    EXPECT_NE(on.out.find("[3,0],[3,4],[4,0]"), std::string::npos) << on.out;
    EXPECT_NE(off.out.find("[3,0],[3,6],[4,0]"), std::string::npos) << off.out;
}

TEST_F(LayoutTool, ReportsBooksThatCannotBeLaidOut) {
    m_dir.write("short.txt", "one\ntwo");
    ToolRun run = runTool("--columns 8 --lines 2 " + (m_dir / "short.txt").string());
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "{\"sourceLines\":2,\"lineStarts\":[],\"pageStarts\":[],\"pageCount\":-1,"
                       "\"layoutOk\":false}\n");
}

TEST_F(LayoutTool, FailsClearlyOnMissingFilesAndBadArguments) {
    ToolRun missing = runTool("--columns 8 --lines 2 " + (m_dir / "nothing.txt").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("cannot open"), std::string::npos) << missing.out;
    EXPECT_EQ(missing.out.find('{'), std::string::npos);

    for (const char* arguments :
         {"--columns 8 FILE", "--columns x --lines 2 FILE", "--lines 2 --columns",
          "--columns 8 --lines 2 --parse 3 FILE", "--columns 8 --lines 2 --bogus 1 FILE",
          "--columns 8 --lines 2 --notation full FILE"}) {
        ToolRun bad = runTool(arguments);
        EXPECT_EQ(bad.status, 2) << arguments;
        EXPECT_NE(bad.out.find("usage:"), std::string::npos) << arguments;
    }
}

// A book of our own with every family of the notation, ruby and tags: by
// default, and with --notation 0, the tool prints exactly what the basic
// notation has always printed (kept beside it, at three geometries).
TEST(LayoutToolDefaults, PrintExactlyWhatTheBasicNotationPrinted) {
    const std::string fixtures = LUMO_READER_FIXTURES;
    const std::string book = fixtures + "/notation_mix.txt";
    for (const char* geometry : {"36x14", "8x3", "92x20"}) {
        const std::string size = geometry;
        const size_t x = size.find('x');
        const std::string arguments = "--columns " + size.substr(0, x) + " --lines " +
                                      size.substr(x + 1) + " --parse 0:1000 ";
        std::ifstream file(fixtures + "/notation_mix." + size + ".json", std::ios::binary);
        const std::string expected((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
        ASSERT_FALSE(expected.empty()) << geometry;
        EXPECT_EQ(runTool(arguments + book).out, expected) << geometry;
        EXPECT_EQ(runTool("--notation 0 " + arguments + book).out, expected) << geometry;
    }
}

TEST_F(LayoutTool, FullNotationReportsEachFeatureOfARow) {
    const std::wstring text = L"t\r\na\r\n\r\n"
                              L"［＃２字下げ］H2［＃「2」は下付き小文字］Oの［＃「の」に白丸傍点］"
                              L"Ｂ29［＃「29」は縦中横］\r\n"
                              L"［＃改ページ］\r\n"
                              L"［＃地付き］※［＃「口＋世」、U+546D］"
                              L"［＃「※［＃「口＋世」、U+546D］」は中見出し］\r\n";
    m_dir.write("notes.txt", lumo::encodeMultiByte(932, text));
    ToolRun run = runTool("--notation 1 --columns 20 --lines 9 --parse 3:2 " +
                          (m_dir / "notes.txt").string());
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"lineStarts\":[[0,0],[1,0],[2,0],[3,0],[5,0],[6,0],[7,0]]"),
              std::string::npos)
        << "the page break line has no row: " << run.out;
    EXPECT_NE(run.out.find("\"visible\":\"H2OのＢ29\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"indent\":4,\"alignEnd\":null,\"heading\":0,"
                           "\"emphasis\":[[3,5,\"白丸傍点\"]],\"tcy\":[[7,9]],"
                           "\"small\":[[1,2,\"下付き小文字\"]],\"pageBreakBefore\":false}"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"visible\":\"呭\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"indent\":18,\"alignEnd\":0,\"heading\":2,\"emphasis\":[],"
                           "\"tcy\":[],\"small\":[],\"pageBreakBefore\":true}"),
              std::string::npos)
        << run.out;
}

} // namespace
