// The parameters of the address book's recipient dialog as the mail programs open it: modal,
// select-only, resolving, with one well.
#pragma once

#include <windows.h>
#include <mapix.h>

#include <string>

namespace mapitest {

class CRecipientDialogParms {
public:
    CRecipientDialogParms(const char* caption, const char* wellTitle) : m_caption(caption), m_title(wellTitle) {
        m_titles[0] = &m_title[0];
        m_parms.ulFlags = DIALOG_MODAL | AB_SELECTONLY | AB_RESOLVE;
        m_parms.lpszCaption = reinterpret_cast<LPTSTR>(&m_caption[0]);
        m_parms.cDestFields = 1;
        m_parms.lppszDestTitles = reinterpret_cast<LPTSTR*>(m_titles);
    }
    CRecipientDialogParms(const CRecipientDialogParms&) = delete;
    CRecipientDialogParms& operator=(const CRecipientDialogParms&) = delete;

    ADRPARM* get() { return &m_parms; }

private:
    std::string m_caption;
    std::string m_title;
    LPSTR m_titles[1] = {};
    ADRPARM m_parms = {};
};

}  // namespace mapitest
