#include "framework/forms/PopupMenuWindow.h"

#include <algorithm>
#include <string>

#include "framework/forms/Application.h"
#include "framework/forms/MenuTracker.h"
#include "framework/forms/PopupMenu.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Canvas.h"

namespace emr {

TPopupMenuWindow::TPopupMenuWindow(TPopupMenu* menu, TMenuItem* items)
    : TCustomForm(nullptr), menu_(menu), items_(items) {
    // No capture or click handling of its own: the tracker holds the capture for
    // the whole menu and decides what a press or release means.
    SetControlStyle(csOpaque);
    SetBorderStyle(bsNone);
    SetBorderIcons(0);
    SetPosition(poDesigned);
    SetColor(clMenu);
    SetBiDiMode(menu->BiDiMode());
}

TPopupMenuWindow::~TPopupMenuWindow() {
    StopScrolling();
}

void TPopupMenuWindow::CreateParams(TCreateParams& params) const {
    TCustomForm::CreateParams(params);
    params.Style.Kind = platform::TWindowKind::Popup;
    params.Style.Resizable = false;
    params.Style.SystemMenu = false;
    params.Style.MinimizeBox = false;
    params.Style.MaximizeBox = false;
    params.Style.StayOnTop = true;
}

TMenuItem* TPopupMenuWindow::HotItem() const {
    return hot_ >= 0 && hot_ < static_cast<int>(shown_.size()) ? shown_[static_cast<std::size_t>(hot_)]
                                                               : nullptr;
}

void TPopupMenuWindow::SetHotIndex(int index) {
    if (index < -1 || index >= static_cast<int>(shown_.size())) index = -1;
    if (index == hot_) return;
    if (hot_ >= 0) InvalidateRect(ItemRect(hot_));
    hot_ = index;
    if (hot_ >= 0) InvalidateRect(ItemRect(hot_));
}

std::string TPopupMenuWindow::CheckInvariants() const {
    if (rects_.size() != shown_.size())
        return "a menu window with " + std::to_string(shown_.size()) + " items has " +
               std::to_string(rects_.size()) + " item rectangles";
    if (hot_ < -1 || hot_ >= static_cast<int>(shown_.size()))
        return "a menu window's hot item " + std::to_string(hot_) + " is not one of its " +
               std::to_string(shown_.size()) + " items";
    if (scroll_ < 0 || scroll_ > MaxScroll())
        return "a menu window is scrolled by " + std::to_string(scroll_) + " of at most " +
               std::to_string(MaxScroll()) + " pixels";
    return {};
}

TRect TPopupMenuWindow::ItemRect(int index) const {
    const TRect r = rects_.at(static_cast<std::size_t>(index));
    return {r.Left, r.Top + ItemShift(), r.Right, r.Bottom + ItemShift()};
}

int TPopupMenuWindow::ItemAt(TPoint client) const {
    if (client.Y < ViewTop() || client.Y >= ViewBottom()) return -1;
    const TPoint content{client.X, client.Y - ItemShift()};
    for (std::size_t i = 0; i < rects_.size(); ++i)
        if (rects_[i].Contains(content)) return static_cast<int>(i);
    return -1;
}

// ---- scrolling ------------------------------------------------------------------

int TPopupMenuWindow::ViewTop() const {
    return menu_->BorderWidth() + ArrowHeight();
}

int TPopupMenuWindow::ViewBottom() const {
    return Height() - menu_->BorderWidth() - ArrowHeight();
}

int TPopupMenuWindow::MaxScroll() const {
    if (!scrolls_ || rects_.empty()) return 0;
    const int content = rects_.back().Bottom - rects_.front().Top;
    return std::max(0, content - (ViewBottom() - ViewTop()));
}

void TPopupMenuWindow::FitHeight(int available) {
    scroll_ = 0;
    // Measured from the items: a window may have been kept from growing that tall.
    const int needed = rects_.empty() ? Height() : rects_.back().Bottom + menu_->BorderWidth();
    scrolls_ = needed > available;
    if (scrolls_) SetBounds(Left(), Top(), Width(), available);
}

TRect TPopupMenuWindow::ArrowRect(int direction) const {
    const int border = menu_->BorderWidth();
    const int top = direction == ScrollUp ? border : Height() - border - ScrollArrowHeight;
    return {border, top, Width() - border, top + ScrollArrowHeight};
}

int TPopupMenuWindow::ScrollArrowAt(TPoint client) const {
    if (!scrolls_) return 0;
    for (int direction : {ScrollUp, ScrollDown})
        if (ArrowRect(direction).Contains(client)) return direction;
    return 0;
}

bool TPopupMenuWindow::CanScroll(int direction) const {
    return direction == ScrollUp ? scroll_ > 0 : direction == ScrollDown && scroll_ < MaxScroll();
}

bool TPopupMenuWindow::ScrollTo(int offset) {
    offset = std::clamp(offset, 0, MaxScroll());
    if (offset == scroll_) return false;
    scroll_ = offset;
    Invalidate();
    // A sub-menu would no longer sit beside its item.
    if (tracker_) tracker_->Scrolled(this);
    return true;
}

bool TPopupMenuWindow::ScrollStep(int direction) {
    if (!CanScroll(direction)) return false;
    // The items move by one, the top one leaving or coming back under the upper arrow.
    const int first = rects_.front().Top;
    if (direction == ScrollDown) {
        for (const TRect& r : rects_)
            if (r.Top - first > scroll_) return ScrollTo(r.Top - first);
        return ScrollTo(MaxScroll());
    }
    for (auto it = rects_.rbegin(); it != rects_.rend(); ++it)
        if (it->Top - first < scroll_) return ScrollTo(it->Top - first);
    return ScrollTo(0);
}

void TPopupMenuWindow::ScrollIntoView(int index) {
    if (!scrolls_ || index < 0 || index >= static_cast<int>(rects_.size())) return;
    const TRect r = ItemRect(index);
    if (r.Top < ViewTop())
        ScrollTo(scroll_ - (ViewTop() - r.Top));
    else if (r.Bottom > ViewBottom())
        ScrollTo(scroll_ + (r.Bottom - ViewBottom()));
}

void TPopupMenuWindow::PointerAt(TPoint client) {
    const int direction = ScrollArrowAt(client);
    if (direction == restingOn_) return;
    StopScrolling();
    if (direction == 0 || !ScrollStep(direction)) return;
    restingOn_ = direction;
    if (Application) Application->SetTimer(this, ScrollTimerId, ScrollIntervalMs);
}

void TPopupMenuWindow::StopScrolling() {
    if (restingOn_ == 0) return;
    restingOn_ = 0;
    if (Application) Application->KillTimer(this, ScrollTimerId);
}

void TPopupMenuWindow::Measure() {
    shown_.clear();
    rects_.clear();
    TCanvas measure;
    measure.SetFont(Font());
    const int border = menu_->BorderWidth();
    int width = 0;
    std::vector<int> heights;
    struct Measuring {
        TPopupMenu* Menu;
        explicit Measuring(TPopupMenu* menu) : Menu(menu) { Menu->BeginMeasure(); }
        ~Measuring() { Menu->EndMeasure(); }
        Measuring(const Measuring&) = delete;
        Measuring& operator=(const Measuring&) = delete;
    } measuring(menu_);
    for (TMenuItem* item : items_->Items()) {
        if (!item->Visible()) continue;
        int w = 10; // the starting size a measure request proposes
        int h = 10;
        menu_->MeasureItem(measure, item, w, h);
        shown_.push_back(item);
        heights.push_back(h);
        width = std::max(width, w);
    }
    int y = border;
    for (int h : heights) {
        rects_.push_back({border, y, border + width, y + h});
        y += h;
    }
    hot_ = -1;
    SetBounds(Left(), Top(), width + 2 * border, y + border);
    scrolls_ = false;
    scroll_ = 0;
}

void TPopupMenuWindow::Place(TPoint at, int flipX, int flipY) {
    Measure();
    const TRect work = Screen().WorkAreaRect();
    FitHeight(work.Height());
    int x = at.X;
    int y = at.Y;
    if (UseRightToLeftLayout()) {
        x = at.X - Width();
        if (x < work.Left) x = std::min(flipX, work.Right - Width());
    } else if (x + Width() > work.Right) {
        x = std::max(work.Left, flipX - Width());
    }
    if (y + Height() > work.Bottom) y = std::max(work.Top, flipY - Height());
    x = std::max(x, work.Left);
    y = std::max(y, work.Top);
    SetBounds(x, y, Width(), Height());
}

void TPopupMenuWindow::Paint() {
    TCanvas& canvas = *Canvas();
    menu_->DrawBackground(canvas, ClientRect());
    // A long menu has far more items than fit on the screen: only those the
    // painted area touches are drawn.
    TRect painted = canvas.ClipRect();
    if (scrolls_) painted = painted.Intersect({0, ViewTop(), Width(), ViewBottom()});
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        const TRect rect = ItemRect(static_cast<int>(i));
        if (rect.Intersect(painted).Empty()) continue;
        TMenuItem* item = shown_[i];
        TMenuItemDrawState state = 0;
        if (static_cast<int>(i) == hot_) state |= midSelected;
        if (!item->Enabled()) state |= midDisabled;
        if (item->Checked()) state |= midChecked;
        if (item->Default()) state |= midDefault;
        TCanvasState saved(canvas);
        canvas.SetFont(Font());
        canvas.IntersectClipRect(rect);
        // A part of an item that has scrolled under an arrow stays hidden.
        if (scrolls_) canvas.IntersectClipRect(painted);
        menu_->DrawItem(canvas, item, rect, state);
    }
    if (!scrolls_) return;
    for (int direction : {ScrollUp, ScrollDown})
        PaintArrow(canvas, direction);
}

void TPopupMenuWindow::PaintArrow(TCanvas& canvas, int direction) {
    // The strip keeps the menu's background; the glyph greys out at the end of the items.
    const TRect strip = ArrowRect(direction);
    const int midX = (strip.Left + strip.Right) / 2;
    const int top = (strip.Top + strip.Bottom - ScrollArrowGlyphRows) / 2;
    TCanvasState saved(canvas);
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(CanScroll(direction) ? clMenuText : clGrayText);
    for (int row = 0; row < ScrollArrowGlyphRows; ++row) {
        // Pointing up, the glyph widens downwards; pointing down, upwards.
        const int half = direction == ScrollUp ? row : ScrollArrowGlyphRows - 1 - row;
        canvas.FillRect({midX - half, top + row, midX + half + 1, top + row + 1});
    }
}

void TPopupMenuWindow::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomForm::MouseDown(button, shift, x, y);
    if (tracker_) tracker_->PointerDown(ClientToScreen({x, y}));
}

void TPopupMenuWindow::MouseMove(TShiftState shift, int x, int y) {
    TCustomForm::MouseMove(shift, x, y);
    if (tracker_) tracker_->PointerMove(ClientToScreen({x, y}));
}

void TPopupMenuWindow::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomForm::MouseUp(button, shift, x, y);
    if (tracker_) tracker_->PointerUp(ClientToScreen({x, y}));
}

void TPopupMenuWindow::WndProc(TMessage& message) {
    if (message.Msg == WM_TIMER && static_cast<std::uintptr_t>(message.WParam) == ScrollTimerId) {
        if (!ScrollStep(restingOn_)) StopScrolling();
        return;
    }
    // Losing the capture to someone else ends the menu.
    if (message.Msg == WM_CAPTURECHANGED && tracker_ && message.LParam != 0) {
        auto* taker = reinterpret_cast<TControl*>(message.LParam);
        const auto& windows = tracker_->Windows();
        if (std::find(windows.begin(), windows.end(), taker) == windows.end()) tracker_->Close(nullptr);
    }
    TCustomForm::WndProc(message);
}

void TPopupMenuWindow::DescribeAccessible(platform::TAccessibleNode& node) const {
    TCustomForm::DescribeAccessible(node);
    node.Role = platform::TAccessibleRole::Menu;
    node.Name = items_ ? StripHotkey(items_->Caption()) : std::string();
}

std::vector<TComponent*> TPopupMenuWindow::AccessibleParts() const {
    return {shown_.begin(), shown_.end()};
}

void TPopupMenuWindow::DescribeAccessiblePart(const TComponent* part, platform::TAccessibleNode& node) const {
    const auto found = std::find(shown_.begin(), shown_.end(), part);
    if (found == shown_.end()) return;
    const int index = static_cast<int>(found - shown_.begin());
    const TMenuItem& item = **found;
    node.Extents = ItemRect(index);
    if (item.IsLine()) {
        node.Role = platform::TAccessibleRole::Separator;
        return;
    }
    node.Role = item.RadioItem() ? platform::TAccessibleRole::RadioMenuItem
                : item.Checked() ? platform::TAccessibleRole::CheckMenuItem
                                 : platform::TAccessibleRole::MenuItem;
    node.Name = StripHotkey(item.Caption());
    node.States = platform::asVisible | platform::asShowing | platform::asFocusable;
    if (item.Enabled()) node.States |= platform::asEnabled;
    if (item.Checked()) node.States |= platform::asChecked;
    if (index == hot_) node.States |= platform::asSelected | platform::asFocused;
    if (item.Count() > 0) node.States |= platform::asHasPopup;
    node.Actions = {item.Count() > 0 ? platform::kOpenAction : platform::kClickAction};
}

bool TPopupMenuWindow::DoAccessibleAction(TComponent* part, int index) {
    const auto found = std::find(shown_.begin(), shown_.end(), part);
    if (index != 0 || found == shown_.end() || !tracker_ || !(*found)->Enabled() || (*found)->IsLine())
        return false;
    // The item is taken as the keyboard would take it: highlighted, then Enter.
    SetHotIndex(static_cast<int>(found - shown_.begin()));
    return tracker_->KeyDown(platform::VK_RETURN);
}

} // namespace emr
