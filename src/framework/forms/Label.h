#pragma once

#include "framework/controls/GraphicControl.h"
#include "framework/forms/StdCtrlTypes.h"

namespace emr {

class TWinControl;

/// A windowless text label. With AutoSize it takes the size of its text; an '&'
/// in the caption underlines the next character, and Alt with that character
/// focuses FocusControl.
class TCustomLabel : public TGraphicControl {
    EMR_CLASS(TCustomLabel)
public:
    explicit TCustomLabel(TComponent* owner);
    void BeforeDestruction() override;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);

    void WndProc(TMessage& message) override;
    void Loaded() override;
    void DescribeAccessible(platform::TAccessibleNode& node) const override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    /// With AutoSize, resizes the label to its text, keeping the edge its alignment anchors.
    void AdjustBounds();
    /// The DrawText flags for the current settings.
    unsigned DrawTextFlags() const;

private:
    bool autoSize_ = true;
    bool transparent_ = false;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

/// The label of stored layouts.
class TLabel : public TCustomLabel {
    EMR_CLASS(TLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

} // namespace emr
