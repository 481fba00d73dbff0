#include "dialogs/options.h"

#include "res/resource.h"

namespace varnoke {

HistoryFileChoice::Outcome HistoryFileChoice::Decide(bool saveChecked, const std::string& typedPath,
                                                     HistoryFilePorts& ports) const {
    Outcome outcome;
    if (!saveChecked ||
        (openingSave_ && SamePathIgnoringCase(typedPath, openingPath_, isLeadByte_))) {
        return outcome;
    }
    if (!ports.Exists(ports.ResolvePath(typedPath))) {
        outcome.action = HistoryFileAction::kKeep;
        return outcome;
    }
    std::optional<int> option = ports.AskLoadConflict(typedPath);
    if (!option || *option < 0 || *option > 2) {
        outcome.mayClose = false;
        outcome.turnSavingOff = !openingSave_;
        return outcome;
    }
    outcome.action = static_cast<HistoryFileAction>(*option);
    return outcome;
}

const OptionsIntField kOptionsIntFields[6] = {
    {IDC_HISTORY_SAVE_INTERVAL, IDC_HISTORY_SAVE_INTERVAL_SPIN, &kHistorySaveIntervalLimit},
    {IDC_HISTORY_NUM, IDC_HISTORY_NUM_SPIN, &kHistoryNumLimit},
    {IDC_HISTORY_LEN, 0, &kHistoryLenLimit},
    {IDC_HISTORY_MENU_LEN, IDC_HISTORY_MENU_LEN_SPIN, &kHistoryMenuLenLimit},
    {IDC_HISTORY_MENU_BREAK, IDC_HISTORY_MENU_BREAK_SPIN, &kHistoryMenuBreakLimit},
    {IDC_PASTE_DELAY_TIME, IDC_PASTE_DELAY_TIME_SPIN, &kPasteDelayTimeLimit},
};

const OptionsCheckField kOptionsCheckFields[11] = {
    {IDC_HISTORY_STOP_OVERFLOW, &Settings::historyStopOverflow},
    {IDC_HISTORY_ADD_NUM, &Settings::historyAddNum},
    {IDC_HISTORY_MOVE_UP, &Settings::historyMoveUp},
    {IDC_HISTORY_ANIMATION, &Settings::historyAnimation},
    {IDC_HISTORY_WAVE, &Settings::historyWave},
    {IDC_PAUSE_WAVE, &Settings::pauseWave},
    {IDC_HISTORY_STARTING, &Settings::historyStarting},
    {IDC_HISTORY_DATA_SAVE, &Settings::historyDataSave},
    {IDC_HISTORY_AUTO_SAVE, &Settings::historyAutoSave},
    {IDC_HISTORY_DATA_PROTECT, &Settings::historyDataProtect},
    {IDC_HISTORY_COPE_WORD, &Settings::historyCopeWord},
};

const OptionsListField kOptionsListFields[4] = {
    {IDC_HISTORY_INSERT_POS, &Settings::historyInsertPos, IDS_INSERT_POS_HEAD, 2},
    {IDC_HISTORY_ACCESS_KEY, &Settings::historyAccessKey, IDS_ACCESS_KEY_NONE, 5},
    {IDC_POPUP_POS, &Settings::popupPos, IDS_POPUP_POS_CURSOR, 6},
    {IDC_PASTE_COMMAND, &Settings::pasteCommand, IDS_PASTE_COMMAND_CTRL_V, 2},
};

const OptionsTextField kOptionsTextFields[5] = {
    {IDC_HISTORY_WAVE_PATH, &Settings::historyWavePath},
    {IDC_PAUSE1_WAVE_PATH, &Settings::pause1WavePath},
    {IDC_PAUSE2_WAVE_PATH, &Settings::pause2WavePath},
    {IDC_HISTORY_DATA_PATH, &Settings::historyDataPath},
    {IDC_EXCLUDE_PROGRAMS, &Settings::excludePrograms},
};

const std::vector<EnableRule>& OptionsEnableRules() {
    // The save check box's rule comes before the periodic-save rule, which needs it as well.
    static const std::vector<EnableRule> rules = {
        {IDC_HISTORY_WAVE, {IDC_HISTORY_WAVE_PATH, IDC_HISTORY_WAVE_BROWSE, IDC_HISTORY_WAVE_TEST}},
        {IDC_PAUSE_WAVE,
         {IDC_PAUSE1_LABEL, IDC_PAUSE2_LABEL, IDC_PAUSE1_WAVE_PATH, IDC_PAUSE2_WAVE_PATH,
          IDC_PAUSE1_WAVE_BROWSE, IDC_PAUSE1_WAVE_TEST, IDC_PAUSE2_WAVE_BROWSE,
          IDC_PAUSE2_WAVE_TEST}},
        {IDC_HISTORY_DATA_SAVE,
         {IDC_HISTORY_DATA_PATH, IDC_HISTORY_DATA_BROWSE, IDC_HISTORY_AUTO_SAVE,
          IDC_HISTORY_DATA_PROTECT}},
        {IDC_HISTORY_AUTO_SAVE,
         {IDC_HISTORY_SAVE_INTERVAL, IDC_HISTORY_SAVE_INTERVAL_SPIN,
          IDC_HISTORY_SAVE_INTERVAL_LABEL},
         IDC_HISTORY_DATA_SAVE},
        {IDC_HISTORY_ADD_NUM, {IDC_HISTORY_ACCESS_KEY_LABEL, IDC_HISTORY_ACCESS_KEY}},
    };
    return rules;
}

const int kOptionsTipIds[31] = {
    IDC_HISTORY_NUM,
    IDC_HISTORY_STOP_OVERFLOW,
    IDC_HISTORY_LEN,
    IDC_HISTORY_MENU_LEN,
    IDC_HISTORY_MENU_BREAK,
    IDC_HISTORY_INSERT_POS,
    IDC_HISTORY_ADD_NUM,
    IDC_HISTORY_ACCESS_KEY,
    IDC_HISTORY_MOVE_UP,
    IDC_MENU_ORDER_NEWEST_LAST,
    IDC_MENU_ORDER_NEWEST_FIRST,
    IDC_HISTORY_ANIMATION,
    IDC_HISTORY_WAVE,
    IDC_HISTORY_WAVE_PATH,
    IDC_HISTORY_WAVE_TEST,
    IDC_PAUSE_WAVE,
    IDC_PAUSE1_WAVE_PATH,
    IDC_PAUSE2_WAVE_PATH,
    IDC_PAUSE1_WAVE_TEST,
    IDC_PAUSE2_WAVE_TEST,
    IDC_HISTORY_STARTING,
    IDC_HISTORY_DATA_SAVE,
    IDC_HISTORY_DATA_PATH,
    IDC_HISTORY_AUTO_SAVE,
    IDC_HISTORY_SAVE_INTERVAL,
    IDC_HISTORY_DATA_PROTECT,
    IDC_HISTORY_COPE_WORD,
    IDC_EXCLUDE_PROGRAMS,
    IDC_POPUP_POS,
    IDC_PASTE_COMMAND,
    IDC_PASTE_DELAY_TIME,
};

void CopyOptionsSettings(const Settings& from, Settings& to) {
    to.historyNum = from.historyNum;
    to.historyStopOverflow = from.historyStopOverflow;
    to.historyLen = from.historyLen;
    to.historyMenuLen = from.historyMenuLen;
    to.historyMenuBreak = from.historyMenuBreak;
    to.historyMenuOrder = from.historyMenuOrder;
    to.historyInsertPos = from.historyInsertPos;
    to.historyAddNum = from.historyAddNum;
    to.historyAccessKey = from.historyAccessKey;
    to.historyMoveUp = from.historyMoveUp;
    to.historyAnimation = from.historyAnimation;
    to.historyWave = from.historyWave;
    to.historyWavePath = from.historyWavePath;
    to.pauseWave = from.pauseWave;
    to.pause1WavePath = from.pause1WavePath;
    to.pause2WavePath = from.pause2WavePath;
    to.historyStarting = from.historyStarting;
    to.historyDataSave = from.historyDataSave;
    to.historyDataPath = from.historyDataPath;
    to.historyAutoSave = from.historyAutoSave;
    to.historySaveInterval = from.historySaveInterval;
    to.historyDataProtect = from.historyDataProtect;
    to.historyCopeWord = from.historyCopeWord;
    to.excludePrograms = from.excludePrograms;
    to.popupPos = from.popupPos;
    to.pasteCommand = from.pasteCommand;
    to.pasteDelayTime = from.pasteDelayTime;
}

}  // namespace varnoke
