#pragma once
// The exact-text file: the exact texts of the entries that have one, beside the history
// data file and named after it (MakeExactTextFileName). The data file stays exactly what it
// always was, so an older version still reads it; this file only adds to it.
//
// Layout: the header line "Varnoke Exact Text Data File" with CR LF, then one record per
// entry that has an exact text:
//   0x13 0x14                     start mark
//   position      uint32 LE       the entry's place among the data file's records, 0 first
//   ansiSize      uint32 LE       the byte count of the entry's text in the data file
//   ansiHash      uint64 LE       FNV-1a (64-bit) of those bytes
//   units         uint32 LE       1 to 65535
//   units x uint16 LE             the exact text in UTF-16
//   0x05 0x04 0x0D 0x0A           end mark
// A record belongs to its entry only while position, size and hash all match the data
// file's record; any other record is ignored on its own (the data file was rewritten by an
// older version, edited, or the pair of files was torn apart), and the entries load as
// they are in the data file. One exception keeps a save cut short between the two files
// from costing every exact text: when most records match one place off, as after one
// capture, all records are taken one place off.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/mbcs.h"
#include "history/clip_history.h"
#include "history/history_file.h"
#include "history/clip_history.h"
#include "history/history_file.h"

namespace varnoke {

inline constexpr std::string_view kExactTextFileHeader = "Varnoke Exact Text Data File";
// No exact text is longer: each unit takes at least one byte of a HistoryLen-cut text.
constexpr uint32_t kMaxExactTextUnits = 65535;

// `dataFile` with ".exact" added.
std::string MakeExactTextFileName(const std::string& dataFile);

uint64_t ExactTextAnsiHash(std::string_view ansi);

bool HasExactTexts(const ClipHistory& history);
// The whole file for the entries of `history` that have an exact text; false on a write
// error.
bool WriteExactTextFile(const ClipHistory& history, ByteSink& sink);

struct ExactTextLoadResult {
    int attached = 0;
    int ignored = 0;  // well-formed records that matched no entry
    // The data was there but did not read completely: a wrong header line or a damaged
    // record. The records before the damage are attached all the same.
    bool damaged = false;
};

// Attaches the records of `source` to the entries of `history` from `first` on: a record
// with position p goes to entry first + p (or first + p -/+ 1, see above) when it matches
// that entry's text. Empty data is no damage.
ExactTextLoadResult LoadExactTexts(ByteSource& source, ClipHistory& history, int first);

}  // namespace varnoke
