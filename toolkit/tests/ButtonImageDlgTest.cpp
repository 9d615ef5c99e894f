// The button image editor's dialog: its tool bars, palette, preview, the picture it starts from
// and gives back, and editing a control's picture through it.
#include "TkTestSupport.h"
#include "editor/TkButtonImageDlg.h"
#include "painters/TkColors.h"
#include "res/TkResource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const COLORREF kRed = RGB(255, 0, 0);

// The dialog with the colour and file choosers played by the test.
class CTestEditorDlg : public CTkButtonImageDlg {
public:
    COLORREF chosenColour = RGB(1, 2, 250);
    std::wstring chosenFile;
    int colourAsked = 0;

protected:
    bool ChooseCustomColor(COLORREF& colour) override {
        ++colourAsked;
        colour = chosenColour;
        return true;
    }
    bool ChooseImportFile(std::wstring& path) override {
        path = chosenFile;
        return !path.empty();
    }
};

// Paints a window's content through its PaintTo into a canvas of its client size.
template <class W>
std::unique_ptr<CTkTestCanvas> Painted(const W& wnd) {
    CRect client;
    wnd.GetClientRect(&client);
    auto canvas = std::make_unique<CTkTestCanvas>(client.Width(), client.Height(), RGB(1, 1, 1));
    CDC dc;
    dc.Attach(canvas->dc());
    wnd.PaintTo(dc);
    dc.Detach();
    return canvas;
}

// A 16 x 16 alpha bitmap of one colour with column 0 all zero.
HBITMAP AlphaBitmap(DWORD pixel) {
    DWORD* bits = nullptr;
    HBITMAP bitmap = TkCreateAlphaBitmap(16, 16, &bits);
    for (int i = 0; i < 256; ++i) bits[i] = i % 16 == 0 ? 0 : pixel;
    return bitmap;
}

class EditorDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TkDesktopReady());
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        ASSERT_TRUE(dialog.Create(IDD_TK_BUTTON_IMAGE));
        dialog.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        dialog.DestroyWindow();
        ::OleUninitialize();
    }
    void Command(UINT id) { dialog.SendMessage(WM_COMMAND, id, (LPARAM)dialog.GetToolsBar().GetSafeHwnd()); }
    void ClickArea(int x, int y) {
        CTkImageEditArea& area = dialog.GetEditArea();
        const LPARAM at = MAKELPARAM(x * area.GetCellWidth() + 1, y * area.GetCellHeight() + 1);
        area.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        area.SendMessage(WM_LBUTTONUP, 0, at);
    }
    CTestEditorDlg dialog;
};

TEST_F(EditorDialog, ToolBarsAndPaletteAreLaidOut) {
    CToolBar& tools = dialog.GetToolsBar();
    EXPECT_EQ(12, (int)tools.SendMessage(TB_BUTTONCOUNT));
    EXPECT_EQ(4, (int)dialog.GetMoveBar().SendMessage(TB_BUTTONCOUNT));
    // Three rows of four.
    CRect first, fourth, fifth, last;
    tools.SendMessage(TB_GETITEMRECT, 0, (LPARAM)&first);
    tools.SendMessage(TB_GETITEMRECT, 3, (LPARAM)&fourth);
    tools.SendMessage(TB_GETITEMRECT, 4, (LPARAM)&fifth);
    tools.SendMessage(TB_GETITEMRECT, 11, (LPARAM)&last);
    EXPECT_EQ(first.top, fourth.top);
    EXPECT_GT(fifth.top, first.top);
    EXPECT_EQ(first.left, fifth.left);
    EXPECT_GT(last.top, fifth.top);
    EXPECT_EQ(11, tools.CommandToIndex(ID_TK_EDITOR_IMPORT));
    EXPECT_EQ(2, tools.CommandToIndex(ID_TK_EDITOR_UNDO));
    // The palette: the first cell selected, red in the second row, 13 pixels apart.
    EXPECT_EQ(dialog.GetPaletteCell(0), dialog.GetCurrentCell());
    EXPECT_EQ(RGB(0, 0, 0), dialog.GetEditArea().GetColor());
    CRect black, grey, red;
    dialog.GetPaletteCell(0)->GetWindowRect(&black);
    dialog.GetPaletteCell(1)->GetWindowRect(&grey);
    dialog.GetPaletteCell(10)->GetWindowRect(&red);
    EXPECT_EQ(13, grey.left - black.left);
    EXPECT_EQ(13, red.top - black.top);
    EXPECT_EQ(11, black.Width());
    EXPECT_EQ(9466, dialog.GetPaletteCell(10)->GetDlgCtrlID());
    EXPECT_EQ(kRed, dialog.GetPaletteCell(10)->GetColor());
    // The edit area holds whole cells of the 16 x 16 picture.
    CRect area;
    dialog.GetEditArea().GetClientRect(&area);
    EXPECT_EQ(16 * dialog.GetEditArea().GetCellWidth() + 1, area.Width());
    EXPECT_GE(dialog.GetEditArea().GetCellWidth(), 1);
    EXPECT_TRUE(::GetWindowLongPtrW(dialog.GetPreview().GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
}

TEST_F(EditorDialog, ToolsColoursAndTheirButtons) {
    CToolBar& tools = dialog.GetToolsBar();
    EXPECT_TRUE(tools.IsButtonChecked(ID_TK_EDITOR_PENCIL));
    EXPECT_FALSE(tools.IsButtonEnabled(ID_TK_EDITOR_UNDO));
    EXPECT_FALSE(tools.IsButtonEnabled(ID_TK_EDITOR_REDO));
    // A press on the red cell makes red current; the pencil paints with it.
    dialog.GetPaletteCell(10)->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(dialog.GetPaletteCell(10), dialog.GetCurrentCell());
    EXPECT_FALSE(dialog.GetPaletteCell(0)->IsSelected());
    ClickArea(4, 4);
    EXPECT_EQ(kRed, dialog.GetEditArea().GetPicture()->ColorAt(4, 4));
    EXPECT_TRUE(tools.IsButtonEnabled(ID_TK_EDITOR_UNDO));
    Command(ID_TK_EDITOR_UNDO);
    EXPECT_TRUE(tools.IsButtonEnabled(ID_TK_EDITOR_REDO));
    EXPECT_FALSE(tools.IsButtonEnabled(ID_TK_EDITOR_UNDO));
    Command(ID_TK_EDITOR_REDO);
    EXPECT_EQ(kRed, dialog.GetEditArea().GetPicture()->ColorAt(4, 4));
    // The line tool, then the pick tool twice: one click picks and goes back to the line.
    Command(ID_TK_EDITOR_LINE);
    EXPECT_TRUE(tools.IsButtonChecked(ID_TK_EDITOR_LINE));
    EXPECT_FALSE(tools.IsButtonChecked(ID_TK_EDITOR_PENCIL));
    Command(ID_TK_EDITOR_PICK);
    Command(ID_TK_EDITOR_PICK);
    ClickArea(4, 4);
    EXPECT_EQ(CTkImageEditArea::ToolLine, dialog.GetTool());
    EXPECT_TRUE(tools.IsButtonChecked(ID_TK_EDITOR_LINE));
    EXPECT_EQ(&dialog.GetCustomCell(), dialog.GetCurrentCell());
    EXPECT_EQ(kRed, dialog.GetCustomCell().GetColor());
    // Picking a transparent pixel gives the transparent colour.
    Command(ID_TK_EDITOR_PICK);
    ClickArea(9, 9);
    EXPECT_EQ(TK_EDIT_TRANSPARENT, dialog.GetCustomCell().GetColor());
    // The custom cell asks for a colour; the transparent cell selects the transparent colour.
    dialog.GetCustomCell().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(1, dialog.colourAsked);
    EXPECT_EQ(RGB(1, 2, 250), dialog.GetEditArea().GetColor());
    dialog.GetTransparentCell().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(TK_EDIT_TRANSPARENT, dialog.GetEditArea().GetColor());
    // Move, clear and import through their commands.
    Command(ID_TK_EDITOR_MOVE_RIGHT);
    EXPECT_EQ(kRed, dialog.GetEditArea().GetPicture()->ColorAt(5, 4));
    Command(ID_TK_EDITOR_MOVE_DOWN);
    EXPECT_EQ(kRed, dialog.GetEditArea().GetPicture()->ColorAt(5, 5));
    Command(ID_TK_EDITOR_CLEAR);
    EXPECT_EQ(nullptr, dialog.GetEditArea().GetPicture());
    const size_t undo = dialog.GetEditArea().GetUndoCount();
    dialog.chosenFile = L"c:\\no such folder\\none.ico";
    Command(ID_TK_EDITOR_IMPORT);
    EXPECT_EQ(undo, dialog.GetEditArea().GetUndoCount());
}

TEST_F(EditorDialog, ToolTipsAreTheSecondPartOfTheirStrings) {
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = dialog.GetToolsBar().GetSafeHwnd();
    info.hdr.idFrom = ID_TK_EDITOR_PENCIL;
    info.hdr.code = TTN_GETDISPINFOW;
    dialog.SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_STREQ(L"Pencil", info.lpszText);
    // Without a newline the whole text; a long text is cut to the buffer with its zero.
    wchar_t buffer[8];
    TkToolTipText(L"no newline at all", buffer, 8);
    EXPECT_STREQ(L"no newl", buffer);
    TkToolTipText(L"first\nsecond", buffer, 8);
    EXPECT_STREQ(L"second", buffer);
    TkToolTipText(nullptr, buffer, 8);
    EXPECT_STREQ(L"", buffer);
    std::wstring longText = L"x\n" + std::wstring(200, L'y');
    wchar_t tip[80];
    TkToolTipText(longText.c_str(), tip, 80);
    EXPECT_EQ(79u, std::wcslen(tip));
}

TEST_F(EditorDialog, PreviewAndColourCellsPaint) {
    // Empty: the button face inside the frames.
    const COLORREF face = TkGetColor(TK_COLOR_BTNFACE);
    auto empty = Painted(dialog.GetPreview());
    const int top = (empty->height() - 16) / 2;
    EXPECT_EQ(face, empty->At(15, top + 5));
    EXPECT_EQ(RGB(255, 255, 255), empty->At(7, top + 5));
    EXPECT_EQ(TkGetColor(TK_COLOR_3DDKSHADOW), empty->At(10 + 16 + 3, top + 5));
    // A red pixel at (2, 3); transparent pixels show the face.
    dialog.GetPaletteCell(10)->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ClickArea(2, 3);
    auto plain = Painted(dialog.GetPreview());
    EXPECT_EQ(kRed, plain->At(12, top + 3));
    EXPECT_EQ(face, plain->At(13, top + 3));
    // An alpha picture is blended over the face.
    auto alpha = CTkEditPicture::Create(16, 16, true);
    alpha->SetPixel(2, 3, 0xFF0000FF);
    dialog.GetEditArea().SetPicture(std::move(alpha));
    auto blended = Painted(dialog.GetPreview());
    EXPECT_EQ(RGB(0, 0, 255), blended->At(12, top + 3));
    EXPECT_EQ(face, blended->At(13, top + 3));
    // Cells: the selected one has black, white, black frames; the transparent one its quarters.
    auto selected = Painted(*dialog.GetPaletteCell(10));
    EXPECT_EQ(RGB(0, 0, 0), selected->At(0, 5));
    EXPECT_EQ(RGB(255, 255, 255), selected->At(1, 5));
    EXPECT_EQ(RGB(0, 0, 0), selected->At(2, 5));
    EXPECT_EQ(kRed, selected->At(5, 5));
    auto other = Painted(*dialog.GetPaletteCell(11));
    EXPECT_EQ(TkGetColor(TK_COLOR_3DDKSHADOW), other->At(0, 5));
    EXPECT_EQ(RGB(255, 255, 0), other->At(2, 5));
    auto transparent = Painted(dialog.GetTransparentCell());
    const int w = transparent->width(), h = transparent->height();
    EXPECT_EQ(RGB(0xEB, 0xEB, 0xEB), transparent->At(w / 2 - 1, h / 2 - 1));
    EXPECT_EQ(RGB(255, 255, 255), transparent->At(w / 2 + 1, h / 2 - 1));
    EXPECT_EQ(RGB(0xEB, 0xEB, 0xEB), transparent->At(w / 2 + 1, h / 2 + 1));
}

// ---------------------------------------------------------------------------------------------
// The picture in and out.

TEST(TkButtonImageDlg, SourceAndEditedPictures) {
    ASSERT_TRUE(TkDesktopReady());
    // An alpha source: all-zero pixels become transparent, the rest keep their alpha.
    {
        CTkButtonImageDlg dialog;
        CTkIconImage source = CTkIconImage::FromAlphaBitmap(AlphaBitmap(0x8000FF00));
        dialog.SetSourceIcon(source);
        ASSERT_TRUE(dialog.Create(IDD_TK_BUTTON_IMAGE));
        const CTkEditPicture* picture = dialog.GetEditArea().GetPicture();
        ASSERT_NE(nullptr, picture);
        EXPECT_TRUE(picture->IsAlpha());
        EXPECT_EQ(TK_EDIT_TRANSPARENT_PIXEL, picture->GetPixel(0, 7));
        EXPECT_EQ(0x8000FF00u, picture->GetPixel(3, 7));
        CTkIconImage edited;
        dialog.GetEditedIcon(edited);
        ASSERT_TRUE(edited.IsAlpha());
        auto back = CTkEditPicture::FromBitmap(edited.GetAlphaBitmap(), 16, 16, true);
        EXPECT_EQ(0x8000FF00u, back->GetPixel(3, 7));
        EXPECT_EQ(TK_EDIT_TRANSPARENT_PIXEL, back->GetPixel(0, 7));
    }
    // An icon source of 24 pixels: a plain picture of that size; back as an icon whose mask is
    // the transparent pixels.
    {
        CTkButtonImageDlg dialog;
        CTkIconStore store;
        HBITMAP colour = TkCreateAlphaBitmap(24, 24);
        {
            CTkBitmapDC memory(nullptr, colour);
            memory.GetDC().FillSolidRect(CRect(0, 0, 24, 24), RGB(0, 0, 0));
            memory.GetDC().FillSolidRect(CRect(4, 4, 20, 20), RGB(0, 0, 200));
        }
        std::vector<BYTE> maskBits(4 * 24, 0xFF);
        for (int y = 4; y < 20; ++y)
            for (int x = 4; x < 20; ++x) maskBits[y * 4 + x / 8] &= (BYTE) ~(0x80 >> (x % 8));
        HBITMAP mask = ::CreateBitmap(24, 24, 1, 1, maskBits.data());
        ICONINFO ii = {TRUE, 0, 0, mask, colour};
        CTkIconImage icon(::CreateIconIndirect(&ii));
        ::DeleteObject(mask);
        ::DeleteObject(colour);
        dialog.SetSourceIcon(icon);
        ASSERT_TRUE(dialog.Create(IDD_TK_BUTTON_IMAGE));
        const CTkEditPicture* picture = dialog.GetEditArea().GetPicture();
        ASSERT_NE(nullptr, picture);
        EXPECT_EQ(24, picture->Width());
        EXPECT_FALSE(picture->IsAlpha());
        EXPECT_EQ(RGB(0, 0, 200), picture->ColorAt(10, 10));
        EXPECT_TRUE(picture->IsTransparentAt(1, 1));
        CTkIconImage edited;
        dialog.GetEditedIcon(edited);
        ASSERT_NE(nullptr, edited.GetIcon());
        for (COLORREF background : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
            CTkTestCanvas canvas(24, 24, background);
            ::DrawIconEx(canvas.dc(), 0, 0, edited.GetIcon(), 24, 24, 0, nullptr, DI_NORMAL);
            EXPECT_EQ(background, canvas.At(1, 1));
            EXPECT_EQ(RGB(0, 0, 200), canvas.At(10, 10));
        }
    }
    // Empty pictures give empty images; an empty source changes nothing.
    {
        CTkButtonImageDlg dialog;
        CTkIconImage nothing;
        dialog.SetSourceIcon(nothing);
        dialog.SetImageSize(0, 999);
        ASSERT_TRUE(dialog.Create(IDD_TK_BUTTON_IMAGE));
        EXPECT_EQ(1, dialog.GetEditArea().GetPictureWidth());
        EXPECT_EQ(256, dialog.GetEditArea().GetPictureHeight());
        CTkIconImage edited;
        dialog.GetEditedIcon(edited);
        EXPECT_TRUE(edited.IsEmpty());
    }
}

// Plays the user of the modal editor: paints one pixel red and presses OK (or Cancel).
struct CModalUser {
    static CModalUser* current;
    UINT button = IDOK;
    int runs = 0;
    static BOOL CALLBACK FindEditor(HWND hwnd, LPARAM found) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd))
            if (wnd->IsKindOf(RUNTIME_CLASS(CTkButtonImageDlg))) {
                *reinterpret_cast<CTkButtonImageDlg**>(found) = static_cast<CTkButtonImageDlg*>(wnd);
                return FALSE;
            }
        return TRUE;
    }
    static void CALLBACK Act(HWND, UINT, UINT_PTR timer, DWORD) {
        CTkButtonImageDlg* editor = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindEditor, (LPARAM)&editor);
        if (!editor) return;
        ::KillTimer(nullptr, timer);
        ++current->runs;
        editor->GetPaletteCell(10)->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
        CTkImageEditArea& area = editor->GetEditArea();
        const LPARAM at = MAKELPARAM(5 * area.GetCellWidth() + 1, 6 * area.GetCellHeight() + 1);
        area.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        area.SendMessage(WM_LBUTTONUP, 0, at);
        editor->PostMessage(WM_COMMAND, current->button);
    }
    UINT Run(CTkIconStore& store, UINT effective, UINT custom) {
        current = this;
        ::SetTimer(nullptr, 0, 20, Act);
        return TkEditButtonImage(nullptr, store, effective, custom, 16, 16);
    }
};
CModalUser* CModalUser::current = nullptr;

COLORREF StoredPixel(CTkIconStore& store, UINT id, int x, int y) {
    CTkIconEntry* entry = store.GetImage(id, 16);
    if (!entry) return CLR_INVALID;
    CTkTestCanvas canvas(16, 16, RGB(9, 9, 9));
    entry->Draw(canvas.dc(), 0, 0, entry->GetNormal());
    return canvas.At(x, y);
}

TEST(TkButtonImageDlg, EditingAControlsPictureStoresACustomIcon) {
    ASSERT_TRUE(TkDesktopReady());
    CTkIconStore store;
    CTkIconImage command = CTkIconImage::FromAlphaBitmap(AlphaBitmap(0xFF00C000));
    ASSERT_TRUE(store.AddIcon(command, 4001));
    // A control without a custom icon: the edit becomes a new custom icon; the command keeps its own.
    CModalUser user;
    const UINT custom = user.Run(store, 4001, 0);
    EXPECT_EQ(1, user.runs);
    EXPECT_EQ(CTkIconStore::kFirstCustomBase + 1, custom);
    EXPECT_EQ(kRed, StoredPixel(store, custom, 5, 6));
    EXPECT_EQ(RGB(0, 192, 0), StoredPixel(store, custom, 6, 6));
    EXPECT_EQ(RGB(0, 192, 0), StoredPixel(store, 4001, 5, 6));
    // With a custom icon the edit replaces its picture under the same id (the pencil on red
    // erases it again).
    EXPECT_EQ(custom, user.Run(store, custom, custom));
    EXPECT_EQ(RGB(9, 9, 9), StoredPixel(store, custom, 5, 6));
    EXPECT_EQ(2, store.GetSetCount());
    // Cancel keeps everything.
    user.button = IDCANCEL;
    EXPECT_EQ(0u, user.Run(store, 4001, 0));
    EXPECT_EQ(2, store.GetSetCount());
    // A command without a picture starts an empty editor of the bar's size.
    user.button = IDOK;
    const UINT fresh = user.Run(store, 4999, 0);
    EXPECT_EQ(CTkIconStore::kFirstCustomBase + 2, fresh);
    EXPECT_EQ(kRed, StoredPixel(store, fresh, 5, 6));
    EXPECT_EQ(RGB(9, 9, 9), StoredPixel(store, fresh, 6, 6));
}

}  // namespace
