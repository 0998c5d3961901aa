#include "OptionStoreFixture.h"

#include "reader/document/DavaroDiroDocument.h"

#include "platform/ui/WinApp.h"

#include <cstdlib>
#include <memory>

namespace {

class ReaderDocument : public OptionStoreTest {
protected:
    // Three header lines and twelve paragraphs of 20 kana (five display lines
    // each at 8 columns); display line 22 starts at {6, 16}.
    std::wstring writeBook(const char* name = "book.txt") {
        std::string text = "t\r\na\r\n\r\n";
        for (int i = 0; i < 12; ++i) {
            for (int k = 0; k < 20; ++k)
                text += "\x82\xA0"; // あ
            text += "\r\n";
        }
        m_dir.write(name, text);
        return (m_dir / name).wstring();
    }
    static std::unique_ptr<CDavaroDiroDocument> newDocument() {
        std::unique_ptr<CDavaroDiroDocument> document(
            static_cast<CDavaroDiroDocument*>(RUNTIME_CLASS(CDavaroDiroDocument)->CreateObject()));
        document->m_bAutoDelete = FALSE;
        return document;
    }
};

TEST_F(ReaderDocument, IsCreatedByItsClassRecordEmpty) {
    std::unique_ptr<CObject> object(CRuntimeClass::FromName("CDavaroDiroDocument")->CreateObject());
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CDocument)));
    auto* document = static_cast<CDavaroDiroDocument*>(object.get());
    EXPECT_TRUE(document->m_sourceLines.empty());
    EXPECT_EQ(document->getCurrentIndex(), 0);
    EXPECT_EQ(document->getPageCount(), -1);
}

TEST_F(ReaderDocument, OpensReadOnlyBooksAndFailsOnMissingOnes) {
    auto document = newDocument();
    EXPECT_TRUE(document->OnOpenDocument(nullptr));
    EXPECT_TRUE(document->m_sourceLines.empty());
    EXPECT_FALSE(document->OnOpenDocument((m_dir / "missing.txt").wstring().c_str()));
    EXPECT_EQ(document->GetPathName(), L"");

    const std::wstring path = writeBook();
    const std::string before = m_dir.read("book.txt");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    ASSERT_TRUE(document->OnOpenDocument(path.c_str()));
    EXPECT_EQ(document->GetPathName(), path);
    EXPECT_EQ(document->m_sourceLines.size(), 16u);
    EXPECT_TRUE(document->OnSaveDocument(path.c_str()));
    EXPECT_EQ(m_dir.read("book.txt"), before);
}

TEST_F(ReaderDocument, ClosingSavesThePositionAndReopeningRestoresIt) {
    const std::wstring path = writeBook();
    {
        auto document = newDocument();
        ASSERT_TRUE(document->OnOpenDocument(path.c_str()));
        ASSERT_TRUE(document->layout(8, 5));
        document->setCurrentIndex(22);
        document->OnCloseDocument();
        // Closing empties the document; a second close must not overwrite the
        // saved place with the beginning.
        document->OnCloseDocument();
    }
    EXPECT_EQ(option(L"position/" + path), L"6,16");
    restart();

    auto reopened = newDocument();
    ASSERT_TRUE(reopened->OnOpenDocument(path.c_str()));
    ASSERT_TRUE(reopened->layout(8, 5));
    ASSERT_TRUE(reopened->restoreReadingPosition());
    EXPECT_EQ(reopened->getCurrentIndex(), 22);
}

TEST_F(ReaderDocument, AutoSaveOffLeavesTheStoreAlone) {
    const std::wstring path = writeBook();
    CLumoPluginManager::getInstance()->writeOption(L"lumo.davarodiro.document", L"position/" + path,
                                                   L"4,0");
    m_autoSaveAtExit = 0;
    auto document = newDocument();
    ASSERT_TRUE(document->OnOpenDocument(path.c_str()));
    ASSERT_TRUE(document->layout(8, 5));
    EXPECT_FALSE(document->restoreReadingPosition());
    document->setCurrentIndex(10);
    document->OnCloseDocument();
    EXPECT_EQ(option(L"position/" + path), L"4,0");
}

TEST_F(ReaderDocument, OldProfileEntryOfTheApplicationIsUsedUntilTheNextClose) {
    const char* oldConfigHome = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfigHome = oldConfigHome ? oldConfigHome : "";
    setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
    const std::wstring path = writeBook();
    {
        CWinApp app(L"LumoCore");
        app.SetRegistryKey(L"lumoCoreComponent");
        ASSERT_TRUE(
            app.WriteProfileString(L"lumo.davarodiro.document\\position", path.c_str(), L"6,4"));

        auto document = newDocument();
        ASSERT_TRUE(document->OnOpenDocument(path.c_str()));
        ASSERT_TRUE(document->layout(8, 5));
        ASSERT_TRUE(document->restoreReadingPosition());
        EXPECT_EQ(document->getCurrentIndex(), 19); // {6, 4} starts display line 19
        document->OnCloseDocument();
        EXPECT_EQ(option(L"position/" + path), L"6,4");
    }
    if (oldConfigHome)
        setenv("XDG_CONFIG_HOME", savedConfigHome.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST_F(ReaderDocument, WithoutAnApplicationThereIsNoOldProfileEntry) {
    ASSERT_EQ(AfxGetApp(), nullptr);
    const std::wstring path = writeBook();
    auto document = newDocument();
    ASSERT_TRUE(document->OnOpenDocument(path.c_str()));
    ASSERT_TRUE(document->layout(8, 5));
    document->setCurrentIndex(7);
    EXPECT_TRUE(document->restoreReadingPosition());
    EXPECT_EQ(document->getCurrentIndex(), 0);
}

} // namespace
