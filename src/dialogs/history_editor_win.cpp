#include "dialogs/history_editor_win.h"

#include <windowsx.h>

#include <iterator>
#include <utility>

#include "dialogs/entry_editor_win.h"
#include "dialogs/history_editor.h"
#include "framework/controls_win.h"
#include "framework/dialog_helpers_win.h"
#include "framework/dialog_win.h"
#include "framework/handles_win.h"
#include "framework/strings_win.h"
#include "history/exact_text.h"
#include "framework/text_codec_win.h"
#include "framework/popup_menu_win.h"
#include "res/resource.h"

namespace varnoke {

namespace {

const LayoutRow kLayout[] = {{IDC_HISTEDIT_LIST, kStretchRight | kStretchBottom}};

class HistoryEditDialog : public Dialog {
  public:
    HistoryEditDialog(std::vector<HistoryEntry> texts, Settings& settings)
        : Dialog(IDD_HISTORY_EDIT),
          model_(std::move(texts), settings.historyMenuOrder, &IsAnsiLeadByte),
          settings_(settings) {}
    std::vector<HistoryEntry> TakeEditedHistory() { return model_.TakeEditedHistory(); }

  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    bool OnInitDialog() override;

  private:
    LRESULT OnSize(WPARAM, LPARAM lParam);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    LRESULT OnVKeyToItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnCharToItem(WPARAM, LPARAM) { return -1; }
    void OnDelete();
    void OnMoveUp();
    void OnMoveDown();
    void OnEdit();
    void OnListDoubleClick(UINT) { OnEdit(); }
    void SelectAll();

    ListBox List() const { return ListBox(Item(IDC_HISTEDIT_LIST)); }
    void CreateListFont();
    void InsertRow(int row, int slot);
    // The user changes the selection in the list; the model learns it before each command.
    void ReadSelection() { model_.SetSelectedRows(List().SelectedRows()); }
    void Apply(const ListChanges& changes);

    HistoryEditModel model_;
    Settings& settings_;
    FontHandle font_;
    bool initialized_ = false;

    static const MessageEntry kMessages[];
    static const CommandEntry kCommands[];
    static const CommandRangeEntry kRanges[];
    static const MessageMap kMessageMap;
};

const MessageEntry HistoryEditDialog::kMessages[] = {
    {WM_SIZE, OnMessage(&HistoryEditDialog::OnSize)},
    {WM_DESTROY, OnMessage(&HistoryEditDialog::OnDestroy)},
    {WM_CONTEXTMENU, OnMessage(&HistoryEditDialog::OnContextMenu)},
    {WM_VKEYTOITEM, OnMessage(&HistoryEditDialog::OnVKeyToItem)},
    // Wine asks about typed characters too (Windows only for lists without strings); a
    // dialog's unanswered 0 would mean "row 0" and drag the selection there on Ctrl+E.
    {WM_CHARTOITEM, OnMessage(&HistoryEditDialog::OnCharToItem)},
};
const CommandEntry HistoryEditDialog::kCommands[] = {
    {IDC_HISTEDIT_DELETE, OnCommand(&HistoryEditDialog::OnDelete)},
    {IDC_HISTEDIT_UP, OnCommand(&HistoryEditDialog::OnMoveUp)},
    {IDC_HISTEDIT_DOWN, OnCommand(&HistoryEditDialog::OnMoveDown)},
    {IDC_HISTEDIT_EDIT, OnCommand(&HistoryEditDialog::OnEdit)},
};
const CommandRangeEntry HistoryEditDialog::kRanges[] = {
    {LBN_DBLCLK, IDC_HISTEDIT_LIST, IDC_HISTEDIT_LIST,
     OnCommandRange(&HistoryEditDialog::OnListDoubleClick)},
};
const MessageMap HistoryEditDialog::kMessageMap = {
    &Dialog::kMessageMap, kMessages, std::size(kMessages), kCommands,
    std::size(kCommands), kRanges,   std::size(kRanges)};

bool HistoryEditDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    SetSmallIcon(hwnd(), IDI_NORMAL);
    ListBox list = List();
    MakeUnicode(list.hwnd());
    CreateListFont();
    list.SetTabStop(16);
    list.SetItemHeight(list.ItemHeight() + 1);
    for (int row = 0; row < model_.count(); ++row) {
        InsertRow(row, model_.SlotOfRow(row));
    }
    initialized_ = true;
    // Moving to the stored rectangle sizes the window, which lays the list out.
    const WindowRect& pos = settings_.editHistoryPos;
    const WindowRect& fallback = Settings{}.editHistoryPos;
    SetNormalRect(hwnd(), UsableNormalRect({pos.left, pos.top, pos.right, pos.bottom},
                                           {0, 0, fallback.right, fallback.bottom}));
    list.SetSel(0, true);
    return true;
}

void HistoryEditDialog::CreateListFont() {
    font_ = CreateHistoryListFont(List().hwnd());
    List().SetFont(font_.get());
}

void HistoryEditDialog::InsertRow(int row, int slot) {
    ListBox list = List();
    const int at = list.InsertRow(row, model_.ListRow(slot, AnsiCodec()));
    if (at >= 0) {
        list.SetItemData(at, slot);
    }
}

void HistoryEditDialog::Apply(const ListChanges& changes) {
    ListBox list = List();
    for (const ListChange& change : changes) {
        switch (change.kind) {
            case ListChange::kRemove:
                list.DeleteString(change.row);
                break;
            case ListChange::kInsert:
                InsertRow(change.row, change.slot);
                list.SetSel(change.row, change.selected);
                break;
            case ListChange::kSelect:
                list.SetSel(change.row, change.selected);
                break;
            case ListChange::kTop:
                list.SetTopIndex(change.row);
                break;
            case ListChange::kCaret:
                list.SetCaretIndex(change.row);
                break;
        }
    }
}

LRESULT HistoryEditDialog::OnSize(WPARAM, LPARAM lParam) {
    if (initialized_) {
        ApplyLayout(hwnd(), kLayout, std::size(kLayout), LOWORD(lParam), HIWORD(lParam));
    }
    return Default();
}

LRESULT HistoryEditDialog::OnDestroy(WPARAM, LPARAM) {
    Rect r = GetNormalRect(hwnd());
    settings_.editHistoryPos = {r.left, r.top, r.right, r.bottom};
    return Default();
}

void HistoryEditDialog::OnDelete() {
    ReadSelection();
    Apply(model_.DeleteSelected(List().TopIndex()));
}

void HistoryEditDialog::OnMoveUp() {
    ReadSelection();
    Apply(model_.MoveUp(List().CaretIndex()));
}

void HistoryEditDialog::OnMoveDown() {
    ReadSelection();
    Apply(model_.MoveDown(List().CaretIndex()));
}

void HistoryEditDialog::OnEdit() {
    ReadSelection();
    std::optional<int> row = model_.SingleSelectedRow();
    if (!row) {
        return;
    }
    const HistoryEntry& entry = model_.SlotEntry(model_.SlotOfRow(*row));
    std::optional<EntryEditResult> edited =
        RunEntryEditor(hwnd(), EditableText(entry, AnsiCodec()), settings_);
    if (edited) {
        Apply(model_.ApplyEditedEntry(*row,
                                      EntryFromEditedText(entry, edited->text, settings_.historyLen,
                                                          &IsAnsiLeadByte, AnsiCodec()),
                                      List().TopIndex()));
    }
}

void HistoryEditDialog::SelectAll() {
    ListBox list = List();
    const int top = list.TopIndex();
    const int caret = list.CaretIndex();
    list.SetSel(-1, true);
    list.SetCaretIndex(caret < 0 ? 0 : caret);
    list.SetTopIndex(top);
}

// Answered directly: -1 lets the list go on with the key, -2 tells it the key is done.
LRESULT HistoryEditDialog::OnVKeyToItem(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != List().hwnd()) {
        return -1;
    }
    const HistoryListKey key = HistoryListKeyAction(LOWORD(wParam), GetKeyState(VK_CONTROL) < 0);
    switch (key.action) {
        case HistoryListAction::kMoveUp:
            OnMoveUp();
            break;
        case HistoryListAction::kMoveDown:
            OnMoveDown();
            break;
        case HistoryListAction::kDelete:
            OnDelete();
            break;
        case HistoryListAction::kSelectAll:
            SelectAll();
            break;
        case HistoryListAction::kEdit:
            OnEdit();
            break;
        case HistoryListAction::kNone:
            break;
    }
    return key.handled ? -2 : -1;
}

LRESULT HistoryEditDialog::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    ListBox list = List();
    if (reinterpret_cast<HWND>(wParam) != list.hwnd()) {
        return Default();
    }
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // (-1, -1) is the keyboard's request (Shift+F10, the menu key). Other negative points
    // are real clicks on a screen left of or above the primary one.
    if (point.x == -1 && point.y == -1) {
        point = POINT{0, 0};
        ClientToScreen(list.hwnd(), &point);
    } else {
        POINT client = point;
        ScreenToClient(list.hwnd(), &client);
        const int row = list.ItemFromPoint(client);
        if (row < list.Count() && list.GetSel(row) == 0) {
            list.SetSel(-1, false);
            list.SetSel(row, true);
        }
    }
    MenuHandle menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MENU)));
    HMENU popup = menu ? GetSubMenu(menu.get(), IDR_MENU_POPUP_HISTORY_EDIT) : nullptr;
    if (popup == nullptr) {
        return 0;
    }
    const HistoryEditMenuEnabling enabling = HistoryContextMenuEnabling(list.SelCount());
    const UINT grayed = MF_BYCOMMAND | MF_GRAYED;
    if (!enabling.edit) {
        EnableMenuItem(popup, IDC_HISTEDIT_EDIT, grayed);
    }
    if (!enabling.deleteAndMove) {
        for (UINT id : {IDC_HISTEDIT_DELETE, IDC_HISTEDIT_UP, IDC_HISTEDIT_DOWN}) {
            EnableMenuItem(popup, id, grayed);
        }
    }
    SetMenuDefaultItem(popup, IDC_HISTEDIT_EDIT, FALSE);
    ShowPopupMenu(popup, hwnd(), point);
    return 0;
}

}  // namespace

std::optional<std::vector<HistoryEntry>> RunHistoryEditor(HWND owner,
                                                          std::vector<HistoryEntry> entries,
                                                          Settings& settings) {
    HistoryEditDialog dialog(std::move(entries), settings);
    if (dialog.DoModal(owner) != IDOK) {
        return std::nullopt;
    }
    return dialog.TakeEditedHistory();
}

}  // namespace varnoke
