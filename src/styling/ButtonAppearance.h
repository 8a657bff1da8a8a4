#pragma once

#include "framework/core/Events.h"
#include "framework/core/Object.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "styling/StylingTypes.h"

namespace emr {

/// Face, text and frame colours of a toolbar button in its normal, hot, down and
/// checked states. Most setters notify on a real change; the hot and down border
/// colours and the three state gradient directions are stored silently and show
/// at the next repaint.
class TButtonAppearance : public TPersistent {
    EMR_CLASS(TButtonAppearance)
public:
    TButtonAppearance();

    TColor Color() const { return color_; }
    void SetColor(TColor value) { Update(color_, value); }
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor value) { Update(colorTo_, value); }
    TColor ColorChecked() const { return colorChecked_; }
    void SetColorChecked(TColor value) { Update(colorChecked_, value); }
    TColor ColorCheckedTo() const { return colorCheckedTo_; }
    void SetColorCheckedTo(TColor value) { Update(colorCheckedTo_, value); }
    TColor ColorDown() const { return colorDown_; }
    void SetColorDown(TColor value) { Update(colorDown_, value); }
    TColor ColorDownTo() const { return colorDownTo_; }
    void SetColorDownTo(TColor value) { Update(colorDownTo_, value); }
    TColor ColorHot() const { return colorHot_; }
    void SetColorHot(TColor value) { Update(colorHot_, value); }
    TColor ColorHotTo() const { return colorHotTo_; }
    void SetColorHotTo(TColor value) { Update(colorHotTo_, value); }

    TColor CaptionTextColor() const { return captionTextColor_; }
    void SetCaptionTextColor(TColor value) { Update(captionTextColor_, value); }
    TColor CaptionTextColorHot() const { return captionTextColorHot_; }
    void SetCaptionTextColorHot(TColor value) { Update(captionTextColorHot_, value); }
    TColor CaptionTextColorDown() const { return captionTextColorDown_; }
    void SetCaptionTextColorDown(TColor value) { Update(captionTextColorDown_, value); }
    TColor CaptionTextColorChecked() const { return captionTextColorChecked_; }
    void SetCaptionTextColorChecked(TColor value) { Update(captionTextColorChecked_, value); }

    TGradientDirection GradientDirection() const { return gradientDirection_; }
    void SetGradientDirection(TGradientDirection value);
    TGradientDirection GradientDirectionHot() const { return gradientDirectionHot_; }
    void SetGradientDirectionHot(TGradientDirection value) { gradientDirectionHot_ = value; }
    TGradientDirection GradientDirectionDown() const { return gradientDirectionDown_; }
    void SetGradientDirectionDown(TGradientDirection value) { gradientDirectionDown_ = value; }
    TGradientDirection GradientDirectionChecked() const { return gradientDirectionChecked_; }
    void SetGradientDirectionChecked(TGradientDirection value) { gradientDirectionChecked_ = value; }

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value) { Update(borderColor_, value); }
    TColor BorderDownColor() const { return borderDownColor_; }
    void SetBorderDownColor(TColor value) { borderDownColor_ = value; }
    TColor BorderHotColor() const { return borderHotColor_; }
    void SetBorderHotColor(TColor value) { borderHotColor_ = value; }
    TColor BorderCheckedColor() const { return borderCheckedColor_; }
    void SetBorderCheckedColor(TColor value) { Update(borderCheckedColor_, value); }

    TFont* CaptionFont() { return &captionFont_; }
    const TFont* CaptionFont() const { return &captionFont_; }
    /// Copies `value` into the owned font and always notifies.
    void SetCaptionFont(const TFont* value);
    bool SystemFont() const { return systemFont_; }
    /// Turning the switch on names the caption font after the system UI font again.
    void SetSystemFont(bool value);

    /// Copies the colours, the normal gradient direction and the border colours
    /// without notifying; the caption font, SystemFont and the state gradient
    /// directions stay. A source of another class is ignored.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Update(TColor& field, TColor value);
    void Changed();

    TColor color_ = clNone;
    TColor colorTo_ = clNone;
    TColor colorChecked_ = static_cast<TColor>(0xD8D5D4);
    TColor colorCheckedTo_ = clNone;
    TColor colorDown_ = static_cast<TColor>(0xB59285);
    TColor colorDownTo_ = clNone;
    TColor colorHot_ = static_cast<TColor>(0xD2BDB6);
    TColor colorHotTo_ = clNone;
    TColor captionTextColor_ = clBlack;
    TColor captionTextColorHot_ = clBlack;
    TColor captionTextColorDown_ = clBlack;
    TColor captionTextColorChecked_ = clBlack;
    TGradientDirection gradientDirection_ = gdVertical;
    TGradientDirection gradientDirectionHot_ = gdVertical;
    TGradientDirection gradientDirectionDown_ = gdVertical;
    TGradientDirection gradientDirectionChecked_ = gdVertical;
    TColor borderColor_ = clNone;
    TColor borderDownColor_ = static_cast<TColor>(0x6A240A);
    TColor borderHotColor_ = static_cast<TColor>(0x6A240A);
    TColor borderCheckedColor_ = static_cast<TColor>(0x6A240A);
    TFont captionFont_;
    bool systemFont_ = true;
};

} // namespace emr
