#pragma once

#include "framework/core/Geometry.h"

namespace emr {

class TAdvCustomToolBar;
class TCanvas;
class TMDIChild;

/// The minimize, restore and close buttons a full-size menu toolbar shows at
/// its far end for the active maximized document window of its form.
class TToolBarMDIButtons {
public:
    enum TKind { Minimize, Restore, Close, None };
    static constexpr int Size = 18;

    explicit TToolBarMDIButtons(TAdvCustomToolBar* toolBar) : toolBar_(toolBar) {}

    /// The active document window with a system menu, when AutoMDIButtons holds.
    TMDIChild* Child() const;
    /// Whether the buttons are painted and take the pointer now.
    bool Shown() const;
    TRect Rect(TKind kind) const;
    TKind Hot() const { return hot_; }
    TKind Down() const { return down_; }

    void Paint(TCanvas& canvas) const;
    // Pointer input in toolbar client coordinates; true when the buttons used it.
    bool MouseMove(TPoint p);
    bool MouseDown(TPoint p);
    bool MouseUp(TPoint p);
    void MouseLeave();

private:
    TKind At(TPoint p) const;
    void Repaint(TKind kind) const;

    TAdvCustomToolBar* toolBar_;
    TKind hot_ = None;
    TKind down_ = None;
};

} // namespace emr
