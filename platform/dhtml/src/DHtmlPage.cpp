#include "DHtmlPage.h"

#include <windowsx.h>

#include <algorithm>

namespace {

const int kMargin = 12;
const int kItemGap = 6;
const int kColumnGap = 10;
const COLORREF kLinkColour = RGB(0, 0, 204);
const COLORREF kHeadingColour = RGB(0, 51, 102);

bool IsOneOf(const std::wstring& tag, std::initializer_list<const wchar_t*> tags) {
    for (const wchar_t* t : tags)
        if (tag == t) return true;
    return false;
}

std::wstring LowerAttribute(const CDHtmlNode* node, const wchar_t* name) {
    std::wstring value = node->GetAttribute(name);
    for (wchar_t& ch : value) ch = (wchar_t)::towlower(ch);
    return value;
}

// Buttons take "&" as the mark of an access key; a page's "&" is a character.
std::wstring EscapeAmpersands(const std::wstring& text) {
    std::wstring result;
    for (wchar_t ch : text) {
        result += ch;
        if (ch == L'&') result += L'&';
    }
    return result;
}

const CDHtmlNode* FindLabelFor(const CDHtmlNode* node, const std::wstring& id) {
    if (node->IsTag(L"label") && node->GetAttribute(L"for") == id) return node;
    for (const auto& child : node->GetChildren())
        if (const CDHtmlNode* found = FindLabelFor(child.get(), id)) return found;
    return nullptr;
}

const CDHtmlNode* FindCheckBoxIn(const CDHtmlNode* node) {
    if (CDHtmlPage::KindOf(node) == CDHtmlPage::kCheckBox) return node;
    for (const auto& child : node->GetChildren())
        if (const CDHtmlNode* found = FindCheckBoxIn(child.get())) return found;
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

struct CDHtmlPage::Item {
    enum Type { kText, kControl, kRule } type = kText;
    std::wstring text;
    FontKind font = kNormal;
    const CDHtmlNode* node = nullptr;
};

struct CDHtmlPage::Line {
    std::vector<std::vector<Item>> cells;
    int table = -1;
    int indent = 0;
    int spaceAfter = 0;
    bool center = false;
};

// A control of the page: edit boxes ask the page before they show their own context menu, and
// links show the hand cursor.
class CDHtmlPage::CControl : public CWnd {
public:
    CControl(CDHtmlPage* page, const CDHtmlNode* node, ControlKind kind) : m_page(page), m_node(node), m_kind(kind) {}
    ControlKind Kind() const { return m_kind; }

protected:
    afx_msg LRESULT OnContextMenuMessage(WPARAM, LPARAM lParam) {
        if (m_kind == kEdit || m_kind == kPassword) {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (m_page->m_onContextMenu && m_page->m_onContextMenu(m_node, point)) return 0;
        }
        return Default();
    }
    afx_msg LRESULT OnSetCursorMessage(WPARAM, LPARAM lParam) {
        if (m_kind == kLink && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        }
        return Default();
    }

private:
    CDHtmlPage* m_page;
    const CDHtmlNode* m_node;
    ControlKind m_kind;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDHtmlPage::CControl, CWnd)
    ON_MESSAGE(WM_CONTEXTMENU, OnContextMenuMessage)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursorMessage)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------------------------

CDHtmlPage::CDHtmlPage() = default;

CDHtmlPage::~CDHtmlPage() {
    Destroy();
}

CDHtmlPage::ControlKind CDHtmlPage::KindOf(const CDHtmlNode* node) {
    if (!node || !node->IsElement()) return kNone;
    if (node->IsTag(L"input")) {
        std::wstring type = LowerAttribute(node, L"type");
        if (type.empty() || type == L"text") return kEdit;
        if (type == L"password") return kPassword;
        if (type == L"checkbox") return kCheckBox;
        if (type == L"button" || type == L"submit" || type == L"reset") return kButton;
        return kNone;
    }
    if (node->IsTag(L"button")) return kButton;
    if (node->IsTag(L"a") && node->HasAttribute(L"href")) return kLink;
    return kNone;
}

bool CDHtmlPage::Create(CWnd* host, CDHtmlDocument* document, UINT firstId, ContextMenuHandler onContextMenu) {
    Destroy();
    m_host = host;
    m_document = document;
    m_onContextMenu = std::move(onContextMenu);
    CreateFonts();
    UINT nextId = firstId;
    std::function<bool(CDHtmlNode*)> visit = [&](CDHtmlNode* node) {
        ControlKind kind = KindOf(node);
        if (kind != kNone) {
            m_nodes[nextId] = node;
            if (!CreateControls(node, nextId++)) return false;
        }
        for (const auto& child : node->GetChildren())
            if (!visit(child.get())) return false;
        return true;
    };
    if (!document->GetBody() || !visit(document->GetBody())) return false;
    Layout();
    return true;
}

bool CDHtmlPage::CreateControls(CDHtmlNode* node, UINT id) {
    ControlKind kind = KindOf(node);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    DWORD exStyle = 0;
    const char* className = "BUTTON";
    switch (kind) {
    case kEdit:
    case kPassword:
        className = "EDIT";
        exStyle = WS_EX_CLIENTEDGE;
        style |= ES_AUTOHSCROLL | (kind == kPassword ? ES_PASSWORD : 0);
        break;
    case kCheckBox:
        style |= BS_AUTOCHECKBOX;
        break;
    case kButton:
        if (!m_defaultButtonId && LowerAttribute(node, L"type") == L"submit") {
            m_defaultButtonId = id;
            style |= BS_DEFPUSHBUTTON;
        } else {
            style |= BS_PUSHBUTTON;
        }
        break;
    case kLink:
        style |= BS_OWNERDRAW;
        break;
    case kNone:
        return true;
    }
    auto control = std::make_unique<CControl>(this, node, kind);
    if (!control->CreateEx(exStyle, className, "", style, 0, 0, 10, 10, m_host->m_hWnd, (HMENU)(UINT_PTR)id))
        return false;
    ::SendMessageW(control->m_hWnd, WM_SETFONT, (WPARAM)m_fonts[kNormal], FALSE);
    if (kind == kEdit || kind == kPassword) {
        ::SetWindowTextW(control->m_hWnd, node->GetAttribute(L"value").c_str());
        int limit = _wtoi(node->GetAttribute(L"maxlength").c_str());
        if (limit > 0) ::SendMessageW(control->m_hWnd, EM_LIMITTEXT, limit, 0);
    } else {
        ::SetWindowTextW(control->m_hWnd, CaptionOf(node).c_str());
    }
    if (kind == kCheckBox && node->HasAttribute(L"checked"))
        ::SendMessageW(control->m_hWnd, BM_SETCHECK, BST_CHECKED, 0);
    if (node->HasAttribute(L"disabled")) ::EnableWindow(control->m_hWnd, FALSE);
    m_controls[node] = std::move(control);
    return true;
}

void CDHtmlPage::CreateFonts() {
    HFONT base = m_host ? (HFONT)::SendMessageW(m_host->m_hWnd, WM_GETFONT, 0, 0) : nullptr;
    if (!base) base = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTW font = {};
    ::GetObjectW(base, sizeof font, &font);
    m_fonts[kNormal] = base;
    auto make = [&](FontKind kind, int percent, int weight, bool underline) {
        LOGFONTW derived = font;
        derived.lfHeight = font.lfHeight * percent / 100;
        derived.lfWeight = weight;
        derived.lfUnderline = underline;
        m_fonts[kind] = ::CreateFontIndirectW(&derived);
        m_ownFont[kind] = m_fonts[kind] != nullptr;
        if (!m_fonts[kind]) m_fonts[kind] = base;
    };
    make(kHeading1, 160, FW_BOLD, false);
    make(kHeading2, 125, FW_BOLD, false);
    make(kBold, 100, FW_BOLD, false);
    make(kLinkFont, 100, font.lfWeight, true);
}

void CDHtmlPage::Destroy() {
    DestroyLabels();
    for (auto& entry : m_controls)
        if (entry.second->m_hWnd) entry.second->DestroyWindow();
    m_controls.clear();
    m_nodes.clear();
    m_defaultButtonId = 0;
    for (int i = 0; i < kFontCount; ++i) {
        if (m_ownFont[i]) ::DeleteObject(m_fonts[i]);
        m_fonts[i] = nullptr;
        m_ownFont[i] = false;
    }
}

void CDHtmlPage::DestroyLabels() {
    for (HWND label : m_labels)
        if (::IsWindow(label)) ::DestroyWindow(label);
    m_labels.clear();
    m_labelFonts.clear();
}

CDHtmlNode* CDHtmlPage::NodeFromControlId(UINT id) const {
    auto it = m_nodes.find(id);
    return it == m_nodes.end() ? nullptr : it->second;
}

HWND CDHtmlPage::ControlOf(const CDHtmlNode* node) const {
    auto it = m_controls.find(node);
    return it == m_controls.end() ? nullptr : it->second->m_hWnd;
}

std::wstring CDHtmlPage::CaptionOf(const CDHtmlNode* node) const {
    switch (KindOf(node)) {
    case kButton:
        return EscapeAmpersands(node->IsTag(L"input") ? node->GetAttribute(L"value") : node->GetInnerText());
    case kLink:
        return node->GetInnerText();
    case kCheckBox: {
        for (const CDHtmlNode* up = node->GetParent(); up; up = up->GetParent())
            if (up->IsTag(L"label")) return EscapeAmpersands(up->GetInnerText());
        std::wstring id = node->GetId();
        const CDHtmlNode* label = id.empty() || !m_document ? nullptr : FindLabelFor(m_document->GetRoot(), id);
        return label ? EscapeAmpersands(label->GetInnerText()) : std::wstring();
    }
    default:
        return std::wstring();
    }
}

void CDHtmlPage::Refresh() {
    for (auto& entry : m_controls) {
        ControlKind kind = entry.second->Kind();
        if (kind == kEdit || kind == kPassword) continue;
        std::wstring caption = CaptionOf(entry.first);
        wchar_t current[512] = {};
        ::GetWindowTextW(entry.second->m_hWnd, current, 512);
        if (caption != current) ::SetWindowTextW(entry.second->m_hWnd, caption.c_str());
    }
    Layout();
}

// ---------------------------------------------------------------------------------------------
// Lines: the page flattened into rows of texts and controls.

namespace {

struct Context {
    CDHtmlPage::FontKind font = CDHtmlPage::kNormal;
    bool center = false;
    bool inCell = false;
};

}  // namespace

void CDHtmlPage::BuildLines(std::vector<Line>& lines) const {
    const CDHtmlNode* root = m_document ? m_document->GetRoot() : nullptr;
    Line current;
    bool open = false;
    int indent = 0;
    int tables = 0;

    auto start = [&](const Context& ctx) {
        current = Line();
        current.cells.emplace_back();
        current.indent = indent;
        current.center = ctx.center;
        open = true;
    };
    auto flush = [&](int spaceAfter) {
        if (!open) return;
        open = false;
        bool any = false;
        for (auto& cell : current.cells) {
            for (auto& item : cell)
                if (item.type == Item::kText) item.text = DHtmlCollapseWhiteSpace(item.text);
            cell.erase(std::remove_if(cell.begin(), cell.end(),
                                      [](const Item& item) { return item.type == Item::kText && item.text.empty(); }),
                       cell.end());
            any = any || !cell.empty();
        }
        if (!any && current.table < 0) return;
        current.spaceAfter = spaceAfter;
        lines.push_back(std::move(current));
    };
    auto addText = [&](const std::wstring& text, const Context& ctx) {
        if (!open) start(ctx);
        auto& cell = current.cells.back();
        if (!cell.empty() && cell.back().type == Item::kText && cell.back().font == ctx.font) {
            cell.back().text += text;
            return;
        }
        Item item;
        item.text = text;
        item.font = ctx.font;
        cell.push_back(item);
    };
    auto addControl = [&](const CDHtmlNode* node, const Context& ctx) {
        if (!open) start(ctx);
        Item item;
        item.type = Item::kControl;
        item.node = node;
        current.cells.back().push_back(item);
    };

    std::function<void(const CDHtmlNode*, Context)> walk;
    std::function<void(const CDHtmlNode*, Context)> element = [&](const CDHtmlNode* node, Context ctx) {
        const std::wstring& tag = node->GetTag();
        if (IsOneOf(tag, {L"head", L"title", L"script", L"style"})) return;
        if (LowerAttribute(node, L"align") == L"center" || tag == L"center") ctx.center = true;
        if (KindOf(node) != kNone) {
            addControl(node, ctx);
            return;
        }
        if (tag == L"label") {
            if (const CDHtmlNode* box = FindCheckBoxIn(node)) {
                addControl(box, ctx);  // the label is the check box's caption
                return;
            }
            std::wstring target = node->GetAttribute(L"for");
            if (!target.empty() && root && KindOf(root->FindId(target)) == kCheckBox) return;
            walk(node, ctx);
            return;
        }
        if (tag == L"br") {
            if (ctx.inCell) {
                addText(L" ", ctx);
            } else {
                if (!open) start(ctx);
                flush(0);
            }
            return;
        }
        if (ctx.inCell) {
            if (IsOneOf(tag, {L"b", L"strong", L"th"})) ctx.font = kBold;
            walk(node, ctx);
            return;
        }
        if (tag == L"hr") {
            flush(0);
            Line rule;
            rule.cells.emplace_back();
            Item item;
            item.type = Item::kRule;
            rule.cells.back().push_back(item);
            rule.indent = indent;
            rule.spaceAfter = 8;
            lines.push_back(std::move(rule));
            return;
        }
        if (IsOneOf(tag, {L"h1", L"h2", L"h3", L"h4"})) {
            flush(0);
            ctx.font = tag == L"h1" ? kHeading1 : tag == L"h2" ? kHeading2 : kBold;
            walk(node, ctx);
            flush(tag == L"h1" ? 10 : 6);
            return;
        }
        if (IsOneOf(tag, {L"ul", L"ol"})) {
            flush(0);
            indent += 16;
            walk(node, ctx);
            flush(0);
            indent -= 16;
            if (!lines.empty()) lines.back().spaceAfter = std::max(lines.back().spaceAfter, 8);
            return;
        }
        if (tag == L"table") {
            flush(0);
            int table = tables++;
            std::function<void(const CDHtmlNode*)> rows = [&](const CDHtmlNode* part) {
                for (const auto& child : part->GetChildren()) {
                    if (child->IsTag(L"tr")) {
                        Context rowCtx = ctx;
                        rowCtx.inCell = true;
                        start(rowCtx);
                        current.table = table;
                        current.cells.clear();
                        for (const auto& cell : child->GetChildren()) {
                            if (!cell->IsTag(L"td") && !cell->IsTag(L"th")) continue;
                            current.cells.emplace_back();
                            Context cellCtx = rowCtx;
                            if (cell->IsTag(L"th")) cellCtx.font = kBold;
                            walk(cell.get(), cellCtx);
                        }
                        flush(4);
                    } else if (child->IsElement()) {
                        rows(child.get());  // thead, tbody, tfoot
                    }
                }
            };
            rows(node);
            if (!lines.empty()) lines.back().spaceAfter = std::max(lines.back().spaceAfter, 8);
            return;
        }
        if (IsOneOf(tag, {L"p", L"div", L"li", L"form", L"blockquote", L"center", L"body"})) {
            flush(0);
            walk(node, ctx);
            flush(tag == L"p" ? 8 : tag == L"li" ? 2 : 0);
            return;
        }
        if (IsOneOf(tag, {L"b", L"strong"})) ctx.font = kBold;
        walk(node, ctx);  // inline elements: span, em, i, small and the like
    };
    walk = [&](const CDHtmlNode* node, Context ctx) {
        for (const auto& child : node->GetChildren()) {
            if (child->IsElement()) {
                element(child.get(), ctx);
            } else {
                addText(child->GetText(), ctx);
            }
        }
    };
    if (CDHtmlNode* body = m_document ? m_document->GetBody() : nullptr) {
        walk(body, Context());
        flush(0);
    }
}

SIZE CDHtmlPage::TextExtent(const std::wstring& text, FontKind font, int maxWidth, bool wrap) const {
    HDC dc = ::GetDC(m_host->m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, m_fonts[font]);
    RECT rect = {0, 0, std::max(maxWidth, 1), 0};
    const std::wstring& measured = text.empty() ? std::wstring(L"Ag") : text;
    ::DrawTextW(dc, measured.c_str(), (int)measured.size(), &rect,
                DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old);
    ::ReleaseDC(m_host->m_hWnd, dc);
    SIZE size = {text.empty() ? 0 : rect.right - rect.left, rect.bottom - rect.top};
    return size;
}

SIZE CDHtmlPage::Measure(const Item& item, int maxWidth) const {
    if (item.type == Item::kText) {
        SIZE size = TextExtent(item.text, item.font, maxWidth, false);
        size.cx = std::min<LONG>(size.cx, maxWidth);
        return size;
    }
    if (item.type == Item::kRule) return SIZE{maxWidth, 2};
    int lineHeight = TextExtent(L"", kNormal, maxWidth, false).cy;
    HWND control = ControlOf(item.node);
    wchar_t caption[512] = {};
    if (control) ::GetWindowTextW(control, caption, 512);
    SIZE size = {0, 0};
    switch (KindOf(item.node)) {
    case kEdit:
    case kPassword: {
        HDC dc = ::GetDC(m_host->m_hWnd);
        HGDIOBJ old = ::SelectObject(dc, m_fonts[kNormal]);
        TEXTMETRICW metrics = {};
        ::GetTextMetricsW(dc, &metrics);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_host->m_hWnd, dc);
        int chars = _wtoi(item.node->GetAttribute(L"size").c_str());
        if (chars <= 0) chars = 24;
        size.cx = chars * std::max<LONG>(metrics.tmAveCharWidth, 1) + 10;
        size.cy = lineHeight + 8;
        break;
    }
    case kButton:
        size.cx = std::max<LONG>(75, TextExtent(caption, kNormal, maxWidth, false).cx + 24);
        size.cy = lineHeight + 10;
        break;
    case kCheckBox:
        size.cx = TextExtent(caption, kNormal, maxWidth, false).cx + 24;
        size.cy = std::max(lineHeight + 4, 16);
        break;
    case kLink:
        size.cx = TextExtent(caption, kLinkFont, maxWidth, false).cx + 6;
        size.cy = lineHeight + 4;
        break;
    case kNone:
        break;
    }
    size.cx = std::min<LONG>(size.cx, maxWidth);
    return size;
}

HWND CDHtmlPage::CreateLabel(const Item& item, const RECT& rect, bool wrap, bool center) {
    DWORD style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX;
    if (item.type == Item::kRule) {
        style |= SS_ETCHEDHORZ;
    } else {
        style |= center ? SS_CENTER : (wrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
    }
    HWND label = ::CreateWindowExW(0, L"STATIC", item.text.c_str(), style, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, m_host->m_hWnd,
                                   (HMENU)(UINT_PTR)0xFFFF, ::GetModuleHandleW(nullptr), nullptr);
    if (!label) return nullptr;
    ::SendMessageW(label, WM_SETFONT, (WPARAM)m_fonts[item.font], FALSE);
    m_labels.push_back(label);
    m_labelFonts[label] = item.font;
    return label;
}

void CDHtmlPage::Layout() {
    if (!m_host || !m_host->m_hWnd || !m_document) return;
    DestroyLabels();
    std::vector<Line> lines;
    BuildLines(lines);
    RECT client = {};
    ::GetClientRect(m_host->m_hWnd, &client);
    const int width = std::max<int>(40, client.right - 2 * kMargin);

    // Table columns: as wide as their widest cell.
    std::map<int, std::vector<int>> columns;
    for (const Line& line : lines) {
        if (line.table < 0) continue;
        auto& widths = columns[line.table];
        if (widths.size() < line.cells.size()) widths.resize(line.cells.size(), 0);
        for (size_t c = 0; c < line.cells.size(); ++c) {
            int natural = 0;
            for (const Item& item : line.cells[c]) natural += Measure(item, width).cx + kItemGap;
            widths[c] = std::max(widths[c], natural > 0 ? natural - kItemGap : 0);
        }
    }

    auto place = [&](const Item& item, const RECT& rect, bool wrap, bool center) {
        if (item.type == Item::kControl) {
            if (HWND control = ControlOf(item.node))
                ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            CreateLabel(item, rect, wrap, center);
        }
    };

    int y = kMargin;
    for (const Line& line : lines) {
        const int left = kMargin + line.indent;
        const int available = std::max(20, width - line.indent);
        if (line.table >= 0) {
            const auto& widths = columns[line.table];
            int height = 0;
            std::vector<std::vector<SIZE>> sizes(line.cells.size());
            for (size_t c = 0; c < line.cells.size(); ++c)
                for (const Item& item : line.cells[c]) {
                    sizes[c].push_back(Measure(item, available));
                    height = std::max<int>(height, sizes[c].back().cy);
                }
            int x = left;
            for (size_t c = 0; c < line.cells.size(); ++c) {
                int cx = x;
                for (size_t i = 0; i < line.cells[c].size(); ++i) {
                    SIZE size = sizes[c][i];
                    int top = y + (height - size.cy) / 2;
                    place(line.cells[c][i], RECT{cx, top, cx + size.cx, top + size.cy}, false, false);
                    cx += size.cx + kItemGap;
                }
                x += widths[c] + kColumnGap;
            }
            y += height + line.spaceAfter;
            continue;
        }
        const auto& items = line.cells.front();
        if (items.size() == 1 && items[0].type == Item::kText) {
            // A paragraph of text alone wraps at the page's width.
            SIZE size = TextExtent(items[0].text, items[0].font, available, true);
            int x = line.center ? left + (available - size.cx) / 2 : left;
            place(items[0], RECT{x, y, x + size.cx, y + size.cy}, true, line.center);
            y += size.cy + line.spaceAfter;
            continue;
        }
        // Texts and controls side by side, moving to a new row when the width is used up.
        std::vector<SIZE> sizes;
        for (const Item& item : items) sizes.push_back(Measure(item, available));
        size_t first = 0;
        while (first < items.size()) {
            size_t last = first;
            int rowWidth = sizes[first].cx, height = sizes[first].cy;
            while (last + 1 < items.size() && rowWidth + kItemGap + sizes[last + 1].cx <= available) {
                ++last;
                rowWidth += kItemGap + sizes[last].cx;
                height = std::max<int>(height, sizes[last].cy);
            }
            int x = line.center ? left + (available - rowWidth) / 2 : left;
            for (size_t i = first; i <= last; ++i) {
                int top = y + (height - sizes[i].cy) / 2;
                place(items[i], RECT{x, top, x + sizes[i].cx, top + sizes[i].cy}, false, false);
                x += sizes[i].cx + kItemGap;
            }
            y += height + (last + 1 < items.size() ? 4 : 0);
            first = last + 1;
        }
        y += line.spaceAfter;
    }
}

// ---------------------------------------------------------------------------------------------

bool CDHtmlPage::OnDrawItem(const DRAWITEMSTRUCT* item) {
    if (!item || item->CtlType != ODT_BUTTON || KindOf(NodeFromControlId(item->CtlID)) != kLink) return false;
    RECT rect = item->rcItem;
    ::FillRect(item->hDC, &rect, ::GetSysColorBrush(COLOR_WINDOW));
    wchar_t caption[512] = {};
    ::GetWindowTextW(item->hwndItem, caption, 512);
    HGDIOBJ old = ::SelectObject(item->hDC, m_fonts[kLinkFont]);
    ::SetBkMode(item->hDC, TRANSPARENT);
    ::SetTextColor(item->hDC, (item->itemState & ODS_DISABLED) ? ::GetSysColor(COLOR_GRAYTEXT) : kLinkColour);
    RECT text = rect;
    ::InflateRect(&text, -2, 0);
    ::DrawTextW(item->hDC, caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    ::SelectObject(item->hDC, old);
    if (item->itemState & ODS_FOCUS) ::DrawFocusRect(item->hDC, &rect);
    return true;
}

HBRUSH CDHtmlPage::OnCtlColor(HDC dc, HWND control) {
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    auto it = m_labelFonts.find(control);
    if (it != m_labelFonts.end() && (it->second == kHeading1 || it->second == kHeading2))
        ::SetTextColor(dc, kHeadingColour);
    return ::GetSysColorBrush(COLOR_WINDOW);
}
