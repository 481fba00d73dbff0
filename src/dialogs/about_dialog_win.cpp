#include "dialogs/about_dialog_win.h"

#include "framework/strings_win.h"
#include "res/resource.h"

namespace varnoke {

AboutDialog::AboutDialog()
    : Dialog(IDD_ABOUT),
      text1_(LoadResourceString(IDS_ABOUT_TEXT1)),
      text2_(LoadResourceString(IDS_ABOUT_TEXT2)) {}

void AboutDialog::DoDataExchange(DataExchange& dx) {
    dx.Text(IDC_ABOUT_TEXT1, text1_);
    dx.Text(IDC_ABOUT_TEXT2, text2_);
}

}  // namespace varnoke
