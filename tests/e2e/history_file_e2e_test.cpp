// The history data file across runs: loading with its limit messages, the two save
// failure messages, a reader that holds the file for a moment, and a save that is killed
// half way.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

Entries Numbered(int count, size_t size = 0) {
    Entries entries;
    for (int i = 0; i < count; ++i) {
        std::string text = "entry " + std::to_string(i);
        if (text.size() < size)
            text.resize(size, static_cast<char>('a' + i % 26));
        entries.push_back(text);
    }
    return entries;
}

class HistoryFileE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistry(); }
    void TearDown() override { ResetRegistry(); }

    std::string DataFile() const { return program_.PathInFolder("Varnoke.vnk"); }
    std::string TempFile() const {
        return program_.PathInFolder("VarnokeTemporaryFile_Varnoke.vnk");
    }
    std::string KeptFile(const char* prefix = "VarnokeDamaged_") const {
        return program_.PathInFolder(std::string(prefix) + "Varnoke.vnk");
    }
    // A failed save of "new" over `old`: the old file is as it was, and the new history
    // waits in the temporary file.
    void ExpectOldFileAndNewInTemporary(const std::string& old) {
        std::string onDisk, temp;
        ASSERT_TRUE(ReadFileBytes(DataFile(), &onDisk));
        EXPECT_EQ(onDisk, old);
        ASSERT_TRUE(ReadFileBytes(TempFile(), &temp));
        EXPECT_EQ(temp, EncodeHistory({"new", "old"}));
    }
    // A text already on the clipboard is taken at start-up, so the exit has a new history
    // ("new", "old") to save.
    void StartTakingNew() {
        ASSERT_TRUE(SetClipboardText("new"));
        WriteRegInt("HistoryStarting", 1);
        WriteRegInt("HistoryAnimation", 0);
        ASSERT_TRUE(program_.Start());
    }
    // Closes the program and returns the text of the message box it shows on the way.
    std::string CloseAndAnswerMessage() {
        PostMessageA(program_.mainWindow(), WM_CLOSE, 0, 0);
        HWND box = FindMessageBox(program_.processId(), "Varnoke");
        if (box == nullptr)
            return "<no message>";
        std::string text = MessageBoxText(box);
        AnswerMessageBox(box);
        WaitUntil([&] { return !program_.IsRunning(); });
        return text;
    }

    VarnokeProcess program_;
};

TEST_F(HistoryFileE2E, TheHistorySurvivesARestart) {
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({"B", "A"})));
    ResetRegistryWithHistoryWrittenOnEveryChange();
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardText("C"));
    ASSERT_TRUE(WaitForHistory(program_, {"C", "B", "A"}));
    // The saved newest entry is still the newest: the same text is not added again.
    ASSERT_TRUE(SetClipboardText("C"));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"C", "B", "A"}));
    EXPECT_FALSE(FileExists(KeptFile()));
}

// Up to 300 entries the limit is raised to fit; beyond, the file is cut as well.
TEST_F(HistoryFileE2E, AFileLargerThanTheLimitRaisesItAndOneBeyondThreeHundredIsCut) {
    const std::pair<int, const char*> cases[] = {
        {120, u8"履歴の個数が制限値(90 個)を超えました\n履歴数の制限値を 120 個に引き上げました"},
        {310,
         u8"履歴の個数が制限値(90 個)を超えました\n履歴数の制限値を 300 個に引き上げました\n"
         u8"履歴の最大数(300個)を超えた履歴データは切り捨てられました"}};
    for (const auto& [count, message] : cases) {
        ResetRegistry();
        ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory(Numbered(count))));
        ASSERT_TRUE(program_.Start());
        HWND box = FindMessageBox(program_.processId(), "Varnoke");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), Utf8ToAnsi(message));
        AnswerMessageBox(box);
        // The box stands in the middle of the start-up: a close posted before it is gone
        // would reach the main window from inside the box's loop.
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        ASSERT_TRUE(program_.Stop());
        EXPECT_EQ(RegInt("HistoryNum"), static_cast<DWORD>(std::min(count, 300)));
        EXPECT_EQ(HistoryOnDisk(program_), Numbered(std::min(count, 300)));
    }
}

TEST_F(HistoryFileE2E, ACorruptRecordEndsTheLoadAndKeepsWhatCameBefore) {
    std::string bytes = EncodeHistory({"good", "bad"});
    bytes[bytes.size() - 2] = 'X';  // the second record's end mark
    ASSERT_TRUE(WriteFileBytes(DataFile(), bytes));
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"good"}));
}

// What the load skipped is lost from the data file at the first save, but never for good.
TEST_F(HistoryFileE2E, AFileWithADamagedMiddleRecordIsKeptOnceBesideTheNewOne) {
    const Entries first = {"one", "two"}, after = {"four", "five"};
    std::string damaged = EncodeHistory(first);
    damaged += std::string("\x13\x14\x05\x00\x00\x00three", 11);  // no end mark
    damaged += EncodeHistory(after).substr(37);
    ASSERT_TRUE(WriteFileBytes(DataFile(), damaged));
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(program_.Start());
        ASSERT_TRUE(program_.Stop());
    }
    EXPECT_EQ(HistoryOnDisk(program_), first);
    std::string kept;
    ASSERT_TRUE(ReadFileBytes(KeptFile(), &kept));
    EXPECT_EQ(kept, damaged);
    EXPECT_FALSE(FileExists(KeptFile("VarnokeDamaged2_")));
}

TEST_F(HistoryFileE2E, AFileWhoseFirstLineIsNotTheHeaderIsKeptBesideTheNewOne) {
    std::string original = EncodeHistory(Numbered(20));
    original.insert(original.find("\r\n"), " ");
    ASSERT_TRUE(WriteFileBytes(DataFile(), original));
    ResetRegistryWithHistoryWrittenOnEveryChange();
    ASSERT_TRUE(program_.Start());
    EXPECT_TRUE(VisibleWindowsOf(program_.processId()).empty());
    ASSERT_TRUE(SetClipboardText("new"));
    ASSERT_TRUE(WaitForHistory(program_, {"new"}));
    ASSERT_TRUE(program_.Stop());
    std::string kept;
    ASSERT_TRUE(ReadFileBytes(KeptFile(), &kept));
    EXPECT_EQ(kept, original);
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"new"}));
}

// A program that only looks at the data file (a viewer, a backup, a virus scanner) holds
// it for a moment, granting the right to delete it or not: the save waits for it to let go
// instead of failing, and shows nothing.
TEST_F(HistoryFileE2E, AReaderHoldingTheDataFileForAMomentDoesNotFailTheSave) {
    ResetRegistryWithHistoryWrittenOnEveryChange();
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({"old"})));
    ASSERT_TRUE(program_.Start());
    Entries expected = {"old"};
    for (DWORD share : {DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
                        DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        HANDLE reader = CreateFileA(DataFile().c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                    0, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        expected.insert(expected.begin(), "new " + std::to_string(share));
        ASSERT_TRUE(SetClipboardText(expected.front()));
        // The new contents are complete in the temporary file; the rename now meets the reader.
        EXPECT_TRUE(WaitUntil([&] { return FileExists(TempFile()); }, 5000));
        Sleep(60);
        CloseHandle(reader);
        EXPECT_TRUE(WaitForHistory(program_, expected));
        EXPECT_EQ(FindMessageBox(program_.processId(), nullptr, 300), nullptr);
        EXPECT_FALSE(FileExists(TempFile()));
    }
}

// The exit writes the history only when the file no longer holds it: an unchanged history
// leaves the file as it was, time stamp included, and a file removed meanwhile is written
// again.
// A full history too, where leaving the file alone saves the most.
TEST_F(HistoryFileE2E, AnUnchangedHistoryLeavesTheFileAloneAtExit) {
    std::vector<std::string> entries(300);
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i] = "entry " + std::to_string(i);
    }
    WriteRegInt("HistoryNum", 300);
    const std::string file = EncodeHistory(entries);
    ASSERT_TRUE(WriteFileBytes(DataFile(), file));
    const FILETIME longAgo{0x8E5F0000, 0x01D5C03C};  // 1 January 2020
    auto lastWrite = [this] {
        FILETIME written{};
        HANDLE h = CreateFileA(DataFile().c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        GetFileTime(h, nullptr, nullptr, &written);
        CloseHandle(h);
        return written;
    };
    HANDLE h = CreateFileA(DataFile().c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &longAgo));
    CloseHandle(h);

    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.Stop());
    std::string onDisk;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &onDisk));
    EXPECT_EQ(onDisk, file);
    FILETIME written = lastWrite();
    EXPECT_EQ(CompareFileTime(&written, &longAgo), 0) << "the unchanged file was written again";

    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(DeleteFileA(DataFile().c_str()));
    ASSERT_TRUE(program_.Stop());
    ASSERT_TRUE(ReadFileBytes(DataFile(), &onDisk));
    EXPECT_EQ(onDisk, file);
}

// A kill during a save leaves its temporary file beside the data file; the next clean
// exit clears it away even when the history itself did not change.
TEST_F(HistoryFileE2E, ALeftoverOfASaveCutShortIsClearedAtTheNextExit) {
    const std::string file = EncodeHistory({"kept"});
    ASSERT_TRUE(WriteFileBytes(DataFile(), file));
    const std::string leftover = program_.PathInFolder("VarnokeTemporaryFile_Varnoke.vnk");
    ASSERT_TRUE(WriteFileBytes(leftover, EncodeHistory({"half", "written"}).substr(0, 50)));
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.Stop());
    EXPECT_FALSE(FileExists(leftover));
    std::string onDisk;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &onDisk));
    EXPECT_EQ(onDisk, file);
}

TEST_F(HistoryFileE2E, AnUncreatableDataFileGivesTheFirstSaveMessage) {
    // A file where the data file's folder should be: the folder cannot be made.
    ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("blocker"), "x"));
    WriteRegString("HistoryDataPath", "blocker\\Varnoke.vnk");
    ASSERT_TRUE(program_.Start());
    EXPECT_EQ(CloseAndAnswerMessage(),
              Utf8ToAnsi(u8"履歴データの保存に失敗しました\nファイルを開けませんでした"));
    EXPECT_FALSE(program_.IsRunning());
}

TEST_F(HistoryFileE2E, AReadOnlyOldFileGivesTheSecondMessageAndKeepsBothVersions) {
    const std::string old = EncodeHistory({"old"});
    ASSERT_TRUE(WriteFileBytes(DataFile(), old));
    SetFileAttributesA(DataFile().c_str(), FILE_ATTRIBUTE_READONLY);
    StartTakingNew();
    EXPECT_EQ(CloseAndAnswerMessage(),
              Utf8ToAnsi(u8"履歴データの保存に失敗しました\n\"") + DataFile() +
                  Utf8ToAnsi(u8"\"\nが読み取り専用になっていないか確認してください"));
    ExpectOldFileAndNewInTemporary(old);
}

TEST_F(HistoryFileE2E, AShareLockedOldFileIsNotReplacedEither) {
    const std::string old = EncodeHistory({"old"});
    ASSERT_TRUE(WriteFileBytes(DataFile(), old));
    StartTakingNew();
    // Others may read and write it, but not delete it.
    HANDLE lock = CreateFileA(DataFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    std::string message = CloseAndAnswerMessage();
    CloseHandle(lock);
    EXPECT_EQ(message, Utf8ToAnsi(u8"履歴データの保存に失敗しました\n\"") + DataFile() +
                           Utf8ToAnsi(u8"\"\nが読み取り専用になっていないか確認してください"));
    std::string onDisk;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &onDisk));
    EXPECT_EQ(onDisk, old);
}

TEST_F(HistoryFileE2E, ATemporaryFileHeldByAScannerGivesTheRenameMessage) {
    const std::string old = EncodeHistory({"old"});
    ASSERT_TRUE(WriteFileBytes(DataFile(), old));
    ASSERT_TRUE(WriteFileBytes(TempFile(), "leftover"));
    // Held as a virus scanner holds a file: others may read and write it, but nobody may
    // delete or rename it. The save can write its new contents, not rename them.
    HANDLE scanner =
        CreateFileA(TempFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    StartTakingNew();
    std::string message = CloseAndAnswerMessage();
    CloseHandle(scanner);
    EXPECT_EQ(message,
              Utf8ToAnsi(u8"履歴データの保存に失敗しました\n新しい履歴データは一時ファイル\n\"") +
                  TempFile() + Utf8ToAnsi(u8"\"\nに残っています\n\"") + DataFile() +
                  Utf8ToAnsi(u8"\"\nに名前を変更してください"));
    ExpectOldFileAndNewInTemporary(old);
}

TEST_F(HistoryFileE2E, KillingTheProgramWhileItSavesLeavesTheOldOrTheNewHistory) {
    ResetRegistryWithHistoryWrittenOnEveryChange();
    WriteRegInt("HistoryLen", 65535);
    WriteRegInt("HistoryNum", 300);
    const Entries old = Numbered(300, 60000);  // about 18 MB: a save takes a while
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory(old)));
    int cutShort = 0, sawNew = 0;
    const DWORD delays[] = {0, 10, 20, 30, 45, 60, 90, 160};
    // A round whose kills all miss the saves (a slower or faster machine) is run again.
    for (size_t i = 0; i < 3 * std::size(delays) && (i < std::size(delays) || !cutShort); ++i) {
        const DWORD delay = delays[i % std::size(delays)];
        ASSERT_TRUE(program_.Start());
        std::string text = "new " + std::to_string(delay);
        ASSERT_TRUE(SetClipboardText(text));  // captured, then saved at once
        Sleep(delay);
        program_.Kill();
        // Only a kill while the temporary file stands puts the replacement to the test.
        if (DeleteFileA(TempFile().c_str())) {
            ++cutShort;
        }
        Entries onDisk;
        std::string bytes;
        ASSERT_TRUE(ReadFileBytes(DataFile(), &bytes)) << "no data file after a kill at " << delay;
        ASSERT_TRUE(DecodeHistory(bytes, &onDisk)) << "damaged data file after a kill at " << delay;
        if (onDisk != old) {
            ASSERT_FALSE(onDisk.empty());
            EXPECT_EQ(onDisk.front(), text);
            EXPECT_EQ(Entries(onDisk.begin() + 1, onDisk.end()),
                      Entries(old.begin(), old.end() - 1));
            ++sawNew;
            // Put the old history back for the next round.
            ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory(old)));
        }
    }
    std::printf("kills during a save: %d while the temporary file stood, new history %d times\n",
                cutShort, sawNew);
    EXPECT_GT(cutShort, 0) << "no kill landed while a save was under way";
}

// The replacement is one step: another program that opens the data file over and over while
// the program saves it never finds it missing.
TEST_F(HistoryFileE2E, AProgramOpeningTheDataFileNeverFindsItMissingDuringSaves) {
    ResetRegistryWithHistoryWrittenOnEveryChange();
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({"old"})));
    ASSERT_TRUE(program_.CopyBesideProgram("open_repeatedly.exe"));
    ASSERT_TRUE(program_.Start());
    const std::string stop = program_.PathInFolder("stop"),
                      result = program_.PathInFolder("result");
    std::string command = "\"" + program_.PathInFolder("open_repeatedly.exe") + "\" \"" +
                          DataFile() + "\" \"" + stop + "\" \"" + result + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION reader{};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &reader));
    for (int i = 0; i < 100; ++i) {
        const std::string text = "save " + std::to_string(i);
        ASSERT_TRUE(SetClipboardText(text));
        ASSERT_TRUE(WaitUntil([&] { return HistoryOnDisk(program_).front() == text; })) << text;
    }
    ASSERT_TRUE(WriteFileBytes(stop, ""));
    EXPECT_TRUE(WaitUntil([&] { return WaitForSingleObject(reader.hProcess, 0) == 0; }));
    CloseHandle(reader.hProcess);
    CloseHandle(reader.hThread);
    std::string counts;
    ASSERT_TRUE(ReadFileBytes(result, &counts));
    unsigned long opened = 0, missing = 1;
    ASSERT_EQ(std::sscanf(counts.c_str(), "%lu %lu", &opened, &missing), 2) << counts;
    std::printf("the data file opened %lu times during the saves\n", opened);
    EXPECT_GT(opened, 100u);
    EXPECT_EQ(missing, 0u);
    EXPECT_EQ(FindMessageBox(program_.processId(), nullptr, 0), nullptr);
}

}  // namespace
}  // namespace e2e
