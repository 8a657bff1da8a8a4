#include "framework/platform/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>

#include <mutex>
#include <vector>

namespace emr::platform::x11 {

namespace {

struct TDisplayErrors {
    Display* Dpy = nullptr;
    std::uint64_t Count = 0;
    TXError Last;
};

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

std::vector<TDisplayErrors>& Records() {
    static std::vector<TDisplayErrors> records;
    return records;
}

TDisplayErrors& RecordFor(Display* dpy) {
    for (TDisplayErrors& r : Records())
        if (r.Dpy == dpy) return r;
    Records().push_back({dpy, 0, {}});
    return Records().back();
}

int OnXError(Display* dpy, XErrorEvent* event) {
    char text[160] = {};
    XGetErrorText(dpy, event->error_code, text, sizeof text);
    std::lock_guard guard(Lock());
    TDisplayErrors& r = RecordFor(dpy);
    ++r.Count;
    r.Last = {event->error_code, event->request_code, event->resourceid, text};
    return 0;
}

} // namespace

void X11ErrorTrap::Install() {
    static std::once_flag once;
    std::call_once(once, [] { XSetErrorHandler(OnXError); });
}

void X11ErrorTrap::Forget(_XDisplay* display) {
    std::lock_guard guard(Lock());
    auto& records = Records();
    std::erase_if(records, [display](const TDisplayErrors& r) { return r.Dpy == display; });
}

std::uint64_t X11ErrorTrap::Count(_XDisplay* display) {
    std::lock_guard guard(Lock());
    return RecordFor(display).Count;
}

TXError X11ErrorTrap::Last(_XDisplay* display) {
    std::lock_guard guard(Lock());
    return RecordFor(display).Last;
}

X11ErrorTrap::X11ErrorTrap(_XDisplay* display) : display_(display) {
    Install();
    XSync(display_, False);
    start_ = Count(display_);
}

bool X11ErrorTrap::Failed() const {
    XSync(display_, False);
    return Count(display_) != start_;
}

} // namespace emr::platform::x11
