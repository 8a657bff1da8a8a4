#pragma once

#include <string>
#include <string_view>

namespace emr {

/// The text with A-Z lowered; every other byte, UTF-8 included, is kept.
inline std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace emr
