#pragma once

#include <string>

#include "framework/forms/Panel.h"
#include "styling/StylingTypes.h"

namespace emr {

class TAdvCustomToolBar;

/// One text item of an option panel ("Add or Remove Buttons", "Options"). Its
/// rectangle is empty while the item is not shown.
struct TSelectorItem {
    std::string Caption;
    int Width = 30;
    int Height = 20;
    TRect Rect;
};

/// The flat framed panel an option window or a cascade level shows: a plain or
/// gradient face with a one-pixel border.
class TOptionSelectorPanel : public TCustomPanel {
    EMR_CLASS(TOptionSelectorPanel)
public:
    explicit TOptionSelectorPanel(TComponent* owner);

    static constexpr int MarginX = 3;
    static constexpr int MarginY = 3;

    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor value) { colorTo_ = value; }
    TColor WindowBorderColor() const { return windowBorderColor_; }
    void SetWindowBorderColor(TColor value) { windowBorderColor_ = value; }
    TGradientDirection GradientDirection() const { return gradientDirection_; }
    void SetGradientDirection(TGradientDirection value) { gradientDirection_ = value; }
    TAdvCustomToolBar* AdvToolBar() const;
    void SetAdvToolBar(TAdvCustomToolBar* value);

    /// The window showing the panel hid; what the panel made for that showing goes.
    virtual void WindowHidden() {}

protected:
    void Paint() override;

private:
    TColor colorTo_ = clNone;
    TColor windowBorderColor_ = static_cast<TColor>(0x808080);
    TGradientDirection gradientDirection_ = gdHorizontal;
    TComponentRef<TAdvCustomToolBar> toolBar_;
};

} // namespace emr
