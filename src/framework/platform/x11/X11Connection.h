#pragma once

struct _XDisplay;

namespace emr::platform::x11 {

/// Writes the requests Xlib has buffered for `display` to the server and returns
/// without reading. XFlush also reads whatever the server has sent by then; a
/// frame presented to an idle server would pay for those reads while the event
/// loop reads the same events anyway once they are there.
void SendBufferedRequests(_XDisplay* display);

/// Reads what the server has sent so far into Xlib's queue, even when events are
/// queued already (XEventsQueued then returns without reading).
void ReadServerMessages(_XDisplay* display);

/// Waits up to `timeoutMs` for the server to send something and reads it into
/// Xlib's queue; false when nothing came in time.
bool ReadWhenServerSends(_XDisplay* display, int timeoutMs);

} // namespace emr::platform::x11
