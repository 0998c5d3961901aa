#include "TextEncoding.h"

#include "platform/core/CodePage.h"
#include "platform/core/Utf8.h"

#include <algorithm>

namespace yomite {
namespace {

constexpr unsigned char MARK[UTF8_BOM_LENGTH] = {0xEF, 0xBB, 0xBF};

bool hasMultiByte(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
}

} // namespace

EncodingDetector::EncodingDetector() : m_configured(lumo::codePageConfigured()) {}

bool EncodingDetector::feed(std::string_view bytes) {
    if (decided())
        return false;
    examineMark(bytes);
    if (decided())
        return false;
    const size_t lastLineFeed = bytes.rfind('\n');
    if (lastLineFeed == std::string_view::npos) {
        m_partialLine.append(bytes);
        return true;
    }
    if (m_partialLine.empty()) {
        examineLines(bytes.substr(0, lastLineFeed + 1));
    } else {
        m_partialLine.append(bytes.substr(0, lastLineFeed + 1));
        examineLines(m_partialLine);
    }
    m_partialLine.assign(bytes.substr(lastLineFeed + 1));
    return !decided();
}

void EncodingDetector::examineMark(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size() && !m_markRuledOut && !m_hasMark; ++i) {
        if (static_cast<unsigned char>(bytes[i]) != MARK[m_markMatched]) {
            m_markRuledOut = true;
            return;
        }
        m_hasMark = ++m_markMatched == UTF8_BOM_LENGTH;
    }
}

void EncodingDetector::examineLines(std::string_view lines) {
    m_malformed = !lumo::isValidUtf8(lines);
    m_multiByte = m_multiByte || (!m_malformed && hasMultiByte(lines));
}

TextEncoding EncodingDetector::result() const {
    if (m_configured)
        return TextEncoding::SystemCodePage;
    if (m_hasMark)
        return TextEncoding::Utf8;
    // The last line, without a line feed of its own; a character cut off at
    // the end of the book is as malformed as a bad byte.
    if (m_malformed || !lumo::isValidUtf8(m_partialLine))
        return TextEncoding::SystemCodePage;
    return m_multiByte || hasMultiByte(m_partialLine) ? TextEncoding::Utf8
                                                      : TextEncoding::SystemCodePage;
}

TextEncoding detectEncoding(std::string_view book, std::size_t& markLength) {
    EncodingDetector detector;
    detector.feed(book);
    markLength = detector.markLength();
    return detector.result();
}

} // namespace yomite
