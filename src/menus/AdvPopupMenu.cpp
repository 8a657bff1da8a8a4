#include "menus/AdvPopupMenu.h"

#include <algorithm>

#include "framework/forms/ShortCut.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"
#include "styling/AdvMenuStyler.h"
#include "styling/GradientPainting.h"

namespace emr {

namespace {
constexpr int kTextGap = 8;
constexpr int kArrowRoom = 18;
constexpr int kSeparatorHeight = 5;
constexpr int kShortCutGap = 24;

// Stand-ins for the styler's glyphs when a styler has none loaded.
void DrawTick(TCanvas& canvas, const TRect& box, TColor color) {
    const int x = box.Left + (box.Width() - 7) / 2;
    const int y = box.Top + (box.Height() - 7) / 2;
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(color);
    for (int i = 0; i < 7; ++i) {
        const int top = i < 3 ? y + 2 + i : y + 4 - (i - 2);
        canvas.FillRect({x + i, top, x + i + 1, top + 3});
    }
}

void DrawDot(TCanvas& canvas, const TRect& box, TColor color) {
    const int x = box.Left + (box.Width() - 6) / 2;
    const int y = box.Top + (box.Height() - 6) / 2;
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillRect({x + 1, y, x + 5, y + 6});
    canvas.FillRect({x, y + 1, x + 6, y + 5});
}

void DrawArrow(TCanvas& canvas, int x, int centreY, TColor color) {
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillArrow({x, centreY - 3, x + 4, centreY + 4}, TArrowDirection::adRight);
}

} // namespace

TAdvPopupMenu::TAdvPopupMenu(TComponent* owner) : TPopupMenu(owner) {
    defaults_ = new TAdvMenuStyler(this);
    defaults_->SetName("DefaultMenuStyler");
}

void TAdvPopupMenu::SetMenuStyler(TCustomAdvMenuStyler* styler) {
    if (styler == menuStyler_) return;
    if (menuStyler_) menuStyler_->RemoveFreeNotification(this);
    menuStyler_ = styler;
    if (styler) styler->FreeNotification(this);
}

const TCustomAdvMenuStyler* TAdvPopupMenu::StylerInEffect() const {
    return menuStyler_ ? menuStyler_ : defaults_;
}

void TAdvPopupMenu::Notification(TComponent* component, TOperation operation) {
    TPopupMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == menuStyler_) menuStyler_ = nullptr;
}

int TAdvPopupMenu::IconBarWidth() const {
    const TMenuIconBarAppearance* bar = StylerInEffect()->IconBar();
    return bar->Visible() ? bar->Size() : 0;
}

int TAdvPopupMenu::ImageHeight() const {
    return Images() ? Images()->Height() : 0;
}

void TAdvPopupMenu::ForgetSizesOnLookChange() {
    // Items once measured and since freed leave their entries behind; past this
    // many the whole table starts afresh.
    constexpr std::size_t kMostSizesKept = 16384;
    const TFont* font = StylerInEffect()->RootItem()->Font();
    if (font->SameFace(measuredFont_) && IconBarWidth() == measuredIconBar_ &&
        ImageHeight() == measuredImageHeight_ && measured_.size() < kMostSizesKept)
        return;
    measured_.clear();
    measuredFont_.Assign(font);
    measuredIconBar_ = IconBarWidth();
    measuredImageHeight_ = ImageHeight();
}

void TAdvPopupMenu::BeginMeasure() {
    ForgetSizesOnLookChange();
    lookChecked_ = true;
}

void TAdvPopupMenu::MeasureItem(TCanvas& canvas, TMenuItem* item, int& width, int& height) {
    if (item->IsLine()) {
        height = kSeparatorHeight;
        width = IconBarWidth() + kTextGap;
        return;
    }
    if (!lookChecked_) ForgetSizesOnLookChange();
    MeasuredItem& measured = measured_[item->Command()];
    if (measured.Revision == item->Revision() && measured.Width > 0) {
        width = measured.Width;
        height = measured.Height;
        return;
    }
    MeasureText(canvas, item, width, height);
    measured = {item->Revision(), width, height};
}

void TAdvPopupMenu::MeasureText(TCanvas& canvas, TMenuItem* item, int& width, int& height) {
    ++textMeasurements_;
    canvas.SetFont(StylerInEffect()->RootItem()->Font());
    TSize text = canvas.TextExtent(StripHotkey(item->Caption()));
    height = std::max(text.Height + 8, 22);
    if (Images()) height = std::max(height, Images()->Height() + 6);
    width = std::max(IconBarWidth(), 20) + kTextGap + text.Width + kArrowRoom;
    if (const std::string sc = ShortCutToText(item->ShortCut()); !sc.empty())
        width += kShortCutGap + canvas.TextWidth(sc);
}

void TAdvPopupMenu::DrawBackground(TCanvas& canvas, const TRect& rect) {
    const TCustomAdvMenuStyler* s = StylerInEffect();
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(clWindow);
    canvas.Pen()->SetColor(s->MenuBorderColor());
    canvas.Rectangle(rect);
    const TMenuIconBarAppearance* bar = s->IconBar();
    if (!bar->Visible()) return;
    TRect strip{rect.Left + 1, rect.Top + 1, rect.Left + 1 + bar->Size(), rect.Bottom - 1};
    if (bar->ColorTo() == clNone) {
        canvas.Brush()->SetColor(bar->Color());
        canvas.FillRect(strip);
    } else {
        DrawGradient(canvas, bar->Color(), bar->ColorTo(), 40, strip, true);
    }
}

void TAdvPopupMenu::DrawItem(TCanvas& canvas, TMenuItem* item, const TRect& rect, TMenuItemDrawState state) {
    const TCustomAdvMenuStyler* s = StylerInEffect();
    int bar = IconBarWidth();
    if (item->IsLine()) {
        int y = rect.Top + rect.Height() / 2;
        canvas.Pen()->SetColor(clBtnShadow);
        canvas.MoveTo(rect.Left + bar + kTextGap, y);
        canvas.LineTo(rect.Right, y);
        return;
    }
    const TMenuSelectedItemAppearance* sel = s->SelectedItem();
    bool selected = (state & midSelected) != 0;
    bool disabled = (state & midDisabled) != 0;
    if (selected) {
        if (sel->ColorTo() != clNone)
            DrawGradient(canvas, sel->Color(), sel->ColorTo(), 40, rect,
                         sel->GradientDirection() == gdHorizontal);
        else {
            canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
            canvas.Brush()->SetColor(sel->Color());
            canvas.FillRect(rect);
        }
        if (sel->BorderColor() != clNone) {
            canvas.Brush()->SetStyle(TBrushStyle::bsClear);
            canvas.Pen()->SetColor(sel->BorderColor());
            canvas.Rectangle(rect);
        }
    }
    const TMenuIconBarAppearance* icons = s->IconBar();
    const TRect box{rect.Left + 2, rect.Top + 2, rect.Left + std::max(bar, 20) - 2, rect.Bottom - 2};
    TCustomImageList* images = Images();
    const bool hasImage = images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count();
    if (state & midChecked) {
        TColor from = selected ? sel->CheckColor() : icons->CheckColor();
        TColor to = selected ? sel->CheckColorTo() : icons->CheckColorTo();
        if (to != clNone)
            DrawGradient(canvas, from, to, 40, box, false);
        else if (from != clNone) {
            canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
            canvas.Brush()->SetColor(from);
            canvas.FillRect(box);
        }
        canvas.Brush()->SetStyle(TBrushStyle::bsClear);
        canvas.Pen()->SetColor(selected ? sel->CheckBorder() : icons->CheckBorder());
        canvas.Rectangle(box);
        const TBitmap* check = s->Glyphs()->Check();
        if (hasImage) {
            // The image itself sits in the framed box and shows the check.
        } else if (item->RadioItem()) {
            DrawDot(canvas, box, disabled ? clGrayText : clMenuText);
        } else if (!check->Empty()) {
            TBitmap glyph;
            glyph.Assign(check);
            glyph.SetTransparent(true);
            canvas.Draw(box.Left + (box.Width() - glyph.Width()) / 2,
                        box.Top + (box.Height() - glyph.Height()) / 2, &glyph);
        } else {
            DrawTick(canvas, box, disabled ? clGrayText : clMenuText);
        }
    }
    if (hasImage)
        images->Draw(&canvas, box.Left + (box.Width() - images->Width()) / 2,
                     rect.Top + (rect.Height() - images->Height()) / 2, item->ImageIndex(), !disabled);
    canvas.SetFont(s->RootItem()->Font());
    canvas.Font()->SetColor(disabled   ? clGrayText
                            : selected ? sel->TextColor()
                                       : s->RootItem()->Font()->Color());
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    TRect text{rect.Left + bar + kTextGap, rect.Top, rect.Right - kArrowRoom, rect.Bottom};
    canvas.DrawText(item->Caption(), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (const std::string sc = ShortCutToText(item->ShortCut()); !sc.empty()) {
        TRect scRect = text;
        canvas.DrawText(sc, scRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (item->VisibleCount() > 0) {
        const TBitmap* arrow = s->Glyphs()->SubMenu();
        if (!arrow->Empty()) {
            TBitmap glyph;
            glyph.Assign(arrow);
            glyph.SetTransparent(true);
            // The arrow's bottom-left pixel is part of the arrow: the ground is what is see-through.
            glyph.SetTransparentColor(clWhite);
            canvas.Draw(rect.Right - kArrowRoom + (kArrowRoom - glyph.Width()) / 2,
                        rect.Top + (rect.Height() - glyph.Height()) / 2, &glyph);
        } else {
            DrawArrow(canvas, rect.Right - kArrowRoom + 7, rect.Top + rect.Height() / 2,
                      disabled ? clGrayText : clMenuText);
        }
    }
}

} // namespace emr
