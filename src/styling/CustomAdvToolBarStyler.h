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
#include "styling/RecordFields.h"
#include "styling/RibbonAppearances.h"
#include "styling/StylerClient.h"
#include "styling/StylingTypes.h"

namespace emr {

// The styler's own values, one line each (see RecordFields.h); Code is the
// change code the setter sends. Assign copies the background switches, the grip
// style and the floating-window border through their setters and the pager
// style as it is. The switches marked Never are not published:
//   RoundCorners       sends code 2 on every call, changed or not;
//   ComponentStyle     the shared style number toolbars hand to child controls
//                      (8: none);
//   PagerStyle, PagerCaptionColor  ribbon-only values a preset sets and only
//                      ribbon pagers read.
// SetSystemFont(true) names Font and CaptionFont after the system UI font again.
#define EMR_TOOLBAR_STYLER_FIELDS(F)                                                                         \
    F(bool, AutoThemeAdapt, autoThemeAdapt_, false, scSilent, Silent, Skip, Start)                           \
    F(bool, BackGroundTransparent, backGroundTransparent_, true, scBackground, Change, Setter, Start)        \
    F(TBackGroundDisplay, BackGroundDisplay, backGroundDisplay_, bdTile, scBackground, Change, Setter,       \
      Start)                                                                                                 \
    F(TColor, BorderColor, borderColor_, clNone, scColors, Change, Skip, Start)                              \
    F(TColor, BorderColorHot, borderColorHot_, clNone, scColors, Change, Skip, Start)                        \
    F(TDragGripStyle, DragGripStyle, dragGripStyle_, dsDots, scDragGrip, Change, Setter, Start)              \
    F(TColor, FloatingWindowBorderColor, floatingWindowBorderColor_, 0x6D6D6D, scColors, Change, Setter,     \
      Always)                                                                                                \
    F(int, FloatingWindowBorderWidth, floatingWindowBorderWidth_, 2, scColors, Change, Setter, Start)        \
    F(TColor, RightHandleColor, rightHandleColor_, 0x9E9E9E, scColors, Change, Skip, Start)                  \
    F(TColor, RightHandleColorTo, rightHandleColorTo_, clBlack, scColors, Change, Skip, Start)               \
    F(TColor, RightHandleColorHot, rightHandleColorHot_, 0xD2BDB6, scColors, Change, Skip, Always)           \
    F(TColor, RightHandleColorHotTo, rightHandleColorHotTo_, clBlack, scColors, Change, Skip, Always)        \
    F(TColor, RightHandleColorDown, rightHandleColorDown_, 0x76C1FF, scColors, Change, Skip, Always)         \
    F(TColor, RightHandleColorDownTo, rightHandleColorDownTo_, 0x2DA0FF, scColors, Change, Skip, Always)     \
    F(bool, SystemFont, systemFont_, true, scSilent, Custom, Skip, Start)                                    \
    F(bool, RoundCorners, roundCorners_, true, scColors, Always, Skip, Never)                                \
    F(std::uint8_t, ToolBarBevel, toolBarBevel_, 0, scColors, Change, Skip, Never)                           \
    F(bool, ShowToolBarBevel, showToolBarBevel_, false, scColors, Change, Skip, Never)                       \
    F(std::uint8_t, ComponentStyle, componentStyle_, 0, scSilent, Silent, Skip, Never)                       \
    F(int, PagerStyle, pagerStyle_, 0, scSilent, Silent, Plain, Never)                                       \
    F(TColor, PagerCaptionColor, pagerCaptionColor_, 0, scPagerCaption, Change, Skip, Never)

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

    // Drag grip and right handle.
    TBitmap* DragGripImage() { return &dragGripImage_; }
    const TBitmap* DragGripImage() const { return &dragGripImage_; }
    void SetDragGripImage(const TBitmap* value) { dragGripImage_.Assign(value); }
    TBitmap* RightHandleImage() { return &rightHandleImage_; }
    const TBitmap* RightHandleImage() const { return &rightHandleImage_; }
    void SetRightHandleImage(const TBitmap* value);

    /// Copies the look of another styler (see the .cpp for what is left out);
    /// any other class is an error.
    void Assign(const TPersistent* source) override;

    EMR_CODED_FIELDS(TCustomAdvToolBarStyler, EMR_TOOLBAR_STYLER_FIELDS)

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Changed(int code) { NotifyControls(code); }
    void ApplySystemFontName();

    // The owned objects, in construction order.
    std::vector<TComponent*> controls_;
    TBitmap backGround_;
    TFont font_;
    TBitmap dragGripImage_;
    TBitmap rightHandleImage_;
    TCaptionAppearance captionAppearance_;
    TVistaGradientBackground color_;
    TGradientBackground dockColor_;
    TButtonAppearance buttonAppearance_;
    TAdvMenuStyler* internalMenuStyler_ = nullptr;
    TCustomAdvMenuStyler* advMenuStyler_ = nullptr;
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
};

} // namespace emr
