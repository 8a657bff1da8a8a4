#pragma once

#include <cstdint>

namespace emr {

/// Which way a gradient runs: gdHorizontal left to right, gdVertical top to bottom.
enum TGradientDirection : std::uint8_t { gdHorizontal, gdVertical };

/// How a styler's background bitmap covers a surface.
enum TBackGroundDisplay : std::uint8_t { bdTile, bdCenter, bdStretch };

/// The drag grip a docked toolbar paints at its leading edge.
enum TDragGripStyle : std::uint8_t { dsDots, dsSingleLine, dsDoubleLine, dsFlatDots, dsNone };

/// Gradient kind of one half of a glow face.
enum TGDIPGradient : std::uint8_t { ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward };

/// The named looks of the office styler, in ordinal order.
enum TToolBarStyle : std::uint8_t {
    bsOffice2003Blue,
    bsOffice2003Silver,
    bsOffice2003Olive,
    bsOffice2003Classic,
    bsOffice2007Luna,
    bsOffice2007Obsidian,
    bsWindowsXP,
    bsWhidbeyStyle,
    bsCustom,
    bsOffice2007Silver,
    bsOfficeXP,
    bsWindowsVista,
    bsWindows7,
    bsTerminal,
    bsOffice2010Blue,
    bsOffice2010Silver,
    bsOffice2010Black,
};

inline constexpr int kToolBarStyleCount = 17;

} // namespace emr
