#include "XServer.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace emr::testing {

namespace {

bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Asks for a frame estimate of a fresh window until the window manager gives one.
bool WindowManagerAnswers(const std::string& name) {
    Display* dpy = XOpenDisplay(name.c_str());
    if (!dpy) return false;
    const Window root = DefaultRootWindow(dpy);
    const Window window = XCreateSimpleWindow(dpy, root, 0, 0, 10, 10, 0, 0, 0);
    const Atom extents = XInternAtom(dpy, "_NET_FRAME_EXTENTS", False);
    bool answered = false;
    for (int i = 0; i < 400 && !answered; ++i) {
        if (i % 20 == 0) {
            XEvent request{};
            request.xclient.type = ClientMessage;
            request.xclient.window = window;
            request.xclient.message_type = XInternAtom(dpy, "_NET_REQUEST_FRAME_EXTENTS", False);
            request.xclient.format = 32;
            XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
        }
        XSync(dpy, False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(dpy, window, extents, 0, 4, False, AnyPropertyType, &type, &format, &count, &after,
                           &data);
        answered = count == 4;
        if (data) XFree(data);
        if (!answered) usleep(25000);
    }
    XDestroyWindow(dpy, window);
    XCloseDisplay(dpy);
    return answered;
}

// The programs under test open and close their windows while the tests look at
// them: a request about a window that has just gone fails, and the test sees the
// failure in the call's answer, instead of Xlib ending the test program.
const bool kXErrorsAreAnswers = [] {
    XSetErrorHandler([](Display*, XErrorEvent*) -> int { return 0; });
    return true;
}();

} // namespace

XServer& XServer::Shared() {
    static XServer server(false, 24);
    return server;
}

XServer& XServer::WithWindowManager() {
    static XServer server(true, 24);
    return server;
}

XServer& XServer::SixteenBit() {
    static XServer server(false, 16);
    return server;
}

std::unique_ptr<XServer> XServer::Private() {
    return std::unique_ptr<XServer>(new XServer(false, 24, false));
}

XServer::XServer(bool windowManager, int depth, bool shared) {
    if (!OnPath("Xvfb")) {
        error_ = "Xvfb is not installed: the X11 tests need it (Debian package xvfb, installed by "
                 "scripts/install-deps)";
        return;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error_ = "cannot create a pipe for Xvfb";
        return;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        error_ = "cannot fork to start Xvfb";
        return;
    }
    if (pid == 0) {
        // The server goes when the test program goes, even if it crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (fds[1] == 3)
            fcntl(3, F_SETFD, 0);
        else
            dup2(fds[1], 3);
        const int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 1);
        dup2(devnull, 2);
        const std::string screen = "1280x1024x" + std::to_string(depth);
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes its display number once it accepts connections.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 15000) > 0) {
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        error_ = "Xvfb did not start (no display number within 15 s)";
        return;
    }
    pid_ = pid;
    name_ = ":" + number;
    if (!windowManager) {
        if (depth == 24 && shared) setenv("DISPLAY", name_.c_str(), 1);
        return;
    }
    if (!OnPath("openbox")) {
        error_ =
            "openbox is not installed: the window-manager tests need it (installed by scripts/install-deps)";
        Stop();
        return;
    }
    wmPid_ = fork();
    if (wmPid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 1);
        dup2(devnull, 2);
        setenv("DISPLAY", name_.c_str(), 1);
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    // The window manager is ready once it answers a frame request for a window.
    if (WindowManagerAnswers(name_)) return;
    error_ = "openbox did not start within 10 s";
    Stop();
}

std::string XServer::Run(const std::string& command) const {
    return Shell("export DISPLAY=" + name_ + "; " + command);
}

XServer::~XServer() {
    Stop();
}

void XServer::Stop() {
    if (wmPid_ > 0) {
        kill(wmPid_, SIGTERM);
        waitpid(wmPid_, nullptr, 0);
        wmPid_ = -1;
    }
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[512];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

} // namespace emr::testing
