#pragma once
// The entry editor's rules: when OK asks about the length, what the settings dialog's
// fields mean, and what a caller keeps of an edited text.

#include <optional>
#include <string>
#include <vector>

#include "core/mbcs.h"

namespace varnoke {

// OK closes at once up to `HistoryLen` bytes; one byte more asks (message 501).
bool EntryOkNeedsQuestion(size_t textLength, int historyLen);
// Yes to message 501 raises `HistoryLen` to the text's length, but never past the largest
// value the setting keeps; the text is cut to that.
int RaisedHistoryLen(size_t textLength);
// The tab-width list of the editor settings, in order.
const std::vector<std::string>& TabWidthEntries();
// The tab-width text read as a decimal number: its leading digits, 0 when there are none.
int TabStopsFromText(const std::string& text);
// `EditTabStops` as the edit's tab interval in dialog template units, 4 to a character.
// A stored value outside what the list offers (0 for none chosen up to the widest entry)
// is held to it, so registry garbage cannot overflow the product.
int TabStopUnits(int editTabStops);

// The face-name field of a font description holds 31 bytes and the terminator; a longer
// stored name is cut at a character boundary, never into half a character.
constexpr size_t kFaceNameBytes = 32;
std::string FitFaceName(const std::string& name, LeadByteTest isLeadByte);

}  // namespace varnoke
