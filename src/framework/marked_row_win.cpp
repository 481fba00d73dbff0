#include "framework/marked_row_win.h"

#include <algorithm>

namespace varnoke {

namespace {

// The marker pen of a printed page: readable under black text, apart from the selection.
constexpr COLORREF kMarkBackground = RGB(255, 232, 128);
constexpr int kPadding = 2;

const wchar_t* Units(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

int TextWidth(HDC dc, std::u16string_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, Units(text), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Draws `text` at x and moves x past it.
void DrawPiece(HDC dc, const RECT& clip, int& x, std::u16string_view text) {
    if (text.empty() || x >= clip.right) {
        return;
    }
    ExtTextOutW(dc, x, clip.top + 1, ETO_CLIPPED, &clip, Units(text),
                static_cast<UINT>(text.size()), nullptr);
    x += TextWidth(dc, text);
}

}  // namespace

void MarkedRowPainter::SetFont(HFONT font, int tabX) {
    font_ = font;
    tabX_ = tabX;
    LOGFONTW description{};
    if (font != nullptr && GetObjectW(font, sizeof(description), &description) != 0) {
        description.lfWeight = FW_BOLD;
        bold_ = FontHandle(CreateFontIndirectW(&description));
    }
}

int MarkedRowPainter::RowHeight(HWND list) const {
    WindowDC dc(list);
    HGDIOBJ old =
        SelectObject(dc.get(), font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    SelectObject(dc.get(), old);
    return metrics.tmHeight + 2;
}

void MarkedRowPainter::Draw(const DRAWITEMSTRUCT& item, std::u16string_view row,
                            const std::vector<TextMark>& marks) const {
    HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetTextColor(dc, text);
    SetBkMode(dc, TRANSPARENT);

    const size_t tab = std::min(row.find(u'\t'), row.size());
    int x = rect.left + kPadding;
    DrawPiece(dc, rect, x, row.substr(0, tab));
    x = std::max(static_cast<int>(rect.left) + tabX_, x + TextWidth(dc, u"  "));
    size_t at = tab + 1;
    for (const TextMark& mark : marks) {
        if (at > row.size() || mark.start < at || mark.start >= row.size()) {
            continue;
        }
        DrawPiece(dc, rect, x, row.substr(at, mark.start - at));
        const std::u16string_view marked = row.substr(mark.start, mark.length);
        SelectObject(dc, bold_.get() != nullptr ? bold_.get() : font_);
        if (!selected) {
            // The highlight behind a marked stretch, then its text on it.
            const RECT behind{x, rect.top, std::min<LONG>(x + TextWidth(dc, marked), rect.right),
                              rect.bottom};
            SetBkColor(dc, kMarkBackground);
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &behind, nullptr, 0, nullptr);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        }
        DrawPiece(dc, rect, x, marked);
        SelectObject(dc, font_);
        SetTextColor(dc, text);
        at = mark.start + mark.length;
    }
    if (at < row.size()) {
        DrawPiece(dc, rect, x, row.substr(at));
    }
    if ((item.itemState & ODS_FOCUS) != 0) {
        DrawFocusRect(dc, &rect);
    }
    SelectObject(dc, oldFont);
}

}  // namespace varnoke
