#include "menus/history_menu_model.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/text.h"

namespace varnoke {

namespace {

std::string PlainNumber(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d. ", n);
    return buffer;
}

// "1&0. " for n = 10 in the schemes 1 to 3.
std::string AmpersandAt(const std::string& plain, size_t pos) {
    return plain.substr(0, pos) + "&" + plain.substr(pos);
}

// Scheme 2 for n = 11..36: "11(&A). " ... "36(&Z). ".
std::string LetterKey(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%2d(& ). ", n);
    buffer[4] = static_cast<char>(n + 54);
    return buffer;
}

// Schemes 1 to 3 agree up to n = 10.
std::string FirstTenKey(int n, const std::string& plain) {
    return n <= 9 ? "&" + plain : AmpersandAt(plain, 1);
}

std::string OnesDigitKey(int n, const std::string& plain) {
    if (n <= 10) {
        return FirstTenKey(n, plain);
    }
    return AmpersandAt(plain, n >= 100 ? 2 : 1);
}

std::string TensDigitKey(int n, const std::string& plain) {
    if (n <= 9) {
        return "&0" + plain;
    }
    return AmpersandAt(plain, n >= 100 ? 1 : 0);
}

}  // namespace

unsigned HistoryCommandId(int position) {
    return kHistoryCommandBase + static_cast<unsigned>(position);
}

bool IsReservedHistoryCommand(unsigned commandId) {
    return commandId >= kHistoryCommandBase && commandId < kHistoryCommandEnd;
}

int HistoryPositionOfCommand(unsigned commandId) {
    if (!IsReservedHistoryCommand(commandId)) {
        return -1;
    }
    return static_cast<int>(commandId - kHistoryCommandBase);
}

std::string MakeItemPrefix(int position, int historyAddNum, int historyAccessKey) {
    if (historyAddNum == 0) {
        return std::string();
    }
    const int n = position + 1;
    const std::string plain = PlainNumber(n);
    if (n < 1) {
        return plain;
    }
    switch (historyAccessKey) {
        case 1:
            return n <= 10 ? FirstTenKey(n, plain) : plain;
        case 2:
            if (n <= 10) {
                return FirstTenKey(n, plain);
            }
            return n <= 36 ? LetterKey(n) : plain;
        case 3:
            return OnesDigitKey(n, plain);
        case 4:
            return TensDigitKey(n, plain);
        default:
            return plain;
    }
}

std::vector<int> HistoryColumnSizes(int count, int perColumn) {
    if (count < 1) {
        return {};
    }
    // The load keeps HistoryMenuBreak in 1..300; a 0 here must not divide by zero.
    const int limit = perColumn < 1 ? 1 : perColumn;
    const int columns = (count - 1) / limit + 1;
    const int base = count / columns;
    const int longer = count % columns;
    std::vector<int> sizes(static_cast<size_t>(columns), base);
    for (int k = columns - longer; k < columns; ++k) {
        ++sizes[static_cast<size_t>(k)];
    }
    return sizes;
}

std::vector<int> HistoryDisplayOrder(int count, int historyMenuOrder) {
    std::vector<int> order;
    order.reserve(count > 0 ? static_cast<size_t>(count) : 0);
    for (int row = 0; row < count; ++row) {
        order.push_back(historyMenuOrder != 0 ? row : count - 1 - row);
    }
    return order;
}

std::vector<HistoryMenuItem> BuildHistoryMenuItems(const std::vector<HistoryEntry>& entries,
                                                   const Settings& settings,
                                                   LeadByteTest isLeadByte,
                                                   const TextCodec* codec) {
    const int count = static_cast<int>(entries.size());
    const std::vector<int> order = HistoryDisplayOrder(count, settings.historyMenuOrder);
    std::vector<bool> startsColumn(order.size(), false);
    size_t row = 0;
    for (int size : HistoryColumnSizes(count, settings.historyMenuBreak)) {
        startsColumn[row] = row != 0;
        row += static_cast<size_t>(size);
    }

    std::vector<HistoryMenuItem> items(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const int position = order[i];
        HistoryMenuItem& item = items[i];
        // A view, so that a 64 KB entry is never copied for its label.
        const HistoryEntry& entry = entries[static_cast<size_t>(position)];
        item.label.ansi =
            MakeItemPrefix(position, settings.historyAddNum, settings.historyAccessKey);
        if (codec != nullptr && entry.hasExact()) {
            // The prefix is ASCII: digits, letters and punctuation.
            item.label.exact = std::u16string(item.label.ansi.begin(), item.label.ansi.end()) +
                               MakeWideMenuLabel(entry.exact, settings.historyMenuLen, *codec);
        }
        AppendMenuLabel(&item.label.ansi, entry.ansi, settings.historyMenuLen, isLeadByte);
        item.commandId = HistoryCommandId(position);
        item.columnBreak = startsColumn[i];
    }
    return items;
}

}  // namespace varnoke
