#pragma once

#include <cstdint>

namespace emr {

/// The edge a dock panel is aligned to, and the orientation a toolbar or one of its
/// controls is laid out for. daTop and daBottom are horizontal, daLeft and daRight vertical.
enum class TDockAlign { daLeft, daTop, daRight, daBottom };
/// A set of TDockAlign values, bit i standing for ordinal i.
using TDockableTo = std::uint32_t;
constexpr TDockableTo DockableToAll = 0xF;

constexpr bool IsVertical(TDockAlign a) {
    return a == TDockAlign::daLeft || a == TDockAlign::daRight;
}

/// Where a button's image sits relative to its caption.
enum class TGlyphPosition { gpLeft, gpTop, gpRight, gpBottom };
/// Push button or toggling check button.
enum class TAdvToolButtonStyle { tasButton, tasCheck };
/// The visual state a toolbar button is in.
enum class TToolButtonState { tbsUp, tbsDisabled, tbsDown, tbsDropped, tbsExclusive };
enum class TAdvSeparatorStyle { ssOffice2003, ssBlank };
enum class TCaptionPosition { cpTop, cpBottom };
enum class TDockMode { dmAll, dmAllParentDockPanels, dmParentDockPanelOnly };
enum class TAntiAlias { aaNone, aaClearType, aaAntiAlias };
/// Docked on a dock panel, floating in a window of its own, or on any other parent.
enum class TToolBarState { tsDocked, tsFloating, tsStandalone };

/// The read-only version string every toolbar component reports.
inline constexpr const char* ToolBarVersion = "5.0.3.0";

/// Message a grouped button sends its siblings when it latches down.
constexpr unsigned CM_GROUPPRESSED = 0xB018;

} // namespace emr
