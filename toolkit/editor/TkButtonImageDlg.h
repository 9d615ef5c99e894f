// The button image editor: a dialog with the edit area, the tools and move tool bars, a palette
// of colour cells, a preview at real size, and the way a control's picture is edited with it.
#pragma once

#include "afxext.h"
#include "editor/TkImageEditArea.h"
#include "images/TkIconStore.h"

// One colour cell of the palette; a press notifies the dialog (NM_CLICK).
class CTkImageEditorPicker : public CStatic {
public:
    COLORREF GetColor() const { return m_clrColor; }
    void SetColor(COLORREF colour);
    bool IsSelected() const { return m_bSelected; }
    void SetSelected(bool selected);
    void PaintTo(CDC& dc) const;

protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnLButtonDown(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    friend class CTkButtonImageDlg;
    COLORREF m_clrColor = 0;
    bool m_bSelected = false;
};

// The picture at real size on the button face.
class CTkImageEditorPreview : public CStatic {
public:
    void SetArea(const CTkImageEditArea* area) { m_pArea = area; }
    void PaintTo(CDC& dc) const;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(HDC) { return TRUE; }
    DECLARE_MESSAGE_MAP()

private:
    const CTkImageEditArea* m_pArea = nullptr;
};

class CTkButtonImageDlg : public CDialog, public CTkImageEditSite {
    DECLARE_DYNAMIC(CTkButtonImageDlg)
public:
    static const int kPaletteCells = 16;

    explicit CTkButtonImageDlg(CWnd* parent = nullptr);
    ~CTkButtonImageDlg() override;

    // The picture size of an editor that starts empty (1..256).
    void SetImageSize(int width, int height);
    // Starts from a picture: an alpha bitmap keeps its alpha, an icon is drawn on the transparent
    // colour. An empty image does nothing.
    void SetSourceIcon(const CTkIconImage& image);
    // The edited picture: an alpha bitmap, or an icon whose mask is the transparent pixels.
    // Nothing for an empty picture or one that does not make an icon.
    void GetEditedIcon(CTkIconImage& image) const;

    bool OnInitDialog() override;
    const CTkImageEditArea& GetEditArea() const { return m_area; }
    int GetTool() const { return m_nTool; }
    int GetPreviousTool() const { return m_nPreviousTool; }
    CTkImageEditorPicker* GetCurrentCell() const { return m_pCurrentCell; }
    CTkImageEditorPicker& GetCustomCell() { return m_custom; }
    CTkImageEditorPicker& GetTransparentCell() { return m_transparent; }
    CTkImageEditorPicker* GetPaletteCell(int index) { return &m_cells[index]; }
    CTkImageEditArea& GetEditArea() { return m_area; }
    CTkImageEditorPreview& GetPreview() { return m_preview; }
    CToolBar& GetToolsBar() { return m_toolsBar; }
    CToolBar& GetMoveBar() { return m_moveBar; }
    // Asks the tool bars' update handlers for their buttons' state.
    void UpdateToolBars();

    // Edit area notifications.
    void OnEditColorPicked(COLORREF colour) override;
    void OnEditPictureChanged() override;

protected:
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The colour chooser and the file chooser (tests play the user here).
    virtual bool ChooseCustomColor(COLORREF& colour);
    virtual bool ChooseImportFile(std::wstring& path);

    afx_msg void OnTool(UINT id);
    afx_msg void OnUpdateTool(CCmdUI* cmdUI);
    afx_msg void OnMove(UINT id);
    afx_msg void OnUndo();
    afx_msg void OnUpdateUndo(CCmdUI* cmdUI);
    afx_msg void OnRedo();
    afx_msg void OnUpdateRedo(CCmdUI* cmdUI);
    afx_msg void OnCopy();
    afx_msg void OnPaste();
    afx_msg void OnClear();
    afx_msg void OnImport();
    afx_msg LRESULT OnKickIdle(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void SelectTool(int tool);
    void SelectCell(CTkImageEditorPicker* cell);
    void OnCellClicked(UINT id);
    bool CreateToolBar(CToolBar& bar, UINT id, const UINT* buttons, int count, UINT placeholder, int wrap);
    void LoadButtonImages();

    int m_nWidth = 16;
    int m_nHeight = 16;
    int m_nTool = CTkImageEditArea::ToolPencil;
    int m_nPreviousTool = CTkImageEditArea::ToolPencil;
    std::unique_ptr<CTkEditPicture> m_pSource;
    CTkImageEditorPicker* m_pCurrentCell = nullptr;
    CToolBar m_toolsBar;
    CToolBar m_moveBar;
    HIMAGELIST m_hToolsImages = nullptr;
    HIMAGELIST m_hMoveImages = nullptr;
    CTkImageEditorPicker m_cells[kPaletteCells];
    CTkImageEditorPicker m_transparent;
    CTkImageEditorPicker m_custom;
    CTkImageEditArea m_area;
    CTkImageEditorPreview m_preview;
};

// The text of a tool-bar button's tooltip: the part of its string after the first newline (the
// whole string when it has none), cut to fit the buffer with its terminating zero.
void TkToolTipText(const wchar_t* resource, wchar_t* buffer, size_t size);

// Editing a control's picture: the editor starts from the picture of the icon id at the bar's
// icon size (or empty at that size). When the user keeps a picture, it replaces the normal
// picture of the control's custom icon, or becomes a new custom icon. Returns the custom icon id
// the control has afterwards (unchanged when nothing was kept).
UINT TkEditButtonImage(CWnd* parent, CTkIconStore& store, UINT effectiveIconId, UINT customIconId, int iconWidth,
                       int iconHeight);
// The two halves of it around the dialog's run.
void TkPrepareButtonImageEditor(CTkButtonImageDlg& dialog, CTkIconStore& store, UINT effectiveIconId, int iconWidth,
                                int iconHeight);
UINT TkStoreEditedButtonImage(const CTkButtonImageDlg& dialog, CTkIconStore& store, UINT customIconId, int iconWidth);
