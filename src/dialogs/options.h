#pragma once
// The options dialog's rules: which settings it edits through which controls, which check
// boxes enable which controls, and what OK decides about the history data file.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/data_path.h"
#include "core/mbcs.h"
#include "core/setting_limits.h"
#include "core/settings.h"
#include "framework/dialog_rules.h"

namespace varnoke {

// What the main window is to do about the history data file after OK.
enum class HistoryFileAction {
    kNothing = -1,  // saving is off, or the path and the save flag are unchanged
    kKeep = 0,      // the file is new, or the current history is to overwrite it
    kReplace = 1,   // discard the current history and load the file
    kAppend = 2,    // load the file and append its entries
};

// What deciding about the file needs of the platform.
class HistoryFilePorts {
  public:
    virtual ~HistoryFilePorts() = default;
    // ResolveDataPath: the path by which the file is later opened.
    virtual std::string ResolvePath(const std::string& typedPath) = 0;
    // Whether anything (file or folder) exists at a resolved path.
    virtual bool Exists(const std::string& resolvedPath) = 0;
    // The load-conflict question for the path as typed: option 0, 1 or 2, nothing on Cancel.
    virtual std::optional<int> AskLoadConflict(const std::string& typedPath) = 0;
};

// Remembers the path and save flag the dialog opened with and decides, on every OK attempt,
// whether the file is to be asked about.
class HistoryFileChoice {
  public:
    HistoryFileChoice(std::string openingPath, int openingSave, LeadByteTest isLeadByte)
        : openingPath_(std::move(openingPath)),
          openingSave_(openingSave),
          isLeadByte_(isLeadByte) {}

    struct Outcome {
        HistoryFileAction action = HistoryFileAction::kNothing;
        // False when the question was cancelled: the dialog stays open.
        bool mayClose = true;
        // Saving was off at opening and the question was cancelled: the save check box is
        // to be turned off again.
        bool turnSavingOff = false;
    };
    // From the save check box and the path as they stand now.
    Outcome Decide(bool saveChecked, const std::string& typedPath, HistoryFilePorts& ports) const;

    const std::string& openingPath() const { return openingPath_; }
    int openingSave() const { return openingSave_; }

  private:
    std::string openingPath_;
    int openingSave_;
    LeadByteTest isLeadByte_;
};

// Integer fields in exchange (and so validation) order; spinId 0 for a field without spin.
struct OptionsIntField {
    int editId;
    int spinId;
    const SettingLimit* limit;
};
struct OptionsCheckField {
    int id;
    int Settings::*member;
};
// A drop-down list whose entries are the strings firstStringId + index.
struct OptionsListField {
    int id;
    int Settings::*member;
    int firstStringId;
    int count;
};
struct OptionsTextField {
    int id;
    std::string Settings::*member;
};

extern const OptionsIntField kOptionsIntFields[6];
extern const OptionsCheckField kOptionsCheckFields[11];
extern const OptionsListField kOptionsListFields[4];
extern const OptionsTextField kOptionsTextFields[5];

// Applied at opening and on every click of a controlling check box.
const std::vector<EnableRule>& OptionsEnableRules();

// The 31 controls with a tip, in order of registration; each shows the string of its id.
extern const int kOptionsTipIds[31];

// Copies the settings the dialog edits (HistoryNum to PasteDelayTime, HistoryDataProtect and
// ExcludePrograms) and nothing else:
// the pause state, the hot keys and the editor's settings may have changed meanwhile.
void CopyOptionsSettings(const Settings& from, Settings& to);

}  // namespace varnoke
