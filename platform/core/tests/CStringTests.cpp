#include "platform/core/CString.h"

#include <gtest/gtest.h>

namespace {

TEST(CString, MidClampsAndReverseFindFindsTheLast) {
    CString s(L"abcdef");
    EXPECT_EQ(s.Mid(4), L"ef");
    EXPECT_EQ(s.Mid(-1), L"abcdef");
    EXPECT_EQ(s.Mid(10), L"");
    EXPECT_EQ(CString(L"a/b/c").ReverseFind(L'/'), 3);
    EXPECT_EQ(s.ReverseFind(L'/'), -1);
}

} // namespace
