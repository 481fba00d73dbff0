#pragma once
// The history search window's rules: what the user typed, folded for both forms of an entry,
// the folded forms kept while the window is open, and the list it shows.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/dual_text.h"
#include "core/text_codec.h"
#include "history/clip_history.h"
#include "history/shown_history.h"
#include "search/search_fold.h"

namespace varnoke {

// What the user typed, folded for both kinds of entries. An entry with an exact text is
// compared in UTF-16, any other in the ANSI code page; a typed text that code page cannot
// hold can only be in exact texts.
struct SearchQuery {
    std::u16string wide;
    std::string ansi;
    bool ansiUsable = false;
    bool empty() const { return wide.empty(); }
};
SearchQuery MakeSearchQuery(std::u16string_view typed, const TextCodec& codec,
                            const AnsiFolding& folding);

// The folded forms of the history's entries, made once per entry while the window is open.
// A form is kept under the entry's hash, so a capture or a move folds only what is new.
class HistorySearchIndex {
  public:
    explicit HistorySearchIndex(const AnsiFolding& folding) : folding_(folding) {}

    // Takes the entries of `history` as they are now; forms of entries that are gone are
    // dropped, and new entries wait to be folded.
    void Sync(const ClipHistory& history);
    // Folds waiting entries until about `byteBudget` bytes were folded (at least one entry
    // when any waits); true when none waits any more. Lets the window fold while the user
    // has not typed yet.
    bool FoldSome(size_t byteBudget);
    // The list positions, in ascending order, of the entries whose text contains the query;
    // every position for an empty query. Folds whatever still waits, except for an empty
    // query, which needs no folded form.
    std::vector<int> Find(const SearchQuery& query);

  private:
    struct Form {
        std::string ansi;     // an entry without an exact text
        std::u16string wide;  // an entry with one
        bool exact = false;
        bool folded = false;
    };
    void Fold(int position);

    AnsiFolding folding_;
    const ClipHistory* history_ = nullptr;
    std::vector<uint64_t> hashes_;  // of each position at the last Sync
    std::vector<int> waiting_;      // positions whose form is not made yet, last first
    std::unordered_map<uint64_t, Form> forms_;
};

// The window's list: the matching entries newest first, one row per entry with the history
// editor's preview, and a selection that follows its entry while the list changes.
class HistorySearchModel {
  public:
    HistorySearchModel(const TextCodec& codec, const AnsiFolding& folding);

    // At opening and after every change of the history: filters it again with the current
    // query. `newestAtTail` is NewEntriesAtTail(settings). The history must outlive the
    // model's use of it until the next SetHistory.
    void SetHistory(const ClipHistory& history, bool newestAtTail);
    // The committed text of the edit box.
    void SetQuery(std::u16string_view typed);
    // Lets the window fold ahead of the first keystroke; true when everything is folded.
    bool FoldAhead(size_t byteBudget);

    int rowCount() const;
    int PositionOfRow(int row) const;
    // The history editor's row of the entry: "%d\t%s" with position + 1 and at most
    // kHistoryRowPreviewBytes of its text; RowWideText is the same from the exact text,
    // and empty for an entry without one. ListRow has both, for ListBox::AddRow.
    std::string RowText(int row) const;
    std::u16string RowWideText(int row) const;
    DualText ListRow(int row) const;

    // -1 when the list is empty. After a new filter, the selected entry stays selected when
    // it is still listed; otherwise the first row is.
    int selectedRow() const;
    void SelectRow(int row);
    // Up and Down (delta -1, +1), Page Up and Page Down (delta -page, +page): clamped to the
    // list.
    void MoveSelection(int delta);

    // The selected entry: its position and what the list showed, for ResolveChosenEntry,
    // so a choice made after the history moved still finds the entry the user saw, or
    // nothing.
    struct Choice {
        int shownPosition;
        ShownHistory shown;
    };
    std::optional<Choice> SelectedChoice() const;

  private:
    void Refilter();
    // Remembers which entry the selected row shows, for the next filter.
    void Select(int row);

    const TextCodec* codec_;
    AnsiFolding folding_;
    HistorySearchIndex index_;
    const ClipHistory* history_ = nullptr;
    bool newestAtTail_ = false;
    ShownHistory shown_;
    SearchQuery query_;
    std::vector<int> rows_;  // list positions, newest first
    int selected_ = -1;
    // The selected entry: its hash, and its position when it was selected, which tells
    // two equal texts apart.
    uint64_t selectedHash_ = 0;
    int selectedPosition_ = -1;
};

}  // namespace varnoke
