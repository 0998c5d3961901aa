#include "CString.h"

#include <algorithm>

namespace {
size_t clampIndex(int value, size_t size) {
    if (value < 0)
        return 0;
    return std::min(static_cast<size_t>(value), size);
}
} // namespace

CString CString::Mid(int first) const {
    return CString(m_text.substr(clampIndex(first, m_text.size())));
}

int CString::ReverseFind(wchar_t ch) const {
    size_t at = m_text.rfind(ch);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}
