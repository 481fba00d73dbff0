#include "dialogs/options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <variant>

#include "res/resource.h"

namespace varnoke {
namespace {

// The platform as the decision sees it: paths resolve against C:\prog, a set of existing
// files, and the answers the user gives to the question, in turn.
class FakePorts : public HistoryFilePorts {
  public:
    std::set<std::string> existing;
    std::deque<std::optional<int>> answers;
    std::vector<std::string> asked;
    std::vector<std::string> looked;

    std::string ResolvePath(const std::string& typed) override {
        return typed.size() > 2 && typed[1] == ':' ? typed : "C:\\prog\\" + typed;
    }
    bool Exists(const std::string& resolved) override {
        looked.push_back(resolved);
        return existing.count(resolved) != 0;
    }
    std::optional<int> AskLoadConflict(const std::string& typed) override {
        asked.push_back(typed);
        std::optional<int> answer = answers.empty() ? std::nullopt : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
};

const std::string kOpening = "Varnoke.vnk";

TEST(HistoryFileAction, SavingSwitchedOnWithAnUnchangedPathAsks) {
    FakePorts ports;
    ports.existing = {"C:\\prog\\Varnoke.vnk"};
    ports.answers = {1};
    HistoryFileChoice choice(kOpening, 0, &IsCp932LeadByte);
    HistoryFileChoice::Outcome outcome = choice.Decide(true, kOpening, ports);
    EXPECT_EQ(outcome.action, HistoryFileAction::kReplace);
    EXPECT_TRUE(outcome.mayClose);
    EXPECT_EQ(ports.asked, std::vector<std::string>{kOpening});
}

TEST(HistoryFileAction, UnchangedSavingOrSavingOffDecidesNothingWithoutLookingAtTheFile) {
    FakePorts ports;
    ports.existing = {"C:\\prog\\Varnoke.vnk", "C:\\prog\\other.vnk"};
    HistoryFileChoice savingOn(kOpening, 1, &IsCp932LeadByte);
    EXPECT_EQ(savingOn.Decide(true, "vARNOKE.VNK", ports).action, HistoryFileAction::kNothing);
    EXPECT_EQ(savingOn.Decide(false, "other.vnk", ports).action, HistoryFileAction::kNothing);
    HistoryFileChoice savingOff(kOpening, 0, &IsCp932LeadByte);
    EXPECT_EQ(savingOff.Decide(false, "other.vnk", ports).action, HistoryFileAction::kNothing);
    EXPECT_TRUE(ports.looked.empty());
    EXPECT_TRUE(ports.asked.empty());
}

TEST(HistoryFileAction, AMissingFileKeepsTheHistoryWithoutAQuestion) {
    FakePorts ports;
    HistoryFileChoice choice(kOpening, 1, &IsCp932LeadByte);
    HistoryFileChoice::Outcome outcome = choice.Decide(true, "new.vnk", ports);
    EXPECT_EQ(outcome.action, HistoryFileAction::kKeep);
    EXPECT_TRUE(outcome.mayClose);
    EXPECT_EQ(ports.looked, std::vector<std::string>{"C:\\prog\\new.vnk"});
    EXPECT_TRUE(ports.asked.empty());
}

TEST(HistoryFileAction, EachOptionGivesItsCodeAndTheQuestionShowsThePathAsTyped) {
    for (int option : {0, 1, 2}) {
        FakePorts ports;
        ports.existing = {"C:\\prog\\sub\\h.vnk"};
        ports.answers = {option};
        HistoryFileChoice choice(kOpening, 1, &IsCp932LeadByte);
        EXPECT_EQ(choice.Decide(true, "sub\\h.vnk", ports).action,
                  static_cast<HistoryFileAction>(option));
        EXPECT_EQ(ports.asked, std::vector<std::string>{"sub\\h.vnk"});
    }
}

TEST(HistoryFileAction, CancelWithSavingOffAtOpeningTurnsSavingOffAndTheNextOkDoesNothing) {
    FakePorts ports;
    ports.existing = {"C:\\prog\\Varnoke.vnk"};
    HistoryFileChoice choice(kOpening, 0, &IsCp932LeadByte);
    HistoryFileChoice::Outcome outcome = choice.Decide(true, kOpening, ports);
    EXPECT_EQ(outcome.action, HistoryFileAction::kNothing);
    EXPECT_FALSE(outcome.mayClose);
    EXPECT_TRUE(outcome.turnSavingOff);
    // The dialog turned the check box off; the second OK closes.
    outcome = choice.Decide(false, kOpening, ports);
    EXPECT_EQ(outcome.action, HistoryFileAction::kNothing);
    EXPECT_TRUE(outcome.mayClose);
    EXPECT_EQ(ports.asked.size(), 1u);
}

TEST(HistoryFileAction, CancelWithSavingOnAsksAgainOnEveryOkUntilThePathIsBack) {
    FakePorts ports;
    ports.existing = {"C:\\prog\\other.vnk"};
    HistoryFileChoice choice(kOpening, 1, &IsCp932LeadByte);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        HistoryFileChoice::Outcome outcome = choice.Decide(true, "other.vnk", ports);
        EXPECT_FALSE(outcome.mayClose);
        EXPECT_FALSE(outcome.turnSavingOff);
        EXPECT_EQ(ports.asked.size(), static_cast<size_t>(attempt));
    }
    HistoryFileChoice::Outcome back = choice.Decide(true, "VARNOKE.vnk", ports);
    EXPECT_TRUE(back.mayClose);
    EXPECT_EQ(back.action, HistoryFileAction::kNothing);
    EXPECT_EQ(ports.asked.size(), 3u);
}

TEST(HistoryFileAction, TheCaseOfTheSecondByteOfACharacterCounts) {
    // 0x83 0x41 and 0x83 0x61 are two different katakana; their second bytes only look
    // like "A" and "a".
    EXPECT_FALSE(SamePathIgnoringCase("C:\\\x83\x41.vnk", "c:\\\x83\x61.VNK", &IsCp932LeadByte));
    EXPECT_TRUE(SamePathIgnoringCase("C:\\\x83\x41.vnk", "c:\\\x83\x41.VNK", &IsCp932LeadByte));
    EXPECT_FALSE(SamePathIgnoringCase("a.vnk", "a.vnk2", &IsCp932LeadByte));
    // A lead byte at the very end stands alone.
    EXPECT_TRUE(SamePathIgnoringCase("x\x83", "X\x83", &IsCp932LeadByte));

    FakePorts ports;
    ports.existing = {"C:\\prog\\\x83\x61.vnk"};
    ports.answers = {0};
    HistoryFileChoice choice("\x83\x41.vnk", 1, &IsCp932LeadByte);
    EXPECT_EQ(choice.Decide(true, "\x83\x61.vnk", ports).action, HistoryFileAction::kKeep);
    EXPECT_EQ(ports.asked.size(), 1u);
}

// The final enabled state of every controlled id for the given checked boxes.
std::map<int, bool> Enabled(std::set<int> checked) {
    std::map<int, bool> result;
    auto isChecked = [&](int id) { return checked.count(id) != 0; };
    for (const EnableState& state : ComputeEnabling(OptionsEnableRules(), isChecked)) {
        result[state.id] = state.enabled;
    }
    return result;
}

TEST(OptionsEnabling, SavingOffDisablesThePathAndThePeriodicSaveWithItsInterval) {
    const int fileControls[] = {IDC_HISTORY_DATA_PATH, IDC_HISTORY_DATA_BROWSE,
                                IDC_HISTORY_AUTO_SAVE};
    const int intervalControls[] = {IDC_HISTORY_SAVE_INTERVAL, IDC_HISTORY_SAVE_INTERVAL_SPIN,
                                    IDC_HISTORY_SAVE_INTERVAL_LABEL};
    std::map<int, bool> off = Enabled({IDC_HISTORY_AUTO_SAVE});
    std::map<int, bool> onWithoutPeriodic = Enabled({IDC_HISTORY_DATA_SAVE});
    std::map<int, bool> both = Enabled({IDC_HISTORY_DATA_SAVE, IDC_HISTORY_AUTO_SAVE});
    for (int id : fileControls) {
        EXPECT_FALSE(off.at(id)) << id;
        EXPECT_TRUE(onWithoutPeriodic.at(id)) << id;
    }
    for (int id : intervalControls) {
        EXPECT_FALSE(off.at(id)) << id;
        EXPECT_FALSE(onWithoutPeriodic.at(id)) << id;
        EXPECT_TRUE(both.at(id)) << id;
    }
}

TEST(OptionsEnabling, SoundAndNumberBoxesEnableTheirOwnControlsOnly) {
    std::map<int, bool> none = Enabled({});
    std::map<int, bool> numbers = Enabled({IDC_HISTORY_ADD_NUM});
    std::map<int, bool> pause = Enabled({IDC_PAUSE_WAVE});
    EXPECT_FALSE(none.at(IDC_HISTORY_ACCESS_KEY_LABEL));
    EXPECT_FALSE(none.at(IDC_HISTORY_ACCESS_KEY));
    EXPECT_TRUE(numbers.at(IDC_HISTORY_ACCESS_KEY_LABEL));
    EXPECT_TRUE(numbers.at(IDC_HISTORY_ACCESS_KEY));
    EXPECT_FALSE(numbers.at(IDC_HISTORY_WAVE_PATH));
    for (int id : {IDC_PAUSE1_LABEL, IDC_PAUSE2_LABEL, IDC_PAUSE1_WAVE_PATH, IDC_PAUSE2_WAVE_PATH,
                   IDC_PAUSE1_WAVE_BROWSE, IDC_PAUSE1_WAVE_TEST, IDC_PAUSE2_WAVE_BROWSE,
                   IDC_PAUSE2_WAVE_TEST}) {
        EXPECT_FALSE(none.at(id)) << id;
        EXPECT_TRUE(pause.at(id)) << id;
    }
    EXPECT_FALSE(pause.at(IDC_HISTORY_WAVE_TEST));
}

// Registry stand-in that keeps the values by name.
class MapStore : public SettingsStore {
  public:
    std::map<std::string, std::variant<int, std::string>> values;
    std::vector<std::string> order;
    int ReadInt(const char* name, int fallback) override {
        auto it = values.find(name);
        return it != values.end() && std::holds_alternative<int>(it->second)
                   ? std::get<int>(it->second)
                   : fallback;
    }
    std::string ReadString(const char* name, const std::string& fallback) override {
        auto it = values.find(name);
        return it != values.end() && std::holds_alternative<std::string>(it->second)
                   ? std::get<std::string>(it->second)
                   : fallback;
    }
    void WriteInt(const char* name, int value) override {
        order.push_back(name);
        values[name] = value;
    }
    void WriteString(const char* name, const std::string& value) override {
        order.push_back(name);
        values[name] = value;
    }
};

MapStore Saved(const Settings& settings) {
    MapStore store;
    SaveSettings(settings, store, nullptr);
    return store;
}

// Compared through the saved form, so a setting the copy forgets (or one it should not
// touch) shows up by its registry name.
TEST(OptionsCopy, CopiesExactlyTheSettingsFromHistoryNumToPasteDelayTime) {
    const ScreenMetrics screen{96, 1024, 768};
    const Settings original = DefaultSettings(screen);
    MapStore distinct = Saved(original);
    int next = 50;
    for (auto& [name, value] : distinct.values) {
        if (std::holds_alternative<int>(value)) {
            value = next++;
        } else {
            value = "changed " + name;
        }
    }
    const Settings dialog = LoadSettings(distinct, screen);

    Settings target = original;
    CopyOptionsSettings(dialog, target);

    const MapStore before = Saved(original);
    const MapStore from = Saved(dialog);
    const MapStore after = Saved(target);
    auto first = std::find(before.order.begin(), before.order.end(), "HistoryNum");
    auto last = std::find(before.order.begin(), before.order.end(), "PasteDelayTime");
    ASSERT_NE(last, before.order.end());
    for (auto it = before.order.begin(); it != before.order.end(); ++it) {
        const bool edited = it >= first && it <= last;
        if (edited) {
            EXPECT_NE(from.values.at(*it), before.values.at(*it)) << *it;
        }
        EXPECT_EQ(after.values.at(*it), (edited ? from : before).values.at(*it)) << *it;
    }
}

}  // namespace
}  // namespace varnoke
