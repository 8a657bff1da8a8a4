#pragma once

#include <string>

namespace emr {

/// The accelerator character of a caption ("&File" -> 'F') as a code point, ASCII
/// letters upper-cased; 0 when it has none ("&&" is a literal ampersand).
char32_t GetHotkey(const std::string& caption);
/// True when `key` (any case) is the accelerator of `caption`.
bool IsAccel(char32_t key, const std::string& caption);

} // namespace emr
