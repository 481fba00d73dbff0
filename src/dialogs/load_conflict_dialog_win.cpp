#include "dialogs/load_conflict_dialog_win.h"

#include "framework/dialog_win.h"
#include "res/resource.h"

namespace varnoke {

namespace {

class LoadConflictDialog : public Dialog {
  public:
    explicit LoadConflictDialog(const std::string& path) : Dialog(IDD_LOAD_CONFLICT), path_(path) {}
    int option() const { return option_; }

  protected:
    void DoDataExchange(DataExchange& dx) override {
        if (!dx.saving()) {
            dx.Text(IDC_CONFLICT_PATH, path_);
        }
        dx.Radio(IDC_CONFLICT_OVERWRITE, option_);
    }

  private:
    std::string path_;
    int option_ = 0;
};

}  // namespace

std::optional<int> RunLoadConflictDialog(HWND owner, const std::string& path) {
    LoadConflictDialog dialog(path);
    if (dialog.DoModal(owner) != IDOK) {
        return std::nullopt;
    }
    return dialog.option();
}

}  // namespace varnoke
