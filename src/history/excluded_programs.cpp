#include "history/excluded_programs.h"

#include "core/data_path.h"

namespace varnoke {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::string_view ProgramFileName(std::string_view path, LeadByteTest isLeadByte) {
    size_t start = 0;
    for (size_t pos = 0; pos < path.size(); pos += CharLength(path, pos, isLeadByte)) {
        if (path[pos] == '\\' || path[pos] == '/') {
            start = pos + 1;
        }
    }
    return path.substr(start);
}

bool IsExcludedProgram(std::string_view list, std::string_view programPath,
                       LeadByteTest isLeadByte) {
    const std::string_view program = ProgramFileName(programPath, isLeadByte);
    if (program.empty()) {
        return false;
    }
    // A semicolon is never the second byte of a double-byte character in code page 932,
    // whose second bytes start at 0x40.
    while (!list.empty()) {
        const size_t end = list.find(';');
        const std::string_view name = ProgramFileName(Trimmed(list.substr(0, end)), isLeadByte);
        if (!name.empty() && SamePathIgnoringCase(name, program, isLeadByte)) {
            return true;
        }
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
    }
    return false;
}

}  // namespace varnoke
