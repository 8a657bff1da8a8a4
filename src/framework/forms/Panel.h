#pragma once

#include "framework/controls/CustomControl.h"
#include "framework/forms/Form.h"
#include "framework/forms/StdCtrlTypes.h"

namespace emr {

/// A container with a two-bevel 3-D frame and an optional centred caption.
/// From the outside in: the outer bevel, BorderWidth pixels of the panel colour,
/// the inner bevel; children are aligned inside all three.
class TCustomPanel : public TCustomControl {
    EMR_CLASS(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* owner);

    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    /// Widths below 1 are taken as 1.
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    /// Negative widths are taken as 0.
    void SetBorderWidth(int value);
    /// bsSingle adds a sunken two-pixel edge outside the bevels.
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool FullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool value) { fullRepaint_ = value; }

    /// The colours a bevel is drawn in: top-left and bottom-right edges.
    static void BevelColors(TBevelCut bevel, TColor& topColor, TColor& bottomColor);

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) const override;
    void TextChanged() override;
    /// The frame changed: repaint and re-align the children.
    void FrameChanged();

private:
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TFormBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
    bool fullRepaint_ = true;
};

/// The panel of stored layouts.
class TPanel : public TCustomPanel {
    EMR_CLASS(TPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

} // namespace emr
