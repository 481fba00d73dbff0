#include "history/history_save.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "history/exact_text.h"
#include "history/exact_text_file.h"
#include "history/history_store.h"
#include "support/cp932_codec.h"
#include "support/dual_texts.h"
#include "support/fake_protection.h"

namespace varnoke {
namespace {

const samples::Cp932Codec kCodec;

const std::string kPath = "C:\\data\\Varnoke.vnk";
const std::string kTemp = "C:\\data\\VarnokeTemporaryFile_Varnoke.vnk";

// Files live in a map; writes go straight into it, so a failed write leaves a short file.
class FakeFileSystem : public HistoryFileSystem {
  public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders{"C:\\data"};
    std::set<std::string> locked;  // cannot be created or removed
    // Can be written, but not renamed or removed: another program holds it open without
    // sharing the right to delete, as a virus scanner may.
    std::set<std::string> held;
    size_t writeLimit = SIZE_MAX;
    int renameFailures = 0;  // the next replacements that fail, as with a reader holding on
    int renameAttempts = 0;
    bool closeFails = false;
    uint64_t clock = 0;  // each creation of a file gets the next time stamp
    std::map<std::string, uint64_t> stamps;

    struct Sink : ByteSink {
        FakeFileSystem* fs;
        std::string* file;
        bool Write(const void* data, size_t size) override {
            size_t room = fs->writeLimit - std::min(fs->writeLimit, file->size());
            file->append(static_cast<const char*>(data), std::min(size, room));
            return size <= room;
        }
        bool Close() override { return !fs->closeFails; }
    };

    bool Exists(const std::string& path) override {
        return files.count(path) || folders.count(path);
    }
    bool CreateFolder(const std::string& path) override { return folders.insert(path).second; }
    std::unique_ptr<ByteSink> CreateForWrite(const std::string& path) override {
        if (locked.count(path) || !folders.count(path.substr(0, path.rfind('\\')))) {
            return nullptr;
        }
        auto sink = std::make_unique<Sink>();
        sink->fs = this;
        sink->file = &(files[path] = "");
        stamps[path] = ++clock;
        return sink;
    }
    std::unique_ptr<ByteSource> OpenForRead(const std::string& path) override {
        auto it = files.find(path);
        return it == files.end() ? nullptr : std::make_unique<MemorySource>(it->second);
    }
    bool RemoveFile(const std::string& path) override {
        return CanRemoveFile(path) && files.erase(path) > 0;
    }
    bool CanRemoveFile(const std::string& path) override {
        return files.count(path) && !locked.count(path) && !held.count(path);
    }
    bool ReplaceExisting(const std::string& replaced, const std::string& replacement) override {
        ++renameAttempts;
        if (renameFailures > 0) {
            --renameFailures;
            return false;
        }
        if (!CanRemoveFile(replaced) || !CanRemoveFile(replacement)) {
            return false;
        }
        files[replaced] = files[replacement];
        stamps[replaced] = stamps[replacement];
        return files.erase(replacement) > 0;
    }
    std::optional<FileFacts> Facts(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) {
            return std::nullopt;
        }
        return FileFacts{it->second.size(), stamps[path]};
    }
};

ClipHistory Entries(const std::vector<std::string>& texts) {
    ClipHistory history;
    for (const std::string& t : texts) {
        history.Append(HistoryEntry(t));
    }
    return history;
}

std::string Encoded(const std::vector<std::string>& texts) {
    std::string out;
    AppendHistoryFile(Entries(texts), &out);
    return out;
}

HistorySaveResult Save(FakeFileSystem& fs, const std::string& text,
                       const std::string& path = kPath) {
    return SaveHistoryData(path, Entries({text}), fs, IsCp932LeadByte);
}

TEST(SaveHistoryDataTest, NewFileAndReplacementLeaveNoTemporaryFile) {
    FakeFileSystem fs;
    EXPECT_EQ(Save(fs, "a"), HistorySaveResult::kSaved);
    EXPECT_EQ(fs.files[kPath], Encoded({"a"}));
    fs.files[kTemp] = "leftover of a failed save";
    EXPECT_EQ(Save(fs, "b"), HistorySaveResult::kSaved);
    EXPECT_EQ(fs.files[kPath], Encoded({"b"}));
    EXPECT_EQ(fs.files.count(kTemp), 0u);

    EXPECT_EQ(Save(fs, "a", "C:\\x\\y\\h.vnk"), HistorySaveResult::kSaved);
    EXPECT_TRUE(fs.folders.count("C:\\x") && fs.folders.count("C:\\x\\y"));
}

TEST(SaveHistoryDataTest, AReplacementRefusedForAMomentIsTriedAgain) {
    FakeFileSystem fs;
    fs.files[kPath] = Encoded({"old"});
    fs.renameFailures = 2;
    EXPECT_EQ(Save(fs, "new"), HistorySaveResult::kSaved);
    EXPECT_EQ(fs.files[kPath], Encoded({"new"}));
    EXPECT_EQ(fs.files.count(kTemp), 0u);

    fs.renameFailures = 1000;
    fs.renameAttempts = 0;
    EXPECT_EQ(Save(fs, "newer"), HistorySaveResult::kRenameFailed);
    EXPECT_EQ(fs.renameAttempts, kReplaceAttempts);
    EXPECT_EQ(fs.files[kPath], Encoded({"new"}));
    EXPECT_EQ(fs.files[kTemp], Encoded({"newer"}));
}

TEST(SaveHistoryDataTest, FailuresNeverLoseTheSavedFile) {
    FakeFileSystem fs;
    const std::string old = Encoded({"old"});
    fs.files[kPath] = old;
    fs.locked = {kTemp};
    EXPECT_EQ(Save(fs, "new"), HistorySaveResult::kCannotCreate);

    fs.locked.clear();
    fs.writeLimit = 40;  // disk full in the middle of the first record
    EXPECT_EQ(Save(fs, "new"), HistorySaveResult::kWriteFailed);
    EXPECT_EQ(fs.files.count(kTemp), 0u);
    fs.writeLimit = SIZE_MAX;
    fs.closeFails = true;
    EXPECT_EQ(Save(fs, "new"), HistorySaveResult::kWriteFailed);
    EXPECT_EQ(fs.files[kPath], old);

    fs.closeFails = false;
    fs.locked = {kPath};
    EXPECT_EQ(Save(fs, "new"), HistorySaveResult::kCannotDeleteOld);
    EXPECT_EQ(fs.files[kPath], old);
    EXPECT_EQ(fs.files[kTemp], Encoded({"new"}));

    // The old file could go, but the new one cannot be renamed: a different failure.
    fs.locked.clear();
    fs.held = {kTemp};
    EXPECT_EQ(Save(fs, "newest"), HistorySaveResult::kRenameFailed);
    EXPECT_EQ(fs.files[kPath], old);
    EXPECT_EQ(fs.files[kTemp], Encoded({"newest"}));

    // Once the file is free the next save overwrites the leftover temporary file.
    fs.held.clear();
    EXPECT_EQ(Save(fs, "newer"), HistorySaveResult::kSaved);
    EXPECT_EQ(fs.files[kPath], Encoded({"newer"}));
    EXPECT_EQ(fs.files.count(kTemp), 0u);
}

const std::string kKept = "C:\\data\\VarnokeDamaged_Varnoke.vnk";

TEST(SaveHistoryDataTest, DamagedOriginalIsKeptOnceBeforeTheFirstSaveOverIt) {
    FakeFileSystem fs;
    const std::string damaged = Encoded({"a", "b"}) + "\x13\x14garbage" + Encoded({"c"});
    fs.files[kPath] = damaged;
    ClipHistory history;
    HistoryLoadResult loaded = LoadHistoryData(kPath, history, 100, fs, IsCp932LeadByte, kCodec);
    ASSERT_TRUE(loaded.damaged);
    std::string damagedFile = kPath;

    EXPECT_EQ(SaveHistoryData(kPath, history, fs, IsCp932LeadByte, &damagedFile),
              HistorySaveResult::kSaved);
    EXPECT_EQ(fs.files[kKept], damaged);
    EXPECT_EQ(fs.files[kPath], Encoded({"a", "b"}));
    EXPECT_TRUE(damagedFile.empty());
    // Later saves leave the kept copy alone and make no other.
    EXPECT_EQ(SaveHistoryData(kPath, Entries({"z"}), fs, IsCp932LeadByte, &damagedFile),
              HistorySaveResult::kSaved);
    EXPECT_EQ(fs.files[kKept], damaged);
    EXPECT_EQ(fs.files.size(), 2u);

    // A copy kept earlier is never overwritten.
    fs.files[kPath] = "another damage";
    damagedFile = kPath;
    EXPECT_EQ(SaveHistoryData(kPath, Entries({"y"}), fs, IsCp932LeadByte, &damagedFile),
              HistorySaveResult::kSaved);
    EXPECT_EQ(fs.files[kKept], damaged);
    EXPECT_EQ(fs.files["C:\\data\\VarnokeDamaged2_Varnoke.vnk"], "another damage");
}

TEST(SaveHistoryDataTest, DamagedOriginalThatCannotBeKeptIsNotReplaced) {
    FakeFileSystem fs;
    fs.files[kPath] = "not a history file";
    fs.locked = {kKept};
    std::string damagedFile = kPath;
    EXPECT_EQ(SaveHistoryData(kPath, Entries({"a"}), fs, IsCp932LeadByte, &damagedFile),
              HistorySaveResult::kCannotCreate);
    EXPECT_EQ(fs.files[kPath], "not a history file");
    EXPECT_EQ(damagedFile, kPath);

    // Disk full in the middle of the copy: no partial copy stays, the file stays.
    fs.locked.clear();
    fs.writeLimit = 5;
    EXPECT_EQ(SaveHistoryData(kPath, Entries({"a"}), fs, IsCp932LeadByte, &damagedFile),
              HistorySaveResult::kCannotCreate);
    EXPECT_EQ(fs.files.count(kKept), 0u);
    EXPECT_EQ(fs.files[kPath], "not a history file");

    // Another data path, or a damaged file gone meanwhile: nothing to keep.
    fs.writeLimit = SIZE_MAX;
    EXPECT_EQ(
        SaveHistoryData("C:\\data\\other.vnk", Entries({"a"}), fs, IsCp932LeadByte, &damagedFile),
        HistorySaveResult::kSaved);
    EXPECT_EQ(damagedFile, kPath);
    fs.files.erase(kPath);
    EXPECT_EQ(SaveHistoryData(kPath, Entries({"a"}), fs, IsCp932LeadByte, &damagedFile),
              HistorySaveResult::kSaved);
    EXPECT_TRUE(damagedFile.empty());
    EXPECT_EQ(fs.files.count(kKept), 0u);
}

TEST(LoadHistoryDataTest, MissingFileOrWrongHeaderLoadsNothing) {
    FakeFileSystem fs;
    ClipHistory history;
    EXPECT_FALSE(LoadHistoryData(kPath, history, 100, fs, IsCp932LeadByte, kCodec).ok);
    fs.files[kPath] = "not a history file\r\n";
    EXPECT_FALSE(LoadHistoryData(kPath, history, 100, fs, IsCp932LeadByte, kCodec).ok);
    fs.files[kPath] = Encoded({"x", "y"});
    EXPECT_EQ(LoadHistoryData(kPath, history, 100, fs, IsCp932LeadByte, kCodec).added, 2);
    EXPECT_EQ(history.entries(), AnsiTexts({"x", "y"}));
}

// Loads kPath into a fresh history and notes it, as the program does at start.
// Exact texts as a copy from a Unicode program makes them: every emoji is "??" in CF_TEXT.
HistoryEntry Unicode(const std::u16string& wide) {
    return MakeCapturedEntry(kCodec.ToClipboardAnsi(wide), wide, 65535, IsCp932LeadByte, kCodec);
}

ClipHistory Load(FakeFileSystem& fs, int historyLen = 65535) {
    ClipHistory history;
    EXPECT_TRUE(LoadHistoryData(kPath, history, historyLen, fs, IsCp932LeadByte, kCodec).ok);
    return history;
}

// No loaded entry holds an exact text other than its own: each has its own or none.
void ExpectNoExactTextOfAnother(const ClipHistory& loaded, const std::vector<HistoryEntry>& own) {
    ASSERT_EQ(loaded.size(), static_cast<int>(own.size()));
    for (int pos = 0; pos < loaded.size(); ++pos) {
        EXPECT_EQ(loaded.at(pos).ansi, own[static_cast<size_t>(pos)].ansi) << pos;
        EXPECT_TRUE(loaded.at(pos).exact.empty() ||
                    loaded.at(pos).exact == own[static_cast<size_t>(pos)].exact)
            << pos;
    }
}

const std::string kExact = kPath + ".exact";

// 😀 and 😎 are saved; then 🙂 is captured and its save is torn between the two files, in
// each way one can be: cut short between the renames, or the data file's save failing after
// the exact texts were saved. The old data file must never load with another entry's text.
TEST(SaveHistoryDataTest, APairTornAtAnyPointNeverSwapsExactTexts) {
    const HistoryEntry grin = Unicode(u"\U0001F600"), cool = Unicode(u"\U0001F60E"),
                       smile = Unicode(u"\U0001F642"), cafe = Unicode(u"caf\u00E9");
    ClipHistory before;
    for (const HistoryEntry& entry : {grin, cool, cafe}) {
        before.Append(entry);
    }
    ClipHistory after;
    after.Append(smile);
    for (const HistoryEntry& entry : before.entries()) {
        after.Append(entry);
    }
    for (int way = 0; way < 3; ++way) {
        FakeFileSystem fs;
        ASSERT_EQ(SaveHistoryData(kPath, before, fs, IsCp932LeadByte), HistorySaveResult::kSaved);
        if (way == 0) {
            fs.held.insert(kPath);  // the data file cannot be replaced
            EXPECT_EQ(SaveHistoryData(kPath, after, fs, IsCp932LeadByte),
                      HistorySaveResult::kCannotDeleteOld);
            fs.held.clear();
        } else if (way == 1) {
            // Killed between the two renames: the new exact texts beside the old data file.
            fs.files[kExact].clear();
            StringSink sink(&fs.files[kExact]);
            WriteExactTextFile(after, DataFileIdentityOf(after), sink);
        } else {
            // An older version captured 🙂 and rewrote the data file without exact texts.
            fs.files[kPath].clear();
            AppendHistoryFile(after, &fs.files[kPath]);
        }
        const ClipHistory loaded = Load(fs);
        ExpectNoExactTextOfAnother(loaded, way < 2 ? before.entries() : after.entries());
        if (way == 0) {
            // The data file is written first, so its failed save left the pair whole.
            EXPECT_EQ(loaded.entries(), before.entries());
        }
        // The one text no other entry could hold is kept.
        EXPECT_EQ(loaded.at(loaded.size() - 1), cafe) << way;
    }
}

TEST(SaveHistoryDataTest, AnExactTextFileThatCannotBeRemovedFailsTheSave) {
    FakeFileSystem fs;
    ClipHistory history;
    history.Append(Unicode(u"caf\u00E9"));
    ASSERT_EQ(SaveHistoryData(kPath, history, fs, IsCp932LeadByte), HistorySaveResult::kSaved);
    ASSERT_TRUE(fs.files.count(kExact));
    fs.held.insert(kExact);
    std::string failed;
    const ClipHistory plain = Entries({"cafe"});
    EXPECT_EQ(SaveHistoryData(kPath, plain, fs, IsCp932LeadByte, nullptr, nullptr, &failed),
              HistorySaveResult::kCannotDeleteOld);
    EXPECT_EQ(failed, kExact);
    // Tried again once it can go: the plain "cafe" never takes "café".
    fs.held.clear();
    EXPECT_EQ(SaveHistoryData(kPath, plain, fs, IsCp932LeadByte), HistorySaveResult::kSaved);
    EXPECT_FALSE(fs.files.count(kExact));
    EXPECT_EQ(Load(fs).entries(), plain.entries());
}

// Saved whole at exit, loaded after HistoryLen was lowered: both forms are cut at the same
// character and the exact text stays.
TEST(LoadHistoryDataTest, AnEntryCutAtALoweredHistoryLenKeepsItsExactText) {
    FakeFileSystem fs;
    ClipHistory history;
    history.Append(Unicode(u"\U0001F600 caf\u00E9 \uD55C\uAD6D\uC5B4 \u00A2\u00A2"));
    history.Append(Unicode(u"\U0001F60E"));
    ASSERT_EQ(SaveHistoryData(kPath, history, fs, IsCp932LeadByte), HistorySaveResult::kSaved);
    const ClipHistory loaded = Load(fs, 12);
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded.at(0),
              HistoryEntry("?? cafe ??? ", u"\U0001F600 caf\u00E9 \uD55C\uAD6D\uC5B4 "));
    EXPECT_EQ(loaded.at(1), history.at(1));
    EXPECT_EQ(Load(fs, 8).at(0), HistoryEntry("?? cafe ", u"\U0001F600 caf\u00E9 "));
}

// The plain bytes inside a protected file of the user.
std::string Unprotected(const std::string& file, samples::FakeProtection& user) {
    std::string_view data;
    EXPECT_TRUE(ParseProtectedFile(file, &data));
    std::string plain(data);
    EXPECT_TRUE(user.Unprotect(&plain));
    return plain;
}

ClipHistory WithExactTexts() {
    ClipHistory history;
    history.Append(Unicode(u"\U0001F600 secret"));
    history.Append(HistoryEntry("password123"));
    history.Append(Unicode(u"caf\u00E9"));
    return history;
}

// Protected, each file holds exactly the bytes a plain save writes, and turning the
// protection off writes those bytes again; the load reads either kind, and any mix of them.
TEST(ProtectedSaveTest, BothFilesAreProtectedAroundThePlainBytesAndLoadBackWhole) {
    const ClipHistory history = WithExactTexts();
    FakeFileSystem plainFs;
    ASSERT_EQ(SaveHistoryData(kPath, history, plainFs, IsCp932LeadByte), HistorySaveResult::kSaved);
    samples::FakeProtection user;
    FakeFileSystem fs;
    ASSERT_EQ(
        SaveHistoryData(kPath, history, fs, IsCp932LeadByte, nullptr, nullptr, nullptr, &user),
        HistorySaveResult::kSaved);
    for (const std::string& path : {kPath, kExact}) {
        EXPECT_EQ(fs.files[path].find("password123"), std::string::npos);
        EXPECT_EQ(fs.files[path].find("secret"), std::string::npos);
        EXPECT_EQ(Unprotected(fs.files[path], user), plainFs.files[path]) << path;
    }
    ClipHistory loaded;
    HistoryLoadResult result =
        LoadHistoryData(kPath, loaded, 65535, fs, IsCp932LeadByte, kCodec, &user);
    EXPECT_TRUE(result.ok && result.protectedFile && !result.damaged && !result.exactTextsDamaged);
    EXPECT_EQ(loaded.entries(), history.entries());

    // Off again: the next save writes the plain files byte for byte, over protected ones.
    ASSERT_EQ(SaveHistoryData(kPath, history, fs, IsCp932LeadByte), HistorySaveResult::kSaved);
    EXPECT_EQ(fs.files, plainFs.files);
    loaded.Clear();
    result = LoadHistoryData(kPath, loaded, 65535, fs, IsCp932LeadByte, kCodec, &user);
    EXPECT_FALSE(result.protectedFile);
    EXPECT_EQ(loaded.entries(), history.entries());

    // A pair of mixed kinds (a kill between the two files of the first protected save).
    std::string data = plainFs.files[kExact];
    user.Protect(&data);
    fs.files[kExact] = MakeProtectedFile(data);
    loaded.Clear();
    LoadHistoryData(kPath, loaded, 65535, fs, IsCp932LeadByte, kCodec, &user);
    EXPECT_EQ(loaded.entries(), history.entries());
}

TEST(ProtectedSaveTest, AFileOfAnotherUserIsKeptOnceAndNeverReplacedUnseen) {
    samples::FakeProtection other('B'), user('A');
    FakeFileSystem fs;
    ASSERT_EQ(SaveHistoryData(kPath, WithExactTexts(), fs, IsCp932LeadByte, nullptr, nullptr,
                              nullptr, &other),
              HistorySaveResult::kSaved);
    const std::map<std::string, std::string> original = fs.files;
    ClipHistory history;
    HistoryLoadResult result =
        LoadHistoryData(kPath, history, 65535, fs, IsCp932LeadByte, kCodec, &user);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.damaged && result.unprotectFailed && result.exactTextsDamaged);
    EXPECT_TRUE(history.empty());
    // Nor can a load without the system's protection read it.
    EXPECT_TRUE(
        LoadHistoryData(kPath, history, 65535, fs, IsCp932LeadByte, kCodec).unprotectFailed);

    std::string damagedFile = kPath, damagedExact = kExact;
    ASSERT_EQ(SaveHistoryData(kPath, Entries({"new"}), fs, IsCp932LeadByte, &damagedFile,
                              &damagedExact, nullptr, &user),
              HistorySaveResult::kSaved);
    EXPECT_EQ(fs.files[kKept], original.at(kPath));
    EXPECT_EQ(fs.files["C:\\data\\VarnokeDamaged_Varnoke.vnk.exact"], original.at(kExact));
    EXPECT_FALSE(fs.files.count(kExact));
    EXPECT_EQ(Unprotected(fs.files[kPath], user), Encoded({"new"}));
}

TEST(ProtectedSaveTest, ARefusalOfTheSystemChangesNothingOnDisk) {
    samples::FakeProtection user;
    FakeFileSystem fs;
    ASSERT_EQ(SaveHistoryData(kPath, Entries({"old"}), fs, IsCp932LeadByte),
              HistorySaveResult::kSaved);
    const std::map<std::string, std::string> before = fs.files;
    user.refuse = true;
    std::string failed;
    EXPECT_EQ(SaveHistoryData(kPath, Entries({"new"}), fs, IsCp932LeadByte, nullptr, nullptr,
                              &failed, &user),
              HistorySaveResult::kProtectFailed);
    EXPECT_EQ(failed, kPath);
    EXPECT_EQ(fs.files, before);
}

bool LoadedWholeMatches(FakeFileSystem& fs, int historyLen = 100) {
    ClipHistory history;
    std::optional<FileFacts> facts = fs.Facts(kPath);
    HistoryLoadResult result =
        LoadHistoryData(kPath, history, historyLen, fs, IsCp932LeadByte, kCodec);
    DataFileStamp stamp;
    stamp.NoteLoaded(kPath, facts, result, history);
    return stamp.StillMatches(kPath, history, fs.Facts(kPath));
}

TEST(DataFileStampTest, ASaveOrAWholeLoadMatchesUntilTheHistoryOrTheFileChanges) {
    FakeFileSystem fs;
    ClipHistory history = Entries({"a", "b"});
    DataFileStamp stamp;
    EXPECT_FALSE(stamp.StillMatches(kPath, history, fs.Facts(kPath)));
    ASSERT_EQ(SaveHistoryData(kPath, history, fs, IsCp932LeadByte), HistorySaveResult::kSaved);
    stamp.NoteSaved(kPath, history, fs.Facts(kPath));
    EXPECT_TRUE(stamp.StillMatches(kPath, history, fs.Facts(kPath)));
    EXPECT_FALSE(stamp.StillMatches("C:\\data\\other.vnk", history, fs.Facts(kPath)));

    history.Append(HistoryEntry("c"));
    EXPECT_FALSE(stamp.StillMatches(kPath, history, fs.Facts(kPath)));
    stamp.NoteSaved(kPath, history, fs.Facts(kPath));
    // Another program wrote the file, or it is gone: the exit must write it again.
    fs.CreateForWrite(kPath)->Write("xyz", 3);
    EXPECT_FALSE(stamp.StillMatches(kPath, history, fs.Facts(kPath)));
    fs.files.erase(kPath);
    EXPECT_FALSE(stamp.StillMatches(kPath, history, fs.Facts(kPath)));

    fs.files[kPath] = Encoded({"x", "y"});
    EXPECT_TRUE(LoadedWholeMatches(fs));
    // A full history, where leaving the file alone saves the most.
    fs.files[kPath] = Encoded(std::vector<std::string>(300, "full"));
    EXPECT_TRUE(LoadedWholeMatches(fs));
    stamp.Forget();
    EXPECT_FALSE(stamp.StillMatches(kPath, history, fs.Facts(kPath)));
}

TEST(DataFileStampTest, ALoadThatDidNotTakeTheFileWholeNeverMatches) {
    FakeFileSystem fs;
    const std::string header = "Varnoke Clipboard History Data File\r\n";
    const std::string good = Encoded({"one", "two"});
    const std::string empty = Encoded({""}).substr(header.size());
    struct Case {
        const char* what;
        std::string bytes;
        int historyLen;
    };
    std::vector<std::string> many(301, "e");
    const Case cases[] = {
        {"damaged after the records", good + "\x13\x14garbage", 100},
        {"a text cut to HistoryLen", Encoded({"one", "twelve"}), 4},
        {"an empty record skipped", good + empty, 100},
        {"a header line without CR",
         "Varnoke Clipboard History Data File\n" + good.substr(header.size()), 100},
        {"301 entries, cut at 300", Encoded(many), 100},
        {"not a history file", "hello", 100},
    };
    for (const Case& c : cases) {
        fs.files[kPath] = c.bytes;
        EXPECT_FALSE(LoadedWholeMatches(fs, c.historyLen)) << c.what;
    }
    fs.files.erase(kPath);
    EXPECT_FALSE(LoadedWholeMatches(fs)) << "no file";

    // Records added to a history that already held entries (a data path changed in the
    // options dialog) are not the file.
    fs.files[kPath] = good;
    ClipHistory history = Entries({"held"});
    std::optional<FileFacts> facts = fs.Facts(kPath);
    HistoryLoadResult result = LoadHistoryData(kPath, history, 100, fs, IsCp932LeadByte, kCodec);
    DataFileStamp stamp;
    stamp.NoteLoaded(kPath, facts, result, history);
    EXPECT_FALSE(stamp.StillMatches(kPath, history, fs.Facts(kPath)));
}

}  // namespace
}  // namespace varnoke
