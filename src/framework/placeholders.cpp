#include "framework/placeholders.h"

namespace varnoke {

std::string FormatPlaceholders(const std::string& format, const std::vector<std::string>& args) {
    std::string out;
    out.reserve(format.size());
    for (size_t i = 0; i < format.size(); ++i) {
        char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (format[i] == '%' && next >= '1' && next <= '9') {
            size_t index = static_cast<size_t>(next - '1');
            if (index < args.size()) {
                out += args[index];
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

}  // namespace varnoke
