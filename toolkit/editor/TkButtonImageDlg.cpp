#include "editor/TkButtonImageDlg.h"

#include "afxdlgs.h"
#include "painters/TkColors.h"
#include "painters/TkDrawTools.h"
#include "res/TkResource.h"

#include <shlwapi.h>

#include <cwchar>

namespace {

const UINT WM_KICKIDLE_MESSAGE = 0x036A;
const UINT kToolsBarId = 0xE800;
const UINT kMoveBarId = 0xE801;
const int kButtonImages = 12;  // the tools' pictures come first in the bitmap

struct CPaletteColor {
    UINT id;
    COLORREF colour;
};
// Two rows of eight, row by row.
const CPaletteColor kPalette[CTkButtonImageDlg::kPaletteCells] = {
    {9450, RGB(0, 0, 0)},       {9465, RGB(128, 128, 128)}, {9458, RGB(128, 0, 0)},   {9460, RGB(128, 128, 0)},
    {9461, RGB(0, 128, 0)},     {9462, RGB(0, 128, 128)},   {9455, RGB(0, 0, 128)},   {9472, RGB(128, 0, 128)},
    {9489, RGB(255, 255, 255)}, {9481, RGB(192, 192, 192)}, {9466, RGB(255, 0, 0)},   {9476, RGB(255, 255, 0)},
    {9477, RGB(0, 255, 0)},     {9478, RGB(0, 255, 255)},   {9463, RGB(0, 0, 255)},   {9474, RGB(255, 0, 255)},
};

// The major version of the common controls, 0 when it cannot be asked.
DWORD CommonControlsMajorVersion() {
    HMODULE module = ::GetModuleHandleW(L"comctl32.dll");
    auto getVersion = module ? (DLLGETVERSIONPROC)(void*)::GetProcAddress(module, "DllGetVersion") : nullptr;
    DLLVERSIONINFO info = {sizeof info};
    return getVersion && SUCCEEDED(getVersion(&info)) ? info.dwMajorVersion : 0;
}

CRect ChildRect(CWnd* parent, UINT id) {
    CRect rect;
    if (CWnd* child = parent->GetDlgItem(id)) {
        child->GetWindowRect(&rect);
        parent->ScreenToClient(&rect);
    }
    return rect;
}

void Paint(CWnd* wnd, void (*paint)(const CWnd*, CDC&)) {
    CPaintDC dc(wnd);
    CRect client;
    wnd->GetClientRect(&client);
    CTkOffscreenDC offscreen(dc.GetSafeHdc(), client);
    paint(wnd, offscreen);
}

}  // namespace

void TkToolTipText(const wchar_t* resource, wchar_t* buffer, size_t size) {
    if (!buffer || size == 0) return;
    const wchar_t* text = resource ? resource : L"";
    if (const wchar_t* newline = std::wcschr(text, L'\n')) text = newline + 1;
    const size_t length = std::min(std::wcslen(text), size - 1);
    std::wmemcpy(buffer, text, length);
    buffer[length] = L'\0';
}

// ---------------------------------------------------------------------------------------------
// Colour cells.

BEGIN_MESSAGE_MAP(CTkImageEditorPicker, CStatic)
    ON_WM_PAINT()
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
END_MESSAGE_MAP()

void CTkImageEditorPicker::SetColor(COLORREF colour) {
    m_clrColor = colour;
    if (m_hWnd) Invalidate(false);
}

void CTkImageEditorPicker::SetSelected(bool selected) {
    m_bSelected = selected;
    if (m_hWnd) Invalidate(false);
}

void CTkImageEditorPicker::PaintTo(CDC& dc) const {
    CRect rect;
    GetClientRect(&rect);
    if (m_clrColor == TK_EDIT_TRANSPARENT) {
        const int midX = rect.Width() / 2, midY = rect.Height() / 2;
        dc.FillSolidRect(rect, RGB(255, 255, 255));
        dc.FillSolidRect(CRect(0, 0, midX, midY), RGB(0xEB, 0xEB, 0xEB));
        dc.FillSolidRect(CRect(midX, midY, rect.right, rect.bottom), RGB(0xEB, 0xEB, 0xEB));
    } else {
        dc.FillSolidRect(rect, m_clrColor);
    }
    if (!m_bSelected) {
        dc.Draw3dRect(rect, TkGetColor(TK_COLOR_3DDKSHADOW), TkGetColor(TK_COLOR_3DDKSHADOW));
        return;
    }
    const COLORREF frames[3] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)};
    for (COLORREF frame : frames) {
        dc.Draw3dRect(rect, frame, frame);
        ::InflateRect(&rect, -1, -1);
    }
}

void CTkImageEditorPicker::OnPaint() {
    Paint(this, [](const CWnd* wnd, CDC& dc) { static_cast<const CTkImageEditorPicker*>(wnd)->PaintTo(dc); });
}

LRESULT CTkImageEditorPicker::OnLButtonDown(WPARAM, LPARAM) {
    NMHDR header = {m_hWnd, (UINT_PTR)GetDlgCtrlID(), (UINT)NM_CLICK};
    ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, header.idFrom, (LPARAM)&header);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Preview.

BEGIN_MESSAGE_MAP(CTkImageEditorPreview, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CTkImageEditorPreview::PaintTo(CDC& dc) const {
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, TkGetColor(TK_COLOR_BTNFACE));
    if (!m_pArea) return;
    std::unique_ptr<CTkEditPicture> picture = m_pArea->Rendered();
    if (!picture) return;
    const int x = 10, y = (client.Height() - picture->Height()) / 2;
    CRect frame(x, y, x + picture->Width(), y + picture->Height());
    ::InflateRect(&frame, 3, 3);
    dc.Draw3dRect(frame, RGB(255, 255, 255), TkGetColor(TK_COLOR_BTNSHADOW));
    ::InflateRect(&frame, 1, 1);
    dc.Draw3dRect(frame, TkGetColor(TK_COLOR_BTNFACE), TkGetColor(TK_COLOR_3DDKSHADOW));
    if (picture->IsAlpha()) {
        // Drawn premultiplied like any alpha picture of the icon store.
        CTkIconEntry entry(nullptr, 0, picture->Width(), picture->Height());
        CTkIconImage image = CTkIconImage::FromAlphaBitmap(picture->Bitmap(), false);
        entry.Draw(dc.GetSafeHdc(), x, y, image);
        return;
    }
    HBITMAP bitmap = picture->CopyBitmap(TkGetColor(TK_COLOR_BTNFACE));
    if (!bitmap) return;
    ::DrawStateW(dc.GetSafeHdc(), nullptr, nullptr, (LPARAM)bitmap, 0, x, y, picture->Width(), picture->Height(),
                 DST_BITMAP);
    ::DeleteObject(bitmap);
}

void CTkImageEditorPreview::OnPaint() {
    Paint(this, [](const CWnd* wnd, CDC& dc) { static_cast<const CTkImageEditorPreview*>(wnd)->PaintTo(dc); });
}

// ---------------------------------------------------------------------------------------------
// The dialog.

IMPLEMENT_DYNAMIC(CTkButtonImageDlg, CDialog)

BEGIN_MESSAGE_MAP(CTkButtonImageDlg, CDialog)
    ON_COMMAND_RANGE(ID_TK_EDITOR_PENCIL, ID_TK_EDITOR_ELLIPSE, OnTool)
    ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_PENCIL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_FILL, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_PICK, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_LINE, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_RECTANGLE, OnUpdateTool)
    ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_ELLIPSE, OnUpdateTool)
    ON_COMMAND_RANGE(ID_TK_EDITOR_MOVE_LEFT, ID_TK_EDITOR_MOVE_RIGHT, OnMove)
    ON_COMMAND(ID_TK_EDITOR_UNDO, OnUndo)
    ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_UNDO, OnUpdateUndo)
    ON_COMMAND(ID_TK_EDITOR_REDO, OnRedo)
    ON_UPDATE_COMMAND_UI(ID_TK_EDITOR_REDO, OnUpdateRedo)
    ON_COMMAND(ID_TK_EDITOR_COPY, OnCopy)
    ON_COMMAND(ID_TK_EDITOR_PASTE, OnPaste)
    ON_COMMAND(ID_TK_EDITOR_CLEAR, OnClear)
    ON_COMMAND(ID_TK_EDITOR_IMPORT, OnImport)
    ON_MESSAGE(WM_KICKIDLE_MESSAGE, OnKickIdle)
END_MESSAGE_MAP()

CTkButtonImageDlg::CTkButtonImageDlg(CWnd* parent) : CDialog(IDD_TK_BUTTON_IMAGE, parent) {
    m_transparent.m_clrColor = TK_EDIT_TRANSPARENT;
    m_custom.m_clrColor = RGB(0, 0, 0);
    for (int i = 0; i < kPaletteCells; ++i) m_cells[i].m_clrColor = kPalette[i].colour;
}

CTkButtonImageDlg::~CTkButtonImageDlg() {
    if (m_hWnd) DestroyWindow();
    if (m_hToolsImages) ::ImageList_Destroy(m_hToolsImages);
    if (m_hMoveImages) ::ImageList_Destroy(m_hMoveImages);
}

void CTkButtonImageDlg::SetImageSize(int width, int height) {
    m_nWidth = TkClampPictureSide(width);
    m_nHeight = TkClampPictureSide(height);
}

void CTkButtonImageDlg::SetSourceIcon(const CTkIconImage& image) {
    if (image.IsEmpty()) return;
    const SIZE size = image.GetSize();
    SetImageSize(size.cx, size.cy);
    std::unique_ptr<CTkEditPicture> picture;
    if (image.IsAlpha()) {
        picture = CTkEditPicture::FromBitmap(image.m_hAlphaBitmap, m_nWidth, m_nHeight, true);
        if (picture)
            for (int y = 0; y < m_nHeight; ++y)
                for (int x = 0; x < m_nWidth; ++x)
                    if (picture->GetPixel(x, y) == 0) picture->SetPixel(x, y, TK_EDIT_TRANSPARENT_PIXEL);
    } else {
        picture = CTkEditPicture::Create(m_nWidth, m_nHeight);
        if (picture) {
            CTkBitmapDC dc(nullptr, picture->Bitmap());
            ::DrawStateW(dc.GetSafeHdc(), nullptr, nullptr, (LPARAM)image.m_hIcon, 0, 0, 0, 0, 0, DST_ICON);
            ::GdiFlush();
        }
    }
    m_pSource = std::move(picture);
}

void CTkButtonImageDlg::GetEditedIcon(CTkIconImage& image) const {
    const CTkEditPicture* picture = m_area.GetPicture();
    if (!picture) return;
    HBITMAP bitmap = picture->CopyBitmap(TK_EDIT_TRANSPARENT);
    if (!bitmap) return;
    if (picture->IsAlpha()) {
        image = CTkIconImage::FromAlphaBitmap(bitmap);
        return;
    }
    HIMAGELIST list = ::ImageList_Create(picture->Width(), picture->Height(), ILC_COLOR24 | ILC_MASK, 1, 1);
    if (list) {
        ::ImageList_AddMasked(list, bitmap, TK_EDIT_TRANSPARENT);
        if (::ImageList_GetImageCount(list) == 1) image = CTkIconImage(::ImageList_GetIcon(list, 0, ILD_NORMAL));
        ::ImageList_Destroy(list);
    }
    ::DeleteObject(bitmap);
}

void CTkButtonImageDlg::LoadButtonImages() {
    HINSTANCE resources = AfxGetResourceHandle();
    if (CommonControlsMajorVersion() > 5) {
        HBITMAP bitmap = (HBITMAP)::LoadImageW(resources, MAKEINTRESOURCEW(IDB_TK_EDITOR_TOOLS32), IMAGE_BITMAP, 0, 0,
                                               LR_CREATEDIBSECTION);
        if (bitmap) {
            m_hToolsImages = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 1);
            ::ImageList_Add(m_hToolsImages, bitmap, nullptr);
            ::DeleteObject(bitmap);
        }
    } else {
        m_hToolsImages = ::ImageList_LoadImageW(resources, MAKEINTRESOURCEW(IDB_TK_EDITOR_TOOLS), 16, 1,
                                                RGB(192, 192, 192), IMAGE_BITMAP, 0);
    }
    if (!m_hToolsImages) return;
    m_hMoveImages = ::ImageList_Duplicate(m_hToolsImages);
    for (int i = 0; m_hMoveImages && i < kButtonImages; ++i) ::ImageList_Remove(m_hMoveImages, 0);
}

bool CTkButtonImageDlg::CreateToolBar(CToolBar& bar, UINT id, const UINT* buttons, int count, UINT placeholder,
                                      int wrap) {
    if (!bar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE, id)) return false;
    bar.SetImageList(id == kToolsBarId ? m_hToolsImages : m_hMoveImages);
    bar.SetSizes(CSize(23, 23), CSize(16, 16));
    bar.SetButtons(buttons, count);
    bar.WrapEvery(wrap);
    const CRect place = ChildRect(this, placeholder);
    const CSize size = bar.GetNeededSize();
    bar.SetWindowPos(nullptr, place.left - 7, place.top - 4, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool CTkButtonImageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    LoadButtonImages();
    static const UINT tools[] = {ID_TK_EDITOR_PENCIL, ID_TK_EDITOR_FILL,      ID_TK_EDITOR_UNDO,    ID_TK_EDITOR_REDO,
                                 ID_TK_EDITOR_PICK,   ID_TK_EDITOR_LINE,      ID_TK_EDITOR_COPY,    ID_TK_EDITOR_PASTE,
                                 ID_TK_EDITOR_RECTANGLE, ID_TK_EDITOR_ELLIPSE, ID_TK_EDITOR_CLEAR, ID_TK_EDITOR_IMPORT};
    static const UINT moves[] = {ID_TK_EDITOR_MOVE_LEFT, ID_TK_EDITOR_MOVE_DOWN, ID_TK_EDITOR_MOVE_UP,
                                 ID_TK_EDITOR_MOVE_RIGHT};
    CreateToolBar(m_toolsBar, kToolsBarId, tools, 12, IDC_TK_EDITOR_TOOLS_PLACE, 4);
    CreateToolBar(m_moveBar, kMoveBarId, moves, 4, IDC_TK_EDITOR_MOVE_PLACE, 0);

    const CRect palette = ChildRect(this, IDC_TK_EDITOR_PALETTE_PLACE);
    for (int i = 0; i < kPaletteCells; ++i) {
        const int x = palette.left + (i % 8) * 13, y = palette.top - 4 + (i / 8) * 13;
        m_cells[i].Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(x, y, x + 11, y + 11), this, kPalette[i].id);
    }
    m_transparent.SubclassDlgItem(IDC_TK_EDITOR_TRANSPARENT, this);
    m_custom.SubclassDlgItem(IDC_TK_EDITOR_CUSTOM, this);
    SelectCell(&m_cells[0]);

    m_area.SetSite(this);
    m_area.SetTool(m_nTool);
    m_area.AttachToControl(this, IDC_TK_EDITOR_AREA, m_nWidth, m_nHeight);
    if (m_pSource) m_area.SetPicture(std::move(m_pSource));
    if (m_preview.SubclassDlgItem(IDC_TK_EDITOR_PREVIEW, this)) {
        ::SetWindowLongPtrW(m_preview.m_hWnd, GWL_EXSTYLE,
                            ::GetWindowLongPtrW(m_preview.m_hWnd, GWL_EXSTYLE) | WS_EX_STATICEDGE);
        m_preview.SetWindowPos(nullptr, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_preview.SetArea(&m_area);
    }
    UpdateToolBars();
    return true;
}

void CTkButtonImageDlg::UpdateToolBars() {
    if (m_toolsBar.m_hWnd) m_toolsBar.OnUpdateCmdUI(this, true);
    if (m_moveBar.m_hWnd) m_moveBar.OnUpdateCmdUI(this, true);
}

LRESULT CTkButtonImageDlg::OnKickIdle(WPARAM, LPARAM) {
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
    return 0;
}

bool CTkButtonImageDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    const UINT id = (UINT)header->idFrom;
    if (header->code == (UINT)NM_CLICK && ((id >= IDC_TK_PALETTE_FIRST && id <= IDC_TK_PALETTE_LAST) ||
                                           id == IDC_TK_EDITOR_TRANSPARENT || id == IDC_TK_EDITOR_CUSTOM)) {
        OnCellClicked(id);
        *result = 0;
        return true;
    }
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const wchar_t* resource = nullptr;
        const int length = ::LoadStringW(AfxGetResourceHandle(), id, (LPWSTR)&resource, 0);
        const std::wstring text = length > 0 ? std::wstring(resource, length) : std::wstring();
        TkToolTipText(text.c_str(), info->szText, sizeof info->szText / sizeof info->szText[0]);
        info->lpszText = info->szText;
        *result = 0;
        return true;
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

void CTkButtonImageDlg::OnCellClicked(UINT id) {
    if (id == IDC_TK_EDITOR_CUSTOM) {
        COLORREF colour = m_custom.GetColor();
        if (!ChooseCustomColor(colour)) return;
        m_custom.SetColor(colour);
        SelectCell(&m_custom);
        return;
    }
    if (id == IDC_TK_EDITOR_TRANSPARENT) {
        SelectCell(&m_transparent);
        return;
    }
    for (int i = 0; i < kPaletteCells; ++i)
        if (kPalette[i].id == id) SelectCell(&m_cells[i]);
}

void CTkButtonImageDlg::SelectCell(CTkImageEditorPicker* cell) {
    if (m_pCurrentCell) m_pCurrentCell->SetSelected(false);
    m_pCurrentCell = cell;
    cell->SetSelected(true);
    m_area.SetColor(cell->GetColor());
}

bool CTkButtonImageDlg::ChooseCustomColor(COLORREF& colour) {
    CColorDialog dialog(colour, CC_FULLOPEN, this);
    if (dialog.DoModal() != IDOK) return false;
    colour = dialog.GetColor();
    return true;
}

bool CTkButtonImageDlg::ChooseImportFile(std::wstring& path) {
    CString filter;
    filter.LoadString(IDS_TK_EDITOR_FILTER);
    CFileDialog dialog(true, nullptr, nullptr, OFN_HIDEREADONLY, filter, this);
    if (dialog.DoModal() != IDOK) return false;
    path = dialog.GetPathNameWide();
    return !path.empty();
}

void CTkButtonImageDlg::SelectTool(int tool) {
    // The pick tool returns to the tool before it, however often it is chosen.
    if (m_nTool != CTkImageEditArea::ToolPick) m_nPreviousTool = m_nTool;
    m_nTool = tool;
    m_area.SetTool(tool);
    UpdateToolBars();
}

void CTkButtonImageDlg::OnTool(UINT id) {
    SelectTool((int)(id - ID_TK_EDITOR_PENCIL));
}

void CTkButtonImageDlg::OnUpdateTool(CCmdUI* cmdUI) {
    cmdUI->Enable(true);
    cmdUI->SetCheck((int)(cmdUI->m_nID - ID_TK_EDITOR_PENCIL) == m_nTool);
}

void CTkButtonImageDlg::OnEditColorPicked(COLORREF colour) {
    m_custom.SetColor(colour);
    SelectCell(&m_custom);
    m_nTool = m_nPreviousTool;
    m_area.SetTool(m_nTool);
    UpdateToolBars();
}

void CTkButtonImageDlg::OnEditPictureChanged() {
    if (m_preview.m_hWnd) m_preview.Invalidate(false);
    UpdateToolBars();
}

void CTkButtonImageDlg::OnMove(UINT id) {
    switch (id) {
    case ID_TK_EDITOR_MOVE_LEFT: m_area.Move(-1, 0); break;
    case ID_TK_EDITOR_MOVE_DOWN: m_area.Move(0, 1); break;
    case ID_TK_EDITOR_MOVE_UP: m_area.Move(0, -1); break;
    default: m_area.Move(1, 0); break;
    }
}

void CTkButtonImageDlg::OnUndo() {
    m_area.Undo();
}

void CTkButtonImageDlg::OnUpdateUndo(CCmdUI* cmdUI) {
    cmdUI->Enable(m_area.CanUndo());
}

void CTkButtonImageDlg::OnRedo() {
    m_area.Redo();
}

void CTkButtonImageDlg::OnUpdateRedo(CCmdUI* cmdUI) {
    cmdUI->Enable(m_area.CanRedo());
}

void CTkButtonImageDlg::OnCopy() {
    m_area.Copy();
}

void CTkButtonImageDlg::OnPaste() {
    m_area.Paste();
}

void CTkButtonImageDlg::OnClear() {
    m_area.Clear();
}

void CTkButtonImageDlg::OnImport() {
    std::wstring path;
    if (ChooseImportFile(path)) m_area.Import(path.c_str());
}

// ---------------------------------------------------------------------------------------------
// Editing a control's picture.

void TkPrepareButtonImageEditor(CTkButtonImageDlg& dialog, CTkIconStore& store, UINT effectiveIconId, int iconWidth,
                                int iconHeight) {
    CTkIconEntry* entry = effectiveIconId ? store.GetImage(effectiveIconId, iconWidth) : nullptr;
    if (entry && !entry->GetNormal().IsEmpty())
        dialog.SetSourceIcon(entry->GetNormal());
    else
        dialog.SetImageSize(iconWidth, iconHeight);
}

UINT TkStoreEditedButtonImage(const CTkButtonImageDlg& dialog, CTkIconStore& store, UINT customIconId, int iconWidth) {
    CTkIconImage picture;
    dialog.GetEditedIcon(picture);
    if (picture.IsEmpty()) return customIconId;
    if (customIconId) {
        if (CTkIconEntry* entry = store.GetImage(customIconId, iconWidth)) {
            entry->SetNormal(picture);
            return customIconId;
        }
    }
    return store.AddCustomIcon(picture);
}

UINT TkEditButtonImage(CWnd* parent, CTkIconStore& store, UINT effectiveIconId, UINT customIconId, int iconWidth,
                       int iconHeight) {
    CTkButtonImageDlg dialog(parent);
    TkPrepareButtonImageEditor(dialog, store, effectiveIconId, iconWidth, iconHeight);
    if (dialog.DoModal() != IDOK) return customIconId;
    return TkStoreEditedButtonImage(dialog, store, customIconId, iconWidth);
}
