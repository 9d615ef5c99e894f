#include "ListSplitter.h"

namespace {
const wchar_t kSeparator = L',';
}

bool CListSplitter::Next(std::wstring& item) {
    const std::wstring::size_type start = m_text.find_first_not_of(kSeparator, m_position);
    if (start == std::wstring::npos) {
        m_position = m_text.size();
        return false;
    }
    std::wstring::size_type end = m_text.find(kSeparator, start);
    if (end == std::wstring::npos) end = m_text.size();
    item.assign(m_text, start, end - start);
    m_position = end;
    return true;
}

std::vector<std::wstring> CListSplitter::Split(const wchar_t* text) {
    CListSplitter splitter(text);
    std::vector<std::wstring> items;
    std::wstring item;
    while (splitter.Next(item)) items.push_back(item);
    return items;
}
