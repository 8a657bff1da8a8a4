#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace emr {

/// A keyboard shortcut: a virtual-key code in the low byte and modifier bits above it.
using TShortCut = std::uint16_t;

inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

/// Builds a shortcut from a virtual key and a shift state (ssShift/ssCtrl/ssAlt bits).
TShortCut ShortCut(int key, std::uint32_t shift);
/// Splits a shortcut into its virtual key and shift state.
void ShortCutToKey(TShortCut shortCut, int& key, std::uint32_t& shift);

/// "Ctrl+S", "Shift+Ctrl+F1", "Alt+Enter"; empty for no shortcut or an unnamed key.
std::string ShortCutToText(TShortCut shortCut);
/// The inverse of ShortCutToText, case-insensitive; 0 when the text names no shortcut.
TShortCut TextToShortCut(std::string_view text);

} // namespace emr
