#pragma once

#include <cstdint>
#include <string>

struct _XDisplay;

namespace emr::platform::x11 {

/// One protocol error the X server reported.
struct TXError {
    int Code = 0;        // BadWindow, BadMatch, ...
    int RequestCode = 0; // the major opcode of the failed request
    unsigned long ResourceId = 0;
    std::string Text;
};

/// Records X protocol errors instead of letting Xlib's default handler end the
/// process. Xlib has one error handler per process; the first `Install` puts
/// ours in place and every connection's errors are counted per display.
class X11ErrorTrap {
public:
    static void Install();
    /// Stops recording errors for `display` (it is about to be closed).
    static void Forget(_XDisplay* display);

    /// How many errors `display` has reported so far, and the latest one.
    static std::uint64_t Count(_XDisplay* display);
    static TXError Last(_XDisplay* display);

    /// Counts errors from construction to `Failed()`: call it after the
    /// requests to check; it waits for the server to answer them.
    explicit X11ErrorTrap(_XDisplay* display);
    bool Failed() const;

private:
    _XDisplay* display_;
    std::uint64_t start_;
};

} // namespace emr::platform::x11
