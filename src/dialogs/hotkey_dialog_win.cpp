#include "dialogs/hotkey_dialog_win.h"

#include "framework/system_libraries_win.h"

#include <iterator>
#include <vector>

#include "framework/application_win.h"
#include "framework/controls_win.h"
#include "framework/dialog_helpers_win.h"
#include "framework/dialog_win.h"
#include "framework/strings_win.h"
#include "res/resource.h"

namespace varnoke {

namespace {

const OpenFileOptions kShortTextFile = {"Varnoke data file (*.txt)|*.txt||", "txt", true};

class HotKeyDialog : public Dialog {
  public:
    explicit HotKeyDialog(const HotKeyDialogValues& values) : Dialog(IDD_HOTKEY), values_(values) {}
    const HotKeyDialogValues& values() const { return values_; }

  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    UINT TipStringId(int controlId) const override { return HotKeyTipStringId(controlId); }

  private:
    LRESULT OnDestroy(WPARAM, LPARAM);
    void OnEnableClicked(UINT id);
    void OnBrowse(UINT id);
    void OnEditFile(UINT id);
    HotKeyControl KeyField(int slot) const {
        return HotKeyControl(Item(HotKeySlotRows()[slot].keyFieldId));
    }
    Edit PathField(int slot) const { return Edit(Item(HotKeySlotRows()[slot].pathId)); }

    HotKeyDialogValues values_;

    static const MessageEntry kMessages[];
    static const CommandRangeEntry kRanges[];
    static const MessageMap kMessageMap;
};

const MessageEntry HotKeyDialog::kMessages[] = {
    {WM_DESTROY, OnMessage(&HotKeyDialog::OnDestroy)},
};
const CommandRangeEntry HotKeyDialog::kRanges[] = {
    {BN_CLICKED, IDC_HOTKEY_ENABLE_HISTORY, IDC_HOTKEY_ENABLE_PAUSE,
     OnCommandRange(&HotKeyDialog::OnEnableClicked)},
    {BN_CLICKED, IDC_HOTKEY_ENABLE_SHORTTEXT1, IDC_HOTKEY_ENABLE_SHORTTEXT5,
     OnCommandRange(&HotKeyDialog::OnEnableClicked)},
    {BN_CLICKED, IDC_HOTKEY_ENABLE_SEARCH, IDC_HOTKEY_ENABLE_SEARCH,
     OnCommandRange(&HotKeyDialog::OnEnableClicked)},
    {BN_CLICKED, IDC_SHORTTEXT_BROWSE1, IDC_SHORTTEXT_BROWSE5,
     OnCommandRange(&HotKeyDialog::OnBrowse)},
    {BN_CLICKED, IDC_SHORTTEXT_EDIT1, IDC_SHORTTEXT_EDIT5,
     OnCommandRange(&HotKeyDialog::OnEditFile)},
};
const MessageMap HotKeyDialog::kMessageMap = {
    &Dialog::kMessageMap, kMessages, std::size(kMessages), nullptr, 0, kRanges, std::size(kRanges)};

void HotKeyDialog::DoDataExchange(DataExchange& dx) {
    dx.Check(IDC_PASTE_DIRECT, values_.historyPasteDirect);
    dx.Check(IDC_PASTE_ONLY, values_.pasteOnly);
    dx.Check(IDC_PASTE_RESTORE, values_.pasteRestoreClipboard);
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        dx.Check(HotKeySlotRows()[slot].enableId, values_.slots[slot].enabled);
    }
    for (int slot = kFirstShortTextSlot; slot < kShortTextSlotEnd; ++slot) {
        dx.Text(HotKeySlotRows()[slot].pathId, values_.slots[slot].dataPath);
    }
}

bool HotKeyDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    SetSmallIcon(hwnd(), IDI_NORMAL);
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        HotKeyControl field = KeyField(slot);
        // A key pressed without a modifier is taken as Ctrl plus that key.
        field.SetRules(HKCOMB_NONE, HOTKEYF_CONTROL);
        const HotKeySlot& key = values_.slots[slot];
        const uint16_t value = HotKeyControlValue(key.keyCode, key.modifiers);
        field.SetHotKey(LOBYTE(value), HIBYTE(value));
    }
    ApplyEnabling(hwnd(), HotKeyEnableRules());
    std::vector<int> tipIds;
    for (const HotKeyTip& tip : HotKeyTips()) {
        tipIds.push_back(tip.controlId);
    }
    CreateTips(tipIds.data(), tipIds.size());
    return true;
}

// The keys live in the controls until the window goes, after OK and Cancel alike.
LRESULT HotKeyDialog::OnDestroy(WPARAM, LPARAM) {
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        StoreHotKeyControlValue(KeyField(slot).HotKey(), values_.slots[slot]);
    }
    return Default();
}

void HotKeyDialog::OnEnableClicked(UINT) {
    ApplyEnabling(hwnd(), HotKeyEnableRules());
}

void HotKeyDialog::OnBrowse(UINT id) {
    Edit path = PathField(HotKeySlotOfControl(static_cast<int>(id)));
    if (std::optional<std::string> chosen = BrowseForFile(hwnd(), path.Text(), kShortTextFile)) {
        path.SetText(*chosen);
    }
}

// The file is neither tested nor created, and a failure of the shell is not reported.
void HotKeyDialog::OnEditFile(UINT id) {
    const std::string file =
        ShortTextFileToOpen(PathField(HotKeySlotOfControl(static_cast<int>(id))).Text(),
                            ProgramFolder(), &IsAnsiLeadByte);
    if (!file.empty()) {
        ShellExecuteFile(nullptr, nullptr, file.c_str());
    }
}

}  // namespace

std::optional<HotKeyDialogValues> RunHotKeyDialog(HWND owner, const HotKeyDialogValues& values) {
    HotKeyDialog dialog(values);
    if (dialog.DoModal(owner) != IDOK) {
        return std::nullopt;
    }
    return dialog.values();
}

}  // namespace varnoke
