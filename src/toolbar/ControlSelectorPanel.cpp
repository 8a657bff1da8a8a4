#include "toolbar/ControlSelectorPanel.h"

#include <algorithm>

#include "framework/controls/Messages.h"
#include "framework/controls/Mouse.h"
#include "framework/forms/Application.h"
#include "framework/forms/PopupMenu.h"
#include "framework/forms/Screen.h"
#include "framework/forms/Timer.h"
#include "framework/graphics/Canvas.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "styling/GradientPainting.h"
#include "toolbar/ATBPopupWindow.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvCustomToolBarButton.h"
#include "toolbar/AdvToolBarSeparator.h"

namespace emr {

namespace {

constexpr int MinItemWidth = 130;
// Each item's arrow takes the last 9 pixels of its rectangle; a caption centred
// with this much room on either side ends one pixel short of it.
constexpr int ArrowRoom = 10;
constexpr int AddRemoveFontSize = 8;
constexpr const char* AddRemoveFontName = "Tahoma";

} // namespace

TControlSelectorPanel::TControlSelectorPanel(TComponent* owner) : TOptionSelectorPanel(owner) {
    addRemove_.Caption = "Add or Remove Buttons";
    addRemove_.Width = MinItemWidth;
    options_.Caption = "Options";
    options_.Width = MinItemWidth;
    pollTimer_ = new TTimer(this);
    pollTimer_->SetEnabled(false);
    pollTimer_->SetInterval(1);
    pollTimer_->OnTimer = [this](TObject*) { PollTick(); };
}

namespace {

TOptionSelectorWindow* OwnOptionWindow(const TControl* panel) {
    return dynamic_cast<TOptionSelectorWindow*>(panel->Parent());
}

} // namespace

// ---- Listing ---------------------------------------------------------------------------------

void TControlSelectorPanel::AddControl(TControl* control) {
    if (control->Parent() != this) control->SetParent(this);
    if (std::find(listed_.begin(), listed_.end(), control) == listed_.end()) listed_.push_back(control);
}

void TControlSelectorPanel::AddSeparatorCopy(const TAdvToolBarSeparator* original) {
    auto* copy = new TAdvToolBarSeparator(this);
    copy->SetSeparatorStyle(original->SeparatorStyle());
    copy->SetLineColor(original->LineColor());
    copies_.push_back(copy);
    AddControl(copy);
}

void TControlSelectorPanel::FreeSeparatorCopies() {
    std::vector<TAdvToolBarSeparator*> copies;
    copies.swap(copies_);
    for (TAdvToolBarSeparator* copy : copies) {
        listed_.erase(std::remove(listed_.begin(), listed_.end(), copy), listed_.end());
        TObject::Free(copy);
    }
}

bool TControlSelectorPanel::Empty() const {
    return listed_.empty() && !showAddRemove_ && !OptionsItemShown();
}

// Measuring and painting both take their face from here: an item measured in
// one face and drawn in another is too narrow for its caption.
void TControlSelectorPanel::SelectItemFont(TCanvas& c, bool addRemove) const {
    c.SetFont(Font());
    if (!addRemove) return;
    c.Font()->SetName(AddRemoveFontName);
    c.Font()->SetSize(AddRemoveFontSize);
}

void TControlSelectorPanel::MeasureOptionItems() {
    TCanvas& c = *Canvas();
    int w = MinItemWidth;
    if (showAddRemove_) {
        SelectItemFont(c, true);
        w = std::max(w, c.TextWidth(addRemove_.Caption) + 2 * ArrowRoom);
    }
    if (OptionsItemShown()) {
        SelectItemFont(c, false);
        w = std::max(w, c.TextWidth(options_.Caption) + 2 * ArrowRoom);
    }
    addRemove_.Width = w;
    options_.Width = w;
}

void TControlSelectorPanel::ArrangeOptionPanel() {
    for (TControl* c : ControlList())
        if (std::find(listed_.begin(), listed_.end(), c) == listed_.end())
            c->SetBounds(c->Left(), -c->Height() - 2, c->Width(), c->Height());
    int cw = addRemove_.Width;
    for (const TControl* c : listed_)
        cw = std::max(cw, c->Width());
    int x = MarginX, y = MarginY, h = 0;
    for (TControl* c : listed_) {
        if (cw - x < c->Width()) {
            y += h;
            x = MarginX;
            h = 0;
        }
        c->SetBounds(x, y, c->Width(), c->Height());
        h = std::max(h, c->Height());
        x += c->Width();
    }
    int b = y + h;
    if (showAddRemove_) b += 20;
    if (OptionsItemShown()) b += 20;
    if (!listed_.empty() && (showAddRemove_ || OptionsItemShown())) b += ItemGap;
    SetBounds(Left(), Top(), cw + 2 * MarginX, b + MarginY);
    addRemove_.Rect = {};
    options_.Rect = {};
    if (showAddRemove_)
        addRemove_.Rect = {MarginX, Height() - MarginY - 20, Width() - MarginX, Height() - MarginY};
    if (OptionsItemShown()) {
        int bottom = showAddRemove_ ? addRemove_.Rect.Top : Height() - MarginY;
        options_.Rect = {MarginX, bottom - 20, Width() - MarginX, bottom};
    }
}

void TControlSelectorPanel::WindowHidden() {
    // A button highlighted here goes back to its toolbar, which must not show it hot.
    for (TControl* c : listed_)
        if (auto* button = dynamic_cast<TAdvCustomToolBarButton*>(c); button && button->Hot())
            button->SetHot(false);
    FreeSeparatorCopies();
    CloseAddRemoveMenu();
    addRemoveHot_ = addRemoveOpen_ = optionsHot_ = optionsOpen_ = false;
}

// ---- Painting --------------------------------------------------------------------------------

void TControlSelectorPanel::Paint() {
    TOptionSelectorPanel::Paint();
    TCanvas& c = *Canvas();
    const bool addRemove = showAddRemove_ && !addRemove_.Rect.Empty();
    const bool options = OptionsItemShown() && !options_.Rect.Empty();
    if (!addRemove && !options) return;
    const int t = (options ? options_.Rect.Top : addRemove_.Rect.Top) - 4;
    c.Pen()->SetColor(static_cast<TColor>(0x808080));
    c.MoveTo(0, t);
    c.LineTo(Width(), t);
    if (options) PaintItem(c, options_, optionsHot_, optionsOpen_, false);
    if (addRemove) PaintItem(c, addRemove_, addRemoveHot_, addRemoveOpen_, true);
}

void TControlSelectorPanel::PaintItem(TCanvas& c, const TSelectorItem& item, bool hot, bool open,
                                      bool addRemove) {
    const TRect r = item.Rect;
    TColor from = clNone, to = clNone, text = colors_.TextNormal;
    if (open) {
        from = colors_.OpenFrom;
        to = colors_.OpenTo;
        text = colors_.TextOpen;
    } else if (hot) {
        from = colors_.HotFrom;
        to = colors_.HotTo;
        text = colors_.TextHot;
    }
    if (from != clNone && to != clNone) {
        DrawGradient(c, from, to, 40, r, false);
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        c.Pen()->SetColor(static_cast<TColor>(0));
        c.Rectangle(r);
    } else if (from != clNone) {
        c.Brush()->SetStyle(TBrushStyle::bsSolid);
        c.Brush()->SetColor(from);
        c.Pen()->SetColor(static_cast<TColor>(0));
        c.Rectangle(r);
    }
    SelectItemFont(c, addRemove);
    c.Font()->SetColor(text);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    TRect box = r;
    c.DrawText(item.Caption, box, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    c.Pen()->SetColor(text);
    if (addRemove) {
        c.MoveTo(r.Right - 9, r.Bottom - 10);
        c.LineTo(r.Right - 4, r.Bottom - 10);
        c.MoveTo(r.Right - 8, r.Bottom - 9);
        c.LineTo(r.Right - 5, r.Bottom - 9);
        c.SetPixel(r.Right - 7, r.Bottom - 8, text);
    } else {
        c.MoveTo(r.Right - 8, r.Top + 7);
        c.LineTo(r.Right - 8, r.Top + 12);
        c.MoveTo(r.Right - 7, r.Top + 8);
        c.LineTo(r.Right - 7, r.Top + 11);
        c.SetPixel(r.Right - 6, r.Top + 9, text);
    }
}

// ---- Mouse -----------------------------------------------------------------------------------

void TControlSelectorPanel::MouseMove(TShiftState shift, int x, int y) {
    TOptionSelectorPanel::MouseMove(shift, x, y);
    if (shift & ssLeft) return;
    const TPoint p{x, y};
    const bool inAddRemove = showAddRemove_ && addRemove_.Rect.Contains(p);
    if (inAddRemove && !addRemoveHot_) {
        addRemoveHot_ = addRemoveOpen_ = true;
        Invalidate();
        OpenAddRemoveMenu();
    } else if (!inAddRemove && addRemoveHot_) {
        addRemoveHot_ = addRemoveOpen_ = false;
        Invalidate();
    }
    const bool inOptions = OptionsItemShown() && options_.Rect.Contains(p);
    if (inOptions && !optionsHot_) {
        optionsHot_ = optionsOpen_ = true;
        Invalidate();
        OpenOptionsMenu();
    } else if (!inOptions && optionsHot_) {
        optionsHot_ = optionsOpen_ = false;
        Invalidate();
    }
}

void TControlSelectorPanel::MouseLeave() {
    TOptionSelectorPanel::MouseLeave();
    addRemoveHot_ = false;
    addRemoveOpen_ = addRemoveWindow_ && addRemoveWindow_->Visible();
    optionsHot_ = optionsOpen_ = false;
    Invalidate();
}

// ---- The cascade -----------------------------------------------------------------------------

void TControlSelectorPanel::OpenAddRemoveMenu() {
    TAdvCustomToolBar* tb = AdvToolBar();
    if (!showAddRemove_ || !tb || (addRemoveWindow_ && addRemoveWindow_->Visible())) return;
    TOptionSelectorWindow* own = OwnOptionWindow(this);
    if (!addRemoveWindow_) {
        addRemoveWindow_ = new TATBPopupWindow(this);
        addRemoveWindow_->SetAdvToolBar(tb);
        addRemoveWindow_->SetOwnerControl(this);
        addRemoveWindow_->OnHide = [this](TObject*) {
            if (TOptionSelectorWindow* w = OwnOptionWindow(this)) w->SetHideOnDeactivate(true);
            addRemoveOpen_ = false;
            Invalidate();
        };
        addRemoveWindow_->OnDeActivateHide = [this](TObject*) {
            addRemoveHot_ = addRemoveOpen_ = false;
            if (TOptionSelectorWindow* w = OwnOptionWindow(this)) w->Hide();
        };
    }
    TATBPopupPanel* panel = addRemoveWindow_->PopupPanel();
    TATBMenuItem* root = addRemoveWindow_->RootItem();
    panel->SetRootItem(nullptr);
    root->Clear();
    panel->SetRootItem(root);
    panel->SetShowIconBar(true);
    panel->SetMenuStyler(tb->CurrentStyler()->CurrentMenuStyler());
    TATBMenuItem* top = root->Add();
    top->Caption = tb->Caption();
    for (TControl* c : tb->PositionList()) {
        if (dynamic_cast<TAdvToolBarSeparator*>(c)) continue;
        TATBMenuItem* item = top->Add();
        item->AutoCheck = true;
        item->Checked = c->Visible();
        item->SetControl(c);
        item->Caption = dynamic_cast<TAdvCustomToolBarButton*>(c) ? c->Caption() : c->Name();
    }
    panel->ArrangeMenuItems();
    addRemoveWindow_->FitToPanel();
    if (own) own->SetHideOnDeactivate(false);
    const TRect r = addRemove_.Rect;
    // The cascade reads in the direction of the panel it opens from.
    addRemoveWindow_->SetBiDiMode(BiDiMode());
    const TRect shown = ClientToScreenRect(r);
    if (addRemoveWindow_->UseRightToLeftLayout())
        addRemoveWindow_->PlaceOnWorkArea({shown.Left, shown.Top}, shown.Right);
    else
        addRemoveWindow_->PlaceOnWorkArea({shown.Right, shown.Top}, shown.Left);
    addRemoveWindow_->Show();
}

void TControlSelectorPanel::SetAddRemoveHot(bool value) {
    if (addRemoveHot_ == value) return;
    addRemoveHot_ = value;
    Invalidate();
}

void TControlSelectorPanel::OpenAddRemoveByKey() {
    addRemoveHot_ = addRemoveOpen_ = true;
    Invalidate();
    OpenAddRemoveMenu();
}

void TControlSelectorPanel::CloseAddRemoveMenu() {
    if (!addRemoveWindow_ || !addRemoveWindow_->Visible()) return;
    TATBPopupPanel* panel = addRemoveWindow_->PopupPanel();
    panel->CloseSubMenu();
    panel->ResetIndices();
    addRemoveWindow_->Hide();
}

// ---- The option menu -------------------------------------------------------------------------

void TControlSelectorPanel::OpenOptionsMenu() {
    TPopupMenu* menu = OptionMenu();
    if (!AdvToolBar() || !menu) return;
    auto alive = LifeToken();
    if (showAddRemove_) {
        CloseAddRemoveMenu();
        pollTimer_->SetEnabled(true);
    }
    TCanvas& c = *Canvas();
    int width = 0;
    for (int i = 0; i < menu->Items()->Count(); ++i)
        width = std::max(width, c.TextWidth(menu->Items()->Item(i)->Caption()));
    const TRect r = options_.Rect;
    // A mirrored menu opens leftwards from the point, so it starts at the item's other end.
    const TRect item = ClientToScreenRect(r);
    const bool leftwards = menu->BiDiMode() == TBiDiMode::bdRightToLeft;
    TPoint at{leftwards ? item.Left : item.Right, item.Top};
    const TRect monitor = Screen().MonitorFor({at.X, at.Y, at.X + 1, at.Y + 1});
    if (leftwards && at.X - width < monitor.Left)
        at.X = item.Right + width;
    else if (!leftwards && monitor.Right < width + at.X)
        at.X = item.Left - width;
    TOptionSelectorWindow* own = OwnOptionWindow(this);
    if (own) own->SetHideOnDeactivate(false);
    menu->Popup(at.X, at.Y);
    if (alive.expired()) return;
    optionsHot_ = optionsOpen_ = false;
    pollTimer_->SetEnabled(false);
    own = OwnOptionWindow(this);
    if (own) {
        const TPoint pointer = ScreenToClient(TMouse::Instance().CursorPos());
        const bool onAddRemove = showAddRemove_ && addRemove_.Rect.Contains(pointer);
        if (!onAddRemove) own->Hide();
        if (alive.expired()) return;
        own->SetHideOnDeactivate(true);
        // The menu's loop took the move that brought the pointer here, and the
        // pointer now rests: no other move will come to open the cascade.
        if (onAddRemove && !addRemoveHot_) MouseMove(0, pointer.X, pointer.Y);
        if (alive.expired()) return;
    }
    Invalidate();
}

// While the option menu runs its own loop, moving onto the add-remove item ends
// that loop with a click there.
void TControlSelectorPanel::PollTick() {
    const TPoint p = ScreenToClient(TMouse::Instance().CursorPos());
    if (!addRemove_.Rect.Contains(p) || !Application) return;
    pollTimer_->SetEnabled(false);
    const std::intptr_t at = (p.X & 0xFFFF) | ((p.Y & 0xFFFF) << 16);
    Application->PostMessage(this, WM_LBUTTONDOWN, 0, at);
    Application->PostMessage(this, WM_LBUTTONUP, 0, at);
}

} // namespace emr
