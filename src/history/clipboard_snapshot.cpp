#include "history/clipboard_snapshot.h"

#include <algorithm>

namespace varnoke {

namespace {

// The Win32 numbers; clipboard_snapshot_win.cpp checks them against the headers.
constexpr unsigned kText = 1, kBitmap = 2, kMetafilePict = 3, kOemText = 7, kDib = 8, kPalette = 9,
                   kUnicodeText = 13, kEnhMetafile = 14, kLocale = 16, kDibV5 = 17;
constexpr unsigned kDspText = 0x81, kDspBitmap = 0x82, kDspMetafilePict = 0x83,
                   kDspEnhMetafile = 0x8E;
constexpr unsigned kFirstRegistered = 0xC000;

// The groups whose members the system makes from one another.
enum Family { kNoFamily, kTextFamily, kBitmapFamily, kMetafileFamily };

Family FamilyOf(unsigned format) {
    switch (format) {
        case kText:
        case kOemText:
        case kUnicodeText:
        case kLocale:
            return kTextFamily;
        case kBitmap:
        case kDib:
        case kDibV5:
            return kBitmapFamily;
        case kMetafilePict:
        case kEnhMetafile:
            return kMetafileFamily;
        default:
            return kNoFamily;
    }
}

}  // namespace

FormatStorage StorageOfFormat(unsigned format) {
    switch (format) {
        case kBitmap:
        case kDspBitmap:
            return FormatStorage::kBitmap;
        case kPalette:
            return FormatStorage::kPalette;
        case kEnhMetafile:
        case kDspEnhMetafile:
            return FormatStorage::kEnhMetafile;
        case kMetafilePict:
        case kDspMetafilePict:
            return FormatStorage::kMetafilePicture;
        case kDspText:
            return FormatStorage::kGlobalMemory;
        default:
            break;
    }
    // 1-17 hold memory, except those above; 0x80 (owner display), 0x200-0x2FF (private to
    // the owner) and 0x300-0x3FF (GDI objects of unknown kind) cannot be copied.
    const bool standard = format >= kText && format <= kDibV5;
    return standard || format >= kFirstRegistered ? FormatStorage::kGlobalMemory
                                                  : FormatStorage::kNotCopied;
}

// The system lists the formats a program placed in the order it placed them, and those it
// makes from them after all of them (Windows; Wine 8 was seen to do the same). So the made
// ones are a tail of the list in which each format has a relative earlier in the list. In
// its text tail the system puts CF_LOCALE first (when the program placed none): a text
// format listed before it was placed, such as a program's CF_UNICODETEXT after its CF_TEXT.
// A format wrongly taken for a placed one is only copied for nothing. The one placed format
// the rule takes for a made one is a second picture form placed by the program itself,
// which the system makes again alike from the first.
std::vector<unsigned> FormatsToSnapshot(const std::vector<unsigned>& listed,
                                        const std::function<bool(unsigned)>& isMark) {
    size_t placedEnd = listed.size();
    bool textTailStarted = false;
    while (placedEnd > 0) {
        const unsigned format = listed[placedEnd - 1];
        const Family family = FamilyOf(format);
        if (family == kNoFamily || (family == kTextFamily && textTailStarted)) {
            break;
        }
        const auto begin = listed.begin();
        const auto end = begin + static_cast<std::ptrdiff_t>(placedEnd - 1);
        if (std::none_of(begin, end, [family](unsigned f) { return FamilyOf(f) == family; })) {
            break;
        }
        textTailStarted = textTailStarted || format == kLocale;
        --placedEnd;
    }
    std::vector<unsigned> kept;
    for (size_t i = 0; i < placedEnd; ++i) {
        const unsigned format = listed[i];
        if (StorageOfFormat(format) != FormatStorage::kNotCopied && !isMark(format)) {
            kept.push_back(format);
        }
    }
    return kept;
}

bool SnapshotSize::Add(size_t bytes) {
    if (withinCap_ && bytes <= kSnapshotCapBytes - total_) {
        total_ += bytes;
    } else {
        withinCap_ = false;
    }
    return withinCap_;
}

}  // namespace varnoke
