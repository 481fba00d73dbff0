#include "search/history_search.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

#include "history/exact_text.h"
#include "search/byte_search.h"

namespace varnoke {

void HistorySearchIndex::Sync(const ClipHistory& history) {
    history_ = &history;
    version_ = history.version();
    hashes_.resize(static_cast<size_t>(history.size()));
    waiting_.clear();
    std::unordered_map<uint64_t, Form> kept;
    kept.reserve(hashes_.size());
    for (int pos = 0; pos < history.size(); ++pos) {
        const uint64_t hash = history.TextHash(pos);
        hashes_[static_cast<size_t>(pos)] = hash;
        if (kept.count(hash) != 0) {
            continue;
        }
        auto old = forms_.find(hash);
        if (old != forms_.end() && old->second.folded) {
            kept.emplace(hash, std::move(old->second));
        } else {
            kept.emplace(hash, Form());
            waiting_.push_back(pos);
        }
    }
    forms_ = std::move(kept);
    // Folded from the back of the list, so the positions at its front come first.
    std::reverse(waiting_.begin(), waiting_.end());
}

void HistorySearchIndex::Fold(int position) {
    const HistoryEntry& entry = history_->at(position);
    Form& form = forms_[hashes_[static_cast<size_t>(position)]];
    form.exact = !entry.exact.empty();
    if (form.exact) {
        form.wide = FoldWideForSearch(entry.exact);
    } else {
        form.ansi = FoldAnsiForSearch(entry.ansi, folding_);
    }
    form.folded = true;
}

void HistorySearchIndex::CatchUp() {
    if (history_ != nullptr && history_->version() != version_) {
        Sync(*history_);
    }
}

bool HistorySearchIndex::FoldSome(size_t byteBudget) {
    CatchUp();
    size_t folded = 0;
    while (!waiting_.empty() && (folded == 0 || folded < byteBudget)) {
        const int position = waiting_.back();
        waiting_.pop_back();
        Fold(position);
        const HistoryEntry& entry = history_->at(position);
        folded +=
            std::max<size_t>(1, entry.exact.empty() ? entry.ansiSize() : entry.exact.size() * 2);
    }
    return waiting_.empty();
}

std::vector<int> HistorySearchIndex::Find(const SearchQuery& query) {
    CatchUp();
    std::vector<int> found;
    if (query.empty()) {
        // The window opens on the empty query: its list must not wait for the folding.
        for (int pos = 0; pos < static_cast<int>(hashes_.size()); ++pos) {
            found.push_back(pos);
        }
        return found;
    }
    FoldSome(std::numeric_limits<size_t>::max());
    for (int pos = 0; pos < static_cast<int>(hashes_.size()); ++pos) {
        const Form& form = forms_.at(hashes_[static_cast<size_t>(pos)]);
        const bool match = form.exact ? HoldsEveryWord(form.wide, query)
                                      : HoldsEveryWord(form.ansi, query, folding_.isLeadByte);
        if (match) {
            found.push_back(pos);
        }
    }
    return found;
}

std::pair<std::u16string_view, std::string_view> HistorySearchIndex::FoldedAt(int position) {
    Form& form = forms_.at(hashes_.at(static_cast<size_t>(position)));
    if (!form.folded) {
        Fold(position);
    }
    return {form.wide, form.ansi};
}

HistorySearchModel::HistorySearchModel(const TextCodec& codec, const AnsiFolding& folding)
    : codec_(&codec), folding_(folding), index_(folding) {}

void HistorySearchModel::SetHistory(const ClipHistory& history, bool newestAtTail) {
    history_ = &history;
    version_ = history.version();
    newestAtTail_ = newestAtTail;
    shown_ = ShownHistory(history);
    index_.Sync(history);
    Refilter();
}

void HistorySearchModel::SetPhrases(std::vector<SearchPhrase> phrases) {
    phrases_ = std::move(phrases);
    foldedPhrases_.clear();
    for (const SearchPhrase& phrase : phrases_) {
        foldedPhrases_.push_back(
            phrase.line.hasExact()
                ? FoldedPhrase{FoldWideForSearch(phrase.line.exact), {}}
                : FoldedPhrase{{}, FoldAnsiForSearch(phrase.line.ansi, folding_)});
    }
    Refilter();
}

void HistorySearchModel::SetQuery(std::u16string_view typed) {
    query_ = MakeSearchQuery(typed, *codec_, folding_);
    if (HistoryMoved()) {
        SetHistory(*history_, newestAtTail_);
    } else {
        Refilter();
    }
}

bool HistorySearchModel::HistoryMoved() const {
    return history_ != nullptr && history_->version() != version_;
}

bool HistorySearchModel::FoldAhead(size_t byteBudget) {
    return index_.FoldSome(byteBudget);
}

void HistorySearchModel::Refilter() {
    rows_ = history_ != nullptr ? index_.Find(query_) : std::vector<int>();
    if (newestAtTail_) {
        std::reverse(rows_.begin(), rows_.end());
    }
    if (!query_.empty()) {
        for (size_t i = 0; i < phrases_.size(); ++i) {
            const FoldedPhrase& folded = foldedPhrases_[i];
            if (phrases_[i].line.hasExact()
                    ? HoldsEveryWord(folded.wide, query_)
                    : HoldsEveryWord(folded.ansi, query_, folding_.isLeadByte)) {
                rows_.push_back(-1 - static_cast<int>(i));
            }
        }
    }
    int row = rows_.empty() ? -1 : 0;
    if (selectedPhrase_ >= 0) {
        auto listed = std::find(rows_.begin(), rows_.end(), -1 - selectedPhrase_);
        if (listed != rows_.end()) {
            row = static_cast<int>(listed - rows_.begin());
        }
    } else if (selectedPosition_ >= 0) {
        // Of the listed entries with the selected text, the one nearest to where it was:
        // a capture shifts every position by one.
        int distance = std::numeric_limits<int>::max();
        for (int r = 0; r < rowCount(); ++r) {
            const int position = PositionOfRow(r);
            if (position >= 0 && history_->TextHash(position) == selectedHash_ &&
                std::abs(position - selectedPosition_) < distance) {
                distance = std::abs(position - selectedPosition_);
                row = r;
            }
        }
    }
    Select(row);
}

void HistorySearchModel::Select(int row) {
    selected_ = row;
    selectedPosition_ = row >= 0 ? PositionOfRow(row) : -1;
    selectedHash_ = selectedPosition_ >= 0 ? history_->TextHash(selectedPosition_) : 0;
    selectedPhrase_ = row >= 0 ? PhraseOfRow(row) : -1;
}

int HistorySearchModel::rowCount() const {
    return static_cast<int>(rows_.size());
}

int HistorySearchModel::PositionOfRow(int row) const {
    const int value = rows_.at(static_cast<size_t>(row));
    return value >= 0 ? value : -1;
}

int HistorySearchModel::PhraseOfRow(int row) const {
    const int value = rows_.at(static_cast<size_t>(row));
    return value < 0 ? -1 - value : -1;
}

SearchRow HistorySearchModel::Row(int row, bool marked) {
    const int position = PositionOfRow(row);
    if (position < 0) {
        const int phrase = PhraseOfRow(row);
        const FoldedPhrase& folded = foldedPhrases_.at(static_cast<size_t>(phrase));
        const SearchPhrase& source = phrases_[static_cast<size_t>(phrase)];
        return MakeSearchRow(source.source + "\t", source.line, folded.wide, folded.ansi, query_,
                             *codec_, folding_, marked);
    }
    const HistoryEntry& entry = history_->at(position);
    std::pair<std::u16string_view, std::string_view> folded;
    if (!query_.empty()) {
        folded = index_.FoldedAt(position);
    }
    return MakeSearchRow(std::to_string(position + 1) + "\t", entry, folded.first, folded.second,
                         query_, *codec_, folding_, marked);
}

int HistorySearchModel::selectedRow() const {
    return selected_;
}

void HistorySearchModel::SelectRow(int row) {
    // The list reports -1 for a click below its last row: the selection stays.
    if (row >= 0 && row < rowCount()) {
        Select(row);
    }
}

void HistorySearchModel::MoveSelection(int delta) {
    if (rows_.empty()) {
        return;
    }
    const long long moved = static_cast<long long>(selected_) + delta;
    Select(static_cast<int>(std::clamp<long long>(moved, 0, rowCount() - 1)));
}

std::optional<HistorySearchModel::Choice> HistorySearchModel::SelectedChoice() const {
    if (selected_ < 0) {
        return std::nullopt;
    }
    return Choice{PositionOfRow(selected_), shown_, PhraseOfRow(selected_)};
}

}  // namespace varnoke
