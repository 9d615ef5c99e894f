// The edit area of the button image editor: the picture enlarged on a grid, drawn on with the
// editor's tools, with undo and redo, moving, clearing, the clipboard and picture files.
#pragma once

#include "editor/TkEditPicture.h"

#include <deque>

// What the area tells the dialog that holds it.
class CTkImageEditSite {
public:
    virtual ~CTkImageEditSite() = default;
    // The pick tool read this colour from the picture.
    virtual void OnEditColorPicked(COLORREF colour) = 0;
    // The working picture changed (the preview and the tool bars follow it).
    virtual void OnEditPictureChanged() = 0;
};

class CTkImageEditArea : public CStatic {
public:
    enum Tool { ToolPencil, ToolFill, ToolPick, ToolLine, ToolRectangle, ToolEllipse, ToolCount };
    static constexpr size_t kMaxUndo = 16;

    CTkImageEditArea();
    ~CTkImageEditArea() override;

    // Takes over the dialog's control and sizes it to a whole number of cells per pixel.
    bool AttachToControl(CWnd* parent, UINT id, int width, int height);
    // The picture size (1..256) and the cell size from the client area.
    void SetPictureSize(int width, int height);
    void SetSite(CTkImageEditSite* site) { m_pSite = site; }
    void SetTool(int tool) { m_nTool = tool; }
    int GetTool() const { return m_nTool; }
    void SetColor(COLORREF colour) { m_clrCurrent = colour; }
    COLORREF GetColor() const { return m_clrCurrent; }

    int GetPictureWidth() const { return m_nPictureWidth; }
    int GetPictureHeight() const { return m_nPictureHeight; }
    int GetCellWidth() const { return m_nCellWidth; }
    int GetCellHeight() const { return m_nCellHeight; }
    // The pixel a client point addresses; (-1, -1) left of or above the picture.
    CPoint PixelFromPoint(CPoint point) const;

    // The working picture (none when empty).
    const CTkEditPicture* GetPicture() const { return m_pPicture.get(); }
    // The picture an editor starts from; not a change.
    void SetPicture(std::unique_ptr<CTkEditPicture> picture);
    // The working picture rendered: a copy, or an all-transparent picture when it is empty.
    std::unique_ptr<CTkEditPicture> Rendered() const;

    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    size_t GetUndoCount() const { return m_undo.size(); }
    void Undo();
    void Redo();
    void Clear();
    void Move(int dx, int dy);
    // The picture as a bitmap (transparent pixels in the button face unless it has alpha) and,
    // for an alpha picture, the marker. Nothing for an empty picture.
    void Copy();
    // The clipboard's bitmap as the new picture; false, with nothing changed, when there is none.
    bool Paste();
    // A picture file as the new picture; false, with nothing changed, when it cannot be loaded.
    bool Import(const wchar_t* path);

    // Paints the area into a device context the size of the client area.
    void PaintTo(CDC& dc) const;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(HDC) { return TRUE; }
    afx_msg LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    afx_msg LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    afx_msg LRESULT OnLButtonUp(WPARAM, LPARAM);
    afx_msg LRESULT OnCaptureChanged(WPARAM, LPARAM);
    afx_msg LRESULT OnSetCursor(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void BeginChange();
    // Makes a new picture the working one as one change.
    void ReplaceWith(std::unique_ptr<CTkEditPicture> picture);
    void Commit();
    void Changed();
    // Undo and redo: the newest picture of one list becomes the working one, which goes to the other.
    void Step(std::deque<std::unique_ptr<CTkEditPicture>>& from, std::deque<std::unique_ptr<CTkEditPicture>>& to);
    void DrawStroke(CPoint pixel);
    void DrawShape(CPoint from, CPoint to);
    CPoint ClampToPicture(CPoint pixel) const;

    int m_nPictureWidth = 16;
    int m_nPictureHeight = 16;
    int m_nCellWidth = 1;
    int m_nCellHeight = 1;
    int m_nTool = ToolPencil;
    COLORREF m_clrCurrent = RGB(0, 0, 0);
    std::unique_ptr<CTkEditPicture> m_pPicture;
    std::unique_ptr<CTkEditPicture> m_pStart;
    std::deque<std::unique_ptr<CTkEditPicture>> m_undo;
    std::deque<std::unique_ptr<CTkEditPicture>> m_redo;
    bool m_bDrawing = false;
    // A stroke has begun and is not yet committed (a stray capture change commits nothing).
    bool m_bChangePending = false;
    CPoint m_ptStart;
    DWORD m_dwStroke = 0;
    CTkImageEditSite* m_pSite = nullptr;
    HCURSOR m_hCursors[4] = {};
};
