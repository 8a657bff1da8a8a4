#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "framework/platform/Backend.h"

namespace emr {

/// Where the align pass puts a control inside its parent.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using enum TAlign;

/// Writing direction of a control. Only bdRightToLeft mirrors the layout; the two
/// other right-to-left modes change text alignment and reading order alone.
enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

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

namespace detail {

/// Stands in an event while its handler runs, moved out of it: an event fired
/// again from inside its own handler still reaches that handler.
template <class F> struct TRunningHandler {
    F* Handler;
    template <class... A> typename F::result_type operator()(A&&... args) const {
        return (*Handler)(std::forward<A>(args)...);
    }
};

} // namespace detail

/// Fires `sender`'s event through the handler stored in it, so that a handler
/// keeps what it stores in itself (a mutable lambda) from one call to the next.
/// The handler is moved out of the event for the call: a handler may destroy its
/// sender, or give the event another handler (or none), without destroying
/// itself mid-call. It goes back unless one of those happened.
template <class F, class Sender, class... A> void Fire(F& event, Sender* sender, A&&... args) {
    if (!event) return;
    struct TPutBack {
        F& Event;
        F Handler;
        std::weak_ptr<void> Alive;
        ~TPutBack() {
            if (Alive.expired()) return;
            const auto* standIn = Event.template target<detail::TRunningHandler<F>>();
            if (standIn && standIn->Handler == &Handler) Event = std::move(Handler);
        }
    } running{event, std::move(event), sender->LifeToken()};
    event = detail::TRunningHandler<F>{&running.Handler};
    running.Handler(sender, std::forward<A>(args)...);
}

/// The shape the backend shows for a cursor value.
platform::TCursorShape CursorShape(TCursor cursor);

} // namespace emr
