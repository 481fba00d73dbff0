#include "framework/controls_win.h"

#include <algorithm>

namespace varnoke {

std::string Control::Text() const {
    int length = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(hwnd_, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::u16string Control::WideText() const {
    int length = GetWindowTextLengthW(hwnd_);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    int copied = GetWindowTextW(hwnd_, reinterpret_cast<wchar_t*>(&text[0]), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

namespace {

// LB_ERR and CB_ERR are both -1.
std::string ItemTextOf(const Control& control, UINT lengthMessage, UINT textMessage, int index) {
    LRESULT length = control.Send(lengthMessage, static_cast<WPARAM>(index));
    if (length < 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = control.Send(textMessage, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return text;
}

}  // namespace

std::string ListBox::ItemText(int row) const {
    return ItemTextOf(*this, LB_GETTEXTLEN, LB_GETTEXT, row);
}

std::vector<int> ListBox::SelectedRows() const {
    std::vector<int> rows(static_cast<size_t>(std::max(SelCount(), 0)));
    if (!rows.empty()) {
        LRESULT got = Send(LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
        rows.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    }
    return rows;
}

int ListBox::ItemFromPoint(POINT client, bool* outside) const {
    LRESULT result = Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    if (outside != nullptr) {
        *outside = HIWORD(result) != 0;
    }
    return LOWORD(result);
}

std::string ComboBox::ItemText(int index) const {
    return ItemTextOf(*this, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

std::vector<std::string> ComboBox::Items() const {
    std::vector<std::string> items;
    for (int i = 0, n = Count(); i < n; ++i) {
        items.push_back(ItemText(i));
    }
    return items;
}

ToolTip ToolTip::Create(HWND dialog) {
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (tip != nullptr) {
        // Long Japanese tips wrap instead of running off the screen.
        SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    return ToolTip(tip);
}

bool ToolTip::AddTool(HWND dialog, HWND control) const {
    TOOLINFOA info{};
    // The pre-comctl6 size: accepted by every version of the control.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = LPSTR_TEXTCALLBACKA;
    return Send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

}  // namespace varnoke
