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
#include "search/search_row.h"

namespace varnoke {

// The folded forms of the history's entries, made once per entry while the window is open.
// A form is kept under the entry's hash, so a capture or a move folds only what is new.
class HistorySearchIndex {
  public:
    explicit HistorySearchIndex(const AnsiFolding& folding) : folding_(folding) {}

    // Takes the entries of `history` as they are now; forms of entries that are gone are
    // dropped, and new entries wait to be folded. Find takes them again by itself once the
    // history's version moved: a menu over the window may delete an entry unannounced.
    void Sync(const ClipHistory& history);
    // Folds waiting entries until about `byteBudget` bytes were folded (at least one entry
    // when any waits); true when none waits any more. Lets the window fold while the user
    // has not typed yet.
    bool FoldSome(size_t byteBudget);
    // The list positions, in ascending order, of the entries whose text holds every word of
    // the query; every position for an empty query. Folds whatever still waits, except for
    // an empty query, which needs no folded form.
    std::vector<int> Find(const SearchQuery& query);
    // The folded forms of the entry at `position` (one of them empty), folded now if need be.
    std::pair<std::u16string_view, std::string_view> FoldedAt(int position);

  private:
    struct Form {
        std::string ansi;     // an entry without an exact text
        std::u16string wide;  // an entry with one
        bool exact = false;
        bool folded = false;
    };
    void Fold(int position);
    // Sync again when the history changed since.
    void CatchUp();

    AnsiFolding folding_;
    const ClipHistory* history_ = nullptr;
    uint64_t version_ = 0;
    std::vector<uint64_t> hashes_;  // of each position at the last Sync
    std::vector<int> waiting_;      // positions whose form is not made yet, last first
    std::unordered_map<uint64_t, Form> forms_;
};

// A line of a phrase file, as the search lists it below the history's entries.
struct SearchPhrase {
    DualText line;
    std::string source;  // the phrase menu's label and its file, before the line in its row
};

// The window's list: the matching entries newest first, then the matching phrase lines in
// file order, each row showing where its text matches, and a selection that follows its
// entry while the list changes.
class HistorySearchModel {
  public:
    HistorySearchModel(const TextCodec& codec, const AnsiFolding& folding);

    // At opening and after every change of the history: filters it again with the current
    // query. `newestAtTail` is NewEntriesAtTail(settings). The history must outlive the
    // model's use of it until the next SetHistory; a change it was not told of is noticed
    // at the next query.
    void SetHistory(const ClipHistory& history, bool newestAtTail);
    // The phrase lines searched with the history; an empty query lists none.
    void SetPhrases(std::vector<SearchPhrase> phrases);
    // The committed text of the edit box.
    void SetQuery(std::u16string_view typed);
    // Lets the window fold ahead of the first keystroke; true when everything is folded.
    bool FoldAhead(size_t byteBudget);
    // The history changed since the list was made (a menu over the window deleted an entry):
    // until the next query or SetHistory, its rows may name entries that are gone.
    bool HistoryMoved() const;

    int rowCount() const;
    // The entry's list position; -1 for a phrase row.
    int PositionOfRow(int row) const;
    // The phrase's index in SetPhrases' list; -1 for an entry's row.
    int PhraseOfRow(int row) const;
    // An entry's row is "%d\t" with position + 1, a phrase's its source and a tab, then the
    // text around the match (MakeSearchRow), marked or not.
    SearchRow Row(int row, bool marked = true);

    // -1 when the list is empty. After a new filter, the selected row stays selected when
    // it is still listed; otherwise the first row is.
    int selectedRow() const;
    void SelectRow(int row);
    // Up and Down (delta -1, +1), Page Up and Page Down (delta -page, +page): clamped to the
    // list.
    void MoveSelection(int delta);

    // The selected row: an entry's position and what the list showed, for
    // ResolveChosenEntry, so a choice made after the history moved still finds the entry
    // the user saw, or nothing; or a phrase.
    struct Choice {
        int shownPosition = -1;
        ShownHistory shown;
        int phrase = -1;
    };
    std::optional<Choice> SelectedChoice() const;

  private:
    struct FoldedPhrase {
        std::u16string wide;
        std::string ansi;
    };
    void Refilter();
    // Remembers which row is selected, for the next filter.
    void Select(int row);

    const TextCodec* codec_;
    AnsiFolding folding_;
    HistorySearchIndex index_;
    const ClipHistory* history_ = nullptr;
    uint64_t version_ = 0;
    bool newestAtTail_ = false;
    ShownHistory shown_;
    std::vector<SearchPhrase> phrases_;
    std::vector<FoldedPhrase> foldedPhrases_;
    SearchQuery query_;
    std::vector<int> rows_;  // list positions newest first, then phrases as -1 - index
    int selected_ = -1;
    // The selected entry: its hash, and its position when it was selected, which tells
    // two equal texts apart; or the selected phrase.
    uint64_t selectedHash_ = 0;
    int selectedPosition_ = -1;
    int selectedPhrase_ = -1;
};

}  // namespace varnoke
