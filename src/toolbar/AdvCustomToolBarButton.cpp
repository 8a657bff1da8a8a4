#include "toolbar/AdvCustomToolBarButton.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/controls/AccessibleChanges.h"
#include "framework/controls/Mouse.h"
#include "framework/controls/WinControl.h"
#include "framework/core/Exception.h"
#include "framework/forms/ActnList.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/Timer.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"
#include "framework/graphics/ImageScaling.h"
#include "menus/AdvPopupMenu.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "styling/GradientPainting.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvToolBarButtonActionLink.h"
#include "toolbar/ToolBarFocus.h"

namespace emr {

void TAdvHintInfo::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TAdvHintInfo*>(source)) {
        title_ = other->title_;
        notes_ = other->notes_;
        return;
    }
    TPersistent::Assign(source);
}

namespace {

/// Paints a bitmap with its transparent colour left out. The flags are set
/// quietly: the bitmap tells its owner about every change, and an owner told
/// while it paints would invalidate itself and be painted a second time.
void DrawTransparently(TCanvas& canvas, const TRect& box, TBitmap* bitmap,
                       TTransparentMode mode = TTransparentMode::tmAuto) {
    if (!bitmap->Transparent() || bitmap->TransparentMode() != mode) {
        TNotifyEvent owner = std::exchange(bitmap->OnChange, nullptr);
        bitmap->SetTransparentMode(mode);
        bitmap->SetTransparent(true);
        bitmap->OnChange = std::move(owner);
    }
    DrawGlyphBitmap(canvas, box.Left, box.Top, box.Width(), box.Height(), *bitmap);
}

void DrawTransparently(TCanvas& canvas, int x, int y, TBitmap* bitmap,
                       TTransparentMode mode = TTransparentMode::tmAuto) {
    DrawTransparently(canvas, TRect::FromBounds(x, y, bitmap->Width(), bitmap->Height()), bitmap, mode);
}

/// A copy of `bitmap` reflected left to right that leaves out the original's
/// transparent colour (the reflection moves the pixel that names it).
std::unique_ptr<TBitmap> MirroredCopy(TBitmap& bitmap) {
    const int w = bitmap.Width();
    auto copy = std::make_unique<TBitmap>(w, bitmap.Height());
    for (int y = 0; y < bitmap.Height(); ++y) {
        const std::uint32_t* from = bitmap.ScanLine(y);
        std::uint32_t* to = copy->ScanLine(y);
        for (int x = 0; x < w; ++x)
            to[x] = from[w - 1 - x];
    }
    copy->SetTransparentColor(bitmap.TransparentColor());
    copy->SetTransparent(true);
    return copy;
}

/// The greyed form a disabled button shows of a glyph it was given no disabled form of.
void MakeGreyedCopy(const TBitmap& glyph, TBitmap& grey) {
    grey.Assign(&glyph);
    grey.SetPixelFormat(TPixelFormat::pf24bit);
    for (int y = 0; y < grey.Height(); ++y) {
        for (int x = 0; x < grey.Width(); ++x) {
            TColor c = ColorToRGB(glyph.Pixel(x, y));
            int g = ((GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3) / 2 + 96;
            grey.ScanLine(y)[x] = ColorToPixel(RGB(g, g, g));
        }
    }
}

} // namespace

TAdvCustomToolBarButton::TAdvCustomToolBarButton(TComponent* owner) : TAdvCustomToolBarControl(owner) {
    auto resizeAndRepaint = [this](TObject*) { GlyphChanged(); };
    glyph_ = std::make_unique<TBitmap>();
    glyph_->OnChange = resizeAndRepaint;
    glyphHot_ = std::make_unique<TBitmap>();
    glyphDown_ = std::make_unique<TBitmap>();
    glyphDisabled_ = std::make_unique<TBitmap>();
    glyphChecked_ = std::make_unique<TBitmap>();
    glyphMedium_ = std::make_unique<TBitmap>();
    glyphMedium_->OnChange = [this](TObject*) { Invalidate(); };
    glyphLarge_ = std::make_unique<TBitmap>();
    glyphLarge_->OnChange = [this](TObject*) { Invalidate(); };
    shadowImage_ = std::make_unique<TBitmap>();
    drawPosition_ = std::make_unique<TAdvToolBarButtonDrawPosition>();
    drawPosition_->OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(0, 0, 23, 22);
    // Clicks come from the button's own release handling, not the framework's.
    controlStyle_ = (controlStyle_ | csCaptureMouse | csDoubleClicks) & ~csClickEvents;
    SetParentFont(true);
    appearance_ = std::make_unique<TButtonAppearance>();
    appearance_->OnChange = [this](TObject*) { Invalidate(); };
    SetAutoSize(true);
    Font()->SetName("Tahoma");
    SetParentFont(false);
    picture_ = std::make_unique<TPicture>();
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
    pictureDisabled_ = std::make_unique<TPicture>();
    pictureDisabled_->OnChange = [this](TObject*) { PictureChanged(); };
    leaveTimer_ = new TTimer(this);
    leaveTimer_->SetEnabled(false);
    leaveTimer_->SetInterval(1);
    leaveTimer_->OnTimer = [this](TObject*) { LeaveTimerTick(); };
    officeHint_ = std::make_unique<TAdvHintInfo>();
}

TAdvCustomToolBarButton::~TAdvCustomToolBarButton() = default;

void TAdvCustomToolBarButton::BeforeDestruction() {
    if (TAdvCustomToolBar* tb = ToolBar()) {
        if (tb->HotButton() == this) tb->HotChanged(nullptr);
    }
    actionLink_.reset();
    TAdvCustomToolBarControl::BeforeDestruction();
}

// ---- Properties -------------------------------------------------------------------------

TBasicAction* TAdvCustomToolBarButton::Action() const {
    return actionLink_ ? actionLink_->Action() : nullptr;
}

void TAdvCustomToolBarButton::SetAction(TBasicAction* action) {
    if (action == Action()) return;
    if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
    if (!action) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_ = std::make_unique<TAdvToolBarButtonActionLink>(this);
    actionLink_->SetAction(action);
    action->FreeNotification(this);
    ActionChanged(action->HasState(csLoading));
}

void TAdvCustomToolBarButton::ActionChanged(bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Action());
    if (!action) return;
    if (!checkDefaults || Caption().empty()) SetCaption(action->Caption());
    if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
    if (!checkDefaults || Hint().empty()) SetHint(action->Hint());
    if (!checkDefaults || Visible()) SetVisible(action->Visible());
    if (checkDefaults || groupIndex_ == 0) SetGroupIndex(action->GroupIndex());
    SetImageIndex(action->ImageIndex());
}

void TAdvCustomToolBarButton::SetAllowAllUp(bool value) {
    if (allowAllUp_ != value) allowAllUp_ = value;
    NotifyGroup();
}

void TAdvCustomToolBarButton::SetCanRotate(bool value) {
    if (canRotate_ == value) return;
    canRotate_ = value;
    UpdateControlSize();
    Invalidate();
}

void TAdvCustomToolBarButton::SetGlyphPosition(TGlyphPosition value) {
    if (glyphPosition_ == value) return;
    glyphPosition_ = value;
    UpdateControlSize();
    Invalidate();
}

void TAdvCustomToolBarButton::SetGroupIndex(int value) {
    if (groupIndex_ != value) groupIndex_ = value;
    NotifyGroup();
}

void TAdvCustomToolBarButton::SetDown(bool value) {
    if (Loading()) initialDown_ = value;
    if (groupIndex_ == 0 && style_ == TAdvToolButtonStyle::tasButton) value = false;
    if (style_ == TAdvToolButtonStyle::tasCheck) {
        const bool changed = down_ != value;
        down_ = value;
        state_ = value ? TToolButtonState::tbsDown : TToolButtonState::tbsUp;
        Repaint();
        if (changed) TAccessibleChanges::Report(platform::TAccessibleEvent::StateChanged, this);
        return;
    }
    if (value == down_ || (down_ && !allowAllUp_)) return;
    down_ = value;
    if (value) {
        if (state_ == TToolButtonState::tbsUp) Invalidate();
        state_ = TToolButtonState::tbsExclusive;
    } else {
        state_ = TToolButtonState::tbsUp;
        Repaint();
    }
    if (value) NotifyGroup();
    TAccessibleChanges::Report(platform::TAccessibleEvent::StateChanged, this);
}

void TAdvCustomToolBarButton::SetDropDownButton(bool value) {
    if (dropDownButton_ == value) return;
    dropDownButton_ = value;
    UpdateControlSize();
    Invalidate();
}

void TAdvCustomToolBarButton::SetDropDownMenu(TAdvPopupMenu* value) {
    if (dropDownMenu_ == value) return;
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = value;
    if (value) value->FreeNotification(this);
}

void TAdvCustomToolBarButton::SetGlyph(const TBitmap* value) {
    glyph_->Assign(value);
    MakeDisabledGlyph();
    Invalidate();
}

void TAdvCustomToolBarButton::SetImageIndex(int value) {
    if (imageIndex_ == value) return;
    imageIndex_ = value;
    if (shaded_) BuildShade();
    UpdateControlSize();
    Invalidate();
}

void TAdvCustomToolBarButton::SetPicture(const TPicture* value) {
    picture_->Assign(value);
    Invalidate();
}

void TAdvCustomToolBarButton::SetPictureDisabled(const TPicture* value) {
    pictureDisabled_->Assign(value);
    Invalidate();
}

void TAdvCustomToolBarButton::SetParentStyler(bool value) {
    if (parentStyler_ == value) return;
    parentStyler_ = value;
    Invalidate();
}

void TAdvCustomToolBarButton::SetShaded(bool value) {
    shaded_ = value;
    if (value && !Loading()) BuildShade();
}

void TAdvCustomToolBarButton::SetDirectionalGlyph(bool value) {
    if (value == directionalGlyph_) return;
    directionalGlyph_ = value;
    Invalidate();
}

void TAdvCustomToolBarButton::SetShowCaption(bool value) {
    showCaption_ = value;
    UpdateControlSize();
    Invalidate();
}

void TAdvCustomToolBarButton::GlyphChanged() {
    UpdateControlSize();
    Invalidate();
}

void TAdvCustomToolBarButton::PictureChanged() {
    UpdateControlSize();
    Invalidate();
}

/// Fills GlyphDisabled with a grey copy of Glyph. A copy this button made itself
/// follows later glyph changes; one supplied from outside is kept.
void TAdvCustomToolBarButton::MakeDisabledGlyph() {
    if (!glyphDisabled_->Empty() && !disabledGlyphGenerated_) return;
    if (glyph_->Empty()) {
        if (disabledGlyphGenerated_) glyphDisabled_->SetSize(0, 0);
        return;
    }
    TBitmap grey;
    MakeGreyedCopy(*glyph_, grey);
    glyphDisabled_->Assign(&grey);
    disabledGlyphGenerated_ = true;
}

/// The glyph held at the size that suits the device box of `box`, greyed when the
/// disabled form was asked for (the stored disabled form only fits the base size).
TBitmap* TAdvCustomToolBarButton::GlyphForDevice(const TCanvas& canvas, const TRect& box, TBitmap* glyph,
                                                 std::unique_ptr<TBitmap>& made) const {
    const bool disabled = glyph == glyphDisabled_.get();
    if (canvas.Scale() == 1.0 || (glyph != glyph_.get() && !disabled) || glyph_->Empty()) return glyph;
    std::vector<int> sizes{glyph_->Width()};
    std::vector<TBitmap*> held{glyph_.get()};
    for (TBitmap* larger : {glyphMedium_.get(), glyphLarge_.get()})
        if (!larger->Empty()) {
            sizes.push_back(larger->Width());
            held.push_back(larger);
        }
    if (held.size() == 1) return glyph;
    const TImageSizeChoice choice = ChooseImageSize(sizes, canvas.DeviceRect(box).Width());
    const auto chosen = std::find(sizes.begin(), sizes.end(), choice.Size);
    TBitmap* bitmap = chosen == sizes.end() ? glyph_.get() : held[chosen - sizes.begin()];
    if (bitmap == glyph_.get()) return glyph;
    if (!disabled) return bitmap;
    made = std::make_unique<TBitmap>();
    MakeGreyedCopy(*bitmap, *made);
    return made.get();
}

void TAdvCustomToolBarButton::SetGlyphDisabled(const TBitmap* value) {
    glyphDisabled_->Assign(value);
    disabledGlyphGenerated_ = false;
}

// ---- Styler and images in effect ---------------------------------------------------------

TCustomAdvToolBarStyler* TAdvCustomToolBarButton::StylerInEffect() const {
    if (parentStyler_ && ToolBar()) return ToolBar()->CurrentStyler();
    return nullptr;
}

const TButtonAppearance* TAdvCustomToolBarButton::AppearanceInEffect() const {
    if (TCustomAdvToolBarStyler* s = StylerInEffect()) return s->ButtonAppearance();
    return appearance_.get();
}

const TFont* TAdvCustomToolBarButton::CaptionFontInEffect() const {
    if (TCustomAdvToolBarStyler* s = StylerInEffect()) {
        if (IsMenuButton()) return s->CurrentMenuStyler()->RootItem()->Font();
        return s->ButtonAppearance()->CaptionFont();
    }
    return Font();
}

TCustomImageList* TAdvCustomToolBarButton::ImagesInEffect(int& index) const {
    TCustomImageList* list = ToolBar() ? ToolBar()->Images() : nullptr;
    index = imageIndex_;
    if (auto* action = dynamic_cast<TCustomAction*>(Action()); action && action->ActionList()) {
        index = action->ImageIndex();
        if (action->ActionList()->Images()) list = action->ActionList()->Images();
    }
    return list;
}

TSize TAdvCustomToolBarButton::ImageExtent() const {
    int index = -1;
    TCustomImageList* list = ImagesInEffect(index);
    if (list && index >= 0) return {list->Width(), list->Height()};
    TSize size;
    for (const TBitmap* g :
         {glyph_.get(), glyphHot_.get(), glyphDown_.get(), glyphChecked_.get(), glyphDisabled_.get()}) {
        if (g->Empty()) continue;
        size.Width = std::max(size.Width, g->Width());
        size.Height = std::max(size.Height, g->Height());
    }
    bool glyphsEmpty = glyph_->Empty() && glyphHot_->Empty() && glyphDown_->Empty() && glyphChecked_->Empty();
    if (glyphsEmpty && picture_->Graphic() && !picture_->Graphic()->Empty())
        size = {picture_->Width(), picture_->Height()};
    return size;
}

TSize TAdvCustomToolBarButton::MeasureCaption(TCanvas& canvas) const {
    canvas.SetFont(CaptionFontInEffect());
    if (!showCaption_ || Caption().empty()) return {};
    TRect r{0, 0, 1000, 100};
    canvas.DrawText(Caption(), r, DT_CALCRECT | DT_SINGLELINE);
    return {r.Right, r.Bottom};
}

// ---- Size computation ---------------------------------------------------------------------

void TAdvCustomToolBarButton::UpdateControlSize() {
    if (!Parent() || !AutoSize()) return;
    TSize image = ImageExtent();
    TCanvas& canvas = *Canvas();
    int tw = MeasureCaption(canvas).Width;
    int lh = canvas.TextHeight("gh");
    int iw = image.Width, ih = image.Height, sp = spacing_, o = offset_;
    TAdvCustomToolBar* tb = ToolBar();
    bool sideBySide = glyphPosition_ == TGlyphPosition::gpLeft || glyphPosition_ == TGlyphPosition::gpRight;
    auto along = [&](int imageLength) {
        if (imageLength > 0 && tw > 0) return imageLength + sp + tw;
        if (imageLength > 0) return imageLength;
        return tw;
    };
    int w = Width(), h = Height();
    if (!Rotated()) {
        if (sideBySide) {
            w = along(iw) + 2 * o;
            h = std::max(ih, lh) + 2 * o;
        } else {
            w = std::max(iw, tw) + 2 * o;
            h = lh + ih + sp + 2 * o;
        }
        w = std::max(w, 15) + (dropDownButton_ ? dropDownWidth_ : 0);
        if (tb) {
            if (tb->Floating()) {
                if (canRotate_) h = std::max(h, tb->DockedThickness() - 4);
            } else if (canRotate_ || !IsVertical(Position())) {
                h = std::max(h, tb->Height() - 4 - (tb->ShowCaption() ? tb->CaptionHeight() : 0));
            }
            if (!tb->AutoPositionControls() && !tb->Floating()) h = Height();
        } else {
            h = Height();
        }
    } else {
        if (sideBySide) {
            h = along(ih) + 2 * o;
            w = std::max(iw, lh) + 2 * o;
        } else {
            h = std::max(ih, tw) + 2 * o;
            w = lh + iw + sp + 2 * o;
        }
        h = std::max(h, 15) + (dropDownButton_ ? dropDownWidth_ : 0);
        if (tb && !tb->AutoPositionControls() && !tb->Floating()) w = Width();
    }
    SetBounds(Left(), Top(), w, h);
}

// ---- Painting -----------------------------------------------------------------------------

void TAdvCustomToolBarButton::Paint() {
    if (!Enabled()) {
        state_ = TToolButtonState::tbsDisabled;
        dragging_ = false;
    } else if (state_ == TToolButtonState::tbsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? TToolButtonState::tbsExclusive : TToolButtonState::tbsUp;
    }
    if (style_ == TAdvToolButtonStyle::tasCheck && down_) state_ = TToolButtonState::tbsDown;
    DrawFace(*Canvas());
    if (Designing() && imageIndex_ < 0 && !(showCaption_ && !Caption().empty()) && glyph_->Empty()) {
        TCanvas& c = *Canvas();
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        c.Pen()->SetColor(clBlue);
        c.Pen()->SetStyle(TPenStyle::psDot);
        c.Rectangle(0, 0, Width() - 1, Height() - 1);
        c.Pen()->SetStyle(TPenStyle::psSolid);
    }
    if (TAdvCustomToolBar* tb = ToolBar(); tb && tb->KeyboardFocus()->ShowsRectOn(this))
        Canvas()->DrawFocusRect(
            ClientRect().Inflate(-TToolBarChrome::FocusInset, -TToolBarChrome::FocusInset));
}

TRect TAdvCustomToolBarButton::DropDownRect() const {
    if (!dropDownButton_) return {};
    TRect c = ClientRect();
    if (FaceRotated()) return {c.Left, c.Bottom - dropDownWidth_, c.Right, c.Bottom};
    return {c.Right - dropDownWidth_, c.Top, c.Right, c.Bottom};
}

void TAdvCustomToolBarButton::DrawDropDownArrow(TCanvas& canvas, int x, int y, TColor color) const {
    canvas.Pen()->SetColor(color);
    TBrush brush;
    brush.Assign(canvas.Brush());
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(color);
    if (!FaceRotated())
        canvas.FillArrow({x, y, x + 5, y + 3}, TArrowDirection::adDown);
    else if (Position() == TDockAlign::daLeft && !IsMenuButton())
        canvas.FillArrow({x - 2, y, x + 1, y + 5}, TArrowDirection::adRight);
    else // the right edge, and menu buttons on either vertical edge
        canvas.FillArrow({x - 2, y, x + 1, y + 5}, TArrowDirection::adLeft);
    canvas.SetBrush(&brush);
}

TAdvCustomToolBarButton::TLook TAdvCustomToolBarButton::ChooseLook() const {
    const TButtonAppearance* a = AppearanceInEffect();
    TLook look;
    bool checkDown = style_ == TAdvToolButtonStyle::tasCheck && state_ == TToolButtonState::tbsDown;
    if (state_ == TToolButtonState::tbsDisabled || !Enabled()) {
        look.caption = appearance_->CaptionTextColor();
        look.direction = a->GradientDirection();
        look.glyph = glyphDisabled_.get();
    } else if ((state_ == TToolButtonState::tbsDown || (hot_ && state_ == TToolButtonState::tbsExclusive) ||
                mousePressed_) &&
               !checkDown) {
        look = {a->ColorDown(),
                a->ColorDownTo(),
                a->ColorHot(),
                a->ColorHotTo(),
                a->BorderDownColor(),
                a->CaptionTextColorDown(),
                a->GradientDirectionDown(),
                glyphDown_.get()};
    } else if (state_ == TToolButtonState::tbsExclusive || checkDown) {
        look = {a->ColorChecked(),
                a->ColorCheckedTo(),
                a->ColorChecked(),
                a->ColorCheckedTo(),
                a->BorderCheckedColor(),
                a->CaptionTextColorChecked(),
                a->GradientDirectionChecked(),
                glyphChecked_.get()};
    } else if (!hot_) {
        look.caption = a->CaptionTextColor();
        look.direction = a->GradientDirection();
        look.glyph = glyph_.get();
    } else {
        look = {a->ColorHot(),
                a->ColorHotTo(),
                a->ColorHot(),
                a->ColorHotTo(),
                a->BorderHotColor(),
                a->CaptionTextColorHot(),
                a->GradientDirectionHot(),
                glyphHot_.get()};
    }
    return look;
}

void TAdvCustomToolBarButton::DrawFace(TCanvas& canvas) {
    PaintFace(canvas, ChooseLook());
}

void TAdvCustomToolBarButton::PaintFace(TCanvas& canvas, TLook look) {
    TRect c = ClientRect();
    TRect d = DropDownRect();
    TRect m = c;
    if (dropDownButton_) (FaceRotated() ? m.Bottom : m.Right) = FaceRotated() ? d.Top : d.Left;

    bool horizontal = look.direction == gdHorizontal;
    if (look.from != clNone && look.to != clNone) {
        if (dropDownButton_) DrawGradient(canvas, look.ddFrom, look.ddTo, 40, d, horizontal);
        DrawGradient(canvas, look.from, look.to, 40, m, horizontal);
    } else if (look.from != clNone) {
        auto solid = [&](TColor color, const TRect& r) {
            canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
            canvas.Brush()->SetColor(color);
            canvas.Pen()->SetColor(color);
            canvas.Rectangle(r);
        };
        if (dropDownButton_) solid(look.ddFrom, d);
        solid(look.from, m);
    }
    if (look.border != clNone) {
        canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        canvas.Pen()->SetColor(look.border);
        if (dropDownButton_ && dropDownSplit_) canvas.Rectangle(d);
        if (!dropDownButton_ || dropDownSplit_)
            canvas.Rectangle(m);
        else
            canvas.Rectangle(m.Left, m.Top, c.Right, m.Bottom);
    }
    if (menuShown_ && dropDownButton_) {
        canvas.Pen()->SetColor(clNavy);
        if (dropDownSplit_) {
            if (!FaceRotated()) {
                canvas.MoveTo(m.Left, d.Bottom);
                canvas.LineTo(m.Left, d.Top);
                canvas.LineTo(d.Right - 1, d.Top);
                canvas.LineTo(d.Right - 1, d.Bottom);
            } else {
                canvas.MoveTo(m.Left, d.Bottom);
                canvas.LineTo(m.Left, m.Top);
                canvas.LineTo(d.Right - 1, m.Top);
                canvas.LineTo(d.Right - 1, d.Bottom);
            }
        }
    }
    if (dropDownButton_) {
        int x, y;
        if (!FaceRotated()) {
            x = d.Left + (d.Width() - 5) / 2;
            y = d.Top + (d.Height() - 3) / 2 + 1;
        } else {
            x = d.Left + (d.Width() - 3) / 2 + (Position() == TDockAlign::daLeft && !IsMenuButton() ? 2 : 1);
            y = d.Top + (d.Height() - 5) / 2;
        }
        DrawDropDownArrow(canvas, x, y, clBlack);
    }
    TBitmap* glyph = look.glyph;
    if ((!glyph || glyph->Empty()) && !glyph_->Empty()) glyph = glyph_.get();
    DrawContent(canvas, m, look.caption, glyph);
}

void TAdvCustomToolBarButton::DrawContent(TCanvas& canvas, const TRect& r, TColor captionColor,
                                          TBitmap* glyph) {
    canvas.SetFont(Font());
    int tw = 0, th = 0;
    if (showCaption_) {
        TSize t = MeasureCaption(canvas);
        tw = t.Width;
        th = t.Height;
    }
    int sp = tw >= 1 && th >= 1 ? spacing_ : 0;
    int w = r.Width(), h = r.Height();
    bool rotated = Rotated();
    TRect text = r;
    unsigned format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    TPoint p = rotated ? TPoint{r.Right + 1 - (w - th) / 2, r.Top + (h - tw) / 2} : TPoint{r.Left, r.Top};

    enum class Source { None, List, Glyph, Picture } source = Source::None;
    int index = -1;
    TCustomImageList* list = ImagesInEffect(index);
    int iw = 0, ih = 0;
    if (list && index >= 0) {
        source = Source::List;
        iw = list->Width();
        ih = list->Height();
    } else if (glyph && !glyph->Empty()) {
        source = Source::Glyph;
        iw = glyph->Width();
        ih = glyph->Height();
    } else if (picture_->Graphic() && !picture_->Graphic()->Empty()) {
        source = Source::Picture;
        iw = picture_->Width();
        ih = picture_->Height();
    }

    int x = 0, y = 0;
    if (source != Source::None) {
        if (!rotated) {
            switch (glyphPosition_) {
            case TGlyphPosition::gpLeft:
                x = (w - (tw + iw + sp)) / 2;
                y = (Height() - ih) / 2;
                text = {x + iw + sp, r.Top, r.Right, r.Bottom};
                format = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
                break;
            case TGlyphPosition::gpRight: {
                int t = (w - (iw + sp + tw)) / 2;
                x = w - t - iw;
                y = (Height() - ih) / 2;
                text = {t, r.Top, x - sp, r.Bottom};
                format = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
                break;
            }
            case TGlyphPosition::gpTop:
                x = (w - iw) / 2;
                y = (Height() - (th + ih + sp)) / 2;
                text = {r.Left, y + ih + sp, r.Right, r.Bottom};
                format = DT_CENTER | DT_TOP | DT_SINGLELINE;
                break;
            case TGlyphPosition::gpBottom: {
                x = (w - iw) / 2;
                int t = (Height() - (ih + sp + th)) / 2;
                y = Height() - t - ih;
                text = {r.Left, y - sp - th, r.Right, y};
                format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
                break;
            }
            }
        } else {
            switch (glyphPosition_) {
            case TGlyphPosition::gpLeft:
                x = (w - iw) / 2;
                y = (h - (tw + ih + sp)) / 2;
                p = {r.Right - (w - th) / 2, y + ih + sp};
                break;
            case TGlyphPosition::gpRight: {
                x = (w - iw) / 2;
                int t = (h - (ih + sp + tw)) / 2;
                y = h - t - ih;
                p = {r.Right - (w - th) / 2, r.Top + t};
                break;
            }
            case TGlyphPosition::gpTop: {
                int t = (w - (iw + sp + th)) / 2;
                x = w - t - iw;
                y = (h - ih) / 2;
                int right = x - sp;
                p = {right - (right - r.Left - th) / 2, r.Top + (h - tw) / 2};
                break;
            }
            case TGlyphPosition::gpBottom:
                x = (w - (iw + sp + th)) / 2;
                y = (h - ih) / 2;
                p = {r.Right - (r.Right - (x + sp + iw) - th) / 2, r.Top + (r.Bottom - r.Top - tw) / 2};
                break;
            }
            text.Top = p.Y;
        }
    }

    if (!AutoSize()) {
        if (!rotated && x < 0) {
            text.Left += -x + 1;
            x = 1;
            format |= DT_END_ELLIPSIS;
        } else if (rotated && y < 0) {
            text.Top += -y + 1;
            p.Y += -y + 1;
            y = 1;
            format |= DT_END_ELLIPSIS;
        }
    }
    if (drawPosition_->Enabled()) {
        x = drawPosition_->ImageX();
        y = drawPosition_->ImageY();
    }

    if (shaded_ && mouseInControl_ && hot_ && Enabled() && state_ == TToolButtonState::tbsUp &&
        !mousePressed_ && !shadowImage_->Empty() && source != Source::None) {
        bool drawingList = source == Source::List;
        if (shadeFromGlyph_ == drawingList) BuildShade();
        DrawTransparently(canvas, x + 2, y + 2, shadowImage_.get());
    }

    switch (source) {
    case Source::List: {
        TAdvCustomToolBar* tb = ToolBar();
        if (!Enabled() && tb && tb->DisabledImages())
            tb->DisabledImages()->Draw(&canvas, x, y, index, true);
        else
            list->Draw(&canvas, x, y, index, Enabled());
        break;
    }
    case Source::Glyph: {
        std::unique_ptr<TBitmap> made;
        const TRect box = TRect::FromBounds(x, y, glyph->Width(), glyph->Height());
        TBitmap* drawn = GlyphForDevice(canvas, box, glyph, made);
        if (directionalGlyph_ && UseRightToLeftLayout())
            DrawTransparently(canvas, box, MirroredCopy(*drawn).get(), TTransparentMode::tmFixed);
        else
            DrawTransparently(canvas, box, drawn);
        break;
    }
    case Source::Picture: {
        TPicture* pic = !Enabled() && pictureDisabled_->Graphic() && !pictureDisabled_->Graphic()->Empty()
                            ? pictureDisabled_.get()
                            : picture_.get();
        DrawTransparently(canvas, x, y, pic->Graphic(), pic->Graphic()->TransparentMode());
        break;
    }
    case Source::None:
        break;
    }

    if (Caption().empty() || !showCaption_) return;
    canvas.SetFont(CaptionFontInEffect());
    if (rotated) canvas.Font()->SetOrientation(-900);
    canvas.Font()->SetColor(captionColor);
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    if (!AutoSize()) {
        if (!rotated && text.Left < 0) {
            text.Left = 1;
            format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
        } else if (rotated && p.Y < 0) {
            p.Y = 1;
        }
    }
    if (drawPosition_->Enabled()) {
        format = DT_SINGLELINE | DT_END_ELLIPSIS;
        text = {drawPosition_->TextX(), drawPosition_->TextY(), Width(), Height()};
    }
    bool disabledLook = state_ == TToolButtonState::tbsDisabled;
    if (!rotated) {
        if (disabledLook) {
            text = text.Offset(1, 1);
            canvas.Font()->SetColor(clBtnHighlight);
            canvas.DrawText(Caption(), text, format);
            text = text.Offset(-1, -1);
            canvas.Font()->SetColor(clBtnShadow);
        }
        canvas.DrawText(Caption(), text, format);
    } else if (disabledLook) {
        canvas.Font()->SetColor(clBtnHighlight);
        TextOutVertical(canvas, Caption(), p);
        canvas.Font()->SetColor(clBtnShadow);
        TextOutVertical(canvas, Caption(), {p.X - 1, p.Y - 1});
    } else {
        TextOutVertical(canvas, Caption(), p);
    }
}

void TAdvCustomToolBarButton::BuildShade() {
    TAdvCustomToolBar* tb = ToolBar();
    std::unique_ptr<TBitmap> temp;
    TBitmap* source = nullptr;
    if (imageIndex_ >= 0 && tb && tb->Images()) {
        TCustomImageList* list = tb->Images();
        temp = std::make_unique<TBitmap>(list->Width(), list->Height());
        temp->Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
        temp->Canvas()->Brush()->SetColor(clFuchsia);
        temp->Canvas()->FillRect({0, 0, list->Width(), list->Height()});
        list->Draw(temp->Canvas(), 0, 0, imageIndex_, true);
        source = temp.get();
        shadeFromGlyph_ = false;
    } else if (!glyph_->Empty()) {
        source = glyph_.get();
        shadeFromGlyph_ = true;
    } else {
        return;
    }
    int w = source->Width(), h = source->Height();
    TRect q{0, 0, w, h};
    shadowImage_->SetTransparent(false);
    shadowImage_->SetSize(w, h);
    TCanvas* sc = shadowImage_->Canvas();
    TColor transparent = source->Pixel(0, h - 1);
    sc->Brush()->SetStyle(TBrushStyle::bsSolid);
    sc->Brush()->SetColor(clBlack);
    sc->SetCopyMode(cmSrcCopy);
    sc->BrushCopy(q, source, q, transparent);
    sc->SetCopyMode(cmSrcInvert);
    sc->CopyRect(q, source->Canvas(), q);
    sc->SetCopyMode(cmSrcCopy);

    TBitmap grey(w, h);
    grey.Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
    grey.Canvas()->Brush()->SetColor(static_cast<TColor>(0x808080));
    grey.Canvas()->BrushCopy(q, shadowImage_.get(), q, clBlack);
    sc->CopyRect(q, grey.Canvas(), q);
}

void TAdvCustomToolBarButton::DescribeAccessible(platform::TAccessibleNode& node) const {
    const bool menuOnly = IsMenuButton() && !dropDownButton_;
    const bool toggles = groupIndex_ != 0 || style_ == TAdvToolButtonStyle::tasCheck;
    if (menuOnly)
        node.Role = platform::TAccessibleRole::MenuItem;
    else
        node.Role = toggles ? platform::TAccessibleRole::ToggleButton : platform::TAccessibleRole::PushButton;
    // A button that shows only its glyph is named by its hint.
    if (node.Name.empty() || !showCaption_) {
        const std::string hint = StripHotkey(Hint());
        if (!hint.empty()) node.Name = hint;
    }
    // The toolbar is the Tab stop; its buttons take the focus inside it.
    if (Parent() && Parent()->CanFocus() && Enabled()) node.States |= platform::asFocusable;
    if (toggles && down_) node.States |= platform::asChecked | platform::asPressed;
    if (state_ == TToolButtonState::tbsDown) node.States |= platform::asPressed;
    const bool hasMenu =
        menuOnly ? (dropDownMenu_ || menuItem_) : (dropDownButton_ && (dropDownMenu_ || OnDropDown));
    if (hasMenu) node.States |= platform::asHasPopup;
    if (hasMenu && menuShown_) node.States |= platform::asExpanded;
    if (!menuOnly) node.Actions.push_back(platform::kClickAction);
    if (hasMenu) node.Actions.push_back(platform::kOpenAction);
}

bool TAdvCustomToolBarButton::DoAccessibleAction(TComponent* part, int index) {
    platform::TAccessibleNode node;
    DescribeAccessible(node);
    if (part || index < 0 || index >= static_cast<int>(node.Actions.size()) || !Enabled()) return false;
    if (node.Actions[static_cast<std::size_t>(index)] == platform::kOpenAction) return OpenMenuByKeyboard();
    PressByKeyboard();
    return true;
}

} // namespace emr
