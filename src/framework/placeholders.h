#pragma once
// "%1".."%9" placeholders as the framework's prompts use them ("%1 から %2 ...").

#include <string>
#include <vector>

namespace varnoke {

// Replaces %1..%9 by the matching argument; a placeholder without an argument, and
// any other "%x", is kept as it stands.
std::string FormatPlaceholders(const std::string& format, const std::vector<std::string>& args);

}  // namespace varnoke
