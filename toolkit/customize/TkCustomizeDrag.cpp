#include "customize/TkCustomizeDrag.h"

#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"
#include "commandbars/TkResourceHandles.h"
#include "customize/TkCustomizeSheet.h"
#include "painters/TkSystemData.h"
#include "res/TkResource.h"


namespace {

// How long the loop waits for input before it asks whether the button is still held.
const DWORD kButtonPollMs = 100;

POINT ToClient(HWND window, POINT screen) {
    ::ScreenToClient(window, &screen);
    return screen;
}

}  // namespace

CTkControlDragSource::CTkControlDragSource(CTkCommandBars* manager) : m_pManager(manager) {}

HCURSOR CTkControlDragSource::Cursor(int index) const {
    // Loaded with the first drag: most managers never see one.
    if (!m_bCursorsLoaded) {
        m_bCursorsLoaded = true;
        CTkSystemData::Instance();  // sets the toolkit's resource handles
        const UINT ids[3] = {IDC_TK_CURSOR_COPY, IDC_TK_CURSOR_MOVE, IDC_TK_CURSOR_NO_DROP};
        for (int i = 0; i < 3; ++i)
            m_hCursors[i] = (HCURSOR)::LoadImageW(GetToolkitResourceHandle(), MAKEINTRESOURCEW(ids[i]), IMAGE_CURSOR,
                                                  0, 0, LR_DEFAULTSIZE);
    }
    return m_hCursors[index];
}

CTkControlDragSource::~CTkControlDragSource() {
    // Bars that outlive the manager no longer name this source.
    while (m_pLastTarget) RemoveTarget(m_pLastTarget);
    for (HCURSOR cursor : m_hCursors)
        if (cursor) ::DestroyCursor(cursor);
}

// The targets are linked through the bars themselves: a window's creation allocates nothing.
void CTkControlDragSource::AddTarget(CTkCommandBar* bar) {
    if (!bar || bar->m_pDropSource == this) return;
    if (bar->m_pDropSource) bar->m_pDropSource->RemoveTarget(bar);
    bar->m_pDropSource = this;
    bar->m_pPrevDropTarget = m_pLastTarget;
    bar->m_pNextDropTarget = nullptr;
    if (m_pLastTarget)
        m_pLastTarget->m_pNextDropTarget = bar;
    else
        m_pFirstTarget = bar;
    m_pLastTarget = bar;
}

void CTkControlDragSource::RemoveTarget(CTkCommandBar* bar) {
    if (!bar || bar->m_pDropSource != this) return;
    (bar->m_pPrevDropTarget ? bar->m_pPrevDropTarget->m_pNextDropTarget : m_pFirstTarget) = bar->m_pNextDropTarget;
    (bar->m_pNextDropTarget ? bar->m_pNextDropTarget->m_pPrevDropTarget : m_pLastTarget) = bar->m_pPrevDropTarget;
    bar->m_pDropSource = nullptr;
    bar->m_pPrevDropTarget = bar->m_pNextDropTarget = nullptr;
    // A popup that closes under the cursor stops being the target.
    if (m_pTarget == bar) m_pTarget = nullptr;
}

std::vector<CTkCommandBar*> CTkControlDragSource::GetTargets() const {
    std::vector<CTkCommandBar*> targets;
    for (CTkCommandBar* bar = m_pFirstTarget; bar; bar = bar->m_pNextDropTarget) targets.push_back(bar);
    return targets;
}

CTkCustomizeSheet* CTkControlDragSource::GetCustomizeSheet() const {
    return dynamic_cast<CTkCustomizeSheet*>(m_pManager->GetCustomizeSheet());
}

HWND CTkControlDragSource::CaptureWindow() const {
    if (CTkCustomizeSheet* sheet = GetCustomizeSheet())
        if (sheet->GetSafeHwnd()) return sheet->GetSafeHwnd();
    CWnd* frame = m_pManager->GetSite();
    return frame ? frame->GetSafeHwnd() : nullptr;
}

HCURSOR CTkControlDragSource::GetRuleCursor() const {
    if (!m_pTarget) return GetNoDropCursor();
    return !m_bMove || m_bForceCopy ? GetCopyCursor() : GetMoveCursor();
}

void CTkControlDragSource::UpdateCursor() const {
    HCURSOR cursor = GetRuleCursor();
    ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, (LPCWSTR)(m_pTarget ? IDC_ARROW : IDC_NO)));
}

void CTkControlDragSource::StartAt(CTkControl* control, bool forceCopy, POINT screen) {
    m_pDragged = control;
    m_pTarget = nullptr;
    m_bMove = false;
    m_bForceCopy = forceCopy;
    m_ptStart = screen;
}

void CTkControlDragSource::SetMove(bool move) {
    if (m_bMove == move) return;
    m_bMove = move;
    UpdateCursor();
}

void CTkControlDragSource::DragOver(POINT screen) {
    CTkCommandBar* hit = nullptr;
    for (CTkCommandBar* bar = m_pLastTarget; bar && !hit; bar = bar->m_pPrevDropTarget) {
        HWND window = bar->GetSafeHwnd();
        if (!window || !::IsWindowVisible(window)) continue;
        RECT rect;
        ::GetWindowRect(window, &rect);
        if (::PtInRect(&rect, screen)) hit = bar;
    }
    if (hit && hit == m_pTarget) {
        CHoldRef hold(hit);
        hit->OnCustomizeDragOver(m_pDragged, ToClient(hit->GetSafeHwnd(), screen));
    } else {
        if (CTkCommandBar* left = m_pTarget) {
            m_pTarget = nullptr;
            left->OnCustomizeDragLeave();
        }
        if (hit) {
            CHoldRef hold(hit);
            if (hit->OnCustomizeDragEnter(m_pDragged, ToClient(hit->GetSafeHwnd(), screen)) && hit->GetSafeHwnd())
                m_pTarget = hit;
        }
    }
    UpdateCursor();
}

int CTkControlDragSource::Release(POINT screen, bool movedOnce) {
    CTkCommandBar* target = m_pTarget;
    if (!target || !target->GetSafeHwnd()) return movedOnce ? kReleasedOutside : kCancelled;
    const int result = m_bMove && !m_bForceCopy ? kMoved : kCopied;
    CHoldRef hold(target);
    const int dropped = target->OnCustomizeDrop(m_pDragged, result, ToClient(target->GetSafeHwnd(), screen),
                                                ToClient(target->GetSafeHwnd(), m_ptStart));
    if (m_pTarget == target) {
        m_pTarget = nullptr;
        target->OnCustomizeDragLeave();
    }
    return dropped;
}

void CTkControlDragSource::Finish() {
    if (CTkCommandBar* left = m_pTarget) {
        m_pTarget = nullptr;
        CHoldRef hold(left);
        left->OnCustomizeDragLeave();
    }
    m_pDragged = nullptr;
}

int CTkControlDragSource::BeginDrag(CTkControl* control, bool forceCopy) {
    HWND capture = CaptureWindow();
    if (!control || !capture) return kCancelled;
    CHoldRef holdControl(control), holdManager(m_pManager);
    POINT start;
    ::GetCursorPos(&start);
    StartAt(control, forceCopy, start);
    ::SetCapture(capture);
    // Every way out of the loop but a release (capture lost, quit, Esc, right button) cancels.
    bool firstMove = true, movedOnce = false, released = false;
    POINT releasedAt = start;
    while (::GetCapture() == capture) {
        MSG msg;
        bool quit = false;
        while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {  // a paint-only peek still returns WM_QUIT
                quit = true;
                break;
            }
            ::DispatchMessageW(&msg);
        }
        if (!quit && !::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Nothing to do: a button let go where no message reports it ends the drag too.
            if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, kButtonPollMs, QS_ALLINPUT) == WAIT_TIMEOUT &&
                ::GetAsyncKeyState(VK_LBUTTON) >= 0 && ::GetCapture() == capture) {
                ::GetCursorPos(&releasedAt);
                released = true;
                break;
            }
            continue;
        }
        if (quit || msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (::GetCapture() != capture) break;
        if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
            if (msg.wParam == VK_CONTROL) SetMove(msg.message == WM_KEYUP);
            continue;
        }
        if (msg.message == WM_MOUSEMOVE) {
            if (firstMove) {
                firstMove = false;
                if (CTkCommandBar* own = control->GetParentBar())
                    if (own->GetSafeHwnd()) control->CustomizeDragOver(control, ToClient(own->GetSafeHwnd(), start));
            }
            POINT screen = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
            ::ClientToScreen(msg.hwnd, &screen);
            m_bMove = ::GetKeyState(VK_CONTROL) >= 0;
            DragOver(screen);
            movedOnce = true;
            if (::GetKeyState(VK_LBUTTON) >= 0) {
                releasedAt = screen;
                released = true;
                break;
            }
            continue;
        }
        if (msg.message == WM_LBUTTONUP) {
            releasedAt = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
            ::ClientToScreen(msg.hwnd, &releasedAt);
            released = true;
            break;
        }
        if (msg.message == WM_RBUTTONDOWN) break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    const int result = released ? Release(releasedAt, movedOnce) : kCancelled;
    Finish();
    if (::GetCapture() == capture) ::ReleaseCapture();
    ::SetCursor(::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW));
    return result;
}

DWORD CTkControlDragSource::DoDragControl(CTkControl* control) {
    switch (BeginDrag(control, false)) {
    case kReleasedOutside:
    case kMoved:
        return DROPEFFECT_MOVE;
    case kCopied:
        return DROPEFFECT_COPY;
    default:
        return DROPEFFECT_NONE;
    }
}
