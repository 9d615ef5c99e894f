// A MAPI table over a fixed list of rows: columns, a cursor, and restrictions on whether a
// property exists (combined with AND, OR and NOT); other restrictions are too complex.
#pragma once

#include <string>
#include <vector>

#include "MapiObject.h"

namespace mapiprovider {

struct CTableRow {
    CPropertyBag shown;  // the properties the table's columns can show
    CPropertyBag full;   // the whole object, which restrictions look at
};

class CMapiTable final : public CMapiObject<IMAPITable> {
public:
    // name: the book whose table this is (for injected failures); restrictable false makes
    // Restrict answer MAPI_E_TOO_COMPLEX.
    CMapiTable(std::wstring name, std::vector<CTableRow> rows, std::vector<ULONG> columns, bool restrictable);

    STDMETHOD(GetLastError)(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) override;
    STDMETHOD(Advise)(ULONG, LPMAPIADVISESINK, ULONG* connection) override;
    STDMETHOD(Unadvise)(ULONG) override;
    STDMETHOD(GetStatus)(ULONG* status, ULONG* type) override;
    STDMETHOD(SetColumns)(LPSPropTagArray tags, ULONG flags) override;
    STDMETHOD(QueryColumns)(ULONG flags, LPSPropTagArray* tags) override;
    STDMETHOD(GetRowCount)(ULONG flags, ULONG* count) override;
    STDMETHOD(SeekRow)(BOOKMARK origin, LONG rowCount, LONG* sought) override;
    STDMETHOD(SeekRowApprox)(ULONG numerator, ULONG denominator) override;
    STDMETHOD(QueryPosition)(ULONG* row, ULONG* numerator, ULONG* denominator) override;
    STDMETHOD(FindRow)(LPSRestriction, BOOKMARK, ULONG) override;
    STDMETHOD(Restrict)(LPSRestriction restriction, ULONG flags) override;
    STDMETHOD(CreateBookmark)(BOOKMARK* position) override;
    STDMETHOD(FreeBookmark)(BOOKMARK position) override;
    STDMETHOD(SortTable)(LPSSortOrderSet, ULONG) override;
    STDMETHOD(QuerySortOrder)(LPSSortOrderSet* order) override;
    STDMETHOD(QueryRows)(LONG rowCount, ULONG flags, LPSRowSet* rows) override;
    STDMETHOD(Abort)() override;
    STDMETHOD(ExpandRow)(ULONG, LPBYTE, ULONG, ULONG, LPSRowSet* rows, ULONG* moreRows) override;
    STDMETHOD(CollapseRow)(ULONG, LPBYTE, ULONG, ULONG* rowCount) override;
    STDMETHOD(WaitForCompletion)(ULONG, ULONG, ULONG* status) override;
    STDMETHOD(GetCollapseState)(ULONG, ULONG, LPBYTE, ULONG* size, LPBYTE* state) override;
    STDMETHOD(SetCollapseState)(ULONG, ULONG, LPBYTE, BOOKMARK* location) override;

private:
    // Whether the row meets the restriction; MAPI_E_TOO_COMPLEX for kinds not served.
    HRESULT Meets(const SRestriction& restriction, const CTableRow& row, bool* meets) const;
    HRESULT MakeRow(const CTableRow& row, SRow* out) const;

    std::wstring m_name;
    std::vector<CTableRow> m_rows;
    std::vector<ULONG> m_columns;
    bool m_restrictable;
    std::vector<size_t> m_view;  // the rows that meet the restriction, in order
    size_t m_cursor = 0;
};

}  // namespace mapiprovider
