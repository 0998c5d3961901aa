#pragma once

#include "reader/document/DavaroDiroBook.h"
#include "reader/document/ReaderSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Books built in memory, and the layout settings put back after each test.
class BookTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_lineBoundary = 1;
        m_wordWrap = 1;
        m_scrollRange = 0;
        m_aozoraNotation = 0;
    }
    void TearDown() override { SetUp(); }

    // Three header lines (always page 0) followed by `body`.
    static CDavaroDiroBook bookWithBody(const std::vector<std::wstring>& body) {
        CDavaroDiroBook book;
        book.m_sourceLines = {L"title", L"author", L""};
        book.m_sourceLines.insert(book.m_sourceLines.end(), body.begin(), body.end());
        return book;
    }

    // The raw text of every display line after the header.
    static std::vector<std::wstring> bodyDisplayLines(const CDavaroDiroBook& book) {
        std::vector<std::wstring> lines;
        for (int k = 3; k + 1 < book.getLineStartCount(); ++k)
            lines.push_back(book.getDisplayLineText(k));
        return lines;
    }
};
