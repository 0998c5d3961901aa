#include "CString.h"

#include <algorithm>
#include <cstdarg>
#include <cwchar>
#include <vector>

namespace {
size_t clampIndex(int value, size_t size) {
    if (value < 0)
        return 0;
    return std::min(static_cast<size_t>(value), size);
}
} // namespace

CString CString::Left(int count) const {
    return CString(m_text.substr(0, clampIndex(count, m_text.size())));
}

CString CString::Right(int count) const {
    size_t n = clampIndex(count, m_text.size());
    return CString(m_text.substr(m_text.size() - n));
}

CString CString::Mid(int first) const {
    return CString(m_text.substr(clampIndex(first, m_text.size())));
}

CString CString::Mid(int first, int count) const {
    size_t start = clampIndex(first, m_text.size());
    return CString(m_text.substr(start, clampIndex(count, m_text.size() - start)));
}

int CString::Find(wchar_t ch, int start) const {
    size_t at = m_text.find(ch, clampIndex(start, m_text.size()));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const wchar_t* sub, int start) const {
    size_t at = m_text.find(sub ? sub : L"", clampIndex(start, m_text.size()));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t ch) const {
    size_t at = m_text.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

void CString::Format(const wchar_t* format, ...) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        int written = std::vswprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (written >= 0 && static_cast<size_t>(written) < buffer.size()) {
            m_text.assign(buffer.data(), static_cast<size_t>(written));
            return;
        }
        // vswprintf reports truncation only as failure; grow until it fits.
        if (buffer.size() > (1u << 24)) {
            m_text.clear();
            return;
        }
        buffer.resize(buffer.size() * 4);
    }
}
