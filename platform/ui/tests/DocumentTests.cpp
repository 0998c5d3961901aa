#include "platform/ui/Document.h"
#include "platform/ui/WinApp.h"

#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

class CTestDocument : public CDocument {
    DECLARE_DYNCREATE(CTestDocument)
public:
    int deleted = 0;
    void DeleteContents() override { ++deleted; }
};
IMPLEMENT_DYNCREATE(CTestDocument, CDocument)

class CDerivedDocument : public CTestDocument {
    DECLARE_DYNCREATE(CDerivedDocument)
};
IMPLEMENT_DYNCREATE(CDerivedDocument, CTestDocument)

TEST(RuntimeClass, CreatesObjectsByClassRecordAndTestsKinds) {
    CObject* object = RUNTIME_CLASS(CDerivedDocument)->CreateObject();
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CDerivedDocument)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CTestDocument)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CDocument)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(object->IsKindOf(RUNTIME_CLASS(CWinApp)));
    EXPECT_FALSE(object->IsKindOf(nullptr));
    EXPECT_STREQ(object->GetRuntimeClass()->m_lpszClassName, "CDerivedDocument");
    delete object;
}

TEST(RuntimeClass, ClassesWithoutDynamicCreationGiveNoObject) {
    EXPECT_EQ(RUNTIME_CLASS(CDocument)->CreateObject(), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CTestDocument"), RUNTIME_CLASS(CTestDocument));
    EXPECT_EQ(CRuntimeClass::FromName("NoSuchClass"), nullptr);
}

TEST(Document, WorksWithoutWindowOrApplication) {
    EXPECT_EQ(AfxGetApp(), nullptr);
    CTestDocument document;
    document.m_bAutoDelete = FALSE;
    EXPECT_TRUE(document.OnNewDocument());
    EXPECT_EQ(document.deleted, 1);
    document.SetPathName(L"/books/a/readme.txt");
    EXPECT_EQ(document.GetPathName(), L"/books/a/readme.txt");
    EXPECT_EQ(document.GetTitle(), L"readme.txt");
    document.UpdateAllViews(nullptr);
}

TEST(Document, OpeningAMissingFileFailsAndAReadableOneSucceeds) {
    lumo::test::TempDir dir;
    CTestDocument document;
    document.m_bAutoDelete = FALSE;
    EXPECT_FALSE(document.OnOpenDocument((dir.path() / "missing.txt").wstring().c_str()));
    EXPECT_FALSE(document.OnOpenDocument(L""));
    EXPECT_FALSE(document.OnOpenDocument(nullptr));
    dir.write("book.txt", "text");
    const std::wstring path = (dir / "book.txt").wstring();
    EXPECT_TRUE(document.OnOpenDocument(path.c_str()));
}

class CProfileApp : public CWinApp {
public:
    CProfileApp() : CWinApp(L"LumoCore") {}
};

TEST(WinApp, ProfileReadsAndWritesUnderTheRegistryKey) {
    lumo::test::TempDir dir;
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    {
        CProfileApp app;
        ASSERT_EQ(AfxGetApp(), &app);
        app.SetRegistryKey(L"lumoCoreComponent");
        EXPECT_EQ(app.GetProfileString(L"lumo.main", L"lastDirectory", L"/"), L"/");
        EXPECT_EQ(app.GetProfileString(L"lumo.main", L"lastDirectory"), L"");
        EXPECT_TRUE(app.WriteProfileString(L"lumo.main", L"lastDirectory", L"/books/a.txt"));
        EXPECT_EQ(app.GetProfileString(L"lumo.main", L"lastDirectory", L"/"), L"/books/a.txt");
        EXPECT_EQ(app.GetProfileString(nullptr, L"x", L"d"), L"d");
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    // A second application object reads what the first one wrote.
    CProfileApp again;
    again.SetRegistryKey(L"lumoCoreComponent");
    EXPECT_EQ(again.GetProfileString(L"lumo.main", L"lastDirectory", L"/"), L"/books/a.txt");
    std::ifstream file(dir / "lumoCoreComponent/LumoCore.ini");
    EXPECT_TRUE(file.good());
    unsetenv("XDG_CONFIG_HOME");
}

} // namespace
