#include "customize/TkCustomizePages.h"

#include "commandbars/TkCommandBar.h"
#include "commandbars/TkCommandBars.h"
#include "controls/TkControls.h"
#include "customize/TkCustomizeDrag.h"
#include "painters/TkDrawTools.h"
#include "painters/TkThemePainter.h"
#include "res/TkResource.h"

namespace {

CString LoadText(UINT id) {
    CString text;
    TkLoadString(id, text);
    return text;
}

// A message box with a string resource formatted with one text.
int MessageWithText(UINT id, const CString& text, UINT type) {
    CString message;
    message.Format(LoadText(id), (const char*)text);
    return AfxMessageBox(message, type);
}

// A list of a page mirrors its layout when the frame is laid out right to left.
void FollowFrameLayout(CTkCustomizeSheet* sheet, CWnd& list) {
    CWnd* frame = sheet->GetFrame();
    if (!frame || !frame->m_hWnd || !(::GetWindowLongPtrW(frame->m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) return;
    ::SetWindowLongPtrW(list.m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(list.m_hWnd, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The commands list.

BEGIN_MESSAGE_MAP(CTkCommandsListBox, CListBox)
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PAINT, OnPaintMessage)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

void CTkCommandsListBox::DrawItem(LPDRAWITEMSTRUCT draw) {
    if ((int)draw->itemID < 0 || !m_pSheet) return;
    CTkControl* control = GetItemControl((int)draw->itemID);
    if (!control) return;
    CDC* dc = CDC::FromHandle(draw->hDC);
    CTkThemePainter::PainterFor(m_pSheet->GetBars()->GetCommandBars())
        ->PaintListItem(dc, control, CRect(draw->rcItem), (draw->itemState & ODS_SELECTED) != 0, this);
}

void CTkCommandsListBox::PaintBackground(CDC* dc, const CRect& rect) {
    if (!m_pSheet) {
        dc->FillSolidRect(rect, ::GetSysColor(COLOR_WINDOW));
        return;
    }
    CTkThemePainter::PainterFor(m_pSheet->GetBars()->GetCommandBars())->PaintListItem(dc, nullptr, rect, false, this);
}

BOOL CTkCommandsListBox::OnEraseBkgnd(HDC dc) {
    CRect client;
    GetClientRect(&client);
    PaintBackground(CDC::FromHandle(dc), client);
    return TRUE;
}

LRESULT CTkCommandsListBox::OnPaintMessage(WPARAM wParam, LPARAM lParam) {
    // Painting into a given context: the list box's own way.
    if (wParam) return DefWindowProc(WM_PAINT, wParam, lParam);
    PAINTSTRUCT paint;
    HDC target = ::BeginPaint(m_hWnd, &paint);
    CRect client;
    GetClientRect(&client);
    {
        CTkOffscreenDC offscreen(target, client);
        PaintBackground(&offscreen, client);
        DefWindowProc(WM_PAINT, (WPARAM)offscreen.GetSafeHdc(), 0);
    }
    ::EndPaint(m_hWnd, &paint);
    return 0;
}

LRESULT CTkCommandsListBox::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    POINT point = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(hit)) return DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);  // outside the items
    CTkCommandBars* manager = m_pSheet ? m_pSheet->GetBars()->GetCommandBars() : nullptr;
    if (manager) manager->SetSelectedControl(nullptr);
    int index = (int)LOWORD(hit);
    SetCurSel(index);
    SetFocus();
    ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), LBN_SELCHANGE),
                   (LPARAM)m_hWnd);
    // A copy of the control is dragged from here onto the bars; the click is the drag's.
    CTkControl* control = GetItemControl(index);
    if (!control) return DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
    if (manager) manager->GetControlDragSource()->BeginDrag(control, true);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The commands page.

BEGIN_MESSAGE_MAP(CTkCustomizeCommandsPage, CPropertyPage)
    ON_LBN_SELCHANGE(IDC_TK_CATEGORIES_LIST, OnCategoryChanged)
END_MESSAGE_MAP()

CTkCustomizeCommandsPage::CTkCustomizeCommandsPage(CTkCustomizeSheet* sheet)
    : CPropertyPage(IDD_TK_CUSTOMIZE_COMMANDS), m_pSheet(sheet) {
    m_commandsList.m_pSheet = sheet;
}

CTkCustomizeCommandsPage::~CTkCustomizeCommandsPage() {
    if (m_hWnd) DestroyWindow();
    m_categories.clear();
}

CTkControls* CTkCustomizeCommandsPage::InsertCategory(UINT nameId, int position) {
    CTkCustomizeCategory category;
    category.strName = LoadText(nameId);
    category.pControls.Attach(new CTkControls);
    category.pControls->m_pOwnerManager = m_pSheet->GetBars()->GetCommandBars();
    if (position < 0 || position > GetCategoryCount()) position = GetCategoryCount();
    m_categories.insert(m_categories.begin() + position, category);
    return category.pControls;
}

bool CTkCustomizeCommandsPage::InsertMenuCategory(UINT menuId, UINT nameId, int position) {
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(menuId));
    if (!menu) return false;
    CTkControls* controls = InsertCategory(nameId, position);
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoW(menu, (UINT)i, TRUE, &info) && (info.fType & MFT_SEPARATOR)) continue;
        controls->AddMenuItem(menu, i);
    }
    ::DestroyMenu(menu);
    return true;
}

void CTkCustomizeCommandsPage::InsertAllCommandsCategory(UINT nameId, int position) {
    std::vector<CTkControls*> sources;
    for (const CTkCustomizeCategory& category : m_categories) sources.push_back(category.pControls);
    CTkControls* all = InsertCategory(nameId, position);
    for (CTkControls* source : sources) {
        for (CTkControl* control : source->m_controls) all->InsertCopy(control, all->GetCount(), true);
    }
}

void CTkCustomizeCommandsPage::InsertNewMenuCategory(UINT nameId, int position) {
    CTkControls* controls = InsertCategory(nameId, position);
    if (CTkControl* popup = controls->AddNew(TK_CONTROL_TYPE_POPUP, 0)) popup->SetCaption(LoadText(nameId));
}

bool CTkCustomizeCommandsPage::OnInitDialog() {
    m_categoriesList.SubclassDlgItem(IDC_TK_CATEGORIES_LIST, this);
    m_commandsList.SubclassDlgItem(IDC_TK_COMMANDS_LIST, this);
    for (int i = 0; i < GetCategoryCount(); ++i) {
        int item = m_categoriesList.AddString(m_categories[(size_t)i].strName);
        m_categoriesList.SetItemData(item, (DWORD_PTR)i);
    }
    m_categoriesList.SetCurSel(0);
    m_commandsList.SendMessage(LB_SETITEMHEIGHT, 0, CTkThemePainter::GetPopupItemHeight());
    FollowFrameLayout(m_pSheet, m_commandsList);
    OnCategoryChanged();
    return CPropertyPage::OnInitDialog();
}

void CTkCustomizeCommandsPage::OnCategoryChanged() {
    m_commandsList.ResetContent();
    int selected = m_categoriesList.GetCurSel();
    if (selected < 0) return;
    size_t index = (size_t)m_categoriesList.GetItemData(selected);
    if (index >= m_categories.size()) return;
    for (CTkControl* control : m_categories[index].pControls->m_controls)
        m_commandsList.SendMessage(LB_ADDSTRING, 0, (LPARAM)control);
}

// ---------------------------------------------------------------------------------------------
// The toolbars page.

BEGIN_MESSAGE_MAP(CTkCustomizeToolbarsPage, CPropertyPage)
    ON_CONTROL(CLBN_CHKCHANGE, IDC_TK_TOOLBARS_LIST, OnCheckChange)
    ON_LBN_SELCHANGE(IDC_TK_TOOLBARS_LIST, OnSelChange)
    ON_BN_CLICKED(IDC_TK_TOOLBAR_NEW, OnNew)
    ON_BN_CLICKED(IDC_TK_TOOLBAR_RENAME, OnRename)
    ON_BN_CLICKED(IDC_TK_TOOLBAR_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_TK_TOOLBAR_RESET, OnResetBar)
END_MESSAGE_MAP()

CTkCustomizeToolbarsPage::CTkCustomizeToolbarsPage(CTkCustomizeSheet* sheet)
    : CPropertyPage(IDD_TK_CUSTOMIZE_TOOLBARS), m_pSheet(sheet) {}

bool CTkCustomizeToolbarsPage::OnInitDialog() {
    m_list.SubclassDlgItem(IDC_TK_TOOLBARS_LIST, this);
    FollowFrameLayout(m_pSheet, m_list);
    RefreshList();
    return CPropertyPage::OnInitDialog();
}

void CTkCustomizeToolbarsPage::RefreshList() {
    ITkCustomizeBars* bars = m_pSheet->GetBars();
    int selected = m_list.GetCurSel();
    int top = (int)m_list.SendMessage(LB_GETTOPINDEX);
    m_list.ResetContent();
    for (int i = 0; i < bars->GetBarCount(); ++i) {
        CTkCommandBar* bar = bars->GetBar(i);
        if (!bar) continue;
        int item = m_list.AddString(bar->m_strTitle);
        m_list.SetCheck(item, bars->IsBarVisible(bar) ? 1 : 0);
        m_list.SetItemData(item, (DWORD_PTR)i);
    }
    if (selected >= m_list.GetCount()) selected = -1;
    m_list.SetCurSel(selected);
    m_list.SendMessage(LB_SETTOPINDEX, std::max(top, 0));
    UpdateButtons();
}

CTkCommandBar* CTkCustomizeToolbarsPage::GetSelectedBar() const {
    int selected = m_list.GetCurSel();
    if (selected < 0) return nullptr;
    return m_pSheet->GetBars()->GetBar((int)m_list.GetItemData(selected));
}

void CTkCustomizeToolbarsPage::UpdateButtons() {
    CTkCommandBar* bar = GetSelectedBar();
    bool builtIn = bar && m_pSheet->GetBars()->IsBuiltInBar(bar);
    bool user = bar && !builtIn;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TK_TOOLBAR_RESET), builtIn);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TK_TOOLBAR_RENAME), user);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TK_TOOLBAR_DELETE), user);
}

void CTkCustomizeToolbarsPage::OnCheckChange() {
    int selected = m_list.GetCurSel();
    CTkCommandBar* bar = GetSelectedBar();
    if (!bar) return;
    ITkCustomizeBars* bars = m_pSheet->GetBars();
    if (bars->CanHideBar(bar)) {
        bars->SetBarVisible(bar, m_list.GetCheck(selected) == 1);
    } else {
        m_list.SetCheck(selected, 1);
    }
    RefreshList();
}

void CTkCustomizeToolbarsPage::OnResetBar() {
    CTkCommandBar* bar = GetSelectedBar();
    if (!bar || !m_pSheet->GetBars()->IsBuiltInBar(bar)) return;
    m_pSheet->GetBars()->ResetBar(bar);
    RefreshList();
}

void CTkCustomizeToolbarsPage::OnNew() {
    ITkCustomizeBars* bars = m_pSheet->GetBars();
    CTkToolbarNameDlg dlg(this, bars, nullptr);
    if (dlg.DoModal() != IDOK) return;
    bars->AddUserBar(dlg.m_strName, dlg.m_nBarId);
    RefreshList();
}

void CTkCustomizeToolbarsPage::OnRename() {
    ITkCustomizeBars* bars = m_pSheet->GetBars();
    CTkCommandBar* bar = GetSelectedBar();
    if (!bar || bars->IsBuiltInBar(bar)) return;
    CTkToolbarNameDlg dlg(this, bars, bar);
    if (dlg.DoModal() != IDOK) return;
    bar->m_strTitle = dlg.m_strName;
    if (bar->m_hWnd) {
        bar->SetWindowText(dlg.m_strName);
        bar->DelayRedraw();
        bar->Invalidate();
    }
    int selected = m_list.GetCurSel();
    int check = m_list.GetCheck(selected);
    DWORD_PTR data = m_list.GetItemData(selected);
    m_list.DeleteString(selected);
    int item = m_list.InsertString(selected, dlg.m_strName);
    m_list.SetCheck(item, check);
    m_list.SetItemData(item, data);
    m_list.SetCurSel(item);
    UpdateButtons();
}

void CTkCustomizeToolbarsPage::OnDelete() {
    ITkCustomizeBars* bars = m_pSheet->GetBars();
    CTkCommandBar* bar = GetSelectedBar();
    if (!bar || bars->IsBuiltInBar(bar)) return;
    if (MessageWithText(IDS_TK_TOOLBAR_DELETE, bar->m_strTitle, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
    bars->RemoveBar(bar);
    RefreshList();
}

// ---------------------------------------------------------------------------------------------
// The toolbar name dialog.

CTkToolbarNameDlg::CTkToolbarNameDlg(CWnd* parent, ITkCustomizeBars* bars, CTkCommandBar* bar)
    : CDialog(IDD_TK_TOOLBAR_NAME, parent), m_pBars(bars), m_pBar(bar) {}

CString CTkToolbarNameDlg::DefaultName(const ITkCustomizeBars* bars, const CString& format) {
    const int count = bars->GetBarCount();
    CString name;
    // Among count + 1 numbers one is free whenever the text holds the number.
    for (int n = 1; n <= count + 1; ++n) {
        name.Format(format, n);
        bool taken = false;
        for (int i = 0; i < count && !taken; ++i) {
            CTkCommandBar* bar = bars->GetBar(i);
            taken = bar && bar->m_strTitle == name;
        }
        if (!taken) break;
    }
    return name;
}

bool CTkToolbarNameDlg::OnInitDialog() {
    if (m_pBar) {
        m_strName = m_pBar->m_strTitle;
        CString caption;
        if (TkLoadString(IDS_TK_TOOLBAR_RENAME, caption) && !caption.IsEmpty()) SetWindowText(caption);
    } else {
        m_strName = DefaultName(m_pBars, LoadText(IDS_TK_TOOLBAR_DEFAULT_NAME));
    }
    return CDialog::OnInitDialog();
}

void CTkToolbarNameDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_TK_TOOLBAR_NAME, m_strName);
}

int CTkToolbarNameDlg::CheckName() {
    if (m_strName.IsEmpty()) {
        AfxMessageBox(LoadText(IDS_TK_TOOLBAR_NAME_EMPTY), MB_ICONERROR);
        return 0;
    }
    UINT id = kFirstBarId;
    const int count = m_pBars->GetBarCount();
    for (int i = 0; i < count; ++i) {
        CTkCommandBar* bar = m_pBars->GetBar(i);
        if (!bar) continue;
        if (!m_pBar && bar->m_nBarId == id) {
            if (++id > kLastBarId) {
                AfxMessageBox(LoadText(IDS_TK_TOOLBAR_NO_ID), MB_ICONERROR);
                return IDCANCEL;
            }
            i = -1;  // the new id is checked against every bar again
            continue;
        }
        if (bar != m_pBar && bar->m_strTitle == m_strName) {
            MessageWithText(IDS_TK_TOOLBAR_NAME_TAKEN, m_strName, MB_ICONERROR);
            return 0;
        }
    }
    if (!m_pBar) m_nBarId = id;
    return IDOK;
}

void CTkToolbarNameDlg::OnOK() {
    if (!UpdateData(true)) return;
    int result = CheckName();
    if (result) EndDialog(result);
}

// ---------------------------------------------------------------------------------------------
// The settings page.

BEGIN_MESSAGE_MAP(CTkCustomizeSettingsPage, CPropertyPage)
    ON_BN_CLICKED(IDC_TK_FULL_MENUS, OnFullMenus)
    ON_BN_CLICKED(IDC_TK_FULL_MENUS_DELAY, OnFullMenusDelay)
    ON_BN_CLICKED(IDC_TK_LARGE_ICONS, OnLargeIcons)
    ON_BN_CLICKED(IDC_TK_SCREEN_TIPS, OnScreenTips)
    ON_BN_CLICKED(IDC_TK_SHORTCUT_TIPS, OnShortcutTips)
    ON_CBN_SELCHANGE(IDC_TK_ANIMATION, OnAnimation)
    ON_BN_CLICKED(IDC_TK_RESET_USAGE, OnResetUsage)
END_MESSAGE_MAP()

CTkCustomizeSettingsPage::CTkCustomizeSettingsPage(CTkCustomizeSheet* sheet)
    : CPropertyPage(IDD_TK_CUSTOMIZE_SETTINGS), m_pSheet(sheet) {
    ITkCustomizeBars* bars = sheet->GetBars();
    m_bAlwaysShowFullMenus = bars->GetOption(TK_OPTION_ALWAYS_SHOW_FULL_MENUS);
    m_bShowFullAfterDelay = bars->GetOption(TK_OPTION_SHOW_FULL_AFTER_DELAY);
    m_bLargeIcons = bars->GetOption(TK_OPTION_LARGE_ICONS);
    m_bToolBarScreenTips = bars->GetOption(TK_OPTION_TOOLBAR_SCREEN_TIPS);
    m_bToolBarAccelTips = bars->GetOption(TK_OPTION_TOOLBAR_ACCEL_TIPS);
    m_nAnimation = bars->GetOption(TK_OPTION_ANIMATION);
}

bool CTkCustomizeSettingsPage::OnInitDialog() {
    m_animation.SubclassDlgItem(IDC_TK_ANIMATION, this);
    for (UINT id = IDS_TK_ANIMATION_FIRST; id <= IDS_TK_ANIMATION_LAST; ++id) m_animation.AddString(LoadText(id));
    bool result = CPropertyPage::OnInitDialog();
    UpdateEnabling();
    return result;
}

void CTkCustomizeSettingsPage::DoDataExchange(CDataExchange* dx) {
    DDX_Check(dx, IDC_TK_FULL_MENUS, m_bAlwaysShowFullMenus);
    DDX_Check(dx, IDC_TK_FULL_MENUS_DELAY, m_bShowFullAfterDelay);
    DDX_Check(dx, IDC_TK_LARGE_ICONS, m_bLargeIcons);
    DDX_Check(dx, IDC_TK_SCREEN_TIPS, m_bToolBarScreenTips);
    DDX_Check(dx, IDC_TK_SHORTCUT_TIPS, m_bToolBarAccelTips);
    if (dx->m_bSaveAndValidate) {
        int selected = m_animation.GetCurSel();
        if (selected >= 0) m_nAnimation = selected;
    } else {
        m_animation.SetCurSel(m_nAnimation);
    }
}

void CTkCustomizeSettingsPage::UpdateEnabling() {
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TK_FULL_MENUS_DELAY), !m_bAlwaysShowFullMenus);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TK_SHORTCUT_TIPS), m_bToolBarScreenTips != 0);
}

void CTkCustomizeSettingsPage::OnFullMenus() {
    UpdateData(true);
    m_pSheet->GetBars()->SetOption(TK_OPTION_ALWAYS_SHOW_FULL_MENUS, m_bAlwaysShowFullMenus);
    UpdateEnabling();
}

void CTkCustomizeSettingsPage::OnFullMenusDelay() {
    UpdateData(true);
    m_pSheet->GetBars()->SetOption(TK_OPTION_SHOW_FULL_AFTER_DELAY, m_bShowFullAfterDelay);
}

void CTkCustomizeSettingsPage::OnLargeIcons() {
    UpdateData(true);
    m_pSheet->GetBars()->SetOption(TK_OPTION_LARGE_ICONS, m_bLargeIcons);
    m_pSheet->GetBars()->RecalcLayout();
}

void CTkCustomizeSettingsPage::OnScreenTips() {
    UpdateData(true);
    m_pSheet->GetBars()->SetOption(TK_OPTION_TOOLBAR_SCREEN_TIPS, m_bToolBarScreenTips);
    UpdateEnabling();
}

void CTkCustomizeSettingsPage::OnShortcutTips() {
    UpdateData(true);
    m_pSheet->GetBars()->SetOption(TK_OPTION_TOOLBAR_ACCEL_TIPS, m_bToolBarAccelTips);
}

void CTkCustomizeSettingsPage::OnAnimation() {
    UpdateData(true);
    if (m_animation.GetCurSel() >= 0) m_pSheet->GetBars()->SetOption(TK_OPTION_ANIMATION, m_nAnimation);
}

void CTkCustomizeSettingsPage::OnResetUsage() {
    if (AfxMessageBox(LoadText(IDS_TK_RESET_USAGE), MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
        m_pSheet->GetBars()->ResetUsageData();
}

// ---------------------------------------------------------------------------------------------

INT_PTR TkRunFrameCustomizeSheet(ITkCustomizeBars* bars, UINT menuId) {
    CTkCustomizeSheet sheet(bars);
    CTkCustomizeSettingsPage settings(&sheet);
    sheet.AddPage(&settings);
    CTkCustomizeCommandsPage* commands = sheet.GetCommandsPage();
    // The menu's commands first, so that all commands has something to copy; it still comes first.
    commands->InsertMenuCategory(menuId, IDS_TK_MENU_COMMANDS);
    commands->InsertAllCommandsCategory(IDS_TK_ALL_COMMANDS, 0);
    commands->InsertNewMenuCategory(IDS_TK_NEW_MENU);
    INT_PTR result = sheet.DoModal();
    return result;
}
