#pragma once

#include <memory>
#include <string>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"
#include "styling/ButtonAppearance.h"
#include "toolbar/AdvCustomToolBarControl.h"
#include "toolbar/AdvToolBarButtonDrawPosition.h"

namespace emr {

class TAdvPopupMenu;
class TBasicAction;
class TCustomAdvToolBarStyler;
class TCustomImageList;
class TMenuItem;
class TTimer;
class TAdvToolBarButtonActionLink;

/// Rich hint data of a toolbar component (title, notes); only stored and copied.
class TAdvHintInfo : public TPersistent {
    EMR_CLASS(TAdvHintInfo)
public:
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }
    const std::string& Notes() const { return notes_; }
    void SetNotes(const std::string& value) { notes_ = value; }
    void Assign(const TPersistent* source) override;

private:
    std::string title_;
    std::string notes_;
};

/// The button machinery shared by toolbar buttons and menu buttons: content size,
/// faces by state, hot tracking, presses, latching in groups and drop-down menus.
///
/// State machine (state field; "inside" = pointer within the client area):
///
///   tbsUp        --press main area (not Down) / press tasCheck-->  tbsDown
///   tbsDown      --drag outside-->  tbsUp (tbsExclusive when Down)
///   tbsUp/Excl.  --drag back inside-->  tbsDown (tbsExclusive when Down)
///   tbsDown      --release, grouped, inside-->  tbsExclusive if it latched, else tbsUp
///   tbsDown      --release, ungrouped-->  tbsUp
///   any          --Down := True in a group-->  tbsExclusive
///   any          --Down := False, or a peer latched-->  tbsUp
///   any          --press on the drop-down part-->  tbsUp (menu pops up, no click)
///   any          --paint while disabled-->  tbsDisabled
class TAdvCustomToolBarButton : public TAdvCustomToolBarControl {
    EMR_CLASS(TAdvCustomToolBarButton)
public:
    explicit TAdvCustomToolBarButton(TComponent* owner);
    ~TAdvCustomToolBarButton() override;
    void BeforeDestruction() override;

    // Published properties.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* action);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    TButtonAppearance* Appearance() const { return appearance_.get(); }
    void SetAppearance(const TButtonAppearance* value) { appearance_->Assign(value); }
    bool CanRotate() const { return canRotate_; }
    void SetCanRotate(bool value);
    TGlyphPosition GlyphPosition() const { return glyphPosition_; }
    void SetGlyphPosition(TGlyphPosition value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool DropDownButton() const { return dropDownButton_; }
    void SetDropDownButton(bool value);
    TAdvPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TAdvPopupMenu* value);
    bool DropDownSplit() const { return dropDownSplit_; }
    void SetDropDownSplit(bool value) { dropDownSplit_ = value; }
    TAdvToolBarButtonDrawPosition* DrawPosition() const { return drawPosition_.get(); }
    void SetDrawPosition(const TAdvToolBarButtonDrawPosition* value) { drawPosition_->Assign(value); }
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(const TBitmap* value);
    TBitmap* GlyphHot() const { return glyphHot_.get(); }
    void SetGlyphHot(const TBitmap* value) { glyphHot_->Assign(value); }
    TBitmap* GlyphDown() const { return glyphDown_.get(); }
    void SetGlyphDown(const TBitmap* value) { glyphDown_->Assign(value); }
    TBitmap* GlyphDisabled() const { return glyphDisabled_.get(); }
    void SetGlyphDisabled(const TBitmap* value);
    TBitmap* GlyphChecked() const { return glyphChecked_.get(); }
    void SetGlyphChecked(const TBitmap* value) { glyphChecked_->Assign(value); }
    /// Glyph drawn again at larger sizes (each its own width) for finer devices: at a
    /// canvas scale other than 1.0 the size to draw Glyph at is chosen among Glyph,
    /// GlyphMedium and GlyphLarge by ChooseImageSize. Disabled, the chosen one is
    /// greyed; at 1.0, or while none is set, they are not used.
    TBitmap* GlyphMedium() const { return glyphMedium_.get(); }
    void SetGlyphMedium(const TBitmap* value) { glyphMedium_->Assign(value); }
    TBitmap* GlyphLarge() const { return glyphLarge_.get(); }
    void SetGlyphLarge(const TBitmap* value) { glyphLarge_->Assign(value); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(const TPicture* value);
    TPicture* PictureDisabled() const { return pictureDisabled_.get(); }
    void SetPictureDisabled(const TPicture* value);
    bool ParentStyler() const { return parentStyler_; }
    void SetParentStyler(bool value);
    bool Shaded() const { return shaded_; }
    void SetShaded(bool value);
    /// True for a glyph that points a way (back, forward): a right-to-left toolbar
    /// shows it mirrored, while every other picture keeps its orientation.
    bool DirectionalGlyph() const { return directionalGlyph_; }
    void SetDirectionalGlyph(bool value);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    TAdvHintInfo* OfficeHint() const { return officeHint_.get(); }
    void SetOfficeHint(const TAdvHintInfo* value) { officeHint_->Assign(value); }
    TAdvToolButtonStyle Style() const { return style_; }
    void SetStyle(TAdvToolButtonStyle value) { style_ = value; }
    std::string Version() const { return ToolBarVersion; }
    void SetVersion(const std::string&) {}

    TNotifyEvent OnDropDown;

    // Operations other parts of the toolbar use.
    /// Sets or clears the hot flag (forced off unless the state is tbsUp).
    void SetHot(bool value);
    bool Hot() const { return hot_; }
    /// Clears the press and pointer flags and returns to tbsUp.
    void ResetButtonState();
    /// Menu buttons: shows the dropped look and asks the toolbar to drop the menu.
    void OpenButtonMenu();
    /// What Enter or Space does to the button holding the toolbar's keyboard focus:
    /// a menu button drops its menu, a drop-down button without a split part opens
    /// its menu, any other is pressed and released (a check or grouped one toggles).
    void PressByKeyboard();
    /// Opens the button's drop-down or menu-button menu; false when it has none.
    bool OpenMenuByKeyboard();
    /// Rebuilds the grey shadow of the image drawn under a hot button.
    void BuildShade();
    /// Links the button to a menu item (or forgets it with null).
    void LinkMenuItem(TMenuItem* item);
    TMenuItem* MenuItem() const { return menuItem_; }
    /// Index in the toolbar's PositionList, or -1 without a toolbar.
    int PositionInToolBar() const;

    TToolButtonState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }
    bool MenuShown() const { return menuShown_; }
    // Flags the toolbar's menu tracking writes (see the press rules in MouseDown).
    bool MenuDisplayed() const { return menuDisplayed_; }
    void SetMenuDisplayed(bool value) { menuDisplayed_ = value; }
    bool MenuBeingClosed() const { return menuBeingClosed_; }
    void SetMenuBeingClosed(bool value) { menuBeingClosed_ = value; }
    bool InternalClick() const { return internalClick_; }
    void SetInternalClick(bool value) { internalClick_ = value; }
    /// 1 on buttons a toolbar generated from its menu.
    int InternalTag() const { return internalTag_; }
    void SetInternalTag(int value) { internalTag_ = value; }
    TBitmap* ShadowImage() const { return shadowImage_.get(); }

    virtual bool IsMenuButton() const { return false; }
    virtual int PackedVersion() const { return (5 << 24) | (0 << 16) | (3 << 8) | 0; }
    bool CanRotateContent() const override { return canRotate_; }

    /// Recomputes Width and Height from image and caption (UpdateButtonSize).
    void UpdateControlSize() override;
    void Click() override;
    void Loaded() override;
    void DescribeAccessible(platform::TAccessibleNode& node) const override;
    bool DoAccessibleAction(TComponent* part, int index) override;

protected:
    /// The colours, direction and glyph of one look of the face.
    struct TLook {
        TColor from = clNone;
        TColor to = clNone;
        TColor ddFrom = clNone;
        TColor ddTo = clNone;
        TColor border = clNone;
        TColor caption = clNone;
        TGradientDirection direction = gdHorizontal;
        TBitmap* glyph = nullptr;
    };

    virtual void DrawContent(TCanvas& canvas, const TRect& rect, TColor captionColor, TBitmap* glyph);
    virtual void DrawFace(TCanvas& canvas);
    /// Picks the look for the current state from the appearance in effect.
    TLook ChooseLook() const;
    /// Paints face, border, drop-down part and content in the given look.
    void PaintFace(TCanvas& canvas, TLook look);
    /// Whether the face (drop-down part and arrow) is laid out vertically.
    virtual bool FaceRotated() const { return Rotated(); }

    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void TextChanged() override;
    void EnabledChanged() override;
    void FontChanged() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

    /// The styler of the toolbar when ParentStyler is set and there is a toolbar, else null.
    TCustomAdvToolBarStyler* StylerInEffect() const;
    /// The appearance the faces are painted with.
    const TButtonAppearance* AppearanceInEffect() const;
    /// The font captions are measured and written with.
    const TFont* CaptionFontInEffect() const;
    /// The image list and index in effect (list null when none).
    TCustomImageList* ImagesInEffect(int& index) const;
    /// Width and height of the image in effect for the size computation.
    TSize ImageExtent() const;
    /// Measures the caption with the caption font (0 x 0 without a shown caption).
    TSize MeasureCaption(TCanvas& canvas) const;
    /// The drop-down part of the client area (empty without DropDownButton).
    TRect DropDownRect() const;
    void DrawDropDownArrow(TCanvas& canvas, int x, int y, TColor color) const;
    /// Fires OnDropDown and pops the drop-down menu up under the button.
    void ShowDropDownMenu();
    void NotifyGroup();
    void ReCheckTracking();
    void LeaveTimerTick();

    TToolButtonState state_ = TToolButtonState::tbsUp;
    bool mouseInControl_ = false;
    bool hot_ = false;
    bool mousePressed_ = false;
    bool dragging_ = false;
    bool menuShown_ = false;
    int spacing_ = 4;
    int offset_ = 4;
    int dropDownWidth_ = 12;

private:
    friend class TAdvToolBarButtonActionLink;
    void GlyphChanged();
    void PictureChanged();
    void ActionChanged(bool checkDefaults);
    void MakeDisabledGlyph();
    TBitmap* GlyphForDevice(const TCanvas& canvas, const TRect& box, TBitmap* glyph,
                            std::unique_ptr<TBitmap>& made) const;

    bool allowAllUp_ = false;
    std::unique_ptr<TButtonAppearance> appearance_;
    bool canRotate_ = true;
    TGlyphPosition glyphPosition_ = TGlyphPosition::gpLeft;
    int groupIndex_ = 0;
    bool down_ = false;
    bool initialDown_ = false;
    bool dropDownButton_ = false;
    TAdvPopupMenu* dropDownMenu_ = nullptr;
    bool dropDownSplit_ = true;
    std::unique_ptr<TAdvToolBarButtonDrawPosition> drawPosition_;
    std::unique_ptr<TBitmap> glyph_, glyphHot_, glyphDown_, glyphDisabled_, glyphChecked_;
    std::unique_ptr<TBitmap> glyphMedium_, glyphLarge_;
    std::unique_ptr<TBitmap> shadowImage_;
    bool shadeFromGlyph_ = true;
    int imageIndex_ = -1;
    std::unique_ptr<TPicture> picture_, pictureDisabled_;
    bool parentStyler_ = true;
    bool shaded_ = true;
    bool directionalGlyph_ = false;
    bool showCaption_ = false;
    std::unique_ptr<TAdvHintInfo> officeHint_;
    TAdvToolButtonStyle style_ = TAdvToolButtonStyle::tasButton;
    bool flat_ = true;
    bool disabledGlyphGenerated_ = false;
    TMenuItem* menuItem_ = nullptr;
    bool menuDisplayed_ = false;
    bool menuBeingClosed_ = false;
    bool internalClick_ = false;
    int internalTag_ = 0;
    TTimer* leaveTimer_ = nullptr;
    std::unique_ptr<TAdvToolBarButtonActionLink> actionLink_;
};

} // namespace emr
