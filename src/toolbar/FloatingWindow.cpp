#include "toolbar/FloatingWindow.h"

#include "framework/controls/Messages.h"
#include "framework/controls/Mouse.h"
#include "framework/core/ClassRegistry.h"
#include "framework/forms/Application.h"
#include "framework/graphics/Canvas.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvCustomToolBar.h"

namespace emr {

TFloatingWindow::TFloatingWindow(TComponent* owner) : TCustomForm(owner) {
    savedCursor_ = Cursor();
}

void TFloatingWindow::BeforeDestruction() {
    StopFollowing();
    TCustomForm::BeforeDestruction();
}

void TFloatingWindow::Loaded() {
    TCustomForm::Loaded();
    savedCursor_ = Cursor();
}

// ---- floating a toolbar ---------------------------------------------------------------------------

TFloatingWindow* TFloatingWindow::Of(const TAdvCustomToolBar* toolBar) {
    return toolBar && toolBar->Floating() ? dynamic_cast<TFloatingWindow*>(toolBar->Parent()) : nullptr;
}

TCustomForm* TFloatingWindow::OwnerFormOf(const TAdvCustomToolBar* toolBar) {
    if (auto* panel = dynamic_cast<TControl*>(toolBar->LastDockPanel()))
        if (auto* form = dynamic_cast<TCustomForm*>(panel->TopLevel())) return form;
    // A toolbar that never docked follows the form it sits on, else the form owning it.
    if (auto* form = dynamic_cast<TCustomForm*>(toolBar->TopLevel());
        form && !dynamic_cast<TFloatingWindow*>(form))
        return form;
    for (TComponent* c = toolBar->Owner(); c; c = c->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

TFloatingWindow* TFloatingWindow::FloatToolBar(TAdvCustomToolBar* toolBar, int x, int y, bool usePoint) {
    // There is no ribbon pager here, so the only toolbars left alone are those that float already.
    if (!toolBar || toolBar->Floating() || Of(toolBar)) return nullptr;
    TCustomForm* owner = OwnerFormOf(toolBar);

    auto* window = new TFloatingWindow(toolBar->Owner());
    window->SetBorderIcons(0);
    window->SetBorderStyle(bsNone);
    window->SetFormStyle(fsStayOnTop);
    window->SetPosition(poDesigned);
    if (TCustomAdvToolBarStyler* styler = toolBar->CurrentStyler()) {
        window->SetBorderWidth(styler->FloatingWindowBorderWidth());
        window->SetBorderColor(styler->FloatingWindowBorderColor());
        TColor colorTo = styler->Color()->ColorTo();
        window->SetColor(colorTo == clNone ? styler->Color()->Color() : colorTo);
    }

    TPoint at = usePoint ? TPoint{x, y} : TMouse::Instance().CursorPos();

    toolBar->SetDockedThickness(toolBar->FloatingThickness());
    toolBar->RestoreOverflow();

    // The window reads in its form's direction, and the toolbar follows it in.
    if (owner) window->SetBiDiMode(owner->BiDiMode());

    TComponentRef<TFloatingWindow> alive(window);
    TComponentRef<TAdvCustomToolBar> toolBarAlive(toolBar);
    toolBar->SetParent(window);
    // OnUnDocked may have freed either of them.
    if (!alive) return nullptr;
    if (!toolBarAlive) {
        TObject::Free(window);
        return nullptr;
    }

    window->SetAdvCustomToolBar(toolBar);
    window->FitToToolBar();
    // Under the pointer a mirrored window hangs from its right edge, where its grip is.
    if (!usePoint && window->UseRightToLeftLayout()) at.X -= window->Width();
    window->SetBounds(at.X, at.Y, window->Width(), window->Height());
    window->StartFollowing(owner);
    return window;
}

// ---- properties -----------------------------------------------------------------------------------

void TFloatingWindow::SetAdvCustomToolBar(TAdvCustomToolBar* value) {
    toolBar_.Reset(value);
}

void TFloatingWindow::SetBorderWidth(int value) {
    if (value == borderWidth_) return;
    borderWidth_ = value;
    FitToToolBar();
}

void TFloatingWindow::SetBorderColor(TColor value) {
    borderColor_ = value;
    Invalidate();
}

void TFloatingWindow::FitToToolBar() {
    TAdvCustomToolBar* t = toolBar_.Get();
    if (!t) return;
    int frame = 2 * borderWidth_ + 2;
    SetBounds(Left(), Top(), t->Width() + frame, t->Height() + frame);
    t->SetBounds(borderWidth_ + 1, borderWidth_ + 1, t->Width(), t->Height());
    Invalidate();
}

void TFloatingWindow::Release() {
    StopFollowing();
    Hide();
    TCustomForm::Release();
}

void TFloatingWindow::ControlChange(TControl* control, bool inserting) {
    TCustomForm::ControlChange(control, inserting);
    if (inserting || control != toolBar_.Get()) return;
    // The toolbar docked or was freed: nothing is left to follow or to show.
    StopFollowing();
    if (!HasState(csDestroying)) Hide();
}

// ---- following the owner form -------------------------------------------------------------------------

void TFloatingWindow::StartFollowing(TCustomForm* owner) {
    ownerForm_.Reset(owner);
    if (owner && !owner->Visible()) {
        showPending_ = true;
    } else {
        showPending_ = false;
        Show();
    }
    if (Application) Application->SetTimer(this, FollowTimerId, FollowIntervalMs);
    following_ = true;
}

void TFloatingWindow::Withdraw() {
    showPending_ = false;
    if (Visible()) Hide();
}

void TFloatingWindow::StopFollowing() {
    if (!following_) return;
    following_ = false;
    if (Application) Application->KillTimer(this, FollowTimerId);
}

void TFloatingWindow::FollowTick() {
    TCustomForm* owner = ownerForm_.Get();
    if (!owner) return;
    if (!owner->Visible() && Visible()) {
        Hide();
        showPending_ = true;
    }
    if (owner->Visible() && !Visible() && showPending_) {
        showPending_ = false;
        // While hidden the window does not follow the toolbar's size (a toolbar
        // floated by a stored layout lays itself out only afterwards).
        FitToToolBar();
        Show();
    }
}

void TFloatingWindow::WndProc(TMessage& message) {
    if (message.Msg == WM_TIMER && static_cast<std::uintptr_t>(message.WParam) == FollowTimerId) {
        if (following_) FollowTick();
        return;
    }
    TCustomForm::WndProc(message);
}

// ---- painting -----------------------------------------------------------------------------------------

void TFloatingWindow::Paint() {
    TCustomForm::Paint();
    if (borderColor_ == clNone) return;
    TCanvas* c = Canvas();
    c->Pen()->SetColor(borderColor_);
    c->Pen()->SetWidth(borderWidth_);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->Rectangle(1, 1, Width(), Height());
    // The wide pen rounds the frame's inner corners; these pixels square them off.
    const int far = borderWidth_ + 1;
    c->SetPixel(borderWidth_, borderWidth_, borderColor_);
    c->SetPixel(Width() - far, borderWidth_, borderColor_);
    c->SetPixel(borderWidth_, Height() - far, borderColor_);
    c->SetPixel(Width() - far, Height() - far, borderColor_);
}

// ---- border resizing ------------------------------------------------------------------------------------

namespace {

constexpr int BorderBand = 5;

} // namespace

void TFloatingWindow::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomForm::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft) return;
    const int w = Width(), h = Height();
    if (w - BorderBand <= x && x <= w) {
        edge_ = 2;
        startX_ = w;
        startY_ = y;
    } else if (h - BorderBand <= y && y <= h) {
        edge_ = 3;
        startY_ = h;
        startX_ = x;
    } else if (0 <= x && x <= BorderBand) {
        edge_ = 0;
        startX_ = 0;
        startY_ = y;
    } else if (0 <= y && y <= BorderBand) {
        edge_ = 1;
        startX_ = x;
        startY_ = 0;
    } else {
        return;
    }
    resizing_ = true;
    lastStep_ = 0;
}

void TFloatingWindow::MouseMove(TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomForm::MouseMove(shift, x, y);
    if (alive.expired()) return;
    UpdateBorderCursor(x, y);
    if ((shift & ssLeft) && resizing_) ResizeStep(x, y);
}

void TFloatingWindow::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomForm::MouseUp(button, shift, x, y);
    if (alive.expired()) return;
    resizing_ = false;
    lastStep_ = startX_ = startY_ = 0;
}

void TFloatingWindow::UpdateBorderCursor(int x, int y) {
    const int w = Width(), h = Height();
    TCursor wanted = savedCursor_;
    if ((0 <= x && x <= BorderBand) || (w - BorderBand <= x && x <= w))
        wanted = crSizeWE;
    else if ((0 <= y && y <= BorderBand) || (h - BorderBand <= y && y <= h))
        wanted = crSizeNS;
    if (Cursor() != wanted) SetCursor(wanted);
}

bool TFloatingWindow::ChangeRows(int rows, bool keepFarEdge) {
    TAdvCustomToolBar* t = toolBar_.Get();
    if (!t || rows == t->FloatingRows()) return false;
    const int right = Left() + Width(), bottom = Top() + Height();
    const int before = t->FloatingRows();
    t->SetFloatingRows(rows);
    if (t->FloatingRows() == before) return false;
    if (keepFarEdge) {
        if (edge_ == 0)
            SetBounds(right - Width(), Top(), Width(), Height());
        else
            SetBounds(Left(), bottom - Height(), Width(), Height());
    }
    Invalidate();
    return true;
}

void TFloatingWindow::ResizeStep(int x, int y) {
    TAdvCustomToolBar* t = toolBar_.Get();
    if (!t) return;
    const int bw2 = 2 * borderWidth_;
    const int rows = t->FloatingRows();
    const bool acrossX = edge_ == 0 || edge_ == 2;
    const int d = acrossX ? x - startX_ : y - startY_;
    // A first step needs more than 5 pixels; a further one in the same direction 3.
    auto towardsSmaller = [&](int step) {
        return (d < -5 && lastStep_ == 0) || (d <= -3 && lastStep_ == step);
    };
    auto towardsLarger = [&](int step) { return (d > 5 && lastStep_ == 0) || (d > 2 && lastStep_ == step); };
    auto possible = [&](int n) { return n >= 1 && n <= t->MaxFloatingRows(); };
    auto widthFor = [&](int n) { return t->FloatingRowsSize(n).Width; };
    auto heightFor = [&](int n) { return t->FloatingRowsSize(n).Height; };

    // Each rule: the new row count, whether the step is remembered, and the start reset.
    auto step = [&](int n, int remember) {
        const bool nearEdge = edge_ == 0 || edge_ == 1;
        if (!ChangeRows(n, nearEdge)) return;
        if (edge_ == 0) startX_ = 0;
        if (edge_ == 1) startY_ = 0;
        if (edge_ == 2) startX_ = Width();
        if (edge_ == 3) startY_ = Height();
        if (remember) lastStep_ = remember;
    };

    switch (edge_) {
    case 0:
        if (towardsSmaller(1))
            step(rows - 1, 1);
        else if (towardsLarger(2))
            step(rows + 1, 2);
        else if (lastStep_ == 1 && possible(rows + 1) && x >= Width() - bw2 - widthFor(rows + 1))
            step(rows + 1, 0);
        else if (lastStep_ == 2 && possible(rows - 1) && Width() - bw2 - widthFor(rows - 1) >= x)
            step(rows - 1, 0);
        break;
    case 1:
        if (towardsSmaller(1))
            step(rows + 1, 1);
        else if (towardsLarger(2))
            step(rows - 1, 2);
        else if (lastStep_ == 1 && possible(rows - 1) && y >= Height() - bw2 - heightFor(rows - 1) - 2)
            step(rows - 1, 0);
        else if (lastStep_ == 2 && possible(rows + 1) && Height() - bw2 - heightFor(rows + 1) >= y)
            step(rows + 1, 0);
        break;
    case 2:
        if (towardsLarger(1))
            step(rows - 1, 1);
        else if (towardsSmaller(2))
            step(rows + 1, 2);
        else if (lastStep_ == 1 && possible(rows + 1) && bw2 + widthFor(rows + 1) >= x)
            step(rows + 1, 0);
        else if (lastStep_ == 2 && possible(rows - 1) && x >= bw2 + widthFor(rows - 1))
            step(rows - 1, 0);
        break;
    case 3:
        if (towardsLarger(1))
            step(rows + 1, 1);
        else if (towardsSmaller(2))
            step(rows - 1, 2);
        else if (lastStep_ == 1 && possible(rows - 1) && bw2 + heightFor(rows - 1) + 2 >= y)
            step(rows - 1, 0);
        else if (lastStep_ == 2 && possible(rows + 1) && y >= bw2 + heightFor(rows + 1))
            step(rows + 1, 0);
        break;
    default:
        break;
    }
}

// ---- registration -------------------------------------------------------------------------------------

void RegisterFloatingWindowClass() {
    TClassRegistrar<TFloatingWindow>("TCustomForm")
        .ComponentRef<TAdvCustomToolBar>("AdvCustomToolBar", &TFloatingWindow::AdvCustomToolBar,
                                         &TFloatingWindow::SetAdvCustomToolBar)
        .Integer("BorderWidth", &TFloatingWindow::BorderWidth, &TFloatingWindow::SetBorderWidth,
                 TFloatingWindow::DefaultBorderWidth)
        // The colour a new window has is the one a layout may leave out: any other,
        // grey included, is written and comes back.
        .Color("BorderColor", &TFloatingWindow::BorderColor, &TFloatingWindow::SetBorderColor,
               TFloatingWindow::InitialBorderColor);
}

} // namespace emr
