#include "framework/forms/MenuTracker.h"

#include "framework/controls/Mouse.h"
#include "framework/forms/Application.h"
#include "framework/forms/Hotkey.h"
#include "framework/forms/PopupMenu.h"
#include "framework/forms/PopupMenuWindow.h"

namespace emr {

namespace {

bool Choosable(const TMenuItem* item) {
    return item && item->Enabled() && !item->IsLine();
}

} // namespace

TMenuTracker::TMenuTracker(TPopupMenu* menu) : menu_(menu) {}

TMenuTracker::~TMenuTracker() {
    while (!windows_.empty()) {
        TPopupMenuWindow* w = windows_.back();
        windows_.pop_back();
        TObject::Free(w);
    }
}

TMenuItem* TMenuTracker::Track(TPoint at) {
    TPopupMenu* menu = menu_.Get();
    if (!menu || menu->Items()->VisibleCount() == 0) return nullptr;
    TApplication* app = EnsureApplication();

    TPopupMenuWindow* root = menu->CreatePopupWindow(menu->Items());
    root->SetTracker(this);
    if (TCustomForm* owner = app->MainForm()) root->SetPopupParent(owner);
    root->Place(at, at.X, at.Y);
    if (menu->Alignment() != paLeft) {
        // The alignment is read in the menu's direction: a right-to-left menu
        // already ends at the point, so it moves the other way.
        const int shift = menu->Alignment() == paRight ? root->Width() : root->Width() / 2;
        root->Place({root->UseRightToLeftLayout() ? at.X + shift : at.X - shift, at.Y}, at.X, at.Y);
    }
    windows_.push_back(root);
    root->Show();
    SetCaptureControl(root);

    // The menu's own handling runs after the application's message filters, so a
    // filter installed around the popup sees its keys and pointer first.
    app->RunNestedLoop([this] { return done_ || !menu_; }, [this](TMsg& msg) { return Filter(msg); });

    TControl* capture = GetCaptureControl();
    for (TPopupMenuWindow* w : windows_)
        if (capture == w) ReleaseCapture();
    while (!windows_.empty()) {
        TPopupMenuWindow* w = windows_.back();
        windows_.pop_back();
        TObject::Free(w);
    }
    return menu_ ? chosen_.Get() : nullptr;
}

void TMenuTracker::Close(TMenuItem* chosen) {
    if (done_) return;
    done_ = true;
    chosen_.Reset(chosen);
    // The windows go away after the loop; hide them now so nothing paints through a dying menu.
    for (TPopupMenuWindow* w : windows_)
        w->Hide();
}

TPopupMenuWindow* TMenuTracker::WindowAt(TPoint screen, int& index) const {
    // Sub-menus lie above their parents: look from the top down.
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        TPopupMenuWindow* w = *it;
        if (!w->BoundsRect().Contains(screen)) continue;
        index = w->ItemAt(w->ScreenToClient(screen));
        return w;
    }
    index = -1;
    return nullptr;
}

std::size_t TMenuTracker::LevelOf(const TPopupMenuWindow* window) const {
    std::size_t level = 0;
    while (level < windows_.size() && windows_[level] != window)
        ++level;
    return level;
}

void TMenuTracker::Scrolled(TPopupMenuWindow* window) {
    const std::size_t level = LevelOf(window);
    if (level < windows_.size()) CloseWindowsAbove(level);
}

void TMenuTracker::CloseWindowsAbove(std::size_t level) {
    while (windows_.size() > level + 1) {
        TPopupMenuWindow* w = windows_.back();
        windows_.pop_back();
        if (GetCaptureControl() == w) SetCaptureControl(windows_.front());
        TObject::Free(w);
    }
}

void TMenuTracker::OpenSubMenu(TPopupMenuWindow* parent, int index) {
    TPopupMenu* menu = menu_.Get();
    if (!menu || index < 0) return;
    TMenuItem* item = parent->ShownItems()[static_cast<std::size_t>(index)];
    const std::size_t level = LevelOf(parent);
    if (level + 1 < windows_.size() && windows_[level + 1]->Items() == item) return; // already open
    CloseWindowsAbove(level);
    if (!item->Enabled() || item->VisibleCount() == 0) return;
    TPopupMenuWindow* sub = menu->CreatePopupWindow(item);
    sub->SetTracker(this);
    sub->SetPopupParent(parent);
    // The sub-menu opens beyond the item's far end in reading order, overlapping
    // the borders; when that side has no room it opens on the near side.
    const TRect shown = parent->ClientToScreenRect(parent->ItemRect(index));
    const int border = menu->BorderWidth();
    const int beyondRight = shown.Right + border - 1;
    const int beyondLeft = shown.Left - border + 1;
    const bool leftwards = sub->UseRightToLeftLayout();
    sub->Place({leftwards ? beyondLeft : beyondRight, shown.Top - border},
               leftwards ? beyondRight : beyondLeft, shown.Bottom + border);
    windows_.push_back(sub);
    sub->Show();
}

void TMenuTracker::PointerMove(TPoint screen) {
    if (done_) return;
    int index = -1;
    TPopupMenuWindow* w = WindowAt(screen, index);
    for (TPopupMenuWindow* other : windows_)
        if (other != w) other->StopScrolling();
    if (w) {
        const auto alive = w->LifeToken();
        w->PointerAt(w->ScreenToClient(screen));
        if (alive.expired() || done_) return;
    }
    if (!w) {
        // Off the menus: only a window without an open sub-menu drops its highlight.
        if (Top()) Top()->SetHotIndex(-1);
        return;
    }
    w->SetHotIndex(index);
    if (index >= 0) OpenSubMenu(w, index);
}

void TMenuTracker::PointerDown(TPoint screen) {
    if (done_) return;
    int index = -1;
    TPopupMenuWindow* w = WindowAt(screen, index);
    if (!w) {
        Close(nullptr);
        return;
    }
    if (const int direction = w->ScrollArrowAt(w->ScreenToClient(screen))) w->ScrollStep(direction);
}

void TMenuTracker::PointerUp(TPoint screen) {
    if (done_) return;
    int index = -1;
    TPopupMenuWindow* w = WindowAt(screen, index);
    if (!w || index < 0) return;
    TMenuItem* item = w->ShownItems()[static_cast<std::size_t>(index)];
    if (Choosable(item) && item->VisibleCount() == 0) Close(item);
}

void TMenuTracker::MakeHot(TPopupMenuWindow* window, int index) {
    window->SetHotIndex(index);
    window->ScrollIntoView(index);
}

void TMenuTracker::MoveHot(TPopupMenuWindow* window, int step) {
    const auto& items = window->ShownItems();
    const int count = static_cast<int>(items.size());
    if (count == 0) return;
    int i = window->HotIndex();
    for (int tries = 0; tries < count; ++tries) {
        i = i < 0 ? (step > 0 ? 0 : count - 1) : (i + step + count) % count;
        if (menu_ && menu_->KeyboardStop(items[static_cast<std::size_t>(i)])) {
            MakeHot(window, i);
            return;
        }
    }
}

int TMenuTracker::ReadingOrderKey(int key, const TPopupMenuWindow* window) {
    if (!window || !window->UseRightToLeftLayout()) return key;
    if (key == platform::VK_LEFT) return platform::VK_RIGHT;
    if (key == platform::VK_RIGHT) return platform::VK_LEFT;
    return key;
}

bool TMenuTracker::KeyDown(int key) {
    TPopupMenuWindow* top = Top();
    if (done_ || !top) return false;
    TMenuItem* hot = top->HotItem();
    switch (ReadingOrderKey(key, top)) {
    case platform::VK_ESCAPE:
        if (windows_.size() > 1)
            CloseWindowsAbove(windows_.size() - 2);
        else
            Close(nullptr);
        return true;
    case platform::VK_UP:
        MoveHot(top, -1);
        return true;
    case platform::VK_DOWN:
        MoveHot(top, 1);
        return true;
    case platform::VK_LEFT:
        if (windows_.size() > 1) CloseWindowsAbove(windows_.size() - 2);
        return true;
    case platform::VK_RIGHT:
        if (hot && hot->VisibleCount() > 0) {
            OpenSubMenu(top, top->HotIndex());
            if (Top() != top) MoveHot(Top(), 1);
        }
        return true;
    case platform::VK_RETURN:
    case platform::VK_SPACE:
        if (hot && hot->VisibleCount() > 0) {
            OpenSubMenu(top, top->HotIndex());
            if (Top() != top) MoveHot(Top(), 1);
        } else if (Choosable(hot)) {
            Close(hot);
        }
        return true;
    default:
        return false;
    }
}

bool TMenuTracker::Filter(TMsg& msg) {
    const unsigned m = msg.Message.Msg;
    switch (m) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        KeyDown(static_cast<int>(msg.Message.WParam));
        return true;
    case WM_CHAR:
    case WM_SYSCHAR: {
        // An accelerator of the innermost open level chooses (or opens) its item.
        TPopupMenuWindow* top = Top();
        if (!top || done_) return true;
        const auto key = static_cast<char32_t>(msg.Message.WParam);
        const auto& items = top->ShownItems();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!Choosable(items[i]) || !IsAccel(key, items[i]->Caption())) continue;
            MakeHot(top, static_cast<int>(i));
            if (items[i]->VisibleCount() > 0) {
                OpenSubMenu(top, static_cast<int>(i));
                if (Top() != top) MoveHot(Top(), 1);
            } else {
                Close(items[i]);
            }
            break;
        }
        return true;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        // A press that reaches another window (the capture was lost) closes the menu and is eaten.
        for (TPopupMenuWindow* w : windows_)
            if (msg.Target == w) return false;
        Close(nullptr);
        return true;
    }
    default:
        return false;
    }
}

} // namespace emr
