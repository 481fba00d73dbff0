#include "shorttext/short_text_files_win.h"

#include <string_view>

#include "framework/handles_win.h"

namespace varnoke {

namespace {

constexpr DWORD kReadChunk = 64 * 1024;

// The write time as the user's clock showed it, to the second.
ShortTextFileTime LocalWriteTime(const FILETIME& utc) {
    ShortTextFileTime time;
    FILETIME local{};
    SYSTEMTIME parts{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts)) {
        return time;
    }
    time.year = parts.wYear;
    time.month = parts.wMonth;
    time.day = parts.wDay;
    time.hour = parts.wHour;
    time.minute = parts.wMinute;
    time.second = parts.wSecond;
    return time;
}

}  // namespace

std::optional<ShortTextFileStamp> Win32ShortTextFileSystem::Find(const std::string& path) {
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    FindClose(find);
    ShortTextFileStamp stamp;
    stamp.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.writeTime = LocalWriteTime(data.ftLastWriteTime);
    return stamp;
}

bool Win32ShortTextFileSystem::Read(const std::string& path, ShortTextLineReader& reader) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    std::string buffer(kReadChunk, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), &buffer[0], kReadChunk, &got, nullptr)) {
            return false;
        }
        if (got == 0 || !reader.Feed(std::string_view(buffer.data(), got))) {
            return true;
        }
    }
}

}  // namespace varnoke
