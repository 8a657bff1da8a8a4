#include "framework/platform/x11/X11Connection.h"

#include <poll.h>

#include <cerrno>

// Xlibint.h (Xlib's interface for extension code) declares _XSend and the
// display lock; it defines many short macros, so it stays in this file alone.
#include <X11/Xlib.h>
#include <X11/Xlibint.h>

namespace emr::platform::x11 {

void SendBufferedRequests(_XDisplay* display) {
    LockDisplay(display);
    _XSend(display, nullptr, 0);
    UnlockDisplay(display);
}

void ReadServerMessages(_XDisplay* display) {
    LockDisplay(display);
    _XEventsQueued(display, QueuedAfterReading);
    UnlockDisplay(display);
}

bool ReadWhenServerSends(_XDisplay* display, int timeoutMs) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    int ready;
    do {
        ready = poll(&connection, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return false;
    ReadServerMessages(display);
    return true;
}

} // namespace emr::platform::x11
