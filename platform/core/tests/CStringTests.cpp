#include "platform/core/CString.h"

#include <gtest/gtest.h>

namespace {

TEST(CString, SubstringsClampTheirArguments) {
    CString s(L"abcdef");
    EXPECT_EQ(s.Left(2), L"ab");
    EXPECT_EQ(s.Left(99), L"abcdef");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Right(2), L"ef");
    EXPECT_EQ(s.Mid(4), L"ef");
    EXPECT_EQ(s.Mid(4, 10), L"ef");
    EXPECT_EQ(s.Mid(10), L"");
    EXPECT_EQ(s.Find(L'c'), 2);
    EXPECT_EQ(s.Find(L"de", 1), 3);
    EXPECT_EQ(s.Find(L'z'), -1);
    EXPECT_EQ(CString(L"a/b/c").ReverseFind(L'/'), 3);
}

TEST(CString, FormatGrowsForLongResults) {
    CString s;
    s.Format(L"%d,%d", 12, -3);
    EXPECT_EQ(s, L"12,-3");
    std::wstring longText(5000, L'\u3042');
    s.Format(L"[%ls]", longText.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
}

} // namespace
