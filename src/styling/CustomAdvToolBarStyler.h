#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/Component.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "styling/AdvMenuStyler.h"
#include "styling/ButtonAppearance.h"
#include "styling/CaptionAppearance.h"
#include "styling/ContainerAppearance.h"
#include "styling/GlowButtonAppearance.h"
#include "styling/GradientBackground.h"
#include "styling/RibbonAppearances.h"
#include "styling/StylerClient.h"
#include "styling/StylingTypes.h"

namespace emr {

/// Holds every colour, image and font the toolbar system paints with and tells
/// the registered dock panels and toolbars about each change with a change code
/// (see IStylerClient). Owned records and bitmaps are set by copying.
class TCustomAdvToolBarStyler : public TComponent {
    EMR_CLASS(TCustomAdvToolBarStyler)
public:
    explicit TCustomAdvToolBarStyler(TComponent* owner);
    ~TCustomAdvToolBarStyler() override;

    // Control list.
    /// Appends `control` (a second registration adds a second entry) and asks for
    /// its free notification; null is ignored.
    void AddControl(TComponent* control);
    /// Deletes the first entry of `control`, if any.
    void RemoveControl(TComponent* control);
    /// Calls StylerChanged(code) on each registered control, first to last.
    void NotifyControls(int code);
    const std::vector<TComponent*>& Controls() const { return controls_; }

    // Menu styler.
    TCustomAdvMenuStyler* AdvMenuStyler() const { return advMenuStyler_; }
    void SetAdvMenuStyler(TCustomAdvMenuStyler* value);
    TAdvMenuStyler* InternalMenuStyler() const { return internalMenuStyler_; }
    /// AdvMenuStyler when assigned, else the internal one.
    TCustomAdvMenuStyler* CurrentMenuStyler() const;

    // Background.
    TBitmap* BackGround() { return &backGround_; }
    const TBitmap* BackGround() const { return &backGround_; }
    void SetBackGround(const TBitmap* value);
    bool BackGroundTransparent() const { return backGroundTransparent_; }
    void SetBackGroundTransparent(bool value);
    TBackGroundDisplay BackGroundDisplay() const { return backGroundDisplay_; }
    void SetBackGroundDisplay(TBackGroundDisplay value);

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor value) { UpdateColor(borderColor_, value); }
    TColor BorderColorHot() const { return borderColorHot_; }
    void SetBorderColorHot(TColor value) { UpdateColor(borderColorHot_, value); }

    // Records.
    TButtonAppearance* ButtonAppearance() { return &buttonAppearance_; }
    const TButtonAppearance* ButtonAppearance() const { return &buttonAppearance_; }
    void SetButtonAppearance(const TButtonAppearance* value) { buttonAppearance_.Assign(value); }
    TCaptionAppearance* CaptionAppearance() { return &captionAppearance_; }
    const TCaptionAppearance* CaptionAppearance() const { return &captionAppearance_; }
    void SetCaptionAppearance(const TCaptionAppearance* value) { captionAppearance_.Assign(value); }
    TContainerAppearance* ContainerAppearance() { return &containerAppearance_; }
    const TContainerAppearance* ContainerAppearance() const { return &containerAppearance_; }
    void SetContainerAppearance(const TContainerAppearance* value) { containerAppearance_.Assign(value); }
    TVistaGradientBackground* Color() { return &color_; }
    const TVistaGradientBackground* Color() const { return &color_; }
    void SetColor(const TVistaGradientBackground* value) { color_.Assign(value); }
    TVistaGradientBackground* ColorHot() { return &colorHot_; }
    const TVistaGradientBackground* ColorHot() const { return &colorHot_; }
    void SetColorHot(const TVistaGradientBackground* value) { colorHot_.Assign(value); }
    TGradientBackground* DockColor() { return &dockColor_; }
    const TGradientBackground* DockColor() const { return &dockColor_; }
    void SetDockColor(const TGradientBackground* value) { dockColor_.Assign(value); }

    TGlowButtonAppearance* GlowButtonAppearance() { return &glowButtonAppearance_; }
    const TGlowButtonAppearance* GlowButtonAppearance() const { return &glowButtonAppearance_; }
    void SetGlowButtonAppearance(const TGlowButtonAppearance* value) { glowButtonAppearance_.Assign(value); }
    TGlowButtonAppearance* CompactGlowButtonAppearance() { return &compactGlowButtonAppearance_; }
    const TGlowButtonAppearance* CompactGlowButtonAppearance() const { return &compactGlowButtonAppearance_; }
    void SetCompactGlowButtonAppearance(const TGlowButtonAppearance* value) {
        compactGlowButtonAppearance_.Assign(value);
    }
    TGroupAppearance* GroupAppearance() { return &groupAppearance_; }
    const TGroupAppearance* GroupAppearance() const { return &groupAppearance_; }
    void SetGroupAppearance(const TGroupAppearance* value) { groupAppearance_.Assign(value); }
    TVistaPageBackground* PageAppearance() { return &pageAppearance_; }
    const TVistaPageBackground* PageAppearance() const { return &pageAppearance_; }
    void SetPageAppearance(const TVistaPageBackground* value) { pageAppearance_.Assign(value); }
    TTabAppearance* TabAppearance() { return &tabAppearance_; }
    const TTabAppearance* TabAppearance() const { return &tabAppearance_; }
    void SetTabAppearance(const TTabAppearance* value) { tabAppearance_.Assign(value); }
    TVistaTextBackground* PagerCaption() { return &pagerCaption_; }
    const TVistaTextBackground* PagerCaption() const { return &pagerCaption_; }
    void SetPagerCaption(const TVistaTextBackground* value) { pagerCaption_.Assign(value); }
    TQATAppearance* QATAppearance() { return &qatAppearance_; }
    const TQATAppearance* QATAppearance() const { return &qatAppearance_; }
    void SetQATAppearance(const TQATAppearance* value) { qatAppearance_.Assign(value); }

    // Fonts.
    TFont* Font() { return &font_; }
    const TFont* Font() const { return &font_; }
    void SetFont(const TFont* value);
    TFont* CaptionFont() { return &captionFont_; }
    const TFont* CaptionFont() const { return &captionFont_; }
    void SetCaptionFont(const TFont* value);
    bool SystemFont() const { return systemFont_; }
    /// Turning the switch on names Font and CaptionFont after the system UI font again.
    void SetSystemFont(bool value);

    // Drag grip and right handle.
    TDragGripStyle DragGripStyle() const { return dragGripStyle_; }
    void SetDragGripStyle(TDragGripStyle value);
    TBitmap* DragGripImage() { return &dragGripImage_; }
    const TBitmap* DragGripImage() const { return &dragGripImage_; }
    void SetDragGripImage(const TBitmap* value) { dragGripImage_.Assign(value); }
    TBitmap* RightHandleImage() { return &rightHandleImage_; }
    const TBitmap* RightHandleImage() const { return &rightHandleImage_; }
    void SetRightHandleImage(const TBitmap* value);
    TColor RightHandleColor() const { return rightHandleColor_; }
    void SetRightHandleColor(TColor value) { UpdateColor(rightHandleColor_, value); }
    TColor RightHandleColorTo() const { return rightHandleColorTo_; }
    void SetRightHandleColorTo(TColor value) { UpdateColor(rightHandleColorTo_, value); }
    TColor RightHandleColorHot() const { return rightHandleColorHot_; }
    void SetRightHandleColorHot(TColor value) { UpdateColor(rightHandleColorHot_, value); }
    TColor RightHandleColorHotTo() const { return rightHandleColorHotTo_; }
    void SetRightHandleColorHotTo(TColor value) { UpdateColor(rightHandleColorHotTo_, value); }
    TColor RightHandleColorDown() const { return rightHandleColorDown_; }
    void SetRightHandleColorDown(TColor value) { UpdateColor(rightHandleColorDown_, value); }
    TColor RightHandleColorDownTo() const { return rightHandleColorDownTo_; }
    void SetRightHandleColorDownTo(TColor value) { UpdateColor(rightHandleColorDownTo_, value); }

    // Floating window.
    TColor FloatingWindowBorderColor() const { return floatingWindowBorderColor_; }
    void SetFloatingWindowBorderColor(TColor value) { UpdateColor(floatingWindowBorderColor_, value); }
    int FloatingWindowBorderWidth() const { return floatingWindowBorderWidth_; }
    void SetFloatingWindowBorderWidth(int value);

    bool AutoThemeAdapt() const { return autoThemeAdapt_; }
    void SetAutoThemeAdapt(bool value) { autoThemeAdapt_ = value; }

    // Unpublished switches.
    bool RoundCorners() const { return roundCorners_; }
    /// Always sends code 2, changed or not.
    void SetRoundCorners(bool value);
    std::uint8_t ToolBarBevel() const { return toolBarBevel_; }
    void SetToolBarBevel(std::uint8_t value);
    bool ShowToolBarBevel() const { return showToolBarBevel_; }
    void SetShowToolBarBevel(bool value);
    /// The shared style number toolbars hand to child controls; 8 means none.
    std::uint8_t ComponentStyle() const { return componentStyle_; }
    void SetComponentStyle(std::uint8_t value) { componentStyle_ = value; }
    /// Ribbon-only values a preset sets and only ribbon pagers read.
    int PagerStyle() const { return pagerStyle_; }
    void SetPagerStyle(int value) { pagerStyle_ = value; }
    TColor PagerCaptionColor() const { return pagerCaptionColor_; }
    /// Sends code 11 when changed.
    void SetPagerCaptionColor(TColor value);

    /// Copies the look of another styler (see the .cpp for what is left out);
    /// any other class is an error.
    void Assign(const TPersistent* source) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void UpdateColor(TColor& field, TColor value);
    void ApplySystemFontName();

    // Declared in construction order.
    std::vector<TComponent*> controls_;
    TBitmap backGround_;
    bool backGroundTransparent_ = true;
    TBackGroundDisplay backGroundDisplay_ = bdTile;
    TFont font_;
    TDragGripStyle dragGripStyle_ = dsDots;
    TBitmap dragGripImage_;
    TBitmap rightHandleImage_;
    bool roundCorners_ = true;
    TColor rightHandleColor_ = static_cast<TColor>(0x9E9E9E);
    TColor rightHandleColorTo_ = clBlack;
    TColor rightHandleColorHot_ = static_cast<TColor>(0xD2BDB6);
    TColor rightHandleColorHotTo_ = clBlack;
    TColor rightHandleColorDown_ = static_cast<TColor>(0x76C1FF);
    TColor rightHandleColorDownTo_ = static_cast<TColor>(0x2DA0FF);
    TColor floatingWindowBorderColor_ = static_cast<TColor>(0x6D6D6D);
    int floatingWindowBorderWidth_ = 2;
    TCaptionAppearance captionAppearance_;
    std::uint8_t toolBarBevel_ = 0;
    bool showToolBarBevel_ = false;
    TVistaGradientBackground color_;
    TGradientBackground dockColor_;
    TButtonAppearance buttonAppearance_;
    TAdvMenuStyler* internalMenuStyler_ = nullptr;
    TCustomAdvMenuStyler* advMenuStyler_ = nullptr;
    TColor borderColor_ = clNone;
    TColor borderColorHot_ = clNone;
    TVistaGradientBackground colorHot_;
    TFont captionFont_;
    TContainerAppearance containerAppearance_;
    TGlowButtonAppearance glowButtonAppearance_;
    TGlowButtonAppearance compactGlowButtonAppearance_;
    TVistaTextBackground pagerCaption_;
    TTabAppearance tabAppearance_;
    TVistaPageBackground pageAppearance_;
    TGroupAppearance groupAppearance_;
    TQATAppearance qatAppearance_;
    bool systemFont_ = true;
    bool autoThemeAdapt_ = false;
    std::uint8_t componentStyle_ = 0;
    int pagerStyle_ = 0;
    TColor pagerCaptionColor_ = 0;
};

} // namespace emr
