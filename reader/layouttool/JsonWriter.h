#pragma once

#include "platform/core/Utf8.h"

#include <cstdio>
#include <string>
#include <string_view>

// The little JSON the layout tool prints: UTF-8, built in one string.
namespace yomite {

class JsonWriter {
public:
    void raw(std::string_view text) { m_out += text; }
    void number(long long value) { m_out += std::to_string(value); }
    void boolean(bool value) { m_out += value ? "true" : "false"; }
    void string(std::wstring_view text) {
        m_out += '"';
        for (unsigned char c : lumo::toUtf8(text)) {
            switch (c) {
            case '"':
                m_out += "\\\"";
                break;
            case '\\':
                m_out += "\\\\";
                break;
            case '\n':
                m_out += "\\n";
                break;
            case '\r':
                m_out += "\\r";
                break;
            case '\t':
                m_out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    m_out += escape;
                } else {
                    m_out += static_cast<char>(c);
                }
            }
        }
        m_out += '"';
    }
    void key(const char* name) {
        m_out += '"';
        m_out += name;
        m_out += "\":";
    }
    const std::string& text() const { return m_out; }

private:
    std::string m_out;
};

} // namespace yomite
