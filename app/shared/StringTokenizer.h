// Splits a text into tokens at any of a set of delimiter bytes.
#pragma once

#include "afx.h"

#include <bitset>

class CStringTokenizer {
public:
    CStringTokenizer(const char* text, const char* delimiters);
    // The next run of non-delimiters; false at the end of the text.
    bool NextToken(CString& token);

private:
    CString m_text;
    std::bitset<256> m_delimiters;
    int m_position = 0;
};
