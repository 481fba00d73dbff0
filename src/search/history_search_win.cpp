#include "search/history_search_win.h"

#include <algorithm>
#include <iterator>

#include "framework/controls_win.h"
#include "framework/dialog_helpers_win.h"
#include "framework/dialog_win.h"
#include "framework/handles_win.h"
#include "framework/marked_row_win.h"
#include "framework/strings_win.h"
#include "framework/subclass_win.h"
#include "framework/text_codec_win.h"
#include "res/resource.h"

namespace varnoke {

namespace {

constexpr UINT WM_SEARCH_HISTORY_CHANGED = WM_APP + 1;
constexpr UINT WM_SEARCH_MOVE_KEY = WM_APP + 2;
constexpr UINT WM_SEARCH_COMPOSITION_ENDED = WM_APP + 3;

// The folding of a full history (some 20 MB) runs in slices from a timer, which comes after
// painting and input: the window shows at once, and by the first keystroke there is
// little or nothing left to fold.
constexpr UINT_PTR kFoldTimer = 1;
constexpr UINT kFoldTimerMs = 1;
constexpr size_t kFoldBytesPerSlice = size_t{4} << 20;

const LayoutRow kLayout[] = {{IDC_SEARCH_TEXT, kStretchRight},
                             {IDC_SEARCH_LIST, kStretchRight | kStretchBottom}};

AnsiFolding SystemAnsiFolding() {
    return MakeAnsiFolding(AnsiCodec(), &IsAnsiLeadByte, GetACP() == 932);
}

// Where the text after a row's number starts, as the history editor's tab stop puts it.
constexpr int kRowTabStopDialogUnits = 16;

// The edit box keeps the focus while Up, Down, Page Up and Page Down move the list's
// selection, and tells when the input method has committed its text: what it is still
// composing must not filter.
class SearchEdit : public SubclassedWindow {
  public:
    bool composing() const { return composing_; }

  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

  private:
    LRESULT OnKeyDown(WPARAM key, LPARAM) {
        if (key != VK_UP && key != VK_DOWN && key != VK_PRIOR && key != VK_NEXT) {
            return Default();
        }
        SendMessageA(GetParent(hwnd()), WM_SEARCH_MOVE_KEY, key, 0);
        return 0;
    }
    LRESULT OnStartComposition(WPARAM, LPARAM) {
        composing_ = true;
        return Default();
    }
    // Posted: the committed characters reach the edit box after this message.
    LRESULT OnEndComposition(WPARAM, LPARAM) {
        composing_ = false;
        PostMessageA(GetParent(hwnd()), WM_SEARCH_COMPOSITION_ENDED, 0, 0);
        return Default();
    }

    bool composing_ = false;
    static const MessageEntry kMessages[];
    static const MessageMap kMessageMap;
};

const MessageEntry SearchEdit::kMessages[] = {
    {WM_KEYDOWN, OnMessage(&SearchEdit::OnKeyDown)},
    {WM_IME_STARTCOMPOSITION, OnMessage(&SearchEdit::OnStartComposition)},
    {WM_IME_ENDCOMPOSITION, OnMessage(&SearchEdit::OnEndComposition)},
};
const MessageMap SearchEdit::kMessageMap = {&Window::kMessageMap, kMessages, std::size(kMessages),
                                            nullptr, 0};

}  // namespace

class HistorySearchDialog : public Dialog {
  public:
    explicit HistorySearchDialog(const HistorySearchArgs& args)
        : Dialog(IDD_HISTORY_SEARCH), args_(args), model_(AnsiCodec(), SystemAnsiFolding()) {
        model_.SetPhrases(args.phrases);
    }
    bool Create(HWND owner) {
        owner_ = owner;
        return Dialog::Create(owner);
    }
    std::optional<HistorySearchModel::Choice> TakeChoice() { return std::move(choice_); }
    void HistoryChanged() { SendMessageA(hwnd(), WM_SEARCH_HISTORY_CHANGED, 0, 0); }

  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    bool OnInitDialog() override;
    void OnOK() override;
    void OnEnded(INT_PTR result) override;

  private:
    LRESULT OnSize(WPARAM, LPARAM lParam);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnHistoryChanged(WPARAM, LPARAM);
    LRESULT OnMoveKey(WPARAM key, LPARAM);
    LRESULT OnCompositionEnded(WPARAM, LPARAM);
    LRESULT OnDrawItem(WPARAM, LPARAM lParam);
    void OnTextChanged(UINT);
    void OnSelectionChanged(UINT) { model_.SelectRow(List().CurSel()); }
    void OnDoubleClick(UINT) { OnOK(); }

    ListBox List() const { return ListBox(Item(IDC_SEARCH_LIST)); }
    void Filter();
    void FillList();
    void StartFolding() { SetTimer(hwnd(), kFoldTimer, kFoldTimerMs, nullptr); }

    const HistorySearchArgs args_;
    HWND owner_ = nullptr;
    HistorySearchModel model_;
    SearchEdit edit_;
    FontHandle font_;
    MarkedRowPainter painter_;
    std::vector<SearchRow> rows_;
    bool initialized_ = false;
    std::optional<HistorySearchModel::Choice> choice_;

    static const MessageEntry kMessages[];
    static const CommandRangeEntry kRanges[];
    static const MessageMap kMessageMap;
};

const MessageEntry HistorySearchDialog::kMessages[] = {
    {WM_SIZE, OnMessage(&HistorySearchDialog::OnSize)},
    {WM_DESTROY, OnMessage(&HistorySearchDialog::OnDestroy)},
    {WM_TIMER, OnMessage(&HistorySearchDialog::OnTimer)},
    {WM_SEARCH_HISTORY_CHANGED, OnMessage(&HistorySearchDialog::OnHistoryChanged)},
    {WM_SEARCH_MOVE_KEY, OnMessage(&HistorySearchDialog::OnMoveKey)},
    {WM_SEARCH_COMPOSITION_ENDED, OnMessage(&HistorySearchDialog::OnCompositionEnded)},
    {WM_DRAWITEM, OnMessage(&HistorySearchDialog::OnDrawItem)},
};
const CommandRangeEntry HistorySearchDialog::kRanges[] = {
    {EN_CHANGE, IDC_SEARCH_TEXT, IDC_SEARCH_TEXT,
     OnCommandRange(&HistorySearchDialog::OnTextChanged)},
    {LBN_SELCHANGE, IDC_SEARCH_LIST, IDC_SEARCH_LIST,
     OnCommandRange(&HistorySearchDialog::OnSelectionChanged)},
    {LBN_DBLCLK, IDC_SEARCH_LIST, IDC_SEARCH_LIST,
     OnCommandRange(&HistorySearchDialog::OnDoubleClick)},
};
const MessageMap HistorySearchDialog::kMessageMap = {
    &Dialog::kMessageMap, kMessages, std::size(kMessages), nullptr, 0, kRanges, std::size(kRanges)};

bool HistorySearchDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    SetSmallIcon(hwnd(), IDI_NORMAL);
    // Created Unicode, so that it holds what the code page lacks, before the subclass, which
    // then passes the typed characters on unconverted.
    edit_.Subclass(ReplaceWithUnicodeEdit(Item(IDC_SEARCH_TEXT)));
    ListBox list = List();
    MakeUnicode(list.hwnd());
    font_ = CreateHistoryListFont(list.hwnd());
    list.SetFont(font_.get());
    RECT tab{0, 0, kRowTabStopDialogUnits, 0};
    MapDialogRect(hwnd(), &tab);
    painter_.SetFont(font_.get(), tab.right);
    list.SetItemHeight(painter_.RowHeight(list.hwnd()));
    model_.SetHistory(args_.history, args_.newestAtTail);
    FillList();
    initialized_ = true;
    const WindowRect& place = *args_.place;
    if (place.right > place.left) {
        const Rect here = GetNormalRect(hwnd());
        SetNormalRect(hwnd(),
                      UsableNormalRect({place.left, place.top, place.right, place.bottom},
                                       {0, 0, here.right - here.left, here.bottom - here.top}));
    }
    RECT client{};
    GetClientRect(hwnd(), &client);
    ApplyLayout(hwnd(), kLayout, std::size(kLayout), client.right, client.bottom);
    // The hot key reached the program, which may therefore take the foreground.
    SetForegroundWindow(hwnd());
    StartFolding();
    return true;
}

void HistorySearchDialog::FillList() {
    ListBox list = List();
    SendMessageA(list.hwnd(), WM_SETREDRAW, FALSE, 0);
    list.ResetContent();
    rows_.clear();
    for (int row = 0; row < model_.rowCount(); ++row) {
        rows_.push_back(model_.Row(row, false));
        list.AddRow(rows_.back().text);
    }
    list.SetCurSel(model_.selectedRow());
    SendMessageA(list.hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list.hwnd(), nullptr, TRUE);
}

void HistorySearchDialog::Filter() {
    model_.SetQuery(Control(Item(IDC_SEARCH_TEXT)).WideText());
    FillList();
}

void HistorySearchDialog::OnTextChanged(UINT) {
    if (initialized_ && !edit_.composing()) {
        Filter();
    }
}

// A new composition may have started in the same keystroke (the next reading typed straight
// after a conversion): its characters are not committed yet.
LRESULT HistorySearchDialog::OnCompositionEnded(WPARAM, LPARAM) {
    if (!edit_.composing()) {
        Filter();
    }
    return 0;
}

LRESULT HistorySearchDialog::OnDrawItem(WPARAM, LPARAM lParam) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlID != IDC_SEARCH_LIST || item.itemID >= rows_.size()) {
        return Default();
    }
    SearchRow& row = rows_[item.itemID];
    if (model_.HistoryMoved()) {
        // A menu over the window changed the history, and the list is told once it closes:
        // the row's own text, unmarked, until then.
        const std::u16string shown =
            row.text.hasExact() ? row.text.exact : AnsiCodec().ToWide(row.text.ansi);
        painter_.Draw(item, shown, {});
        return TRUE;
    }
    if (!row.marked) {
        row = model_.Row(static_cast<int>(item.itemID));
    }
    painter_.Draw(item, row.wide, row.marks);
    return TRUE;
}

LRESULT HistorySearchDialog::OnMoveKey(WPARAM key, LPARAM) {
    ListBox list = List();
    int page = 1;
    RECT client{};
    if (GetClientRect(list.hwnd(), &client) && list.ItemHeight() > 0) {
        page = std::max(1, static_cast<int>(client.bottom - client.top) / list.ItemHeight() - 1);
    }
    const int steps[] = {-1, 1, -page, page};
    const WPARAM keys[] = {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT};
    for (size_t i = 0; i < std::size(keys); ++i) {
        if (keys[i] == key) {
            model_.MoveSelection(steps[i]);
        }
    }
    list.SetCurSel(model_.selectedRow());
    return 0;
}

LRESULT HistorySearchDialog::OnHistoryChanged(WPARAM, LPARAM) {
    model_.SetHistory(args_.history, args_.newestAtTail);
    FillList();
    StartFolding();
    return 0;
}

LRESULT HistorySearchDialog::OnTimer(WPARAM id, LPARAM) {
    if (id != kFoldTimer) {
        return Default();
    }
    if (model_.FoldAhead(kFoldBytesPerSlice)) {
        KillTimer(hwnd(), kFoldTimer);
    }
    return 0;
}

LRESULT HistorySearchDialog::OnSize(WPARAM, LPARAM lParam) {
    if (initialized_) {
        ApplyLayout(hwnd(), kLayout, std::size(kLayout), LOWORD(lParam), HIWORD(lParam));
    }
    return Default();
}

LRESULT HistorySearchDialog::OnDestroy(WPARAM, LPARAM) {
    KillTimer(hwnd(), kFoldTimer);
    const Rect r = GetNormalRect(hwnd());
    *args_.place = {r.left, r.top, r.right, r.bottom};
    return Default();
}

// Enter, from the edit box or the list, and a double click on a row.
void HistorySearchDialog::OnOK() {
    choice_ = model_.SelectedChoice();
    if (choice_) {
        EndDialog(IDOK);
    }
}

// Told once the window is gone, so that the owner may hand the foreground back and take
// the choice. A window destroyed with its owner (the program ends) tells nobody.
void HistorySearchDialog::OnEnded(INT_PTR result) {
    if (IsWindow(owner_)) {
        PostMessageA(owner_, args_.endedMessage, static_cast<WPARAM>(result), 0);
    }
}

HistorySearchWindow::HistorySearchWindow() = default;
HistorySearchWindow::~HistorySearchWindow() = default;

bool HistorySearchWindow::Open(HWND owner, const HistorySearchArgs& args) {
    dialog_ = std::make_unique<HistorySearchDialog>(args);
    if (!dialog_->Create(owner)) {
        dialog_.reset();
        return false;
    }
    return true;
}

bool HistorySearchWindow::IsOpen() const {
    return dialog_ != nullptr && dialog_->hwnd() != nullptr;
}

HWND HistorySearchWindow::hwnd() const {
    return IsOpen() ? dialog_->hwnd() : nullptr;
}

void HistorySearchWindow::BringToFront() {
    if (!IsOpen()) {
        return;
    }
    if (IsIconic(hwnd())) {
        ShowWindow(hwnd(), SW_RESTORE);
    }
    SetForegroundWindow(hwnd());
}

void HistorySearchWindow::HistoryChanged() {
    if (IsOpen()) {
        dialog_->HistoryChanged();
    }
}

std::optional<HistorySearchModel::Choice> HistorySearchWindow::TakeChoice() {
    if (dialog_ == nullptr || IsOpen()) {
        return std::nullopt;
    }
    std::optional<HistorySearchModel::Choice> choice = dialog_->TakeChoice();
    dialog_.reset();
    return choice;
}

}  // namespace varnoke
