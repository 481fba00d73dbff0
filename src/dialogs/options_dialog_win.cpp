#include "dialogs/options_dialog_win.h"

#include <mmsystem.h>

#include <iterator>

#include "core/data_path.h"
#include "dialogs/load_conflict_dialog_win.h"
#include "framework/application_win.h"
#include "framework/controls_win.h"
#include "framework/dialog_helpers_win.h"
#include "framework/dialog_win.h"
#include "framework/strings_win.h"
#include "framework/system_libraries_win.h"
#include "res/resource.h"

namespace varnoke {

namespace {

// The browse and test buttons of the three sound paths, ids 1013 to 1018.
struct WaveButton {
    UINT id;
    int edit;
    bool plays;
};
const WaveButton kWaveButtons[] = {
    {IDC_HISTORY_WAVE_BROWSE, IDC_HISTORY_WAVE_PATH, false},
    {IDC_HISTORY_WAVE_TEST, IDC_HISTORY_WAVE_PATH, true},
    {IDC_PAUSE1_WAVE_BROWSE, IDC_PAUSE1_WAVE_PATH, false},
    {IDC_PAUSE1_WAVE_TEST, IDC_PAUSE1_WAVE_PATH, true},
    {IDC_PAUSE2_WAVE_BROWSE, IDC_PAUSE2_WAVE_PATH, false},
    {IDC_PAUSE2_WAVE_TEST, IDC_PAUSE2_WAVE_PATH, true},
};

const OpenFileOptions kWaveFiles{"wave files (*.wav)|*.wav||", "wav", true};
// A new file may be named, so it need not exist.
const OpenFileOptions kHistoryFiles{"Varnoke Clipboard History Data (*.vnk)|*.vnk||", "vnk", false};

// Every step of the paste-delay spin moves by 100, however long the button is held.
const UDACCEL kPasteDelayAccel[] = {{0, 100}};

std::string ResolveHistoryPath(const std::string& path) {
    return ResolveDataPath(path, ProgramFolder(), &IsAnsiLeadByte);
}

class DialogHistoryFilePorts : public HistoryFilePorts {
  public:
    explicit DialogHistoryFilePorts(HWND dialog) : dialog_(dialog) {}
    std::string ResolvePath(const std::string& typedPath) override {
        return ResolveHistoryPath(typedPath);
    }
    bool Exists(const std::string& resolvedPath) override {
        return GetFileAttributesA(resolvedPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::optional<int> AskLoadConflict(const std::string& typedPath) override {
        return RunLoadConflictDialog(dialog_, typedPath);
    }

  private:
    HWND dialog_;
};

class OptionsDialog : public Dialog {
  public:
    explicit OptionsDialog(const Settings& settings)
        : Dialog(IDD_OPTIONS),
          fields_(settings),
          choice_(settings.historyDataPath, settings.historyDataSave, &IsAnsiLeadByte) {}
    const Settings& fields() const { return fields_; }
    HistoryFileAction historyFileAction() const { return historyFileAction_; }

  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(DataExchange& dx) override;

  private:
    void FillLists();
    void SetSpinRanges();
    void ApplyEnablingRules() { ApplyEnabling(hwnd(), OptionsEnableRules()); }
    void OnWaveButton(UINT id);
    void OnBrowseHistoryFile();

    Settings fields_;
    HistoryFileChoice choice_;
    HistoryFileAction historyFileAction_ = HistoryFileAction::kNothing;

    static const CommandEntry kCommands[];
    static const CommandRangeEntry kRanges[];
    static const MessageMap kMessageMap;
};

const CommandEntry OptionsDialog::kCommands[] = {
    {IDC_HISTORY_WAVE, OnCommand(&OptionsDialog::ApplyEnablingRules)},
    {IDC_PAUSE_WAVE, OnCommand(&OptionsDialog::ApplyEnablingRules)},
    {IDC_HISTORY_DATA_SAVE, OnCommand(&OptionsDialog::ApplyEnablingRules)},
    {IDC_HISTORY_AUTO_SAVE, OnCommand(&OptionsDialog::ApplyEnablingRules)},
    {IDC_HISTORY_ADD_NUM, OnCommand(&OptionsDialog::ApplyEnablingRules)},
    {IDC_HISTORY_DATA_BROWSE, OnCommand(&OptionsDialog::OnBrowseHistoryFile)},
};
const CommandRangeEntry OptionsDialog::kRanges[] = {
    {BN_CLICKED, IDC_HISTORY_WAVE_BROWSE, IDC_PAUSE2_WAVE_TEST,
     OnCommandRange(&OptionsDialog::OnWaveButton)},
};
const MessageMap OptionsDialog::kMessageMap = {
    &Dialog::kMessageMap, nullptr, 0, kCommands, std::size(kCommands), kRanges, std::size(kRanges)};

bool OptionsDialog::OnInitDialog() {
    FillLists();
    Dialog::OnInitDialog();
    SetSpinRanges();
    ApplyEnablingRules();
    CreateTips(kOptionsTipIds, std::size(kOptionsTipIds));
    return true;
}

void OptionsDialog::FillLists() {
    for (const OptionsListField& field : kOptionsListFields) {
        ComboBox list(Item(field.id));
        for (int i = 0; i < field.count; ++i) {
            list.AddString(LoadResourceString(static_cast<UINT>(field.firstStringId + i)));
        }
    }
}

void OptionsDialog::SetSpinRanges() {
    for (const OptionsIntField& field : kOptionsIntFields) {
        if (field.spinId != 0) {
            UpDown(Item(field.spinId)).SetRange32(field.limit->minimum, field.limit->maximum);
        }
    }
    UpDown(Item(IDC_PASTE_DELAY_TIME_SPIN)).SetAccel(kPasteDelayAccel, std::size(kPasteDelayAccel));
}

void OptionsDialog::DoDataExchange(DataExchange& dx) {
    for (const OptionsIntField& field : kOptionsIntFields) {
        const SettingLimit& limit = *field.limit;
        dx.IntRange(field.editId, fields_.*limit.member, limit.minimum, limit.maximum);
    }
    for (const OptionsCheckField& field : kOptionsCheckFields) {
        dx.Check(field.id, fields_.*field.member);
    }
    dx.Radio(IDC_MENU_ORDER_NEWEST_LAST, fields_.historyMenuOrder);
    for (const OptionsListField& field : kOptionsListFields) {
        dx.ListIndex(field.id, fields_.*field.member);
    }
    for (const OptionsTextField& field : kOptionsTextFields) {
        dx.Text(field.id, fields_.*field.member);
    }
}

// The question is asked before anything is validated, and again on every attempt.
void OptionsDialog::OnOK() {
    DialogHistoryFilePorts ports(hwnd());
    HistoryFileChoice::Outcome outcome =
        choice_.Decide(Button(Item(IDC_HISTORY_DATA_SAVE)).IsChecked(),
                       Control(Item(IDC_HISTORY_DATA_PATH)).Text(), ports);
    historyFileAction_ = outcome.action;
    if (!outcome.mayClose) {
        fields_.historyDataPath = choice_.openingPath();
        fields_.historyDataSave = choice_.openingSave();
        if (outcome.turnSavingOff) {
            Button(Item(IDC_HISTORY_DATA_SAVE)).SetCheck(false);
            ApplyEnablingRules();
        }
        return;
    }
    Dialog::OnOK();
}

void OptionsDialog::OnWaveButton(UINT id) {
    for (const WaveButton& button : kWaveButtons) {
        if (button.id != id) {
            continue;
        }
        Edit edit(Item(button.edit));
        if (button.plays) {
            // The edit's text as it stands, not the stored field.
            PlaySoundFile(edit.Text().c_str(), SND_ASYNC | SND_NODEFAULT);
        } else if (std::optional<std::string> chosen =
                       BrowseForFile(hwnd(), edit.Text(), kWaveFiles)) {
            edit.SetText(*chosen);
        }
        return;
    }
}

void OptionsDialog::OnBrowseHistoryFile() {
    Edit edit(Item(IDC_HISTORY_DATA_PATH));
    std::optional<std::string> chosen =
        BrowseForFile(hwnd(), ResolveHistoryPath(edit.Text()), kHistoryFiles);
    if (chosen) {
        edit.SetText(ResolveHistoryPath(*chosen));
    }
}

}  // namespace

std::optional<OptionsResult> RunOptionsDialog(HWND owner, const Settings& settings) {
    OptionsDialog dialog(settings);
    if (dialog.DoModal(owner) != IDOK) {
        return std::nullopt;
    }
    return OptionsResult{dialog.fields(), dialog.historyFileAction()};
}

}  // namespace varnoke
