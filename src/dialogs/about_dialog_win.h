#pragma once
// The version information dialog.

#include "framework/dialog_win.h"

namespace varnoke {

class AboutDialog : public Dialog {
  public:
    AboutDialog();

  protected:
    void DoDataExchange(DataExchange& dx) override;

  private:
    std::string text1_;
    std::string text2_;
};

}  // namespace varnoke
