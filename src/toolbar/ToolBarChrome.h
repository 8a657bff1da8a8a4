#pragma once

#include <string_view>

#include "framework/core/Geometry.h"
#include "framework/forms/StdCtrlTypes.h"
#include "toolbar/ToolBarTypes.h"

namespace emr {

class TCanvas;
class TCustomAdvToolBarStyler;
class TFont;
class TPicture;
class TToolBarDockSite;

/// The chrome of a toolbar: its grip, caption bar, right handle, the floating
/// caption's buttons, background, bevel, corners and border. It measures and paints
/// from the values it is given and knows nothing of the toolbar they come from, so
/// whatever the toolbar shows is decided by those values alone. Its metrics are
/// named here, once, for everything that measures or draws them.
class TToolBarChrome {
public:
    /// How the pressable parts look now.
    struct TPartLooks {
        bool HandleHot = false, HandleDown = false;
        bool OptionHot = false, OptionDown = false;
        bool CloseHot = false, CloseDown = false;
        bool IndicatorLit = false, IndicatorDown = false, Fading = false;
        int FadePercent = 0;
    };
    /// Everything the chrome reads.
    struct TValues {
        TRect Client;
        int Width = 0, Height = 0;
        bool Floating = false, Docked = false, Horizontal = true, Enabled = true;
        TDockAlign Position = TDockAlign::daTop;
        bool ShowCaption = false, ShowClose = true, ShowOptionIndicator = true, ShowRightHandle = true;
        bool FullSize = false, ParentStyler = true;
        /// More controls than fit: the right handle shows its chevron.
        bool Chevron = false;
        int CaptionHeight = 0, FloatingRows = 1, DockedThickness = 0;
        TCaptionPosition CaptionPosition = TCaptionPosition::cpTop;
        TAlignment CaptionAlignment = TAlignment::taLeftJustify;
        std::string_view Caption;
        const TFont* CaptionFont = nullptr;
        const TPicture* OptionPicture = nullptr;
        const TPicture* OptionDisabledPicture = nullptr;
        const TCustomAdvToolBarStyler* Styler = nullptr;
        /// The dock panel whose background shows through the rounded corners, and
        /// where the toolbar sits on it.
        TToolBarDockSite* Panel = nullptr;
        TPoint Origin;
        TPartLooks Parts;
    };

    /// Length of the drag grip along the toolbar, and the gap before the first control.
    static constexpr int GripLength = 7;
    static constexpr int GripGap = 2;
    /// The grip is drawn one pixel inside the toolbar's top-left corner.
    static constexpr int GripInset = 1;
    /// The right handle's length, and what stays of the toolbar's end without it.
    static constexpr int HandleLength = 14;
    /// How far inside an item (button or right handle) its keyboard focus rectangle runs.
    static constexpr int FocusInset = 2;
    static constexpr int EndMargin = 4;
    /// The handle's face starts this far into its rectangle, past the body's corner.
    static constexpr int HandleFaceInset = 3;
    /// The default height (or width, on a vertical toolbar) of a caption bar.
    static constexpr int DefaultCaptionHeight = 16;
    /// Caption text keeps this far from the caption's start and from a right handle.
    static constexpr int CaptionTextIndent = 3;
    static constexpr int CaptionHandleGap = 2;
    /// Floating caption buttons sit inside the caption bar with a gap between them.
    static constexpr int CaptionButtonInset = 1;
    static constexpr int CaptionButtonGap = 2;
    /// The caption-bar option indicator keeps off the caption's top edge.
    static constexpr int IndicatorTopInset = 2;
    /// Diameter of the rounded corners of a toolbar's border.
    static constexpr int CornerDiameter = 6;
    /// A stretched background image keeps off the border.
    static constexpr int BackgroundImageInset = 2;
    /// Gradient bands of the caption bar, the right handle and a full-size toolbar.
    static constexpr int CaptionGradientSteps = 80;
    static constexpr int HandleGradientSteps = 16;
    static constexpr int FullSizeGradientSteps = 256;
    /// Dots of the grip: their side, their pitch, and the margin kept at both ends.
    static constexpr int GripDotSize = 2;
    static constexpr int GripDotPitch = 4;
    static constexpr int FlatDotPitch = 2;
    static constexpr int GripEndMargin = 4;
    /// The option window opens this far left of the toolbar's end and one pixel below it.
    static constexpr int OptionAnchorInset = 12;
    static constexpr int OptionAnchorDrop = 1;
    /// On a floating toolbar it opens under the option button: left of one or two caption buttons.
    static constexpr int FloatingAnchorInset = 20;
    static constexpr int FloatingAnchorRaise = 2;
    /// The indicator's fade: timer interval, percent per tick, and where a finished fade rests.
    static constexpr int FadeInterval = 30;
    static constexpr int FadeStep = 20;
    static constexpr int FadeFull = 100;
    static constexpr int FadedOut = -FadeStep;
    static constexpr int FadedIn = FadeFull + FadeStep;

    explicit TToolBarChrome(const TValues& values) : v_(values) {}

    int RightHandleLength() const { return v_.ShowRightHandle ? HandleLength : EndMargin; }
    // Rectangles in the toolbar's client coordinates; empty where the part is not shown.
    TRect CaptionRect() const;
    TRect ContentRect() const;
    TRect CloseButtonRect() const;
    TRect OptionButtonRect() const;
    /// (-1, -1, -1, -1) where the caption bar shows no indicator.
    TRect CaptionOptionIndicatorRect() const;
    TRect GripHitRect() const;
    TRect RightHandleHitRect() const;
    TRect FloatingCaptionDragRect() const;

    /// Paints the whole chrome, background first and border last.
    void Paint(TCanvas& canvas) const;

private:
    TRect BackgroundRect() const;
    void PaintCaptionBar(TCanvas& canvas, const TRect& captionRect) const;
    void PaintFloatingCaption(TCanvas& canvas) const;
    void PaintOptionButton(TCanvas& canvas) const;
    void PaintCloseButton(TCanvas& canvas) const;
    void PaintDockedCaption(TCanvas& canvas) const;
    void PaintBackground(TCanvas& canvas, const TRect& b) const;
    void PaintBevel(TCanvas& canvas) const;
    void PaintGrip(TCanvas& canvas) const;
    void PaintRightHandle(TCanvas& canvas) const;
    void PaintCaptionIndicator(TCanvas& canvas) const;
    void PaintRoundCorners(TCanvas& canvas, TRect b) const;
    void PaintBorder(TCanvas& canvas, const TRect& b) const;

    TValues v_;
};

} // namespace emr
