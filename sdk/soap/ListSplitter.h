// Splits a comma-separated list of identifiers: runs of commas count as one, empty items are
// dropped and nothing is trimmed. Each splitter keeps its own position, so lists may be split
// on any thread and one inside another.
#pragma once

#include <string>
#include <vector>

class CListSplitter {
public:
    explicit CListSplitter(const wchar_t* text) : m_text(text ? text : L"") {}
    // The next item into item; false when there is none left.
    bool Next(std::wstring& item);
    // Every item, in order.
    static std::vector<std::wstring> Split(const wchar_t* text);

private:
    std::wstring m_text;
    std::wstring::size_type m_position = 0;
};
