#include "framework/controls/WinControl.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

#include "framework/controls/AccessibleChanges.h"
#include "framework/controls/Mouse.h"
#include "framework/core/Exception.h"

namespace emr {

namespace {

std::unordered_map<THandle, TWinControl*>& Handles() {
    static std::unordered_map<THandle, TWinControl*> handles;
    return handles;
}

THandle NextHandle() {
    static THandle next = 0x1000;
    return ++next;
}

bool IsDialogKey(int key) {
    switch (key) {
    case platform::VK_TAB:
    case platform::VK_RETURN:
    case platform::VK_ESCAPE:
    case platform::VK_LEFT:
    case platform::VK_RIGHT:
    case platform::VK_UP:
    case platform::VK_DOWN:
    case platform::VK_PRIOR:
    case platform::VK_NEXT:
    case platform::VK_F6:
        return true;
    default:
        return false;
    }
}

} // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner), handle_(NextHandle()) {
    Handles()[handle_] = this;
}

TWinControl::~TWinControl() {
    Handles().erase(handle_);
}

void TWinControl::BeforeDestruction() {
    TControl::BeforeDestruction();
    // Children this control does not own stay alive, without a parent.
    while (!controls_.empty())
        RemoveControl(controls_.back());
    Handles().erase(handle_);
}

TWinControl* TWinControl::FindControl(THandle handle) {
    auto it = Handles().find(handle);
    return it == Handles().end() ? nullptr : it->second;
}

// ---- children -----------------------------------------------------------------

int TWinControl::WinControlCount() const {
    return static_cast<int>(std::count_if(controls_.begin(), controls_.end(), [](TControl* c) {
        return dynamic_cast<TWinControl*>(c) != nullptr;
    }));
}

int TWinControl::IndexOfControl(const TControl* control) const {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    return it == controls_.end() ? -1 : static_cast<int>(it - controls_.begin());
}

void TWinControl::InsertControl(TControl* control) {
    if (!control || control->parent_ == this) return;
    std::weak_ptr<void> alive = LifeToken();
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<std::intptr_t>(control), 1);
    controls_.push_back(control);
    auto* win = dynamic_cast<TWinControl*>(control);
    if (win) tabList_.push_back(win);
    control->parent_ = this;
    if (win && win->storedTabOrder_ >= 0 && !HasState(csLoading) && !win->HasState(csLoading))
        win->SetTabOrder(win->storedTabOrder_);
    control->TakeParentProperties();
    Perform(CM_CONTROLCHANGE, reinterpret_cast<std::intptr_t>(control), 1);
    if (alive.expired()) return;
    if (control->Visible()) InvalidateRect(control->BoundsRect());
    AlignControl(control);
    if (!alive.expired()) TAccessibleChanges::Report(platform::TAccessibleEvent::ChildrenChanged, this);
}

void TWinControl::RemoveControl(TControl* control) {
    if (!control || control->parent_ != this) return;
    std::weak_ptr<void> alive = LifeToken();
    Perform(CM_CONTROLCHANGE, reinterpret_cast<std::intptr_t>(control), 0);
    if (alive.expired() || control->parent_ != this) return;
    if (TWinControl* top = TopLevel()) {
        TWinControl* focus = top->WindowFocus();
        if (focus && focus->IsInside(control)) {
            // No exit events while the control or its window is being destroyed.
            if (top->HasState(csDestroying) || control->HasState(csDestroying))
                top->DropWindowFocus();
            else
                top->SetWindowFocus(nullptr);
        }
    }
    if (control->Visible()) InvalidateRect(control->BoundsRect());
    controls_.erase(std::find(controls_.begin(), controls_.end(), control));
    if (auto* win = dynamic_cast<TWinControl*>(control))
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), win), tabList_.end());
    control->parent_ = nullptr;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<std::intptr_t>(control), 0);
    if (alive.expired()) return;
    if (control->Align() != alNone) Realign();
    TMouse::Instance().ControlChanged(control, false);
    // A window being torn down has no one left to tell about its children.
    if (!HasState(csDestroying))
        TAccessibleChanges::Report(platform::TAccessibleEvent::ChildrenChanged, this);
}

void TWinControl::BringToFront(TControl* control) {
    int i = IndexOfControl(control);
    if (i < 0 || i == ControlCount() - 1) return;
    controls_.erase(controls_.begin() + i);
    controls_.push_back(control);
    control->Invalidate();
    if (control->Align() != alNone) Realign();
}

void TWinControl::SendToBack(TControl* control) {
    int i = IndexOfControl(control);
    if (i <= 0) return;
    controls_.erase(controls_.begin() + i);
    controls_.insert(controls_.begin(), control);
    InvalidateRect(control->BoundsRect());
    if (control->Align() != alNone) Realign();
}

std::vector<TControl*> TWinControl::PaintOrder() const {
    std::vector<TControl*> order;
    order.reserve(controls_.size());
    for (TControl* c : controls_)
        if (!c->AsWinControl()) order.push_back(c);
    for (TControl* c : controls_)
        if (c->AsWinControl()) order.push_back(c);
    return order;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allLevels) const {
    std::vector<TControl*> order = PaintOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        TControl* c = *it;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (!c->BoundsRect().Contains(p)) continue;
        const TPoint local = c->ParentToClient(p);
        if (c->Perform(CM_HITTEST, 0, MakeLParam(local.X, local.Y)) == 0) continue;
        if (allLevels)
            if (TWinControl* win = c->AsWinControl())
                if (TControl* inner = win->ControlAtPos(local, allowDisabled, true)) return inner;
        return c;
    }
    return nullptr;
}

// ---- align pass ---------------------------------------------------------------

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() {
    DoAlignPass(nullptr);
}

void TWinControl::AlignControl(TControl* control) {
    if (control && control->Align() == alNone && !alignPending_ && !AlignsUnalignedChildren()) return;
    DoAlignPass(control);
}

void TWinControl::DoAlignPass(TControl* control) {
    if (alignDisabled_ > 0 || HasState(csLoading) || HasState(csDestroying)) {
        alignPending_ = true;
        return;
    }
    if (aligning_) return;
    aligning_ = true;
    alignPending_ = false;
    std::weak_ptr<void> alive = LifeToken();
    try {
        TRect rect = ClientRect();
        AdjustClientRect(rect);
        AlignControls(control, rect);
    } catch (...) {
        if (!alive.expired()) aligning_ = false;
        throw;
    }
    if (!alive.expired()) aligning_ = false;
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient})
        AlignByKind(align, control, rect);
}

void TWinControl::AlignByKind(TAlign align, TControl* control, TRect& rect) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
        if (c->Align() == align && c->Visible()) list.push_back(c);
    // Side-aligned controls keep their physical edge in a mirrored client area,
    // which puts them at the opposite logical one.
    const TAlign edge = !UseRightToLeftLayout() ? align
                        : align == alLeft       ? alRight
                        : align == alRight      ? alLeft
                                                : align;
    // Order along the edge; the control that caused the pass wins a tie.
    auto key = [edge](const TControl* c) {
        switch (edge) {
        case alTop:
            return c->Top();
        case alBottom:
            return -(c->Top() + c->Height());
        case alLeft:
            return c->Left();
        case alRight:
            return -(c->Left() + c->Width());
        default:
            return 0;
        }
    };
    std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) {
        int ka = key(a), kb = key(b);
        if (ka != kb) return ka < kb;
        return a == control && b != control;
    });
    for (TControl* c : list) {
        int w = std::max(rect.Width(), 0);
        int h = std::max(rect.Height(), 0);
        const TSizeConstraints* cons = c->Constraints();
        switch (edge) {
        case alTop: {
            int ch = cons->ConstrainHeight(c->Height());
            c->SetBounds(rect.Left, rect.Top, w, ch);
            rect.Top += c->Height();
            break;
        }
        case alBottom: {
            int ch = cons->ConstrainHeight(c->Height());
            c->SetBounds(rect.Left, rect.Bottom - ch, w, ch);
            rect.Bottom -= c->Height();
            break;
        }
        case alLeft: {
            int cw = cons->ConstrainWidth(c->Width());
            c->SetBounds(rect.Left, rect.Top, cw, h);
            rect.Left += c->Width();
            break;
        }
        case alRight: {
            int cw = cons->ConstrainWidth(c->Width());
            c->SetBounds(rect.Right - cw, rect.Top, cw, h);
            rect.Right -= c->Width();
            break;
        }
        case alClient:
            c->SetBounds(rect.Left, rect.Top, w, h);
            break;
        default:
            break;
        }
    }
}

void TWinControl::ApplyAnchors(TSize oldClient) {
    TRect client = ClientRect();
    int dx = client.Width() - oldClient.Width;
    int dy = client.Height() - oldClient.Height;
    if (dx == 0 && dy == 0) return;
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (c->Align() != alNone) continue;
        TAnchors a = c->Anchors();
        int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
        if (a & akRight) {
            if (a & akLeft)
                w += dx;
            else
                l += dx;
        }
        if (a & akBottom) {
            if (a & akTop)
                h += dy;
            else
                t += dy;
        }
        c->SetBounds(l, t, w, h);
    }
}

void TWinControl::Resize() {
    TRect client = ClientRect();
    if (anchorClient_.Width >= 0) ApplyAnchors(anchorClient_);
    anchorClient_ = {client.Width(), client.Height()};
    std::weak_ptr<void> alive = LifeToken();
    Realign();
    if (!alive.expired()) TControl::Resize();
}

void TWinControl::BoundsChanged(bool moved, bool resized) {
    std::weak_ptr<void> alive = LifeToken();
    if (moved) Perform(WM_MOVE, 0, MakeLParam(Left(), Top()));
    if (resized && !alive.expired()) {
        TRect client = ClientRect();
        Perform(WM_SIZE, 0, MakeLParam(client.Width(), client.Height()));
    }
}

void TWinControl::ParentChanged() {
    TControl::ParentChanged();
}

void TWinControl::FixupTabList() {
    std::stable_sort(tabList_.begin(), tabList_.end(), [](const TWinControl* a, const TWinControl* b) {
        int ka = a->storedTabOrder_ < 0 ? INT_MAX : a->storedTabOrder_;
        int kb = b->storedTabOrder_ < 0 ? INT_MAX : b->storedTabOrder_;
        return ka < kb;
    });
    for (TWinControl* c : tabList_)
        c->storedTabOrder_ = -1;
}

void TWinControl::Loaded() {
    FixupTabList();
    TControl::Loaded();
    TRect client = ClientRect();
    anchorClient_ = {client.Width(), client.Height()};
    Realign();
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (IndexOfControl(c) < 0) continue;
        c->WndProc(message);
        if (message.Result != 0) return;
    }
}

// ---- focus and keys -------------------------------------------------------------

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return TopLevel() != nullptr;
}

bool TWinControl::Focused() const {
    TWinControl* top = TopLevel();
    return top && top->WindowFocus() == this;
}

bool TWinControl::ShowsFocusRect() const {
    TWinControl* top = TopLevel();
    return top && top->KeyboardCues() && top->WindowFocus() == this;
}

void TWinControl::SetFocus() {
    TWinControl* top = TopLevel();
    if (!top || !CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
    top->SetWindowFocus(this == top ? nullptr : this);
}

int TWinControl::TabOrder() const {
    TWinControl* p = Parent();
    if (storedTabOrder_ >= 0 || !p) return storedTabOrder_;
    auto it = std::find(p->tabList_.begin(), p->tabList_.end(), this);
    return it == p->tabList_.end() ? -1 : static_cast<int>(it - p->tabList_.begin());
}

void TWinControl::SetTabOrder(int value) {
    TWinControl* p = Parent();
    // While a layout is read the siblings are not all there yet: keep the number
    // and let the parent sort its list once loading is over.
    if (!p || HasState(csLoading) || p->HasState(csLoading)) {
        storedTabOrder_ = std::max(value, 0);
        return;
    }
    storedTabOrder_ = -1;
    auto& list = p->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    value = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value) {
    if (value == tabStop_) return;
    tabStop_ = value;
    Perform(CM_TABSTOPCHANGED);
}

namespace {

void CollectTabOrder(const std::vector<TWinControl*>& list, std::vector<TWinControl*>& out) {
    for (TWinControl* c : list) {
        out.push_back(c);
        std::vector<TWinControl*> inner;
        for (int i = 0; i < c->ControlCount(); ++i)
            if (auto* w = dynamic_cast<TWinControl*>(c->Controls(i))) inner.push_back(w);
        std::stable_sort(inner.begin(), inner.end(),
                         [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
        CollectTabOrder(inner, out);
    }
}

} // namespace

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const {
    std::vector<TWinControl*> order;
    CollectTabOrder(tabList_, order);
    if (order.empty()) return nullptr;
    int n = static_cast<int>(order.size());
    auto it = std::find(order.begin(), order.end(), current);
    int start = it == order.end() ? (goForward ? -1 : n) : static_cast<int>(it - order.begin());
    for (int step = 1; step <= n; ++step) {
        int i = ((start + (goForward ? step : -step)) % n + n) % n;
        TWinControl* c = order[static_cast<std::size_t>(i)];
        if (c == current) break;
        if (c->CanFocus() && (!checkTabStop || c->TabStop())) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop)) next->SetFocus();
}

void TWinControl::KeyDown(int& key, TShiftState shift) {
    Fire(OnKeyDown, this, key, shift);
}

void TWinControl::KeyUp(int& key, TShiftState shift) {
    Fire(OnKeyUp, this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
    Fire(OnKeyPress, this, key);
}

void TWinControl::DoEnter() {
    Fire(OnEnter, this);
}

void TWinControl::DoExit() {
    Fire(OnExit, this);
}

bool TWinControl::DialogKey(int key, TShiftState shift) {
    TMessage m{CM_DIALOGKEY, key, static_cast<std::intptr_t>(shift), 0};
    Broadcast(m);
    return m.Result != 0;
}

void TWinControl::WndProc(TMessage& message) {
    std::weak_ptr<void> alive = LifeToken();
    switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool isDown = message.Msg == WM_KEYDOWN || message.Msg == WM_SYSKEYDOWN;
        int key = static_cast<int>(message.WParam);
        auto shift = static_cast<TShiftState>(message.LParam);
        TWinControl* top = TopLevel();
        TComponentRef<TWinControl> topRef(top);
        // Shortcuts come first, as the platform's menus take theirs before the
        // focused control sees the key.
        if (isDown && top && top->Perform(CM_SHORTCUT, key, static_cast<std::intptr_t>(shift))) {
            message.Result = 1;
            return;
        }
        if (alive.expired()) return;
        if (top && top != this && top->PreviewsKeys()) {
            if (isDown)
                top->KeyDown(key, shift);
            else
                top->KeyUp(key, shift);
            if (alive.expired()) return;
        }
        if (key != 0) {
            if (isDown)
                KeyDown(key, shift);
            else
                KeyUp(key, shift);
            if (alive.expired()) return;
        }
        if (isDown && key != 0 && IsDialogKey(key)) {
            std::intptr_t code = Perform(WM_GETDLGCODE, key);
            if (alive.expired()) return;
            bool wanted = (code & DLGC_WANTALLKEYS) || (key == platform::VK_TAB && (code & DLGC_WANTTAB)) ||
                          (key >= platform::VK_LEFT && key <= platform::VK_DOWN && (code & DLGC_WANTARROWS));
            if (!wanted && topRef) topRef->Perform(CM_DIALOGKEY, key, static_cast<std::intptr_t>(shift));
            if (alive.expired()) return;
        }
        if (isDown && key != 0 && message.Msg == WM_SYSKEYDOWN && topRef)
            topRef->Perform(CM_APPKEYDOWN, key, static_cast<std::intptr_t>(shift));
        message.Result = key == 0 ? 1 : 0;
        return;
    }
    case WM_CHAR: {
        char32_t ch = static_cast<char32_t>(message.WParam);
        TWinControl* top = TopLevel();
        if (top && top != this && top->PreviewsKeys()) {
            top->KeyPress(ch);
            if (alive.expired()) return;
        }
        if (ch != 0) KeyPress(ch);
        return;
    }
    case WM_SYSCHAR: {
        TWinControl* top = TopLevel();
        if (!top) return;
        TComponentRef<TWinControl> topRef(top);
        std::intptr_t handled = top->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
        if (!handled && topRef) topRef->Perform(WM_SYSCOMMAND, SC_KEYMENU, message.WParam);
        return;
    }
    case WM_SYSCOMMAND:
        // The menu key travels down the whole tree: a menu bar may sit inside a panel.
        if ((message.WParam & 0xFFF0) == SC_KEYMENU) Broadcast(message);
        return;
    case CM_DIALOGKEY:
        if (DialogKey(static_cast<int>(message.WParam), static_cast<TShiftState>(message.LParam)))
            message.Result = 1;
        return;
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        Broadcast(message);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case WM_GETDLGCODE:
        message.Result = 0;
        return;
    case WM_SIZE:
        Resize();
        return;
    case WM_MOVE:
        return;
    case CM_CONTROLCHANGE:
        ControlChange(reinterpret_cast<TControl*>(message.WParam), message.LParam != 0);
        return;
    case CM_CONTROLLISTCHANGE:
        ControlListChange(reinterpret_cast<TControl*>(message.WParam), message.LParam != 0);
        return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_SHOWHINTCHANGED:
    case CM_BIDIMODECHANGED: {
        TControl::WndProc(message);
        if (alive.expired()) return;
        // Pass inherited settings on to the children.
        unsigned childMsg = message.Msg;
        if (childMsg == CM_FONTCHANGED) childMsg = CM_PARENTFONTCHANGED;
        if (childMsg == CM_COLORCHANGED) childMsg = CM_PARENTCOLORCHANGED;
        if (childMsg == CM_SHOWHINTCHANGED) childMsg = CM_PARENTSHOWHINTCHANGED;
        if (childMsg == CM_BIDIMODECHANGED) childMsg = CM_PARENTBIDIMODECHANGED;
        for (TControl* c : std::vector<TControl*>(controls_))
            if (IndexOfControl(c) >= 0) c->Perform(childMsg);
        // Side-aligned children change their logical edge with the direction.
        if (message.Msg == CM_BIDIMODECHANGED && !alive.expired()) Realign();
        return;
    }
    default:
        TControl::WndProc(message);
    }
}

} // namespace emr
