#include "shorttext/short_text_menus.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "shorttext/short_text_fixtures.h"

namespace varnoke {
namespace {

using testing_short_text::June5;

constexpr char kSymbolPath[] = "C:\\Prog\\Symbol.txt";
constexpr char kOtherPath[] = "C:\\Prog\\Other.txt";

// Names compare without case, as on the target.
class FakeFiles : public ShortTextFileSystem {
  public:
    struct File {
        std::string bytes;
        ShortTextFileStamp stamp;
        bool openable = true;
    };
    std::optional<ShortTextFileStamp> Find(const std::string& path) override {
        ++finds;
        const File* file = Lookup(path);
        return file == nullptr ? std::nullopt : std::optional(file->stamp);
    }
    bool Read(const std::string& path, ShortTextLineReader& reader) override {
        ++reads;
        const File* file = Lookup(path);
        return file != nullptr && file->openable && (reader.Feed(file->bytes), true);
    }
    void Put(const std::string& path, const std::string& bytes, uint16_t second) {
        files[path].bytes = bytes;
        files[path].stamp = {bytes.size(), ShortTextFileTime{2004, 6, 5, 12, 0, second}};
    }
    const File* Lookup(const std::string& path) const {
        for (const auto& [name, file] : files) {
            if (SamePath(name, path, IsCp932LeadByte)) {
                return &file;
            }
        }
        return nullptr;
    }

    std::map<std::string, File> files;
    int finds = 0;
    int reads = 0;
};

class ShortTextMenusTest : public ::testing::Test {
  protected:
    ShortTextShowResult Show(int slot, const std::string& setting, int minute = 7) {
        return menus.Prepare(slot, setting, "C:\\Prog", files, June5(13, minute));
    }
    const std::string& FirstLabel() const { return menus.model().menus[0].entries[0].label.ansi; }

    FakeFiles files;
    ShortTextMenus menus{MacroNames(), IsCp932LeadByte, testing_short_text::Codec()};
};

TEST_F(ShortTextMenusTest, MissingOrUnopenableFiles) {
    ShortTextShowResult shown = Show(0, "Symbol.txt");
    EXPECT_FALSE(shown.showMenu || shown.openFailed);
    // An empty setting would name the program folder, which exists: never look it up.
    files.Put("C:\\Prog\\", "", 0);
    EXPECT_FALSE(Show(1, "").showMenu || files.finds != 1);

    files.Put(kSymbolPath, "a\n", 1);
    ASSERT_TRUE(Show(0, "Symbol.txt").showMenu);
    files.Put(kSymbolPath, "b\n", 2);
    files.files[kSymbolPath].openable = false;
    shown = Show(0, "Symbol.txt");
    EXPECT_TRUE(shown.openFailed && !shown.showMenu);
    EXPECT_EQ(shown.path, kSymbolPath);
    EXPECT_TRUE(menus.slot(0).lines.empty() && menus.slot(0).cachedPath.empty());
    // Readable again with the same stamp: read again, since nothing is cached.
    files.files[kSymbolPath].openable = true;
    EXPECT_TRUE(Show(0, "Symbol.txt").rebuilt);
    EXPECT_EQ(files.reads, 3);
}

TEST_F(ShortTextMenusTest, SameUnchangedFileRefreshesAndANewWriteTimeRebuilds) {
    files.Put(kSymbolPath, "[<x>]\\H:\\0m\n", 1);
    EXPECT_TRUE(Show(0, "Symbol.txt", 7).rebuilt);
    EXPECT_EQ(FirstLabel(), "13:07");
    const ShortTextShowResult shown = Show(0, "symbol.TXT", 8);
    EXPECT_TRUE(shown.showMenu && !shown.rebuilt);
    EXPECT_EQ(FirstLabel(), "13:08");
    EXPECT_EQ(files.reads, 1);

    files.Put(kSymbolPath, "[<y>]\\H:\\0m\n", 2);  // same size, new time
    EXPECT_TRUE(Show(0, "Symbol.txt", 9).rebuilt);
    EXPECT_EQ(files.reads, 2);
    EXPECT_EQ(menus.Perform(0, June5(), false).text.ansi, "y");
    // A double-byte character's second byte is not a letter to fold.
    EXPECT_FALSE(SamePath("\x83\x61", "\x83\x41", IsCp932LeadByte));
}

TEST_F(ShortTextMenusTest, OtherFilesAndFreedMenusMeanARebuild) {
    files.Put(kSymbolPath, "\\m\n", 1);
    files.Put(kOtherPath, "other\n", 1);
    Show(0, "Symbol.txt");
    EXPECT_TRUE(Show(1, "Other.txt").rebuilt);
    EXPECT_EQ(menus.lastShownPath(), kOtherPath);
    EXPECT_TRUE(Show(0, "Symbol.txt", 8).rebuilt);  // unchanged, but not shown last
    EXPECT_EQ(FirstLabel(), "8");
    menus.Free();
    EXPECT_TRUE(Show(0, "Symbol.txt").rebuilt);
    // Two slots naming one file read it each.
    EXPECT_TRUE(Show(2, kSymbolPath).rebuilt);
    EXPECT_FALSE(Show(0, "Symbol.txt").rebuilt);
    EXPECT_EQ(files.reads, 3);

    EXPECT_TRUE(ShouldRefreshShortTextLabels(ShortTextCheckResult::kUnchanged, true));
    EXPECT_FALSE(ShouldRefreshShortTextLabels(ShortTextCheckResult::kUnchanged, false));
    EXPECT_FALSE(ShouldRefreshShortTextLabels(ShortTextCheckResult::kReadAgain, true));
}

TEST_F(ShortTextMenusTest, PerformNeedsACurrentSlotAndAStoredLine) {
    EXPECT_EQ(menus.Perform(0, June5(), true).kind, ShortTextActionKind::kNothing);
    files.Put(kSymbolPath, "a\n", 1);
    Show(0, "Symbol.txt");
    EXPECT_EQ(menus.Perform(0, June5(), true).kind, ShortTextActionKind::kPaste);
    EXPECT_EQ(menus.Perform(1, June5(), true).kind, ShortTextActionKind::kNothing);
}

ShortTextAction Act(const std::string& line, bool pasteOnly = false) {
    return DecideShortTextAction(ShortTextString(line), June5(), pasteOnly, MacroNames(),
                                 IsCp932LeadByte, testing_short_text::Codec());
}

TEST(DecideShortTextActionTest, PhrasesAreExpandedWhenChosenThenSplitCommandsAreLiteral) {
    ShortTextAction action = Act("[<\\0Y/\\0M/\\0d>]today", true);
    EXPECT_EQ(action.kind, ShortTextActionKind::kPaste);
    EXPECT_EQ(action.text.ansi, "2004/06/05");
    EXPECT_TRUE(action.disarmCapture && !action.armCapture && !Act("x").disarmCapture);
    EXPECT_EQ(Act("[<no end \\H").text.ansi, "[<no end 13");
    EXPECT_EQ(Act("[<a>\\]b>]label").text.ansi, "a");
    EXPECT_EQ(Act("\\[<a>]b").text.ansi, "a");

    action = Act("[\"notepad.exe C:\\a\\Y.txt\"]edit \\Y", true);
    EXPECT_EQ(action.kind, ShortTextActionKind::kRunCommand);
    EXPECT_EQ(action.commandLine, "notepad.exe C:\\a\\Y.txt");
    EXPECT_EQ(action.documentFile, action.commandLine);
    EXPECT_TRUE(action.armCapture && !action.disarmCapture);
    action = Act("[\"]label");
    EXPECT_TRUE(action.kind == ShortTextActionKind::kNothing && action.armCapture);
    EXPECT_TRUE(WinExecFailed(30) && !WinExecFailed(31));
}

}  // namespace
}  // namespace varnoke
