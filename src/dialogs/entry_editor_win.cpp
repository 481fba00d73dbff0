#include "dialogs/entry_editor_win.h"

#include <cstring>
#include <iterator>

#include "dialogs/editor_settings_win.h"
#include "dialogs/entry_editor.h"
#include "framework/controls_win.h"
#include "framework/dialog_helpers_win.h"
#include "framework/dialog_win.h"
#include "framework/handles_win.h"
#include "framework/strings_win.h"
#include "framework/subclass_win.h"
#include "framework/text_codec_win.h"
#include "res/resource.h"

namespace varnoke {

namespace {

// A multi-line edit that keeps Tab, Enter and Esc from the dialog manager; Esc cancels.
class EntryTextEdit : public SubclassedWindow {
  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

  private:
    LRESULT OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTALLKEYS; }
    LRESULT OnKeyDown(WPARAM key, LPARAM) {
        if (key != VK_ESCAPE) {
            return Default();
        }
        PostMessageA(GetParent(hwnd()), WM_COMMAND, IDCANCEL, 0);
        return 0;
    }

    static const MessageEntry kMessages[];
    static const MessageMap kMessageMap;
};

const MessageEntry EntryTextEdit::kMessages[] = {
    {WM_GETDLGCODE, OnMessage(&EntryTextEdit::OnGetDlgCode)},
    {WM_KEYDOWN, OnMessage(&EntryTextEdit::OnKeyDown)},
};
const MessageMap EntryTextEdit::kMessageMap = {&Window::kMessageMap, kMessages,
                                               std::size(kMessages), nullptr, 0};

const LayoutRow kLayout[] = {{IDC_ENTRY_TEXT, kStretchRight | kStretchBottom}};

class EntryEditDialog : public Dialog {
  public:
    EntryEditDialog(const std::u16string& text, Settings& settings)
        : Dialog(IDD_ENTRY_EDIT), text_(text), settings_(settings) {}
    const std::u16string& text() const { return text_; }

  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    LRESULT OnSize(WPARAM, LPARAM lParam);
    LRESULT OnDestroy(WPARAM, LPARAM);
    void OnSettings();
    void RecreateEdit();
    void ApplyFont();

    std::u16string text_;
    Settings& settings_;
    EntryTextEdit edit_;
    LOGFONTA description_{};
    FontHandle font_;
    bool initialized_ = false;

    static const MessageEntry kMessages[];
    static const CommandEntry kCommands[];
    static const MessageMap kMessageMap;
};

const MessageEntry EntryEditDialog::kMessages[] = {
    {WM_SIZE, OnMessage(&EntryEditDialog::OnSize)},
    {WM_DESTROY, OnMessage(&EntryEditDialog::OnDestroy)},
};
const CommandEntry EntryEditDialog::kCommands[] = {
    {IDC_ENTRY_SETTINGS, OnCommand(&EntryEditDialog::OnSettings)},
};
const MessageMap EntryEditDialog::kMessageMap = {
    &Dialog::kMessageMap, kMessages, std::size(kMessages), kCommands, std::size(kCommands)};

bool EntryEditDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    edit_.SubclassDlgItem(hwnd(), IDC_ENTRY_TEXT);
    SetSmallIcon(hwnd(), IDI_NORMAL);
    const WindowRect& pos = settings_.editTextPos;
    const WindowRect& fallback = Settings{}.editTextPos;
    SetNormalRect(hwnd(), UsableNormalRect({pos.left, pos.top, pos.right, pos.bottom},
                                           {0, 0, fallback.right, fallback.bottom}));
    RecreateEdit();
    Edit(edit_.hwnd()).SetWideText(text_);
    ApplyFont();
    initialized_ = true;
    Edit(edit_.hwnd()).SetFocus();
    return false;
}

// Procedure R: word wrap is a creation style of an edit control, so a change needs a new one.
void EntryEditDialog::RecreateEdit() {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL |
                  ES_WANTRETURN;
    if (!settings_.editWordWrap) {
        style |= WS_HSCROLL | ES_AUTOHSCROLL;
    }
    HWND old = edit_.hwnd();
    Rect at = ChildRect(old);
    // The new control takes the old one's place in the tab order.
    HWND before = GetWindow(old, GW_HWNDPREV);
    DestroyWindow(old);
    // A Unicode control: the user sees and types every character, whatever the code page.
    HWND created = CreateUnicodeEdit(hwnd(), IDC_ENTRY_TEXT, style,
                                     {at.left, at.top, at.left + 1, at.top + 1});
    SetWindowPos(created, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    edit_.Subclass(created);
    Edit edit(created);
    edit.SetTabStop(TabStopUnits(settings_.editTabStops));
    edit.LimitText(65535);
    // The client rectangle, not the outer one less the frame metrics: newer systems pad the
    // border beyond SM_CXFRAME, and the edit would hide part of its scroll-bar arrows.
    RECT client{};
    GetClientRect(hwnd(), &client);
    MoveWindow(created, at.left, at.top, client.right - at.left, client.bottom - at.top, TRUE);
}

// Procedure F.
void EntryEditDialog::ApplyFont() {
    LOGFONTA& description = description_;
    description = LOGFONTA{};
    description.lfHeight = settings_.editFontHeight;
    description.lfWeight = settings_.editFontWeight;
    description.lfItalic = static_cast<BYTE>(settings_.editFontItalic);
    description.lfCharSet = DEFAULT_CHARSET;
    std::string face = FitFaceName(settings_.editFontName, &IsAnsiLeadByte);
    face.copy(description.lfFaceName, sizeof(description.lfFaceName) - 1);
    font_ = FontHandle(CreateFontIndirectA(&description));
    Edit(edit_.hwnd()).SetFont(font_.get());
}

LRESULT EntryEditDialog::OnSize(WPARAM, LPARAM lParam) {
    if (initialized_) {
        ApplyLayout(hwnd(), kLayout, std::size(kLayout), LOWORD(lParam), HIWORD(lParam));
    }
    return Default();
}

LRESULT EntryEditDialog::OnDestroy(WPARAM, LPARAM) {
    Rect r = GetNormalRect(hwnd());
    settings_.editTextPos = {r.left, r.top, r.right, r.bottom};
    text_ = Edit(edit_.hwnd()).WideText();
    return Default();
}

// The question counts the bytes the text takes in the code page, as HistoryLen does; the
// caller cuts what is handed back to HistoryLen, and a raise never leaves its range.
void EntryEditDialog::OnOK() {
    const size_t length = AnsiCodec().ToClipboardAnsi(Edit(edit_.hwnd()).WideText()).size();
    if (EntryOkNeedsQuestion(length, settings_.historyLen)) {
        std::string question = FormatString(LoadResourceString(IDS_MSG_TEXT_TOO_LONG).c_str(),
                                            settings_.historyLen, static_cast<int>(length));
        switch (ShowMessage(hwnd(), question, MB_YESNOCANCEL | MB_ICONQUESTION)) {
            case IDYES:
                settings_.historyLen = RaisedHistoryLen(length);
                break;
            case IDNO:
                break;
            default:
                return;
        }
    }
    EndDialog(IDOK);
}

void EntryEditDialog::OnSettings() {
    EditorSettings chosen{settings_.editWordWrap, std::to_string(settings_.editTabStops),
                          description_};
    const std::u16string saved = Edit(edit_.hwnd()).WideText();
    if (!RunEditorSettings(hwnd(), chosen)) {
        return;
    }
    settings_.editWordWrap = chosen.wordWrap;
    settings_.editTabStops = TabStopsFromText(chosen.tabWidth);
    settings_.editFontName.assign(chosen.font.lfFaceName,
                                  strnlen(chosen.font.lfFaceName, sizeof(chosen.font.lfFaceName)));
    settings_.editFontItalic = chosen.font.lfItalic;
    settings_.editFontHeight = chosen.font.lfHeight;
    settings_.editFontWeight = chosen.font.lfWeight;
    Edit(edit_.hwnd()).SetFont(nullptr, false);
    font_ = FontHandle();
    RecreateEdit();
    Edit(edit_.hwnd()).SetWideText(saved);
    ApplyFont();
}

}  // namespace

std::optional<EntryEditResult> RunEntryEditor(HWND owner, const std::u16string& text,
                                              Settings& settings) {
    EntryEditDialog dialog(text, settings);
    if (dialog.DoModal(owner) != IDOK) {
        return std::nullopt;
    }
    return EntryEditResult{dialog.text()};
}

}  // namespace varnoke
