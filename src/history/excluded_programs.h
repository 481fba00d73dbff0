#pragma once
// Programs whose copies are never recorded: the ExcludePrograms list of program file names,
// for the programs that put secrets on the clipboard without a marker format.

#include <string>
#include <string_view>

#include "core/mbcs.h"

namespace varnoke {

// The file name of `path`: what follows its last backslash or slash, never taken from the
// second byte of a double-byte character.
std::string_view ProgramFileName(std::string_view path, LeadByteTest isLeadByte);

// True when the file name of `programPath` is one of the names of `list`, which are
// separated by semicolons, with spaces and tabs around them ignored. Folders are ignored on
// both sides and letters compared without regard to case. An empty list or path never
// matches.
bool IsExcludedProgram(std::string_view list, std::string_view programPath,
                       LeadByteTest isLeadByte);

}  // namespace varnoke
