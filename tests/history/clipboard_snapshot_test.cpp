#include "history/clipboard_snapshot.h"

#include <gtest/gtest.h>

#include <vector>

namespace varnoke {
namespace {

constexpr unsigned kText = 1, kBitmap = 2, kMetafilePict = 3, kOemText = 7, kDib = 8, kPalette = 9,
                   kUnicode = 13, kEnhMetafile = 14, kLocale = 16, kDibV5 = 17;
constexpr unsigned kPrivate = 0xC123;  // a registered format
constexpr unsigned kMark = 0xC200;     // a registered mark such as "Clipboard Viewer Ignore"

using Formats = std::vector<unsigned>;

Formats Kept(const Formats& listed) {
    return FormatsToSnapshot(listed, [](unsigned format) { return format == kMark; });
}

// The lists as Wine 8 reports them: what the program placed, in its order, then what the
// system makes from it.
TEST(FormatsToSnapshot, LeavesOutWhatTheSystemMadeFromThePlacedFormats) {
    EXPECT_EQ(Kept({kText, kLocale, kOemText, kUnicode}), (Formats{kText}));
    EXPECT_EQ(Kept({kUnicode, kLocale, kText, kOemText}), (Formats{kUnicode}));
    EXPECT_EQ(Kept({kBitmap, kDib, kDibV5}), (Formats{kBitmap}));
    EXPECT_EQ(Kept({kDib, kBitmap, kDibV5}), (Formats{kDib}));
    EXPECT_EQ(Kept({kEnhMetafile, kMetafilePict}), (Formats{kEnhMetafile}));
    // A bitmap, a private format and a Unicode text, with the system's forms after them.
    EXPECT_EQ(Kept({kBitmap, kPrivate, kUnicode, kDib, kDibV5, kLocale, kText, kOemText}),
              (Formats{kBitmap, kPrivate, kUnicode}));
}

TEST(FormatsToSnapshot, KeepsTextFormsTheProgramPlacedItself) {
    // CF_TEXT and then CF_UNICODETEXT of its own: both come before the system's CF_LOCALE.
    EXPECT_EQ(Kept({kText, kUnicode, kLocale, kOemText}), (Formats{kText, kUnicode}));
    // Its own CF_LOCALE and text forms, with nothing made by the system.
    EXPECT_EQ(Kept({kUnicode, kLocale, kPrivate}), (Formats{kUnicode, kLocale, kPrivate}));
    // A format of no family ends the system's tail.
    EXPECT_EQ(Kept({kText, kPalette}), (Formats{kText, kPalette}));
}

TEST(FormatsToSnapshot, LeavesOutMarksAndWhatCannotBeCopied) {
    EXPECT_EQ(Kept({kPrivate, kMark, 0x80, 0x200, 0x2FF, 0x300, 0x3FF, 0x15, 0x81, 0x82}),
              (Formats{kPrivate, 0x81, 0x82}));
    EXPECT_TRUE(Kept({}).empty());
}

TEST(FormatStorage, EachFormatIsCopiedTheWayItsDataIsHeld) {
    EXPECT_EQ(StorageOfFormat(kText), FormatStorage::kGlobalMemory);
    EXPECT_EQ(StorageOfFormat(kDib), FormatStorage::kGlobalMemory);
    EXPECT_EQ(StorageOfFormat(15), FormatStorage::kGlobalMemory);  // CF_HDROP
    EXPECT_EQ(StorageOfFormat(kPrivate), FormatStorage::kGlobalMemory);
    EXPECT_EQ(StorageOfFormat(kBitmap), FormatStorage::kBitmap);
    EXPECT_EQ(StorageOfFormat(kPalette), FormatStorage::kPalette);
    EXPECT_EQ(StorageOfFormat(kEnhMetafile), FormatStorage::kEnhMetafile);
    EXPECT_EQ(StorageOfFormat(0x8E), FormatStorage::kEnhMetafile);  // CF_DSPENHMETAFILE
    EXPECT_EQ(StorageOfFormat(kMetafilePict), FormatStorage::kMetafilePicture);
    EXPECT_EQ(StorageOfFormat(0x80), FormatStorage::kNotCopied);
    EXPECT_EQ(StorageOfFormat(0), FormatStorage::kNotCopied);
}

TEST(SnapshotSize, SixtyFourMegabytesFitOneByteMoreDoesNot) {
    SnapshotSize exact;
    EXPECT_TRUE(exact.Add(kSnapshotCapBytes - 10));
    EXPECT_TRUE(exact.Add(10));
    EXPECT_FALSE(exact.Add(1));
    EXPECT_FALSE(exact.Add(0));  // past the cap stays past it
    EXPECT_FALSE(exact.withinCap());
    // A size that would wrap the total around is past the cap too.
    SnapshotSize huge;
    EXPECT_TRUE(huge.Add(5));
    EXPECT_FALSE(huge.Add(static_cast<size_t>(-1)));
}

}  // namespace
}  // namespace varnoke
