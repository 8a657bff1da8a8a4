#include "framework/platform/headless/HeadlessBackend.h"

#include <algorithm>
#include <cmath>

#include "framework/core/Exception.h"
#include "framework/graphics/Png.h"

namespace emr::platform {

namespace {

/// Marks queued input whose window is decided when it is delivered.
constexpr WindowId kRouteLater = ~WindowId{0};

/// The colour of the desktop behind the windows (0x00RRGGBB).
constexpr std::uint32_t kDesktop = 0x3A6EA5;
constexpr std::uint32_t kFrame = 0xC8D4E4;
constexpr std::uint32_t kTitle = 0x9FB4CC;
constexpr std::uint32_t kActiveTitle = 0x6B8FC4;

} // namespace

HeadlessBackend::HeadlessBackend(TRect screen)
    : screen_(screen), workArea_(screen), monitors_{screen}, scales_{1.0} {}

void HeadlessBackend::SetScreen(const TRect& screen) {
    screen_ = screen;
    workArea_ = screen;
    monitors_ = {screen};
    scales_ = {1.0};
    NoticeScaleChanges();
}

void HeadlessBackend::SetWorkArea(const TRect& workArea) {
    workArea_ = workArea;
}

void HeadlessBackend::SetMonitors(std::vector<TRect> monitors, std::vector<double> scales) {
    monitors_ = std::move(monitors);
    scales_ = std::move(scales);
    scales_.resize(monitors_.size(), 1.0);
    NoticeScaleChanges();
}

void HeadlessBackend::SetMonitorScale(std::size_t index, double scale) {
    if (index >= scales_.size()) throw Exception("No such monitor");
    scales_[index] = scale;
    NoticeScaleChanges();
}

double HeadlessBackend::ScaleAt(const TRect& bounds) const {
    double scale = scales_.empty() ? 1.0 : scales_.front();
    long best = 0;
    for (std::size_t i = 0; i < monitors_.size(); ++i) {
        const TRect overlap = monitors_[i].Intersect(bounds);
        const long area = overlap.Empty() ? 0 : static_cast<long>(overlap.Width()) * overlap.Height();
        if (area > best) {
            best = area;
            scale = scales_[i];
        }
    }
    return scale;
}

double HeadlessBackend::WindowScale(WindowId window) {
    const Window* w = FindWindow(window);
    return w ? ScaleAt(w->Bounds) : ScaleAt({});
}

void HeadlessBackend::NoticeScaleChanges() {
    for (auto& [id, w] : windows_) {
        const double scale = ScaleAt(w.Bounds);
        if (scale == w.Scale) continue;
        TEvent e;
        e.Type = TEventType::ScaleChanged;
        e.Window = id;
        if (suggestsRect_) {
            const double ratio = scale / w.Scale;
            e.Rect = TRect::FromBounds(w.Bounds.Left, w.Bounds.Top,
                                       static_cast<int>(std::lround(w.Bounds.Width() * ratio)),
                                       static_cast<int>(std::lround(w.Bounds.Height() * ratio)));
        }
        w.Scale = scale;
        events_.push_back(std::move(e));
    }
}

void HeadlessBackend::MoveFromOutside(WindowId id, const TRect& bounds) {
    if (!windows_.count(id)) return;
    TEvent e;
    e.Type = TEventType::Configure;
    e.Window = id;
    e.Rect = bounds;
    events_.push_back(e);
    SetBounds(id, bounds);
}

// ---- windows --------------------------------------------------------------------

const HeadlessBackend::Window* HeadlessBackend::FindWindow(WindowId id) const {
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : &it->second;
}

std::vector<WindowId> HeadlessBackend::ZOrder() const {
    std::vector<WindowId> order;
    // Stay-on-top windows above the others, each group in stacking order.
    for (int onTop = 0; onTop < 2; ++onTop)
        for (WindowId id : stack_) {
            const Window& w = windows_.at(id);
            if (w.Visible && w.Style.StayOnTop == (onTop == 1)) order.push_back(id);
        }
    return order;
}

WindowId HeadlessBackend::WindowAt(TPoint screen) const {
    std::vector<WindowId> order = ZOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (windows_.at(*it).Bounds.Contains(screen)) return *it;
    return 0;
}

std::uint32_t HeadlessBackend::PixelAt(WindowId id, int x, int y) const {
    const Window* w = FindWindow(id);
    if (!w) throw Exception("No such window");
    int width = w->Bounds.Width();
    if (x < 0 || y < 0 || x >= width || y >= w->Bounds.Height()) throw Exception("Pixel outside the window");
    return w
        ->Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
}

WindowId HeadlessBackend::CreateWindow(const TWindowStyle& style, const TRect& bounds,
                                       const std::string& title) {
    Window w;
    w.Id = nextId_++;
    w.Style = style;
    w.Bounds = bounds;
    w.Title = title;
    w.Scale = ScaleAt(bounds);
    w.Pixels.assign(static_cast<std::size_t>(std::max(bounds.Width(), 0)) *
                        static_cast<std::size_t>(std::max(bounds.Height(), 0)),
                    0);
    windows_[w.Id] = std::move(w);
    stack_.push_back(nextId_ - 1);
    return nextId_ - 1;
}

void HeadlessBackend::DestroyWindow(WindowId window) {
    if (!windows_.erase(window)) return;
    stack_.erase(std::remove(stack_.begin(), stack_.end(), window), stack_.end());
    // Events still queued for the window go with it.
    std::erase_if(events_, [window](const TEvent& e) { return e.Window == window; });
    if (grab_ == window) grab_ = 0;
    if (pointerWindow_ == window) pointerWindow_ = 0;
    if (active_ == window) active_ = 0;
}

void HeadlessBackend::SetTitle(WindowId window, const std::string& title) {
    if (auto it = windows_.find(window); it != windows_.end()) it->second.Title = title;
}

void HeadlessBackend::SetBounds(WindowId window, const TRect& bounds) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    Window& w = it->second;
    if (bounds.Width() != w.Bounds.Width() || bounds.Height() != w.Bounds.Height())
        w.Pixels.assign(static_cast<std::size_t>(std::max(bounds.Width(), 0)) *
                            static_cast<std::size_t>(std::max(bounds.Height(), 0)),
                        0);
    w.Bounds = bounds;
    NoticeScaleChanges();
}

void HeadlessBackend::SetVisible(WindowId window, bool visible) {
    auto it = windows_.find(window);
    if (it == windows_.end() || it->second.Visible == visible) return;
    it->second.Visible = visible;
    if (visible) {
        Restack(window);
        if (it->second.Style.Kind != TWindowKind::Popup) Activate(window);
    } else if (active_ == window) {
        TEvent e;
        e.Type = TEventType::Deactivate;
        e.Window = window;
        events_.push_back(e);
        active_ = 0;
    }
}

void HeadlessBackend::Raise(WindowId window) {
    if (windows_.count(window)) Restack(window);
}

void HeadlessBackend::Restack(WindowId id) {
    stack_.erase(std::remove(stack_.begin(), stack_.end(), id), stack_.end());
    stack_.push_back(id);
}

TRect HeadlessBackend::FrameExtents(WindowId window) {
    const Window* w = FindWindow(window);
    if (!w || w->Style.Kind != TWindowKind::Framed) return {};
    return frame_;
}

void HeadlessBackend::Present(WindowId window, const std::uint32_t* pixels, int width, int height, int stride,
                              const TRect& dirty) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    Window& w = it->second;
    int ww = w.Bounds.Width();
    int wh = w.Bounds.Height();
    TRect area = dirty.Intersect({0, 0, std::min(width, ww), std::min(height, wh)});
    for (int y = area.Top; y < area.Bottom; ++y)
        std::copy_n(pixels + static_cast<std::ptrdiff_t>(y) * stride + area.Left, area.Width(),
                    w.Pixels.begin() + static_cast<std::ptrdiff_t>(y) * ww + area.Left);
    ++w.PresentCount;
}

void HeadlessBackend::SetCursor(WindowId window, TCursorShape shape) {
    if (auto it = windows_.find(window); it != windows_.end()) it->second.Cursor = shape;
}

void HeadlessBackend::GrabPointer(WindowId window) {
    if (windows_.count(window)) grab_ = window;
}

void HeadlessBackend::UngrabPointer() {
    grab_ = 0;
}

// ---- input ----------------------------------------------------------------------

TEvent HeadlessBackend::PointerEvent(TEventType type, int x, int y, TMouseButton button, TShiftState shift) {
    // The pointer never leaves the screen, as a real one cannot: a test that
    // points far outside (INT_MIN included) finds it at the nearest edge.
    const TRect screen = ScreenRect();
    x = std::clamp(x, screen.Left, std::max(screen.Left, screen.Right - 1));
    y = std::clamp(y, screen.Top, std::max(screen.Top, screen.Bottom - 1));
    TEvent e;
    e.Type = type;
    e.Window = kRouteLater;
    e.ScreenX = x;
    e.ScreenY = y;
    e.Button = button;
    e.Shift = shift;
    return e;
}

void HeadlessBackend::MoveMouse(int x, int y, TShiftState shift) {
    queuedPointer_ = {x, y};
    events_.push_back(PointerEvent(TEventType::MouseMove, x, y, TMouseButton::Left, shift));
}

void HeadlessBackend::Press(int x, int y, TMouseButton button, TShiftState shift) {
    if (queuedPointer_ != TPoint{x, y}) MoveMouse(x, y, shift);
    events_.push_back(PointerEvent(TEventType::MouseDown, x, y, button, shift));
}

void HeadlessBackend::Release(int x, int y, TMouseButton button, TShiftState shift) {
    if (queuedPointer_ != TPoint{x, y}) MoveMouse(x, y, shift);
    events_.push_back(PointerEvent(TEventType::MouseUp, x, y, button, shift));
}

void HeadlessBackend::Click(int x, int y, TMouseButton button, TShiftState shift) {
    Press(x, y, button, shift);
    Release(x, y, button, shift);
}

void HeadlessBackend::DoubleClick(int x, int y, TMouseButton button, TShiftState shift) {
    Click(x, y, button, shift);
    events_.push_back(PointerEvent(TEventType::MouseDoubleClick, x, y, button, shift));
    Release(x, y, button, shift);
}

void HeadlessBackend::KeyDown(int key, TShiftState shift) {
    TEvent e;
    e.Type = TEventType::KeyDown;
    e.Window = kRouteLater;
    e.Key = key;
    e.Shift = shift;
    events_.push_back(e);
}

void HeadlessBackend::KeyUp(int key, TShiftState shift) {
    TEvent e;
    e.Type = TEventType::KeyUp;
    e.Window = kRouteLater;
    e.Key = key;
    e.Shift = shift;
    events_.push_back(e);
}

void HeadlessBackend::Key(int key, TShiftState shift) {
    KeyDown(key, shift);
    KeyUp(key, shift);
}

void HeadlessBackend::TypeText(const std::string& text) {
    TEvent e;
    e.Type = TEventType::Char;
    e.Window = kRouteLater;
    e.Text = text;
    events_.push_back(e);
}

void HeadlessBackend::RequestClose(WindowId id) {
    TEvent e;
    e.Type = TEventType::CloseRequest;
    e.Window = id;
    events_.push_back(e);
}

void HeadlessBackend::DestroyFromOutside(WindowId id) {
    if (!windows_.count(id)) return;
    DestroyWindow(id);
    TEvent e;
    e.Type = TEventType::Destroyed;
    e.Window = id;
    events_.push_back(e);
}

void HeadlessBackend::Activate(WindowId id) {
    if (id == active_) return;
    if (active_) {
        TEvent e;
        e.Type = TEventType::Deactivate;
        e.Window = active_;
        events_.push_back(e);
    }
    active_ = id;
    if (id) {
        TEvent e;
        e.Type = TEventType::Activate;
        e.Window = id;
        events_.push_back(e);
    }
}

bool HeadlessBackend::Route(TEvent& e) {
    if (e.Type == TEventType::KeyDown || e.Type == TEventType::KeyUp || e.Type == TEventType::Char) {
        e.Window = active_;
        return active_ != 0;
    }
    pointer_ = {e.ScreenX, e.ScreenY};
    e.Window = grab_ ? grab_ : WindowAt(pointer_);
    if (const Window* w = FindWindow(e.Window)) {
        e.X = e.ScreenX - w->Bounds.Left;
        e.Y = e.ScreenY - w->Bounds.Top;
    }
    return e.Window != 0;
}

void HeadlessBackend::ChangeTheme(int scheme) {
    themeScheme_ = scheme;
    TEvent e;
    e.Type = TEventType::ThemeChanged;
    events_.push_back(std::move(e));
}

void HeadlessBackend::Inject(TEvent event) {
    events_.push_back(std::move(event));
}

std::optional<TEvent> HeadlessBackend::NextEvent(std::optional<std::int64_t> deadlineMs) {
    while (!events_.empty()) {
        TEvent e = std::move(events_.front());
        events_.pop_front();
        if (e.Window != kRouteLater) return e;
        // Input is routed when it is delivered, so that a grab taken by an earlier
        // event decides where later ones go.
        if (!Route(e)) {
            if (e.Type == TEventType::MouseMove && pointerWindow_ && !grab_) {
                TEvent leave;
                leave.Type = TEventType::MouseLeaveWindow;
                leave.Window = pointerWindow_;
                leave.ScreenX = e.ScreenX;
                leave.ScreenY = e.ScreenY;
                pointerWindow_ = 0;
                return leave;
            }
            continue;
        }
        bool isPointer =
            e.Type != TEventType::KeyDown && e.Type != TEventType::KeyUp && e.Type != TEventType::Char;
        if (isPointer && !grab_ && pointerWindow_ && pointerWindow_ != e.Window) {
            // Tell the window the pointer left first, then deliver this event.
            TEvent leave;
            leave.Type = TEventType::MouseLeaveWindow;
            leave.Window = pointerWindow_;
            leave.ScreenX = e.ScreenX;
            leave.ScreenY = e.ScreenY;
            pointerWindow_ = e.Window;
            events_.push_front(e);
            return leave;
        }
        if (isPointer && !grab_) pointerWindow_ = e.Window;
        // A window manager activates a window that is clicked (popups never take focus).
        if (e.Type == TEventType::MouseDown && !grab_ && e.Window != active_ &&
            windows_.at(e.Window).Style.Kind != TWindowKind::Popup) {
            std::size_t before = events_.size();
            Activate(e.Window);
            // Activate appended its events; they go before the press.
            std::deque<TEvent> activation(events_.begin() + static_cast<std::ptrdiff_t>(before),
                                          events_.end());
            events_.resize(before);
            events_.push_front(e);
            for (auto it = activation.rbegin(); it != activation.rend(); ++it)
                events_.push_front(*it);
            e = std::move(events_.front());
            events_.pop_front();
        }
        return e;
    }
    // Waiting for a timer: time may pass up to the limit AdvanceTime allows.
    if (deadlineMs && *deadlineMs <= limit_) now_ = std::max(now_, *deadlineMs);
    return std::nullopt;
}

// ---- time -----------------------------------------------------------------------

void HeadlessBackend::AdvanceTime(std::int64_t ms) {
    std::int64_t limit = now_ + std::max<std::int64_t>(ms, 0);
    limit_ = limit;
    while (true) {
        std::optional<std::int64_t> next = pump_ ? pump_() : std::nullopt;
        if (!next || *next > limit) break;
        now_ = std::max(now_, *next);
    }
    now_ = limit;
    if (pump_) pump_();
    limit_ = now_;
}

// ---- pictures -------------------------------------------------------------------

std::vector<std::uint32_t> HeadlessBackend::ComposeScreen() const {
    int sw = screen_.Width();
    int sh = screen_.Height();
    std::vector<std::uint32_t> out(static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh), kDesktop);
    auto fill = [&](const TRect& r, std::uint32_t colour) {
        TRect area = r.Intersect(screen_);
        for (int y = area.Top; y < area.Bottom; ++y)
            std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(y - screen_.Top) * sw +
                            (area.Left - screen_.Left),
                        area.Width(), colour);
    };
    for (WindowId id : ZOrder()) {
        const Window& w = windows_.at(id);
        if (w.Style.Kind == TWindowKind::Framed) {
            // A plain stand-in for the window manager's frame and title bar.
            TRect outer{w.Bounds.Left - frame_.Left, w.Bounds.Top - frame_.Top, w.Bounds.Right + frame_.Right,
                        w.Bounds.Bottom + frame_.Bottom};
            fill(outer, kFrame);
            fill({outer.Left, outer.Top, outer.Right, w.Bounds.Top - 2},
                 id == active_ ? kActiveTitle : kTitle);
        }
        TRect area = w.Bounds.Intersect(screen_);
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                out[static_cast<std::size_t>(y - screen_.Top) * static_cast<std::size_t>(sw) +
                    static_cast<std::size_t>(x - screen_.Left)] =
                    w.Pixels[static_cast<std::size_t>(y - w.Bounds.Top) *
                                 static_cast<std::size_t>(w.Bounds.Width()) +
                             static_cast<std::size_t>(x - w.Bounds.Left)];
    }
    return out;
}

void HeadlessBackend::RenderWindowToPng(WindowId id, const std::string& path) const {
    const Window* w = FindWindow(id);
    if (!w) throw Exception("No such window");
    SavePng(path, w->Pixels.data(), w->Bounds.Width(), w->Bounds.Height(), w->Bounds.Width());
}

void HeadlessBackend::RenderScreenToPng(const std::string& path) const {
    std::vector<std::uint32_t> pixels = ComposeScreen();
    SavePng(path, pixels.data(), screen_.Width(), screen_.Height(), screen_.Width());
}

} // namespace emr::platform
