#pragma once
// Line ends of texts that leave for Windows: every line feed becomes carriage
// return plus line feed.

#include <string>
#include <string_view>

namespace skedlin {

inline std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

}  // namespace skedlin
