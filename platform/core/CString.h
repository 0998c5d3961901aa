#pragma once

#include "Export.h"

#include <string>

// The framework's string: a plain value type over std::wstring. Offsets and
// lengths count wchar_t.
class PLATFORM_API CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text ? text : L"") {}
    CString(const std::wstring& text) : m_text(text) {}
    CString(std::wstring&& text) : m_text(std::move(text)) {}
    CString(const wchar_t* text, int length) : m_text(text, text + length) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const wchar_t* GetString() const { return m_text.c_str(); }
    operator const wchar_t*() const { return m_text.c_str(); }
    const std::wstring& str() const { return m_text; }

    // The rest from `first` on (clamped to the string), as the framework's does.
    CString Mid(int first) const;
    // -1 when not found.
    int ReverseFind(wchar_t ch) const;

    CString& operator=(const wchar_t* text) {
        m_text = text ? text : L"";
        return *this;
    }
    CString& operator+=(const CString& other) {
        m_text += other.m_text;
        return *this;
    }
    CString& operator+=(const wchar_t* text) {
        m_text += text ? text : L"";
        return *this;
    }
    CString& operator+=(wchar_t ch) {
        m_text += ch;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) {
        return CString(a.m_text + b.m_text);
    }
    friend CString operator+(const CString& a, const wchar_t* b) {
        return CString(a.m_text + (b ? b : L""));
    }
    friend CString operator+(const wchar_t* a, const CString& b) {
        return CString((a ? a : L"") + b.m_text);
    }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_text == (b ? b : L""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

private:
    std::wstring m_text;
};
