#include "framework/forms/PopupMenu.h"

#include <algorithm>

#include "framework/forms/Frame3D.h"
#include "framework/forms/MenuTracker.h"
#include "framework/forms/PopupMenuWindow.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/ImageList.h"

namespace emr {

namespace {

constexpr int kCheckColumn = 22; // left column for check marks and images
constexpr int kArrowColumn = 20; // right column for the sub-menu arrow
constexpr int kShortCutGap = 24;

void DrawCheckMark(TCanvas& canvas, int x, int y, TColor color) {
    // A 7 x 7 tick: down-stroke of three columns, up-stroke of four, each three pixels tall.
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(color);
    for (int i = 0; i < 7; ++i) {
        const int top = i < 3 ? y + 2 + i : y + 4 - (i - 2);
        canvas.FillRect({x + i, top, x + i + 1, top + 3});
    }
}

void DrawRadioDot(TCanvas& canvas, int x, int y, TColor color) {
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillRect({x + 1, y, x + 5, y + 6});
    canvas.FillRect({x, y + 1, x + 6, y + 5});
}

void DrawSubMenuArrow(TCanvas& canvas, int x, int centreY, TColor color) {
    // A right-pointing triangle, four columns wide and seven rows tall.
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillArrow({x, centreY - 3, x + 4, centreY + 4}, TArrowDirection::adRight);
}

} // namespace

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::BeforeDestruction() {
    if (tracker_) tracker_->Close(nullptr);
    SetPopupComponent(nullptr);
    TMenu::BeforeDestruction();
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
    if (component == popupComponent_) return;
    if (popupComponent_) RemoveFreeNotification(popupComponent_);
    popupComponent_ = component;
    if (popupComponent_) FreeNotification(popupComponent_);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::DoPopup() {
    if (OnPopup) OnPopup(this);
}

void TPopupMenu::CloseMenu() {
    if (tracker_) tracker_->Close(nullptr);
}

TPopupMenuWindow* TPopupMenu::CreatePopupWindow(TMenuItem* items) {
    return new TPopupMenuWindow(this, items);
}

void TPopupMenu::Popup(int x, int y) {
    if (tracking_) return;
    popupPoint_ = {x, y};
    TComponentRef<TPopupMenu> self(this);
    DoPopup();
    if (!self) return;

    TMenuTracker tracker(this);
    tracker_ = &tracker;
    tracking_ = true;
    TMenuItem* chosen = tracker.Track({x, y});
    if (!self) return;
    tracker_ = nullptr;
    tracking_ = false;
    TComponentRef<TMenuItem> item(chosen);
    if (OnClose) OnClose(this);
    if (item) item->Click();
}

void TPopupMenu::MeasureItem(TCanvas& canvas, TMenuItem* item, int& width, int& height) {
    if (item->IsLine()) {
        width = kCheckColumn;
        height = 9;
        return;
    }
    TFont saved;
    saved.Assign(canvas.Font());
    if (item->Default()) canvas.Font()->SetStyle(canvas.Font()->Style() | fsBold);
    width = kCheckColumn + canvas.TextWidth(StripHotkey(item->Caption())) + kArrowColumn;
    if (const std::string sc = ShortCutToText(item->ShortCut()); !sc.empty())
        width += kShortCutGap + canvas.TextWidth(sc);
    height = canvas.TextHeight("Wg") + 7;
    if (Images()) height = std::max(height, Images()->Height() + 4);
    canvas.Font()->Assign(&saved);
}

void TPopupMenu::DrawBackground(TCanvas& canvas, const TRect& rect) {
    TRect r = rect;
    Frame3D(canvas, r, cl3DLight, cl3DDkShadow, 1);
    Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(clMenu);
    canvas.FillRect(r);
}

void TPopupMenu::DrawItem(TCanvas& canvas, TMenuItem* item, const TRect& rect, TMenuItemDrawState state) {
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    if (item->IsLine()) {
        const int y = rect.Top + rect.Height() / 2 - 1;
        canvas.Brush()->SetColor(clMenu);
        canvas.FillRect(rect);
        canvas.Brush()->SetColor(clBtnShadow);
        canvas.FillRect({rect.Left + 1, y, rect.Right - 1, y + 1});
        canvas.Brush()->SetColor(clBtnHighlight);
        canvas.FillRect({rect.Left + 1, y + 1, rect.Right - 1, y + 2});
        return;
    }
    const bool selected = (state & midSelected) != 0;
    const bool disabled = (state & midDisabled) != 0;
    canvas.Brush()->SetColor(selected ? clHighlight : clMenu);
    canvas.FillRect(rect);
    const TColor textColor = disabled ? clGrayText : selected ? clHighlightText : clMenuText;

    const int midY = rect.Top + rect.Height() / 2;
    TCustomImageList* images = Images();
    if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count()) {
        const int x = rect.Left + std::max(0, (kCheckColumn - images->Width()) / 2);
        images->Draw(&canvas, x, rect.Top + (rect.Height() - images->Height()) / 2, item->ImageIndex(),
                     !disabled);
    } else if (state & midChecked) {
        if (item->RadioItem())
            DrawRadioDot(canvas, rect.Left + 8, midY - 3, textColor);
        else
            DrawCheckMark(canvas, rect.Left + 7, midY - 4, textColor);
    }

    if (state & midDefault) canvas.Font()->SetStyle(canvas.Font()->Style() | fsBold);
    canvas.Font()->SetColor(textColor);
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    TRect text{rect.Left + kCheckColumn, rect.Top, rect.Right - kArrowColumn, rect.Bottom};
    canvas.DrawText(item->Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (const std::string sc = ShortCutToText(item->ShortCut()); !sc.empty()) {
        TRect scRect = text;
        canvas.DrawText(sc, scRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    if (item->VisibleCount() > 0) DrawSubMenuArrow(canvas, rect.Right - kArrowColumn + 8, midY, textColor);
}

} // namespace emr
