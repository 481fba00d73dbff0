#include "core/data_path.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace varnoke {
namespace {

const std::string kFolder = "C:\\Program Files\\Varnoke";
// "表" is 0x95 0x5C in CP932: its second byte is a backslash by value only.
const std::string kHyo = "\x95\x5C";

std::string Resolve(const std::string& path) {
    return ResolveDataPath(path, kFolder, IsCp932LeadByte);
}

TEST(ResolveDataPathTest, FollowsTheThreeRules) {
    EXPECT_EQ(Resolve("Varnoke.vnk"), kFolder + "\\Varnoke.vnk");
    EXPECT_EQ(Resolve("C:\\x\\y.vnk"), "C:\\x\\y.vnk");
    EXPECT_EQ(Resolve("\\x.vnk"), kFolder + "\\x.vnk");
    EXPECT_EQ(Resolve("\\\\server\\share\\x.vnk"), kFolder + "\\\\server\\share\\x.vnk");
    EXPECT_EQ(Resolve("sub\\x.vnk"), kFolder + "\\sub\\x.vnk");
    EXPECT_EQ(Resolve(""), kFolder + "\\");
    EXPECT_EQ(Resolve("C:x.vnk"), kFolder + "\\C:x.vnk");
    EXPECT_EQ(Resolve("C:"), kFolder + "\\C:");
}

TEST(ResolveDataPathTest, SecondByteOfADoubleByteCharacterIsNoBackslash) {
    EXPECT_EQ(Resolve(kHyo + "\\x.vnk"), kFolder + "\\" + kHyo + "\\x.vnk");
    EXPECT_EQ(Resolve("C:" + kHyo + "x.vnk"), kFolder + "\\C:" + kHyo + "x.vnk");
    EXPECT_EQ(Resolve("C:\\" + kHyo + "\\x.vnk"), "C:\\" + kHyo + "\\x.vnk");
    EXPECT_EQ(Resolve("\x95"), kFolder + "\\\x95");
}

TEST(BackslashTest, SecondBytesAreNoBackslashes) {
    auto last = [](const std::string& t) { return LastBackslash(t, IsCp932LeadByte); };
    auto endsWith = [](const std::string& t) { return EndsWithBackslash(t, IsCp932LeadByte); };
    EXPECT_EQ(last("C:\\a\\b.txt"), 4u);
    EXPECT_EQ(last("b.txt"), std::string::npos);
    EXPECT_EQ(last(""), std::string::npos);
    EXPECT_EQ(last("C:\\" + kHyo), 2u);  // "C:\表": the 0x5C at the end is no separator
    EXPECT_EQ(last("C:\\" + kHyo + "\\"), 5u);
    EXPECT_EQ(last("\\\x95"), 0u);  // a cut-off lead byte is one character
    EXPECT_EQ(last("\\"), 0u);
    // Without a lead-byte test every 0x5C counts.
    EXPECT_EQ(LastBackslash("C:\\" + kHyo, nullptr), 4u);

    EXPECT_TRUE(endsWith("C:\\folder\\"));
    EXPECT_TRUE(endsWith("C:\\" + kHyo + "\\"));
    EXPECT_TRUE(endsWith("\\"));
    EXPECT_FALSE(endsWith("C:\\" + kHyo));  // a file named "表"
    EXPECT_FALSE(endsWith("C:\\a.txt"));
    EXPECT_FALSE(endsWith(""));
}

TEST(MakeTempFileNameTest, PrefixesTheFileName) {
    auto temp = [](const std::string& p) { return MakeTempFileName(p, IsCp932LeadByte); };
    EXPECT_EQ(temp("C:\\d\\Varnoke.vnk"), "C:\\d\\VarnokeTemporaryFile_Varnoke.vnk");
    EXPECT_EQ(temp("Varnoke.vnk"), "VarnokeTemporaryFile_Varnoke.vnk");
    EXPECT_EQ(temp("C:\\d\\" + kHyo + ".vnk"), "C:\\d\\VarnokeTemporaryFile_" + kHyo + ".vnk");
    EXPECT_EQ(temp("C:\\" + kHyo + "\\a.vnk"), "C:\\" + kHyo + "\\VarnokeTemporaryFile_a.vnk");
}

class FakeFolders : public FileSystemOps {
  public:
    std::set<std::string> existing;
    std::set<std::string> refused;
    std::vector<std::string> created;
    bool Exists(const std::string& path) override { return existing.count(path) > 0; }
    bool CreateFolder(const std::string& path) override {
        if (refused.count(path)) {
            return false;
        }
        created.push_back(path);
        existing.insert(path);
        return true;
    }
};

TEST(EnsureDirectoriesTest, CreatesMissingFoldersOuterFirst) {
    FakeFolders fs;
    EXPECT_TRUE(EnsureDirectories("C:\\a\\b\\file", fs, IsCp932LeadByte));
    EXPECT_EQ(fs.created, (std::vector<std::string>{"C:\\a", "C:\\a\\b"}));

    FakeFolders some;
    some.existing = {"C:\\a"};
    EXPECT_TRUE(EnsureDirectories("C:\\a\\" + kHyo + "\\f", some, IsCp932LeadByte));
    EXPECT_EQ(some.created, (std::vector<std::string>{"C:\\a\\" + kHyo}));
}

TEST(EnsureDirectoriesTest, StopsAtTheFirstFailureAndSkipsExistingPaths) {
    FakeFolders fs;
    fs.refused = {"C:\\a"};
    EXPECT_FALSE(EnsureDirectories("C:\\a\\b\\file", fs, IsCp932LeadByte));
    EXPECT_TRUE(fs.created.empty());

    FakeFolders there;
    there.existing = {"C:\\a\\b\\file"};
    EXPECT_TRUE(EnsureDirectories("C:\\a\\b\\file", there, IsCp932LeadByte));
    EXPECT_TRUE(there.created.empty());

    FakeFolders tiny;
    EXPECT_TRUE(EnsureDirectories("C:", tiny, IsCp932LeadByte));
    EXPECT_TRUE(EnsureDirectories("", tiny, IsCp932LeadByte));
    EXPECT_TRUE(tiny.created.empty());
}

}  // namespace
}  // namespace varnoke
