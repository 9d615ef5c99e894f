#include "shared/StringTokenizer.h"

CStringTokenizer::CStringTokenizer(const char* text, const char* delimiters) : m_text(text) {
    for (const char* d = delimiters; d && *d; ++d) m_delimiters.set((unsigned char)*d);
}

bool CStringTokenizer::NextToken(CString& token) {
    int length = m_text.GetLength();
    while (m_position < length && m_delimiters.test((unsigned char)m_text[m_position])) ++m_position;
    if (m_position >= length) return false;
    int start = m_position;
    while (m_position < length && !m_delimiters.test((unsigned char)m_text[m_position])) ++m_position;
    token = m_text.Mid(start, m_position - start);
    return true;
}
