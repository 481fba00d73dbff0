#include "core/data_path.h"

#include <cstddef>

namespace varnoke {

namespace {

constexpr char kTempFilePrefix[] = "VarnokeTemporaryFile_";

// A lead byte at the very end has lost its second byte and counts as one character.
size_t CharSize(std::string_view text, size_t pos, LeadByteTest isLeadByte) {
    bool lead = isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(text[pos]));
    return lead && pos + 1 < text.size() ? 2 : 1;
}

bool IsBackslashAt(std::string_view text, size_t pos, LeadByteTest isLeadByte) {
    return text[pos] == '\\' && CharSize(text, pos, isLeadByte) == 1;
}

// Position of the first backslash at or after `from` (a character start), or npos.
size_t FindBackslash(const std::string& text, size_t from, LeadByteTest isLeadByte) {
    for (size_t pos = from; pos < text.size(); pos += CharSize(text, pos, isLeadByte)) {
        if (IsBackslashAt(text, pos, isLeadByte)) {
            return pos;
        }
    }
    return std::string::npos;
}

// Byte offset just after the first `count` characters.
size_t SkipChars(const std::string& text, size_t count, LeadByteTest isLeadByte) {
    size_t pos = 0;
    for (; count > 0 && pos < text.size(); --count) {
        pos += CharSize(text, pos, isLeadByte);
    }
    return pos;
}

// "X:\": the first backslash is the third character and the second one is a colon.
bool StartsWithDriveRoot(const std::string& path, LeadByteTest isLeadByte) {
    size_t second = SkipChars(path, 1, isLeadByte);
    size_t third = SkipChars(path, 2, isLeadByte);
    return second < path.size() && path[second] == ':' && third < path.size() &&
           FindBackslash(path, 0, isLeadByte) == third;
}

char FoldAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool SamePathIgnoringCase(std::string_view a, std::string_view b, LeadByteTest isLeadByte) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// Only a walk from the start knows which bytes are second bytes; a search from the end
// would take the 0x5C of a character like "表" for a backslash.
size_t LastBackslash(std::string_view text, LeadByteTest isLeadByte) {
    size_t last = std::string_view::npos;
    for (size_t pos = 0; pos < text.size(); pos += CharSize(text, pos, isLeadByte)) {
        if (IsBackslashAt(text, pos, isLeadByte)) {
            last = pos;
        }
    }
    return last;
}

bool EndsWithBackslash(std::string_view text, LeadByteTest isLeadByte) {
    return !text.empty() && LastBackslash(text, isLeadByte) == text.size() - 1;
}

std::string ResolveDataPath(const std::string& path, const std::string& programFolder,
                            LeadByteTest isLeadByte) {
    if (StartsWithDriveRoot(path, isLeadByte)) {
        return path;
    }
    if (!path.empty() && IsBackslashAt(path, 0, isLeadByte)) {
        return programFolder + path;
    }
    return programFolder + "\\" + path;
}

std::string MakeTempFileName(const std::string& path, LeadByteTest isLeadByte) {
    size_t last = LastBackslash(path, isLeadByte);
    size_t nameStart = last == std::string::npos ? 0 : last + 1;
    return path.substr(0, nameStart) + kTempFilePrefix + path.substr(nameStart);
}

bool EnsureDirectories(const std::string& path, FileSystemOps& fileSystem,
                       LeadByteTest isLeadByte) {
    if (fileSystem.Exists(path)) {
        return true;
    }
    size_t partStart = SkipChars(path, 3, isLeadByte);
    std::string folder = path.substr(0, partStart);
    for (;;) {
        size_t backslash = FindBackslash(path, partStart, isLeadByte);
        if (backslash == std::string::npos) {
            return true;
        }
        folder.append(path, partStart, backslash - partStart);
        if (!fileSystem.Exists(folder) && !fileSystem.CreateFolder(folder)) {
            return false;
        }
        folder += '\\';
        partStart = backslash + 1;
    }
}

}  // namespace varnoke
