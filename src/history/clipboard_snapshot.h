#pragma once
// Which of the clipboard's formats a copy of the user's clipboard keeps, and how large it
// may grow. The copy is taken before a paste writes the chosen entry and put back after
// it (history/clipboard_restore.h); the Win32 side copies the data (clipboard_snapshot_win.h).

#include <cstddef>
#include <functional>
#include <vector>

namespace varnoke {

// Beyond this the copy is given up, and the paste goes on without putting anything back:
// holding a huge picture twice in memory for a paste costs more than it saves.
constexpr size_t kSnapshotCapBytes = size_t{64} * 1024 * 1024;

enum class SnapshotState { kNone, kTaken, kTooBig };

// How a format's data is held, and so how it is copied.
enum class FormatStorage {
    kNotCopied,  // owner-drawn, private to the owner, or a GDI object of unknown kind
    kGlobalMemory,
    kBitmap,
    kPalette,
    kEnhMetafile,
    kMetafilePicture,  // a METAFILEPICT in global memory, holding a metafile handle
};
FormatStorage StorageOfFormat(unsigned format);

// The formats to copy, in the order the clipboard lists them. Left out: the formats the
// system made from others (it makes them again from what is put back), those that cannot
// be copied, and the marks by which programs keep a content out of clipboard histories
// (`isMark`), since the program adds its own to what it puts back.
std::vector<unsigned> FormatsToSnapshot(const std::vector<unsigned>& listed,
                                        const std::function<bool(unsigned)>& isMark);

// The sizes of the copied formats added up as they are measured.
class SnapshotSize {
  public:
    // False once the total passes the cap; it stays false.
    bool Add(size_t bytes);
    bool withinCap() const { return withinCap_; }

  private:
    size_t total_ = 0;
    bool withinCap_ = true;
};

}  // namespace varnoke
