#include "shorttext/short_text_slot.h"

#include <cstddef>
#include <utility>

namespace varnoke {

namespace {

char FoldAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Reads the file into the slot; false (and no lines) when it could not be read.
bool ReadShortTextFile(const std::string& path, ShortTextSlot& slot, ShortTextFileSystem& files,
                       LeadByteTest isLeadByte, const TextCodec& codec) {
    slot.lines.clear();
    ShortTextLineReader reader(isLeadByte, codec);
    if (!files.Read(path, reader)) {
        return false;
    }
    reader.Finish();
    slot.lines = reader.TakeLines();
    return true;
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b, LeadByteTest isLeadByte) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t pos = 0; pos < a.size(); ++pos) {
        const bool lead = pos + 1 < a.size() && isLeadByte(static_cast<unsigned char>(a[pos]));
        if (lead) {
            if (a[pos] != b[pos] || a[pos + 1] != b[pos + 1]) {
                return false;
            }
            ++pos;
        } else if (FoldAscii(a[pos]) != FoldAscii(b[pos])) {
            return false;
        }
    }
    return true;
}

bool ShortTextSlot::Holds(const std::string& resolvedPath, const ShortTextFileStamp& stamp,
                          LeadByteTest isLeadByte) const {
    return !cachedPath.empty() && SamePath(cachedPath, resolvedPath, isLeadByte) &&
           cachedSize == stamp.size && cachedWriteTime == stamp.writeTime;
}

void ShortTextSlot::ClearCache() {
    cachedPath.clear();
    cachedSize = 0;
    cachedWriteTime = ShortTextFileTime();
}

ShortTextCheck CheckShortTextFile(ShortTextSlot& slot, const std::string& resolvedPath,
                                  ShortTextFileSystem& files, LeadByteTest isLeadByte,
                                  const TextCodec& codec, std::string* lastShownPath) {
    ShortTextCheck check;
    const std::optional<ShortTextFileStamp> stamp = files.Find(resolvedPath);
    if (!stamp) {
        slot.ClearCache();
        return check;
    }
    if (slot.Holds(resolvedPath, *stamp, isLeadByte)) {
        *lastShownPath = resolvedPath;
        check.result = ShortTextCheckResult::kUnchanged;
        return check;
    }
    if (!ReadShortTextFile(resolvedPath, slot, files, isLeadByte, codec)) {
        slot.ClearCache();
        check.openFailed = true;
        return check;
    }
    slot.cachedPath = resolvedPath;
    slot.cachedSize = stamp->size;
    slot.cachedWriteTime = stamp->writeTime;
    *lastShownPath = resolvedPath;
    check.result = ShortTextCheckResult::kReadAgain;
    return check;
}

}  // namespace varnoke
