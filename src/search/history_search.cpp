#include "search/history_search.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

#include "history/exact_text.h"
#include "search/byte_search.h"

namespace varnoke {

SearchQuery MakeSearchQuery(std::u16string_view typed, const TextCodec& codec,
                            const AnsiFolding& folding) {
    SearchQuery query;
    query.wide = FoldWideForSearch(typed);
    // Folded first: a typed letter the code page lacks may fold to one it has.
    std::string ansi;
    query.ansiUsable = codec.ToAnsiWithoutLoss(query.wide, &ansi);
    if (query.ansiUsable) {
        query.ansi = FoldAnsiForSearch(ansi, folding);
    }
    return query;
}

void HistorySearchIndex::Sync(const ClipHistory& history) {
    history_ = &history;
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

bool HistorySearchIndex::FoldSome(size_t byteBudget) {
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
        const bool match =
            form.exact
                ? FindFoldedWide(form.wide, query.wide) != std::u16string_view::npos
                : query.ansiUsable && FindFoldedAnsi(form.ansi, query.ansi, folding_.isLeadByte) !=
                                          std::string::npos;
        if (match) {
            found.push_back(pos);
        }
    }
    return found;
}

HistorySearchModel::HistorySearchModel(const TextCodec& codec, const AnsiFolding& folding)
    : codec_(&codec), folding_(folding), index_(folding) {}

void HistorySearchModel::SetHistory(const ClipHistory& history, bool newestAtTail) {
    history_ = &history;
    newestAtTail_ = newestAtTail;
    shown_ = ShownHistory(history);
    index_.Sync(history);
    Refilter();
}

void HistorySearchModel::SetQuery(std::u16string_view typed) {
    query_ = MakeSearchQuery(typed, *codec_, folding_);
    Refilter();
}

bool HistorySearchModel::FoldAhead(size_t byteBudget) {
    return index_.FoldSome(byteBudget);
}

void HistorySearchModel::Refilter() {
    rows_ = index_.Find(query_);
    if (newestAtTail_) {
        std::reverse(rows_.begin(), rows_.end());
    }
    int row = rows_.empty() ? -1 : 0;
    if (selectedPosition_ >= 0) {
        // Of the listed entries with the selected text, the one nearest to where it was:
        // a capture shifts every position by one.
        int distance = std::numeric_limits<int>::max();
        for (int r = 0; r < rowCount(); ++r) {
            const int position = PositionOfRow(r);
            if (history_->TextHash(position) == selectedHash_ &&
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
    selectedHash_ = row >= 0 ? history_->TextHash(selectedPosition_) : 0;
}

int HistorySearchModel::rowCount() const {
    return static_cast<int>(rows_.size());
}

int HistorySearchModel::PositionOfRow(int row) const {
    return rows_.at(static_cast<size_t>(row));
}

std::string HistorySearchModel::RowText(int row) const {
    const int position = PositionOfRow(row);
    return HistoryRowText(position, history_->at(position), folding_.isLeadByte);
}

std::u16string HistorySearchModel::RowWideText(int row) const {
    const int position = PositionOfRow(row);
    return HistoryRowWideText(position, history_->at(position), *codec_);
}

DualText HistorySearchModel::ListRow(int row) const {
    const int position = PositionOfRow(row);
    return HistoryRow(position, history_->at(position), folding_.isLeadByte, *codec_);
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
    return Choice{PositionOfRow(selected_), shown_};
}

}  // namespace varnoke
