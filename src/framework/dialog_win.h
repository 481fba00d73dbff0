#pragma once
// Modal dialogs from .rc templates, with field exchange and validation.

#include <windows.h>

#include <string>

#include "framework/window_win.h"

namespace varnoke {

// Moves values between a dialog's controls and its fields. The first field that
// fails validation is reported, gets the focus, and ends the exchange.
class DataExchange {
  public:
    DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}

    bool saving() const { return saving_; }
    bool failed() const { return failed_; }

    void Text(int id, std::string& value, int maxLength = 0);
    // A signed decimal integer; "整数を入力してください。" when the text is not one.
    void Int(int id, int& value);
    // Int, then "%1 から %2 までの整数を入力してください。" when out of range.
    void IntRange(int id, int& value, int minimum, int maximum);
    void Check(int id, int& value);
    // The index of the checked button in the group that starts at firstId; -1 if none.
    void Radio(int firstId, int& value);

  private:
    void Fail(int id, const std::string& message);
    void ExchangeInt(int id, int& value, bool hasRange, int minimum, int maximum);

    HWND dialog_;
    bool saving_;
    bool failed_ = false;
};

class Dialog : public Window {
  public:
    explicit Dialog(UINT templateId) : templateId_(templateId) {}

    // IDOK, IDCANCEL, or -1 when the dialog could not be created.
    INT_PTR DoModal(HWND owner);

  protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(DataExchange& dx) {}

    // Runs DoDataExchange in the given direction; false if a field failed.
    bool UpdateData(bool saving);
    void EndDialog(INT_PTR result);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
};

}  // namespace varnoke
