#include "framework/platform/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>
#include <errno.h>
#include <unistd.h>

#include <cstring>
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

/// The connection to the server is gone (the server ended or the network
/// failed). Nothing can be shown any more, and the process is in the middle of
/// some Xlib call: it ends here with one line that names the display. _exit, not
/// exit, so that no destructor or exit handler runs on state the interrupted
/// call may have left half-changed. Whatever the program stores on disk is
/// replaced atomically, so an unfinished save leaves the old file.
int OnXIOError(Display* dpy) {
    const char* name = dpy ? DisplayString(dpy) : nullptr;
    std::string line = std::string(program_invocation_short_name) +
                       ": lost the connection to the X display \"" + (name && *name ? name : "?") + "\"";
    if (errno != 0 && errno != EAGAIN) line += std::string(" (") + std::strerror(errno) + ")";
    line += "\n";
    const char* data = line.data();
    std::size_t left = line.size();
    while (left > 0) {
        const ssize_t n = write(STDERR_FILENO, data, left);
        if (n <= 0) break;
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    _exit(1);
}

} // namespace

void X11ErrorTrap::Install() {
    static std::once_flag once;
    std::call_once(once, [] {
        XSetErrorHandler(OnXError);
        XSetIOErrorHandler(OnXIOError);
    });
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
