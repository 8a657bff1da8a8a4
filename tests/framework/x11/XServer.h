#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

namespace emr::testing {

/// A private Xvfb server for the X11 tests: started on a free display number
/// on first use, stopped when the test program ends. `DISPLAY` is set to the
/// shared plain server, so the command-line tools the tests drive (xdotool)
/// talk to it.
class XServer {
public:
    /// The shared server without a window manager, started on the first call.
    static XServer& Shared();
    /// A second server that runs a window manager (openbox), for frame tests.
    static XServer& WithWindowManager();
    /// A server whose screen has 16 bits per pixel (5-6-5 true colour).
    static XServer& SixteenBit();
    /// A server of the caller's own, without a window manager, that it may stop
    /// at any moment (to see a client lose its connection).
    static std::unique_ptr<XServer> Private();

    /// Runs a shell command on this server; returns its standard output
    /// without the final line break.
    std::string Run(const std::string& command) const;

    bool Running() const { return pid_ > 0; }
    /// Why the server is not running (empty when it is).
    const std::string& Error() const { return error_; }
    /// The display name, such as ":3".
    const std::string& Name() const { return name_; }

    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 1024;

    ~XServer();
    /// Ends the server (and its window manager) now.
    void Stop();

private:
    XServer(bool windowManager, int depth, bool shared = true);

    pid_t pid_ = -1;
    pid_t wmPid_ = -1;
    std::string name_;
    std::string error_;
};

/// Runs a shell command with the test server as its display; returns what it
/// printed on standard output, without the final line break.
std::string Shell(const std::string& command);

} // namespace emr::testing
