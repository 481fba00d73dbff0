#pragma once
// Dialogs from .rc templates, with field exchange and validation: modal (DoModal), or
// modeless (Create) for a window that stays open while the program goes on working.
//
// A dialog procedure answers differently from a window procedure: FALSE hands the message
// back to the dialog manager, and most results travel in DWLP_MSGRESULT. Handlers here are
// written as for any Window (they return the message's result, and call Default() to let
// the dialog manager go on); Dialog::WindowProc translates.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/dialog_tips_win.h"
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
    // The index of the checked button in the group that starts at firstId. With no button
    // checked (a value that came in outside the group) the value stays as it came in.
    void Radio(int firstId, int& value);
    // The selected entry of a drop-down list. With no selection the value stays as it came
    // in: a -1 handed back would reach code that indexes by it.
    void ListIndex(int id, int& value);
    // Opening selects the first entry whose text begins with the value; saving reads the
    // selected entry's text, or "" when none is selected.
    void ListPrefix(int id, std::string& value);

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
    // Creates the dialog modeless and returns at once; false when it could not be created.
    // Its keys (Tab, Enter, Esc) go through the application's message loop. EndDialog then
    // destroys the window and calls OnEnded; the object must outlive its window.
    bool Create(HWND owner);

    static const MessageMap kMessageMap;

  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(DataExchange& dx) {}
    // The string-table entry a control's tip shows; by default the one with the control's id.
    virtual UINT TipStringId(int controlId) const { return static_cast<UINT>(controlId); }

    // A modeless dialog's window is gone; `result` is what EndDialog was given (IDCANCEL
    // when the window was destroyed another way).
    virtual void OnEnded(INT_PTR result) {}

    // Runs DoDataExchange in the given direction; false if a field failed.
    bool UpdateData(bool saving);
    void EndDialog(INT_PTR result);
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

    // One tip control per dialog; each control named here shows TipStringId(its id),
    // also while it is disabled.
    void CreateTips(const int* ids, size_t count);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static const MessageEntry kMessages[];
    static const CommandEntry kCommands[];
    static const NotifyEntry kNotifies[];

    // Help from a button or a context menu goes to the application's help command.
    void OnHelp();
    // Moves over a disabled control reach the dialog, not the control's own relay.
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnNeedTipTextA(NMHDR* header);
    LRESULT OnNeedTipTextW(NMHDR* header);
    int TipControlId(const NMHDR& header) const;

    UINT templateId_;
    bool modeless_ = false;
    INT_PTR modelessResult_ = IDCANCEL;
    DialogTips tips_;
    // The tip control keeps a pointer to the text until it asks again.
    std::string tipText_;
    std::wstring tipTextWide_;
};

}  // namespace varnoke
