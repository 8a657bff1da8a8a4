#pragma once

namespace emr {

/// A control that registers with a styler (dock panels and toolbars) and is told
/// about each change with a change code:
///   1 background image, its display or transparency, or Font
///   2 colours, borders, right handle, caption, floating window, CaptionFont,
///     right-handle image, rounded corners, bevel, and the end of a Style change
///   4 container appearance   5 drag grip style   6 menu styler
///   7 glow-button appearances   10 ribbon tab, page or group   11 pager caption
///   12 quick-access toolbar
class IStylerClient {
public:
    virtual ~IStylerClient() = default;

    /// Re-read what the control needs from its styler and repaint.
    virtual void StylerChanged(int code) = 0;

    /// A toolbar collapsed into a compact window returns the toolbar that window
    /// shows, which hears each change just before the collapsed toolbar does.
    virtual IStylerClient* CompactWindowClient() { return nullptr; }
};

/// Change codes a styler sends.
enum TStylerChange : int {
    scSilent = 0, // sent by no one: the code of a field whose setter tells nobody
    scBackground = 1,
    scColors = 2,
    scContainer = 4,
    scDragGrip = 5,
    scMenuStyler = 6,
    scGlowButtons = 7,
    scRibbonTabs = 10,
    scPagerCaption = 11,
    scQuickAccess = 12,
};

} // namespace emr
