// The customise sheet's context menu of a control on a bar: the menu as a popup bar, the
// controls the sheet makes for its items (a name field, a palette of pictures, buttons that
// report to the sheet) and what its commands do to the selected control.
#include "customize/TkCustomizeSheet.h"

#include "commandbars/TkCommandBars.h"
#include "commandbars/TkHooks.h"
#include "commandbars/TkPopupBar.h"
#include "controls/TkControlEdit.h"
#include "editor/TkButtonImageClipboard.h"
#include "editor/TkButtonImageDlg.h"
#include "images/TkIconStore.h"
#include "res/TkResource.h"

#include <cmath>
#include <ole2.h>

namespace {

// The first image index of the palette's pictures in the icon store.
const int kPaletteIconBase = 0x50000;

// Ends the menu's tracking, then tells the sheet (the menu's command target) that the control
// ran; a sheet that does not take the notification gets the command when asked to.
void ReportToSheet(CTkControl* control, bool commandWhenUnhandled) {
    CTkCommandBar* bar = control->GetParentBar();
    CWnd* target = bar ? bar->GetCommandTarget() : nullptr;
    const HWND window = target ? target->GetSafeHwnd() : nullptr;
    CHoldRef hold(control);
    CTkMouseTracker::ForThread().CloseTracked();
    for (CTkCommandBar* walk = bar; walk; walk = walk->GetParentBar())
        walk->SetTrackingMode(TK_TRACKING_NONE, true, false);
    if (!window || !::IsWindow(window)) return;
    CTkExecuteRecord record = {{nullptr, (UINT_PTR)control->m_nId, TK_CONTROL_EXECUTED}, control};
    if (!::SendMessageW(window, TK_WM_EXECUTE, (WPARAM)control->m_nId, (LPARAM)&record) && commandWhenUnhandled)
        ::SendMessageW(window, WM_COMMAND, (WPARAM)control->m_nId, 0);
}

// An item of the menu, or a button of the palette: no sound, no record of used commands.
class CTkCustomizeMenuButton : public CTkControlButton {
public:
    void Execute() override { ReportToSheet(this, true); }
};

// The name field: Enter gives the selected control the typed name.
class CTkCustomizeNameField : public CTkControlEdit {
public:
    void Execute() override {
        m_bApplied = true;
        ReportToSheet(this, false);
    }
    bool m_bApplied = false;
};

// The palette: its pictures in rows of a given width.
class CTkPaletteBar : public CTkPopupToolBar {
public:
    CSize CalcSize() override {
        CClientDC dc(this);
        const CSize size = m_pControls->LayoutRows(&dc, m_nRowWidth, TK_LAYOUT_COMMIT, m_rcBorders);
        return CSize(std::max<int>(kMinimumSize, size.cx), std::max<int>(kMinimumSize, size.cy));
    }
    int m_nRowWidth = kMaxRowWidth;
};

bool IsButtonKind(const CTkControl* control) {
    return control->m_nType >= TK_CONTROL_TYPE_BUTTON && control->m_nType <= TK_CONTROL_TYPE_SPLIT_BUTTON_POPUP;
}

// The bar of a changed control lays itself out and shows it again.
void RefreshBarOf(CTkControl* control) {
    CTkCommandBar* bar = control->GetParentBar();
    if (!bar || !bar->GetSafeHwnd()) return;
    bar->OnRecalcLayout();
    bar->Invalidate(false);
}

void SetCustomCaption(CTkControl* control, const CString& name) {
    control->m_strCustomCaption = name == control->m_strCaption ? CString() : name;
    control->RequestParentLayout();
    RefreshBarOf(control);
}

// Gives the control a custom picture; 0 (nothing stored) leaves its picture as it is.
void SetCustomIcon(CTkControl* control, UINT id) {
    if (!id) return;
    control->m_nCustomIconId = (int)id;
    RefreshBarOf(control);
}

}  // namespace

BEGIN_MESSAGE_MAP(CTkCustomizeSheet, CPropertySheet)
    ON_MESSAGE(TK_WM_CONTROL_CREATE, OnCreateMenuControl)
    ON_MESSAGE(TK_WM_EXECUTE, OnExecuteMenuControl)
END_MESSAGE_MAP()

CTkControl* CTkCustomizeSheet::GetSelectedControl() const {
    CTkCommandBars* manager = m_pBars->GetCommandBars();
    return manager ? manager->GetSelectedControl() : nullptr;
}

void CTkCustomizeSheet::ShowContextMenu(POINT screen) {
    CTkCommandBars* manager = m_pBars->GetCommandBars();
    HMENU menu = CTkCommandBars::LoadMenuFromResource(IDR_TK_CUSTOMIZE_MENU);
    if (!manager || !menu) {
        if (menu) ::DestroyMenu(menu);
        return;
    }
    // A bar of no manager: its clicks pass the sheet's mouse hook, its commands come here.
    CTkRef<CTkPopupBar> popup = TkAdoptRef(new CTkPopupBar);
    popup->m_pOwnerWnd = m_pFrame;
    popup->m_hwndCommandTarget = m_hWnd;
    popup->SetPainter(manager->GetPaintManager());
    popup->SetIconStore(manager->GetImageManager());
    popup->BuildFromMenu(::GetSubMenu(menu, 0), true);
    ::DestroyMenu(menu);
    const bool rtl = m_pFrame && m_pFrame->GetSafeHwnd() &&
                     (::GetWindowLongW(m_pFrame->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    if (popup->PopupAt(screen.x, screen.y, rtl ? TK_POPUP_LEFT : 0, CRect())) popup->TrackModal();
    // The menu closed while the name was being typed: the name is taken as if Enter was pressed.
    auto* name = dynamic_cast<CTkCustomizeNameField*>(popup->GetControls()->FindById(ID_TK_CUSTOMIZE_NAME));
    if (name && !name->m_bApplied && name->GetFieldWindow() && ::GetFocus() == name->GetFieldWindow()) {
        CTkExecuteRecord record = {{nullptr, (UINT_PTR)ID_TK_CUSTOMIZE_NAME, TK_CONTROL_EXECUTED}, name};
        OnExecuteMenuControl(ID_TK_CUSTOMIZE_NAME, (LPARAM)&record);
    }
    if (popup->GetSafeHwnd()) popup->DestroyWindow();
}

LRESULT CTkCustomizeSheet::OnCreateMenuControl(WPARAM, LPARAM lParam) {
    auto* request = reinterpret_cast<CTkControlRequest*>(lParam);
    if (!request || request->nId < ID_TK_CUSTOMIZE_RESET || request->nId > ID_TK_CUSTOMIZE_BEGIN_GROUP) return 0;
    if (request->nId == ID_TK_CUSTOMIZE_NAME) {
        request->pControl = new CTkCustomizeNameField;
        return 1;
    }
    if (request->nId != ID_TK_CUSTOMIZE_CHANGE_IMAGE) {
        request->pControl = new CTkCustomizeMenuButton;
        return 1;
    }
    // The palette: a button per picture of the sheet's images, the pictures in the icon store
    // under image indexes of their own.
    auto* palette = new CTkControlPopup;
    auto* bar = new CTkPaletteBar;
    const int count = m_hImages ? ::ImageList_GetImageCount(m_hImages) : 0;
    int width = 16, height = 16;
    if (m_hImages) ::ImageList_GetIconSize(m_hImages, &width, &height);
    std::vector<UINT> ids;
    for (int i = 0; i < count; ++i) {
        auto* button = new CTkCustomizeMenuButton;
        button->m_nIconId = kPaletteIconBase + i;
        bar->GetControls()->Add(button, ID_TK_CUSTOMIZE_CHANGE_IMAGE);
        ids.push_back((UINT)(kPaletteIconBase + i));
    }
    CTkCommandBars* manager = m_pBars->GetCommandBars();
    if (count && manager)
        manager->GetImageManager()->AddIconsFromImageList(m_hImages, ids.data(), count, width, height,
                                                          CTkIconStore::StateNormal);
    bar->m_nRowWidth = (int)std::floor(std::sqrt((double)count)) * (width + 7) + 6;
    bar->m_hwndCommandTarget = m_hWnd;
    palette->AttachChildBar(TkAdoptRef(bar));
    request->pControl = palette;
    return 1;
}

LRESULT CTkCustomizeSheet::OnExecuteMenuControl(WPARAM id, LPARAM lParam) {
    const auto* record = reinterpret_cast<const CTkExecuteRecord*>(lParam);
    CTkControl* from = record ? record->pControl : nullptr;
    CTkControl* selected = GetSelectedControl();
    if (!from || (id != ID_TK_CUSTOMIZE_NAME && id != ID_TK_CUSTOMIZE_CHANGE_IMAGE)) return 0;
    if (!selected) return 1;
    CHoldRef hold(selected);
    if (id == ID_TK_CUSTOMIZE_NAME) {
        SetCustomCaption(selected, from->GetFieldText());
    } else if (CTkIconStore* store = selected->GetIconStore()) {
        SetCustomIcon(selected, TkCustomIconFromPalette(*store, (UINT)from->GetEffectiveIconId()));
    }
    return 1;
}

bool CTkCustomizeSheet::OnCmdMsg(UINT id, int code, void* extra) {
    if (id < ID_TK_CUSTOMIZE_RESET || id > ID_TK_CUSTOMIZE_BEGIN_GROUP ||
        (code != CN_COMMAND && code != (int)CN_UPDATE_COMMAND_UI))
        return CPropertySheet::OnCmdMsg(id, code, extra);
    if (code == (int)CN_UPDATE_COMMAND_UI) {
        OnUpdateCustomizeCommand(static_cast<CCmdUI*>(extra));
        return true;
    }
    if (!extra) OnCustomizeCommand(id);  // with handler information it only asks
    return true;
}

void CTkCustomizeSheet::OnUpdateCustomizeCommand(CCmdUI* ui) {
    CTkControl* control = GetSelectedControl();
    if (!control) {
        ui->Enable(false);
        return;
    }
    const bool button = IsButtonKind(control);
    const bool picture = button && control->GetEffectiveIconId() > 0;
    switch (ui->m_nID) {
    case ID_TK_CUSTOMIZE_RESET:
        ui->Enable(control->m_nCustomIconId > 0 || !control->m_strCustomCaption.IsEmpty());
        break;
    case ID_TK_CUSTOMIZE_NAME: {
        // The field shows the selected control's name, unless the user is typing one.
        auto* bar = dynamic_cast<CTkCommandBar*>(ui->m_pOther);
        auto* field = bar ? dynamic_cast<CTkControlEdit*>(bar->GetControl((int)ui->m_nIndex)) : nullptr;
        if (field && (!field->GetFieldWindow() || ::GetFocus() != field->GetFieldWindow()))
            field->SetText(control->GetDisplayCaption());
        ui->Enable(true);
        break;
    }
    case ID_TK_CUSTOMIZE_COPY_IMAGE:
    case ID_TK_CUSTOMIZE_EDIT_IMAGE:
    case ID_TK_CUSTOMIZE_CHANGE_IMAGE:
        ui->Enable(picture);
        break;
    case ID_TK_CUSTOMIZE_PASTE_IMAGE:
        ui->Enable(button && ::IsClipboardFormatAvailable(CF_BITMAP));
        break;
    case ID_TK_CUSTOMIZE_RESET_IMAGE:
        ui->Enable(control->m_nCustomIconId > 0);
        break;
    case ID_TK_CUSTOMIZE_STYLE_AUTOMATIC:
    case ID_TK_CUSTOMIZE_STYLE_ICON_AND_CAPTION:
    case ID_TK_CUSTOMIZE_STYLE_CAPTION: {
        const int style = ui->m_nID == ID_TK_CUSTOMIZE_STYLE_AUTOMATIC   ? TK_CONTROL_STYLE_AUTOMATIC
                          : ui->m_nID == ID_TK_CUSTOMIZE_STYLE_CAPTION ? TK_CONTROL_STYLE_CAPTION
                                                                        : TK_CONTROL_STYLE_ICON_AND_CAPTION;
        ui->Enable(button);
        ui->SetCheck(button && control->m_nStyle == style);
        break;
    }
    case ID_TK_CUSTOMIZE_BEGIN_GROUP:
        ui->Enable(control->m_nIndex != 0);
        ui->SetCheck(control->m_bBeginGroup != 0);
        break;
    default:
        ui->Enable(true);
        break;
    }
}

void CTkCustomizeSheet::OnCustomizeCommand(UINT id) {
    CTkControl* control = GetSelectedControl();
    if (!control) return;
    CHoldRef hold(control);
    CTkCommandBar* bar = control->GetParentBar();
    CTkIconStore* store = control->GetIconStore();
    switch (id) {
    case ID_TK_CUSTOMIZE_RESET:
        control->m_nCustomIconId = 0;
        SetCustomCaption(control, CString());
        break;
    case ID_TK_CUSTOMIZE_DELETE:
        m_pBars->GetCommandBars()->SetSelectedControl(nullptr);
        if (CTkControls* controls = control->GetCollection()) controls->RemoveControl(control);
        if (bar && bar->GetSafeHwnd()) {
            bar->OnRecalcLayout();
            bar->Invalidate(false);
        }
        break;
    case ID_TK_CUSTOMIZE_COPY_IMAGE:
        if (store && IsButtonKind(control))
            TkCopyButtonImage(*store, (UINT)control->GetEffectiveIconId(), bar ? bar->GetSafeHwnd() : m_hWnd);
        break;
    case ID_TK_CUSTOMIZE_PASTE_IMAGE: {
        IDataObject* data = nullptr;
        if (!store || !IsButtonKind(control) || FAILED(::OleGetClipboard(&data)) || !data) break;
        SetCustomIcon(control, TkPasteButtonImage(*store, data));
        data->Release();
        break;
    }
    case ID_TK_CUSTOMIZE_RESET_IMAGE:
        control->m_nCustomIconId = 0;
        RefreshBarOf(control);
        break;
    case ID_TK_CUSTOMIZE_EDIT_IMAGE: {
        if (!store || !IsButtonKind(control)) break;
        CTkMouseTracker::ForThread().CloseTracked();
        const CSize size = bar ? bar->GetIconSize() : CSize(16, 16);
        SetCustomIcon(control, TkEditButtonImage(this, *store, (UINT)control->GetEffectiveIconId(),
                                                 (UINT)control->m_nCustomIconId, size.cx, size.cy));
        break;
    }
    case ID_TK_CUSTOMIZE_STYLE_AUTOMATIC:
    case ID_TK_CUSTOMIZE_STYLE_ICON_AND_CAPTION:
    case ID_TK_CUSTOMIZE_STYLE_CAPTION:
        if (!IsButtonKind(control)) break;
        control->m_nStyle = id == ID_TK_CUSTOMIZE_STYLE_AUTOMATIC ? TK_CONTROL_STYLE_AUTOMATIC
                            : id == ID_TK_CUSTOMIZE_STYLE_CAPTION ? TK_CONTROL_STYLE_CAPTION
                                                                  : TK_CONTROL_STYLE_ICON_AND_CAPTION;
        control->RequestParentLayout();
        RefreshBarOf(control);
        break;
    case ID_TK_CUSTOMIZE_BEGIN_GROUP:
        if (control->m_nIndex == 0) break;
        control->SetBeginGroup(!control->m_bBeginGroup);
        RefreshBarOf(control);
        break;
    default:
        break;
    }
}
