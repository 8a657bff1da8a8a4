#include "toolbar/ATBPopupWindow.h"

#include <algorithm>

#include "framework/forms/Screen.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"
#include "styling/AdvMenuStyler.h"
#include "styling/GradientPainting.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvCustomToolBarButton.h"

namespace emr {

namespace {

const TAdvCustomToolBarButton* AsButton(const TControl* c) {
    return dynamic_cast<const TAdvCustomToolBarButton*>(c);
}

bool ShowsImage(const TControl* c) {
    const TAdvCustomToolBarButton* b = AsButton(c);
    if (!b) return false;
    return b->ImageIndex() >= 0 || (b->Glyph() && !b->Glyph()->Empty());
}

void FillBand(TCanvas& c, TColor from, TColor to, int steps, const TRect& r, bool horizontal) {
    if (from == clNone || to == clNone) {
        if (from == clNone) return;
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
        c.Brush()->SetColor(from);
        c.FillRect(r);
        return;
    }
    DrawGradient(c, from, to, steps, r, horizontal);
}

} // namespace

TATBMenuItem* TATBMenuItem::Add() {
    items_.push_back(std::make_unique<TATBMenuItem>());
    return items_.back().get();
}

// ---- Panel ------------------------------------------------------------------------------------

TATBPopupPanel::TATBPopupPanel(TComponent* owner) : TOptionSelectorPanel(owner) {}

void TATBPopupPanel::SetRootItem(TATBMenuItem* value) {
    root_ = value;
    rects_.clear();
    hot_ = open_ = -1;
}

TOptionSelectorWindow* TATBPopupPanel::OwnWindow() const {
    return dynamic_cast<TOptionSelectorWindow*>(Parent());
}

void TATBPopupPanel::ArrangeMenuItems() {
    rects_.clear();
    imageColumn_ = false;
    int w = 0;
    TCanvas& c = *Canvas();
    c.SetFont(Font());
    for (int i = 0; i < ItemCount(); ++i) {
        const TATBMenuItem* item = root_->Items(i);
        w = std::max(w, c.TextWidth(item->Caption) + 7);
        if (item->Count() > 0) w += 30;
        if (!imageColumn_ && ShowsImage(item->Control())) imageColumn_ = true;
    }
    if (MenuStyler() && showIconBar_) w += MenuStyler()->IconBar()->Size();
    if (imageColumn_) w += 20;
    w = std::max(w, 70);
    int y = MenuMargin;
    for (int i = 0; i < ItemCount(); ++i) {
        rects_.push_back({MenuMargin, y, MenuMargin + w, y + ItemHeight});
        y += ItemHeight + MenuMargin;
    }
    SetBounds(Left(), Top(), w + 2 * MenuMargin, y);
}

int TATBPopupPanel::ItemAt(TPoint p) const {
    for (std::size_t i = 0; i < rects_.size(); ++i)
        if (rects_[i].Contains(p)) return static_cast<int>(i);
    return -1;
}

void TATBPopupPanel::SetHotIndex(int index) {
    if (index == hot_) return;
    if (hot_ >= 0 && hot_ == open_) CloseSubMenu();
    hot_ = index;
    Invalidate();
}

void TATBPopupPanel::ResetIndices() {
    hot_ = open_ = -1;
}

void TATBPopupPanel::OpenSubMenu() {
    if (hot_ < 0 || hot_ == open_ || hot_ >= ItemCount()) return;
    CloseSubMenu();
    TATBMenuItem* item = root_->Items(hot_);
    if (item->Count() == 0) return;
    TOptionSelectorWindow* own = OwnWindow();
    if (!child_) {
        child_ = new TATBPopupWindow(this);
        child_->SetAdvToolBar(AdvToolBar());
        child_->SetOwnerControl(this);
        child_->OnHide = [this](TObject*) {
            if (TOptionSelectorWindow* w = OwnWindow()) w->SetHideOnDeactivate(true);
            open_ = -1;
        };
        child_->OnDeActivateHide = [this](TObject*) {
            TATBPopupWindow* w = dynamic_cast<TATBPopupWindow*>(OwnWindow());
            if (!w) return;
            auto alive = w->LifeToken();
            w->Hide();
            if (!alive.expired() && w->OnDeActivateHide) w->OnDeActivateHide(w);
        };
    }
    TATBPopupPanel* panel = child_->PopupPanel();
    panel->SetRootItem(item);
    panel->SetShowIconBar(true);
    panel->SetMenuStyler(MenuStyler());
    open_ = hot_;
    panel->ArrangeMenuItems();
    child_->FitToPanel();
    if (own) own->SetHideOnDeactivate(false);
    const TRect r = ItemRect(hot_);
    // The cascade reads in the direction of the panel it opens from.
    child_->SetBiDiMode(BiDiMode());
    const TRect shown = ClientToScreenRect(r);
    if (child_->UseRightToLeftLayout())
        child_->PlaceOnWorkArea({shown.Left - 2, shown.Top}, shown.Right);
    else
        child_->PlaceOnWorkArea({shown.Right + 2, shown.Top}, shown.Left);
    child_->Show();
}

void TATBPopupPanel::CloseSubMenu() {
    if (!child_ || !child_->Visible()) return;
    TATBPopupPanel* panel = child_->PopupPanel();
    panel->CloseSubMenu();
    panel->ResetIndices();
    child_->Hide();
}

void TATBPopupPanel::ToggleMenuItem(int index) {
    if (index < 0 || index >= ItemCount()) return;
    TATBMenuItem* item = root_->Items(index);
    TControl* control = item->Control();
    if (!control) return;
    auto alive = LifeToken();
    control->SetVisible(!control->Visible());
    if (alive.expired()) return;
    item->Checked = control->Visible();
    Invalidate();
}

void TATBPopupPanel::MouseMove(TShiftState shift, int x, int y) {
    TOptionSelectorPanel::MouseMove(shift, x, y);
    if (shift & ssLeft) return;
    int index = ItemAt({x, y});
    if (index < 0 || index == hot_) return;
    SetHotIndex(index);
    OpenSubMenu();
}

void TATBPopupPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TOptionSelectorPanel::MouseUp(button, shift, x, y);
    int index = ItemAt({x, y});
    if (index >= 0 && root_ && root_->Items(index)->AutoCheck) ToggleMenuItem(index);
}

void TATBPopupPanel::MouseLeave() {
    TOptionSelectorPanel::MouseLeave();
    if (child_ && child_->Visible()) return;
    if (hot_ >= 0) {
        hot_ = -1;
        Invalidate();
    }
}

// ---- Painting --------------------------------------------------------------------------------

void TATBPopupPanel::Paint() {
    TOptionSelectorPanel::Paint();
    TCanvas& c = *Canvas();
    const TCustomAdvMenuStyler* ms = MenuStyler();
    const int column = imageColumn_ ? 20 : 0;
    const TRect inner{MenuMargin, MenuMargin, Width() - MenuMargin, Height() - MenuMargin};
    if (ms && showIconBar_) {
        const auto* bar = ms->IconBar();
        FillBand(c, bar->Color(), bar->ColorTo() == clNone ? bar->Color() : bar->ColorTo(), 40,
                 {inner.Left, inner.Top, inner.Left + bar->Size() + column, inner.Bottom},
                 bar->ColorTo() != clNone);
    } else if (imageColumn_ && ms) {
        const auto* bar = ms->IconBar();
        FillBand(c, bar->Color(), bar->ColorTo() == clNone ? bar->Color() : bar->ColorTo(), 40,
                 {inner.Left, inner.Top, inner.Left + column, inner.Bottom}, bar->ColorTo() != clNone);
    }
    for (int i = 0; i < ItemCount() && i < static_cast<int>(rects_.size()); ++i)
        PaintItem(c, i);
}

void TATBPopupPanel::DrawControlImage(TCanvas& c, const TControl* control, const TRect& cell) {
    const TAdvCustomToolBarButton* b = AsButton(control);
    if (!b) return;
    const TAdvCustomToolBar* tb = b->ToolBar();
    if (b->ImageIndex() >= 0 && tb && tb->Images()) {
        const TCustomImageList* images = tb->Images();
        images->Draw(&c, cell.Left + (cell.Width() - images->Width()) / 2,
                     cell.Top + (cell.Height() - images->Height()) / 2, b->ImageIndex(), b->Enabled());
        return;
    }
    const TBitmap* g = b->Glyph();
    if (!g || g->Empty()) return;
    if (g->Width() > cell.Width() || g->Height() > cell.Height())
        c.StretchDraw(cell, g);
    else
        c.Draw(cell.Left + (cell.Width() - g->Width()) / 2, cell.Top + (cell.Height() - g->Height()) / 2, g);
}

void TATBPopupPanel::PaintItem(TCanvas& c, int index) {
    const TATBMenuItem* item = root_->Items(index);
    const TRect r = rects_[static_cast<std::size_t>(index)];
    const TCustomAdvMenuStyler* ms = MenuStyler();
    const bool hot = index == hot_;
    if (hot && ms) {
        const auto* sel = ms->SelectedItem();
        bool plain = sel->Color() == clNone || sel->ColorTo() == clNone;
        FillBand(c, sel->Color(), plain ? sel->Color() : sel->ColorTo(), 40, r,
                 !plain && sel->GradientDirection() == gdHorizontal);
        if (sel->BorderColor() != clNone) {
            c.Brush()->SetStyle(TBrushStyle::bsClear);
            c.Pen()->SetColor(sel->BorderColor());
            c.Rectangle(r);
        }
    }
    int x = r.Left + 4;
    if (ms && showIconBar_) {
        const auto* bar = ms->IconBar();
        const TRect cell{r.Left + 1, r.Top + 1, r.Left + bar->Size() - 2, r.Bottom - 1};
        if (item->AutoCheck && item->Checked && item->Enabled) {
            TColor from = hot ? ms->SelectedItem()->CheckColor() : bar->CheckColor();
            TColor to = hot ? ms->SelectedItem()->CheckColorTo() : bar->CheckColorTo();
            TColor border = hot ? ms->SelectedItem()->CheckBorder() : bar->CheckBorder();
            FillBand(c, from, to == clNone ? from : to, 16, cell, false);
            if (border != clNone) {
                c.Brush()->SetStyle(TBrushStyle::bsClear);
                c.Pen()->SetColor(border);
                c.Rectangle(cell);
            }
            const TBitmap* check = ms->Glyphs()->Check();
            if (check && !check->Empty())
                c.Draw(cell.Left + (cell.Width() - check->Width()) / 2,
                       cell.Top + (cell.Height() - check->Height()) / 2, check);
        } else if (!item->AutoCheck && !imageColumn_) {
            DrawControlImage(c, item->Control(), cell);
        }
        x = r.Left + bar->Size() + 4;
    }
    if (imageColumn_) {
        const int left = ms && showIconBar_ ? r.Left + ms->IconBar()->Size() : r.Left;
        DrawControlImage(c, item->Control(), {left, r.Top + 2, left + 20, r.Bottom - 2});
        x += 20;
    }
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.SetFont(Font());
    TRect text{x, r.Top, r.Right, r.Bottom};
    c.DrawText(item->Caption, text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (item->Count() > 0 && ms) {
        const TBitmap* arrow = ms->Glyphs()->SubMenu();
        if (arrow && !arrow->Empty()) c.Draw(r.Right - 8, r.Top + (r.Height() - arrow->Height()) / 2, arrow);
    }
}

// ---- Window ----------------------------------------------------------------------------------

TATBPopupWindow::TATBPopupWindow(TComponent* owner) : TOptionSelectorWindow(owner) {
    panel_ = new TATBPopupPanel(this);
    panel_->SetParent(this);
    panel_->SetRootItem(&root_);
    SetOptionsPanel(panel_);
}

void TATBPopupWindow::PlaceOnWorkArea(TPoint at, int leftOf) {
    const TRect work = Screen().WorkAreaRect();
    if (work.Bottom < Height() + at.Y + 2) at.Y = work.Bottom - Height() - 2;
    if (UseRightToLeftLayout()) {
        at.X -= Width();
        if (at.X < work.Left) at.X = leftOf;
    } else if (work.Right < Width() + at.X) {
        at.X = leftOf - Width();
    }
    SetBounds(at.X, at.Y, Width(), Height());
}

void TATBPopupWindow::DeferredHide() {
    auto alive = LifeToken();
    panel_->CloseSubMenu();
    if (alive.expired()) return;
    Hide();
    if (!alive.expired() && OnDeActivateHide) OnDeActivateHide(this);
}

} // namespace emr
