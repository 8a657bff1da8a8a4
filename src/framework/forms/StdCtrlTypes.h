#pragma once

namespace emr {

/// Horizontal placement of a caption or text.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;

/// Vertical placement of a label's text.
enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

/// One bevel of a panel: none, sunk in, raised, or a blank band.
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using enum TBevelCut;

/// The input-method preference of an edit; kept for stored layouts, no effect here.
enum class TImeMode {
    imDisable,
    imClose,
    imOpen,
    imDontCare,
    imSAlpha,
    imAlpha,
    imHira,
    imSKata,
    imKata,
    imChinese,
    imSHanguel,
    imHanguel
};
using enum TImeMode;

} // namespace emr
