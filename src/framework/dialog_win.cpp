#include "framework/dialog_win.h"

#include <commctrl.h>

#include <iterator>
#include <vector>

#include "framework/application_win.h"
#include "framework/controls_win.h"
#include "framework/dialog_rules.h"
#include "framework/int_field.h"
#include "framework/placeholders.h"
#include "framework/strings_win.h"
#include "framework/system_libraries_win.h"
#include "res/resource.h"

namespace varnoke {

namespace {

std::string ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    int length = control != nullptr ? GetWindowTextLengthA(control) : 0;
    std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
    GetDlgItemTextA(dialog, id, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data());
}

}  // namespace

void DataExchange::Fail(int id, const std::string& message) {
    failed_ = true;
    ShowMessage(dialog_, message, MB_OK | MB_ICONEXCLAMATION);
    HWND control = GetDlgItem(dialog_, id);
    if (control != nullptr) {
        SetFocus(control);
        SendMessageA(control, EM_SETSEL, 0, -1);
    }
}

void DataExchange::Text(int id, std::string& value, int maxLength) {
    if (failed_) {
        return;
    }
    if (!saving_) {
        if (maxLength > 0) {
            SendDlgItemMessageA(dialog_, id, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
        }
        SetDlgItemTextA(dialog_, id, value.c_str());
        return;
    }
    value = ControlText(dialog_, id);
}

void DataExchange::Int(int id, int& value) {
    ExchangeInt(id, value, false, 0, 0);
}

void DataExchange::IntRange(int id, int& value, int minimum, int maximum) {
    ExchangeInt(id, value, true, minimum, maximum);
}

// A bad number is reported with one of the framework's two prompts, and the field keeps
// its old value.
void DataExchange::ExchangeInt(int id, int& value, bool hasRange, int minimum, int maximum) {
    if (failed_) {
        return;
    }
    if (!saving_) {
        SetDlgItemTextA(dialog_, id, std::to_string(value).c_str());
        return;
    }
    int parsed = value;
    switch (ParseIntField(ControlText(dialog_, id), hasRange, minimum, maximum, &parsed)) {
        case IntFieldError::kNone:
            value = parsed;
            break;
        case IntFieldError::kNotAnInteger:
            Fail(id, LoadResourceString(IDS_PARSE_INT));
            break;
        case IntFieldError::kOutOfRange:
            Fail(id, FormatPlaceholders(LoadResourceString(IDS_PARSE_INT_RANGE),
                                        {std::to_string(minimum), std::to_string(maximum)}));
            break;
    }
}

void DataExchange::Check(int id, int& value) {
    if (failed_) {
        return;
    }
    if (!saving_) {
        CheckDlgButton(dialog_, id, value ? BST_CHECKED : BST_UNCHECKED);
        return;
    }
    value = IsDlgButtonChecked(dialog_, id) == BST_CHECKED ? 1 : 0;
}

void DataExchange::Radio(int firstId, int& value) {
    if (failed_) {
        return;
    }
    HWND control = GetDlgItem(dialog_, firstId);
    // The group runs from its first button to the next control that starts a group.
    for (int index = 0; control != nullptr; ++index) {
        Button button(control);
        if (!saving_) {
            button.SetCheck(index == value);
        } else if (button.IsChecked()) {
            value = index;
        }
        control = GetWindow(control, GW_HWNDNEXT);
        if (control == nullptr || (GetWindowLongA(control, GWL_STYLE) & WS_GROUP) != 0) {
            break;
        }
    }
}

void DataExchange::ListIndex(int id, int& value) {
    if (failed_) {
        return;
    }
    ComboBox list(GetDlgItem(dialog_, id));
    if (!saving_) {
        list.SetCurSel(value);
        return;
    }
    int selected = list.CurSel();
    if (selected != CB_ERR) {
        value = selected;
    }
}

void DataExchange::ListPrefix(int id, std::string& value) {
    if (failed_) {
        return;
    }
    ComboBox list(GetDlgItem(dialog_, id));
    if (!saving_) {
        list.SetCurSel(FirstEntryWithPrefix(list.Items(), value));
        return;
    }
    int selected = list.CurSel();
    value = selected == CB_ERR ? std::string() : list.ItemText(selected);
}

INT_PTR Dialog::DoModal(HWND owner) {
    LoadCommonControls();
    modeless_ = false;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                           &Dialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND owner) {
    LoadCommonControls();
    modeless_ = true;
    modelessResult_ = IDCANCEL;
    HWND window =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                           &Dialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
    if (window == nullptr) {
        return false;
    }
    if (Application* app = Application::Current()) {
        app->AddModelessDialog(window);
    }
    // A modal dialog is shown by its loop; a template without WS_VISIBLE stays hidden here.
    ShowWindow(window, SW_SHOW);
    return true;
}

const MessageEntry Dialog::kMessages[] = {
    {WM_MOUSEMOVE, OnMessage(&Dialog::OnMouseMove)},
};
const CommandEntry Dialog::kCommands[] = {
    {ID_HELP, OnCommand(&Dialog::OnHelp)},
};
const NotifyEntry Dialog::kNotifies[] = {
    {TTN_GETDISPINFOA, kAnyControl, kAnyControl, OnNotify(&Dialog::OnNeedTipTextA)},
    {TTN_GETDISPINFOW, kAnyControl, kAnyControl, OnNotify(&Dialog::OnNeedTipTextW)},
};
const MessageMap Dialog::kMessageMap = {&Window::kMessageMap,
                                        kMessages,
                                        std::size(kMessages),
                                        kCommands,
                                        std::size(kCommands),
                                        nullptr,
                                        0,
                                        kNotifies,
                                        std::size(kNotifies)};

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        self->Attach(hwnd);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    INT_PTR result = FALSE;
    CurrentMessage saved = self->SwapCurrentMessage({message, wParam, lParam, false});
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = FALSE;
    }
    self->SwapCurrentMessage(saved);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->Detach();
        if (self->modeless_) {
            if (Application* app = Application::Current()) {
                app->RemoveModelessDialog(hwnd);
            }
            // Last: the owner may let the object go from here.
            self->OnEnded(self->modelessResult_);
        }
    }
    return result;
}

namespace {

// The messages whose answer a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
    switch (message) {
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
        case WM_QUERYDRAGICON:
        case WM_VKEYTOITEM:
            return true;
        default:
            return false;
    }
}

}  // namespace

LRESULT Dialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog() ? TRUE : FALSE;
    }
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (message == WM_COMMAND && (id == IDOK || id == IDCANCEL) && code <= 1) {
        id == IDOK ? OnOK() : OnCancel();
        return TRUE;
    }
    LRESULT result = 0;
    bool handled = false;
    if (message == WM_COMMAND) {
        handled = DispatchCommand(id, code);
    } else if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (NotifyHandler handler = FindNotifyHandler(*header)) {
            result = (this->*handler)(header);
            handled = true;
        }
    } else if (MessageHandler handler = FindMessageHandler(message)) {
        result = (this->*handler)(wParam, lParam);
        handled = true;
    }
    // A list's key notifications have their own "do the default" answer; FALSE would be
    // taken as "go to row 0".
    if (current().defaultRequested && (message == WM_VKEYTOITEM || message == WM_CHARTOITEM)) {
        return -1;
    }
    if (!handled || current().defaultRequested) {
        return FALSE;
    }
    if (ReturnsDirectly(message)) {
        return result;
    }
    SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, result);
    return TRUE;
}

// The dialog manager does the default processing once the procedure has answered FALSE.
LRESULT Dialog::DefaultProc(UINT, WPARAM, LPARAM) {
    current().defaultRequested = true;
    return 0;
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool Dialog::UpdateData(bool saving) {
    DataExchange dx(hwnd(), saving);
    DoDataExchange(dx);
    return !dx.failed();
}

void Dialog::EndDialog(INT_PTR result) {
    if (modeless_) {
        modelessResult_ = result;
        DestroyWindow(hwnd());
        return;
    }
    ::EndDialog(hwnd(), result);
}

void Dialog::OnHelp() {
    if (Application* app = Application::Current()) {
        SendMessageA(app->MainWindowHandle(), WM_COMMAND, MAKEWPARAM(ID_HELP_FINDER, 0), 0);
    }
}

void Dialog::CreateTips(const int* ids, size_t count) {
    std::vector<HWND> controls;
    for (size_t i = 0; i < count; ++i) {
        if (HWND control = Item(ids[i])) {
            controls.push_back(control);
        }
    }
    tips_.Create(hwnd(), controls);
}

LRESULT Dialog::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    tips_.RelayDialogMouseMove(hwnd(), wParam, lParam);
    return Default();
}

int Dialog::TipControlId(const NMHDR& header) const {
    // Tools registered by window handle name their control in idFrom.
    return GetDlgCtrlID(reinterpret_cast<HWND>(header.idFrom));
}

LRESULT Dialog::OnNeedTipTextA(NMHDR* header) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    int id = TipControlId(*header);
    tipText_ = id != 0 ? LoadResourceString(TipStringId(id)) : std::string();
    info->lpszText = tipText_.data();
    info->hinst = nullptr;
    return 0;
}

LRESULT Dialog::OnNeedTipTextW(NMHDR* header) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    int id = TipControlId(*header);
    std::string text = id != 0 ? LoadResourceString(TipStringId(id)) : std::string();
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    tipTextWide_.assign(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, tipTextWide_.data(), length);
    info->lpszText = tipTextWide_.data();
    info->hinst = nullptr;
    return 0;
}

}  // namespace varnoke
