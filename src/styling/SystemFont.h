#pragma once

#include <string_view>

namespace emr {

/// Font name for every styling font whose SystemFont switch is on. This platform
/// offers the current-generation locale interface, so it takes the newer UI face.
inline constexpr std::string_view kSystemUIFontName = "Segoe UI";

/// Face used where the newer locale interface is missing; kept for the fallback path.
inline constexpr std::string_view kLegacyUIFontName = "Tahoma";

/// True when the platform offers the newer locale interface.
inline constexpr bool kHasModernLocaleInterface = true;

/// The system UI font name the styling records give their fonts.
constexpr std::string_view SystemUIFontName() {
    return kHasModernLocaleInterface ? kSystemUIFontName : kLegacyUIFontName;
}

} // namespace emr
