// Lays a page out as native child controls of its dialog: texts as labels, text and password
// inputs as edit boxes, check boxes, buttons and links (owner-drawn buttons), from top to
// bottom in document order, table cells in aligned columns.
#pragma once

#include "DHtmlDocument.h"
#include "afxwin.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CDHtmlPage {
public:
    enum ControlKind { kNone, kEdit, kPassword, kCheckBox, kButton, kLink };
    enum FontKind { kNormal, kHeading1, kHeading2, kBold, kLinkFont, kFontCount };

    // Called when the user asks for a context menu on a control of the page (the node) or on
    // the page itself (none); true when the menu is handled and must not be shown.
    using ContextMenuHandler = std::function<bool(const CDHtmlNode*, POINT)>;

    CDHtmlPage();
    ~CDHtmlPage();
    CDHtmlPage(const CDHtmlPage&) = delete;
    CDHtmlPage& operator=(const CDHtmlPage&) = delete;

    // Creates the page's interactive controls in the host, with ids from firstId on, and lays
    // the page out. False when a control could not be made.
    bool Create(CWnd* host, CDHtmlDocument* document, UINT firstId, ContextMenuHandler onContextMenu);
    void Destroy();
    // Takes the texts of the document into the controls again and lays the page out.
    void Refresh();
    // Positions everything for the host's current client size.
    void Layout();

    static ControlKind KindOf(const CDHtmlNode* node);
    CDHtmlNode* NodeFromControlId(UINT id) const;
    HWND ControlOf(const CDHtmlNode* node) const;
    UINT DefaultButtonId() const { return m_defaultButtonId; }

    // Host messages the page answers: owner-drawn links and colours.
    bool OnDrawItem(const DRAWITEMSTRUCT* item);
    HBRUSH OnCtlColor(HDC dc, HWND control);

private:
    struct Item;
    struct Line;
    class CControl;

    void CreateFonts();
    bool CreateControls(CDHtmlNode* node, UINT id);
    std::wstring CaptionOf(const CDHtmlNode* node) const;
    void BuildLines(std::vector<Line>& lines) const;
    SIZE Measure(const Item& item, int maxWidth) const;
    SIZE TextExtent(const std::wstring& text, FontKind font, int maxWidth, bool wrap) const;
    void DestroyLabels();
    HWND CreateLabel(const Item& item, const RECT& rect, bool wrap, bool center);

    CWnd* m_host = nullptr;
    CDHtmlDocument* m_document = nullptr;
    ContextMenuHandler m_onContextMenu;
    HFONT m_fonts[kFontCount] = {};
    bool m_ownFont[kFontCount] = {};
    std::map<UINT, CDHtmlNode*> m_nodes;
    std::map<const CDHtmlNode*, std::unique_ptr<CControl>> m_controls;
    std::vector<HWND> m_labels;
    std::map<HWND, FontKind> m_labelFonts;
    UINT m_defaultButtonId = 0;
};
