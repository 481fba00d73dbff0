#include "history/excluded_programs.h"

#include <gtest/gtest.h>

namespace varnoke {
namespace {

const char kList[] = "KeePass.exe; Bitwarden.exe";

bool Excluded(const char* list, const char* path) {
    return IsExcludedProgram(list, path, &IsCp932LeadByte);
}

TEST(ExcludedProgramsTest, NamesMatchWithoutCaseAndWithoutFolder) {
    EXPECT_TRUE(Excluded(kList, "C:\\Program Files\\KeePass Password Safe 2\\keepass.EXE"));
    EXPECT_TRUE(Excluded(kList, "\\Device\\HarddiskVolume2\\Apps\\BITWARDEN.exe"));
    EXPECT_TRUE(Excluded(kList, "Bitwarden.exe"));
    EXPECT_TRUE(Excluded(" C:\\Tools\\Secret.exe ;x.exe", "D:/other/secret.exe"));
    EXPECT_TRUE(Excluded("\tKeePass.exe\t", "C:\\KeePass.exe"));
    for (const char* other : {"C:\\notepad.exe", "C:\\MyKeePass.exe", "C:\\KeePass.exe.bak",
                              "C:\\KeePass", "C:\\KeePass.exe\\"}) {
        EXPECT_FALSE(Excluded(kList, other)) << other;
    }
}

TEST(ExcludedProgramsTest, AnEmptyListOrOwnerNeverMatches) {
    EXPECT_FALSE(Excluded("", "C:\\KeePass.exe"));
    EXPECT_FALSE(Excluded(" ; ;; ", "C:\\KeePass.exe"));
    EXPECT_FALSE(Excluded(kList, ""));
    EXPECT_FALSE(Excluded("C:\\Tools\\", "C:\\Tools\\"));
}

// 表 is 0x95 0x5C: its second byte is no backslash, and a second byte is never folded.
TEST(ExcludedProgramsTest, DoubleByteNamesKeepTheirSecondBytes) {
    EXPECT_EQ(ProgramFileName("C:\\\x95\x5C.exe", &IsCp932LeadByte), "\x95\x5C.exe");
    EXPECT_TRUE(Excluded("\x95\x5C.exe", "C:\\\x95\x5C.EXE"));
    EXPECT_FALSE(Excluded(".exe", "C:\\\x95\x5C.exe"));
    EXPECT_FALSE(Excluded("\x83\x41.exe", "C:\\\x83\x61.exe"));
}

}  // namespace
}  // namespace varnoke
