// The history data file across runs: loading with its limit messages, the two save
// failure messages, a reader that holds the file for a moment, and a save that is killed
// half way.
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
    WriteRegInt("HistoryAnimation", 0);
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardText("C"));
    WaitUntil([] { return false; }, 200);
    // The saved newest entry is still the newest: the same text is not added again.
    ASSERT_TRUE(SetClipboardText("C"));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"C", "B", "A"}));
    EXPECT_FALSE(FileExists(KeptFile()));
}

TEST_F(HistoryFileE2E, AFileLargerThanTheLimitRaisesItWithATwoLineMessage) {
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory(Numbered(120))));
    ASSERT_TRUE(program_.Start());
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), Utf8ToAnsi(u8"履歴の個数が制限値(90 個)を超えました\n"
                                              u8"履歴数の制限値を 120 個に引き上げました"));
    AnswerMessageBox(box);
    // The box stands in the middle of the start-up: a close posted before it is gone
    // would reach the main window from inside the box's loop.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    ASSERT_TRUE(program_.Stop());
    DWORD historyNum = 0;
    ASSERT_TRUE(ReadRegInt("HistoryNum", &historyNum));
    EXPECT_EQ(historyNum, 120u);
    EXPECT_EQ(HistoryOnDisk(program_), Numbered(120));
}

TEST_F(HistoryFileE2E, AFileBeyondThreeHundredEntriesIsCutAndSaysSo) {
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory(Numbered(310))));
    ASSERT_TRUE(program_.Start());
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              Utf8ToAnsi(u8"履歴の個数が制限値(90 個)を超えました\n"
                         u8"履歴数の制限値を 300 個に引き上げました\n"
                         u8"履歴の最大数(300個)を超えた履歴データは切り捨てられました"));
    AnswerMessageBox(box);
    // The box stands in the middle of the start-up: a close posted before it is gone
    // would reach the main window from inside the box's loop.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), Numbered(300));
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

// A reader that looks at the data file just as the program replaces it (a viewer, a backup
// tool) blocks the rename for that moment only; the save waits for it and shows nothing.
TEST_F(HistoryFileE2E, AReaderHoldingTheDataFileForAMomentDoesNotFailTheSave) {
    ResetRegistryWithHistoryWrittenOnEveryChange();
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({"old"})));
    ASSERT_TRUE(program_.Start());
    HANDLE reader = CreateFileA(DataFile().c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetClipboardText("new"));
    // The new contents are complete in the temporary file; the rename now meets the reader.
    EXPECT_TRUE(WaitUntil([&] { return FileExists(TempFile()); }, 5000));
    Sleep(60);
    CloseHandle(reader);
    EXPECT_TRUE(WaitForHistory(program_, {"new", "old"}));
    EXPECT_EQ(FindMessageBox(program_.processId(), nullptr, 500), nullptr);
    EXPECT_FALSE(FileExists(TempFile()));
    ASSERT_TRUE(program_.Stop());
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
    WriteRegInt("HistoryAnimation", 0);
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardText("new"));
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(CloseAndAnswerMessage(),
              Utf8ToAnsi(u8"履歴データの保存に失敗しました\n\"") + DataFile() +
                  Utf8ToAnsi(u8"\"\nが読み取り専用になっていないか確認してください"));
    ExpectOldFileAndNewInTemporary(old);
}

TEST_F(HistoryFileE2E, AShareLockedOldFileIsNotReplacedEither) {
    const std::string old = EncodeHistory({"old"});
    ASSERT_TRUE(WriteFileBytes(DataFile(), old));
    WriteRegInt("HistoryAnimation", 0);
    ASSERT_TRUE(program_.Start());
    // Others may read and write it, but not delete it.
    HANDLE lock = CreateFileA(DataFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    // A new entry, so that the exit has something to save over the held file.
    ASSERT_TRUE(SetClipboardText("new"));
    WaitUntil([] { return false; }, 300);
    std::string message = CloseAndAnswerMessage();
    CloseHandle(lock);
    EXPECT_EQ(message, Utf8ToAnsi(u8"履歴データの保存に失敗しました\n\"") + DataFile() +
                           Utf8ToAnsi(u8"\"\nが読み取り専用になっていないか確認してください"));
    std::string onDisk;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &onDisk));
    EXPECT_EQ(onDisk, old);
}

// A program that only looks at the data file (a viewer, a backup) holds it for a moment;
// the save waits for it to let go instead of failing with the rename message.
TEST_F(HistoryFileE2E, AReaderThatLetsGoAtOnceDoesNotStopTheSave) {
    ResetRegistryWithHistoryWrittenOnEveryChange();
    WriteRegInt("HistoryAnimation", 0);
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({"old"})));
    ASSERT_TRUE(program_.Start());
    HANDLE reader = CreateFileA(DataFile().c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetClipboardText("new"));
    // The new history waits in the temporary file while the old one is held.
    EXPECT_TRUE(WaitUntil(
        [&] { return GetFileAttributesA(TempFile().c_str()) != INVALID_FILE_ATTRIBUTES; }));
    CloseHandle(reader);
    EXPECT_TRUE(WaitForHistory(program_, {"new", "old"}));
    EXPECT_EQ(FindMessageBox(program_.processId(), "Varnoke", 300), nullptr);
    EXPECT_EQ(GetFileAttributesA(TempFile().c_str()), INVALID_FILE_ATTRIBUTES);
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
    // A text already on the clipboard is taken at start-up, so the new history differs.
    ASSERT_TRUE(SetClipboardText("new"));
    WriteRegInt("HistoryStarting", 1);
    WriteRegInt("HistoryAnimation", 0);
    ASSERT_TRUE(program_.Start());
    std::string message = CloseAndAnswerMessage();
    CloseHandle(scanner);
    EXPECT_EQ(message,
              Utf8ToAnsi(u8"履歴データの保存に失敗しました\n新しい履歴データは一時ファイル\n\"") +
                  TempFile() + Utf8ToAnsi(u8"\"\nに残っています\n\"") + DataFile() +
                  Utf8ToAnsi(u8"\"\nに名前を変更してください"));
    ExpectOldFileAndNewInTemporary(old);
}

// Another program reading the old file for a moment (a virus scanner, a backup) delays
// the save a little and causes no failure message.
TEST_F(HistoryFileE2E, AFileReadForAMomentIsStillReplacedWithoutAMessage) {
    ResetRegistryWithHistoryWrittenOnEveryChange();
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({"old"})));
    ASSERT_TRUE(program_.Start());
    HANDLE reader =
        CreateFileA(DataFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetClipboardText("new"));
    PumpFor(100);
    CloseHandle(reader);
    EXPECT_TRUE(WaitForHistory(program_, {"new", "old"}));
    EXPECT_EQ(FindMessageBox(program_.processId(), nullptr, 0), nullptr);
}

TEST_F(HistoryFileE2E, KillingTheProgramWhileItSavesLeavesTheOldOrTheNewHistory) {
    WriteRegInt("HistoryLen", 65535);
    WriteRegInt("HistoryNum", 300);
    WriteRegInt("HistoryAnimation", 0);
    WriteRegInt("HistoryAutoSave", 1);
    WriteRegInt("HistorySaveInterval", 0);
    const Entries old = Numbered(300, 60000);  // about 18 MB: a save takes a while
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory(old)));
    int sawOld = 0, sawNew = 0;
    const DWORD delays[] = {0, 10, 20, 30, 45, 60, 90, 160};
    for (DWORD delay : delays) {
        VarnokeProcess& program = program_;
        ASSERT_TRUE(program.Start());
        std::string text = "new " + std::to_string(delay);
        ASSERT_TRUE(SetClipboardText(text));  // captured, then saved at once
        Sleep(delay);
        program.Kill();
        Entries onDisk;
        std::string bytes;
        ASSERT_TRUE(ReadFileBytes(DataFile(), &bytes)) << "no data file after a kill at " << delay;
        ASSERT_TRUE(DecodeHistory(bytes, &onDisk)) << "damaged data file after a kill at " << delay;
        Entries expectedNew = onDisk;
        if (onDisk == old) {
            ++sawOld;
        } else {
            ASSERT_FALSE(onDisk.empty());
            EXPECT_EQ(onDisk.front(), text);
            EXPECT_EQ(Entries(onDisk.begin() + 1, onDisk.end()),
                      Entries(old.begin(), old.end() - 1));
            ++sawNew;
            // Put the old history back for the next round.
            ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory(old)));
        }
    }
    EXPECT_EQ(sawOld + sawNew, static_cast<int>(std::size(delays)));
    std::printf("kills during a save: old history kept %d times, new one %d times\n", sawOld,
                sawNew);
}

}  // namespace
}  // namespace e2e
