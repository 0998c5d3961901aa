// Where the open-file dialog opens, and the language of Qt's own buttons.
#include "platform/testsupport/TestHooks.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/QtTranslations.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(FileDialog, OpensInTheLastFolderElseTheHomeFolderNeverTheRoot) {
    lumo::test::TempDir dir;
    std::filesystem::create_directories(dir / "home");
    std::filesystem::create_directories(dir / "books");
    const char* savedHome = std::getenv("HOME");
    const std::string oldHome = savedHome ? savedHome : "";
    setenv("HOME", (dir / "home").c_str(), 1);
    const std::wstring home = (dir / "home").wstring();
    const std::wstring books = (dir / "books").wstring();
    const std::wstring gone = (dir / "gone").wstring();
    struct Case {
        std::wstring file;
        std::wstring folder;
        std::wstring expected;
    };
    const Case cases[] = {
        {books + L"/last.txt", books + L"/", books}, // the last book's folder
        {L"", books + L"/", books},
        {L"", books, books},
        {books + L"/last.txt", L"/", books}, // the file's own folder comes first
        {L"", L"/", home},                   // no book opened yet
        {L"/last.txt", L"/", home},
        {gone + L"/last.txt", gone + L"/", home}, // the folder was removed
        {L"last.txt", L"", home},
    };
    for (const Case& c : cases) {
        lumo::test::resetHooks();
        std::vector<wchar_t> buffer(260, L'\0');
        c.file.copy(buffer.data(), c.file.size());
        OPENFILENAME ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = 260;
        ofn.lpstrInitialDir = c.folder.empty() ? nullptr : c.folder.c_str();
        lumo::test::answerNextFileDialog(std::nullopt);
        EXPECT_FALSE(GetOpenFileName(&ofn));
        ASSERT_EQ(lumo::test::fileDialogs().size(), 1u);
        EXPECT_EQ(lumo::test::fileDialogs()[0].startFolder, c.expected)
            << "file " << std::string(c.file.begin(), c.file.end());
    }
    if (savedHome)
        setenv("HOME", oldHome.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST(MessageBox, QtsButtonsSpeakTheLanguageOfTheLoadedTranslations) {
    struct Case {
        QLocale locale;
        bool translated;
        std::vector<std::wstring> yesNoCancel;
        std::vector<std::wstring> ok;
    };
    const Case cases[] = {
        {QLocale(QLocale::Japanese, QLocale::Japan),
         true,
         {L"\u306F\u3044(&Y)", L"\u3044\u3044\u3048(&N)", L"\u30AD\u30E3\u30F3\u30BB\u30EB"},
         {L"OK"}},
        // No catalogue: what the Japanese one said is gone again.
        {QLocale(QLocale::Esperanto), false, {L"&Yes", L"&No", L"Cancel"}, {L"OK"}},
        {QLocale(QLocale::English, QLocale::UnitedStates),
         true,
         {L"&Yes", L"&No", L"Cancel"},
         {L"OK"}},
    };
    for (const Case& c : cases) {
        lumo::test::resetHooks();
        lumo::test::pumpMessages(); // the Qt application
        EXPECT_EQ(lumo::installQtTranslations(c.locale), c.translated)
            << c.locale.name().toStdString();
        lumo::test::answerNextMessageBox(IDYES);
        EXPECT_EQ(MessageBox(nullptr, L"続けますか", L"確認", MB_YESNOCANCEL), IDYES);
        EXPECT_EQ(MessageBox(nullptr, L"終わりました", L"確認", MB_OK), IDOK);
        ASSERT_EQ(lumo::test::messageBoxes().size(), 2u);
        EXPECT_EQ(lumo::test::messageBoxes()[0].buttons, c.yesNoCancel)
            << c.locale.name().toStdString();
        EXPECT_EQ(lumo::test::messageBoxes()[1].buttons, c.ok) << c.locale.name().toStdString();
    }
}

} // namespace
