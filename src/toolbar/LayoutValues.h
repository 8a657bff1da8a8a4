#pragma once

#include <string_view>

namespace emr::layout_values {

/// Saved names match toolbar names without regard to case.
inline bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

/// A saved visibility: the low byte of the integer, non-zero meaning visible.
inline bool VisibleFrom(int value) {
    return (value & 0xFF) != 0;
}

/// A saved width or height worth applying; anything else is a damaged entry.
inline bool PlausibleSize(int value) {
    return value > 0 && value <= 32767;
}

/// A saved position worth applying.
inline bool PlausiblePosition(int value) {
    return value >= -32768 && value <= 32767;
}

} // namespace emr::layout_values
