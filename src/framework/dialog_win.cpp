#include "framework/dialog_win.h"

#include <vector>

#include "framework/int_field.h"
#include "framework/placeholders.h"
#include "framework/strings_win.h"
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
    int index = 0;
    if (saving_) {
        value = -1;
    }
    // The group runs from its first button to the next control that starts a group.
    while (control != nullptr) {
        if (saving_) {
            if (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                value = index;
            }
        } else {
            SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        control = GetWindow(control, GW_HWNDNEXT);
        if (control == nullptr || (GetWindowLongA(control, GWL_STYLE) & WS_GROUP) != 0) {
            break;
        }
        ++index;
    }
}

INT_PTR Dialog::DoModal(HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                           &Dialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

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
    CurrentMessage saved = self->SwapCurrentMessage({message, wParam, lParam});
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = FALSE;
    }
    self->SwapCurrentMessage(saved);
    if (message == WM_NCDESTROY) {
        self->Detach();
    }
    return result;
}

// For dialogs, FALSE means "not handled"; a table handler's answer goes to DWLP_MSGRESULT.
LRESULT Dialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog() ? TRUE : FALSE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        LOWORD(wParam) == IDOK ? OnOK() : OnCancel();
        return TRUE;
    }
    if (message == WM_COMMAND && DispatchCommand(LOWORD(wParam), HIWORD(wParam))) {
        return TRUE;
    }
    if (MessageHandler handler = FindMessageHandler(message)) {
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, (this->*handler)(wParam, lParam));
        return TRUE;
    }
    return FALSE;
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
    ::EndDialog(hwnd(), result);
}

}  // namespace varnoke
