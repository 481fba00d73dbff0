// "貼り付け後にクリップボードを元に戻す": the chosen entry is on the clipboard only for the
// paste; what the user had there (a picture, a private format, a Unicode text) comes back
// byte for byte, and is not captured again. A copy by another program is never undone.
#include <gtest/gtest.h>

#include "harness.h"
#include "harness_internal.h"

namespace e2e {
namespace {

using Bytes = std::vector<BYTE>;

UINT PrivateFormat() {
    return RegisterClipboardFormatA("Varnoke E2E Private Data");
}

const Bytes kPrivateData = {0x00, 0x01, 0xFE, 0xFF, 0x00, 0x7F, 0x80, 0x00};
const wchar_t kUserText[] = L"user text";

// What the user had on the clipboard, as the test reads it back.
struct UserClipboard {
    Bytes bitmapBits;
    Bytes privateData;
    std::wstring text;
    bool operator==(const UserClipboard& o) const {
        return bitmapBits == o.bitmapBits && privateData == o.privateData && text == o.text;
    }
};

Bytes BitmapBits(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) == 0) {
        return {};
    }
    Bytes bits(static_cast<size_t>(info.bmWidthBytes) * info.bmHeight);
    GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
    return bits;
}

Bytes GlobalBytes(HANDLE data) {
    if (data == nullptr) {
        return {};
    }
    const BYTE* p = static_cast<const BYTE*>(GlobalLock(data));
    Bytes bytes = p != nullptr ? Bytes(p, p + GlobalSize(data)) : Bytes();
    GlobalUnlock(data);
    return bytes;
}

bool PutUserClipboard() {
    static const DWORD pixels[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF,
                                   0x00123456, 0x00000000, 0x00808080, 0x00ABCDEF};
    if (!internal::OpenClipboardRetrying()) {
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_BITMAP, CreateBitmap(4, 2, 1, 32, pixels)) != nullptr;
    ok = SetClipboardData(PrivateFormat(),
                          internal::MakeGlobal(kPrivateData.data(), kPrivateData.size())) &&
         ok;
    ok = SetClipboardData(CF_UNICODETEXT, internal::MakeGlobal(kUserText, sizeof(kUserText))) && ok;
    CloseClipboard();
    return ok;
}

UserClipboard ReadUserClipboard() {
    UserClipboard user;
    if (!internal::OpenClipboardRetrying()) {
        return user;
    }
    user.bitmapBits = BitmapBits(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
    user.privateData = GlobalBytes(GetClipboardData(PrivateFormat()));
    const Bytes text = GlobalBytes(GetClipboardData(CF_UNICODETEXT));
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    for (size_t i = 0; i < text.size() / sizeof(wchar_t) && units[i] != 0; ++i) {
        user.text += units[i];
    }
    CloseClipboard();
    return user;
}

// The edit control of the target, with its paste put off or kept from it: a program that
// reads the clipboard late, or never.
WNDPROC editProc = nullptr;
DWORD pasteDelayMs = 0;
bool pasteSwallowed = false;
constexpr UINT_PTR kLatePasteTimer = 77;

LRESULT CALLBACK LatePaste(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PASTE && pasteDelayMs == 0) {
        pasteSwallowed = true;
        return 0;
    }
    if (message == WM_PASTE) {
        SetTimer(edit, kLatePasteTimer, pasteDelayMs, nullptr);
        return 0;
    }
    if (message == WM_TIMER && wParam == kLatePasteTimer) {
        KillTimer(edit, kLatePasteTimer);
        return CallWindowProcA(editProc, edit, WM_PASTE, 0, 0);
    }
    return CallWindowProcA(editProc, edit, message, wParam, lParam);
}

class PasteRestoreE2E : public testing::Test {
  protected:
    void SetUp() override {
        ResetRegistryWithHistoryWrittenOnEveryChange();
        WriteRegInt("PasteRestoreClipboard", 1);
        WriteRegInt("HistoryMoveUp", 1);
    }
    void TearDown() override {
        if (editProc != nullptr) {
            SetWindowLongPtrA(GetWindow(target_.hwnd(), GW_CHILD), GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(editProc));
            editProc = nullptr;
        }
        ResetRegistry();
    }

    // alpha and beta copied, then the user's clipboard: the newest entry is its text.
    void StartWithUserClipboard() {
        ASSERT_TRUE(program_.Start());
        ASSERT_TRUE(CopyOldestFirst(program_, {"alpha", "beta"}));
        ASSERT_TRUE(PutUserClipboard());
        ASSERT_TRUE(WaitForHistory(program_, {"user text", "beta", "alpha"}));
        before_ = ReadUserClipboard();
        ASSERT_FALSE(before_.bitmapBits.empty());
        ASSERT_EQ(before_.privateData, kPrivateData);
        ASSERT_EQ(before_.text, kUserText);
    }

    void PutOffPastes(DWORD ms) {
        pasteDelayMs = ms;
        pasteSwallowed = false;
        HWND edit = GetWindow(target_.hwnd(), GW_CHILD);
        editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LatePaste)));
    }

    void ChooseAlphaByHotKey() {
        ASSERT_TRUE(OpenMenu(program_, [&] {
            target_.Focus();
            PressKey('C', true, true);
        })) << "Ctrl+Shift+C showed no menu";
        PressKey('3');  // "&3. alpha"
    }

    VarnokeProcess program_;
    TargetWindow target_;
    UserClipboard before_;
};

TEST_F(PasteRestoreE2E, TheUsersClipboardComesBackByteForByteAndIsNotCapturedAgain) {
    StartWithUserClipboard();
    ChooseAlphaByHotKey();
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "alpha"; })) << target_.Text();
    EXPECT_TRUE(WaitUntil([&] { return ReadUserClipboard() == before_; }));
    // Marked, so that other clipboard histories do not record it again either.
    for (const char* mark : {"ExcludeClipboardContentFromMonitorProcessing",
                             "Clipboard Viewer Ignore", "CanIncludeInClipboardHistory"}) {
        EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA(mark))) << mark;
    }
    // The choice moved to the top, as ever; the restore added nothing.
    ASSERT_TRUE(ProgramCaughtUp(program_));
    EXPECT_TRUE(WaitForHistory(program_, {"alpha", "user text", "beta"}));
    PumpFor(300);
    EXPECT_EQ(HistoryOnDisk(program_), (std::vector<std::string>{"alpha", "user text", "beta"}));
    // The next copy is captured as always.
    ASSERT_TRUE(SetClipboardText("gamma"));
    EXPECT_TRUE(WaitForHistory(program_, {"gamma", "alpha", "user text", "beta"}));
}

TEST_F(PasteRestoreE2E, ATargetThatReadsLateStillGetsTheChosenEntry) {
    StartWithUserClipboard();
    PutOffPastes(800);
    ChooseAlphaByHotKey();
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "alpha"; })) << target_.Text();
    EXPECT_TRUE(WaitUntil([&] { return ReadUserClipboard() == before_; }));
}

TEST_F(PasteRestoreE2E, ACopyByAnotherProgramBeforeTheRestoreStaysOnTheClipboard) {
    StartWithUserClipboard();
    PutOffPastes(0);  // the target never reads: the restore waits for its ceiling
    ChooseAlphaByHotKey();
    ASSERT_TRUE(WaitUntil([&] { return pasteSwallowed; }));
    ASSERT_TRUE(SetClipboardText("other copy"));
    EXPECT_TRUE(WaitForHistory(program_, {"other copy", "alpha", "user text", "beta"}));
    PumpFor(3000);  // past the restore's ceiling
    EXPECT_EQ(ClipboardNow(), "other copy");
    EXPECT_EQ(HistoryOnDisk(program_),
              (std::vector<std::string>{"other copy", "alpha", "user text", "beta"}));
}

// The program ends between the paste and the restore: the user's clipboard goes back first,
// and does not die with the program.
TEST_F(PasteRestoreE2E, AnExitBeforeTheRestorePutsTheClipboardBackFirst) {
    StartWithUserClipboard();
    PutOffPastes(0);  // the target never reads: the restore would wait for its ceiling
    ChooseAlphaByHotKey();
    ASSERT_TRUE(WaitUntil([&] { return pasteSwallowed; }));
    ASSERT_TRUE(program_.Stop());
    EXPECT_TRUE(ReadUserClipboard() == before_);
}

// A phrase menu's paste gives the clipboard back too; with PasteOnly 0 the phrase still
// joins the history, although its write is marked as not for clipboard histories.
TEST_F(PasteRestoreE2E, APastedPhraseGivesTheClipboardBackAndStillJoinsTheHistory) {
    WriteRegInt("PasteOnly", 0);
    WriteRegString("HotKeyData01", "phrases.txt");
    ASSERT_TRUE(
        WriteFileBytes(program_.PathInFolder("phrases.txt"), "[<first phrase>]&1 first\r\n"));
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardText("user copy"));
    ASSERT_TRUE(WaitForHistory(program_, {"user copy"}));
    ASSERT_TRUE(OpenMenu(program_, [&] {
        target_.Focus();
        PressKey('V', true, true);
    })) << "Ctrl+Shift+V showed no menu";
    PressKey('1');
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "first phrase"; })) << target_.Text();
    EXPECT_TRUE(WaitUntil([&] { return ClipboardNow() == "user copy"; })) << ClipboardNow();
    EXPECT_TRUE(WaitForHistory(program_, {"first phrase", "user copy"}));
}

}  // namespace
}  // namespace e2e
