#pragma once
// Thin, non-owning wrappers over a control's window handle: one method per message, with
// the message's own meaning and result. They own nothing; the dialog owns its controls.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/dual_text.h"

namespace varnoke {

class Control {
  public:
    explicit Control(HWND hwnd) : hwnd_(hwnd) {}
    HWND hwnd() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(hwnd_, message, wParam, lParam);
    }
    void Enable(bool enable) const { EnableWindow(hwnd_, enable ? TRUE : FALSE); }
    bool IsEnabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
    std::string Text() const;
    void SetText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }
    // The text of a Unicode control, for texts the code page cannot hold.
    std::u16string WideText() const;
    void SetWideText(const std::u16string& text) const {
        SetWindowTextW(hwnd_, reinterpret_cast<const wchar_t*>(text.c_str()));
    }
    // A text with an exact form goes to a Unicode control through the wide call; any other
    // keeps the ANSI call and its bytes.
    void SetText(const DualText& text) const {
        text.hasExact() ? SetWideText(text.exact) : SetText(text.ansi);
    }
    void SetFont(HFONT font, bool redraw = true) const {
        Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
    }
    void SetFocus() const { ::SetFocus(hwnd_); }
    int Id() const { return GetDlgCtrlID(hwnd_); }

  protected:
    HWND hwnd_;
};

class Button : public Control {
  public:
    using Control::Control;
    bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

class Edit : public Control {
  public:
    using Control::Control;
    void LimitText(int bytes) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(bytes)); }
    void SetSel(int start, int end) const { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }
    // One tab stop every `dialogUnits` dialog template units.
    void SetTabStop(int dialogUnits) const {
        Send(EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&dialogUnits));
    }
};

class ListBox : public Control {
  public:
    using Control::Control;
    int Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }
    int InsertString(int row, const std::string& text) const {
        return static_cast<int>(Send(LB_INSERTSTRING, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(text.c_str())));
    }
    // A row of a list made Unicode (MakeUnicode in dialog_helpers_win.h): one with an exact
    // text is inserted through the wide call, so every character shows; any other keeps the
    // ANSI call and its bytes. Row -1 appends.
    int InsertRow(int row, const DualText& text) const {
        if (!text.hasExact()) {
            return InsertString(row, text.ansi);
        }
        return static_cast<int>(SendMessageW(hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(row),
                                             reinterpret_cast<LPARAM>(text.exact.c_str())));
    }
    int AddRow(const DualText& text) const { return InsertRow(-1, text); }
    int DeleteString(int row) const { return static_cast<int>(Send(LB_DELETESTRING, row)); }
    void ResetContent() const { Send(LB_RESETCONTENT); }
    // The selection of a single-selection list; LB_ERR when none.
    int CurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
    void SetCurSel(int row) const { Send(LB_SETCURSEL, static_cast<WPARAM>(row)); }
    std::string ItemText(int row) const;
    LPARAM ItemData(int row) const { return Send(LB_GETITEMDATA, static_cast<WPARAM>(row)); }
    void SetItemData(int row, LPARAM data) const {
        Send(LB_SETITEMDATA, static_cast<WPARAM>(row), data);
    }
    // LB_GETSEL: positive when selected, 0 when not, LB_ERR when there is no such row.
    int GetSel(int row) const {
        return static_cast<int>(Send(LB_GETSEL, static_cast<WPARAM>(row)));
    }
    // Row -1 selects or deselects every row.
    void SetSel(int row, bool selected) const {
        Send(LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(row));
    }
    int SelCount() const { return static_cast<int>(Send(LB_GETSELCOUNT)); }
    std::vector<int> SelectedRows() const;
    int TopIndex() const { return static_cast<int>(Send(LB_GETTOPINDEX)); }
    void SetTopIndex(int row) const { Send(LB_SETTOPINDEX, static_cast<WPARAM>(row)); }
    int CaretIndex() const { return static_cast<int>(Send(LB_GETCARETINDEX)); }
    void SetCaretIndex(int row) const { Send(LB_SETCARETINDEX, static_cast<WPARAM>(row), FALSE); }
    int ItemHeight() const { return static_cast<int>(Send(LB_GETITEMHEIGHT)); }
    void SetItemHeight(int height) const { Send(LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0)); }
    void SetTabStop(int dialogUnits) const {
        Send(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&dialogUnits));
    }
    // LB_ITEMFROMPOINT for a client point: the nearest row, and whether the point lies
    // outside the client area.
    int ItemFromPoint(POINT client, bool* outside = nullptr) const;
};

class ComboBox : public Control {
  public:
    using Control::Control;
    int AddString(const std::string& text) const {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    int CurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    void SetCurSel(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    std::string ItemText(int index) const;
    std::vector<std::string> Items() const;
};

class UpDown : public Control {
  public:
    using Control::Control;
    void SetRange32(int low, int high) const { Send(UDM_SETRANGE32, low, high); }
    void SetAccel(const UDACCEL* steps, size_t count) const {
        Send(UDM_SETACCEL, count, reinterpret_cast<LPARAM>(steps));
    }
};

// Modifiers in the control's own encoding: HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2, HOTKEYF_ALT 4.
class HotKeyControl : public Control {
  public:
    using Control::Control;
    void SetRules(WORD invalidCombinations, WORD replacementModifiers) const {
        Send(HKM_SETRULES, invalidCombinations, MAKELPARAM(replacementModifiers, 0));
    }
    void SetHotKey(BYTE keyCode, BYTE modifiers) const {
        Send(HKM_SETHOTKEY, MAKEWORD(keyCode, modifiers));
    }
    WORD HotKey() const { return LOWORD(Send(HKM_GETHOTKEY)); }
};

class ToolTip : public Control {
  public:
    using Control::Control;
    // A tip control owned by `dialog`, which is destroyed with it.
    static ToolTip Create(HWND dialog);
    void Activate(bool active) const { Send(TTM_ACTIVATE, active ? TRUE : FALSE); }
    // The tool is the control's window, subclassed so the tip sees its mouse moves; its text
    // is asked of the dialog with TTN_GETDISPINFO.
    bool AddTool(HWND dialog, HWND control) const;
    void RelayEvent(const MSG& message) const {
        Send(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    }
};

}  // namespace varnoke
