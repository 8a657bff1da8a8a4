#pragma once

#include <cstdint>
#include <utility>

#include "framework/platform/Backend.h"

namespace emr {

/// Where the align pass puts a control inside its parent.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using enum TAlign;

/// Which parent edges a control keeps its distance to when the parent resizes.
enum TAnchorKind : std::uint32_t { akLeft = 1u << 0, akTop = 1u << 1, akRight = 1u << 2, akBottom = 1u << 3 };
using TAnchors = std::uint32_t;

/// Behaviour switches of a control class.
enum TControlStyleFlag : std::uint32_t {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,
    csDesignInteractive = 1u << 2,
    csClickEvents = 1u << 3,
    csFramed = 1u << 4,
    csSetCaption = 1u << 5,
    csOpaque = 1u << 6,
    csDoubleClicks = 1u << 7,
    csFixedWidth = 1u << 8,
    csFixedHeight = 1u << 9,
    csNoDesignVisible = 1u << 10,
    csReplicatable = 1u << 11,
    csNoStdEvents = 1u << 12,
    csDisplayDragImage = 1u << 13,
    csReflector = 1u << 14,
    csActionClient = 1u << 15,
    csMenuEvents = 1u << 16,
};
using TControlStyle = std::uint32_t;

/// Run-time states of a control.
enum TControlStateFlag : std::uint32_t {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csPalette = 1u << 2,
    csReadingState = 1u << 3,
    csAlignmentNeeded = 1u << 4,
    csFocusing = 1u << 5,
    csCreating = 1u << 6,
    csPaintCopy = 1u << 7,
    csCustomPaint = 1u << 8,
    csDestroyingHandle = 1u << 9,
    csDocking = 1u << 10,
};
using TControlState = std::uint32_t;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

using TShiftState = platform::TShiftState;
using platform::ssAlt;
using platform::ssCtrl;
using platform::ssDouble;
using platform::ssLeft;
using platform::ssMiddle;
using platform::ssRight;
using platform::ssShift;

/// A cursor: 0 is the default; negative numbers are the stock shapes.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

/// Fires an event through a copy of its handler, so that a handler which destroys
/// the object owning the event (its sender) does not destroy itself mid-call.
template <class F, class... A> void Fire(const F& event, A&&... args) {
    if (!event) return;
    F handler = event;
    handler(std::forward<A>(args)...);
}

/// The shape the backend shows for a cursor value.
platform::TCursorShape CursorShape(TCursor cursor);

} // namespace emr
