#include "dialogs/editor_settings_win.h"

#include <cstring>
#include <iterator>

#include "dialogs/entry_editor.h"
#include "framework/controls_win.h"
#include "framework/dialog_helpers_win.h"
#include "framework/dialog_win.h"
#include "framework/handles_win.h"
#include "res/resource.h"

namespace varnoke {

namespace {

const int kTipIds[] = {IDC_EDITOR_FONT, IDC_EDITOR_WORD_WRAP, IDC_EDITOR_TAB_STOPS};

class EditorSettingsDialog : public Dialog {
  public:
    explicit EditorSettingsDialog(const EditorSettings& settings)
        : Dialog(IDD_EDITOR_SETTINGS), settings_(settings) {}
    const EditorSettings& settings() const { return settings_; }

  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override {
        dx.Check(IDC_EDITOR_WORD_WRAP, settings_.wordWrap);
        dx.ListPrefix(IDC_EDITOR_TAB_STOPS, settings_.tabWidth);
    }

  private:
    void OnFont();
    void ShowSample();

    EditorSettings settings_;
    FontHandle sampleFont_;

    static const CommandEntry kCommands[];
    static const MessageMap kMessageMap;
};

const CommandEntry EditorSettingsDialog::kCommands[] = {
    {IDC_EDITOR_FONT, OnCommand(&EditorSettingsDialog::OnFont)},
};
const MessageMap EditorSettingsDialog::kMessageMap = {&Dialog::kMessageMap, nullptr, 0, kCommands,
                                                      std::size(kCommands)};

bool EditorSettingsDialog::OnInitDialog() {
    ComboBox tabs(Item(IDC_EDITOR_TAB_STOPS));
    for (const std::string& entry : TabWidthEntries()) {
        tabs.AddString(entry);
    }
    Dialog::OnInitDialog();
    ShowSample();
    CreateTips(kTipIds, std::size(kTipIds));
    return true;
}

void EditorSettingsDialog::ShowSample() {
    Control sample(Item(IDC_EDITOR_FONT_SAMPLE));
    sample.SetFont(nullptr, false);
    sampleFont_ = FontHandle(CreateFontIndirectA(&settings_.font));
    sample.SetText(
        std::string(settings_.font.lfFaceName,
                    strnlen(settings_.font.lfFaceName, sizeof(settings_.font.lfFaceName))));
    sample.SetFont(sampleFont_.get());
}

void EditorSettingsDialog::OnFont() {
    if (ChooseScreenFont(hwnd(), settings_.font)) {
        ShowSample();
    }
}

}  // namespace

bool RunEditorSettings(HWND owner, EditorSettings& settings) {
    EditorSettingsDialog dialog(settings);
    if (dialog.DoModal(owner) != IDOK) {
        return false;
    }
    settings = dialog.settings();
    return true;
}

}  // namespace varnoke
