// Secrets out of the history: copies by listed programs are never recorded, and the history
// file can be written protected for the Windows user, which only that user on this machine
// can read back.
#include <windows.h>

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "harness.h"
#include "history/exact_text_file.h"
#include "history/protected_file.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

const char kProtectedHeaderLine[] = "Varnoke Protected Data File\r\n";

std::string Utf16Bytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

class SecretsE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override {
        for (HWND dialog : DialogsOf(program_.processId())) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        ResetRegistry();
    }

    std::string DataFile() const { return program_.PathInFolder("Varnoke.vnk"); }
    std::string ExactFile() const { return program_.PathInFolder("Varnoke.vnk.exact"); }

    // The helper that copies with a window of its own, under the program file name `name`.
    ::testing::AssertionResult CopyAs(const std::string& name, const std::string& text) {
        const std::string exe = program_.PathInFolder(name);
        if (!FileExists(exe) &&
            !CopyFileA((program_.PathInFolder("copy_owned.exe")).c_str(), exe.c_str(), FALSE)) {
            return ::testing::AssertionFailure() << "cannot copy the helper to " << name;
        }
        std::string command = "\"" + exe + "\" \"" + text + "\" 1500";
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info)) {
            return ::testing::AssertionFailure() << "cannot start " << name;
        }
        DWORD code = STILL_ACTIVE;
        WaitUntil([&] { return GetExitCodeProcess(info.hProcess, &code) && code != STILL_ACTIVE; });
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        if (code != 0) {
            return ::testing::AssertionFailure() << name << " ended with " << code;
        }
        return ::testing::AssertionSuccess();
    }
    // A copy without an owner after it: once it is in the history, the copy before it has
    // been dealt with.
    ::testing::AssertionResult CopyMarkerAndExpect(const std::string& marker,
                                                   const Entries& expected) {
        if (!SetClipboardText(marker) || !WaitForHistory(program_, expected)) {
            ::testing::AssertionResult failure = ::testing::AssertionFailure();
            failure << "the history is:";
            for (const std::string& e : HistoryOnDisk(program_)) failure << " [" << e << "]";
            return failure;
        }
        return ::testing::AssertionSuccess();
    }
    // The data file, unprotected; entries of "<not protected>" or "<unreadable>" otherwise.
    Entries ProtectedHistoryOnDisk() const {
        std::string bytes;
        Entries entries;
        if (!ReadFileBytes(DataFile(), &bytes) || bytes.rfind(kProtectedHeaderLine, 0) != 0) {
            return {"<not protected>"};
        }
        std::string plain;
        if (!UnprotectForThisUser(bytes, &plain) || !DecodeHistory(plain, &entries)) {
            return {"<unreadable>"};
        }
        return entries;
    }
    void ChooseFromTray(WORD key) {
        ASSERT_TRUE(OpenMenu(program_, [&] { program_.PressTrayIcon(WM_LBUTTONDOWN); }));
        PressKey(key);
        ASSERT_TRUE(WaitForMenuClosed(program_));
    }

    VarnokeProcess program_;
};

TEST_F(SecretsE2E, ACopyByAListedProgramIsNeverRecordedButTheSameProgramRenamedIs) {
    ASSERT_TRUE(program_.CopyBesideProgram("copy_owned.exe"));
    ASSERT_TRUE(program_.Start());
    // KeePass.exe is on the default list.
    ASSERT_TRUE(CopyAs("KeePass.exe", "secret-one"));
    ASSERT_TRUE(CopyMarkerAndExpect("marker", {"marker"}));
    ASSERT_TRUE(CopyAs("Notes.exe", "shown-two"));
    ASSERT_TRUE(WaitForHistory(program_, {"shown-two", "marker"}));
    ASSERT_TRUE(program_.Stop());
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &bytes));
    EXPECT_EQ(bytes.find("secret-one"), std::string::npos);
    std::string list;
    ASSERT_TRUE(ReadRegString("ExcludePrograms", &list));
    EXPECT_NE(list.find("KeePass.exe"), std::string::npos) << list;
}

TEST_F(SecretsE2E, TheListEditedInTheOptionsTakesEffectAtOkAndIsInTheRegistryAfterExit) {
    ASSERT_TRUE(program_.CopyBesideProgram("copy_owned.exe"));
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.PostCommand(ID_OPTIONS));
    DialogDriver options =
        DialogDriver::Find(program_.processId(), Utf8ToAnsi(u8"オプション設定 - Varnoke"));
    ASSERT_TRUE(options);
    ASSERT_TRUE(options.SetText(IDC_EXCLUDE_PROGRAMS, "Notes.exe"));
    options.Click(IDOK);
    ASSERT_TRUE(options.WaitClosed());
    ASSERT_TRUE(CopyAs("Notes.exe", "hidden-now"));
    ASSERT_TRUE(CopyMarkerAndExpect("marker", {"marker"}));
    // No longer listed.
    ASSERT_TRUE(CopyAs("KeePass.exe", "kept-now"));
    ASSERT_TRUE(WaitForHistory(program_, {"kept-now", "marker"}));
    ASSERT_TRUE(program_.Stop());
    std::string list;
    ASSERT_TRUE(ReadRegString("ExcludePrograms", &list));
    EXPECT_EQ(list, "Notes.exe");
}

TEST_F(SecretsE2E, AProtectedFileHoldsNoCopiedByteAndARestartRestoresEveryEntryAndExactText) {
    WriteRegInt("HistoryDataProtect", 1);
    const std::string plainText = "plain secret 12345";
    const std::wstring wide = L"caf\u00E9 \U0001F600 \uD55C\uAD6D secret";
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardText(plainText));
    ASSERT_TRUE(WaitUntil([&] { return ProtectedHistoryOnDisk() == Entries{plainText}; }));
    ASSERT_TRUE(SetClipboardUnicode(wide));
    const std::string ansi = WideToAnsi(wide);
    ASSERT_TRUE(WaitUntil([&] { return ProtectedHistoryOnDisk() == (Entries{ansi, plainText}); }));
    ASSERT_TRUE(program_.Stop());
    for (const std::string& path : {DataFile(), ExactFile()}) {
        std::string bytes;
        ASSERT_TRUE(ReadFileBytes(path, &bytes)) << path;
        EXPECT_EQ(bytes.rfind(kProtectedHeaderLine, 0), 0u) << path;
        for (const std::string& copied :
             {plainText, ansi, Utf16Bytes(L"secret"), std::string("secret"), Utf16Bytes(wide)}) {
            EXPECT_EQ(bytes.find(copied), std::string::npos) << path;
        }
    }

    ASSERT_TRUE(SetClipboardText("elsewhere"));
    ASSERT_TRUE(program_.Start());
    EXPECT_TRUE(VisibleWindowsOf(program_.processId()).empty());
    ChooseFromTray('1');
    EXPECT_TRUE(WaitUntil([&] { return ClipboardUnicodeNow() == wide; }, 5000));
    ChooseFromTray('2');
    EXPECT_TRUE(WaitUntil([&] { return ClipboardNow() == plainText; }, 5000));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(ProtectedHistoryOnDisk(), (Entries{ansi, plainText}));

    // Off: the next save writes today's plain files, byte for byte.
    WriteRegInt("HistoryDataProtect", 0);
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.Stop());
    std::string data, exact;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &data));
    EXPECT_EQ(data, EncodeHistory({ansi, plainText}));
    varnoke::ClipHistory history;
    history.Append(varnoke::HistoryEntry(ansi, std::u16string(wide.begin(), wide.end())));
    history.Append(varnoke::HistoryEntry(plainText));
    std::string expectedExact;
    varnoke::StringSink sink(&expectedExact);
    varnoke::WriteExactTextFile(history, varnoke::DataFileIdentityOf(history), sink);
    ASSERT_TRUE(ReadFileBytes(ExactFile(), &exact));
    EXPECT_EQ(exact, expectedExact);
}

// The exit leaves an unchanged plain file alone, but not once protection is asked for.
TEST_F(SecretsE2E, ProtectionTurnedOnInTheOptionsRewritesAnUnchangedHistoryAtExit) {
    ResetRegistry();
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({"kept", "as is"})));
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.PostCommand(ID_OPTIONS));
    DialogDriver options =
        DialogDriver::Find(program_.processId(), Utf8ToAnsi(u8"オプション設定 - Varnoke"));
    ASSERT_TRUE(options);
    EXPECT_FALSE(options.IsChecked(IDC_HISTORY_DATA_PROTECT));
    options.SetCheck(IDC_HISTORY_DATA_PROTECT, true);
    options.Click(IDOK);
    ASSERT_TRUE(options.WaitClosed());
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(ProtectedHistoryOnDisk(), (Entries{"kept", "as is"}));
    EXPECT_EQ(RegInt("HistoryDataProtect"), 1u);
}

// A file that another user or machine protected: the system cannot unprotect it here.
TEST_F(SecretsE2E, AProtectedFileOfAnotherUserIsKeptOnceAndTheProgramStartsEmptyWithAMessage) {
    // Intact, the form that protects the data itself loads (a system without AES-GCM writes it).
    std::string original = ProtectForThisUser(EncodeHistory({"theirs"}));
    ASSERT_FALSE(original.empty());
    ASSERT_TRUE(WriteFileBytes(DataFile(), original));
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.Stop());
    ASSERT_EQ(HistoryOnDisk(program_), (Entries{"theirs"}));
    // The last byte names the form; the one before it ends the system's check.
    original[original.size() - 2] ^= 0x55;
    ASSERT_TRUE(WriteFileBytes(DataFile(), original));
    ASSERT_TRUE(program_.Start());
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(box, nullptr);
    const std::string text = MessageBoxText(box);
    EXPECT_NE(text.find(Utf8ToAnsi(u8"暗号化を解除できませんでした")), std::string::npos) << text;
    EXPECT_NE(text.find(DataFile()), std::string::npos) << text;
    AnswerMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    ASSERT_TRUE(CopyMarkerAndExpect("new", {"new"}));
    ASSERT_TRUE(SetClipboardText("newer"));
    ASSERT_TRUE(WaitForHistory(program_, {"newer", "new"}));
    ASSERT_TRUE(program_.Stop());
    std::string kept;
    ASSERT_TRUE(ReadFileBytes(program_.PathInFolder("VarnokeDamaged_Varnoke.vnk"), &kept));
    EXPECT_EQ(kept, original);
    EXPECT_FALSE(FileExists(program_.PathInFolder("VarnokeDamaged2_Varnoke.vnk")));
}

}  // namespace
}  // namespace e2e
