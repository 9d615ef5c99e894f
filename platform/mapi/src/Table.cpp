#include "Table.h"

#include <mapicode.h>
#include <mapix.h>
#include <mapiutil.h>

#include <cstring>

namespace mapiprovider {

CMapiTable::CMapiTable(std::wstring name, std::vector<CTableRow> rows, std::vector<ULONG> columns, bool restrictable)
    : CMapiObject<IMAPITable>({&IID_IMAPITable}),
      m_name(std::move(name)),
      m_rows(std::move(rows)),
      m_columns(std::move(columns)),
      m_restrictable(restrictable) {
    for (size_t i = 0; i < m_rows.size(); ++i) m_view.push_back(i);
}

STDMETHODIMP CMapiTable::GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) {
    if (lppMAPIError) *lppMAPIError = nullptr;
    return S_OK;
}

STDMETHODIMP CMapiTable::Advise(ULONG, LPMAPIADVISESINK, ULONG* connection) {
    if (connection) *connection = 0;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CMapiTable::Unadvise(ULONG) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CMapiTable::GetStatus(ULONG* status, ULONG* type) {
    if (!status || !type) return MAPI_E_INVALID_PARAMETER;
    *status = TBLSTAT_COMPLETE;
    *type = TBLTYPE_SNAPSHOT;
    return S_OK;
}

STDMETHODIMP CMapiTable::SetColumns(LPSPropTagArray tags, ULONG) {
    if (!tags || tags->cValues == 0) return MAPI_E_INVALID_PARAMETER;
    m_columns.assign(tags->aulPropTag, tags->aulPropTag + tags->cValues);
    return S_OK;
}

STDMETHODIMP CMapiTable::QueryColumns(ULONG, LPSPropTagArray* tags) {
    if (!tags) return MAPI_E_INVALID_PARAMETER;
    *tags = nullptr;
    SPropTagArray* array = nullptr;
    HRESULT hr = MAPIAllocateBuffer(static_cast<ULONG>(CbNewSPropTagArray(m_columns.size())), reinterpret_cast<void**>(&array));
    if (FAILED(hr)) return hr;
    array->cValues = static_cast<ULONG>(m_columns.size());
    for (size_t i = 0; i < m_columns.size(); ++i) array->aulPropTag[i] = m_columns[i];
    *tags = array;
    return S_OK;
}

STDMETHODIMP CMapiTable::GetRowCount(ULONG, ULONG* count) {
    if (!count) return MAPI_E_INVALID_PARAMETER;
    *count = static_cast<ULONG>(m_view.size());
    return S_OK;
}

STDMETHODIMP CMapiTable::SeekRow(BOOKMARK origin, LONG rowCount, LONG* sought) {
    LONG start = 0;
    if (origin == BOOKMARK_BEGINNING)
        start = 0;
    else if (origin == BOOKMARK_CURRENT)
        start = static_cast<LONG>(m_cursor);
    else if (origin == BOOKMARK_END)
        start = static_cast<LONG>(m_view.size());
    else
        return MAPI_E_INVALID_BOOKMARK;
    LONG target = start + rowCount;
    if (target < 0) target = 0;
    if (target > static_cast<LONG>(m_view.size())) target = static_cast<LONG>(m_view.size());
    m_cursor = static_cast<size_t>(target);
    if (sought) *sought = target - start;
    return S_OK;
}

STDMETHODIMP CMapiTable::SeekRowApprox(ULONG numerator, ULONG denominator) {
    if (denominator == 0) return MAPI_E_INVALID_PARAMETER;
    m_cursor = static_cast<size_t>(static_cast<ULONGLONG>(m_view.size()) * numerator / denominator);
    if (m_cursor > m_view.size()) m_cursor = m_view.size();
    return S_OK;
}

STDMETHODIMP CMapiTable::QueryPosition(ULONG* row, ULONG* numerator, ULONG* denominator) {
    if (!row || !numerator || !denominator) return MAPI_E_INVALID_PARAMETER;
    *row = static_cast<ULONG>(m_cursor);
    *numerator = static_cast<ULONG>(m_cursor);
    *denominator = static_cast<ULONG>(m_view.size());
    return S_OK;
}

STDMETHODIMP CMapiTable::FindRow(LPSRestriction, BOOKMARK, ULONG) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CMapiTable::Restrict(LPSRestriction restriction, ULONG) {
    TarvockMapiCounters& counters = Counters();
    ++counters.restrictCalls;
    counters.lastRestrictionType = restriction ? restriction->rt : 0;
    counters.lastRestrictionTag = 0;
    if (restriction) {
        if (restriction->rt == RES_EXIST) counters.lastRestrictionTag = restriction->res.resExist.ulPropTag;
        if (restriction->rt == RES_PROPERTY) counters.lastRestrictionTag = restriction->res.resProperty.ulPropTag;
        if (restriction->rt == RES_CONTENT) counters.lastRestrictionTag = restriction->res.resContent.ulPropTag;
    }
    std::vector<size_t> view;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        bool meets = true;
        if (restriction) {
            if (!m_restrictable) return MAPI_E_TOO_COMPLEX;
            HRESULT hr = Meets(*restriction, m_rows[i], &meets);
            if (FAILED(hr)) return hr;
        }
        if (meets) view.push_back(i);
    }
    m_view = std::move(view);
    m_cursor = 0;
    return S_OK;
}

HRESULT CMapiTable::Meets(const SRestriction& restriction, const CTableRow& row, bool* meets) const {
    switch (restriction.rt) {
    case RES_EXIST:
        *meets = row.full.Has(PROP_ID(restriction.res.resExist.ulPropTag));
        return S_OK;
    case RES_NOT: {
        if (!restriction.res.resNot.lpRes) return MAPI_E_INVALID_PARAMETER;
        HRESULT hr = Meets(*restriction.res.resNot.lpRes, row, meets);
        *meets = !*meets;
        return hr;
    }
    case RES_AND:
    case RES_OR: {
        const bool isAnd = restriction.rt == RES_AND;
        const ULONG count = isAnd ? restriction.res.resAnd.cRes : restriction.res.resOr.cRes;
        const SRestriction* parts = isAnd ? restriction.res.resAnd.lpRes : restriction.res.resOr.lpRes;
        *meets = isAnd;
        for (ULONG i = 0; i < count; ++i) {
            bool part = false;
            HRESULT hr = Meets(parts[i], row, &part);
            if (FAILED(hr)) return hr;
            if (isAnd && !part) *meets = false;
            if (!isAnd && part) *meets = true;
        }
        return S_OK;
    }
    default:
        return MAPI_E_TOO_COMPLEX;
    }
}

STDMETHODIMP CMapiTable::CreateBookmark(BOOKMARK* position) {
    if (position) *position = 0;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CMapiTable::FreeBookmark(BOOKMARK) {
    return S_OK;
}

STDMETHODIMP CMapiTable::SortTable(LPSSortOrderSet, ULONG) {
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CMapiTable::QuerySortOrder(LPSSortOrderSet* order) {
    if (order) *order = nullptr;
    return MAPI_E_NO_SUPPORT;
}

HRESULT CMapiTable::MakeRow(const CTableRow& row, SRow* out) const {
    SPropValue* values = nullptr;
    HRESULT hr = MAPIAllocateBuffer(static_cast<ULONG>(sizeof(SPropValue) * (m_columns.empty() ? 1 : m_columns.size())),
                                    reinterpret_cast<void**>(&values));
    if (FAILED(hr)) return hr;
    for (size_t c = 0; c < m_columns.size() && SUCCEEDED(hr); ++c) row.shown.Fill(m_columns[c], 0, values, &values[c], &hr);
    if (FAILED(hr)) {
        MAPIFreeBuffer(values);
        return hr;
    }
    out->ulAdrEntryPad = 0;
    out->cValues = static_cast<ULONG>(m_columns.size());
    out->lpProps = values;
    return S_OK;
}

STDMETHODIMP CMapiTable::QueryRows(LONG rowCount, ULONG flags, LPSRowSet* rows) {
    ++Counters().queryRowsCalls;
    if (!rows) return MAPI_E_INVALID_PARAMETER;
    *rows = nullptr;
    if (rowCount == 0) return MAPI_E_INVALID_PARAMETER;
    if (rowCount < 0) return MAPI_E_NO_SUPPORT;
    HRESULT hr = InjectedFailure(L"QueryRows", m_name);
    if (FAILED(hr)) return hr;

    const size_t available = m_view.size() - m_cursor;
    const size_t n = static_cast<size_t>(rowCount) < available ? static_cast<size_t>(rowCount) : available;
    SRowSet* set = nullptr;
    hr = MAPIAllocateBuffer(static_cast<ULONG>(CbNewSRowSet(n ? n : 1)), reinterpret_cast<void**>(&set));
    if (FAILED(hr)) return hr;
    set->cRows = 0;
    for (size_t i = 0; i < n; ++i) {
        hr = MakeRow(m_rows[m_view[m_cursor + i]], &set->aRow[i]);
        if (FAILED(hr)) {
            FreeProws(set);
            return hr;
        }
        set->cRows = static_cast<ULONG>(i + 1);
    }
    if (!(flags & TBL_NOADVANCE)) m_cursor += n;
    *rows = set;
    return S_OK;
}

STDMETHODIMP CMapiTable::Abort() {
    return S_OK;
}

STDMETHODIMP CMapiTable::ExpandRow(ULONG, LPBYTE, ULONG, ULONG, LPSRowSet* rows, ULONG* moreRows) {
    if (rows) *rows = nullptr;
    if (moreRows) *moreRows = 0;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CMapiTable::CollapseRow(ULONG, LPBYTE, ULONG, ULONG* rowCount) {
    if (rowCount) *rowCount = 0;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CMapiTable::WaitForCompletion(ULONG, ULONG, ULONG* status) {
    if (status) *status = TBLSTAT_COMPLETE;
    return S_OK;
}

STDMETHODIMP CMapiTable::GetCollapseState(ULONG, ULONG, LPBYTE, ULONG* size, LPBYTE* state) {
    if (size) *size = 0;
    if (state) *state = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP CMapiTable::SetCollapseState(ULONG, ULONG, LPBYTE, BOOKMARK* location) {
    if (location) *location = 0;
    return MAPI_E_NO_SUPPORT;
}

}  // namespace mapiprovider
