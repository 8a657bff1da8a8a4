#pragma once

// A program the X11 tests start on their private server and drive from outside,
// with what they need to look at it: the pop-ups the server shows and pictures
// of parts of the screen.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "XServer.h"

extern char** environ;

namespace emr::testing {

inline void PauseMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

/// Polls `done` every 25 ms until it holds or `timeoutMs` has passed.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        PauseMs(25);
    }
    return true;
}

/// A rectangle of the root window as the server holds it.
struct ScreenShot {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels; // 0x00RRGGBB

    /// The pixel at screen (x, y), which must lie inside the shot.
    std::uint32_t At(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y - Top) * Width + (x - Left)];
    }
    /// How many pixels of the screen rectangle [left, right) x [top, bottom) match.
    int Count(int left, int top, int right, int bottom,
              const std::function<bool(std::uint32_t)>& match) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += match(At(x, y)) ? 1 : 0;
        return n;
    }

    static ScreenShot Take(Display* display, int left, int top, int width, int height) {
        XSync(display, False);
        ScreenShot shot;
        XImage* image =
            XGetImage(display, DefaultRootWindow(display), left, top, width, height, AllPlanes, ZPixmap);
        if (!image) return shot;
        shot.Left = left;
        shot.Top = top;
        shot.Width = width;
        shot.Height = height;
        shot.Pixels.reserve(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                shot.Pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF));
        XDestroyImage(image);
        return shot;
    }

    /// Writes a PNG through ImageMagick, or leaves the PPM it converts from.
    void Save(const std::filesystem::path& png) const {
        std::error_code error;
        std::filesystem::create_directories(png.parent_path(), error);
        std::filesystem::path ppm = png;
        ppm.replace_extension(".ppm");
        {
            std::ofstream out(ppm, std::ios::binary);
            out << "P6\n" << Width << ' ' << Height << "\n255\n";
            for (std::uint32_t p : Pixels) {
                const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                                     static_cast<char>(p)};
                out.write(rgb, 3);
            }
        }
        if (Shell("convert '" + ppm.string() + "' '" + png.string() + "' 2>/dev/null && echo ok") == "ok")
            std::filesystem::remove(ppm, error);
    }
};

/// A window's place on the screen.
struct ScreenRect {
    unsigned long Id = 0;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Right() const { return Left + Width; }
    int Bottom() const { return Top + Height; }
};

/// The override-redirect windows (pop-ups) the server shows, bottom to top.
inline std::vector<ScreenRect> ShownPopups(Display* display) {
    XSync(display, False);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<ScreenRect> popups;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return popups;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(display, children[i], &a)) continue;
        if (a.override_redirect && a.map_state == IsViewable)
            popups.push_back({children[i], a.x, a.y, a.width, a.height});
    }
    if (children) XFree(children);
    return popups;
}

/// A program started as a child with the test server as its display, its own
/// configuration folder and its output in a log file; killed when the test
/// leaves it running.
class ChildProgram {
public:
    ChildProgram(const std::string& path, const std::vector<std::string>& args, const std::string& display,
                 const std::filesystem::path& configHome, const std::filesystem::path& log) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("XDG_CONFIG_HOME=", 0) != 0)
                env.push_back(entry);
        }
        env.push_back("DISPLAY=" + display);
        env.push_back("XDG_CONFIG_HOME=" + configHome.string());
        std::vector<char*> envp;
        for (std::string& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::vector<std::string> argStrings{path};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : argStrings)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const std::string logPath = log.string();

        pid_ = fork();
        if (pid_ == 0) {
            // The program starts with the dispositions a desktop would give it.
            for (int sig : {SIGTERM, SIGINT, SIGHUP})
                signal(sig, SIG_DFL);
            if (FILE* out = std::fopen(logPath.c_str(), "w")) {
                dup2(fileno(out), 1);
                dup2(fileno(out), 2);
            }
            execve(path.c_str(), argv.data(), envp.data());
            _exit(127);
        }
    }
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    ~ChildProgram() {
        if (!Running()) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }

    bool Started() const { return pid_ > 0; }
    bool Running() {
        if (pid_ <= 0 || status_) return false;
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) != pid_) return true;
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return false;
    }
    /// Sends a signal to the running program.
    void Signal(int sig) {
        if (Running()) kill(pid_, sig);
    }
    /// The exit status once the program has ended within `timeoutMs`.
    std::optional<int> WaitExit(int timeoutMs) {
        WaitFor([this] { return !Running(); }, timeoutMs);
        return status_;
    }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

} // namespace emr::testing
