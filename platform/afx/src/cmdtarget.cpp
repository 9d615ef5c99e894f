#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry) {
            if (entry->nMessage != message || entry->nCode != code) continue;
            if (message == WM_COMMAND || message == WM_NOTIFY) {
                if (id < entry->nID || id > entry->nLastID) continue;
            }
            return entry;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra) {
    if (HIWORD((UINT)nCode) == WM_NOTIFY && (UINT)nCode != CN_UPDATE_COMMAND_UI) {
        auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
        const AFX_MSGMAP_ENTRY* handler = FindEntry(WM_NOTIFY, LOWORD((UINT)nCode), nID);
        if (!handler || !notify || !notify->pNMHDR) return false;
        AFX_MSGCALL call = {WM_NOTIFY, nID, (LPARAM)notify->pNMHDR, nullptr, 0};
        if (!handler->pfn(this, call)) return false;
        if (notify->pResult) *notify->pResult = call.result;
        return true;
    }
    const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_COMMAND, (UINT)nCode, nID);
    if (!entry) return false;
    if ((UINT)nCode == CN_COMMAND && pExtra) {
        static_cast<AFX_CMDHANDLERINFO*>(pExtra)->pTarget = this;  // probe only
        return true;
    }
    AFX_MSGCALL call = {WM_COMMAND, nID, 0, pExtra, 0};
    if ((UINT)nCode == CN_UPDATE_COMMAND_UI && pExtra) static_cast<CCmdUI*>(pExtra)->m_bEnableChanged = false;
    return entry->pfn(this, call);
}

// ---------------------------------------------------------------------------------------------
// Reference counting and interface maps.

const CCmdTarget::AFX_INTERFACEMAP* CCmdTarget::GetThisInterfaceMap() {
    static const AFX_INTERFACEMAP_ENTRY entries[] = {{nullptr, 0}};
    static const AFX_INTERFACEMAP map = {nullptr, entries};
    return &map;
}

const CCmdTarget::AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const {
    return GetThisInterfaceMap();
}

ULONG CCmdTarget::InternalAddRef() {
    return (ULONG)::InterlockedIncrement(&m_dwRef);
}

ULONG CCmdTarget::InternalRelease() {
    LONG count = ::InterlockedDecrement(&m_dwRef);
    if (count == 0) OnFinalRelease();
    return (ULONG)count;
}

void CCmdTarget::OnFinalRelease() {
    delete this;
}

HRESULT CCmdTarget::InternalQueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    const AFX_INTERFACEMAP_ENTRY* first = nullptr;
    for (const AFX_INTERFACEMAP* map = GetInterfaceMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_INTERFACEMAP_ENTRY* entry = map->pEntry; entry->piid; ++entry) {
            if (!first) first = entry;
            if (::IsEqualIID(*entry->piid, iid)) {
                *object = reinterpret_cast<BYTE*>(this) + entry->offset;
                InternalAddRef();
                return S_OK;
            }
        }
    }
    // IUnknown: the first interface of the map.
    if (first && ::IsEqualIID(iid, IID_IUnknown)) {
        *object = reinterpret_cast<BYTE*>(this) + first->offset;
        InternalAddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

// ---------------------------------------------------------------------------------------------
// CCmdUI.

void CCmdUI::Enable(bool on) {
    if (m_hMenu) {
        ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        m_pOther->EnableWindow(on);
    }
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int check) {
    if (m_hMenu) {
        ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther) {
        m_pOther->SendMessage(BM_SETCHECK, check);
    }
}

void CCmdUI::SetText(const char* text) {
    if (m_hMenu) {
        std::wstring wide = CString(text).Wide();
        MENUITEMINFOW info = {sizeof info};
        info.fMask = MIIM_STRING;
        info.dwTypeData = &wide[0];
        ::SetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &info);
    } else if (m_pOther) {
        m_pOther->SetWindowText(text);
    }
}

bool CCmdUI::DoUpdate(CCmdTarget* target, bool disableIfNoHandler) {
    m_bEnableChanged = false;
    // Items without a command (a submenu, a separator) are left as they are.
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return true;
    if (target->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this)) {
        if (m_bEnableChanged) return true;
    }
    // No handler set the state: enabled when the command itself is handled (a probe that runs
    // nothing: CN_COMMAND with handler information).
    AFX_CMDHANDLERINFO info = {};
    bool handled = target->OnCmdMsg(m_nID, (int)CN_COMMAND, &info);
    if (handled || disableIfNoHandler) Enable(handled);
    return handled;
}
